#include <QRandomGenerator>
#include <QtTest>
#include <cmath>
#include <vector>

#include "OLP_Logic_LiveViewPacket.h"
#include "OLP_Test_Support.h"

namespace {

typedef OLP_Logic_LiveViewPacket Packet;

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

QByteArray zoomPayload(const QVector<quint32>& values)
{
    QByteArray bytes;
    for (quint32 v : values) {
        bytes += u32(v);
    }
    return bytes;
}

// The zoom record of the camera's example: source area (1000, 500, 2000,
// 1500) inside outer bounds (0, 0, 6000, 4000), AF cross at (2000, 1250).
QVector<quint32> exampleZoom()
{
    return {0, 1, 0, 0, 6000, 4000, 0, 0, 6000, 4000, 1000, 500, 2000, 1500, 2000, 1250};
}

// A packet as the camera builds it: header, the tag list (the caller adds the
// end tag), padding up to the image offset, the picture.
QByteArray packet(const QByteArray& tags, const QByteArray& image, qint64 imageOffset = -1)
{
    QByteArray bytes(20, '\0');
    bytes += tags;
    const int offset = imageOffset >= 0 ? int(imageOffset) : qMax((bytes.size() + 3) & ~3, 32);
    if (bytes.size() < offset) {
        bytes += QByteArray(offset - bytes.size(), '\0');
    }
    bytes += image;
    const quint32 total = quint32(bytes.size());
    putU32(bytes, 0, total);
    bytes[4] = 10;
    bytes[5] = 0;
    putU32(bytes, 10, total - 14);
    putU32(bytes, 16, quint32(offset));
    return bytes;
}

bool parseExact(Packet* p, const QByteArray& bytes)
{
    // An allocation of exactly the packet size, so the sanitizer sees every
    // byte read past its end.
    std::vector<quint8> exact(bytes.begin(), bytes.end());
    const bool ok = p->parse(exact.empty() ? nullptr : exact.data(), exact.size());
    return ok;
}

// A second, plain reading of the packet rules, used as the oracle of the
// random test.
bool referenceValid(const quint8* d, quint64 size)
{
    auto rd32 = [d](quint64 o) {
        return quint64(d[o]) | quint64(d[o + 1]) << 8 | quint64(d[o + 2]) << 16 | quint64(d[o + 3]) << 24;
    };
    if (size < 20) {
        return false;
    }
    const quint64 l1 = quint64(d[4]) | quint64(d[5]) << 8;
    if (6 + l1 > size || 14 + rd32(10) > size) {
        return false;
    }
    const quint64 image = rd32(16);
    if (image < 29 || image > size) {
        return false;
    }
    quint64 pos = 20;
    while (true) {
        if (pos + 4 > size) {
            return false;
        }
        const quint64 t = rd32(pos);
        if (t == 0) {
            return true;
        }
        if (pos + 8 > size) {
            return false;
        }
        const quint64 len = rd32(pos + 4);
        if (len == 0 || pos + 8 + len > size) {
            return false;
        }
        const quint64 need = (t >= 1 && t <= 7) ? (t == 4 ? 64 : (t == 6 ? 16 : 4)) : 0;
        if (len < need) {
            return false;
        }
        pos += 8 + len;
    }
}

}  // namespace

// The live-view stream-data packet: header checks, the tag walk and the
// decoding of zoom, audio and time code, with lengths chosen to wrap 32-bit
// arithmetic; and a seeded random test against a second reading of the rules.
class tst_LiveViewPacket : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { olpTestInit(); }

    void stateFromSupportedStreams_data();
    void stateFromSupportedStreams();
    void headerAndTagChecks_data();
    void headerAndTagChecks();
    void fullTagSet();
    void laterTagReplacesEarlier();
    void unknownTagsAreListed();
    void zoomExample();
    void zoomSignedDifferences();
    void zoomEmptyAreas_data();
    void zoomEmptyAreas();
    void sensorPointRejectsNonFinite_data();
    void sensorPointRejectsNonFinite();
    void randomPackets();
};

void tst_LiveViewPacket::stateFromSupportedStreams_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<int>("state");
    QTest::newRow("video live view") << 0x00030001u << 3;
    QTest::newRow("low half 2 is no live view") << 0x00030002u << 0;
    QTest::newRow("photo live view") << 0x00020001u << 2;
    QTest::newRow("recording") << 0x00010001u << 1;
    QTest::newRow("grey card passes unchanged") << 0x00040001u << 4;
    QTest::newRow("off") << 0x00000000u << 0;
    QTest::newRow("low half 1 alone") << 0x00000001u << 0;
    QTest::newRow("largest state") << 0xFFFF0001u << 0xFFFF;
}

void tst_LiveViewPacket::stateFromSupportedStreams()
{
    QFETCH(quint32, value);
    QFETCH(int, state);
    QCOMPARE(Packet::stateFromSupportedStreams(value), state);
}

void tst_LiveViewPacket::headerAndTagChecks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("error");

    const QByteArray end = u32(0);
    const QByteArray image("JPEGDATA");
    const QByteArray valid = packet(end, image);

    QTest::newRow("valid, no tags") << valid << int(Packet::ErrorNone);
    QTest::newRow("image offset 29") << packet(end, image, 29) << int(Packet::ErrorNone);
    QTest::newRow("image offset 28") << packet(end, image, 28) << int(Packet::ErrorImageOffset);
    QTest::newRow("image offset 0") << packet(end, image, 0) << int(Packet::ErrorImageOffset);

    QByteArray emptyImage = packet(end, QByteArray(), 32);
    QTest::newRow("image offset at the end") << emptyImage << int(Packet::ErrorNone);
    QByteArray pastEnd = emptyImage;
    putU32(pastEnd, 16, quint32(pastEnd.size() + 1));
    QTest::newRow("image offset past the end") << pastEnd << int(Packet::ErrorImageOffset);
    QByteArray hugeOffset = valid;
    putU32(hugeOffset, 16, 0xFFFFFFFF);
    QTest::newRow("image offset 0xFFFFFFFF") << hugeOffset << int(Packet::ErrorImageOffset);

    QByteArray l1 = valid;
    l1[4] = char((valid.size() - 6) & 0xFF);
    l1[5] = char((valid.size() - 6) >> 8);
    QTest::newRow("L1 reaches the end") << l1 << int(Packet::ErrorNone);
    l1[4] = char((valid.size() - 5) & 0xFF);
    QTest::newRow("L1 one past the end") << l1 << int(Packet::ErrorLength1);
    l1[4] = char(0xFF);
    l1[5] = char(0xFF);
    QTest::newRow("L1 0xFFFF") << l1 << int(Packet::ErrorLength1);

    QByteArray l2 = valid;
    putU32(l2, 10, quint32(valid.size() - 14));
    QTest::newRow("L2 reaches the end") << l2 << int(Packet::ErrorNone);
    putU32(l2, 10, quint32(valid.size() - 13));
    QTest::newRow("L2 one past the end") << l2 << int(Packet::ErrorLength2);
    // 14 + 0xFFFFFFF2 wraps to 0 in 32 bits.
    putU32(l2, 10, 0xFFFFFFF2);
    QTest::newRow("L2 wrapping to 0") << l2 << int(Packet::ErrorLength2);
    putU32(l2, 10, 0xFFFFFFFF);
    QTest::newRow("L2 0xFFFFFFFF") << l2 << int(Packet::ErrorLength2);

    QTest::newRow("tag length 0") << packet(tag(1, QByteArray(), 0) + end, image) << int(Packet::ErrorTagZeroLength);
    QTest::newRow("tag length 0xFFFFFFFF")
        << packet(tag(1, u32(400), 0xFFFFFFFF) + end, image) << int(Packet::ErrorTagPayload);
    // 20 + 8 + 0xFFFFFFE4 wraps to 0 in 32 bits: back to the start.
    QTest::newRow("tag length wrapping to the start")
        << packet(tag(1, u32(400), 0xFFFFFFE4) + end, image) << int(Packet::ErrorTagPayload);
    QTest::newRow("ISO tag of 2 bytes") << packet(tag(1, QByteArray(2, '\1')) + end, image)
                                        << int(Packet::ErrorTagTooShort);
    QTest::newRow("zoom tag of 60 bytes")
        << packet(tag(4, QByteArray(60, '\1')) + end, image) << int(Packet::ErrorTagTooShort);
    QTest::newRow("audio tag of 12 bytes")
        << packet(tag(6, QByteArray(12, '\1')) + end, image) << int(Packet::ErrorTagTooShort);
    QTest::newRow("time code of 3 bytes")
        << packet(tag(7, QByteArray(3, '\1')) + end, image) << int(Packet::ErrorTagTooShort);
    QTest::newRow("unknown tag 9 with a valid length") << packet(tag(9, u32(1)) + end, image) << int(Packet::ErrorNone);

    // Tags up to the very end and no tag 0: the walk must stop at the end.
    QByteArray noEnd(20, '\0');
    noEnd += tag(1, u32(400));
    putU32(noEnd, 16, 29);
    QTest::newRow("no end tag") << noEnd << int(Packet::ErrorNoEndTag);
    QByteArray halfEntry = noEnd + u32(2);
    QTest::newRow("tag without its length field") << halfEntry << int(Packet::ErrorTagTruncated);
    QByteArray shortHeader(19, '\0');
    QTest::newRow("shorter than the header") << shortHeader << int(Packet::ErrorNoPacket);
    QTest::newRow("empty") << QByteArray() << int(Packet::ErrorNoPacket);
}

// Catches lengths added in 32 bits (wrapping past the end) and bound checks
// that are off by one.
void tst_LiveViewPacket::headerAndTagChecks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, error);
    Packet p;
    const bool ok = parseExact(&p, bytes);
    QCOMPARE(int(p.error()), error);
    QCOMPARE(ok, error == Packet::ErrorNone);
    if (!ok) {
        QVERIFY(p.image() == nullptr);
        QCOMPARE(p.imageSize(), quint64(0));
    }
}

void tst_LiveViewPacket::fullTagSet()
{
    QByteArray audio = u32(32000) + u32(31000) + u32(12000) + u32(11000);
    QByteArray timeCode("\x01\x02\x03\x04", 4);
    const QByteArray tags = tag(1, u32(800)) + tag(2, u32(16667)) + tag(3, u32(quint32(-512))) +
                            tag(4, zoomPayload(exampleZoom())) + tag(5, u32(0xABCD)) + tag(6, audio) +
                            tag(7, timeCode) + u32(0);
    const QByteArray image("\xFF\xD8 picture");
    const QByteArray bytes = packet(tags, image);
    std::vector<quint8> exact(bytes.begin(), bytes.end());
    Packet p;
    QVERIFY(p.parse(exact.data(), exact.size()));
    QCOMPARE(p.iso(), 800u);
    QCOMPARE(p.exposureMicroseconds(), 16667u);
    QCOMPARE(p.exposureTv(), -2.0);
    QVERIFY(p.hasZoomInfo());
    QCOMPARE(p.zoomInfo().sourceW, 2000u);
    QCOMPARE(p.imageId(), 0xABCDu);
    QCOMPARE(p.audioPeakLeft(), 32000u);
    QCOMPARE(p.audioPeakRight(), 31000u);
    QCOMPARE(p.audioRmsLeft(), 12000u);
    QCOMPARE(p.audioRmsRight(), 11000u);
    QCOMPARE(p.timeCodeHours(), 1);
    QCOMPARE(p.timeCodeMinutes(), 2);
    QCOMPARE(p.timeCodeSeconds(), 3);
    QCOMPARE(p.timeCodeFrames(), 4);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(p.image()), int(p.imageSize())), image);
    QCOMPARE(p.image(), exact.data() + p.imageOffset());
}

void tst_LiveViewPacket::laterTagReplacesEarlier()
{
    // A longer payload than needed: the next entry follows the whole payload.
    const QByteArray tags = tag(1, u32(100) + u32(0xDEAD)) + tag(1, u32(3200)) + u32(0);
    Packet p;
    QVERIFY(parseExact(&p, packet(tags, "img")));
    QCOMPARE(p.iso(), 3200u);
    QVERIFY(!p.hasAudio());
    QVERIFY(!p.hasTimeCode());
}

void tst_LiveViewPacket::unknownTagsAreListed()
{
    const QByteArray tags = tag(9, u32(1)) + tag(1, u32(400)) + tag(0x100, QByteArray(6, 'x')) + u32(0);
    Packet p;
    QVERIFY(parseExact(&p, packet(tags, "img")));
    QCOMPARE(p.unknownTags(), (QVector<quint32>{9, 0x100}));
    QCOMPARE(p.iso(), 400u);

    // Unknown tags met before a later error are still reported.
    Packet bad;
    QVERIFY(!parseExact(&bad, packet(tag(9, u32(1)) + tag(1, QByteArray(), 0) + u32(0), "img")));
    QCOMPARE(bad.unknownTags(), QVector<quint32>{9});
}

void tst_LiveViewPacket::zoomExample()
{
    const OLP_Logic_LiveViewZoomInfo z =
        OLP_Logic_LiveViewZoomInfo::fromBytes(reinterpret_cast<const quint8*>(zoomPayload(exampleZoom()).constData()));
    double cx = 0, cy = 0, x = 0, y = 0, w = 0, h = 0;
    QVERIFY(z.crossPosition(&cx, &cy));
    QCOMPARE(cx, 0.5);
    QCOMPARE(cy, 0.5);
    QVERIFY(z.sourceRect(&x, &y, &w, &h));
    QVERIFY(qAbs(x - 0.1667) < 0.0001);
    QCOMPARE(y, 0.125);
    QVERIFY(qAbs(w - 0.3333) < 0.0001);
    QCOMPARE(h, 0.375);

    int px = 0, py = 0;
    QVERIFY(z.sensorPoint(0.5, 0.5, false, &px, &py));
    QCOMPARE(px, 2000);
    QCOMPARE(py, 1250);
    QVERIFY(z.sensorPoint(0.5, 0.5, true, &px, &py));
    QCOMPARE(px, 3000);
    QCOMPARE(py, 2000);
}

void tst_LiveViewPacket::zoomSignedDifferences()
{
    QVector<quint32> values = exampleZoom();
    values[14] = 500;  // cross left of the source area
    values[2] = 2000;  // outer bounds begin right of the source area
    const OLP_Logic_LiveViewZoomInfo z =
        OLP_Logic_LiveViewZoomInfo::fromBytes(reinterpret_cast<const quint8*>(zoomPayload(values).constData()));
    double cx = 0, cy = 0, x = 0, y = 0, w = 0, h = 0;
    QVERIFY(z.crossPosition(&cx, &cy));
    QCOMPARE(cx, -0.25);
    QVERIFY(z.sourceRect(&x, &y, &w, &h));
    QVERIFY(qAbs(x + 1.0 / 6.0) < 1e-9);
}

void tst_LiveViewPacket::zoomEmptyAreas_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("crossOk");
    QTest::addColumn<bool>("rectOk");
    QTest::newRow("outer width 0") << 4 << true << false;
    QTest::newRow("outer height 0") << 5 << true << false;
    QTest::newRow("source width 0") << 12 << false << true;
    QTest::newRow("source height 0") << 13 << false << true;
}

// Divisions by an empty area would send infinities or NaN to the GUI.
void tst_LiveViewPacket::zoomEmptyAreas()
{
    QFETCH(int, index);
    QFETCH(bool, crossOk);
    QFETCH(bool, rectOk);
    QVector<quint32> values = exampleZoom();
    values[index] = 0;
    const OLP_Logic_LiveViewZoomInfo z =
        OLP_Logic_LiveViewZoomInfo::fromBytes(reinterpret_cast<const quint8*>(zoomPayload(values).constData()));
    double cx = 7, cy = 7, x = 7, y = 7, w = 7, h = 7;
    QCOMPARE(z.crossPosition(&cx, &cy), crossOk);
    QCOMPARE(z.sourceRect(&x, &y, &w, &h), rectOk);
    for (double v : {cx, cy, x, y, w, h}) {
        QVERIFY(std::isfinite(v));
    }
}

void tst_LiveViewPacket::sensorPointRejectsNonFinite_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<bool>("ok");
    QTest::newRow("NaN") << std::nan("") << false;
    QTest::newRow("infinity") << HUGE_VAL << false;
    QTest::newRow("huge") << 1e300 << false;
    QTest::newRow("slightly outside") << 1.01 << true;
}

void tst_LiveViewPacket::sensorPointRejectsNonFinite()
{
    QFETCH(double, x);
    QFETCH(bool, ok);
    const OLP_Logic_LiveViewZoomInfo z =
        OLP_Logic_LiveViewZoomInfo::fromBytes(reinterpret_cast<const quint8*>(zoomPayload(exampleZoom()).constData()));
    int px = -1, py = -1;
    QCOMPARE(z.sensorPoint(x, 0.5, false, &px, &py), ok);
    if (ok) {
        QCOMPARE(px, 1000 + qRound(x * 2000));
    } else {
        QCOMPARE(px, -1);
    }
}

// Mutated camera packets of every size: the parser agrees with a plain
// reading of the rules and, under the address sanitizer, never reads outside
// the packet (each packet is an allocation of exactly its size).
void tst_LiveViewPacket::randomPackets()
{
    QRandomGenerator random(20240611);
    const QByteArray audio = u32(32000) + u32(31000) + u32(12000) + u32(11000);
    const QVector<QByteArray> seeds = {
        packet(tag(1, u32(400)) + tag(4, zoomPayload(exampleZoom())) + tag(6, audio) + tag(7, u32(0x04030201)) + u32(0),
               QByteArray(40, 'j')),
        packet(u32(0), QByteArray(8, 'j'), 29),
        packet(tag(9, u32(1)) + tag(5, u32(7)) + u32(0), QByteArray()),
    };
    const quint32 interesting[] = {0, 1, 4, 8, 28, 29, 64, 0x7FFFFFFF, 0x80000000, 0xFFFFFFF0, 0xFFFFFFF8, 0xFFFFFFFF};
    int valid = 0;
    int invalid = 0;
    for (int i = 0; i < 200000; ++i) {
        QByteArray bytes = seeds.at(int(random.bounded(seeds.size())));
        const int mutations = 1 + int(random.bounded(4));
        for (int m = 0; m < mutations; ++m) {
            switch (random.bounded(5)) {
                case 0:
                    if (!bytes.isEmpty()) {
                        bytes[int(random.bounded(bytes.size()))] = char(random.bounded(256));
                    }
                    break;
                case 1:
                    if (bytes.size() >= 4) {
                        putU32(bytes, int(random.bounded(bytes.size() - 3)),
                               interesting[random.bounded(int(sizeof(interesting) / sizeof(interesting[0])))]);
                    }
                    break;
                case 2:
                    bytes.truncate(int(random.bounded(bytes.size() + 1)));
                    break;
                case 3:
                    bytes += QByteArray(int(random.bounded(8)), char(random.bounded(3)));
                    break;
                default:
                    if (bytes.size() >= 20) {
                        putU32(bytes, 16, quint32(random.bounded(bytes.size() + 2)));
                    }
                    break;
            }
        }
        std::vector<quint8> exact(bytes.begin(), bytes.end());
        const quint8* data = exact.empty() ? nullptr : exact.data();
        Packet p;
        const bool ok = p.parse(data, exact.size());
        QCOMPARE(ok, data != nullptr && referenceValid(data, exact.size()));
        if (ok) {
            ++valid;
            QVERIFY(p.imageOffset() >= 29 && p.imageOffset() <= exact.size());
            QCOMPARE(p.image() + p.imageSize(), data + exact.size());
            double a = 0, b = 0;
            if (p.hasZoomInfo() && p.zoomInfo().crossPosition(&a, &b)) {
                QVERIFY(std::isfinite(a) && std::isfinite(b));
            }
        } else {
            ++invalid;
        }
    }
    // Both outcomes were exercised, not only the rejections.
    QVERIFY(valid > 1000);
    QVERIFY(invalid > 1000);
}

QTEST_GUILESS_MAIN(tst_LiveViewPacket)
#include "tst_LiveViewPacket.moc"
