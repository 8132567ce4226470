// Reads or sets one key of the program's settings file through the same code
// the program uses:
//   olp_settings DemoCamera            prints true or false
//   olp_settings DemoCamera true|false stores the value
// The settings file is found as the program finds it (APPDATA, else the XDG
// configuration folder). scripts/run --demo uses it.

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "OLP_GUI_Settings.h"

namespace {

// The settings code logs through Qt; only warnings and worse reach the user.
void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(message));
    }
}

int usage()
{
    std::fprintf(stderr, "usage: olp_settings DemoCamera [true|false]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quietHandler);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.size() > 2 || args.first() != QLatin1String("DemoCamera")) {
        return usage();
    }
    OLP_GUI_Settings* settings = OLP_GUI_Settings::instance();
    if (args.size() == 2) {
        const QString value = args.at(1).toLower();
        if (value != QLatin1String("true") && value != QLatin1String("false")) {
            return usage();
        }
        settings->setDemoCamera(value == QLatin1String("true"));
        if (!settings->sync()) {
            std::fprintf(stderr, "olp_settings: cannot write %s\n", qUtf8Printable(settings->fileName()));
            OLP_GUI_Settings::destroyInstance();
            return 1;
        }
    }
    QTextStream(stdout) << (settings->isDemoCamera() ? "true" : "false") << '\n';
    OLP_GUI_Settings::destroyInstance();
    return 0;
}
