#include "OLP_Commu_EmuLiveView.h"

#include <QBuffer>
#include <QImage>
#include <QPair>
#include <algorithm>
#include <map>
#include <mutex>

#include "OLP_Commu_EmuDataset.h"
#include "OLP_Commu_EmuProfile.h"
#include "OLP_Commu_EmuWire.h"

namespace {

// Stages of the vendor release operation, from the camera's side.
constexpr quint32 StageVideoStart = 15;
constexpr quint32 StageVideoStop = 16;
constexpr quint32 StageLiveViewOn = 17;
constexpr quint32 StageLiveViewOff = 18;
constexpr quint32 StageZoomToggle = 20;
constexpr quint32 StageFocusCross = 21;
constexpr quint32 StageGreyCard = 22;

// Tags of the stream-data packet.
constexpr quint32 TagIso = 1;
constexpr quint32 TagExposureMicroseconds = 2;
constexpr quint32 TagExposureTv = 3;
constexpr quint32 TagZoom = 4;
constexpr quint32 TagImageId = 5;
constexpr quint32 TagAudio = 6;
constexpr quint32 TagTimeCode = 7;

// 1/60 s: 16667 microseconds, Tv = log2(60) in 1/256 units.
constexpr quint32 ExposureMicroseconds = 16667;
constexpr qint32 ExposureTv = 1512;

QImage testPattern(int width, int height, int frame)
{
    QImage image(width, height, QImage::Format_RGB32);
    const int shift = frame * width / OLP_Commu_EmuLiveView::FrameCount;
    const int barWidth = std::max(width / 16, 1);
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const int green = y * 255 / std::max(height - 1, 1);
        for (int x = 0; x < width; ++x) {
            const int moved = (x + shift) % width;
            const int red = moved * 255 / std::max(width - 1, 1);
            const bool bar = x >= shift && x < shift + barWidth;
            // Fine texture that moves with the pattern, so the frames carry
            // as much JPEG data as a camera's picture of a real scene.
            quint32 hash = quint32(moved) * 0x9E3779B1u ^ quint32(y) * 0x85EBCA77u;
            hash ^= hash >> 15;
            hash *= 0x2C1B3C6Du;
            hash ^= hash >> 13;
            const int grain = int(hash & 63) - 32;
            line[x] =
                bar ? qRgb(255, 255, 255)
                    : qRgb(qBound(0, red + grain, 255), qBound(0, green - grain, 255), qBound(0, 96 + grain, 255));
        }
    }
    return image;
}

QByteArray encodeJpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 80);
    return bytes;
}

}  // namespace

OLP_Commu_EmuLiveView::OLP_Commu_EmuLiveView(int frameWidth, int frameHeight)
    : m_frameWidth(std::max(frameWidth, 16)), m_frameHeight(std::max(frameHeight, 16))
{}

std::shared_ptr<const QVector<QByteArray>> OLP_Commu_EmuLiveView::frames(int frameWidth, int frameHeight)
{
    // Guards cache: every emulated camera of the process shares the frames.
    static std::mutex mutex;
    static std::map<QPair<int, int>, std::shared_ptr<const QVector<QByteArray>>> cache;
    std::lock_guard<std::mutex> lock(mutex);
    const QPair<int, int> key(frameWidth, frameHeight);
    auto it = cache.find(key);
    if (it != cache.end()) {
        return it->second;
    }
    auto encoded = std::make_shared<QVector<QByteArray>>();
    for (int i = 0; i < FrameCount; ++i) {
        encoded->append(encodeJpeg(testPattern(frameWidth, frameHeight, i)));
    }
    cache[key] = encoded;
    return encoded;
}

quint32 OLP_Commu_EmuLiveView::maxPacketSize(int frameWidth, int frameHeight)
{
    OLP_Commu_EmuLiveView probe(frameWidth, frameHeight);
    probe.m_state = Video;  // every tag
    quint32 largest = 0;
    for (int i = 0; i < FrameCount; ++i) {
        largest = std::max(largest, quint32(probe.nextPacket(25000, 100).size()));
    }
    return largest;
}

void OLP_Commu_EmuLiveView::addTo(OLP_Commu_EmuProfile* profile, int frameWidth, int frameHeight)
{
    using Property = OLP_Commu_EmuProfile::Property;
    const auto plain = [](quint16 code, qint64 value, bool writable) {
        Property p;
        p.code = code;
        p.dataType = EmuWire::UInt32;
        p.writable = writable;
        p.factoryDefault = value;
        p.current = value;
        p.form = EmuWire::FormRange;
        p.minimum = 0;
        p.maximum = 0xFFFFFFFF;
        p.step = 1;
        return p;
    };
    const QVector<quint16> codes = {PropertyState, PropertyEnabled, PropertyFormat, PropertyFrameRate,
                                    PropertyResolution};
    for (int i = profile->properties.size() - 1; i >= 0; --i) {
        if (codes.contains(profile->properties.at(i).code)) {
            profile->properties.removeAt(i);
        }
    }
    Property enabled = plain(PropertyEnabled, 0, true);
    enabled.form = EmuWire::FormEnumeration;
    enabled.values = {0, 1};
    profile->properties << plain(PropertyState, 0, false) << enabled
                        << plain(PropertyFormat, 0x47504A4D, false)  // "MJPG"
                        << plain(PropertyFrameRate, 25000, false) << plain(PropertyResolution, frameHeight, false);

    profile->hasLiveView = true;
    profile->liveViewWidth = frameWidth;
    profile->liveViewHeight = frameHeight;
    // Room for the largest packet: the frames of the test pattern stay far
    // below one byte per pixel.
    OLP_Commu_EmuDataset info(profile->streamInfo.leftJustified(EmuWire::StreamInfoSize, '\0', true));
    info.putU32(28, quint32(std::max(512 * 1024, frameWidth * frameHeight)));
    profile->streamInfo = info.data();
}

quint32 OLP_Commu_EmuLiveView::propertyValue() const
{
    return m_state == Off ? 0 : (quint32(m_state) << 16) | 1;
}

void OLP_Commu_EmuLiveView::setState(int state)
{
    if (state == Off || state == Photo || state == Video) {
        m_state = state;
    }
}

QVector<quint32> OLP_Commu_EmuLiveView::zoomValues() const
{
    return {0,           quint32(m_zoomLevel), 0,         0,         SensorWidth, SensorHeight, 0,        0,
            SensorWidth, SensorHeight,         m_sourceX, m_sourceY, m_sourceW,   m_sourceH,    m_crossX, m_crossY};
}

void OLP_Commu_EmuLiveView::switchOn(quint32 kind)
{
    m_state = kind == 0 ? Photo : Video;
}

void OLP_Commu_EmuLiveView::switchOff(quint32 kind)
{
    const bool photo = m_state == Photo || (m_state == GreyCard && m_greyCardReturn == Photo);
    const bool video = m_state == Video || m_state == Recording || (m_state == GreyCard && m_greyCardReturn == Video);
    if ((kind == 0 && photo) || (kind == 1 && video)) {
        m_state = Off;
    }
}

void OLP_Commu_EmuLiveView::greyCard(quint32 command)
{
    ++m_greyCardOperations;
    switch (command) {
        case 0:  // measuring field on
            if (m_state == Photo || m_state == Video) {
                m_greyCardReturn = m_state;
                m_state = GreyCard;
            }
            break;
        case 2:  // measuring field off, and
        case 3:  // white balance taken: the camera leaves live view either way
            if (m_state == GreyCard) {
                m_state = Off;
            }
            break;
        default:  // 1: preview, the picture only
            break;
    }
}

void OLP_Commu_EmuLiveView::placeSource()
{
    if (m_zoomLevel == 0) {
        m_sourceX = 0;
        m_sourceY = 0;
        m_sourceW = SensorWidth;
        m_sourceH = SensorHeight;
        return;
    }
    m_sourceW = ZoomWidth;
    m_sourceH = ZoomHeight;
    const qint64 x = qint64(m_crossX) - ZoomWidth / 2;
    const qint64 y = qint64(m_crossY) - ZoomHeight / 2;
    m_sourceX = quint32(qBound<qint64>(0, x, SensorWidth - ZoomWidth));
    m_sourceY = quint32(qBound<qint64>(0, y, SensorHeight - ZoomHeight));
}

quint16 OLP_Commu_EmuLiveView::control(quint16 operationCode, const QVector<quint32>& params)
{
    quint32 stage = 0;
    QVector<quint32> args;
    switch (operationCode) {
        case EmuWire::Release:
            stage = params.value(0);
            args = params.mid(1);
            break;
        case EmuWire::PhotoLiveView: {
            const quint32 command = params.value(0);
            if (command > 1) {
                return EmuWire::InvalidParameter;
            }
            stage = command == 0 ? StageLiveViewOn : StageLiveViewOff;
            args = {0};
            break;
        }
        case EmuWire::VideoRecording: {
            static const quint32 stages[4] = {StageVideoStart, StageVideoStop, StageLiveViewOn, StageLiveViewOff};
            const quint32 command = params.value(0);
            if (command > 3) {
                return EmuWire::InvalidParameter;
            }
            stage = stages[command];
            args = {1};
            break;
        }
        case EmuWire::ZoomMode:
            stage = StageZoomToggle;
            break;
        case EmuWire::FocusCross:
            stage = StageFocusCross;
            args = params;
            break;
        case EmuWire::LiveViewWhiteBalance:
            stage = StageGreyCard;
            args = params;
            break;
        default:
            return EmuWire::Ok;
    }

    switch (stage) {
        case StageVideoStart:
            if (m_state == Video) {
                m_state = Recording;
            }
            break;
        case StageVideoStop:
            if (m_state == Recording) {
                m_state = Video;
            }
            break;
        case StageLiveViewOn:
        case StageLiveViewOff:
            if (args.value(0) > 1) {
                return EmuWire::InvalidParameter;
            }
            if (stage == StageLiveViewOn) {
                switchOn(args.value(0));
            } else {
                switchOff(args.value(0));
            }
            break;
        case StageZoomToggle:
            if (m_state != Off) {
                m_zoomLevel = m_zoomLevel == 0 ? 1 : 0;
                placeSource();
            }
            break;
        case StageFocusCross:
            if (args.size() < 2) {
                return EmuWire::InvalidParameter;
            }
            m_crossX = std::min(args.at(0), SensorWidth);
            m_crossY = std::min(args.at(1), SensorHeight);
            placeSource();
            break;
        case StageGreyCard:
            if (args.value(0) > 3) {
                return EmuWire::InvalidParameter;
            }
            greyCard(args.value(0));
            break;
        default:
            break;
    }
    return EmuWire::Ok;
}

QByteArray OLP_Commu_EmuLiveView::nextPacket(quint32 frameRate, quint32 iso)
{
    if (!m_queued.empty()) {
        QByteArray bytes = m_queued.front();
        m_queued.pop_front();
        return bytes;
    }
    if (!m_frames) {
        m_frames = frames(m_frameWidth, m_frameHeight);
    }
    const QByteArray& jpeg = m_frames->at(int(m_frameCounter % quint32(m_frames->size())));
    ++m_frameCounter;

    OLP_Commu_EmuDataset tags;
    tags.u32(TagIso).u32(4).u32(iso);
    tags.u32(TagExposureMicroseconds).u32(4).u32(ExposureMicroseconds);
    tags.u32(TagExposureTv).u32(4).integer(ExposureTv, 4);
    tags.u32(TagZoom).u32(64);
    for (quint32 value : zoomValues()) {
        tags.u32(value);
    }
    tags.u32(TagImageId).u32(4).u32(m_frameCounter);
    if (m_state == Video || m_state == Recording) {
        // Levels that move from frame to frame; peaks above the RMS values.
        const quint32 wobble = (m_frameCounter * 37) % 4000;
        tags.u32(TagAudio).u32(16);
        tags.u32(24000 + wobble).u32(23000 + wobble).u32(9000 + wobble / 2).u32(8000 + wobble / 2);
        const quint32 fps = frameRate >= 1000 ? frameRate / 1000 : 25;
        const quint32 frames = m_frameCounter - 1;
        const quint32 seconds = frames / fps;
        tags.u32(TagTimeCode).u32(4);
        tags.u8(quint8(seconds / 3600 % 24)).u8(quint8(seconds / 60 % 60)).u8(quint8(seconds % 60));
        tags.u8(quint8(frames % fps));
    }
    tags.u32(0);

    const quint32 headerSize = 20;
    quint32 imageOffset = headerSize + quint32(tags.data().size());
    imageOffset = (imageOffset + 3) & ~3u;  // the stream's packet alignment
    const quint32 total = imageOffset + quint32(jpeg.size());

    OLP_Commu_EmuDataset packet;
    packet.u32(total).u16(10).u32(0).u32(total - 14).u16(0).u32(imageOffset);
    packet.bytes(tags.data());
    QByteArray bytes = packet.data();
    bytes.reserve(int(total));
    bytes.append(QByteArray(int(imageOffset) - bytes.size(), '\0'));
    bytes.append(jpeg);
    return bytes;
}
