#include "OLP_Commu_PtpContainer.h"

#include <QtEndian>

quint32 OLP_Commu_PtpContainer::encode(eType type, quint16 code, quint32 transactionId, const quint32* params,
                                       int paramCount, quint8* out, quint32 outSize)
{
    if (paramCount < 0 || paramCount > MaxParams || !out) {
        return 0;
    }
    const quint32 length = HeaderSize + 4 * static_cast<quint32>(paramCount);
    if (outSize < length) {
        return 0;
    }
    qToLittleEndian<quint32>(length, out);
    qToLittleEndian<quint16>(static_cast<quint16>(type), out + 4);
    qToLittleEndian<quint16>(code, out + 6);
    qToLittleEndian<quint32>(transactionId, out + 8);
    for (int i = 0; i < paramCount; ++i) {
        qToLittleEndian<quint32>(params ? params[i] : 0, out + HeaderSize + 4 * i);
    }
    return length;
}

void OLP_Commu_PtpContainer::encodeDataHeader(quint64 payloadSize, quint16 code, quint32 transactionId, quint8* out)
{
    const quint64 total = payloadSize + HeaderSize;
    qToLittleEndian<quint32>(total > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<quint32>(total), out);
    qToLittleEndian<quint16>(TypeData, out + 4);
    qToLittleEndian<quint16>(code, out + 6);
    qToLittleEndian<quint32>(transactionId, out + 8);
}

OLP_Commu_PtpContainer::eDecode OLP_Commu_PtpContainer::decodeHeader(const quint8* data, quint32 size,
                                                                     OLP_Commu_PtpContainer* out)
{
    if (!data || size < HeaderSize) {
        return DecodeTruncated;
    }
    OLP_Commu_PtpContainer c;
    c.length = qFromLittleEndian<quint32>(data);
    c.type = qFromLittleEndian<quint16>(data + 4);
    c.code = qFromLittleEndian<quint16>(data + 6);
    c.transactionId = qFromLittleEndian<quint32>(data + 8);
    if (c.length < HeaderSize) {
        return DecodeBadLength;
    }
    if (out) {
        *out = c;
    }
    return DecodeOk;
}

OLP_Commu_PtpContainer::eDecode OLP_Commu_PtpContainer::decodeParams(const quint8* data, quint32 size, eType expected,
                                                                     OLP_Commu_PtpContainer* out)
{
    OLP_Commu_PtpContainer c;
    const eDecode header = decodeHeader(data, size, &c);
    if (header != DecodeOk) {
        return header;
    }
    if (c.type != expected) {
        return DecodeWrongType;
    }
    const int maxParams = expected == TypeEvent ? MaxEventParams : MaxParams;
    if ((c.length - HeaderSize) % 4 != 0 || c.length > HeaderSize + 4u * maxParams) {
        return DecodeBadLength;
    }
    if (size < c.length) {
        return DecodeTruncated;
    }
    if (size > c.length) {
        return DecodeExtraBytes;
    }
    c.paramCount = static_cast<int>((c.length - HeaderSize) / 4);
    for (int i = 0; i < c.paramCount; ++i) {
        c.params[i] = qFromLittleEndian<quint32>(data + HeaderSize + 4 * i);
    }
    if (out) {
        *out = c;
    }
    return DecodeOk;
}

const char* OLP_Commu_PtpContainer::decodeName(eDecode result)
{
    switch (result) {
        case DecodeOk:
            return "ok";
        case DecodeTruncated:
            return "truncated container";
        case DecodeBadLength:
            return "bad container length";
        case DecodeWrongType:
            return "unexpected container type";
        case DecodeExtraBytes:
            return "bytes beyond the container length";
    }
    return "unknown";
}
