#pragma once

#include <QString>
#include <QVector>
#include <QtGlobal>

// A bounded little-endian cursor over a PTP dataset. Every read stays inside
// [data, data + size): a read that would run past the end returns 0 (or an
// empty string or list), leaves the cursor at the end and clears ok().
// Datasets are packed, so fields are read byte-wise, never through casts.
class OLP_Commu_PtpReader
{
public:
    OLP_Commu_PtpReader(const quint8* data, quint64 size, quint64 offset = 0);

    bool ok() const { return m_ok; }
    quint64 offset() const { return m_offset; }
    quint64 size() const { return m_size; }
    quint64 remaining() const { return m_offset < m_size ? m_size - m_offset : 0; }
    void seek(quint64 offset);
    bool skip(quint64 count);

    quint8 u8();
    quint16 u16();
    quint32 u32();
    quint64 u64();
    qint8 s8() { return static_cast<qint8>(u8()); }
    qint16 s16() { return static_cast<qint16>(u16()); }
    qint32 s32() { return static_cast<qint32>(u32()); }

    // PTP string: count byte N (including the terminating zero), then N UTF-16LE
    // code units. A string whose units run past the end clears ok() and gives a
    // null string.
    QString string();
    // PTP arrays: 32-bit count then the elements. A count that runs past the end
    // clears ok() and gives an empty list; nothing is allocated by the count.
    QVector<quint16> array16();
    QVector<quint32> array32();

    // Single reads at a fixed offset; 0 when the field does not fit.
    static quint8 readU8(const quint8* data, quint64 size, quint64 offset);
    static quint16 readU16(const quint8* data, quint64 size, quint64 offset);
    static quint32 readU32(const quint8* data, quint64 size, quint64 offset);
    static quint64 readU64(const quint8* data, quint64 size, quint64 offset);
    static bool fits(quint64 size, quint64 offset, quint64 width) { return offset <= size && width <= size - offset; }

private:
    bool take(quint64 width);

    const quint8* m_data;
    quint64 m_size;
    quint64 m_offset;
    bool m_ok = true;
};
