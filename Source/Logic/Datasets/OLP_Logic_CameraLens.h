#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

class OLP_Commu_CameraAccess_Base;

// The lens dataset of the camera (vendor read lens data, 101 bytes): whether a
// lens is connected, its name, aperture range and step, focal length and focus
// range. Accessors read the fields straight from the image of the last read.
//
// Thread: used in the thread of the camera model that owns it; not shared.
// Holds the access object without owning it.
class OLP_Logic_CameraLens
{
public:
    static constexpr quint32 ImageSize = 101;
    static constexpr quint32 LensTypeStringLength = 59;

    // Reads the dataset immediately.
    explicit OLP_Logic_CameraLens(OLP_Commu_CameraAccess_Base* access);

    // Reads the dataset again; a failed read leaves an all-zero image.
    void recvFromCamera();

    bool isLensConnected() const;
    bool isAutoLensSelectionEnabled() const;
    // The Latin-1 name without its padding (it ends at a zero byte, if any).
    QString lensTypeString() const;
    int lensType() const;
    qint32 lensSerialNumber() const;
    int lensFirmwareVersion() const;
    int correctionDataVersion() const;
    // Raw APEX aperture values (Av x 256) and the f-numbers they stand for.
    qint16 openApertureCode() const;
    qint16 closeApertureCode() const;
    double openApertureValue() const;
    double closeApertureValue() const;
    // 0 undefined, 1 whole, 2 half, 3 third stops; other values are illegal.
    int apertureSteps() const;
    QString apertureStepsText() const;
    int focalLengthMin() const;
    int focalLengthMax() const;
    // Millimetres.
    quint32 focusPositionMin() const;
    quint32 focusPositionMax() const;
    bool isCentralShutterAvailable() const;
    qint32 lensID() const;
    int selectedFocalLength() const;
    QString lensFileVersion() const;

    void dump(const char* callerName) const;

    const quint8* image() const { return m_image.data(); }

private:
    quint8 u8(quint64 offset) const;
    quint16 u16(quint64 offset) const;
    quint32 u32(quint64 offset) const;

    OLP_Commu_CameraAccess_Base* m_access;
    std::array<quint8, ImageSize> m_image{};
};
