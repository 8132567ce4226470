#pragma once

#include <QString>
#include <QtGlobal>

// An ICC colour profile as the colour-matching code sees it: the header's
// colour spaces and device class, and the human-readable description.
//
// Signatures are ICC four-character codes with the first character in the
// most significant byte ('RGB ' is 0x52474220); four spaces mean unknown.
//
// Thread: a profile is used by one thread at a time; it holds no shared state.
class OLP_Color_ProfileIF
{
public:
    static constexpr quint32 SignatureUnknown = 0x20202020;  // "    "
    static constexpr quint32 SignatureRgb = 0x52474220;      // "RGB "
    static constexpr quint32 SignatureGray = 0x47524159;     // "GRAY"
    static constexpr quint32 SignatureLab = 0x4C616220;      // "Lab "
    static constexpr quint32 SignatureXyz = 0x58595A20;      // "XYZ "
    static constexpr quint32 SignatureMonitor = 0x6D6E7472;  // "mntr"

    virtual ~OLP_Color_ProfileIF() = default;

    // The profile is open and its source still exists: the file is there now,
    // or the bytes held in memory are not empty.
    virtual bool isValid() const = 0;
    // The header's data colour space, profile connection space and device
    // class when they are known ICC values; SignatureUnknown otherwise, also
    // when no profile is open.
    virtual quint32 colorSpace() const = 0;
    virtual quint32 connectionSpace() const = 0;
    virtual quint32 deviceClass() const = 0;
    // The text of the 'desc' tag; empty when it is absent or cannot be read.
    virtual QString description() const = 0;
    // Exchanges every field with another profile of the same implementation;
    // a profile of another kind is left alone.
    virtual void swap(OLP_Color_ProfileIF& other) = 0;

protected:
    OLP_Color_ProfileIF() = default;
    OLP_Color_ProfileIF(const OLP_Color_ProfileIF&) = default;
    OLP_Color_ProfileIF& operator=(const OLP_Color_ProfileIF&) = default;
};
