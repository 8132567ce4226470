#include "OLP_Color_Profile_Linux.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <mutex>
#include <vector>

namespace {

quint32 be32(const quint8* p)
{
    return (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
}

constexpr quint32 TagTypeDesc = 0x64657363;  // "desc"
constexpr quint32 TagTypeMluc = 0x6D6C7563;  // "mluc"

bool isKnownColorSpace(quint32 signature)
{
    switch (signature) {
        case 0x58595A20:  // XYZ
        case 0x4C616220:  // Lab
        case 0x4C757620:  // Luv
        case 0x59436272:  // YCbr
        case 0x59787920:  // Yxy
        case 0x52474220:  // RGB
        case 0x47524159:  // GRAY
        case 0x48535620:  // HSV
        case 0x484C5320:  // HLS
        case 0x434D594B:  // CMYK
        case 0x434D5920:  // CMY
        case 0x33434C52:  // 3CLR
        case 0x34434C52:  // 4CLR
        case 0x35434C52:  // 5CLR
        case 0x36434C52:  // 6CLR
        case 0x37434C52:  // 7CLR
        case 0x38434C52:  // 8CLR
            return true;
        default:
            return false;
    }
}

bool isKnownDeviceClass(quint32 signature)
{
    switch (signature) {
        case 0x73636E72:  // scnr
        case 0x6D6E7472:  // mntr
        case 0x70727472:  // prtr
        case 0x6C696E6B:  // link
        case 0x61627374:  // abst
        case 0x73706163:  // spac
        case 0x6E6D636C:  // nmcl
            return true;
        default:
            return false;
    }
}

void silentErrorHandler(cmsContext, cmsUInt32Number, const char*) {}

}  // namespace

void OLP_Color_Profile_Linux::installErrorHandler()
{
    static std::once_flag once;
    std::call_once(once, [] { cmsSetLogErrorHandler(&silentErrorHandler); });
}

OLP_Color_Profile_Linux::OLP_Color_Profile_Linux() = default;

OLP_Color_Profile_Linux::OLP_Color_Profile_Linux(const QString& path) : m_path(QDir::fromNativeSeparators(path))
{
    installErrorHandler();
    const QFileInfo info(m_path);
    if (m_path.isEmpty() || !info.isFile()) {
        return;
    }
    m_handle = cmsOpenProfileFromFile(QFile::encodeName(QDir::toNativeSeparators(m_path)).constData(), "r");
}

OLP_Color_Profile_Linux::OLP_Color_Profile_Linux(const QByteArray& bytes) : m_bytes(bytes)
{
    installErrorHandler();
    if (m_bytes.isEmpty()) {
        return;
    }
    // Little CMS copies the bytes into a block of its own, of exactly this size.
    m_handle = cmsOpenProfileFromMem(m_bytes.constData(), cmsUInt32Number(m_bytes.size()));
}

OLP_Color_Profile_Linux::~OLP_Color_Profile_Linux()
{
    if (m_handle) {
        cmsCloseProfile(m_handle);
    }
}

bool OLP_Color_Profile_Linux::isValid() const
{
    if (!m_handle) {
        return false;
    }
    if (!m_path.isEmpty()) {
        return QFileInfo::exists(m_path);
    }
    return !m_bytes.isEmpty();
}

quint32 OLP_Color_Profile_Linux::colorSpace() const
{
    if (!m_handle) {
        return SignatureUnknown;
    }
    const quint32 signature = cmsGetColorSpace(m_handle);
    return isKnownColorSpace(signature) ? signature : SignatureUnknown;
}

quint32 OLP_Color_Profile_Linux::connectionSpace() const
{
    if (!m_handle) {
        return SignatureUnknown;
    }
    const quint32 signature = cmsGetPCS(m_handle);
    return isKnownColorSpace(signature) ? signature : SignatureUnknown;
}

quint32 OLP_Color_Profile_Linux::deviceClass() const
{
    if (!m_handle) {
        return SignatureUnknown;
    }
    const quint32 signature = cmsGetDeviceClass(m_handle);
    return isKnownDeviceClass(signature) ? signature : SignatureUnknown;
}

QString OLP_Color_Profile_Linux::description() const
{
    if (!m_handle || !cmsIsTag(m_handle, cmsSigProfileDescriptionTag)) {
        return QString();
    }
    const cmsUInt32Number size = cmsReadRawTag(m_handle, cmsSigProfileDescriptionTag, nullptr, 0);
    if (size == 0) {
        return QString();
    }
    // Exactly the tag's size: a read past its end is a read past the allocation.
    std::vector<quint8> tag(size);
    if (cmsReadRawTag(m_handle, cmsSigProfileDescriptionTag, tag.data(), size) != size) {
        return QString();
    }
    return descriptionFromTag(tag.data(), tag.size());
}

void OLP_Color_Profile_Linux::swap(OLP_Color_ProfileIF& other)
{
    auto* profile = dynamic_cast<OLP_Color_Profile_Linux*>(&other);
    if (!profile || profile == this) {
        return;
    }
    m_bytes.swap(profile->m_bytes);
    m_path.swap(profile->m_path);
    std::swap(m_handle, profile->m_handle);
}

QString OLP_Color_Profile_Linux::descriptionFromTag(const quint8* tag, std::size_t size)
{
    if (!tag || size < 8) {
        return QString();
    }
    const quint32 type = be32(tag);
    if (type == TagTypeDesc) {
        // Type, reserved, ASCII count, then the text with its terminating NUL.
        if (size < 12) {
            return QString();
        }
        const quint64 count = be32(tag + 8);
        if (count == 0 || count > quint64(size) - 12) {
            return QString();
        }
        const char* text = reinterpret_cast<const char*>(tag + 12);
        std::size_t length = 0;
        while (length < count && text[length] != '\0') {
            ++length;
        }
        return QString::fromLatin1(text, int(length));
    }
    if (type == TagTypeMluc) {
        // Type, reserved, record count, record size, then records of language,
        // country, length and offset (from the start of the tag).
        if (size < 16) {
            return QString();
        }
        const quint32 records = be32(tag + 8);
        if (records == 0 || size < 28) {
            return QString();
        }
        const quint64 length = be32(tag + 20);
        const quint64 offset = be32(tag + 24);
        if (offset + length > size) {
            return QString();
        }
        const quint64 characters = length / 2;
        QString text;
        text.reserve(int(characters));
        const quint8* p = tag + offset;
        for (quint64 i = 0; i < characters; ++i, p += 2) {
            text.append(QChar(ushort((p[0] << 8) | p[1])));
        }
        return text;
    }
    return QString();
}
