#include <lcms2.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "OLP_Color_Factory.h"
#include "OLP_Color_Match.h"
#include "OLP_Color_Monitor.h"
#include "OLP_Color_Profile_Linux.h"
#include "OLP_Test_Support.h"

namespace {

// An independent reference: colour spaces from their chromaticities, in
// doubles, with no colour library involved.
using Vec3 = std::array<double, 3>;
using Mat3 = std::array<Vec3, 3>;

Vec3 mul(const Mat3& m, const Vec3& v)
{
    return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2], m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
            m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

Mat3 inverse(const Mat3& m)
{
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    Mat3 r;
    r[0] = {(m[1][1] * m[2][2] - m[1][2] * m[2][1]) / det, (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det,
            (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det};
    r[1] = {(m[1][2] * m[2][0] - m[1][0] * m[2][2]) / det, (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det,
            (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det};
    r[2] = {(m[1][0] * m[2][1] - m[1][1] * m[2][0]) / det, (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det,
            (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det};
    return r;
}

// RGB to XYZ (D65) for primaries r, g, b given as xy.
Mat3 rgbToXyz(const double (&xy)[3][2])
{
    const double wx = 0.3127, wy = 0.3290;
    Mat3 p;
    for (int c = 0; c < 3; ++c) {
        p[0][c] = xy[c][0] / xy[c][1];
        p[1][c] = 1.0;
        p[2][c] = (1.0 - xy[c][0] - xy[c][1]) / xy[c][1];
    }
    const Vec3 s = mul(inverse(p), {wx / wy, 1.0, (1.0 - wx - wy) / wy});
    for (auto& row : p) {
        for (int c = 0; c < 3; ++c) {
            row[c] *= s[c];
        }
    }
    return p;
}

const double AdobePrimaries[3][2] = {{0.64, 0.33}, {0.21, 0.71}, {0.15, 0.06}};
const double SrgbPrimaries[3][2] = {{0.64, 0.33}, {0.30, 0.60}, {0.15, 0.06}};
const double AdobeGamma = 563.0 / 256.0;

double srgbEncode(double v)
{
    return v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1.0 / 2.4) - 0.055;
}

double srgbDecode(double v)
{
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

QRgb reference(QRgb in, bool adobeToSrgb)
{
    const Mat3 adobe = rgbToXyz(AdobePrimaries);
    const Mat3 srgb = rgbToXyz(SrgbPrimaries);
    const Vec3 v = {qRed(in) / 255.0, qGreen(in) / 255.0, qBlue(in) / 255.0};
    Vec3 linear;
    for (int c = 0; c < 3; ++c) {
        linear[c] = adobeToSrgb ? std::pow(v[c], AdobeGamma) : srgbDecode(v[c]);
    }
    const Vec3 out = adobeToSrgb ? mul(inverse(srgb), mul(adobe, linear)) : mul(inverse(adobe), mul(srgb, linear));
    int level[3];
    for (int c = 0; c < 3; ++c) {
        const double clipped = qBound(0.0, out[c], 1.0);
        level[c] = int(std::lround(255.0 * (adobeToSrgb ? srgbEncode(clipped) : std::pow(clipped, 1.0 / AdobeGamma))));
    }
    return qRgb(level[0], level[1], level[2]);
}

bool near(QRgb a, QRgb b, int tolerance)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance &&
           qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

QByteArray saveProfile(cmsHPROFILE profile)
{
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    QByteArray bytes(int(size), '\0');
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

QByteArray grayProfile()
{
    cmsToneCurve* curve = cmsBuildGamma(nullptr, 2.2);
    cmsHPROFILE profile = cmsCreateGrayProfile(cmsD50_xyY(), curve);
    cmsFreeToneCurve(curve);
    return saveProfile(profile);
}

QByteArray labProfile()
{
    return saveProfile(cmsCreateLab4Profile(nullptr));
}

// An sRGB profile of the given version with the given description.
QByteArray describedProfile(double version, const QString& text)
{
    cmsHPROFILE profile = cmsCreate_sRGBProfile();
    cmsSetProfileVersion(profile, version);
    cmsMLU* mlu = cmsMLUalloc(nullptr, 1);
    cmsMLUsetWide(mlu, "en", "US", text.toStdWString().c_str());
    cmsWriteTag(profile, cmsSigProfileDescriptionTag, mlu);
    cmsMLUfree(mlu);
    return saveProfile(profile);
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        return QString();
    }
    return path;
}

QImage filled(QImage::Format format, QRgb colour, int width = 4, int height = 3)
{
    QImage image(width, height, format);
    image.fill(colour);
    return image;
}

}  // namespace

class tst_ColorMatch : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void transforms_data();
    void transforms();
    void formats_data();
    void formats();
    void grayDestinationLeavesImage();
    void agreesWithLittleCmsEverywhere_data();
    void agreesWithLittleCmsEverywhere();
    void largePicturesInBands_data();
    void largePicturesInBands();
    void pixelConversionsRefused_data();
    void pixelConversionsRefused();
    void transformReusedUntilChange();
    void unopenableProfileKeepsMatch();
    void profileFields_data();
    void profileFields();
    void descriptions_data();
    void descriptions();
    void copies();
    void colorDirectory_data();
    void colorDirectory();
    void workingSpaceWrittenOnce();
    void monitorWithoutX();

private:
    // The working space to sRGB, or the other way round.
    bool setProfiles(OLP_Color_Match* match, bool fromAdobe) const
    {
        const auto srgb = createDefaultMonitorProfile();
        if (!srgb) {
            return false;
        }
        if (fromAdobe) {
            match->setSourceProfile(m_adobePath);
            match->setDestinationProfile(*srgb);
        } else {
            match->setSourceProfile(*srgb);
            match->setDestinationProfile(m_adobePath);
        }
        return true;
    }

    QTemporaryDir m_dir;
    QTemporaryDir m_systemData;
    QString m_adobePath;
};

void tst_ColorMatch::initTestCase()
{
    // The system's ICC folders are replaced by an empty one of the test's.
    qputenv("XDG_DATA_DIRS", m_systemData.path().toLocal8Bit());
    olpTestInit();
    QVERIFY(m_dir.isValid());
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
    m_adobePath = defaultSourceProfilePath();
    QVERIFY(QFileInfo(m_adobePath).isFile());
}

// The working space to sRGB agrees with a computation in doubles, and with the
// values other colour tools give, to one level.
void tst_ColorMatch::transforms_data()
{
    QTest::addColumn<bool>("fromAdobe");
    QTest::addColumn<QRgb>("in");
    QTest::addColumn<QRgb>("expected");
    QTest::newRow("brown") << true << qRgb(128, 64, 32) << qRgb(146, 62, 23);
    QTest::newRow("skin") << true << qRgb(200, 150, 100) << qRgb(217, 151, 97);
    QTest::newRow("blue, red clipped") << true << qRgb(50, 100, 150) << qRgb(0, 100, 153);
    QTest::newRow("grey") << true << qRgb(128, 128, 128) << qRgb(129, 129, 129);
    QTest::newRow("white") << true << qRgb(255, 255, 255) << qRgb(255, 255, 255);
    QTest::newRow("black") << true << qRgb(0, 0, 0) << qRgb(0, 0, 0);
    QTest::newRow("sRGB red to working space") << false << qRgb(255, 0, 0) << qRgb(219, 0, 0);
}

void tst_ColorMatch::transforms()
{
    QFETCH(bool, fromAdobe);
    QFETCH(QRgb, in);
    QFETCH(QRgb, expected);
    const QRgb computed = reference(in, fromAdobe);
    QVERIFY2(near(computed, expected, 1), qPrintable(QString::number(computed, 16)));

    OLP_Color_Match match;
    QVERIFY(setProfiles(&match, fromAdobe));
    QImage image = filled(QImage::Format_RGB32, in);
    QVERIFY(match.matchImage(image));
    const QRgb out = image.pixel(3, 2);
    QVERIFY2(near(out, computed, 1),
             qPrintable(QStringLiteral("%1 %2 %3").arg(qRed(out)).arg(qGreen(out)).arg(qBlue(out))));
    QCOMPARE(qAlpha(out), 255);
}

// Only the B, G, R, x byte orders are matched, and the fourth byte comes from
// the source, not from what the destination held.
void tst_ColorMatch::formats_data()
{
    QTest::addColumn<QImage>("src");
    QTest::addColumn<QImage>("dst");
    QTest::addColumn<bool>("matched");
    const QRgb brown = qRgba(128, 64, 32, 255);
    const QRgb seeThrough = qRgba(128, 64, 32, 0x80);
    QTest::newRow("RGB32") << filled(QImage::Format_RGB32, brown) << filled(QImage::Format_RGB32, 0) << true;
    QTest::newRow("ARGB32 alpha from source")
        << filled(QImage::Format_ARGB32, seeThrough) << filled(QImage::Format_ARGB32, qRgba(1, 2, 3, 0x11)) << true;
    QTest::newRow("premultiplied") << filled(QImage::Format_ARGB32_Premultiplied, brown)
                                   << filled(QImage::Format_ARGB32_Premultiplied, 0) << true;
    QTest::newRow("RGBA8888 would swap red and blue")
        << filled(QImage::Format_RGBA8888, brown) << filled(QImage::Format_RGBA8888, 0) << false;
    QTest::newRow("24 bit") << filled(QImage::Format_RGB888, brown) << filled(QImage::Format_RGB888, 0) << false;
    QTest::newRow("other size") << filled(QImage::Format_RGB32, brown) << filled(QImage::Format_RGB32, 0, 5, 3)
                                << false;
    QTest::newRow("other format") << filled(QImage::Format_RGB32, brown) << filled(QImage::Format_ARGB32, 0) << false;
    QTest::newRow("null") << QImage() << QImage() << false;
}

void tst_ColorMatch::formats()
{
    QFETCH(QImage, src);
    QFETCH(QImage, dst);
    QFETCH(bool, matched);
    OLP_Color_Match match;
    match.setSourceProfile(m_adobePath);
    match.setDestinationProfile(*createDefaultMonitorProfile());
    const QImage before = dst.copy();
    QCOMPARE(match.matchImage(src, dst), matched);
    if (!matched) {
        QCOMPARE(dst, before);
        return;
    }
    const QRgb in = src.pixel(0, 0);
    const QRgb out = dst.pixel(0, 0);
    QCOMPARE(qAlpha(out), qAlpha(in));
    if (qAlpha(in) == 255) {
        QVERIFY(near(out, qRgb(146, 62, 23), 1));
    }
}

// Every 4th code on each axis comes out within one level of Little CMS's own
// transform with the same profiles, intent and flags, whichever path the match
// takes (catches a wrong matrix, curve or table in the faster path for two
// matrix/shaper profiles).
void tst_ColorMatch::agreesWithLittleCmsEverywhere_data()
{
    QTest::addColumn<bool>("fromAdobe");
    QTest::addColumn<int>("intent");
    QTest::newRow("working space to sRGB, perceptual") << true << int(OLP_Color_WorldIF::eIntentPerceptual);
    QTest::newRow("working space to sRGB, relative") << true << int(OLP_Color_WorldIF::eIntentRelativeColorimetric);
    QTest::newRow("working space to sRGB, absolute") << true << int(OLP_Color_WorldIF::eIntentAbsoluteColorimetric);
    QTest::newRow("sRGB to working space, perceptual") << false << int(OLP_Color_WorldIF::eIntentPerceptual);
}

void tst_ColorMatch::agreesWithLittleCmsEverywhere()
{
    QFETCH(bool, fromAdobe);
    QFETCH(int, intent);
    QImage src(64 * 64, 64, QImage::Format_ARGB32);
    for (int r = 0; r < 64; ++r) {
        QRgb* line = reinterpret_cast<QRgb*>(src.scanLine(r));
        for (int g = 0; g < 64; ++g) {
            for (int b = 0; b < 64; ++b) {
                line[g * 64 + b] = qRgba(r * 4 + r / 16, g * 4 + g / 16, b * 4 + b / 16, (r + g + b) & 0xFF);
            }
        }
    }
    OLP_Color_Match match;
    match.setIntent(intent);
    QVERIFY(setProfiles(&match, fromAdobe));
    QImage ours(src.size(), src.format());
    QVERIFY(match.matchImage(src, ours));

    cmsHPROFILE adobe = cmsOpenProfileFromFile(QFile::encodeName(m_adobePath).constData(), "r");
    cmsHPROFILE standard = cmsCreate_sRGBProfile();
    QVERIFY(adobe && standard);
    cmsHTRANSFORM transform = cmsCreateTransform(
        fromAdobe ? adobe : standard, TYPE_BGRA_8, fromAdobe ? standard : adobe, TYPE_BGRA_8,
        cmsUInt32Number(OLP_Color_WorldIF::libraryIntent(intent)), cmsFLAGS_COPY_ALPHA | cmsFLAGS_NOCACHE);
    QVERIFY(transform);
    QImage expected(src.size(), src.format());
    for (int y = 0; y < src.height(); ++y) {
        cmsDoTransform(transform, src.constScanLine(y), expected.scanLine(y), cmsUInt32Number(src.width()));
    }
    cmsDeleteTransform(transform);
    cmsCloseProfile(adobe);
    cmsCloseProfile(standard);

    int worst = 0;
    QRgb worstIn = 0;
    for (int y = 0; y < src.height(); ++y) {
        for (int x = 0; x < src.width(); ++x) {
            const QRgb a = ours.pixel(x, y);
            const QRgb b = expected.pixel(x, y);
            const int d = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                    std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
            if (d > worst) {
                worst = d;
                worstIn = src.pixel(x, y);
            }
        }
    }
    QVERIFY2(worst <= 1, qPrintable(QStringLiteral("%1 levels apart at %2").arg(worst).arg(worstIn, 8, 16)));
}

// A picture large enough to be translated in bands of rows comes out exactly
// as row by row (catches rows left out or done twice at a band's edge, and a
// source read after its band was written), in place and into another image.
void tst_ColorMatch::largePicturesInBands_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("inPlace");
    QTest::newRow("1920x1080, in place") << QSize(1920, 1080) << true;
    QTest::newRow("1920x1080, into another image") << QSize(1920, 1080) << false;
    QTest::newRow("1024x513, rows not divisible") << QSize(1024, 513) << true;
    QTest::newRow("600000x1, one row") << QSize(600000, 1) << false;
}

void tst_ColorMatch::largePicturesInBands()
{
    QFETCH(QSize, size);
    QFETCH(bool, inPlace);
    QImage src(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(src.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            line[x] = qRgb((x * 7 + y) & 0xFF, (y * 3) & 0xFF, (x ^ y) & 0xFF);
        }
    }
    OLP_Color_Match match;
    match.setSourceProfile(m_adobePath);
    match.setDestinationProfile(*createDefaultMonitorProfile());

    // Row by row: each row alone is far below the size that is split.
    QImage expected = src.copy();
    for (int y = 0; y < size.height(); ++y) {
        QImage row = expected.copy(0, y, size.width(), 1);
        QVERIFY(match.matchImage(row));
        memcpy(expected.scanLine(y), row.constScanLine(0), size_t(size.width()) * 4);
    }
    QVERIFY(expected != src);

    QImage out = inPlace ? src.copy() : QImage(size, QImage::Format_RGB32);
    if (!inPlace) {
        out.fill(Qt::black);
    }
    QVERIFY(match.matchImage(inPlace ? out : src, out));
    QCOMPARE(out, expected);
}

void tst_ColorMatch::grayDestinationLeavesImage()
{
    OLP_Color_Match match;
    match.setSourceProfile(m_adobePath);
    match.setDestinationProfile(writeFile(m_dir.filePath("gray.icc"), grayProfile()));
    QCOMPARE(match.destinationColorSpace(), OLP_Color_ProfileIF::SignatureGray);
    const QImage src = filled(QImage::Format_RGB32, qRgb(128, 64, 32));
    QImage dst = filled(QImage::Format_RGB32, qRgb(9, 9, 9));
    QVERIFY(!match.matchImage(src, dst));
    QCOMPARE(dst, filled(QImage::Format_RGB32, qRgb(9, 9, 9)));
}

// Pixel conversions are not provided, whatever the profiles.
void tst_ColorMatch::pixelConversionsRefused_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("destination");
    QTest::addColumn<int>("conversion");
    const QByteArray srgb = describedProfile(4.3, QStringLiteral("sRGB"));
    QTest::newRow("RGB to RGB") << srgb << srgb << 0;
    QTest::newRow("RGB to RGB in place") << srgb << srgb << 1;
    QTest::newRow("RGB to Lab") << srgb << labProfile() << 2;
    QTest::newRow("Lab to RGB") << labProfile() << srgb << 3;
}

void tst_ColorMatch::pixelConversionsRefused()
{
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, destination);
    QFETCH(int, conversion);
    OLP_Color_Match match;
    match.setSourceProfile(*createProfileFromBytes(source));
    match.setDestinationProfile(*createProfileFromBytes(destination));
    quint8 rgb[6] = {1, 2, 3, 4, 5, 6};
    quint8 out[6] = {};
    double lab[6] = {50, 0, 0, 60, 10, 10};
    const bool converted = conversion == 0   ? match.convertRgb(rgb, out, 2)
                           : conversion == 1 ? match.convertRgb(rgb, 2)
                           : conversion == 2 ? match.convertRgbToLab(rgb, lab, 2)
                                             : match.convertLabToRgb(lab, out, 2);
    QVERIFY(!converted);
}

// The transform is built once: a second match works after the profile file
// is gone, and only a change (here the intent) makes it rebuild, which then
// fails for want of the file.
void tst_ColorMatch::transformReusedUntilChange()
{
    const QString path = m_dir.filePath("working.icc");
    QVERIFY(QFile::copy(m_adobePath, path));
    OLP_Color_Match match;
    match.setSourceProfile(path);
    match.setDestinationProfile(*createDefaultMonitorProfile());
    QImage image = filled(QImage::Format_RGB32, qRgb(128, 64, 32));
    QVERIFY(match.matchImage(image));
    QVERIFY(QFile::remove(path));
    QVERIFY(!match.sourceProfile()->isValid());
    image = filled(QImage::Format_RGB32, qRgb(128, 64, 32));
    QVERIFY(match.matchImage(image));
    QVERIFY(near(image.pixel(0, 0), qRgb(146, 62, 23), 1));
    match.setIntent(OLP_Color_WorldIF::eIntentRelativeColorimetric);
    QVERIFY(!match.matchImage(image));
    match.setSourceProfile(m_adobePath);
    QVERIFY(match.matchImage(image));
}

void tst_ColorMatch::unopenableProfileKeepsMatch()
{
    OLP_Color_Match match;
    match.setSourceProfile(m_adobePath);
    match.setDestinationProfile(*createDefaultMonitorProfile());
    match.setDestinationProfile(m_dir.filePath("missing.icc"));
    match.setDestinationProfile(writeFile(m_dir.filePath("junk.icc"), QByteArray(500, 'x')));
    QCOMPARE(match.destinationProfile()->description(), QStringLiteral("sRGB built-in"));
    QImage image = filled(QImage::Format_RGB32, qRgb(128, 64, 32));
    QVERIFY(match.matchImage(image));
    QVERIFY(near(image.pixel(0, 0), qRgb(146, 62, 23), 1));
}

void tst_ColorMatch::profileFields_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<quint32>("space");
    QTest::addColumn<quint32>("pcs");
    QTest::addColumn<quint32>("deviceClass");
    QTest::addColumn<QString>("description");
    const quint32 none = OLP_Color_ProfileIF::SignatureUnknown;
    const quint32 rgb = OLP_Color_ProfileIF::SignatureRgb;
    const quint32 xyz = OLP_Color_ProfileIF::SignatureXyz;
    const quint32 lab = OLP_Color_ProfileIF::SignatureLab;
    const quint32 mntr = OLP_Color_ProfileIF::SignatureMonitor;
    QTest::newRow("working space file") << m_adobePath << QByteArray() << true << rgb << xyz << mntr
                                        << "Adobe RGB (1998)";
    QTest::newRow("sRGB bytes") << QString() << describedProfile(4.3, QStringLiteral("sRGB")) << true << rgb << xyz
                                << mntr << "sRGB";
    QTest::newRow("grey") << QString() << grayProfile() << true << OLP_Color_ProfileIF::SignatureGray << xyz << mntr
                          << "";
    QTest::newRow("Lab abstract") << QString() << labProfile() << true << lab << lab << quint32(0x61627374) << "";
    QTest::newRow("missing file") << m_dir.filePath("none.icc") << QByteArray() << false << none << none << none << "";
    QTest::newRow("folder") << m_dir.path() << QByteArray() << false << none << none << none << "";
    QTest::newRow("empty bytes") << QString() << QByteArray() << false << none << none << none << "";
    QTest::newRow("no profile") << QString() << QByteArray(300, '\0') << false << none << none << none << "";
}

void tst_ColorMatch::profileFields()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QFETCH(quint32, space);
    QFETCH(quint32, pcs);
    QFETCH(quint32, deviceClass);
    QFETCH(QString, description);
    const auto profile = path.isEmpty() ? std::make_unique<OLP_Color_Profile_Linux>(bytes)
                                        : std::make_unique<OLP_Color_Profile_Linux>(path);
    QCOMPARE(profile->isValid(), valid);
    QCOMPARE(profile->colorSpace(), space);
    QCOMPARE(profile->connectionSpace(), pcs);
    QCOMPARE(profile->deviceClass(), deviceClass);
    if (!description.isEmpty()) {
        QCOMPARE(profile->description(), description);
    }
    QCOMPARE(bool(path.isEmpty() ? createProfileFromBytes(bytes) : createProfile(path)), valid);
}

// Version 2 ('desc') and version 4 ('mluc') descriptions read by our parser
// say what Little CMS itself reads.
void tst_ColorMatch::descriptions_data()
{
    QTest::addColumn<double>("version");
    QTest::addColumn<QString>("text");
    QTest::newRow("v2") << 2.1 << QStringLiteral("Studio monitor 2");
    QTest::newRow("v2 one letter") << 2.1 << QStringLiteral("A");
    QTest::newRow("v4") << 4.3 << QStringLiteral("Studio monitor 4");
    QTest::newRow("v4 beyond ASCII") << 4.3 << QString::fromUtf8("Bildschirm Grün \u2713 \u65E5\u672C");
}

void tst_ColorMatch::descriptions()
{
    QFETCH(double, version);
    QFETCH(QString, text);
    const QByteArray bytes = describedProfile(version, text);
    cmsHPROFILE reference = cmsOpenProfileFromMem(bytes.constData(), cmsUInt32Number(bytes.size()));
    QVERIFY(reference);
    wchar_t buffer[256] = {};
    cmsGetProfileInfo(reference, cmsInfoDescription, "en", "US", buffer, 256);
    cmsCloseProfile(reference);
    const QString expected = QString::fromWCharArray(buffer);
    QVERIFY(!expected.isEmpty());

    QCOMPARE(createProfileFromBytes(bytes)->description(), expected);
    const QString path =
        writeFile(m_dir.filePath(QStringLiteral("described-%1.icc").arg(QTest::currentDataTag())), bytes);
    QCOMPARE(createProfile(path)->description(), expected);
}

void tst_ColorMatch::copies()
{
    const auto fromFile = createProfile(m_adobePath);
    const auto fromBytes = createDefaultMonitorProfile();
    QVERIFY(fromFile && fromBytes);
    const auto fileCopy = createProfile(*fromFile);
    const auto bytesCopy = createProfile(*fromBytes);
    QVERIFY(fileCopy && bytesCopy);
    QCOMPARE(static_cast<OLP_Color_Profile_Linux*>(fileCopy.get())->path(), m_adobePath);
    QCOMPARE(bytesCopy->description(), fromBytes->description());
    QVERIFY(static_cast<OLP_Color_Profile_Linux*>(fileCopy.get())->handle() !=
            static_cast<OLP_Color_Profile_Linux*>(fromFile.get())->handle());
    QVERIFY(!createProfile(OLP_Color_Profile_Linux()));
}

// The system's working-space profile is used where it is; otherwise the
// application's own folder.
void tst_ColorMatch::colorDirectory_data()
{
    QTest::addColumn<QStringList>("systemFolders");
    QTest::addColumn<QString>("expected");
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/icc/";
    const QString system = m_systemData.path();
    QTest::newRow("none") << QStringList() << own;
    QTest::newRow("colord folder") << QStringList{"color/icc/colord"} << system + "/color/icc/colord/";
    QTest::newRow("icc folder first") << QStringList{"color/icc/colord", "color/icc"} << system + "/color/icc/";
}

void tst_ColorMatch::colorDirectory()
{
    QFETCH(QStringList, systemFolders);
    QFETCH(QString, expected);
    QDir(m_systemData.path()).removeRecursively();
    for (const QString& folder : systemFolders) {
        QVERIFY(QDir(m_systemData.path()).mkpath(folder));
        QVERIFY(QFile::copy(m_adobePath, m_systemData.filePath(folder + "/AdobeRGB1998.icc")));
    }
    QCOMPARE(::colorDirectory(), expected);
    QCOMPARE(defaultSourceProfilePath(), expected + "AdobeRGB1998.icc");
    QDir(m_systemData.path()).removeRecursively();
}

// Written when missing or damaged, else left alone.
void tst_ColorMatch::workingSpaceWrittenOnce()
{
    const QDateTime old = QDateTime::currentDateTime().addYears(-3);
    QFile file(m_adobePath);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(old, QFileDevice::FileModificationTime));
    file.close();
    QCOMPARE(defaultSourceProfilePath(), m_adobePath);
    QCOMPARE(QFileInfo(m_adobePath).lastModified(), old);

    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("damaged");
    file.close();
    QCOMPARE(defaultSourceProfilePath(), m_adobePath);
    QCOMPARE(createProfile(m_adobePath)->description(), QStringLiteral("Adobe RGB (1998)"));
}

void tst_ColorMatch::monitorWithoutX()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    QCOMPARE(monitorProfilePath(0), QString());
    QCOMPARE(monitorProfilePath(-1), QString());
    QVERIFY(!createMonitorProfile(QGuiApplication::primaryScreen()->geometry().center()));
}

QTEST_MAIN(tst_ColorMatch)
#include "tst_ColorMatch.moc"
