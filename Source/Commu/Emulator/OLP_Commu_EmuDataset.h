#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Builds a camera dataset byte by byte: packed little-endian integers and
// IEEE numbers, PTP strings and arrays, and fields at fixed offsets of a
// fixed-size image.
class OLP_Commu_EmuDataset
{
public:
    OLP_Commu_EmuDataset() = default;
    explicit OLP_Commu_EmuDataset(int fixedSize) : m_bytes(fixedSize, '\0') {}
    explicit OLP_Commu_EmuDataset(const QByteArray& bytes) : m_bytes(bytes) {}

    OLP_Commu_EmuDataset& u8(quint8 value);
    OLP_Commu_EmuDataset& u16(quint16 value);
    OLP_Commu_EmuDataset& u32(quint32 value);
    OLP_Commu_EmuDataset& u64(quint64 value);
    // An integer of width 1, 2 or 4 bytes (its two's-complement pattern).
    OLP_Commu_EmuDataset& integer(qint64 value, int width);
    // Count byte (characters + 1, or 0 for an empty text), UTF-16LE, terminator.
    OLP_Commu_EmuDataset& string(const QString& text);
    OLP_Commu_EmuDataset& array16(const QVector<quint16>& values);
    OLP_Commu_EmuDataset& bytes(const QByteArray& data);

    // Fields inside a fixed-size image.
    void putU8(int offset, quint8 value);
    void putU16(int offset, quint16 value);
    void putU32(int offset, quint32 value);
    void putU64(int offset, quint64 value);
    void putFloat(int offset, float value);
    void putDouble(int offset, double value);
    void putLatin1(int offset, const QByteArray& text);

    const QByteArray& data() const { return m_bytes; }

private:
    void put(int offset, const void* data, int size);

    QByteArray m_bytes;
};
