#pragma once

#include <QByteArray>
#include <QVector>
#include <deque>
#include <memory>

class OLP_Commu_EmuProfile;

// The live view of the emulated camera, from the camera's side: which live
// view runs (off, video recording, photo, video, grey card), the zoom and the
// focus cross, and the stream-data packets it answers GetStreamData with. A
// packet carries the header, a tag list (ISO, exposure, zoom geometry, image
// ID; audio levels and time code in video modes) and a JPEG frame of a moving
// test pattern. The frames are encoded once per picture size and shared by
// every emulated camera, so producing a packet costs a copy, not an encode.
//
// Live view is switched by the release stages (vendor release operation) or by
// the individual vendor operations; the grey-card measurement leaves live view
// when it is switched off or saved, as the camera does.
//
// Thread: not thread-safe; the emulated camera calls it under its own mutex.
// The shared frame cache guards itself.
class OLP_Commu_EmuLiveView
{
public:
    enum eState
    {
        Off = 0,
        Recording = 1,
        Photo = 2,
        Video = 3,
        GreyCard = 4
    };

    // The stream properties of the camera.
    static constexpr quint16 PropertyState = 0x5020;
    static constexpr quint16 PropertyEnabled = 0x5021;
    static constexpr quint16 PropertyFormat = 0x5022;
    static constexpr quint16 PropertyFrameRate = 0x5025;
    static constexpr quint16 PropertyResolution = 0xD632;
    // The vendor operation that reads one stream-data packet.
    static constexpr quint16 GetStreamData = 0x9025;

    // Sensor geometry (outer bounds and active sensor) in pixels.
    static constexpr quint32 SensorWidth = 6000;
    static constexpr quint32 SensorHeight = 4000;
    // Size of the source area while zoomed in.
    static constexpr quint32 ZoomWidth = 2000;
    static constexpr quint32 ZoomHeight = 1500;
    static constexpr int FrameCount = 12;

    OLP_Commu_EmuLiveView(int frameWidth, int frameHeight);

    // Gives a profile live view with frames of this size: the stream
    // properties (0x5020 state, 0x5021 enabled streams, 0x5022 video format,
    // 0x5025 frame rate 25 fps, 0xD632 resolution) and a packetMaxSize in the
    // stream info that holds every packet. Calling it again changes the size.
    static void addTo(OLP_Commu_EmuProfile* profile, int frameWidth, int frameHeight);

    int state() const { return m_state; }
    // Device property 0x5020: the state in the upper half, 1 in the lower
    // half while live view runs; 0 when it is off.
    quint32 propertyValue() const;
    // The user switches live view at the camera (Off, Photo or Video).
    void setState(int state);

    // A release-stage operation of the host (the vendor release operation
    // with its stage, or one of the individual live-view operations). Returns
    // a PTP response code: OK, or Invalid Parameter for an unknown command.
    quint16 control(quint16 operationCode, const QVector<quint32>& params);

    int zoomLevel() const { return m_zoomLevel; }
    quint32 crossX() const { return m_crossX; }
    quint32 crossY() const { return m_crossY; }
    // The zoom tag as it goes out: 16 unsigned 32-bit values.
    QVector<quint32> zoomValues() const;
    int greyCardOperations() const { return m_greyCardOperations; }

    // The next packet. frameRate in frames per 1000 s (0 counts as 25 fps)
    // paces the time code; iso goes into the ISO tag.
    QByteArray nextPacket(quint32 frameRate, quint32 iso);
    // Faults: the next packets are these bytes, in order, instead of
    // generated ones.
    void queuePacket(const QByteArray& bytes) { m_queued.push_back(bytes); }
    quint32 framesSent() const { return m_frameCounter; }

    // The largest generated packet for this frame size (sizes the stream
    // info's packetMaxSize in a profile).
    static quint32 maxPacketSize(int frameWidth, int frameHeight);
    // The encoded test-pattern frames of one size (cached).
    static std::shared_ptr<const QVector<QByteArray>> frames(int frameWidth, int frameHeight);

private:
    void switchOn(quint32 kind);
    void switchOff(quint32 kind);
    void greyCard(quint32 command);
    void placeSource();

    int m_frameWidth;
    int m_frameHeight;
    int m_state = Off;
    int m_greyCardReturn = Off;  // live view active when the grey-card mode began
    int m_greyCardOperations = 0;
    int m_zoomLevel = 0;
    quint32 m_crossX = SensorWidth / 2;
    quint32 m_crossY = SensorHeight / 2;
    quint32 m_sourceX = 0;
    quint32 m_sourceY = 0;
    quint32 m_sourceW = SensorWidth;
    quint32 m_sourceH = SensorHeight;
    quint32 m_frameCounter = 0;
    std::deque<QByteArray> m_queued;
    std::shared_ptr<const QVector<QByteArray>> m_frames;
};
