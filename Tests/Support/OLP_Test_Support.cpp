#include "OLP_Test_Support.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QStandardPaths>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "OLP_Debug.h"
#include "OLP_Logic_MetaTypes.h"

namespace {
// Guards g_lines and g_previous: messages arrive from every thread.
QMutex g_captureMutex;
QStringList g_lines;
QtMessageHandler g_previous = nullptr;
int g_captures = 0;
}  // namespace

void olpTestInit()
{
    initApplicationIdentity();
    QStandardPaths::setTestModeEnabled(true);
    olpRegisterMetaTypes();
    olpIgnoreOffscreenScreens();
}

int olpTimeout(int ms)
{
    bool ok = false;
    const int scale = qEnvironmentVariableIntValue("OLP_TEST_TIMEOUT_SCALE", &ok);
    return ok && scale > 0 ? ms * scale : ms;
}

void olpUseTemporaryHome(const QString& home)
{
    qputenv("HOME", QFile::encodeName(home));
    qputenv("APPDATA", QFile::encodeName(home + QStringLiteral("/AppData")));
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
}

void olpIgnoreOffscreenScreens()
{
#if defined(__SANITIZE_ADDRESS__)
    // Qt's offscreen platform never deletes its screens (and what hangs off
    // them) at exit; everything reachable from an ignored object is ignored.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return;
    }
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (QScreen* screen : screens) {
        __lsan_ignore_object(screen);
    }
#endif
}

OLP_Test_LogCapture::OLP_Test_LogCapture()
{
    QMutexLocker lock(&g_captureMutex);
    g_lines.clear();
    if (g_captures++ == 0) {
        g_previous = qInstallMessageHandler(&OLP_Test_LogCapture::handler);
    }
}

OLP_Test_LogCapture::~OLP_Test_LogCapture()
{
    QMutexLocker lock(&g_captureMutex);
    if (--g_captures == 0) {
        qInstallMessageHandler(g_previous);
    }
}

void OLP_Test_LogCapture::handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    QtMessageHandler previous;
    {
        QMutexLocker lock(&g_captureMutex);
        g_lines.append(message);
        previous = g_previous;
    }
    if (type == QtFatalMsg) {
        messageHandler(type, context, message);
    } else if (previous) {
        previous(type, context, message);
    }
}

QStringList OLP_Test_LogCapture::lines() const
{
    QMutexLocker lock(&g_captureMutex);
    return g_lines;
}

bool OLP_Test_LogCapture::contains(const QString& text) const
{
    return count(text) > 0;
}

int OLP_Test_LogCapture::count(const QString& text) const
{
    QMutexLocker lock(&g_captureMutex);
    int n = 0;
    for (const QString& line : g_lines) {
        if (line.contains(text)) {
            ++n;
        }
    }
    return n;
}

void OLP_Test_LogCapture::clear()
{
    QMutexLocker lock(&g_captureMutex);
    g_lines.clear();
}
