#include "OLP_Debug.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QMutex>
#include <QThread>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "OLP_Debug_Logfile.h"

namespace {

std::atomic<quint32> g_debugFlags{0};

// Guards g_formatBuffer: one format buffer shared by every thread. A
// QBasicMutex has no destructor, so threads that still log while the process
// exits never meet a destroyed mutex.
QBasicMutex g_logMutex;
char g_formatBuffer[1024];

// Set while this thread is inside the handler: a Qt message raised while a
// line is written (by QFile, say) is sent to stderr instead of recursing.
thread_local bool t_inHandler = false;

}  // namespace

void initApplicationIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("OrvaneCamera"));
    QCoreApplication::setApplicationName(QStringLiteral("OrvaneLumaport"));
    QCoreApplication::setApplicationVersion(QStringLiteral("3.6.0"));
}

void debugPrintf(eDebugFlag flag, const char* format, ...)
{
    if (!isDebugEnabled(flag)) {
        return;
    }
    QMutexLocker lock(&g_logMutex);
    va_list args;
    va_start(args, format);
    vsnprintf(g_formatBuffer, sizeof(g_formatBuffer), format, args);
    va_end(args);
    OLP_Debug_Logfile::debug(flag, g_formatBuffer);
}

bool isDebugEnabled(eDebugFlag flag)
{
    return flag == 0 || (g_debugFlags.load() & flag) != 0;
}

void setDebugFlags(quint32 bits, bool on)
{
    if (on) {
        g_debugFlags.fetch_or(bits);
    } else {
        g_debugFlags.fetch_and(~bits);
    }
}

quint32 debugFlags()
{
    return g_debugFlags.load();
}

QString formatLogLine(QtMsgType type, const QString& message, const QDateTime& when)
{
    QString line = QStringLiteral("[%1] ").arg(when.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss")));
    switch (type) {
        case QtDebugMsg:
        case QtInfoMsg:
            line += QStringLiteral("{Debug}    %1").arg(message);
            break;
        case QtWarningMsg:
            line += QStringLiteral("{Warning}  %1").arg(message);
            break;
        case QtCriticalMsg:
            line += QStringLiteral("{Critical} %1").arg(message);
            break;
        case QtFatalMsg:
            line += QStringLiteral("{Fatal}    %1").arg(message);
            break;
    }
    return line;
}

void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    Q_UNUSED(context);
    if (t_inHandler) {
        fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        return;
    }
    t_inHandler = true;
    OLP_Debug_Logfile::instance()->writeLine(formatLogLine(type, message, QDateTime::currentDateTime()));
    t_inHandler = false;
    if (type == QtFatalMsg) {
        abort();
    }
}

void dumpBuffer(const QString& title, const QString& prefix, const quint8* data, quint64 size, quint64 maxLines,
                quint64 bytesPerLine)
{
    if (!title.isEmpty()) {
        qDebug("%s", title.toLatin1().constData());
    }
    const QByteArray prefixText = prefix.toLatin1();
    if (bytesPerLine == 0) {
        bytesPerLine = 16;
    }
    if (data == nullptr) {
        size = 0;
    }
    const quint64 lines = (size + bytesPerLine - 1) / bytesPerLine;
    for (quint64 line = 0; line < lines; ++line) {
        const quint64 offset = line * bytesPerLine;
        if (maxLines != 0 && line >= maxLines) {
            qDebug("%s[%012llX]: ...", prefixText.constData(), static_cast<unsigned long long>(offset));
            return;
        }
        QByteArray hex;
        QByteArray text;
        for (quint64 i = 0; i < bytesPerLine; ++i) {
            if (offset + i < size) {
                const quint8 byte = data[offset + i];
                char group[4];
                snprintf(group, sizeof(group), " %02X", byte);
                hex += group;
                text += (byte >= 0x20 && byte <= 0x7E) ? char(byte) : '.';
            } else {
                hex += "   ";
            }
        }
        qDebug("%s[%012llX]:%s %s", prefixText.constData(), static_cast<unsigned long long>(offset), hex.constData(),
               text.constData());
    }
}

QByteArray printableAscii(const char* data, int size)
{
    QByteArray out;
    if (data == nullptr || size <= 0) {
        return out;
    }
    out.reserve(size);
    for (int i = 0; i < size; ++i) {
        const unsigned char c = static_cast<unsigned char>(data[i]);
        out += (c >= 0x20 && c <= 0x7E) ? char(c) : '.';
    }
    return out;
}

QByteArray printableAscii(const QByteArray& data)
{
    return printableAscii(data.constData(), data.size());
}

unsigned long currentThreadIdForLog()
{
    return static_cast<unsigned long>(reinterpret_cast<quintptr>(QThread::currentThreadId()));
}
