#include "OLP_Logic_LiveViewPacket.h"

#include <QtMath>
#include <limits>

#include "OLP_Commu_PtpReader.h"

namespace {

constexpr quint64 OffsetLength1 = 4;
constexpr quint64 OffsetLength2 = 10;
constexpr quint64 OffsetImage = 16;
constexpr quint64 TagEntryHeader = 8;

quint32 u32At(const quint8* data)
{
    return quint32(data[0]) | (quint32(data[1]) << 8) | (quint32(data[2]) << 16) | (quint32(data[3]) << 24);
}

int clampToInt(qint64 value)
{
    return int(qBound<qint64>(std::numeric_limits<int>::min(), value, std::numeric_limits<int>::max()));
}

// origin + qRound(rel * extent), in 64 bits so no sensor size overflows.
bool scaled(double rel, quint32 origin, quint32 extent, int* result)
{
    const double offset = rel * double(extent);
    // Finite and far inside the 64-bit range, so the rounding is defined.
    if (!qIsFinite(offset) || qAbs(offset) > 1e15) {
        return false;
    }
    *result = clampToInt(qint64(origin) + qRound64(offset));
    return true;
}

}  // namespace

// ---- zoom information ---------------------------------------------------------------------------

OLP_Logic_LiveViewZoomInfo OLP_Logic_LiveViewZoomInfo::fromBytes(const quint8* data)
{
    quint32 v[16];
    for (int i = 0; i < 16; ++i) {
        v[i] = u32At(data + 4 * i);
    }
    OLP_Logic_LiveViewZoomInfo z;
    z.selectedStripe = v[0];
    z.zoomLevel = v[1];
    z.outerX = v[2];
    z.outerY = v[3];
    z.outerW = v[4];
    z.outerH = v[5];
    z.activeX = v[6];
    z.activeY = v[7];
    z.activeW = v[8];
    z.activeH = v[9];
    z.sourceX = v[10];
    z.sourceY = v[11];
    z.sourceW = v[12];
    z.sourceH = v[13];
    z.crossX = v[14];
    z.crossY = v[15];
    return z;
}

bool OLP_Logic_LiveViewZoomInfo::crossPosition(double* x, double* y) const
{
    if (sourceW == 0 || sourceH == 0) {
        return false;
    }
    // Differences as signed 32-bit values: a cross left of the area is negative.
    *x = double(qint32(crossX - sourceX)) / double(sourceW);
    *y = double(qint32(crossY - sourceY)) / double(sourceH);
    return true;
}

bool OLP_Logic_LiveViewZoomInfo::sourceRect(double* x, double* y, double* w, double* h) const
{
    if (outerW == 0 || outerH == 0) {
        return false;
    }
    *x = double(qint32(sourceX - outerX)) / double(outerW);
    *y = double(qint32(sourceY - outerY)) / double(outerH);
    *w = double(sourceW) / double(outerW);
    *h = double(sourceH) / double(outerH);
    return true;
}

bool OLP_Logic_LiveViewZoomInfo::sensorPoint(double relX, double relY, bool global, int* x, int* y) const
{
    int px = 0;
    int py = 0;
    const bool ok = global ? scaled(relX, outerX, outerW, &px) && scaled(relY, outerY, outerH, &py)
                           : scaled(relX, sourceX, sourceW, &px) && scaled(relY, sourceY, sourceH, &py);
    if (!ok) {
        return false;
    }
    *x = px;
    *y = py;
    return true;
}

// ---- the packet ---------------------------------------------------------------------------------

quint32 OLP_Logic_LiveViewPacket::requiredPayload(quint32 tag)
{
    switch (tag) {
        case TagIso:
        case TagExposureMicroseconds:
        case TagExposureTv:
        case TagImageId:
        case TagTimeCode:
            return 4;
        case TagZoomInfo:
            return OLP_Logic_LiveViewZoomInfo::Size;
        case TagAudio:
            return 16;
        default:
            return 0;
    }
}

void OLP_Logic_LiveViewPacket::reset()
{
    *this = OLP_Logic_LiveViewPacket();
}

bool OLP_Logic_LiveViewPacket::fail(eError error, quint64 offset)
{
    m_error = error;
    m_errorOffset = offset;
    m_image = nullptr;
    m_imageSize = 0;
    return false;
}

bool OLP_Logic_LiveViewPacket::parse(const quint8* data, quint64 size)
{
    reset();
    if (data == nullptr || size < TagListOffset) {
        return fail(ErrorNoPacket, 0);
    }
    const quint64 length1 = OLP_Commu_PtpReader::readU16(data, size, OffsetLength1);
    if (6 + length1 > size) {
        return fail(ErrorLength1, OffsetLength1);
    }
    const quint64 length2 = OLP_Commu_PtpReader::readU32(data, size, OffsetLength2);
    if (14 + length2 > size) {
        return fail(ErrorLength2, OffsetLength2);
    }
    const quint64 imageOffset = OLP_Commu_PtpReader::readU32(data, size, OffsetImage);
    if (imageOffset < MinImageOffset || imageOffset > size) {
        return fail(ErrorImageOffset, OffsetImage);
    }

    quint64 position = TagListOffset;
    for (;;) {
        if (!OLP_Commu_PtpReader::fits(size, position, 4)) {
            return fail(ErrorNoEndTag, position);
        }
        const quint32 tag = u32At(data + position);
        if (tag == TagEnd) {
            break;
        }
        if (!OLP_Commu_PtpReader::fits(size, position, TagEntryHeader)) {
            return fail(ErrorTagTruncated, position);
        }
        const quint64 length = u32At(data + position + 4);
        if (length == 0) {
            return fail(ErrorTagZeroLength, position);
        }
        const quint64 payload = position + TagEntryHeader;
        if (!OLP_Commu_PtpReader::fits(size, payload, length)) {
            return fail(ErrorTagPayload, position);
        }
        const quint32 required = requiredPayload(tag);
        if (required == 0) {
            m_unknownTags.append(tag);
        } else if (length < required) {
            return fail(ErrorTagTooShort, position);
        } else {
            readTag(tag, data + payload);
        }
        position = payload + length;
    }

    m_error = ErrorNone;
    m_imageOffset = quint32(imageOffset);
    m_image = data + imageOffset;
    m_imageSize = size - imageOffset;
    return true;
}

void OLP_Logic_LiveViewPacket::readTag(quint32 tag, const quint8* payload)
{
    switch (tag) {
        case TagIso:
            m_hasIso = true;
            m_iso = u32At(payload);
            break;
        case TagExposureMicroseconds:
            m_hasExposureMicroseconds = true;
            m_exposureMicroseconds = u32At(payload);
            break;
        case TagExposureTv:
            m_hasExposureTv = true;
            m_exposureTv = qint32(u32At(payload));
            break;
        case TagZoomInfo:
            m_hasZoomInfo = true;
            m_zoomInfo = OLP_Logic_LiveViewZoomInfo::fromBytes(payload);
            break;
        case TagImageId:
            m_hasImageId = true;
            m_imageId = u32At(payload);
            break;
        case TagAudio:
            m_hasAudio = true;
            for (int i = 0; i < 4; ++i) {
                m_audio[i] = u32At(payload + 4 * i);
            }
            break;
        case TagTimeCode:
            m_hasTimeCode = true;
            for (int i = 0; i < 4; ++i) {
                m_timeCode[i] = payload[i];
            }
            break;
        default:
            break;
    }
}
