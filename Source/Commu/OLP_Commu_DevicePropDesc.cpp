#include "OLP_Commu_DevicePropDesc.h"

#include "OLP_Commu_PtpCodes.h"
#include "OLP_Commu_PtpReader.h"
#include "OLP_Debug.h"

OLP_Commu_DevicePropDesc::OLP_Commu_DevicePropDesc(const quint8* data, quint32 size)
    : m_data(data), m_size(data ? size : 0)
{}

quint16 OLP_Commu_DevicePropDesc::propertyCode() const
{
    return OLP_Commu_PtpReader::readU16(m_data, m_size, 0);
}

quint16 OLP_Commu_DevicePropDesc::dataType() const
{
    return OLP_Commu_PtpReader::readU16(m_data, m_size, 2);
}

quint32 OLP_Commu_DevicePropDesc::widthOf(quint16 dataType)
{
    switch (dataType) {
        case PTP::TypeINT8:
        case PTP::TypeUINT8:
            return 1;
        case PTP::TypeINT16:
        case PTP::TypeUINT16:
            return 2;
        case PTP::TypeINT32:
        case PTP::TypeUINT32:
            return 4;
        default:
            return 0;
    }
}

quint32 OLP_Commu_DevicePropDesc::width() const
{
    return widthOf(dataType());
}

quint8 OLP_Commu_DevicePropDesc::formFlag() const
{
    return OLP_Commu_PtpReader::readU8(m_data, m_size, 5 + 2 * quint64(width()));
}

qint64 OLP_Commu_DevicePropDesc::valueAt(quint64 offset, bool* ok) const
{
    const quint32 w = width();
    if (w == 0 || !OLP_Commu_PtpReader::fits(m_size, offset, w)) {
        *ok = false;
        return 0;
    }
    switch (dataType()) {
        case PTP::TypeINT8:
            return static_cast<qint8>(OLP_Commu_PtpReader::readU8(m_data, m_size, offset));
        case PTP::TypeUINT8:
            return OLP_Commu_PtpReader::readU8(m_data, m_size, offset);
        case PTP::TypeINT16:
            return static_cast<qint16>(OLP_Commu_PtpReader::readU16(m_data, m_size, offset));
        case PTP::TypeUINT16:
            return OLP_Commu_PtpReader::readU16(m_data, m_size, offset);
        default:
            return static_cast<qint32>(OLP_Commu_PtpReader::readU32(m_data, m_size, offset));
    }
}

qint64 OLP_Commu_DevicePropDesc::currentValue() const
{
    bool ok = true;
    return valueAt(5 + quint64(width()), &ok);
}

bool OLP_Commu_DevicePropDesc::acceptsValue(qint32 value, const char* callerName) const
{
    const quint16 type = dataType();
    const quint64 w = widthOf(type);
    if (w == 0) {
        debugPrintf(0, "%s - Device Property Desc: unknown dataType 0x%04X", callerName, type);
        return false;
    }
    const quint64 formOffset = 5 + 2 * w;
    const quint8 form = formFlag();
    switch (form) {
        case PTP::FormNone:
            return false;
        case PTP::FormRange: {
            bool ok = true;
            const qint64 min = valueAt(formOffset + 1, &ok);
            const qint64 max = valueAt(formOffset + 1 + w, &ok);
            const qint64 step = valueAt(formOffset + 1 + 2 * w, &ok);
            if (!ok) {
                return false;
            }
            if (value < min || value > max) {
                return false;
            }
            if (step == 0) {
                return value == min;
            }
            return (qint64(value) - min) % step == 0;
        }
        case PTP::FormEnum: {
            const quint16 count = OLP_Commu_PtpReader::readU16(m_data, m_size, formOffset + 1);
            const quint64 first = formOffset + 3;
            for (quint32 i = 0; i < count; ++i) {
                bool ok = true;
                const qint64 stored = valueAt(first + i * w, &ok);
                if (!ok) {
                    // the camera claimed more values than arrived
                    return false;
                }
                if (stored == value) {
                    return true;
                }
            }
            return false;
        }
        default:
            debugPrintf(0, "%s - Device Property Desc: unknown formFlag 0x%02X with dataType 0x%04X", callerName, form,
                        type);
            return false;
    }
}
