#include "OLP_Debug_Logfile.h"

#include <QCoreApplication>
#include <QDir>

#include "OLP_Platform_Base.h"

OLP_Debug_Logfile* OLP_Debug_Logfile::instance()
{
    static OLP_Debug_Logfile* const theInstance = new OLP_Debug_Logfile;
    return theInstance;
}

void OLP_Debug_Logfile::debug(eDebugFlag flag, const char* text)
{
    if (!isDebugEnabled(flag)) {
        return;
    }
    qDebug("%s", text);
}

QString OLP_Debug_Logfile::fileName()
{
    const QString dir = platform()->dataLocation();
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
    }
    const QString major = QCoreApplication::applicationVersion().section(QLatin1Char('.'), 0, 0);
    return dir + QStringLiteral("/") + QCoreApplication::applicationName() + major + QStringLiteral(".log");
}

OLP_Debug_Logfile::OLP_Debug_Logfile() : m_fileName(fileName())
{
    QFile file(m_fileName);
    if (file.open(QIODevice::WriteOnly)) {
        file.close();
    }
}

void OLP_Debug_Logfile::writeLine(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    QMutexLocker lock(&m_mutex);
    // A file object of the writing thread, unbuffered: a QFile or QTextStream
    // shared between threads is a QObject of one thread, and Qt may flush it
    // from that thread's event loop while another thread writes through it.
    QFile file(m_fileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        file.write(bytes);
    }
}
