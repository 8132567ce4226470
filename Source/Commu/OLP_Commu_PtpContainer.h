#pragma once

#include <QtGlobal>

// A PTP-over-USB container (still image class): 32-bit length, 16-bit type,
// 16-bit code, 32-bit transaction ID, then parameters (command, response,
// event) or payload (data). Encoding writes into caller memory; decoding reads
// only the bytes it is given and never trusts the length field beyond them.
class OLP_Commu_PtpContainer
{
public:
    enum eType : quint16
    {
        TypeCommand = 1,
        TypeData = 2,
        TypeResponse = 3,
        TypeEvent = 4
    };
    enum eDecode
    {
        DecodeOk,
        DecodeTruncated,   // fewer bytes than a header, or than the length field says
        DecodeBadLength,   // length smaller than the header, not header + whole parameters, or too long
        DecodeWrongType,   // not the container type asked for
        DecodeExtraBytes,  // more bytes arrived than the length field says
    };

    static constexpr quint32 HeaderSize = 12;
    static constexpr int MaxParams = 5;
    static constexpr int MaxEventParams = 3;
    static constexpr quint32 MaxCommandSize = HeaderSize + 4 * MaxParams;

    quint32 length = 0;
    quint16 type = 0;
    quint16 code = 0;
    quint32 transactionId = 0;
    quint32 params[MaxParams] = {};
    int paramCount = 0;

    // Command, response or event container with paramCount parameters (params
    // may be null: zeros). Returns the bytes written, 0 when out is too small
    // or paramCount is outside 0..5.
    static quint32 encode(eType type, quint16 code, quint32 transactionId, const quint32* params, int paramCount,
                          quint8* out, quint32 outSize);

    // The 12-byte header of a data container carrying payloadSize bytes. A
    // payload that does not fit the 32-bit length is announced as 0xFFFFFFFF.
    static void encodeDataHeader(quint64 payloadSize, quint16 code, quint32 transactionId, quint8* out);

    // Reads the header at the start of a transfer: needs 12 bytes and a length
    // of at least 12; the rest of the container may still be on the wire.
    static eDecode decodeHeader(const quint8* data, quint32 size, OLP_Commu_PtpContainer* out);

    // A whole response or event container that arrived as size bytes: length
    // equals size, the type is expected, and it holds 0..5 (events 0..3) whole
    // parameters.
    static eDecode decodeParams(const quint8* data, quint32 size, eType expected, OLP_Commu_PtpContainer* out);

    static const char* decodeName(eDecode result);
};
