#pragma once

#include <QtGlobal>
#include <array>

class OLP_Commu_CameraAccess_Base;

// The geotagging status of the camera (vendor read geotagging data, 133
// bytes): validity flags, position and the number of satellites in use.
//
// Thread: used in the thread of the camera model that owns it; not shared.
// Holds the access object without owning it.
class OLP_Logic_CameraGeotackingData
{
public:
    static constexpr quint32 ImageSize = 133;

    // Reads the dataset immediately.
    explicit OLP_Logic_CameraGeotackingData(OLP_Commu_CameraAccess_Base* access);

    // Reads the dataset again; a failed read leaves an all-zero image.
    void recvFromCamera();

    bool isMeanFieldDataValid() const;
    bool isTimeValid() const;
    bool isDateValid() const;
    bool isGPSEnabled() const;
    int longitudeDegrees() const;
    int longitudeMinutes() const;
    double longitudeSeconds() const;
    int latitudeDegrees() const;
    int latitudeMinutes() const;
    double latitudeSeconds() const;
    int numberOfUsedSattelites() const;

    void dump(const char* callerName) const;

    const quint8* image() const { return m_image.data(); }

private:
    quint8 u8(quint64 offset) const;
    double floatAt(quint64 offset) const;

    OLP_Commu_CameraAccess_Base* m_access;
    std::array<quint8, ImageSize> m_image{};
};
