#include "OLP_Color_World_Linux.h"

#include "OLP_Color_Profile_Linux.h"

OLP_Color_World_Linux::OLP_Color_World_Linux(const OLP_Color_Profile_Linux& source,
                                             const OLP_Color_Profile_Linux& destination, int intent)
{
    OLP_Color_Profile_Linux::installErrorHandler();
    if (!source.handle() || !destination.handle()) {
        return;
    }
    // Without COPY_ALPHA the fourth byte of the destination would keep
    // whatever it held before.
    m_transform = cmsCreateTransform(source.handle(), TYPE_BGRA_8, destination.handle(), TYPE_BGRA_8,
                                     cmsUInt32Number(libraryIntent(intent)), cmsFLAGS_COPY_ALPHA | cmsFLAGS_NOCACHE);
}

OLP_Color_World_Linux::~OLP_Color_World_Linux()
{
    if (m_transform) {
        cmsDeleteTransform(m_transform);
    }
}

bool OLP_Color_World_Linux::isValid() const
{
    return m_transform != nullptr;
}

bool OLP_Color_World_Linux::convertLabToRgb(const double*, quint8*, int)
{
    return false;
}

bool OLP_Color_World_Linux::convertRgbToLab(const quint8*, double*, int)
{
    return false;
}

bool OLP_Color_World_Linux::convertRgb(const quint8*, quint8*, int)
{
    return false;
}

bool OLP_Color_World_Linux::convertRgb(quint8* buffer, int count)
{
    return convertRgb(buffer, buffer, count);
}

bool OLP_Color_World_Linux::translateBitmap(const uchar* src, uchar* dst, int width, int height, int bytesPerLine)
{
    if (!m_transform || !src || !dst || width < 0 || qint64(bytesPerLine) != qint64(width) * 4) {
        return false;
    }
    for (int row = 0; row < height; ++row) {
        const qint64 offset = qint64(row) * bytesPerLine;
        cmsDoTransform(m_transform, src + offset, dst + offset, cmsUInt32Number(width));
    }
    return true;
}
