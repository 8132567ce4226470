#pragma once

#include <QString>

// Why a camera that was found cannot be opened. The controller reports it with
// signalCameraProblem(int); the no-camera window shows text() in one line.
enum class eCameraProblem : int
{
    None = 0,          // no problem: the camera opened, or it is gone
    InUse = 1,         // another program (a file manager, a photo importer) holds it
    NoPermission = 2,  // the user may not open the USB device: the udev rule is missing
    NotPtpMode = 3,    // the camera's USB mode is not PTP
};

// The user-facing texts of the camera problems.
class OLP_Logic_CameraProblem
{
public:
    OLP_Logic_CameraProblem() = delete;

    // One line that says what happened and what to do, translated; empty for
    // None and for codes that are none of the problems.
    static QString text(int problem);
};
