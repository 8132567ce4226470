#pragma once

#include <QtGlobal>

// The DevicePropDesc dataset (answer to GetDevicePropDesc) read from a
// received buffer. Only the bytes that arrived are looked at: a descriptor
// whose counts point past them never causes a read outside the buffer.
class OLP_Commu_DevicePropDesc
{
public:
    // size: the bytes that hold the descriptor (received, at most the buffer).
    OLP_Commu_DevicePropDesc(const quint8* data, quint32 size);

    quint16 propertyCode() const;
    quint16 dataType() const;
    // 1, 2 or 4 for the six integer types, 0 for any other type.
    quint32 width() const;
    quint8 formFlag() const;
    qint64 currentValue() const;

    // True when value is one the descriptor offers. Logs the unknown data type
    // and unknown form lines under callerName. A range whose step is 0 accepts
    // only its minimum; all arithmetic is 64-bit.
    bool acceptsValue(qint32 value, const char* callerName) const;

    static quint32 widthOf(quint16 dataType);

private:
    // The value at offset widened by the data type's signedness; the 32-bit
    // types are both read as signed. ok is cleared when it does not fit.
    qint64 valueAt(quint64 offset, bool* ok) const;

    const quint8* m_data;
    quint32 m_size;
};
