#include "OLP_Commu_UsbPort.h"

namespace {
QString hex4(quint16 value)
{
    return QString::number(value, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}
}  // namespace

QString OLP_Commu_UsbPort::makeDeviceId(quint16 vendorId, quint16 productId, const QString& bus,
                                        const QString& portPath, int address)
{
    return QStringLiteral("usb\\vid_%1&pid_%2\\%3-%4:%5")
        .arg(hex4(vendorId), hex4(productId), bus, portPath, QString::number(address));
}
