#include "OLP_Debug.h"
#include "OLP_GUI_Application.h"
#include "OLP_GUI_Settings.h"
#include "OLP_Logic_MetaTypes.h"

int main(int argc, char** argv)
{
    // The log file is named after the application; the names are set before
    // anything (Qt included) can write the first line.
    initApplicationIdentity();
    setDebugFlags(0x3F01FF7F, false);
    qInstallMessageHandler(messageHandler);
    olpRegisterMetaTypes();

    OLP_GUI_Settings* settings = OLP_GUI_Settings::instance();
    settings->setLastProductId(settings->lastProductId());

    int result = 0;
    {
        OLP_GUI_Application application(argc, argv);
        result = application.exec();
        // Writes the settings file.
        if (OLP_GUI_Settings::exists()) {
            OLP_GUI_Settings::destroyInstance();
        }
    }
    // The application's shut-down may have touched the settings again.
    if (OLP_GUI_Settings::exists()) {
        OLP_GUI_Settings::destroyInstance();
    }
    return result;
}
