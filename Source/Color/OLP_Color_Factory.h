#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "OLP_Color_ProfileIF.h"
#include "OLP_Color_WorldIF.h"

// Factory functions of the colour classes. Each returns a new object owned by
// the caller, or nothing. Called from the GUI thread.

// The profile of a file, if it can be opened.
std::unique_ptr<OLP_Color_ProfileIF> createProfile(const QString& path);
// A copy of a valid profile of this implementation, opened anew from the same
// file or bytes.
std::unique_ptr<OLP_Color_ProfileIF> createProfile(const OLP_Color_ProfileIF& profile);
// The profile of bytes held in memory, if they can be opened.
std::unique_ptr<OLP_Color_ProfileIF> createProfileFromBytes(const QByteArray& bytes);

// A transform between two profiles of this implementation, if it can be built.
std::unique_ptr<OLP_Color_WorldIF> createWorld(const OLP_Color_ProfileIF& source,
                                               const OLP_Color_ProfileIF& destination, int intent);

// The folder of the working-space profile, ending in '/': the system's ICC
// folder when it holds "AdobeRGB1998.icc", else the application's own "icc/"
// folder, where an Adobe RGB (1998) profile is written when missing.
QString colorDirectory();
// colorDirectory() + "AdobeRGB1998.icc"; the file exists after the call
// unless the data folder cannot be written.
QString defaultSourceProfilePath();

// An sRGB profile held in memory, for monitors that report no profile.
std::unique_ptr<OLP_Color_ProfileIF> createDefaultMonitorProfile();
