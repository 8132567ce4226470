#include "OLP_Commu_EmuDataset.h"

#include <QtEndian>
#include <cstring>

OLP_Commu_EmuDataset& OLP_Commu_EmuDataset::u8(quint8 value)
{
    m_bytes.append(static_cast<char>(value));
    return *this;
}

OLP_Commu_EmuDataset& OLP_Commu_EmuDataset::u16(quint16 value)
{
    return u8(value & 0xFF).u8(value >> 8);
}

OLP_Commu_EmuDataset& OLP_Commu_EmuDataset::u32(quint32 value)
{
    return u16(value & 0xFFFF).u16(value >> 16);
}

OLP_Commu_EmuDataset& OLP_Commu_EmuDataset::u64(quint64 value)
{
    return u32(value & 0xFFFFFFFFu).u32(value >> 32);
}

OLP_Commu_EmuDataset& OLP_Commu_EmuDataset::integer(qint64 value, int width)
{
    const quint64 bits = static_cast<quint64>(value);
    for (int i = 0; i < width; ++i) {
        u8(static_cast<quint8>(bits >> (8 * i)));
    }
    return *this;
}

OLP_Commu_EmuDataset& OLP_Commu_EmuDataset::string(const QString& text)
{
    if (text.isEmpty()) {
        return u8(0);
    }
    const QString limited = text.left(254);
    u8(static_cast<quint8>(limited.size() + 1));
    for (const QChar c : limited) {
        u16(c.unicode());
    }
    return u16(0);
}

OLP_Commu_EmuDataset& OLP_Commu_EmuDataset::array16(const QVector<quint16>& values)
{
    u32(static_cast<quint32>(values.size()));
    for (quint16 v : values) {
        u16(v);
    }
    return *this;
}

OLP_Commu_EmuDataset& OLP_Commu_EmuDataset::bytes(const QByteArray& data)
{
    m_bytes.append(data);
    return *this;
}

void OLP_Commu_EmuDataset::put(int offset, const void* data, int size)
{
    if (offset < 0 || size < 0 || offset + size > m_bytes.size()) {
        return;
    }
    std::memcpy(m_bytes.data() + offset, data, static_cast<size_t>(size));
}

void OLP_Commu_EmuDataset::putU8(int offset, quint8 value)
{
    put(offset, &value, 1);
}

void OLP_Commu_EmuDataset::putU16(int offset, quint16 value)
{
    quint8 b[2];
    qToLittleEndian(value, b);
    put(offset, b, 2);
}

void OLP_Commu_EmuDataset::putU32(int offset, quint32 value)
{
    quint8 b[4];
    qToLittleEndian(value, b);
    put(offset, b, 4);
}

void OLP_Commu_EmuDataset::putU64(int offset, quint64 value)
{
    quint8 b[8];
    qToLittleEndian(value, b);
    put(offset, b, 8);
}

void OLP_Commu_EmuDataset::putFloat(int offset, float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, 4);
    putU32(offset, bits);
}

void OLP_Commu_EmuDataset::putDouble(int offset, double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, 8);
    putU64(offset, bits);
}

void OLP_Commu_EmuDataset::putLatin1(int offset, const QByteArray& text)
{
    put(offset, text.constData(), text.size());
}
