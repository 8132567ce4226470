#pragma once

#include <QtGlobal>
#include <array>

class OLP_Commu_CameraAccess_Base;

// The live-view stream description (standard GetStreamInfo, 36 bytes): the
// time resolution and the header and maximum sizes of frames and packets that
// the live-view code uses to read and split the stream data.
//
// Thread: used in the thread of the camera model that owns it; not shared.
// Holds the access object without owning it.
class OLP_Logic_CameraStreamInfo
{
public:
    static constexpr quint32 ImageSize = 36;

    // Reads the dataset immediately.
    explicit OLP_Logic_CameraStreamInfo(OLP_Commu_CameraAccess_Base* access);

    // Reads the dataset again; a failed read leaves an all-zero image. A
    // dataset that reports a size other than 36 is logged but still used.
    void recvFromCamera();

    quint64 datasetSize() const;
    // Nanoseconds.
    quint64 timeResolution() const;
    quint32 frameHeaderSize() const;
    quint32 frameMaxSize() const;
    quint32 packetHeaderSize() const;
    quint32 packetMaxSize() const;
    quint32 packetAlignment() const;

    void dump(const char* callerName) const;

    const quint8* image() const { return m_image.data(); }

private:
    OLP_Commu_CameraAccess_Base* m_access;
    std::array<quint8, ImageSize> m_image{};
};
