#pragma once

#include <QtGlobal>
#include <array>

class OLP_Commu_CameraAccess_Base;

// The level and temperature dataset of the camera (vendor read 3D-axis data).
// Two layouts exist: the extended one (213 bytes, doubles) sent by the
// ProductIdKestaD and ProductIdPelvo cameras, the standard one (193 bytes,
// floats) sent by every other camera. The layout is chosen once, from the
// access object's product ID at construction.
//
// Thread: used in the thread of the camera model that owns it; not shared.
// Holds the access object without owning it.
class OLP_Logic_Camera3DAxisData
{
public:
    static constexpr quint32 StandardImageSize = 193;
    static constexpr quint32 ExtendedImageSize = 213;

    // Reads the dataset immediately.
    explicit OLP_Logic_Camera3DAxisData(OLP_Commu_CameraAccess_Base* access);

    // Reads the dataset again; a failed read leaves an all-zero image.
    void recvFromCamera();

    bool isExtendedLayout() const { return m_isExtendedLayout; }
    double cameraPitchAngle() const;
    double cameraRollAngle() const;
    double temperature() const;

    void dump(const char* callerName) const;

    // The image of the layout in use and its size.
    const quint8* image() const;
    quint32 imageSize() const;

private:
    double floatAt(quint64 offset) const;
    double doubleAt(quint64 offset) const;

    OLP_Commu_CameraAccess_Base* m_access;
    std::array<quint8, StandardImageSize> m_standardImage{};
    std::array<quint8, ExtendedImageSize> m_extendedImage{};
    const bool m_isExtendedLayout;
};
