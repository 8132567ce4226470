#pragma once

#include <QPoint>
#include <QString>
#include <memory>

#include "OLP_Color_ProfileIF.h"

// The colour profile of a monitor. Called from the GUI thread; a lookup may
// wait for the colour daemon for at most MonitorProfileTimeoutMs.

constexpr int MonitorProfileTimeoutMs = 500;
// Larger window-system properties are not taken for a profile.
constexpr qint64 MonitorProfileMaxBytes = 16 * 1024 * 1024;

// The full path of the profile of screen number screen (an index into
// QGuiApplication::screens()); empty when the monitor reports none, for screen
// -1 and without an X display. On X the root window's "_ICC_PROFILE" (screen
// 0) or "_ICC_PROFILE_<n>" property is copied to "monitor-<n>.icc" in the
// cache folder (written only when its bytes change); without one the colour
// daemon is asked for the profile of the screen's output.
QString monitorProfilePath(int screen);

// The profile of the monitor showing point (global coordinates), if it
// reports one that can be opened.
std::unique_ptr<OLP_Color_ProfileIF> createMonitorProfile(const QPoint& point);
