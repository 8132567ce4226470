#pragma once

#include <QVector>
#include <QtGlobal>

// The zoom and focus-cross geometry the camera sends with a live-view frame
// (tag 4): sixteen unsigned 32-bit values in sensor pixel coordinates. The
// picture of the packet shows the image source area; the outer bounds are the
// whole frame the navigator shows.
struct OLP_Logic_LiveViewZoomInfo
{
    static constexpr quint32 Size = 64;

    quint32 selectedStripe = 0;
    quint32 zoomLevel = 0;
    quint32 outerX = 0, outerY = 0, outerW = 0, outerH = 0;
    quint32 activeX = 0, activeY = 0, activeW = 0, activeH = 0;
    quint32 sourceX = 0, sourceY = 0, sourceW = 0, sourceH = 0;
    quint32 crossX = 0, crossY = 0;

    // Reads the 64 bytes at data (the caller guarantees they exist).
    static OLP_Logic_LiveViewZoomInfo fromBytes(const quint8* data);

    // The AF cross relative to the source area; false (and nothing written)
    // when the source area has no width or height.
    bool crossPosition(double* x, double* y) const;
    // The source area relative to the outer bounds; false (and nothing
    // written) when the outer bounds have no width or height.
    bool sourceRect(double* x, double* y, double* w, double* h) const;

    // A relative position (0..1) inside the source area, or inside the outer
    // bounds when global, as sensor pixels: origin + qRound(rel * extent).
    // False for a position that is not a finite number; the result is clamped
    // to the int range.
    bool sensorPoint(double relX, double relY, bool global, int* x, int* y) const;
};

// One live-view stream-data packet, checked and split: the header, the tag
// list with the side information of the frame, and the place of the JPEG
// picture. parse() only reads inside [data, data + size) and works in 64-bit
// offsets, so no length the camera sends can wrap past the end of the packet.
//
// Packet layout (little-endian): 4 bytes not examined; at 4 a 16-bit length
// L1 (6 + L1 must not pass the end); 4 bytes; at 10 a 32-bit length L2
// (14 + L2 must not pass the end); 2 bytes; at 16 the 32-bit image offset
// (29 <= offset <= size); at 20 the tag list: tag (32 bits), length (32 bits,
// not 0), payload; tag 0 ends the list. The picture runs from the image offset
// to the end of the packet.
//
// Thread: a plain value; parse() touches nothing but its arguments and the
// object itself.
class OLP_Logic_LiveViewPacket
{
public:
    enum eTag : quint32
    {
        TagEnd = 0,
        TagIso = 1,
        TagExposureMicroseconds = 2,
        TagExposureTv = 3,
        TagZoomInfo = 4,
        TagImageId = 5,
        TagAudio = 6,
        TagTimeCode = 7
    };

    enum eError
    {
        ErrorNone,
        ErrorNoPacket,       // null data or fewer bytes than the header
        ErrorLength1,        // 6 + L1 passes the end
        ErrorLength2,        // 14 + L2 passes the end
        ErrorImageOffset,    // image offset below 29 or past the end
        ErrorTagTruncated,   // a tag value or its length field does not fit
        ErrorTagZeroLength,  // a tag entry with length 0
        ErrorTagPayload,     // the payload passes the end
        ErrorTagTooShort,    // a known tag shorter than the bytes read from it
        ErrorNoEndTag        // the end of the packet came before tag 0
    };

    static constexpr quint32 TagListOffset = 20;
    static constexpr quint32 MinImageOffset = 29;

    // The live-view state in device property 0x5020 (SupportedStreams): the
    // upper 16 bits when the lower 16 bits are 1, else 0. 0 no live view,
    // 1 video recording, 2 photo, 3 video; other states pass unchanged.
    static int stateFromSupportedStreams(quint32 value) { return (value & 0xFFFF) == 1 ? int(value >> 16) : 0; }

    // Checks the packet and reads its tags. False for a malformed packet;
    // error() tells why. Tags with a value outside 1 to 7 are skipped and
    // listed in unknownTags() (also those met before a later error).
    bool parse(const quint8* data, quint64 size);

    bool isValid() const { return m_error == ErrorNone; }
    eError error() const { return m_error; }
    // The byte offset where the check failed (the tag entry for tag errors).
    quint64 errorOffset() const { return m_errorOffset; }

    // Payload bytes each known tag needs: 4, 64 for the zoom information, 16
    // for the audio levels; 0 for an unknown tag.
    static quint32 requiredPayload(quint32 tag);

    const QVector<quint32>& unknownTags() const { return m_unknownTags; }

    quint32 imageOffset() const { return m_imageOffset; }
    const quint8* image() const { return m_image; }
    quint64 imageSize() const { return m_imageSize; }

    bool hasIso() const { return m_hasIso; }
    quint32 iso() const { return m_iso; }
    bool hasExposureMicroseconds() const { return m_hasExposureMicroseconds; }
    quint32 exposureMicroseconds() const { return m_exposureMicroseconds; }
    bool hasExposureTv() const { return m_hasExposureTv; }
    // Tv in 1/256 units as sent.
    qint32 exposureTvRaw() const { return m_exposureTv; }
    double exposureTv() const { return m_exposureTv * 0.00390625; }
    bool hasZoomInfo() const { return m_hasZoomInfo; }
    const OLP_Logic_LiveViewZoomInfo& zoomInfo() const { return m_zoomInfo; }
    bool hasImageId() const { return m_hasImageId; }
    quint32 imageId() const { return m_imageId; }
    bool hasAudio() const { return m_hasAudio; }
    quint32 audioPeakLeft() const { return m_audio[0]; }
    quint32 audioPeakRight() const { return m_audio[1]; }
    quint32 audioRmsLeft() const { return m_audio[2]; }
    quint32 audioRmsRight() const { return m_audio[3]; }
    bool hasTimeCode() const { return m_hasTimeCode; }
    int timeCodeHours() const { return m_timeCode[0]; }
    int timeCodeMinutes() const { return m_timeCode[1]; }
    int timeCodeSeconds() const { return m_timeCode[2]; }
    int timeCodeFrames() const { return m_timeCode[3]; }

private:
    void reset();
    bool fail(eError error, quint64 offset);
    void readTag(quint32 tag, const quint8* payload);

    eError m_error = ErrorNoPacket;
    quint64 m_errorOffset = 0;
    QVector<quint32> m_unknownTags;
    quint32 m_imageOffset = 0;
    const quint8* m_image = nullptr;
    quint64 m_imageSize = 0;

    bool m_hasIso = false;
    bool m_hasExposureMicroseconds = false;
    bool m_hasExposureTv = false;
    bool m_hasZoomInfo = false;
    bool m_hasImageId = false;
    bool m_hasAudio = false;
    bool m_hasTimeCode = false;
    quint32 m_iso = 0;
    quint32 m_exposureMicroseconds = 0;
    qint32 m_exposureTv = 0;
    OLP_Logic_LiveViewZoomInfo m_zoomInfo;
    quint32 m_imageId = 0;
    quint32 m_audio[4] = {0, 0, 0, 0};
    quint8 m_timeCode[4] = {0, 0, 0, 0};
};
