#pragma once

#include <QString>
#include <QVector>
#include <QtGlobal>
#include <vector>

class OLP_Commu_CameraAccess_Base;

// The camera's PTP DeviceInfo dataset, read once per connection: the raw answer
// in a 2048-byte buffer, the manufacturer, model, device version and serial
// number, and lookups in the supported operation, event and property lists.
//
// The walk over the dataset never leaves the buffer: a description, list or
// string whose count runs past the end leaves that field and every field after
// it absent (null strings, empty lists).
//
// Thread: used in the thread of the camera model that creates it; not shared.
// Holds the access object without owning it.
class OLP_Logic_DeviceInfo
{
public:
    static constexpr quint32 BufferSize = 2048;

    // Reads the dataset immediately.
    explicit OLP_Logic_DeviceInfo(OLP_Commu_CameraAccess_Base* access);
    ~OLP_Logic_DeviceInfo();
    OLP_Logic_DeviceInfo(const OLP_Logic_DeviceInfo&) = delete;
    OLP_Logic_DeviceInfo& operator=(const OLP_Logic_DeviceInfo&) = delete;

    void recvFromCamera();

    // Null while the string is absent (failed read or dataset cut short).
    QString manufacturer() const;
    QString model() const;
    QString deviceVersion() const;
    QString serialNumber() const;

    bool isDevicePropSupported(quint16 propertyCode) const;
    bool isOperationSupported(quint16 operationCode) const;
    bool isEventSupported(quint16 eventCode) const;

    QVector<quint16> operationsSupported() const;
    QVector<quint16> eventsSupported() const;
    QVector<quint16> devicePropertiesSupported() const;
    QVector<quint16> captureFormats() const;
    QVector<quint16> imageFormats() const;

    void dump(const char* callerName) const;

    const quint8* buffer() const { return m_buffer.data(); }

private:
    enum Field
    {
        OperationsSupported,
        EventsSupported,
        DevicePropertiesSupported,
        CaptureFormats,
        ImageFormats,
        Manufacturer,
        Model,
        DeviceVersion,
        SerialNumber,
        FieldCount
    };
    static constexpr qint32 Absent = -1;
    static constexpr int FirstString = Manufacturer;

    void clear();
    void walk();
    QString stringAt(Field field) const;
    QVector<quint16> arrayAt(Field field) const;
    bool arrayContains(Field field, quint16 code) const;
    void dumpArray(Field field, const char* label) const;
    void dumpString(Field field, const char* label) const;

    OLP_Commu_CameraAccess_Base* m_access;
    // Heap block of exactly BufferSize bytes, so a sanitizer sees any overrun.
    std::vector<quint8> m_buffer;
    // Offset of each field's count (array) or count byte (string); Absent while unknown.
    qint32 m_offsets[FieldCount];
    qint32 m_functionalModeOffset = Absent;
};
