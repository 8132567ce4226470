#include <lcms2.h>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>
#include <memory>

#include "OLP_Color_Factory.h"
#include "OLP_Color_Profile_Linux.h"
#include "OLP_Test_Support.h"

// Profiles come from files and from a window-system property that any program
// may set: every count and offset in them may lie. These tests feed damaged
// profiles and tags to the parsers, the tags on allocations of exactly their
// size so that a read past the end is an AddressSanitizer report.

namespace {

constexpr int Mutations = 20000;

QByteArray be32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray be16Text(const QString& text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        bytes.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    }
    return bytes;
}

QByteArray descTag(quint32 count, const QByteArray& text)
{
    return QByteArray("desc") + be32(0) + be32(count) + text;
}

// One record; offset and length of the text as given.
QByteArray mlucTag(quint32 records, quint32 length, quint32 offset, const QByteArray& text)
{
    return QByteArray("mluc") + be32(0) + be32(records) + be32(12) + QByteArray("enUS") + be32(length) + be32(offset) +
           text;
}

// An sRGB profile whose description tag is exactly the given bytes.
QByteArray profileWithTag(const QByteArray& tag, double version = 2.1)
{
    cmsHPROFILE profile = cmsCreate_sRGBProfile();
    cmsSetProfileVersion(profile, version);
    // Drop the cooked tag first: Little CMS would free the raw bytes as one.
    cmsWriteTag(profile, cmsSigProfileDescriptionTag, nullptr);
    cmsWriteRawTag(profile, cmsSigProfileDescriptionTag, tag.constData(), cmsUInt32Number(tag.size()));
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    QByteArray bytes(int(size), '\0');
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

// Offset of the tag-table entry of the description tag.
int descEntry(const QByteArray& profile)
{
    const quint32 count = qFromBigEndian<quint32>(profile.constData() + 128);
    for (quint32 i = 0; i < count; ++i) {
        const int entry = 132 + int(i) * 12;
        if (qFromBigEndian<quint32>(profile.constData() + entry) == cmsSigProfileDescriptionTag) {
            return entry;
        }
    }
    return -1;
}

QByteArray patched(QByteArray bytes, int offset, quint32 value)
{
    qToBigEndian(value, bytes.data() + offset);
    return bytes;
}

QString parseExact(const QByteArray& tag)
{
    std::unique_ptr<quint8[]> exact(new quint8[std::size_t(tag.size())]);
    std::copy(tag.cbegin(), tag.cend(), exact.get());
    return OLP_Color_Profile_Linux::descriptionFromTag(exact.get(), std::size_t(tag.size()));
}

struct Fields
{
    bool opened = false;
    quint32 space = 0;
    quint32 pcs = 0;
    quint32 deviceClass = 0;
    QString description;
    bool operator==(const Fields& o) const
    {
        return opened == o.opened && space == o.space && pcs == o.pcs && deviceClass == o.deviceClass &&
               description == o.description;
    }
};

Fields fieldsOf(const OLP_Color_Profile_Linux& profile)
{
    return {profile.isValid(), profile.colorSpace(), profile.connectionSpace(), profile.deviceClass(),
            profile.description()};
}

}  // namespace

class tst_ProfileParsing : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void hostileTags_data();
    void hostileTags();
    void hostileProfiles_data();
    void hostileProfiles();
    void mutatedProfiles();
    void mutatedTags();

private:
    Fields fromFile(const QByteArray& bytes);
    QTemporaryDir m_dir;
    int m_files = 0;
    QByteArray m_v2;
    QByteArray m_v4;
};

void tst_ProfileParsing::initTestCase()
{
    olpTestInit();
    QVERIFY(m_dir.isValid());
    m_v2 = profileWithTag(descTag(21, QByteArray("Camera working space", 21)));
    const QString text = QStringLiteral("Kamera-Arbeitsfarbraum");
    m_v4 = profileWithTag(mlucTag(1, quint32(text.size() * 2), 28, be16Text(text)), 4.3);
    QCOMPARE(fromFile(m_v2).description, QStringLiteral("Camera working space"));
    QCOMPARE(fromFile(m_v4).description, text);
}

Fields tst_ProfileParsing::fromFile(const QByteArray& bytes)
{
    // A fresh file each time: truncating one file over and over makes the
    // file system flush it every time.
    const QString path = m_dir.filePath(QStringLiteral("profile-%1.icc").arg(++m_files));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        return {};
    }
    file.close();
    const Fields fields = fieldsOf(OLP_Color_Profile_Linux(path));
    file.remove();
    return fields;
}

// Description tags that lie about their counts and offsets: the parser on an
// exact-size copy, and the same tag inside a profile from bytes and from a file.
void tst_ProfileParsing::hostileTags_data()
{
    QTest::addColumn<QByteArray>("tag");
    QTest::addColumn<QString>("expected");
    QTest::newRow("desc") << descTag(6, QByteArray("Hello", 6)) << "Hello";
    QTest::newRow("desc without NUL") << descTag(5, "Hello") << "Hello";
    QTest::newRow("desc NUL inside") << descTag(9, QByteArray("Hi\0there\0", 9)) << "Hi";
    QTest::newRow("desc count 0") << descTag(0, "Hello") << "";
    QTest::newRow("desc count one past") << descTag(6, "Hello") << "";
    QTest::newRow("desc count wraps count + 12") << descTag(0xFFFFFFF5, "Hello") << "";
    QTest::newRow("desc of 11 bytes") << QByteArray("desc\0\0\0\0\0\0\0", 11) << "";
    QTest::newRow("mluc") << mlucTag(1, 6, 28, be16Text("Abc")) << "Abc";
    QTest::newRow("mluc odd length") << mlucTag(1, 7, 28, be16Text("Abcd")) << "Abc";
    QTest::newRow("mluc zero records") << mlucTag(0, 6, 28, be16Text("Abc")) << "";
    QTest::newRow("mluc of 16 bytes") << mlucTag(1, 6, 28, QByteArray()).left(16) << "";
    QTest::newRow("mluc without its record") << mlucTag(1, 0, 28, QByteArray()).left(27) << "";
    QTest::newRow("mluc record past the end") << mlucTag(1, 8, 28, be16Text("Abc")) << "";
    QTest::newRow("mluc offset past the end") << mlucTag(1, 2, 34, be16Text("Abc")) << "";
    QTest::newRow("mluc offset wraps") << mlucTag(1, 8, 0xFFFFFFFC, be16Text("Abc")) << "";
    QTest::newRow("other type") << QByteArray("text") + be32(0) + "Hello"
                                << "";
    QTest::newRow("empty") << QByteArray() << "";
}

void tst_ProfileParsing::hostileTags()
{
    QFETCH(QByteArray, tag);
    QFETCH(QString, expected);
    QCOMPARE(parseExact(tag), expected);
    if (tag.isEmpty()) {
        return;
    }
    const QByteArray profile = profileWithTag(tag);
    QCOMPARE(OLP_Color_Profile_Linux(profile).description(), expected);
    QCOMPARE(fromFile(profile).description, expected);
}

// Damaged headers and tag tables: no profile, or a profile without the tags
// that do not fit.
void tst_ProfileParsing::hostileProfiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("description");
    const int entry = descEntry(m_v2);
    QVERIFY(entry > 0);
    const int descOffset = int(qFromBigEndian<quint32>(m_v2.constData() + entry + 4));
    QTest::newRow("whole") << m_v2 << true << "Camera working space";
    QTest::newRow("truncated at 0") << QByteArray() << false << "";
    QTest::newRow("truncated at 127") << m_v2.left(127) << false << "";
    QTest::newRow("truncated at 131") << m_v2.left(131) << false << "";
    QTest::newRow("truncated inside the description") << m_v2.left(descOffset + 20) << true << "";
    QTest::newRow("tag count 0xFFFFFFFF") << patched(m_v2, 128, 0xFFFFFFFF) << false << "";
    QTest::newRow("tag past the end") << patched(m_v2, entry + 4, quint32(m_v2.size()) + 64) << true << "";
    QTest::newRow("tag size past the end") << patched(m_v2, entry + 8, 0x7FFFFFFF) << true << "";
    QTest::newRow("tag offset + size wraps")
        << patched(patched(m_v2, entry + 4, 0xFFFFFFF0), entry + 8, 0x20) << true << "";
    QTest::newRow("header size 0") << patched(m_v2, 0, 0) << true << "";
    QTest::newRow("no signature") << patched(m_v2, 36, 0) << false << "";
}

void tst_ProfileParsing::hostileProfiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, opens);
    QFETCH(QString, description);
    const Fields fields = fieldsOf(OLP_Color_Profile_Linux(bytes));
    QCOMPARE(fields.opened, opens);
    QCOMPARE(fields.description, description);
    QVERIFY(fromFile(bytes) == fields);
    QCOMPARE(bool(createProfileFromBytes(bytes)), opens);
}

// Seeded random damage to whole profiles, each read from bytes and from a
// file: both ways give the same answers. Every 25th profile that opens as RGB
// is also used for a transform (building one costs about a millisecond).
void tst_ProfileParsing::mutatedProfiles()
{
    QRandomGenerator random(0x0C01D);
    const auto srgb = createDefaultMonitorProfile();
    QVERIFY(srgb);
    const quint32 interesting[] = {0, 1, 0x7F, 0x80, 0xFF, 0xFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFFFFF5, 0xFFFFFFFF};
    int opened = 0;
    int described = 0;
    for (int i = 0; i < Mutations; ++i) {
        QByteArray bytes = i % 2 ? m_v2 : m_v4;
        const int entry = descEntry(bytes);
        const int descOffset = int(qFromBigEndian<quint32>(bytes.constData() + entry + 4));
        // Places where a lie does the most harm: the header's size, the tag
        // table and the description's own counts and offsets.
        const int structural[] = {
            0, 128, entry + 4, entry + 8, descOffset + 8, descOffset + 12, descOffset + 20, descOffset + 24};
        const int changes = 1 + int(random.bounded(4));
        for (int c = 0; c < changes; ++c) {
            switch (random.bounded(4)) {
                case 0:
                    bytes[int(random.bounded(bytes.size()))] = char(random.bounded(256));
                    break;
                case 1: {
                    const int offset = structural[random.bounded(int(std::size(structural)))];
                    if (offset + 4 <= bytes.size()) {
                        qToBigEndian(interesting[random.bounded(int(std::size(interesting)))], bytes.data() + offset);
                    }
                    break;
                }
                case 2: {
                    if (bytes.size() >= 4) {
                        const int offset = int(random.bounded(bytes.size() / 4)) * 4;
                        qToBigEndian(random.generate(), bytes.data() + offset);
                    }
                    break;
                }
                default:
                    bytes.truncate(int(random.bounded(bytes.size() + 1)));
                    break;
            }
            if (bytes.isEmpty()) {
                break;
            }
        }
        const OLP_Color_Profile_Linux profile(bytes);
        const Fields fields = fieldsOf(profile);
        const Fields filed = fromFile(bytes);
        if (!(filed == fields)) {
            QFAIL(qPrintable(QStringLiteral("bytes and file disagree for mutation %1").arg(i)));
        }
        QVERIFY(fields.description.size() <= bytes.size());
        opened += fields.opened;
        described += !fields.description.isEmpty();
        if (fields.opened && fields.space == OLP_Color_ProfileIF::SignatureRgb && i % 25 == 0) {
            if (const auto world = createWorld(profile, *srgb, 0)) {
                std::unique_ptr<uchar[]> pixels(new uchar[16 * 4]);
                std::fill(pixels.get(), pixels.get() + 64, uchar(i));
                QVERIFY(world->translateBitmap(pixels.get(), pixels.get(), 16, 1, 64));
            }
        }
    }
    // The damage was neither always fatal nor always harmless.
    QVERIFY2(opened > Mutations / 10 && opened < Mutations, qPrintable(QString::number(opened)));
    QVERIFY2(described > Mutations / 10 && described < opened, qPrintable(QString::number(described)));
}

// Seeded random damage to description tags, parsed on exact-size allocations.
void tst_ProfileParsing::mutatedTags()
{
    QRandomGenerator random(0x7A65);
    const QByteArray bases[] = {descTag(21, QByteArray("Camera working space", 21)),
                                mlucTag(1, 44, 28, be16Text(QStringLiteral("Kamera-Arbeitsfarbraum")))};
    int described = 0;
    for (int i = 0; i < Mutations; ++i) {
        QByteArray tag = bases[i % 2];
        const int changes = 1 + int(random.bounded(4));
        for (int c = 0; c < changes && !tag.isEmpty(); ++c) {
            const int kind = int(random.bounded(3));
            if (kind == 0) {
                tag[int(random.bounded(tag.size()))] = char(random.bounded(256));
            } else if (kind == 1 && tag.size() >= 28) {
                const int fields[] = {8, 12, 20, 24};
                qToBigEndian(random.bounded(2) ? random.generate() : quint32(random.bounded(64)),
                             tag.data() + fields[random.bounded(4)]);
            } else {
                tag.truncate(int(random.bounded(tag.size() + 1)));
            }
        }
        const QString text = parseExact(tag);
        QVERIFY(text.size() <= qMax(0, tag.size() - 12));
        described += !text.isEmpty();
    }
    QVERIFY2(described > Mutations / 10 && described < Mutations, qPrintable(QString::number(described)));
}

QTEST_MAIN(tst_ProfileParsing)
#include "tst_ProfileParsing.moc"
