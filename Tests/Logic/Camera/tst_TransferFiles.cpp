// The pieces of a picture transfer that need no camera: reading the ObjectInfo
// dataset, finding the Exif orientation, writing a file without replacing
// another one, and the files the emulated camera makes (a JPG with an Exif
// orientation entry, a TIFF-based DNG with orientation and preview).

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <cstring>
#include <memory>

#include "OLP_Commu_EmuCapture.h"
#include "OLP_Commu_EmuDataset.h"
#include "OLP_Commu_EmuWire.h"
#include "OLP_Commu_ProductIds.h"
#include "OLP_Logic_TransferThread.h"
#include "OLP_Test_EmuRig.h"
#include "OLP_Test_Support.h"

namespace {

// The entries of one TIFF directory: tag -> (type, count, value or offset field).
struct TiffEntry
{
    quint16 type;
    quint32 count;
    quint32 field;
};

class TiffReader
{
public:
    explicit TiffReader(const QByteArray& tiff) : m_data(tiff), m_bigEndian(tiff.startsWith("MM")) {}
    bool valid() const
    {
        return (m_data.startsWith(QByteArray("II*\0", 4)) || m_data.startsWith(QByteArray("MM\0*", 4)));
    }
    quint16 u16(int at) const
    {
        const uchar* p = reinterpret_cast<const uchar*>(m_data.constData()) + at;
        return m_bigEndian ? qFromBigEndian<quint16>(p) : qFromLittleEndian<quint16>(p);
    }
    quint32 u32(int at) const
    {
        const uchar* p = reinterpret_cast<const uchar*>(m_data.constData()) + at;
        return m_bigEndian ? qFromBigEndian<quint32>(p) : qFromLittleEndian<quint32>(p);
    }
    QMap<quint16, TiffEntry> directory(quint32 offset) const
    {
        QMap<quint16, TiffEntry> entries;
        const int count = u16(int(offset));
        for (int i = 0; i < count; ++i) {
            const int at = int(offset) + 2 + 12 * i;
            const quint16 type = u16(at + 2);
            // A SHORT value sits in the first two bytes of the field.
            const quint32 field = type == 3 && u32(at + 4) == 1 ? u16(at + 8) : u32(at + 8);
            entries.insert(u16(at), TiffEntry{type, u32(at + 4), field});
        }
        return entries;
    }

private:
    QByteArray m_data;
    bool m_bigEndian;
};

QByteArray objectInfo(const QString& fileName, quint8 claimedCount)
{
    OLP_Commu_EmuDataset info(52);
    info.putU32(8, 123456);
    info.putU16(12, 0x3801);
    info.putU32(14, 4321);
    info.putU32(48, 3);
    info.u8(claimedCount);
    for (const QChar c : fileName) {
        info.u16(c.unicode());
    }
    return info.data();
}

}  // namespace

class tst_TransferFiles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { olpTestInit(); }

    void parseObjectInfo_data();
    void parseObjectInfo();
    void exifOrientation_data();
    void exifOrientation();
    void writeNewFileNeverReplaces();
    void writeNewFileInUnwritableFolder();
    void emulatedJpg_data();
    void emulatedJpg();
    void emulatedDng_data();
    void emulatedDng();
    void emulatedReleases_data();
    void emulatedReleases();
    void emulatedAcknowledgement();
};

// The count byte of the file name may claim more characters than the 154
// bytes hold; reading stops at the end of the data and at the first NUL.
void tst_TransferFiles::parseObjectInfo_data()
{
    QTest::addColumn<QByteArray>("dataset");
    QTest::addColumn<QString>("fileName");

    QString terminated = QStringLiteral("L1000001.DNG");
    terminated.append(QChar(0));
    QTest::newRow("terminated") << objectInfo(terminated, 13) << "L1000001.DNG";
    QTest::newRow("NUL before the claimed end") << objectInfo(terminated + "garbage", 255) << "L1000001.DNG";
    QTest::newRow("claims 255, buffer ends first")
        << objectInfo(QString(120, QLatin1Char('A')), 255).left(OLP_Logic_TransferThread::kObjectInfoSize)
        << QString(50, QLatin1Char('A'));
    QTest::newRow("buffer ends inside a character")
        << objectInfo(QStringLiteral("L100"), 5).left(53 + 7) << QStringLiteral("L10");
    QTest::newRow("dataset shorter than the name offset") << QByteArray(40, '\x11') << QString();
}

void tst_TransferFiles::parseObjectInfo()
{
    QFETCH(QByteArray, dataset);
    QFETCH(QString, fileName);
    // A copy of exactly the given size, so a read past it is caught by the sanitizer.
    std::unique_ptr<quint8[]> exact(new quint8[size_t(dataset.size())]);
    std::memcpy(exact.get(), dataset.constData(), size_t(dataset.size()));

    const OLP_Logic_TransferThread::ObjectInfo info =
        OLP_Logic_TransferThread::parseObjectInfo(exact.get(), dataset.size());

    QCOMPARE(info.fileName, fileName);
    if (dataset.size() >= 52) {
        QCOMPARE(info.compressedSize, 123456u);
        QCOMPARE(info.thumbSize, 4321u);
        QCOMPARE(info.sequenceNumber, 3u);
    } else {
        QCOMPARE(info.sequenceNumber, 0u);
    }
}

void tst_TransferFiles::exifOrientation_data()
{
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("found");

    const QByteArray le = QByteArray::fromHex("1201030001000000");
    const QByteArray be = QByteArray::fromHex("0112000300000001");
    auto at = [](QByteArray data, int index, const QByteArray& bytes) {
        data.replace(index, bytes.size(), bytes);
        return data;
    };
    const QByteArray tiffLe = QByteArray("II*\0", 4).leftJustified(1024, 'X');
    const QByteArray tiffBe = QByteArray("MM\0*", 4).leftJustified(1024, 'X');
    const QByteArray jpegBe = QByteArray(
                                  "\xFF\xD8\xFF\xE1\x00\x40"
                                  "Exif\0\0MM\0*",
                                  16)
                                  .leftJustified(1024, 'X');

    QTest::newRow("little-endian 6 at index 40") << at(tiffLe, 40, le + QByteArray("\x06\x00", 2)) << 6 << true;
    QTest::newRow("big-endian TIFF 8") << at(tiffBe, 30, be + QByteArray("\x00\x08", 2)) << 8 << true;
    QTest::newRow("big-endian behind the Exif header 3") << at(jpegBe, 46, be + QByteArray("\x00\x03", 2)) << 3 << true;
    QTest::newRow("little-endian pattern in a big-endian file")
        << at(tiffBe, 30, le + QByteArray("\x06\x00", 2)) << 0 << false;
    QTest::newRow("no entry") << tiffLe << 0 << false;
    QTest::newRow("value is the last byte") << at(tiffLe, 1015, le + QByteArray("\x05", 1)) << 5 << true;
    // The entry fills the last eight bytes: its value would lie behind them.
    QTest::newRow("value outside the 1024 bytes") << at(tiffLe, 1016, le) << 0 << false;
    QTest::newRow("big-endian value outside") << at(tiffBe, 1015, be + QByteArray("\x00", 1)) << 0 << false;
    QTest::newRow("entry behind the first 1024 bytes") << tiffLe + le + QByteArray("\x06\x00", 2) << 0 << false;
}

void tst_TransferFiles::exifOrientation()
{
    QFETCH(QByteArray, prefix);
    QFETCH(int, orientation);
    QFETCH(bool, found);
    bool wasFound = !found;
    QCOMPARE(OLP_Logic_TransferThread::exifOrientation(prefix, &wasFound), orientation);
    QCOMPARE(wasFound, found);
}

// A file that appears after the name was chosen is never replaced: the
// picture takes the next free name, and no temporary file stays behind.
void tst_TransferFiles::writeNewFileNeverReplaces()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.path() + "/Picture00007.JPG";
    QFile other(path);
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("someone else's");
    other.close();
    const QByteArray picture(300000, 'p');
    QString error;

    const QString written =
        OLP_Logic_TransferThread::writeNewFile(path, "jpg", picture.constData(), picture.size(), &error);

    QCOMPARE(written, dir.path() + "/Picture00007_1.jpg");
    QVERIFY(other.open(QIODevice::ReadOnly));
    QCOMPARE(other.readAll(), QByteArray("someone else's"));
    QFile result(written);
    QVERIFY(result.open(QIODevice::ReadOnly));
    QCOMPARE(result.readAll(), picture);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             QStringList({"Picture00007.JPG", "Picture00007_1.jpg"}));
}

void tst_TransferFiles::writeNewFileInUnwritableFolder()
{
    QString error;
    const QByteArray picture(1000, 'p');
    QVERIFY(OLP_Logic_TransferThread::writeNewFile("/proc/Picture00001.JPG", "JPG", picture.constData(), picture.size(),
                                                   &error)
                .isEmpty());
    QVERIFY(!error.isEmpty());
}

void tst_TransferFiles::emulatedJpg_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("bigEndian");
    QTest::newRow("little-endian 6") << 6 << false;
    QTest::newRow("big-endian 8") << 8 << true;
    QTest::newRow("without orientation") << 0 << false;
}

void tst_TransferFiles::emulatedJpg()
{
    QFETCH(int, orientation);
    QFETCH(bool, bigEndian);
    const QByteArray file =
        OLP_Commu_EmuCapture::jpegFile(OLP_Commu_EmuCapture::jpegImage(320, 240, 3), orientation, bigEndian, "Kesta D");

    QVERIFY(file.startsWith(QByteArray("\xFF\xD8\xFF\xE1", 4)));
    QCOMPARE(file.mid(6, 6), QByteArray("Exif\0\0", 6));
    const QByteArray tiff = file.mid(12);
    const TiffReader reader(tiff);
    QVERIFY(reader.valid());
    const QMap<quint16, TiffEntry> ifd0 = reader.directory(reader.u32(4));
    QCOMPARE(ifd0.contains(0x0112), orientation > 0);
    if (orientation > 0) {
        QCOMPARE(int(ifd0.value(0x0112).field), orientation);
    }
    QImage image;
    QVERIFY(image.loadFromData(file, "JPG"));
    QCOMPARE(image.size(), QSize(320, 240));
    QCOMPARE(OLP_Logic_TransferThread::exifOrientation(file.left(1024)), orientation);
}

void tst_TransferFiles::emulatedDng_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("bigEndian");
    QTest::addColumn<quint64>("pictureSize");
    QTest::newRow("little-endian 6, 300 kB") << 6 << false << quint64(300000);
    QTest::newRow("big-endian 3, 80 MB") << 3 << true << quint64(80000000);
}

void tst_TransferFiles::emulatedDng()
{
    QFETCH(int, orientation);
    QFETCH(bool, bigEndian);
    QFETCH(quint64, pictureSize);
    quint64 rawBytes = 0;
    const QByteArray head = OLP_Commu_EmuCapture::dngHead(pictureSize, orientation, bigEndian, "Pelvo", 2, &rawBytes);
    const TiffReader reader(head);

    QVERIFY(reader.valid());
    QVERIFY(qAbs(qint64(head.size() + rawBytes) - qint64(pictureSize)) < 1024);
    const QMap<quint16, TiffEntry> preview = reader.directory(reader.u32(4));
    QCOMPARE(preview.value(0x00FE).field, 1u);  // a reduced-resolution image
    QCOMPARE(preview.value(0xC612).count, 4u);  // DNG version
    QCOMPARE(int(preview.value(0x0112).field), orientation);
    const quint32 previewAt = preview.value(0x0111).field;
    const quint32 previewBytes = preview.value(0x0117).field;
    QCOMPARE(previewBytes, preview.value(0x0100).field * preview.value(0x0101).field * 3);
    QCOMPARE(quint64(previewAt) + previewBytes, quint64(head.size()));
    const QMap<quint16, TiffEntry> raw = reader.directory(preview.value(0x014A).field);
    QCOMPARE(raw.value(0x00FE).field, 0u);
    QCOMPARE(raw.value(0x0106).field, 32803u);  // colour filter array
    QCOMPARE(raw.value(0x0111).field, quint32(head.size()));
    QCOMPARE(quint64(raw.value(0x0117).field), rawBytes);
    QCOMPARE(quint64(raw.value(0x0117).field), quint64(raw.value(0x0100).field) * raw.value(0x0101).field * 2);
    QCOMPARE(OLP_Logic_TransferThread::exifOrientation(head.left(1024)), orientation);
}

// Which release takes how many pictures in which files, as the emulated
// camera's own settings say; the sequence numbers count down per release.
void tst_TransferFiles::emulatedReleases_data()
{
    QTest::addColumn<quint16>("product");
    QTest::addColumn<QVariantMap>("properties");  // code in hex -> value
    QTest::addColumn<QByteArray>("settings");     // offset, value pairs of the settings structure
    QTest::addColumn<QString>("stages");          // release stages in order
    QTest::addColumn<QStringList>("files");

    const quint16 d = ProductIdKestaD;
    const QVariantMap jpg{{"D004", 2}};
    QTest::newRow("Kesta D single, DNG + JPG")
        << d << QVariantMap{{"D004", 1}} << QByteArray() << "0" << QStringList({"L1000001.DNG 2", "L1000001.JPG 1"});
    QTest::newRow("Pelvo single, JPG first") << quint16(ProductIdPelvo) << QVariantMap{{"D004", 1}} << QByteArray()
                                             << "0" << QStringList({"L1000001.JPG 2", "L1000001.DNG 1"});
    QTest::newRow("Kesta D bracketing 5")
        << d << QVariantMap{{"D004", 2}, {"D005", 1}, {"D006", 5}} << QByteArray() << "0"
        << QStringList({"L1000001.JPG 5", "L1000002.JPG 4", "L1000003.JPG 3", "L1000004.JPG 2", "L1000005.JPG 1"});
    QTest::newRow("Pelvo bracketing drive mode")
        << quint16(ProductIdPelvo) << QVariantMap{{"D004", 0}, {"5013", 8}, {"D006", 3}} << QByteArray() << "0"
        << QStringList({"L1000001.DNG 3", "L1000002.DNG 2", "L1000003.DNG 1"});
    QTest::newRow("Kesta A structure: bracketing 3, JPG")
        << quint16(ProductIdKestaA) << QVariantMap() << QByteArray("\x05\x01\x0F\x03", 4) << "0"
        << QStringList({"L1000001.JPG 3", "L1000002.JPG 2", "L1000003.JPG 1"});
    QTest::newRow("Kesta B continuous, DNG + JPG")
        << quint16(ProductIdKestaB) << QVariantMap() << QByteArray("\x0F\x01", 2) << "12"
        << QStringList({"L1000001.DNG 6", "L1000001.JPG 5", "L1000002.DNG 4", "L1000002.JPG 3", "L1000003.DNG 2",
                        "L1000003.JPG 1"});
    QTest::newRow("bulb opened and closed") << d << jpg << QByteArray() << "7,8" << QStringList({"L1000001.JPG 1"});
    QTest::newRow("bulb opened") << d << jpg << QByteArray() << "7" << QStringList();
    QTest::newRow("bulb closed without opening") << d << jpg << QByteArray() << "8" << QStringList();
    QTest::newRow("keep-alive") << d << jpg << QByteArray() << "14" << QStringList();
    QTest::newRow("Seventh InitiateCapture")
        << quint16(ProductIdSeventh) << jpg << QByteArray() << "0" << QStringList({"L1000001.JPG 1"});
    QTest::newRow("Seventh continuous operation")
        << quint16(ProductIdSeventh) << jpg << QByteArray() << "12"
        << QStringList({"L1000001.JPG 3", "L1000002.JPG 2", "L1000003.JPG 1"});
}

void tst_TransferFiles::emulatedReleases()
{
    QFETCH(quint16, product);
    QFETCH(QVariantMap, properties);
    QFETCH(QByteArray, settings);
    QFETCH(QString, stages);
    QFETCH(QStringList, files);
    OLP_Test_EmuRig rig(product);
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        QVERIFY(rig.camera->setPropertyValue(quint16(it.key().toUInt(nullptr, 16)), it.value().toLongLong()));
    }
    for (int i = 0; i + 1 < settings.size(); i += 2) {
        rig.camera->changeSettings(quint8(settings.at(i)), settings.mid(i + 1, 1));
    }
    OLP_Commu_EmuCapture::Options options = rig.camera->captureOptions();
    options.enabled = true;
    rig.camera->setCaptureOptions(options);
    QVERIFY(rig.open());

    for (const QString& stage : stages.split(',')) {
        QVERIFY(rig.access->releaseCam(stage.toInt()));
    }

    QStringList taken;
    for (const OLP_Commu_EmuCapture::Picture& picture : rig.camera->capturedPictures()) {
        taken << picture.fileName + " " + QString::number(picture.sequenceNumber);
    }
    QCOMPARE(taken, files);
    QCOMPARE(rig.camera->pendingNewObjects(), files.size());
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

// The new-object handle names the oldest picture not yet acknowledged; an
// acknowledgement without one is refused; without pictures the handle is an
// ordinary one again.
void tst_TransferFiles::emulatedAcknowledgement()
{
    OLP_Test_EmuRig rig(ProductIdKestaD);
    rig.camera->addObject(OLP_Logic_TransferThread::kNewObjectHandle, QByteArray("stored object"));
    QVERIFY(rig.open());
    rig.camera->announceObject("first.JPG", QByteArray("first picture"));
    rig.camera->announceObject("second.JPG", QByteArray("second picture"));
    QByteArray buffer(64, '\0');
    quint8* data = reinterpret_cast<quint8*>(buffer.data());
    quint32 received = 0;

    QVERIFY(rig.access->getObject(data, 64, OLP_Logic_TransferThread::kNewObjectHandle, &received));
    QCOMPARE(buffer.left(int(received)), QByteArray("first picture"));
    QVERIFY(rig.access->transferObjectReady());
    QVERIFY(rig.access->getObject(data, 64, OLP_Logic_TransferThread::kNewObjectHandle, &received));
    QCOMPARE(buffer.left(int(received)), QByteArray("second picture"));
    QVERIFY(rig.access->transferObjectReady());
    QVERIFY(!rig.access->transferObjectReady());
    QVERIFY(rig.access->getObject(data, 64, OLP_Logic_TransferThread::kNewObjectHandle, &received));
    QCOMPARE(buffer.left(int(received)), QByteArray("stored object"));
    QCOMPARE(rig.camera->protocolErrors(), QStringList());
}

QTEST_GUILESS_MAIN(tst_TransferFiles)
#include "tst_TransferFiles.moc"
