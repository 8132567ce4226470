#include "OLP_Commu_EmuCapture.h"

#include <QBuffer>
#include <QDateTime>
#include <QImage>
#include <QImageWriter>
#include <algorithm>
#include <initializer_list>

#include "OLP_Commu_EmuDataset.h"
#include "OLP_Commu_EmuSettingsStruct.h"
#include "OLP_Commu_EmuWire.h"

namespace {

constexpr quint16 TypeByte = 1;
constexpr quint16 TypeAscii = 2;
constexpr quint16 TypeShort = 3;
constexpr quint16 TypeLong = 4;

constexpr int ThumbWidth = 160;
constexpr int ThumbHeight = 120;
constexpr int PreviewWidth = 640;
constexpr int PreviewHeight = 480;
constexpr quint32 RawWidth = 256;  // pixels of 16 bits per raw row
constexpr quint64 MinRawRows = 16;
constexpr quint32 HandleBase = 0x20000000;
// Anything that is neither a JPG nor a DNG.
constexpr quint16 FormatUndefined = 0x3000;

// Builds TIFF structures (the DNG itself, the Exif block of a JPG) in either
// byte order. Values of up to four bytes sit in the entry; longer ones follow
// the entry table, each at an even offset.
class TiffWriter
{
public:
    struct Entry
    {
        quint16 tag;
        quint16 type;
        quint32 count;
        QByteArray value;
    };

    explicit TiffWriter(bool bigEndian) : m_bigEndian(bigEndian) {}

    QByteArray u16(quint16 v) const
    {
        QByteArray b(2, '\0');
        b[m_bigEndian ? 0 : 1] = static_cast<char>(v >> 8);
        b[m_bigEndian ? 1 : 0] = static_cast<char>(v & 0xFF);
        return b;
    }

    QByteArray u32(quint32 v) const
    {
        return m_bigEndian ? u16(quint16(v >> 16)) + u16(quint16(v & 0xFFFF))
                           : u16(quint16(v & 0xFFFF)) + u16(quint16(v >> 16));
    }

    QByteArray header() const { return (m_bigEndian ? QByteArray("MM\0*", 4) : QByteArray("II*\0", 4)) + u32(8); }

    Entry shorts(quint16 tag, std::initializer_list<quint16> values) const
    {
        Entry e{tag, TypeShort, quint32(values.size()), QByteArray()};
        for (quint16 v : values) {
            e.value += u16(v);
        }
        return e;
    }

    Entry longs(quint16 tag, std::initializer_list<quint32> values) const
    {
        Entry e{tag, TypeLong, quint32(values.size()), QByteArray()};
        for (quint32 v : values) {
            e.value += u32(v);
        }
        return e;
    }

    static Entry ascii(quint16 tag, const QByteArray& text)
    {
        return Entry{tag, TypeAscii, quint32(text.size() + 1), text + '\0'};
    }

    static Entry bytes(quint16 tag, const QByteArray& values)
    {
        return Entry{tag, TypeByte, quint32(values.size()), values};
    }

    static quint32 sizeOf(const QVector<Entry>& entries)
    {
        quint32 size = 2 + 12 * quint32(entries.size()) + 4;
        for (const Entry& e : entries) {
            if (e.value.size() > 4) {
                size += quint32(e.value.size() + (e.value.size() & 1));
            }
        }
        return size;
    }

    // The directory placed at offset (from the start of the TIFF structure).
    QByteArray directory(const QVector<Entry>& entries, quint32 offset, quint32 next) const
    {
        QByteArray table = u16(quint16(entries.size()));
        QByteArray values;
        const quint32 valuesStart = offset + 2 + 12 * quint32(entries.size()) + 4;
        for (const Entry& e : entries) {
            table += u16(e.tag) + u16(e.type) + u32(e.count);
            if (e.value.size() <= 4) {
                table += e.value.leftJustified(4, '\0');
            } else {
                table += u32(valuesStart + quint32(values.size()));
                values += e.value;
                if (values.size() & 1) {
                    values += '\0';
                }
            }
        }
        return table + u32(next) + values;
    }

private:
    const bool m_bigEndian;
};

// Pixels that differ from picture to picture (shade) and across the picture.
QByteArray rgbPixels(int width, int height, int shade)
{
    QByteArray pixels;
    pixels.reserve(width * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels += static_cast<char>((x * 255) / std::max(1, width - 1));
            pixels += static_cast<char>((y * 255) / std::max(1, height - 1));
            pixels += static_cast<char>((shade * 37) & 0xFF);
        }
    }
    return pixels;
}

qint64 propertyValue(const OLP_Commu_EmuProfile& profile, quint16 code, qint64 absent)
{
    for (const OLP_Commu_EmuProfile::Property& p : profile.properties) {
        if (p.code == code) {
            return p.current;
        }
    }
    return absent;
}

quint8 settingsByte(const OLP_Commu_EmuProfile& profile, int offset)
{
    return offset < profile.settings.size() ? static_cast<quint8>(profile.settings.at(offset)) : 0;
}

}  // namespace

// ---- options --------------------------------------------------------------------------------------

OLP_Commu_EmuCapture::Options OLP_Commu_EmuCapture::Options::forProduct(quint16 productId)
{
    Options o;
    // The newer models tell the orientation as an object property.
    o.orientationProperty = productId == EmuWire::ProductPelvo || productId == EmuWire::ProductSeventh;
    // Pelvo writes the JPG of a pair first, the others the DNG.
    o.dngFirst = productId != EmuWire::ProductPelvo;
    return o;
}

OLP_Commu_EmuCapture::OLP_Commu_EmuCapture(quint16 productId, const QString& model)
    : m_model(model), m_options(Options::forProduct(productId))
{}

// ---- what a release does --------------------------------------------------------------------------

OLP_Commu_EmuCapture::eFiles OLP_Commu_EmuCapture::filesOf(const OLP_Commu_EmuProfile& profile)
{
    if (profile.hasSettingsStructure) {
        switch (settingsByte(profile, OLP_Commu_EmuSettingsStruct::FileFormat)) {
            case 1:
            case 2:
                return DngAndJpg;
            case 3:
            case 4:
                return JpgOnly;
            default:
                return DngOnly;
        }
    }
    switch (propertyValue(profile, 0xD004, 0)) {
        case 1:
            return DngAndJpg;
        case 2:
            return JpgOnly;
        default:
            return DngOnly;
    }
}

int OLP_Commu_EmuCapture::bracketShotsOf(const OLP_Commu_EmuProfile& profile)
{
    if (profile.hasSettingsStructure) {
        switch (settingsByte(profile, OLP_Commu_EmuSettingsStruct::Bracketing)) {
            case 1:
                return 3;
            case 2:
                return 5;
            default:
                return 1;
        }
    }
    // Pelvo brackets in a drive mode of its own, the others with a property.
    const bool bracketing = profile.productId == EmuWire::ProductPelvo ? propertyValue(profile, 0x5013, 0) == 8
                                                                       : propertyValue(profile, 0xD005, 0) != 0;
    if (!bracketing) {
        return 1;
    }
    return propertyValue(profile, 0xD006, 3) == 5 ? 5 : 3;
}

int OLP_Commu_EmuCapture::shotsForRelease(quint16 code, const QVector<quint32>& params, int bracketShots,
                                          int continuousShots)
{
    switch (code) {
        case EmuWire::Release:
            switch (params.value(0)) {
                case 0:  // single release
                    return bracketShots;
                case 8:  // bulb closed
                    return 1;
                case 12:  // continuous shooting
                    return continuousShots;
                default:
                    return 0;
            }
        case EmuWire::InitiateCapture:
            return bracketShots;
        case EmuWire::BulbExposure:
            return params.value(0) == 1 ? 1 : 0;
        case EmuWire::ContinuousExposure:
            return params.value(0) == 0 ? continuousShots : 0;
        default:
            return 0;
    }
}

// ---- taking pictures ------------------------------------------------------------------------------

QList<OLP_Commu_EmuCapture::Picture> OLP_Commu_EmuCapture::shoot(int shots, eFiles files)
{
    QList<Picture> taken;
    const int perShot = files == DngAndJpg ? 2 : 1;
    const quint32 total = quint32(std::max(shots, 0) * perShot);
    quint32 index = 0;
    for (int shot = 0; shot < shots; ++shot) {
        const QString base = QStringLiteral("L%1").arg(m_nextFileNumber++);
        const int shade = int(m_nextFileNumber % 7);
        QVector<bool> order;
        switch (files) {
            case DngOnly:
                order = {true};
                break;
            case JpgOnly:
                order = {false};
                break;
            case DngAndJpg:
                order = m_options.dngFirst ? QVector<bool>{true, false} : QVector<bool>{false, true};
                break;
        }
        for (bool dng : order) {
            Picture picture = makePicture(dng, base, shade);
            picture.sequenceNumber = total - index++;
            add(picture);
            taken.append(picture);
        }
    }
    return taken;
}

OLP_Commu_EmuCapture::Picture OLP_Commu_EmuCapture::announce(const QString& fileName, const QByteArray& bytes,
                                                             quint32 sequenceNumber)
{
    const QString extension = fileName.mid(fileName.lastIndexOf(QLatin1Char('.')) + 1).toUpper();
    const bool dng = fileName.contains(QLatin1Char('.')) && extension == QLatin1String("DNG");
    const bool jpg = fileName.contains(QLatin1Char('.')) && extension == QLatin1String("JPG");
    Picture picture;
    picture.handle = HandleBase + (m_nextHandle++ << 4) + (dng ? 2 : 1);
    picture.fileName = fileName;
    picture.format = dng ? EmuWire::FormatDng : (jpg ? EmuWire::FormatJpeg : FormatUndefined);
    picture.sequenceNumber = sequenceNumber;
    picture.object = OLP_Commu_EmuObject::fromBytes(bytes);
    picture.reportedSize = m_options.reportedSize != 0 ? m_options.reportedSize : quint32(bytes.size());
    picture.previewMissing = m_options.previewMissing;
    picture.stopDataAfter = m_options.stopDataAfter;
    picture.holdDataAfter = m_options.holdDataAfter;
    picture.thumbnail = jpegImage(ThumbWidth, ThumbHeight, 0);
    picture.preview = picture.thumbnail;
    picture.captureDate = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd'T'hhmmss.zzz")).left(17);
    add(picture);
    return picture;
}

OLP_Commu_EmuCapture::Picture OLP_Commu_EmuCapture::makePicture(bool dng, const QString& baseName, int shade)
{
    Picture picture;
    picture.handle = HandleBase + (m_nextHandle++ << 4) + (dng ? 2 : 1);
    picture.fileName = baseName + (dng ? QStringLiteral(".DNG") : QStringLiteral(".JPG"));
    picture.format = dng ? EmuWire::FormatDng : EmuWire::FormatJpeg;
    picture.orientation = m_options.orientation;
    picture.previewMissing = m_options.previewMissing;
    picture.stopDataAfter = m_options.stopDataAfter;
    picture.holdDataAfter = m_options.holdDataAfter;
    const QString shape = QStringLiteral("%1/%2/%3/%4")
                              .arg(shade)
                              .arg(m_options.orientation)
                              .arg(m_options.bigEndian)
                              .arg(m_options.pictureSize);
    picture.thumbnail =
        shared(QStringLiteral("thumb/%1").arg(shade), [shade] { return jpegImage(ThumbWidth, ThumbHeight, shade); });
    picture.preview = shared(QStringLiteral("preview/%1").arg(shade),
                             [shade] { return jpegImage(PreviewWidth, PreviewHeight, shade); });
    if (dng) {
        quint64 rawBytes = 0;
        const QByteArray head =
            dngHead(m_options.pictureSize, m_options.orientation, m_options.bigEndian, m_model, shade, &rawBytes);
        picture.object =
            OLP_Commu_EmuObject::withGeneratedTail(shared(QStringLiteral("dng/") + shape, [&head] { return head; }),
                                                   quint64(head.size()) + rawBytes, picture.handle);
    } else {
        const QByteArray file = shared(QStringLiteral("jpg/") + shape, [this, shade] {
            return jpegFile(jpegImage(320, 240, shade), m_options.orientation, m_options.bigEndian, m_model);
        });
        // A large JPG carries data behind its end-of-image marker, as files with
        // embedded extra images do; decoders stop at the marker.
        picture.object = m_options.pictureSize > quint64(file.size())
                             ? OLP_Commu_EmuObject::withGeneratedTail(file, m_options.pictureSize, picture.handle)
                             : OLP_Commu_EmuObject::fromBytes(file);
    }
    picture.reportedSize = m_options.reportedSize != 0 ? m_options.reportedSize
                                                       : quint32(std::min<quint64>(picture.object->size(), 0xFFFFFFFF));
    picture.captureDate = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd'T'hhmmss.zzz")).left(17);
    return picture;
}

QByteArray OLP_Commu_EmuCapture::shared(const QString& key, const std::function<QByteArray()>& make)
{
    auto it = m_shared.constFind(key);
    if (it == m_shared.constEnd()) {
        it = m_shared.insert(key, make());
    }
    return it.value();
}

void OLP_Commu_EmuCapture::add(const Picture& picture)
{
    m_index.insert(picture.handle, m_pictures.size());
    m_pictures.append(picture);
    m_pending.push_back(picture.handle);
}

const OLP_Commu_EmuCapture::Picture* OLP_Commu_EmuCapture::pending() const
{
    return m_pending.empty() ? nullptr : find(m_pending.front());
}

bool OLP_Commu_EmuCapture::acknowledge()
{
    if (m_pending.empty()) {
        return false;
    }
    m_pending.pop_front();
    return true;
}

const OLP_Commu_EmuCapture::Picture* OLP_Commu_EmuCapture::find(quint32 handle) const
{
    const auto it = m_index.constFind(handle);
    return it == m_index.constEnd() ? nullptr : &m_pictures.at(it.value());
}

QByteArray OLP_Commu_EmuCapture::Picture::bytes() const
{
    if (!object) {
        return QByteArray();
    }
    QByteArray data(int(object->size()), '\0');
    object->copyTo(0, reinterpret_cast<quint8*>(data.data()), object->size());
    return data;
}

// ---- datasets -------------------------------------------------------------------------------------

const QByteArray* OLP_Commu_EmuCapture::thumbnailOf(const Picture& picture, int thumbType)
{
    if (thumbType == 0) {
        return picture.thumbnail.isEmpty() ? nullptr : &picture.thumbnail;
    }
    if ((thumbType == 1 || thumbType == 2) && !picture.previewMissing && !picture.preview.isEmpty()) {
        return &picture.preview;
    }
    return nullptr;
}

QByteArray OLP_Commu_EmuCapture::objectInfo(const Picture& picture, int thumbType)
{
    const QByteArray* thumbnail = thumbnailOf(picture, thumbType);
    const bool small = thumbType == 0;
    const bool dng = picture.format == EmuWire::FormatDng;
    OLP_Commu_EmuDataset info;
    info.u32(EmuWire::CardStorageId).u16(picture.format).u16(0).u32(picture.reportedSize);
    info.u16(EmuWire::FormatJpeg).u32(thumbnail ? quint32(thumbnail->size()) : 0);
    info.u32(small ? ThumbWidth : PreviewWidth).u32(small ? ThumbHeight : PreviewHeight);
    info.u32(6000).u32(4000).u32(dng ? 16 : 24);
    info.u32(0).u16(0).u32(0).u32(picture.sequenceNumber);
    info.string(picture.fileName);
    info.string(picture.captureDate).string(picture.captureDate).string(QString());
    return info.data();
}

// ---- files ----------------------------------------------------------------------------------------

QByteArray OLP_Commu_EmuCapture::jpegImage(int width, int height, int shade)
{
    const QByteArray pixels = rgbPixels(width, height, shade);
    const QImage image(reinterpret_cast<const uchar*>(pixels.constData()), width, height, width * 3,
                       QImage::Format_RGB888);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(85);
    writer.write(image);
    return jpeg;
}

QByteArray OLP_Commu_EmuCapture::jpegFile(const QByteArray& jpeg, int orientation, bool bigEndian, const QString& model)
{
    if (jpeg.size() < 4 || quint8(jpeg.at(0)) != 0xFF || quint8(jpeg.at(1)) != 0xD8) {
        return jpeg;
    }
    // The Exif block takes the place of a JFIF header right behind the start marker.
    int rest = 2;
    if (quint8(jpeg.at(2)) == 0xFF && quint8(jpeg.at(3)) == 0xE0 && jpeg.size() >= 6) {
        rest = 4 + ((quint8(jpeg.at(4)) << 8) | quint8(jpeg.at(5)));
    }
    const TiffWriter tiff(bigEndian);
    QVector<TiffWriter::Entry> entries;
    entries << TiffWriter::ascii(0x010F, QByteArrayLiteral("Orvane Camera AG"));
    entries << TiffWriter::ascii(0x0110, model.toLatin1());
    if (orientation > 0) {
        entries << tiff.shorts(0x0112, {quint16(orientation)});
    }
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff.header() + tiff.directory(entries, 8, 0);
    QByteArray segment("\xFF\xE1", 2);
    const int length = exif.size() + 2;
    segment += static_cast<char>(length >> 8);
    segment += static_cast<char>(length & 0xFF);
    return QByteArray("\xFF\xD8", 2) + segment + exif + jpeg.mid(rest);
}

QByteArray OLP_Commu_EmuCapture::dngHead(quint64 pictureSize, int orientation, bool bigEndian, const QString& model,
                                         int shade, quint64* rawBytes)
{
    const TiffWriter tiff(bigEndian);
    const quint32 previewBytes = ThumbWidth * ThumbHeight * 3;
    const QByteArray modelText = model.toLatin1();

    // The first directory describes the preview, as DNG files do; the raw
    // image is the sub-directory.
    auto mainEntries = [&](quint32 previewOffset, quint32 rawDirectory) {
        QVector<TiffWriter::Entry> e;
        e << tiff.longs(0x00FE, {1}) << tiff.longs(0x0100, {ThumbWidth}) << tiff.longs(0x0101, {ThumbHeight})
          << tiff.shorts(0x0102, {8, 8, 8}) << tiff.shorts(0x0103, {1}) << tiff.shorts(0x0106, {2})
          << TiffWriter::ascii(0x010F, QByteArrayLiteral("Orvane Camera AG")) << TiffWriter::ascii(0x0110, modelText)
          << tiff.longs(0x0111, {previewOffset});
        if (orientation > 0) {
            e << tiff.shorts(0x0112, {quint16(orientation)});
        }
        e << tiff.shorts(0x0115, {3}) << tiff.longs(0x0116, {ThumbHeight}) << tiff.longs(0x0117, {previewBytes})
          << tiff.shorts(0x011C, {1}) << tiff.longs(0x014A, {rawDirectory})
          << TiffWriter::bytes(0xC612, QByteArray("\x01\x04\x00\x00", 4))
          << TiffWriter::bytes(0xC613, QByteArray("\x01\x01\x00\x00", 4))
          << TiffWriter::ascii(0xC614, QByteArrayLiteral("Orvane ") + modelText);
        return e;
    };
    auto rawEntries = [&](quint32 rawOffset, quint32 rows) {
        QVector<TiffWriter::Entry> e;
        e << tiff.longs(0x00FE, {0}) << tiff.longs(0x0100, {RawWidth}) << tiff.longs(0x0101, {rows})
          << tiff.shorts(0x0102, {16}) << tiff.shorts(0x0103, {1}) << tiff.shorts(0x0106, {32803})
          << tiff.longs(0x0111, {rawOffset}) << tiff.shorts(0x0115, {1}) << tiff.longs(0x0116, {rows})
          << tiff.longs(0x0117, {rows * RawWidth * 2}) << tiff.shorts(0x011C, {1}) << tiff.shorts(0x828D, {2, 2})
          << TiffWriter::bytes(0x828E, QByteArray("\x00\x01\x01\x02", 4));
        return e;
    };

    const quint32 rawDirectory = 8 + TiffWriter::sizeOf(mainEntries(0, 0));
    const quint32 previewOffset = rawDirectory + TiffWriter::sizeOf(rawEntries(0, 0));
    const quint32 rawOffset = previewOffset + previewBytes;
    const quint64 maxRows = (0xFFFFFFFFull - rawOffset) / (RawWidth * 2);
    const quint64 wanted = pictureSize > rawOffset ? (pictureSize - rawOffset) / (RawWidth * 2) : 0;
    const quint32 rows = quint32(std::min(std::max(wanted, MinRawRows), maxRows));
    if (rawBytes) {
        *rawBytes = quint64(rows) * RawWidth * 2;
    }
    return tiff.header() + tiff.directory(mainEntries(previewOffset, rawDirectory), 8, 0) +
           tiff.directory(rawEntries(rawOffset, rows), rawDirectory, 0) + rgbPixels(ThumbWidth, ThumbHeight, shade);
}
