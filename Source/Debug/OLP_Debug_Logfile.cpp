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
    m_file.setFileName(m_fileName);
    if (m_file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        m_file.close();
    }
}

void OLP_Debug_Logfile::writeLine(const QString& line)
{
    QMutexLocker lock(&m_mutex);
    if (!m_isOpen) {
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
            return;
        }
        m_isOpen = true;
        m_stream.setDevice(&m_file);
    }
    m_stream << line << '\n';
    m_stream.flush();
    m_stream.setDevice(nullptr);
    m_file.close();
    m_isOpen = false;
}
