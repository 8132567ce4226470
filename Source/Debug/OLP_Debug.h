#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Diagnostic output: a printf-style call with a debug flag, filtered by the
// process-wide flag mask, stamped by the message handler and appended to the
// per-version log file. Every function here may be called from any thread.

typedef quint32 eDebugFlag;

// Sets organisation, application name and version; called first thing by main()
// and by the test support, so the log file's name never depends on which line
// happens to be written first.
void initApplicationIdentity();

// Formats into the shared 1024-byte buffer (longer texts are truncated) and logs
// it when flag is 0 or one of its bits is enabled.
void debugPrintf(eDebugFlag flag, const char* format, ...) __attribute__((format(printf, 2, 3)));

bool isDebugEnabled(eDebugFlag flag);
void setDebugFlags(quint32 bits, bool on);
quint32 debugFlags();

// The Qt message handler: stamps the line and hands it to the log file.
void messageHandler(QtMsgType type, const QMessageLogContext& context, const QString& message);

// The stamped line the handler writes, for a given time.
QString formatLogLine(QtMsgType type, const QString& message, const class QDateTime& when);

// Hex dump through Qt's debug messages, not filtered by the flag mask.
void dumpBuffer(const QString& title, const QString& prefix, const quint8* data, quint64 size, quint64 maxLines,
                quint64 bytesPerLine);

// Bytes that arrive from outside (a camera, a network peer) as log text:
// printable ASCII stays, everything else becomes '.'.
QByteArray printableAscii(const char* data, int size);
QByteArray printableAscii(const QByteArray& data);

// A stable numeric identity of the calling thread for "created in thread" lines.
unsigned long currentThreadIdForLog();
