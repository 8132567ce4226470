#pragma once

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QStringList>

// Shared helpers for the tests.

// Sets application identity, test-mode standard paths and the metatypes; call
// at the start of initTestCase().
void olpTestInit();

// Scales a time-out for slow (sanitizer) runs: OLP_TEST_TIMEOUT_SCALE.
int olpTimeout(int ms);

// Makes home the user's home for this process, with the application-data
// folder under it, so that a run reads and writes no real settings or logs.
void olpUseTemporaryHome(const QString& home);

// Qt 5.15's offscreen platform never frees its screen (and the cursor the
// screen holds), so every GUI test would end in a leak report. Called while
// the GUI application exists (olpTestInit() calls it), this tells
// LeakSanitizer to leave them alone; without the sanitizer or a GUI
// application it does nothing.
void olpIgnoreOffscreenScreens();

// Captures every Qt message (and so every log line) while it lives. Messages
// keep going to the log file as well. Lines are the plain message texts.
class OLP_Test_LogCapture
{
public:
    OLP_Test_LogCapture();
    ~OLP_Test_LogCapture();
    QStringList lines() const;
    bool contains(const QString& text) const;
    int count(const QString& text) const;
    void clear();

private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& message);
};
