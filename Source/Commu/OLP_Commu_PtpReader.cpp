#include "OLP_Commu_PtpReader.h"

#include <QtEndian>

OLP_Commu_PtpReader::OLP_Commu_PtpReader(const quint8* data, quint64 size, quint64 offset)
    : m_data(data), m_size(data ? size : 0), m_offset(offset)
{}

void OLP_Commu_PtpReader::seek(quint64 offset)
{
    if (offset > m_size) {
        m_ok = false;
        m_offset = m_size;
    } else {
        m_offset = offset;
    }
}

bool OLP_Commu_PtpReader::take(quint64 width)
{
    if (!fits(m_size, m_offset, width)) {
        m_ok = false;
        m_offset = m_size;
        return false;
    }
    return true;
}

bool OLP_Commu_PtpReader::skip(quint64 count)
{
    if (!take(count)) {
        return false;
    }
    m_offset += count;
    return true;
}

quint8 OLP_Commu_PtpReader::u8()
{
    if (!take(1)) {
        return 0;
    }
    return m_data[m_offset++];
}

quint16 OLP_Commu_PtpReader::u16()
{
    if (!take(2)) {
        return 0;
    }
    const quint16 v = qFromLittleEndian<quint16>(m_data + m_offset);
    m_offset += 2;
    return v;
}

quint32 OLP_Commu_PtpReader::u32()
{
    if (!take(4)) {
        return 0;
    }
    const quint32 v = qFromLittleEndian<quint32>(m_data + m_offset);
    m_offset += 4;
    return v;
}

quint64 OLP_Commu_PtpReader::u64()
{
    if (!take(8)) {
        return 0;
    }
    const quint64 v = qFromLittleEndian<quint64>(m_data + m_offset);
    m_offset += 8;
    return v;
}

QString OLP_Commu_PtpReader::string()
{
    const quint8 count = u8();
    if (!m_ok) {
        return QString();
    }
    if (count == 0) {
        return QString(QLatin1String(""));
    }
    if (!take(quint64(count) * 2)) {
        return QString();
    }
    QString text;
    text.reserve(count);
    for (quint8 i = 0; i < count; ++i) {
        const quint16 unit = qFromLittleEndian<quint16>(m_data + m_offset + 2 * i);
        if (unit == 0) {
            break;
        }
        text.append(QChar(unit));
    }
    m_offset += quint64(count) * 2;
    return text;
}

QVector<quint16> OLP_Commu_PtpReader::array16()
{
    const quint32 count = u32();
    QVector<quint16> values;
    if (!m_ok || !take(quint64(count) * 2)) {
        return values;
    }
    values.reserve(int(count));
    for (quint32 i = 0; i < count; ++i) {
        values.append(u16());
    }
    return values;
}

QVector<quint32> OLP_Commu_PtpReader::array32()
{
    const quint32 count = u32();
    QVector<quint32> values;
    if (!m_ok || !take(quint64(count) * 4)) {
        return values;
    }
    values.reserve(int(count));
    for (quint32 i = 0; i < count; ++i) {
        values.append(u32());
    }
    return values;
}

quint8 OLP_Commu_PtpReader::readU8(const quint8* data, quint64 size, quint64 offset)
{
    return data && fits(size, offset, 1) ? data[offset] : 0;
}

quint16 OLP_Commu_PtpReader::readU16(const quint8* data, quint64 size, quint64 offset)
{
    return data && fits(size, offset, 2) ? qFromLittleEndian<quint16>(data + offset) : 0;
}

quint32 OLP_Commu_PtpReader::readU32(const quint8* data, quint64 size, quint64 offset)
{
    return data && fits(size, offset, 4) ? qFromLittleEndian<quint32>(data + offset) : 0;
}

quint64 OLP_Commu_PtpReader::readU64(const quint8* data, quint64 size, quint64 offset)
{
    return data && fits(size, offset, 8) ? qFromLittleEndian<quint64>(data + offset) : 0;
}
