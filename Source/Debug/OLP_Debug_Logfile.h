#pragma once

#include <QFile>
#include <QMutex>
#include <QString>

#include "OLP_Debug.h"

// The per-version log file. A singleton created (thread-safely) by the first
// line written and never destroyed. Each run empties its own version's file;
// every line opens, appends and closes the file, so it can be read or deleted
// between lines. All members are safe to call from any thread.
class OLP_Debug_Logfile
{
public:
    static OLP_Debug_Logfile* instance();

    // Hands text to Qt's message system when flag passes the mask.
    static void debug(eDebugFlag flag, const char* text);

    // Full path of the log file: data location + "/" + application name +
    // major version + ".log"; the folder is created.
    static QString fileName();

    void writeLine(const QString& line);
    QString path() const { return m_fileName; }

private:
    OLP_Debug_Logfile();

    QString m_fileName;
    // Lines reach the file one at a time.
    QMutex m_mutex;
};
