#include <QSignalSpy>
#include <QtTest>

#include "OLP_Commu_EmuLiveView.h"
#include "OLP_Commu_EmuProfile.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Logic_LiveViewPacket.h"
#include "OLP_Test_EmuRig.h"
#include "OLP_Test_Support.h"

namespace {

typedef QList<QPair<int, int>> Stages;  // release stage, parameter

quint32 readU32(OLP_Commu_CameraAccess_Base* access, quint16 code, bool* ok)
{
    quint8 bytes[4] = {0, 0, 0, 0};
    *ok = access->getDevicePropValue(code, bytes, sizeof(bytes));
    return quint32(bytes[0]) | quint32(bytes[1]) << 8 | quint32(bytes[2]) << 16 | quint32(bytes[3]) << 24;
}

bool writeU32(OLP_Commu_CameraAccess_Base* access, quint16 code, quint32 value)
{
    const quint8 bytes[4] = {quint8(value), quint8(value >> 8), quint8(value >> 16), quint8(value >> 24)};
    return access->setDevicePropValue(code, bytes, sizeof(bytes));
}

bool runStage(OLP_Commu_CameraAccess_Base* access, const QPair<int, int>& stage)
{
    if (stage.first == 20) {
        return access->releaseCam(stage.first);
    }
    return access->releaseCam(stage.first, stage.second);
}

}  // namespace

Q_DECLARE_METATYPE(Stages)

// The emulated camera's live view as the program sees it through the USB
// transport: the state the release stages leave (property 0x5020 and its
// change event), over the vendor release operation and over the individual
// operations; the stream packets, the stream switch, the zoom and focus cross
// in the zoom tag, and the faults.
class tst_LiveViewEmulator : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { olpTestInit(); }
    void statesFromReleaseStages_data();
    void statesFromReleaseStages();
    void streamDataNeedsLiveViewAndEnabledStream();
    void packetsFitTheStreamInfo();
    void zoomAndFocusCrossInZoomTag();
    void cameraWithoutLiveView();
    void faults();
};

void tst_LiveViewEmulator::statesFromReleaseStages_data()
{
    QTest::addColumn<quint32>("product");
    QTest::addColumn<Stages>("stages");
    QTest::addColumn<int>("state");
    for (quint32 product : {ProductIdKestaD, ProductIdSeventh}) {
        const QByteArray name = product == ProductIdKestaD ? "release operation: " : "individual operations: ";
        QTest::newRow(name + "photo on") << product << Stages{{17, 0}} << 2;
        QTest::newRow(name + "video on") << product << Stages{{17, 1}} << 3;
        QTest::newRow(name + "photo then video") << product << Stages{{17, 0}, {17, 1}} << 3;
        QTest::newRow(name + "photo off") << product << Stages{{17, 0}, {18, 0}} << 0;
        QTest::newRow(name + "video off leaves photo on") << product << Stages{{17, 0}, {18, 1}} << 2;
        QTest::newRow(name + "recording") << product << Stages{{17, 1}, {15, 0}} << 1;
        QTest::newRow(name + "recording stopped") << product << Stages{{17, 1}, {15, 0}, {16, 0}} << 3;
        QTest::newRow(name + "grey-card field on") << product << Stages{{17, 0}, {22, 0}} << 4;
        QTest::newRow(name + "grey-card preview") << product << Stages{{17, 0}, {22, 0}, {22, 1}} << 4;
        QTest::newRow(name + "grey-card field off leaves live view")
            << product << Stages{{17, 0}, {22, 0}, {22, 2}} << 0;
        QTest::newRow(name + "grey-card save leaves live view") << product << Stages{{17, 1}, {22, 0}, {22, 3}} << 0;
        QTest::newRow(name + "grey card without live view") << product << Stages{{22, 0}} << 0;
        QTest::newRow(name + "video off from grey card") << product << Stages{{17, 1}, {22, 0}, {18, 1}} << 0;
    }
}

void tst_LiveViewEmulator::statesFromReleaseStages()
{
    QFETCH(quint32, product);
    QFETCH(Stages, stages);
    QFETCH(int, state);
    OLP_Test_EmuRig rig{quint16(product)};
    QVERIFY(rig.open());
    QSignalSpy changed(rig.access.get(), &OLP_Commu_CameraAccess_Base::signalDevicePropertyChanged);
    for (const auto& stage : stages) {
        QVERIFY(runStage(rig.access.get(), stage));
    }
    QCOMPARE(rig.camera->liveViewState(), state);
    bool ok = false;
    const quint32 value = readU32(rig.access.get(), 0x5020, &ok);
    QVERIFY(ok);
    QCOMPARE(value, state == 0 ? 0u : (quint32(state) << 16) | 1);
    QCOMPARE(OLP_Logic_LiveViewPacket::stateFromSupportedStreams(value), state);
    // Every change of the state is announced (the access object passes each
    // property code on once per drain).
    if (state != 0 || stages.size() > 1) {
        QVERIFY(QTest::qWaitFor(
            [&] {
                for (const auto& args : changed) {
                    if (args.at(0).toInt() == 0x5020) {
                        return true;
                    }
                }
                return false;
            },
            olpTimeout(3000)));
    }
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

// GetStreamData answers only while live view runs and the host has enabled
// the stream; a packet follows the stream-data layout with all its tags.
void tst_LiveViewEmulator::streamDataNeedsLiveViewAndEnabledStream()
{
    OLP_Test_EmuRig rig(ProductIdPelvo);
    QVERIFY(rig.open());
    QByteArray buffer(2 * 1024 * 1024, '\0');
    quint8* data = reinterpret_cast<quint8*>(buffer.data());
    quint32 received = 0;
    QVERIFY(!rig.access->getStreamData(data, quint32(buffer.size()), &received));
    QVERIFY(rig.access->releaseCam(17, 1));
    QVERIFY(!rig.access->getStreamData(data, quint32(buffer.size()), &received));
    QVERIFY(writeU32(rig.access.get(), 0x5021, 1));

    OLP_Logic_LiveViewPacket previous;
    QByteArray previousImage;
    for (quint32 n = 1; n <= 3; ++n) {
        QVERIFY(rig.access->getStreamData(data, quint32(buffer.size()), &received));
        OLP_Logic_LiveViewPacket packet;
        QVERIFY(packet.parse(data, received));
        QVERIFY(packet.hasIso() && packet.hasExposureMicroseconds() && packet.hasExposureTv());
        QVERIFY(packet.hasZoomInfo() && packet.hasImageId() && packet.hasAudio() && packet.hasTimeCode());
        QCOMPARE(packet.imageId(), n);
        QCOMPARE(packet.timeCodeFrames(), int(n - 1));
        QVERIFY(packet.unknownTags().isEmpty());
        const QByteArray image(reinterpret_cast<const char*>(packet.image()), int(packet.imageSize()));
        const QImage decoded = QImage::fromData(image);
        QCOMPARE(decoded.size(), QSize(1280, 720));
        QVERIFY(image != previousImage);  // the pattern moves
        previousImage = image;
    }
    QCOMPARE(rig.camera->streamFramesSent(), 3u);

    // Photo live view: no audio, no time code.
    QVERIFY(rig.access->releaseCam(17, 0));
    QVERIFY(rig.access->getStreamData(data, quint32(buffer.size()), &received));
    OLP_Logic_LiveViewPacket photo;
    QVERIFY(photo.parse(data, received));
    QVERIFY(!photo.hasAudio() && !photo.hasTimeCode());

    QVERIFY(writeU32(rig.access.get(), 0x5021, 0));
    QVERIFY(!rig.access->getStreamData(data, quint32(buffer.size()), &received));
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

// The stream info's packetMaxSize holds the largest packet of the size.
void tst_LiveViewEmulator::packetsFitTheStreamInfo()
{
    for (const QSize& size : {QSize(1280, 720), QSize(1920, 1080)}) {
        OLP_Commu_EmuProfile profile = OLP_Commu_EmuProfile::forProduct(ProductIdKestaD);
        OLP_Commu_EmuLiveView::addTo(&profile, size.width(), size.height());
        OLP_Test_EmuRig rig(profile);
        QVERIFY(rig.open());
        quint8 info[36];
        QVERIFY(rig.access->getStreamInfo(info, sizeof(info)));
        const quint32 packetMaxSize =
            quint32(info[28]) | quint32(info[29]) << 8 | quint32(info[30]) << 16 | quint32(info[31]) << 24;
        QVERIFY(OLP_Commu_EmuLiveView::maxPacketSize(size.width(), size.height()) <= packetMaxSize);
        bool ok = false;
        QCOMPARE(readU32(rig.access.get(), 0xD632, &ok), quint32(size.height()));
        QVERIFY(ok);
        QCOMPARE(readU32(rig.access.get(), 0x5025, &ok), 25000u);
        QCOMPARE(readU32(rig.access.get(), 0x5022, &ok), 0x47504A4Du);
    }
}

void tst_LiveViewEmulator::zoomAndFocusCrossInZoomTag()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    QVERIFY(rig.access->releaseCam(17, 0));
    QVERIFY(writeU32(rig.access.get(), 0x5021, 1));
    QByteArray buffer(1024 * 1024, '\0');
    quint8* data = reinterpret_cast<quint8*>(buffer.data());
    quint32 received = 0;
    auto zoom = [&] {
        OLP_Logic_LiveViewPacket packet;
        const bool ok =
            rig.access->getStreamData(data, quint32(buffer.size()), &received) && packet.parse(data, received);
        return ok ? packet.zoomInfo() : OLP_Logic_LiveViewZoomInfo();
    };
    OLP_Logic_LiveViewZoomInfo z = zoom();
    QCOMPARE(z.zoomLevel, 0u);
    QCOMPARE(z.sourceW, 6000u);
    QCOMPARE(z.crossX, 3000u);

    QVERIFY(rig.access->releaseCam(21, 2000, 1250));
    QVERIFY(rig.access->releaseCam(20));
    z = zoom();
    QCOMPARE(z.zoomLevel, 1u);
    QCOMPARE((QVector<quint32>{z.sourceX, z.sourceY, z.sourceW, z.sourceH}), (QVector<quint32>{1000, 500, 2000, 1500}));
    QCOMPARE(z.crossX, 2000u);
    QCOMPARE(z.crossY, 1250u);

    // The zoomed area stays on the sensor when the cross is at its corner.
    QVERIFY(rig.access->releaseCam(21, 5990, 10));
    z = zoom();
    QCOMPARE((QVector<quint32>{z.sourceX, z.sourceY}), (QVector<quint32>{4000, 0}));

    QVERIFY(rig.access->releaseCam(20));
    z = zoom();
    QCOMPARE(z.zoomLevel, 0u);
    QCOMPARE(z.sourceX, 0u);
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

// The structure cameras have no live view: no stream properties and no
// GetStreamData in their DeviceInfo.
void tst_LiveViewEmulator::cameraWithoutLiveView()
{
    OLP_Test_EmuRig rig(ProductIdKestaA);
    QVERIFY(rig.open());
    QVERIFY(!rig.camera->supportedOperations().contains(0x9025));
    bool ok = true;
    readU32(rig.access.get(), 0x5020, &ok);
    QVERIFY(!ok);
    quint8 buffer[64];
    QVERIFY(!rig.access->getStreamData(buffer, sizeof(buffer)));
    QVERIFY(OLP_Commu_EmuProfile::forProduct(ProductIdKestaD).hasLiveView);
    QVERIFY(!OLP_Commu_EmuProfile::forProduct(ProductIdKestaA).hasLiveView);
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

void tst_LiveViewEmulator::faults()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    QVERIFY(rig.open());
    // An unknown live-view parameter is refused and changes nothing.
    QVERIFY(!rig.access->releaseCam(17, 5));
    QVERIFY(!rig.access->releaseCam(22, 7));
    QCOMPARE(rig.camera->liveViewState(), 0);
    QVERIFY(rig.access->releaseCam(17, 0));
    QVERIFY(writeU32(rig.access.get(), 0x5021, 1));

    QByteArray buffer(1024 * 1024, '\0');
    quint8* data = reinterpret_cast<quint8*>(buffer.data());
    quint32 received = 0;
    rig.camera->queueStreamPacket(QByteArray("raw bytes"));
    QVERIFY(rig.access->getStreamData(data, quint32(buffer.size()), &received));
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(data), int(received)), QByteArray("raw bytes"));
    QCOMPARE(rig.camera->streamFramesSent(), 0u);

    rig.camera->setStreamDataDelay(60);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(rig.access->getStreamData(data, quint32(buffer.size()), &received));
    QVERIFY(clock.elapsed() >= 60);
    rig.camera->setStreamDataDelay(0);
    QCOMPARE(rig.camera->streamFramesSent(), 1u);

    rig.camera->failNextOperations(0x2019, 1, 0x9025);
    rig.camera->failNextOperations(0x2002, 1, 0x9025);
    QVERIFY(!rig.access->getStreamData(data, quint32(buffer.size()), &received));
    QVERIFY(rig.access->getStreamData(data, quint32(buffer.size()), &received));
    QVERIFY(rig.camera->protocolErrors().isEmpty());
}

QTEST_GUILESS_MAIN(tst_LiveViewEmulator)
#include "tst_LiveViewEmulator.moc"
