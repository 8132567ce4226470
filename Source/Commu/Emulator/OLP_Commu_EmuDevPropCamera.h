#pragma once

#include <QList>
#include <QPair>
#include <QtGlobal>

#include "OLP_Commu_EmuProfile.h"

// The device properties of the cameras that keep each setting in a property of
// its own (Kesta D, Pelvo, Seventh), written from the camera's side: code,
// data type, whether the host may write it, the allowed values and what a
// camera out of the box reports.
//
// Some properties the host writes are not the ones it reads back: a new
// shutter time (0xD03B) and aperture (0xD03C) move the current exposure time
// (0xD60C) and aperture (0xD60E), and a fixed ExposureIndex (0x500F) becomes
// the sensitivity in use (0xD610). followers() says which.
class OLP_Commu_EmuDevPropCamera
{
public:
    OLP_Commu_EmuDevPropCamera() = delete;

    static bool isDevicePropertyCamera(quint16 productId);
    // Puts the camera's properties into the list: the ones missing are
    // appended; of those already there only a few generic entries whose
    // values these cameras do not use are replaced.
    static void addProperties(quint16 productId, QList<OLP_Commu_EmuProfile::Property>* properties);
    // The properties (code, new value) that follow when the host wrote value
    // to code; empty for most properties.
    static QList<QPair<quint16, qint64>> followers(quint16 productId, quint16 code, qint64 value);
};
