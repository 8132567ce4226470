#include "OLP_Color_Match.h"

#include "OLP_Color_Factory.h"

OLP_Color_Match::OLP_Color_Match() = default;

OLP_Color_Match::~OLP_Color_Match() = default;

bool OLP_Color_Match::spacesAre(quint32 source, quint32 destination) const
{
    return m_sourceSpace == source && m_destinationSpace == destination;
}

OLP_Color_WorldIF* OLP_Color_Match::world()
{
    if (!m_world && m_source && m_destination && m_source->isValid() && m_destination->isValid()) {
        m_world = createWorld(*m_source, *m_destination, m_intent);
    }
    return m_world.get();
}

bool OLP_Color_Match::convertLabToRgb(const double* lab, quint8* rgb, int count)
{
    if (!spacesAre(OLP_Color_ProfileIF::SignatureLab, OLP_Color_ProfileIF::SignatureRgb)) {
        return false;
    }
    OLP_Color_WorldIF* transform = world();
    return transform && transform->convertLabToRgb(lab, rgb, count);
}

bool OLP_Color_Match::convertRgbToLab(const quint8* rgb, double* lab, int count)
{
    if (!spacesAre(OLP_Color_ProfileIF::SignatureRgb, OLP_Color_ProfileIF::SignatureLab)) {
        return false;
    }
    OLP_Color_WorldIF* transform = world();
    return transform && transform->convertRgbToLab(rgb, lab, count);
}

bool OLP_Color_Match::convertRgb(const quint8* in, quint8* out, int count)
{
    if (!spacesAre(OLP_Color_ProfileIF::SignatureRgb, OLP_Color_ProfileIF::SignatureRgb)) {
        return false;
    }
    OLP_Color_WorldIF* transform = world();
    return transform && transform->convertRgb(in, out, count);
}

bool OLP_Color_Match::convertRgb(quint8* buffer, int count)
{
    if (!spacesAre(OLP_Color_ProfileIF::SignatureRgb, OLP_Color_ProfileIF::SignatureRgb)) {
        return false;
    }
    OLP_Color_WorldIF* transform = world();
    return transform && transform->convertRgb(buffer, count);
}

bool OLP_Color_Match::isMatchableFormat(QImage::Format format)
{
    // Other 32-bit formats (Format_RGBA8888 and friends) hold R, G, B, A and
    // would come out with red and blue swapped.
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

bool OLP_Color_Match::matchImage(const QImage& src, QImage& dst)
{
    if (src.isNull() || dst.isNull() || src.width() != dst.width() || src.height() != dst.height() ||
        src.bytesPerLine() != dst.bytesPerLine() || src.format() != dst.format() || !isMatchableFormat(src.format()) ||
        !spacesAre(OLP_Color_ProfileIF::SignatureRgb, OLP_Color_ProfileIF::SignatureRgb)) {
        return false;
    }
    OLP_Color_WorldIF* transform = world();
    if (!transform) {
        return false;
    }
    // Detach the destination first: when src and dst are one image, the source
    // pointer must be the detached copy too.
    uchar* out = dst.bits();
    const uchar* in = src.constBits();
    return transform->translateBitmap(in, out, dst.width(), dst.height(), int(dst.bytesPerLine()));
}

bool OLP_Color_Match::matchImage(QImage& image)
{
    return matchImage(image, image);
}

void OLP_Color_Match::replaceSource(std::unique_ptr<OLP_Color_ProfileIF> profile)
{
    if (!profile) {
        return;
    }
    m_sourceSpace = profile->colorSpace();
    m_source = std::move(profile);
    m_world.reset();
}

void OLP_Color_Match::replaceDestination(std::unique_ptr<OLP_Color_ProfileIF> profile)
{
    if (!profile) {
        return;
    }
    m_destinationSpace = profile->colorSpace();
    m_destination = std::move(profile);
    m_world.reset();
}

void OLP_Color_Match::setSourceProfile(const OLP_Color_ProfileIF& profile)
{
    replaceSource(createProfile(profile));
}

void OLP_Color_Match::setSourceProfile(const QString& path)
{
    replaceSource(createProfile(path));
}

void OLP_Color_Match::setDestinationProfile(const OLP_Color_ProfileIF& profile)
{
    replaceDestination(createProfile(profile));
}

void OLP_Color_Match::setDestinationProfile(const QString& path)
{
    replaceDestination(createProfile(path));
}

void OLP_Color_Match::setIntent(int intent)
{
    m_intent = intent;
    m_world.reset();
}
