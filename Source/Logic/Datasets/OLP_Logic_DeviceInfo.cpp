#include "OLP_Logic_DeviceInfo.h"

#include <algorithm>

#include "OLP_Commu_CameraAccess_Base.h"
#include "OLP_Commu_PtpReader.h"
#include "OLP_Debug.h"

namespace {
constexpr eDebugFlag DumpFlag = 0x200;
constexpr quint64 VendorExtensionDescOffset = 8;
}  // namespace

OLP_Logic_DeviceInfo::OLP_Logic_DeviceInfo(OLP_Commu_CameraAccess_Base* access)
    : m_access(access), m_buffer(BufferSize, 0)
{
    std::fill(std::begin(m_offsets), std::end(m_offsets), Absent);
    recvFromCamera();
}

OLP_Logic_DeviceInfo::~OLP_Logic_DeviceInfo() = default;

void OLP_Logic_DeviceInfo::clear()
{
    std::fill(std::begin(m_offsets), std::end(m_offsets), Absent);
    m_functionalModeOffset = Absent;
    std::fill(m_buffer.begin(), m_buffer.end(), 0);
}

void OLP_Logic_DeviceInfo::recvFromCamera()
{
    clear();
    if (m_access != nullptr && m_access->getDeviceInfo(m_buffer.data(), BufferSize)) {
        walk();
    } else {
        std::fill(m_buffer.begin(), m_buffer.end(), 0);
    }
    if (isDebugEnabled(DumpFlag)) {
        dump("OLP_Logic_DeviceInfo::recvFromCamera");
    }
}

// The cameras send an empty VendorExtensionDesc, but a description is skipped
// by its count byte rather than assumed away, and every count is checked
// against the buffer before the walk moves on.
void OLP_Logic_DeviceInfo::walk()
{
    OLP_Commu_PtpReader reader(m_buffer.data(), BufferSize, VendorExtensionDescOffset);
    const quint8 descCount = reader.u8();
    reader.skip(quint64(descCount) * 2);
    m_functionalModeOffset = qint32(reader.offset());
    reader.u16();
    if (!reader.ok()) {
        m_functionalModeOffset = Absent;
        return;
    }
    for (int field = OperationsSupported; field < FirstString; ++field) {
        const quint64 position = reader.offset();
        reader.array16();
        if (!reader.ok()) {
            return;
        }
        m_offsets[field] = qint32(position);
    }
    for (int field = FirstString; field < FieldCount; ++field) {
        const quint64 position = reader.offset();
        reader.string();
        if (!reader.ok()) {
            return;
        }
        m_offsets[field] = qint32(position);
    }
}

QString OLP_Logic_DeviceInfo::stringAt(Field field) const
{
    if (m_offsets[field] == Absent) {
        return QString();
    }
    OLP_Commu_PtpReader reader(m_buffer.data(), BufferSize, quint64(m_offsets[field]));
    QString text = reader.string();
    return reader.ok() ? text : QString();
}

QVector<quint16> OLP_Logic_DeviceInfo::arrayAt(Field field) const
{
    if (m_offsets[field] == Absent) {
        return QVector<quint16>();
    }
    OLP_Commu_PtpReader reader(m_buffer.data(), BufferSize, quint64(m_offsets[field]));
    return reader.array16();
}

bool OLP_Logic_DeviceInfo::arrayContains(Field field, quint16 code) const
{
    const QVector<quint16> codes = arrayAt(field);
    for (int i = codes.size() - 1; i >= 0; --i) {
        if (codes.at(i) == code) {
            return true;
        }
    }
    return false;
}

QString OLP_Logic_DeviceInfo::manufacturer() const
{
    return stringAt(Manufacturer);
}

QString OLP_Logic_DeviceInfo::model() const
{
    return stringAt(Model);
}

QString OLP_Logic_DeviceInfo::deviceVersion() const
{
    return stringAt(DeviceVersion);
}

QString OLP_Logic_DeviceInfo::serialNumber() const
{
    return stringAt(SerialNumber);
}

bool OLP_Logic_DeviceInfo::isDevicePropSupported(quint16 propertyCode) const
{
    return arrayContains(DevicePropertiesSupported, propertyCode);
}

bool OLP_Logic_DeviceInfo::isOperationSupported(quint16 operationCode) const
{
    return arrayContains(OperationsSupported, operationCode);
}

bool OLP_Logic_DeviceInfo::isEventSupported(quint16 eventCode) const
{
    return arrayContains(EventsSupported, eventCode);
}

QVector<quint16> OLP_Logic_DeviceInfo::operationsSupported() const
{
    return arrayAt(OperationsSupported);
}

QVector<quint16> OLP_Logic_DeviceInfo::eventsSupported() const
{
    return arrayAt(EventsSupported);
}

QVector<quint16> OLP_Logic_DeviceInfo::devicePropertiesSupported() const
{
    return arrayAt(DevicePropertiesSupported);
}

QVector<quint16> OLP_Logic_DeviceInfo::captureFormats() const
{
    return arrayAt(CaptureFormats);
}

QVector<quint16> OLP_Logic_DeviceInfo::imageFormats() const
{
    return arrayAt(ImageFormats);
}

// The labels are padded to one column: "%-24s" gives the same lines as the
// fixed texts "operationsSupported     = #%2d" and so on.
void OLP_Logic_DeviceInfo::dumpArray(Field field, const char* label) const
{
    if (m_offsets[field] == Absent) {
        return;
    }
    static const char* const name = "OLP_Logic_DeviceInfo::dump";
    const QVector<quint16> codes = arrayAt(field);
    debugPrintf(0, "%s - %-24s= #%2d", name, label, codes.size());
    for (const quint16 code : codes) {
        debugPrintf(0, "%s - %-24s: 0x%04X", name, label, unsigned(code));
    }
}

void OLP_Logic_DeviceInfo::dumpString(Field field, const char* label) const
{
    if (m_offsets[field] == Absent) {
        return;
    }
    const QByteArray text = printableAscii(stringAt(field).toLatin1());
    debugPrintf(0, "%s - %-24s= \"%s\"", "OLP_Logic_DeviceInfo::dump", label, text.constData());
}

void OLP_Logic_DeviceInfo::dump(const char* callerName) const
{
    static const char* const name = "OLP_Logic_DeviceInfo::dump";
    const quint8* data = m_buffer.data();
    dumpBuffer(QStringLiteral("%1 for %2:").arg(QLatin1String(name), QLatin1String(callerName ? callerName : "")),
               QStringLiteral("deviceInfo"), data, BufferSize, 16, 16);

    const quint64 functionalModeOffset =
        m_functionalModeOffset == Absent ? VendorExtensionDescOffset + 1 : quint64(m_functionalModeOffset);
    debugPrintf(0, "%s - standardVersion         = %d", name, int(OLP_Commu_PtpReader::readU16(data, BufferSize, 0)));
    debugPrintf(0, "%s - vendorExtensionID       = %d", name, int(OLP_Commu_PtpReader::readU32(data, BufferSize, 2)));
    debugPrintf(0, "%s - vendorExtensionVersion  = %d", name, int(OLP_Commu_PtpReader::readU16(data, BufferSize, 6)));
    debugPrintf(0, "%s - vendorExtensionDescSize = %d", name,
                int(OLP_Commu_PtpReader::readU8(data, BufferSize, VendorExtensionDescOffset)));
    debugPrintf(0, "%s - functionalMode          = %d", name,
                int(OLP_Commu_PtpReader::readU16(data, BufferSize, functionalModeOffset)));

    dumpArray(OperationsSupported, "operationsSupported");
    dumpArray(EventsSupported, "eventsSupported");
    dumpArray(DevicePropertiesSupported, "devicePropsSupported");
    dumpArray(CaptureFormats, "captureFormats");
    dumpArray(ImageFormats, "imageFormats");

    dumpString(Manufacturer, "manufacturer");
    dumpString(Model, "model");
    dumpString(DeviceVersion, "deviceVersion");
    dumpString(SerialNumber, "serialNumber");
}
