#include "OLP_Test_PropertyAccess.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr quint32 kGetDeviceInfo = 0x1001;
constexpr quint32 kGetDevicePropDesc = 0x1014;
constexpr quint32 kGetDevicePropValue = 0x1015;
constexpr quint32 kSetDevicePropValue = 0x1016;
}  // namespace

OLP_Test_PropertyAccess::OLP_Test_PropertyAccess(quint32 productId, QObject* parent)
    : OLP_Commu_CameraAccess_Base(1, parent)
{
    setConnectedProduct(productId);
}

void OLP_Test_PropertyAccess::setConnectedProduct(quint32 productId)
{
    if (productId == 0) {
        clearConnectionState();
    } else {
        setProductId(productId);
    }
}

QByteArray OLP_Test_PropertyAccess::littleEndian(qint64 value, int width)
{
    QByteArray bytes;
    for (int i = 0; i < width; ++i) {
        bytes.append(char(quint8(quint64(value) >> (8 * i))));
    }
    return bytes;
}

void OLP_Test_PropertyAccess::setProperty(quint16 code, const QByteArray& bytes)
{
    QMutexLocker lock(&m_mutex);
    m_properties.insert(code, bytes);
}

void OLP_Test_PropertyAccess::setPropertyValue(quint16 code, qint64 value, int width)
{
    setProperty(code, littleEndian(value, width));
}

QByteArray OLP_Test_PropertyAccess::property(quint16 code) const
{
    QMutexLocker lock(&m_mutex);
    return m_properties.value(code);
}

void OLP_Test_PropertyAccess::setDefaultAnswer(const QByteArray& bytes)
{
    QMutexLocker lock(&m_mutex);
    m_defaultAnswer = bytes;
}

void OLP_Test_PropertyAccess::setReadFailure(quint16 code, bool fail)
{
    QMutexLocker lock(&m_mutex);
    if (fail) {
        m_readFailures.insert(code);
    } else {
        m_readFailures.remove(code);
    }
}

void OLP_Test_PropertyAccess::setWriteFailure(quint16 code, bool fail)
{
    QMutexLocker lock(&m_mutex);
    if (fail) {
        m_writeFailures.insert(code);
    } else {
        m_writeFailures.remove(code);
    }
}

void OLP_Test_PropertyAccess::setDescriptor(quint16 code, const QByteArray& bytes)
{
    QMutexLocker lock(&m_mutex);
    m_descriptors.insert(code, bytes);
}

void OLP_Test_PropertyAccess::setDeviceInfo(const QByteArray& bytes)
{
    QMutexLocker lock(&m_mutex);
    m_deviceInfo = bytes;
}

QList<OLP_Test_PropertyAccess::Read> OLP_Test_PropertyAccess::reads() const
{
    QMutexLocker lock(&m_mutex);
    return m_reads;
}

QList<quint16> OLP_Test_PropertyAccess::readCodes() const
{
    QMutexLocker lock(&m_mutex);
    QList<quint16> codes;
    for (const Read& read : m_reads) {
        codes.append(read.code);
    }
    return codes;
}

QList<OLP_Test_PropertyAccess::Write> OLP_Test_PropertyAccess::writes() const
{
    QMutexLocker lock(&m_mutex);
    return m_writes;
}

void OLP_Test_PropertyAccess::clearRecord()
{
    QMutexLocker lock(&m_mutex);
    m_reads.clear();
    m_writes.clear();
}

bool OLP_Test_PropertyAccess::openConnection(quint64, int productId, const QString&)
{
    if (this->productId() != 0) {
        return false;
    }
    setProductId(quint32(productId));
    emit signalConnectionOpened(connectionType());
    return true;
}

bool OLP_Test_PropertyAccess::closeConnection()
{
    if (productId() == 0) {
        return false;
    }
    clearConnectionState();
    emit signalConnectionClosed(connectionType());
    return true;
}

bool OLP_Test_PropertyAccess::checkDeviceAvailable()
{
    return false;
}

bool OLP_Test_PropertyAccess::recvData(quint32 operationCode, quint32 paramCount, const quint32* params, quint8* buffer,
                                       quint32 dataSize, const char*, quint32* received)
{
    if (received) {
        *received = 0;
    }
    if (buffer && dataSize) {
        memset(buffer, 0, dataSize);
    }
    const quint16 code = quint16(paramCount > 0 && params ? params[0] : 0);
    QMutexLocker lock(&m_mutex);
    QByteArray answer;
    if (operationCode == kGetDevicePropValue) {
        m_reads.append(Read{code, dataSize});
        if (m_readFailures.contains(code)) {
            return false;
        }
        answer = m_properties.value(code, m_defaultAnswer);
    } else if (operationCode == kGetDevicePropDesc) {
        answer = m_descriptors.value(code);
    } else if (operationCode == kGetDeviceInfo) {
        answer = m_deviceInfo;
    }
    if (answer.isEmpty()) {
        return false;
    }
    const quint32 kept = buffer ? std::min(dataSize, quint32(answer.size())) : 0;
    if (kept) {
        memcpy(buffer, answer.constData(), kept);
    }
    if (received) {
        *received = kept;
    }
    return true;
}

bool OLP_Test_PropertyAccess::sendCommand(quint32, quint32, const quint32*, const char*)
{
    return true;
}

bool OLP_Test_PropertyAccess::sendData(quint32 operationCode, quint32 paramCount, const quint32* params,
                                       const quint8* buffer, quint32 dataSize, const char*)
{
    if (operationCode != kSetDevicePropValue) {
        return true;
    }
    const quint16 code = quint16(paramCount > 0 && params ? params[0] : 0);
    const QByteArray bytes(reinterpret_cast<const char*>(buffer), int(dataSize));
    QMutexLocker lock(&m_mutex);
    m_writes.append(Write{code, bytes});
    if (m_writeFailures.contains(code)) {
        return false;
    }
    m_properties.insert(code, bytes);
    return true;
}
