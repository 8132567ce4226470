#include <QElapsedTimer>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "OLP_Commu_EmuLiveView.h"
#include "OLP_Commu_EmuProfile.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"
#include "OLP_Logic_Camera.h"
#include "OLP_Logic_LiveViewPacket.h"
#include "OLP_Test_EmuRig.h"
#include "OLP_Test_Support.h"

namespace {

constexpr quint16 OpRelease = 0x9004;
constexpr quint16 OpGetStreamData = 0x9025;
constexpr quint16 PropState = 0x5020;
constexpr quint16 PropEnabled = 0x5021;
const char* const PollName = "OLP_Logic_Camera::catchLiveViewTimerFired";

void putU32(QByteArray& data, int offset, quint32 value)
{
    for (int i = 0; i < 4; ++i) {
        data[offset + i] = char((value >> (8 * i)) & 0xFF);
    }
}

QByteArray u32(quint32 value)
{
    QByteArray bytes(4, '\0');
    putU32(bytes, 0, value);
    return bytes;
}

QByteArray tag(quint32 code, const QByteArray& payload, quint32 length)
{
    return u32(code) + u32(length) + payload;
}

QByteArray tag(quint32 code, const QByteArray& payload)
{
    return tag(code, payload, quint32(payload.size()));
}

QByteArray zoom(const QVector<quint32>& values)
{
    QByteArray bytes;
    for (quint32 v : values) {
        bytes += u32(v);
    }
    return bytes;
}

// A small real JPEG from the emulator's test pattern.
QByteArray smallJpeg()
{
    return OLP_Commu_EmuLiveView::frames(64, 48)->at(0);
}

// A stream-data packet: header, tags (the caller adds tag 0), picture.
QByteArray packet(const QByteArray& tags, const QByteArray& image, qint64 imageOffset = -1)
{
    QByteArray bytes(20, '\0');
    bytes += tags;
    const int offset = imageOffset >= 0 ? int(imageOffset) : qMax((bytes.size() + 3) & ~3, 32);
    if (bytes.size() < offset) {
        bytes += QByteArray(offset - bytes.size(), '\0');
    }
    bytes += image;
    putU32(bytes, 0, quint32(bytes.size()));
    bytes[4] = 10;
    putU32(bytes, 10, quint32(bytes.size() - 14));
    putU32(bytes, 16, quint32(offset));
    return bytes;
}

QList<QVector<quint32>> releaseParams(const OLP_Test_EmuRig& rig, int from = 0)
{
    QList<QVector<quint32>> result;
    const auto all = rig.camera->releases();
    for (int i = from; i < all.size(); ++i) {
        if (all.at(i).code == OpRelease) {
            result.append(all.at(i).params);
        }
    }
    return result;
}

bool hasMode(const QSignalSpy& spy, int mode)
{
    for (const QList<QVariant>& args : spy) {
        if (args.at(0).toInt() == mode) {
            return true;
        }
    }
    return false;
}

// Switches live view on from the program and waits for the first frame.
bool startLiveView(OLP_Logic_Camera& camera, QSignalSpy& frames, int type)
{
    const int before = frames.size();
    if (type == 2) {
        camera.setLiveViewPhoto(true);
    } else {
        camera.setLiveViewVideo(true);
    }
    return QTest::qWaitFor([&] { return camera.isLiveViewStreamingPrepared() && frames.size() > before; },
                           olpTimeout(5000));
}

bool waitFrames(QSignalSpy& frames, int count)
{
    return QTest::qWaitFor([&] { return frames.size() >= count; }, olpTimeout(5000));
}

OLP_Commu_EmuProfile profileWithPacketSize(quint32 packetMaxSize)
{
    OLP_Commu_EmuProfile profile = OLP_Commu_EmuProfile::forProduct(ProductIdKestaD);
    putU32(profile.streamInfo, 28, packetMaxSize);
    return profile;
}

}  // namespace

// Live view of the camera object through the USB transport against the
// emulated camera: start and stop by the camera's state reports, frames with
// their side information, pacing, the restart after grey-card operations and
// white-balance changes, the focus operations, and malformed packets.
class tst_LiveView : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void startsOnStateAndDeliversFrames_data();
    void startsOnStateAndDeliversFrames();
    void stopsOnStateZero();
    void stateValuesFromCamera_data();
    void stateValuesFromCamera();
    void restartAfterGreyCard_data();
    void restartAfterGreyCard();
    void greyCardFieldOnKeepsStreaming();
    void waitsForAcknowledgement();
    void acknowledgementFallbackAndSwitchOff();
    void frameInterval_data();
    void frameInterval();
    void slowPollRestartsAfterFiveMs();
    void packetSizeOutOfRange_data();
    void packetSizeOutOfRange();
    void malformedPacketGivesNoFrame_data();
    void malformedPacketGivesNoFrame();
    void unknownTagIsSkipped();
    void audioAndTimeCode();
    void packetLinesWithStreamFlag();
    void zoomToggleAndFocusCross();
    void zoomWithEmptyArea();
    void wantLiveViewOffAndOn();
    void restartAfterWhiteBalance_data();
    void restartAfterWhiteBalance();
    void autoFocusSequences_data();
    void autoFocusSequences();
    void destroyWhileStreaming();
};

void tst_LiveView::initTestCase()
{
    olpTestInit();
    // Encode the shared test frames once, outside the timed waits.
    OLP_Commu_EmuLiveView::frames(1280, 720);
}

void tst_LiveView::startsOnStateAndDeliversFrames_data()
{
    QTest::addColumn<quint32>("product");
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("atCamera");
    QTest::newRow("KestaD photo from the program") << ProductIdKestaD << 2 << false;
    QTest::newRow("KestaD video from the program") << ProductIdKestaD << 3 << false;
    QTest::newRow("Pelvo photo at the camera") << ProductIdPelvo << 2 << true;
    QTest::newRow("Seventh video from the program") << ProductIdSeventh << 3 << false;
}

// The camera's state report starts streaming; every frame is a decoded
// picture of the stream with its zoom geometry; audio and time code come only
// with video live view.
void tst_LiveView::startsOnStateAndDeliversFrames()
{
    QFETCH(quint32, product);
    QFETCH(int, type);
    QFETCH(bool, atCamera);
    OLP_Test_EmuRig rig{quint16(product)};
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QVERIFY(camera.hasLiveView());
    QSignalSpy modes(&camera, &OLP_Logic_Camera::signalLiveViewMode);
    QSignalSpy frames(&camera, &OLP_Logic_Camera::signalLiveView);
    QSignalSpy zoomInfo(&camera, &OLP_Logic_Camera::signalLiveZoomInfo);
    QSignalSpy zoomRect(&camera, &OLP_Logic_Camera::signalLiveZoomRect);
    QSignalSpy audio(&camera, &OLP_Logic_Camera::signalLiveAudioLevel);
    QSignalSpy timeCode(&camera, &OLP_Logic_Camera::signalLiveTimeCode);
    QSignalSpy other(&camera,
                     type == 2 ? &OLP_Logic_Camera::signalLiveViewVideo : &OLP_Logic_Camera::signalLiveViewPhoto);

    if (atCamera) {
        rig.camera->setLiveViewState(type);
        QVERIFY(QTest::qWaitFor([&] { return frames.size() > 0; }, olpTimeout(5000)));
    } else {
        QVERIFY(startLiveView(camera, frames, type));
        // Switching one live view on switches the other one's button off.
        QCOMPARE(other.size(), 1);
        QCOMPARE(other.at(0).at(0).toBool(), false);
    }
    QVERIFY(hasMode(modes, type));
    QCOMPARE(camera.liveViewType(), type);
    QCOMPARE(rig.camera->propertyValue(PropEnabled), qint64(1));
    QCOMPARE(camera.liveViewFrameInterval(), 40);
    QVERIFY(waitFrames(frames, 3));

    const QImage first = frames.at(0).at(0).value<QImage>();
    const QImage second = frames.at(1).at(0).value<QImage>();
    QCOMPARE(first.size(), QSize(1280, 720));
    QCOMPARE(second.size(), QSize(1280, 720));
    QVERIFY(first != second);  // the test pattern moves

    QVERIFY(zoomInfo.size() >= 3);
    QCOMPARE(zoomInfo.at(0).at(1).toInt(), 0);  // zoom level
    QCOMPARE(zoomInfo.at(0).at(2).toDouble(), 0.5);
    QCOMPARE(zoomInfo.at(0).at(3).toDouble(), 0.5);
    QCOMPARE(zoomRect.at(0).at(2).toDouble(), 1.0);
    QCOMPARE(zoomRect.at(0).at(3).toDouble(), 1.0);
    if (type == 3) {
        QVERIFY(audio.size() >= 3);
        // The emulator's levels: RMS values first, peaks after, all / 1000.
        QVERIFY(audio.at(0).at(0).toDouble() < audio.at(0).at(2).toDouble());
        QVERIFY(audio.at(0).at(2).toDouble() >= 24.0 && audio.at(0).at(2).toDouble() < 28.0);
        QCOMPARE(timeCode.at(0).at(3).toInt(), 0);
        QCOMPARE(timeCode.at(1).at(3).toInt(), 1);
    } else {
        QCOMPARE(audio.size(), 0);
        QCOMPARE(timeCode.size(), 0);
    }
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

// State 0 finishes streaming: the stream is disabled, signalNoLiveView goes
// out and no packet is read any more.
void tst_LiveView::stopsOnStateZero()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy frames(&camera, &OLP_Logic_Camera::signalLiveView);
    QSignalSpy noLiveView(&camera, &OLP_Logic_Camera::signalNoLiveView);
    QSignalSpy modes(&camera, &OLP_Logic_Camera::signalLiveViewMode);
    QVERIFY(startLiveView(camera, frames, 2));

    camera.setLiveViewPhoto(false);
    QVERIFY(noLiveView.wait(olpTimeout(3000)));
    QCOMPARE(modes.last().at(0).toInt(), 0);
    QVERIFY(!camera.isLiveViewStreamingPrepared());
    QVERIFY(!camera.liveViewTimer()->isActive());
    QVERIFY(camera.liveViewZoomInfo() == nullptr);
    QCOMPARE(rig.camera->propertyValue(PropEnabled), qint64(0));
    QCOMPARE(releaseParams(rig).last(), (QVector<quint32>{18, 0}));
    const int reads = rig.camera->requestCount(OpGetStreamData);
    const int delivered = frames.size();
    QVERIFY(!frames.wait(200));
    QCOMPARE(rig.camera->requestCount(OpGetStreamData), reads);
    QCOMPARE(frames.size(), delivered);
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

void tst_LiveView::stateValuesFromCamera_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("prepared");
    QTest::newRow("0x00030001 video live view") << 0x00030001u << 3 << true;
    QTest::newRow("0x00030002 no live view") << 0x00030002u << 0 << false;
    QTest::newRow("0x00010001 recording") << 0x00010001u << 1 << true;
}

void tst_LiveView::stateValuesFromCamera()
{
    QFETCH(quint32, value);
    QFETCH(int, mode);
    QFETCH(bool, prepared);
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy modes(&camera, &OLP_Logic_Camera::signalLiveViewMode);
    QVERIFY(rig.camera->setPropertyValue(PropState, value));
    camera.checkIfLiveViewIsActive();
    QCOMPARE(modes.size(), 1);
    QCOMPARE(modes.at(0).at(0).toInt(), mode);
    QCOMPARE(camera.isLiveViewStreamingPrepared(), prepared);
    QCOMPARE(rig.camera->propertyValue(PropEnabled), qint64(prepared ? 1 : 0));
    camera.finishLiveViewStreaming();
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

void tst_LiveView::restartAfterGreyCard_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("save");
    QTest::newRow("photo, measuring field off") << 2 << false;
    QTest::newRow("video, measuring field off") << 3 << false;
    QTest::newRow("photo, white balance saved") << 2 << true;
    QTest::newRow("video, white balance saved") << 3 << true;
}

// The camera leaves live view after the grey-card measurement; the state-0
// report starts the live view that ran before it again.
void tst_LiveView::restartAfterGreyCard()
{
    QFETCH(int, type);
    QFETCH(bool, save);
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy frames(&camera, &OLP_Logic_Camera::signalLiveView);
    QSignalSpy modes(&camera, &OLP_Logic_Camera::signalLiveViewMode);
    QSignalSpy noLiveView(&camera, &OLP_Logic_Camera::signalNoLiveView);
    QVERIFY(startLiveView(camera, frames, type));

    camera.setLiveViewGCPipActive(true);
    QVERIFY(QTest::qWaitFor([&] { return hasMode(modes, 4); }, olpTimeout(3000)));
    QVERIFY(camera.isLiveViewStreamingPrepared());
    camera.doLiveViewGCPipPreview();

    QSignalSpy photo(&camera, &OLP_Logic_Camera::signalLiveViewPhoto);
    QSignalSpy video(&camera, &OLP_Logic_Camera::signalLiveViewVideo);
    const int releasesBefore = rig.camera->releases().size();
    modes.clear();
    if (save) {
        camera.doLiveViewGCPipSave();
    } else {
        camera.setLiveViewGCPipActive(false);
    }
    QCOMPARE(camera.liveViewRestartType(), type);
    QVERIFY(noLiveView.wait(olpTimeout(3000)));
    QVERIFY(QTest::qWaitFor([&] { return hasMode(modes, type) && camera.isLiveViewStreamingPrepared(); },
                            olpTimeout(3000)));
    QCOMPARE(modes.at(0).at(0).toInt(), 0);
    QCOMPARE(camera.liveViewRestartType(), 0);
    QCOMPARE(releaseParams(rig, releasesBefore),
             (QList<QVector<quint32>>{{22, save ? 3u : 2u}, {17, type == 2 ? 0u : 1u}}));
    // The other live view's button is switched off.
    QCOMPARE((type == 2 ? video : photo).size(), 1);
    QCOMPARE((type == 2 ? photo : video).size(), 0);
    const int delivered = frames.size();
    QVERIFY(waitFrames(frames, delivered + 2));
    QCOMPARE(rig.camera->greyCardOperations(), 3);
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

// Grey-card live view (state 4) is passed on and keeps the stream running.
void tst_LiveView::greyCardFieldOnKeepsStreaming()
{
    OLP_Test_EmuRig rig(ProductIdPelvo);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy frames(&camera, &OLP_Logic_Camera::signalLiveView);
    QSignalSpy modes(&camera, &OLP_Logic_Camera::signalLiveViewMode);
    QSignalSpy noLiveView(&camera, &OLP_Logic_Camera::signalNoLiveView);
    QVERIFY(startLiveView(camera, frames, 2));
    OLP_Test_LogCapture log;
    camera.setLiveViewGCPipActive(true);
    QVERIFY(QTest::qWaitFor([&] { return hasMode(modes, 4); }, olpTimeout(3000)));
    const int delivered = frames.size();
    QVERIFY(waitFrames(frames, delivered + 2));
    QCOMPARE(noLiveView.size(), 0);
    QCOMPARE(camera.liveViewType(), 2);
    QVERIFY(log.contains("OLP_Logic_Camera::prepareLiveViewStreaming - live view streaming still active"));
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

// With acknowledgements on, a delivered frame holds the next poll until the
// GUI has shown it.
void tst_LiveView::waitsForAcknowledgement()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    camera.setLiveViewAckTimeout(60000);
    camera.setWaitLiveViewConsumed(true);
    QSignalSpy frames(&camera, &OLP_Logic_Camera::signalLiveView);
    QVERIFY(startLiveView(camera, frames, 2));
    QCOMPARE(frames.size(), 1);
    QVERIFY(camera.isLiveViewAwaitingAck());
    const int reads = rig.camera->requestCount(OpGetStreamData);
    // Several frame intervals pass without a second poll.
    QVERIFY(!frames.wait(300));
    QCOMPARE(rig.camera->requestCount(OpGetStreamData), reads);

    for (int n = 2; n <= 4; ++n) {
        camera.catchLiveViewConsumed();
        QVERIFY(!camera.isLiveViewAwaitingAck());
        // A repeated acknowledgement adds no second pending poll.
        camera.catchLiveViewConsumed();
        QVERIFY(waitFrames(frames, n));
        QCOMPARE(rig.camera->requestCount(OpGetStreamData), reads + n - 1);
        QVERIFY(camera.isLiveViewAwaitingAck());
    }
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

// A frame whose acknowledgement never comes (window closed, frame dropped)
// does not freeze live view: the fallback polls again, and switching the
// acknowledgements off polls at once.
void tst_LiveView::acknowledgementFallbackAndSwitchOff()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    camera.setLiveViewAckTimeout(250);
    camera.setWaitLiveViewConsumed(true);
    QSignalSpy frames(&camera, &OLP_Logic_Camera::signalLiveView);
    QVERIFY(startLiveView(camera, frames, 2));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(frames.wait(olpTimeout(3000)));
    QVERIFY(clock.elapsed() >= 240);  // not before the fallback

    camera.setLiveViewAckTimeout(60000);
    QVERIFY(frames.wait(olpTimeout(3000)));  // the pending fallback still had 250 ms
    QVERIFY(camera.isLiveViewAwaitingAck());
    const int delivered = frames.size();
    camera.setWaitLiveViewConsumed(false);
    QVERIFY(!camera.isLiveViewAwaitingAck());
    QVERIFY(camera.liveViewTimer()->isActive());
    QVERIFY(camera.liveViewTimer()->interval() <= 40);
    QVERIFY(waitFrames(frames, delivered + 3));
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

void tst_LiveView::frameInterval_data()
{
    QTest::addColumn<qint64>("rate");
    QTest::addColumn<int>("interval");
    QTest::newRow("rate 0") << qint64(0) << 40;
    QTest::newRow("25 fps") << qint64(25000) << 40;
    QTest::newRow("30 fps") << qint64(30000) << 33;
    QTest::newRow("50 fps") << qint64(50000) << 20;
}

void tst_LiveView::frameInterval()
{
    QFETCH(qint64, rate);
    QFETCH(int, interval);
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    QVERIFY(rig.camera->setPropertyValue(0x5025, rate));
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy frames(&camera, &OLP_Logic_Camera::signalLiveView);
    QVERIFY(startLiveView(camera, frames, 2));
    QCOMPARE(camera.liveViewFrameInterval(), interval);
    // The next poll never waits longer than one frame interval.
    QVERIFY(camera.liveViewTimer()->isActive());
    QVERIFY(camera.liveViewTimer()->interval() >= 5);
    QVERIFY(camera.liveViewTimer()->interval() <= interval);
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

// A poll that took longer than the frame interval restarts the timer with the
// 5 ms floor.
void tst_LiveView::slowPollRestartsAfterFiveMs()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy frames(&camera, &OLP_Logic_Camera::signalLiveView);
    rig.camera->setStreamDataDelay(50);
    QVERIFY(startLiveView(camera, frames, 2));
    QCOMPARE(camera.liveViewFrameInterval(), 40);
    QVERIFY(camera.liveViewTimer()->isActive());
    QCOMPARE(camera.liveViewTimer()->interval(), 5);
    QVERIFY(frames.wait(olpTimeout(3000)));
    QCOMPARE(camera.liveViewTimer()->interval(), 5);
    rig.camera->setStreamDataDelay(0);
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

void tst_LiveView::packetSizeOutOfRange_data()
{
    QTest::addColumn<quint32>("size");
    QTest::newRow("0 (a failed StreamInfo read)") << 0u;
    QTest::newRow("28") << 28u;
    QTest::newRow("just above 32 MiB") << 32u * 1024u * 1024u + 1u;
    QTest::newRow("0xFFFFFFFF") << 0xFFFFFFFFu;
}

// The packet size comes from the camera: outside 29 to 32 MiB the stream is
// switched off again and nothing is allocated or read.
void tst_LiveView::packetSizeOutOfRange()
{
    QFETCH(quint32, size);
    OLP_Test_EmuRig rig(profileWithPacketSize(size));
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    OLP_Test_LogCapture log;
    rig.camera->setLiveViewState(2);
    QVERIFY(
        QTest::qWaitFor([&] { return log.contains("OLP_Logic_Camera::prepareLiveViewStreaming - stream packet size"); },
                        olpTimeout(3000)));
    QVERIFY(!camera.isLiveViewStreamingPrepared());
    QVERIFY(!camera.liveViewTimer()->isActive());
    QCOMPARE(rig.camera->propertyValue(PropEnabled), qint64(0));
    QCOMPARE(rig.camera->requestCount(OpGetStreamData), 0);
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

void tst_LiveView::malformedPacketGivesNoFrame_data()
{
    QTest::addColumn<QByteArray>("bad");
    QTest::addColumn<bool>("readFails");
    const QByteArray end = u32(0);
    QTest::newRow("image offset 28") << packet(end, smallJpeg(), 28) << false;
    QTest::newRow("tag length 0") << packet(tag(1, QByteArray(), 0) + end, smallJpeg()) << false;
    QTest::newRow("tag length near 0xFFFFFFFF") << packet(tag(1, u32(1), 0xFFFFFFF0) + end, smallJpeg()) << false;
    QTest::newRow("zoom tag too short") << packet(tag(4, QByteArray(16, '\1')) + end, smallJpeg()) << false;
    QTest::newRow("camera answers an error") << QByteArray() << true;
}

// A malformed packet writes the error line and its dump and gives no frame;
// the next poll reads the next frame as usual.
void tst_LiveView::malformedPacketGivesNoFrame()
{
    QFETCH(QByteArray, bad);
    QFETCH(bool, readFails);
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy frames(&camera, &OLP_Logic_Camera::signalLiveView);
    QVERIFY(startLiveView(camera, frames, 2));
    OLP_Test_LogCapture log;
    const QString line = QString::fromLatin1(PollName) + (readFails ? QStringLiteral(" - getStreamData failed!")
                                                                    : QStringLiteral(" - error in stream data!"));
    if (readFails) {
        rig.camera->failNextOperations(0x2002, 1, OpGetStreamData);
    } else {
        rig.camera->queueStreamPacket(bad);
    }
    QVERIFY(QTest::qWaitFor([&] { return log.contains(line); }, olpTimeout(3000)));
    const int delivered = frames.size();
    QVERIFY(waitFrames(frames, delivered + 2));
    camera.setWantLiveView(false);
    QCOMPARE(log.count(line), 1);
    if (!readFails) {
        QVERIFY(log.contains("streamData[000000000000]:"));
    }
    // Every generated frame arrived, and nothing for the bad packet.
    QCOMPARE(quint32(frames.size()), rig.camera->streamFramesSent());
    for (const QList<QVariant>& args : frames) {
        QVERIFY(!args.at(0).value<QImage>().isNull());
    }
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

void tst_LiveView::unknownTagIsSkipped()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy frames(&camera, &OLP_Logic_Camera::signalLiveView);
    QVERIFY(startLiveView(camera, frames, 2));
    OLP_Test_LogCapture log;
    const int delivered = frames.size();
    rig.camera->queueStreamPacket(packet(tag(9, u32(5)) + tag(1, u32(400)) + u32(0), smallJpeg()));
    QVERIFY(waitFrames(frames, delivered + 1));
    QCOMPARE(frames.at(delivered).at(0).value<QImage>().size(), QSize(64, 48));
    QCOMPARE(log.count(QString::fromLatin1(PollName) + " - unknown tag 0x00000009 in live view stream!"), 1);
    QVERIFY(!log.contains(QString::fromLatin1(PollName) + " - error in stream data!"));
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

// The camera's audio example: peaks 32000, 31000 and RMS 12000, 11000 give
// (12.0, 11.0, 32.0, 31.0); a picture the decoder cannot read still goes out
// as a null image.
void tst_LiveView::audioAndTimeCode()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy frames(&camera, &OLP_Logic_Camera::signalLiveView);
    QSignalSpy audio(&camera, &OLP_Logic_Camera::signalLiveAudioLevel);
    QSignalSpy timeCode(&camera, &OLP_Logic_Camera::signalLiveTimeCode);
    QVERIFY(startLiveView(camera, frames, 2));
    QCOMPARE(audio.size(), 0);
    const QByteArray levels = u32(32000) + u32(31000) + u32(12000) + u32(11000);
    const QByteArray tc("\x0A\x14\x1E\x07", 4);
    const int delivered = frames.size();
    rig.camera->queueStreamPacket(packet(tag(6, levels) + tag(7, tc) + u32(0), QByteArray("not a picture")));
    QVERIFY(waitFrames(frames, delivered + 1));
    QVERIFY(frames.at(delivered).at(0).value<QImage>().isNull());
    QCOMPARE(audio.size(), 1);
    QCOMPARE(audio.at(0).at(0).toDouble(), 12.0);
    QCOMPARE(audio.at(0).at(1).toDouble(), 11.0);
    QCOMPARE(audio.at(0).at(2).toDouble(), 32.0);
    QCOMPARE(audio.at(0).at(3).toDouble(), 31.0);
    QCOMPARE(timeCode.size(), 1);
    QCOMPARE(timeCode.at(0), (QList<QVariant>{10, 20, 30, 7}));
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

// With log flag 65536 every packet is written out field by field.
void tst_LiveView::packetLinesWithStreamFlag()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy frames(&camera, &OLP_Logic_Camera::signalLiveView);
    OLP_Test_LogCapture log;
    setDebugFlags(0x10000, true);
    QVERIFY(startLiveView(camera, frames, 2));
    const QVector<quint32> example = {0, 1, 0, 0, 6000, 4000, 0, 0, 6000, 4000, 1000, 500, 2000, 1500, 2000, 1250};
    const QByteArray levels = u32(32000) + u32(31000) + u32(12000) + u32(11000);
    const QByteArray tags = tag(1, u32(800)) + tag(2, u32(16667)) + tag(3, u32(quint32(-512))) + tag(4, zoom(example)) +
                            tag(5, u32(0xBEEF)) + tag(6, levels) + tag(7, QByteArray("\x0A\x14\x1E\x07", 4)) + u32(0);
    log.clear();
    const int delivered = frames.size();
    rig.camera->queueStreamPacket(packet(tags, smallJpeg()));
    QVERIFY(waitFrames(frames, delivered + 1));
    setDebugFlags(0x10000, false);
    const QString p = QString::fromLatin1(PollName) + " - ";
    const QStringList expected = {
        p + "ISO                        = 800",
        p + "Exposure            (usec) = 16667 usec",
        p + "Exposure              (TV) = -2.000000",
        p + "Selected Stripe            = 0x00000000",
        p + "Zoom Level                 = 1",
        p + "Outer Bounds  (x, y, w, h) = 0, 0, 6000, 4000",
        p + "Active Sensor (x, y, w, h) = 0, 0, 6000, 4000",
        p + "Image SrcArea (x, y, w, h) = 1000, 500, 2000, 1500",
        p + "AF Cross            (x, y) = 2000, 1250",
        p + "--> rel. Focus Pos. (x, y) = 0.500, 0.500",
        p + "Image ID                   = 0x0000beef",
        p + "Audio Peak Value     (L,R) = 32000, 31000",
        p + "Audio RMS Value      (L,R) = 12000, 11000",
        p + "Time Code    (HH:MM:SS.FF) = 10:20:30.07",
    };
    // The lines of that packet, in this order, after its dump.
    const QStringList lines = log.lines();
    const int first = lines.indexOf(expected.first());
    QVERIFY(first > 0);
    QCOMPARE(lines.mid(first, expected.size()), expected);
    QVERIFY(lines.at(first - 1).startsWith("streamData["));
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

// The camera's zoom example through the emulator: zoomed in with the cross at
// (2000, 1250) the source area is (1000, 500, 2000, 1500) of (0, 0, 6000,
// 4000): cross (0.5, 0.5), rectangle (0.1667, 0.125, 0.3333, 0.375); the
// cross at (0.5, 0.5) of the picture goes to the camera as (2000, 1250).
void tst_LiveView::zoomToggleAndFocusCross()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy frames(&camera, &OLP_Logic_Camera::signalLiveView);
    QSignalSpy zoomInfo(&camera, &OLP_Logic_Camera::signalLiveZoomInfo);
    QSignalSpy zoomRect(&camera, &OLP_Logic_Camera::signalLiveZoomRect);
    OLP_Test_LogCapture log;
    camera.setLiveViewCrossPos(0.5, 0.5);
    QVERIFY(log.contains("OLP_Logic_Camera::setLiveViewCrossPos - no zoom info"));
    QVERIFY(startLiveView(camera, frames, 2));

    const int releasesBefore = rig.camera->releases().size();
    camera.setLiveViewCrossPosGlobal(2000.0 / 6000.0, 1250.0 / 4000.0);
    camera.toggleLiveViewZoom();
    QCOMPARE(releaseParams(rig, releasesBefore), (QList<QVector<quint32>>{{2}, {21, 2000, 1250}, {20}}));
    zoomInfo.clear();
    zoomRect.clear();
    QVERIFY(QTest::qWaitFor([&] { return zoomInfo.size() > 0; }, olpTimeout(3000)));
    QCOMPARE(zoomInfo.at(0), (QList<QVariant>{0, 1, 0.5, 0.5}));
    QVERIFY(qAbs(zoomRect.at(0).at(0).toDouble() - 0.1667) < 0.0001);
    QCOMPARE(zoomRect.at(0).at(1).toDouble(), 0.125);
    QVERIFY(qAbs(zoomRect.at(0).at(2).toDouble() - 0.3333) < 0.0001);
    QCOMPARE(zoomRect.at(0).at(3).toDouble(), 0.375);
    QVERIFY(camera.liveViewZoomInfo());
    QCOMPARE(camera.liveViewZoomInfo()->sourceX, 1000u);

    const int crossBefore = rig.camera->releases().size();
    camera.setLiveViewCrossPos(0.5, 0.5);
    QCOMPARE(releaseParams(rig, crossBefore), (QList<QVector<quint32>>{{2}, {21, 2000, 1250}}));
    camera.setLiveViewCrossPos(0.75, 0.0);
    QCOMPARE(releaseParams(rig, crossBefore).last(), (QVector<quint32>{21, 2500, 500}));
    QCOMPARE(rig.camera->liveViewZoomValues().at(14), 2500u);
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

// Zero widths would give infinite positions: the record is kept, neither
// zoom signal goes out, one log line is written.
void tst_LiveView::zoomWithEmptyArea()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy frames(&camera, &OLP_Logic_Camera::signalLiveView);
    QVERIFY(startLiveView(camera, frames, 2));
    QSignalSpy zoomInfo(&camera, &OLP_Logic_Camera::signalLiveZoomInfo);
    QSignalSpy zoomRect(&camera, &OLP_Logic_Camera::signalLiveZoomRect);
    OLP_Test_LogCapture log;
    const QVector<quint32> emptySource = {0, 1, 0, 0, 6000, 4000, 0, 0, 6000, 4000, 1000, 500, 0, 1500, 2000, 1250};
    const QVector<quint32> emptyOuter = {0, 1, 0, 0, 6000, 0, 0, 0, 6000, 4000, 1000, 500, 2000, 1500, 2000, 1250};
    rig.camera->queueStreamPacket(packet(tag(4, zoom(emptySource)) + u32(0), smallJpeg()));
    rig.camera->queueStreamPacket(packet(tag(4, zoom(emptyOuter)) + u32(0), smallJpeg()));
    const int delivered = frames.size();
    QVERIFY(waitFrames(frames, delivered + 2));
    QCOMPARE(zoomInfo.size(), 0);
    QCOMPARE(zoomRect.size(), 0);
    QVERIFY(camera.liveViewZoomInfo());
    QCOMPARE(camera.liveViewZoomInfo()->outerH, 0u);
    QCOMPARE(log.count(QString::fromLatin1(PollName) +
                       " - zoom info with an empty source area or outer bounds, zoom not shown"),
             1);
    QVERIFY(waitFrames(frames, delivered + 3));
    QVERIFY(zoomInfo.size() > 0);
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

// setWantLiveView(false) stops streaming (and does not dead-lock on its own
// lock); state reports are ignored until live view is wanted again.
void tst_LiveView::wantLiveViewOffAndOn()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy frames(&camera, &OLP_Logic_Camera::signalLiveView);
    QSignalSpy modes(&camera, &OLP_Logic_Camera::signalLiveViewMode);
    QSignalSpy noLiveView(&camera, &OLP_Logic_Camera::signalNoLiveView);
    QVERIFY(startLiveView(camera, frames, 2));
    camera.setWantLiveView(false);
    QVERIFY(!camera.wantLiveView());
    QCOMPARE(noLiveView.size(), 1);
    QVERIFY(!camera.isLiveViewStreamingPrepared());
    QCOMPARE(rig.camera->propertyValue(PropEnabled), qint64(0));

    modes.clear();
    camera.setLiveViewVideo(true);
    QVERIFY(QTest::qWaitFor([&] { return rig.camera->pendingEvents() == 0; }, olpTimeout(3000)));
    QVERIFY(!modes.wait(400));
    QVERIFY(!camera.isLiveViewStreamingPrepared());

    camera.setWantLiveView(true);
    QCOMPARE(modes.size(), 1);
    QCOMPARE(modes.at(0).at(0).toInt(), 3);
    QVERIFY(camera.isLiveViewStreamingPrepared());
    QCOMPARE(camera.liveViewType(), 3);
    const int delivered = frames.size();
    QVERIFY(waitFrames(frames, delivered + 1));
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

void tst_LiveView::restartAfterWhiteBalance_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("byTemperature");
    QTest::newRow("photo, white balance index") << 2 << false;
    QTest::newRow("video, white balance index") << 3 << false;
    QTest::newRow("photo, colour temperature") << 2 << true;
}

// A changed white balance restarts the running live view so that the stream
// shows it; an unchanged value does not.
void tst_LiveView::restartAfterWhiteBalance()
{
    QFETCH(int, type);
    QFETCH(bool, byTemperature);
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    QSignalSpy frames(&camera, &OLP_Logic_Camera::signalLiveView);
    QVERIFY(startLiveView(camera, frames, type));
    QSignalSpy photo(&camera, &OLP_Logic_Camera::signalLiveViewPhoto);
    QSignalSpy video(&camera, &OLP_Logic_Camera::signalLiveViewVideo);

    int before = rig.camera->releases().size();
    if (byTemperature) {
        camera.setWhiteBalanceColorTemp(uint(camera.whiteBalanceColorTemp()));
    } else {
        camera.setWhiteBalanceIndex(uchar(camera.whiteBalanceIndex()));
    }
    QVERIFY(releaseParams(rig, before).isEmpty());

    if (byTemperature) {
        camera.setWhiteBalanceColorTemp(uint(camera.whiteBalanceColorTemp() + 500));
    } else {
        camera.setWhiteBalanceIndex(uchar(camera.whiteBalanceIndex() == 1 ? 2 : 1));
    }
    const quint32 kind = type == 2 ? 0 : 1;
    QCOMPARE(releaseParams(rig, before), (QList<QVector<quint32>>{{18, kind}, {17, kind}}));
    QCOMPARE((type == 2 ? video : photo).size(), 1);
    QCOMPARE((type == 2 ? photo : video).size(), 0);
    QCOMPARE(rig.camera->liveViewState(), type);
    const int delivered = frames.size();
    QVERIFY(waitFrames(frames, delivered + 2));
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

void tst_LiveView::autoFocusSequences_data()
{
    QTest::addColumn<quint32>("product");
    QTest::addColumn<int>("focusMode");
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QList<quint32>>("stages");
    QTest::newRow("Pelvo exec AF-S") << ProductIdPelvo << 0 << "exec" << QList<quint32>{2, 1};
    QTest::newRow("Pelvo pressed AF-C") << ProductIdPelvo << 1 << "pressed" << QList<quint32>{1};
    QTest::newRow("Pelvo released AF-S") << ProductIdPelvo << 0 << "released" << QList<quint32>{2};
    QTest::newRow("Pelvo released MF") << ProductIdPelvo << 2 << "released" << QList<quint32>{};
    QTest::newRow("KestaD pressed AF-S") << ProductIdKestaD << 0 << "pressed" << QList<quint32>{};
    QTest::newRow("KestaD released AF-C") << ProductIdKestaD << 1 << "released" << QList<quint32>{2, 1};
    QTest::newRow("KestaD exec MF") << ProductIdKestaD << 2 << "exec" << QList<quint32>{2, 1, 2};
    QTest::newRow("Pelvo pressed MF") << ProductIdPelvo << 2 << "pressed" << QList<quint32>{1, 2};
}

// The live-view autofocus by focus mode and product; in manual focus the
// camera autofocuses once in single-AF mode and returns to manual.
void tst_LiveView::autoFocusSequences()
{
    QFETCH(quint32, product);
    QFETCH(int, focusMode);
    QFETCH(QString, operation);
    QFETCH(QList<quint32>, stages);
    OLP_Test_EmuRig rig{quint16(product)};
    QVERIFY(rig.open());
    OLP_Logic_Camera camera(rig.access.get());
    camera.setFocusMode(focusMode);
    QCOMPARE(camera.focusMode(), focusMode);
    const int before = rig.camera->releases().size();
    const int writes = rig.camera->requestCount(0x1016);
    if (operation == "exec") {
        camera.doLiveViewAFExec();
    } else if (operation == "pressed") {
        camera.doLiveViewAFPressed();
    } else {
        camera.doLiveViewAFReleased();
    }
    QList<quint32> got;
    for (const QVector<quint32>& params : releaseParams(rig, before)) {
        got.append(params.value(0));
    }
    QCOMPARE(got, stages);
    const bool pulse = focusMode == 2 && !stages.isEmpty();
    // The pulse writes focus mode 0 and then 2 again.
    QCOMPARE(rig.camera->requestCount(0x1016) - writes, pulse ? 2 : 0);
    QCOMPARE(rig.camera->propertyValue(0x500A), qint64(focusMode));
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

// Deleting the camera object while it streams disables the stream and stops
// the poll (under the sanitizer: no poll runs on freed memory).
void tst_LiveView::destroyWhileStreaming()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    auto camera = std::make_unique<OLP_Logic_Camera>(rig.access.get());
    QSignalSpy frames(camera.get(), &OLP_Logic_Camera::signalLiveView);
    QSignalSpy noLiveView(camera.get(), &OLP_Logic_Camera::signalNoLiveView);
    QVERIFY(startLiveView(*camera, frames, 3));
    camera.reset();
    QCOMPARE(noLiveView.size(), 1);
    QCOMPARE(rig.camera->propertyValue(PropEnabled), qint64(0));
    const int reads = rig.camera->requestCount(OpGetStreamData);
    QCoreApplication::processEvents();
    QCOMPARE(rig.camera->requestCount(OpGetStreamData), reads);
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

QTEST_GUILESS_MAIN(tst_LiveView)
#include "tst_LiveView.moc"
