#include "OLP_Logic_CameraProblem.h"

#include <QCoreApplication>

QString OLP_Logic_CameraProblem::text(int problem)
{
    switch (eCameraProblem(problem)) {
        case eCameraProblem::InUse:
            return QCoreApplication::translate("OLP_Logic_CameraProblem",
                                               "The camera is in use by another program (a file manager or photo "
                                               "importer). Close it and reconnect the camera.");
        case eCameraProblem::NoPermission:
            return QCoreApplication::translate("OLP_Logic_CameraProblem",
                                               "No permission to open the camera: install the udev rule (see the "
                                               "README), then reconnect the camera.");
        case eCameraProblem::NotPtpMode:
            return QCoreApplication::translate("OLP_Logic_CameraProblem",
                                               "The camera is not in PTP mode: set its USB mode to PTP in the "
                                               "camera's menu, then reconnect the camera.");
        case eCameraProblem::None:
            break;
    }
    return QString();
}
