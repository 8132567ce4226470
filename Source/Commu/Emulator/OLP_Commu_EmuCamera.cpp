#include "OLP_Commu_EmuCamera.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <thread>

#include "OLP_Commu_EmuDataset.h"
#include "OLP_Commu_EmuDevPropCamera.h"
#include "OLP_Commu_EmuSettingsStruct.h"
#include "OLP_Commu_EmuWire.h"

namespace {

using Clock = std::chrono::steady_clock;

QString hex(quint32 value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

QByteArray container(quint16 type, quint16 code, quint32 transactionId, const QVector<quint32>& params)
{
    OLP_Commu_EmuDataset c;
    c.u32(EmuWire::HeaderSize + 4 * static_cast<quint32>(params.size())).u16(type).u16(code).u32(transactionId);
    for (quint32 p : params) {
        c.u32(p);
    }
    return c.data();
}

qint64 signExtend(quint64 raw, quint16 dataType)
{
    switch (dataType) {
        case EmuWire::Int8:
            return static_cast<qint8>(raw);
        case EmuWire::Int16:
            return static_cast<qint16>(raw);
        case EmuWire::Int32:
            return static_cast<qint32>(raw);
        default:
            return static_cast<qint64>(raw);
    }
}

bool isReleaseOperation(quint16 code)
{
    switch (code) {
        case EmuWire::Release:
        case EmuWire::InitiateCapture:
        case EmuWire::AutoFocus:
        case EmuWire::BulbExposure:
        case EmuWire::ContinuousExposure:
        case EmuWire::VideoRecording:
        case EmuWire::PhotoLiveView:
        case EmuWire::KeepActive:
        case EmuWire::MoveLens:
        case EmuWire::ZoomMode:
        case EmuWire::FocusCross:
        case EmuWire::LiveViewWhiteBalance:
            return true;
        default:
            return false;
    }
}

}  // namespace

// ---- construction and identity ------------------------------------------------------------------

OLP_Commu_EmuCamera::OLP_Commu_EmuCamera(quint16 productId)
    : OLP_Commu_EmuCamera(OLP_Commu_EmuProfile::forProduct(productId))
{}

OLP_Commu_EmuCamera::OLP_Commu_EmuCamera(const OLP_Commu_EmuProfile& profile)
    : m_profile(profile),
      m_capture(profile.productId, profile.model),
      m_liveView(profile.liveViewWidth, profile.liveViewHeight)
{}

OLP_Commu_EmuCamera::~OLP_Commu_EmuCamera() = default;

quint16 OLP_Commu_EmuCamera::vendorId() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_profile.vendorId;
}

quint16 OLP_Commu_EmuCamera::productId() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_profile.productId;
}

OLP_Commu_EmuProfile OLP_Commu_EmuCamera::profile() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_profile;
}

quint32 OLP_Commu_EmuCamera::bulkPacketSize() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_pipe.packetSize();
}

void OLP_Commu_EmuCamera::setBulkPacketSize(quint32 size)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pipe.setPacketSize(size);
}

// ---- the cable ----------------------------------------------------------------------------------

bool OLP_Commu_EmuCamera::isPlugged() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_plugged;
}

int OLP_Commu_EmuCamera::address() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_address;
}

void OLP_Commu_EmuCamera::unplug()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_plugged = false;
    m_claimToken = 0;
    m_sessionOpen = false;
    m_vendorSessionOpen = false;
    m_sessionLostByCamera = false;
    m_busyStatus = 0;
    m_lastTransactionId = 0;
    m_events.clear();
    m_sequences.reset();
    resetPipes();
    m_changed.notify_all();
}

void OLP_Commu_EmuCamera::replug()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_plugged) {
        return;
    }
    m_plugged = true;
    m_address = m_address >= 127 ? 1 : m_address + 1;
    m_changed.notify_all();
}

// ---- the USB function ---------------------------------------------------------------------------

bool OLP_Commu_EmuCamera::tokenValid(quint64 token) const
{
    return m_plugged && token != 0 && token == m_claimToken;
}

eUsbError OLP_Commu_EmuCamera::claim(quint64* token)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_plugged) {
        return eUsbError::NoDevice;
    }
    if (m_accessDenied) {
        return eUsbError::Access;
    }
    if (!m_stillImageInterface) {
        return eUsbError::NotSupported;
    }
    if (m_interfaceBusy || m_claimToken != 0) {
        return eUsbError::Busy;
    }
    m_claimToken = m_nextToken++;
    *token = m_claimToken;
    return eUsbError::Ok;
}

void OLP_Commu_EmuCamera::release(quint64 token)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (token != 0 && token == m_claimToken) {
        m_claimToken = 0;
        resetPipes();
        m_changed.notify_all();
    }
}

void OLP_Commu_EmuCamera::resetPipes()
{
    m_pipe.clear();
    m_dataOutActive = false;
    m_dataOutHeaderSeen = false;
    m_dataOut.clear();
    m_dataOutAnswer = 0;
    m_expectZeroLengthPacket = false;
    m_discardUntilShort = false;
    for (bool& halted : m_halted) {
        halted = false;
    }
}

void OLP_Commu_EmuCamera::protocolError(const QString& text)
{
    m_protocolErrors.append(text);
}

eUsbError OLP_Commu_EmuCamera::bulkOut(quint64 token, const quint8* data, quint32 size, quint32* written, int timeoutMs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    *written = 0;
    m_lastTimeout[BulkOut] = timeoutMs;
    if (!tokenValid(token)) {
        return eUsbError::NoDevice;
    }
    if (m_halted[BulkOut]) {
        return eUsbError::Stall;
    }
    if (m_stallNext[BulkOut]) {
        m_stallNext[BulkOut] = false;
        m_halted[BulkOut] = true;
        return eUsbError::Stall;
    }
    *written = size;
    const bool shortEnd = size == 0 || size % m_pipe.packetSize() != 0;
    if (m_discardUntilShort) {
        m_discardUntilShort = !shortEnd;
        return eUsbError::Ok;
    }
    if (m_dataOutActive) {
        takeDataOut(data, size, shortEnd);
        m_changed.notify_all();
        return eUsbError::Ok;
    }
    if (m_expectZeroLengthPacket) {
        m_expectZeroLengthPacket = false;
        if (size == 0) {
            return eUsbError::Ok;
        }
        protocolError(QStringLiteral("no zero-length packet after a data phase of whole packets"));
    }
    if (size == 0) {
        protocolError(QStringLiteral("zero-length packet outside a data phase"));
        return eUsbError::Ok;
    }
    if (size < EmuWire::HeaderSize) {
        protocolError(QStringLiteral("container of %1 bytes").arg(size));
        return eUsbError::Ok;
    }
    const quint16 type = qFromLittleEndian<quint16>(data + 4);
    if (type == EmuWire::ContainerCommand) {
        processCommand(data, size);
    } else {
        protocolError(type == EmuWire::ContainerData
                          ? QStringLiteral("data container for an operation without a host data phase")
                          : QStringLiteral("container of type %1 from the host").arg(type));
        m_discardUntilShort = !shortEnd;
    }
    m_changed.notify_all();
    return eUsbError::Ok;
}

eUsbError OLP_Commu_EmuCamera::bulkIn(quint64 token, quint8* data, quint32 size, quint32* received, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    *received = 0;
    m_lastTimeout[BulkIn] = timeoutMs;
    if (!tokenValid(token)) {
        return eUsbError::NoDevice;
    }
    if (m_halted[BulkIn]) {
        return eUsbError::Stall;
    }
    if (m_stallNext[BulkIn]) {
        // The camera aborts the transaction and halts the endpoint.
        m_stallNext[BulkIn] = false;
        m_halted[BulkIn] = true;
        m_pipe.clear();
        return eUsbError::Stall;
    }
    if (m_dataOutActive) {
        protocolError(
            QStringLiteral("host reads during its own data phase of operation %1").arg(hex(m_dataOutRequest.code)));
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    ++m_waiting[BulkIn];
    Clock::time_point due;
    bool ready = false;
    while (tokenValid(token) && !m_halted[BulkIn]) {
        const Clock::time_point now = Clock::now();
        ready = m_pipe.isReady(now, &due);
        if (ready || now >= deadline) {
            break;
        }
        // A held answer (an exposure) wakes the read when it is due.
        const Clock::time_point wake = m_pipe.isEmpty() ? deadline : std::min(deadline, due);
        m_changed.wait_until(lock, wake);
    }
    --m_waiting[BulkIn];
    if (!tokenValid(token)) {
        return eUsbError::NoDevice;
    }
    if (m_halted[BulkIn]) {
        return eUsbError::Stall;
    }
    if (!ready) {
        return eUsbError::Timeout;
    }
    const eUsbError result = m_pipe.read(data, size, received);
    if (result != eUsbError::Ok || m_bulkInRate == 0 || *received == 0) {
        return result;
    }
    // The bytes have left the camera's queue; the host sees them once they
    // have crossed the slow link.
    const auto onWire = std::chrono::microseconds(quint64(*received) * 1000000u / m_bulkInRate);
    const Clock::time_point arrival = Clock::now() + onWire;
    const Clock::time_point until = std::min(arrival, deadline);
    ++m_waiting[BulkIn];
    while (tokenValid(token) && Clock::now() < until) {
        m_changed.wait_until(lock, until);
    }
    --m_waiting[BulkIn];
    if (!tokenValid(token)) {
        *received = 0;
        return eUsbError::NoDevice;
    }
    if (arrival > deadline) {
        *received = 0;
        return eUsbError::Timeout;
    }
    return eUsbError::Ok;
}

eUsbError OLP_Commu_EmuCamera::interruptIn(quint64 token, quint8* data, quint32 size, quint32* received, int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    *received = 0;
    m_lastTimeout[Interrupt] = timeoutMs;
    if (!tokenValid(token)) {
        return eUsbError::NoDevice;
    }
    if (m_halted[Interrupt]) {
        return eUsbError::Stall;
    }
    if (m_stallNext[Interrupt]) {
        m_stallNext[Interrupt] = false;
        m_halted[Interrupt] = true;
        return eUsbError::Stall;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    ++m_waiting[Interrupt];
    eUsbError result = eUsbError::Timeout;
    for (;;) {
        if (!tokenValid(token)) {
            result = eUsbError::NoDevice;
            break;
        }
        const Clock::time_point now = Clock::now();
        if (!m_events.empty() && m_events.front().due <= now) {
            const QByteArray bytes = m_events.front().bytes;
            m_events.pop_front();
            const quint32 n = std::min<quint32>(size, static_cast<quint32>(bytes.size()));
            std::copy(bytes.constData(), bytes.constData() + n, data);
            *received = n;
            result = static_cast<quint32>(bytes.size()) > size ? eUsbError::Overflow : eUsbError::Ok;
            break;
        }
        if (now >= deadline) {
            break;
        }
        const Clock::time_point wake = m_events.empty() ? deadline : std::min(deadline, m_events.front().due);
        m_changed.wait_until(lock, wake);
    }
    --m_waiting[Interrupt];
    return result;
}

eUsbError OLP_Commu_EmuCamera::clearHalt(quint64 token, eEndpoint endpoint)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!tokenValid(token)) {
        return eUsbError::NoDevice;
    }
    if (m_halted[endpoint] && m_busyStatus > 0) {
        protocolError(QStringLiteral("halt cleared while the camera reports busy"));
    }
    m_halted[endpoint] = false;
    ++m_clearHaltCount[endpoint];
    return eUsbError::Ok;
}

eUsbError OLP_Commu_EmuCamera::classCancel(quint64 token, quint32 transactionId)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!tokenValid(token)) {
        return eUsbError::NoDevice;
    }
    Q_UNUSED(transactionId);
    resetPipes();
    m_changed.notify_all();
    return eUsbError::Ok;
}

eUsbError OLP_Commu_EmuCamera::classDeviceStatus(quint64 token, quint16* responseCode)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!tokenValid(token)) {
        return eUsbError::NoDevice;
    }
    ++m_deviceStatusRequests;
    if (responseCode) {
        *responseCode = m_busyStatus > 0 ? EmuWire::DeviceBusy : EmuWire::Ok;
    }
    if (m_busyStatus > 0) {
        --m_busyStatus;
    }
    return eUsbError::Ok;
}

eUsbError OLP_Commu_EmuCamera::classReset(quint64 token)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!tokenValid(token)) {
        return eUsbError::NoDevice;
    }
    ++m_resetCount;
    resetPipes();
    if (m_sessionLostOnReset && m_sessionOpen) {
        m_sessionOpen = false;
        m_vendorSessionOpen = false;
        m_sessionLostByCamera = true;
    }
    m_changed.notify_all();
    return eUsbError::Ok;
}

// ---- the PTP responder --------------------------------------------------------------------------

const QVector<OLP_Commu_EmuCamera::Operation>& OLP_Commu_EmuCamera::operationTable()
{
    using namespace EmuWire;
    using C = OLP_Commu_EmuCamera;
    static const QVector<Operation> table = {
        {GetDeviceInfo, DataIn, 0, 0, false, false, &C::opGetDeviceInfo},
        {OpenSession, DataNone, 1, 1, false, false, &C::opOpenSession},
        {CloseSession, DataNone, 0, 0, true, false, &C::opCloseSession},
        {GetStorageIDs, DataIn, 0, 0, true, false, &C::opGetStorageIDs},
        {GetStorageInfo, DataIn, 1, 1, true, false, &C::opGetStorageInfo},
        {GetNumObjects, DataNone, 1, 3, true, false, &C::opGetNumObjects},
        {GetObjectHandles, DataIn, 1, 3, true, false, &C::opGetObjectHandles},
        {GetObjectInfo, DataIn, 1, 2, true, false, &C::opGetObjectInfo},
        {GetThumb, DataIn, 1, 2, true, false, &C::opGetThumb},
        {GetObject, DataIn, 1, 1, true, false, &C::opGetObject},
        {DeleteObject, DataNone, 1, 2, true, false, &C::opAccept},
        {InitiateCapture, DataNone, 0, 2, true, false, &C::opRecorded},
        {GetDevicePropDesc, DataIn, 1, 1, true, false, &C::opGetPropDesc},
        {GetDevicePropValue, DataIn, 1, 1, true, false, &C::opGetPropValue},
        {SetDevicePropValue, DataOut, 1, 1, true, false, &C::opSetPropValue},
        {GetPartialObject, DataIn, 3, 3, true, false, &C::opGetPartialObject},
        {GetStreamInfo, DataIn, 0, 1, true, false, &C::opGetStreamInfo},
        {WriteSettings, DataOut, 0, 0, true, true, &C::opWriteSettings},
        {ReadSettings, DataIn, 0, 0, true, true, &C::opReadSettings},
        {ReadLens, DataIn, 0, 0, true, true, &C::opReadLens},
        {Release, DataNone, 1, 3, true, true, &C::opRecorded},
        {OpenVendorSession, DataNone, 1, 1, true, false, &C::opOpenVendorSession},
        {CloseVendorSession, DataNone, 1, 1, true, false, &C::opCloseVendorSession},
        {ObjectTransferReady, DataNone, 0, 0, true, true, &C::opObjectTransferReady},
        {ReadGeotagging, DataIn, 0, 0, true, true, &C::opReadGeotagging},
        {AutoFocus, DataNone, 1, 2, true, true, &C::opRecorded},
        {BulbExposure, DataNone, 1, 1, true, true, &C::opRecorded},
        {ContinuousExposure, DataNone, 1, 1, true, true, &C::opRecorded},
        {VideoRecording, DataNone, 1, 1, true, true, &C::opRecorded},
        {PhotoLiveView, DataNone, 1, 1, true, true, &C::opRecorded},
        {KeepActive, DataNone, 0, 0, true, true, &C::opRecorded},
        {MoveLens, DataNone, 2, 2, true, true, &C::opRecorded},
        {Read3DAxis, DataIn, 0, 0, true, true, &C::opRead3DAxis},
        {ZoomMode, DataNone, 0, 1, true, true, &C::opRecorded},
        {FocusCross, DataNone, 2, 2, true, true, &C::opRecorded},
        {LiveViewWhiteBalance, DataNone, 1, 1, true, true, &C::opRecorded},
        {OLP_Commu_EmuLiveView::GetStreamData, DataIn, 0, 0, true, true, &C::opGetStreamData},
        {GetObjectPropsSupported, DataIn, 1, 1, true, false, &C::opGetObjectPropsSupported},
        {GetObjectPropValue, DataIn, 2, 2, true, false, &C::opGetObjectPropValue},
    };
    return table;
}

bool OLP_Commu_EmuCamera::offers(const Operation& op) const
{
    if (m_profile.missingOperations.contains(op.code)) {
        return false;
    }
    switch (op.code) {
        case EmuWire::WriteSettings:
        case EmuWire::ReadSettings:
            return m_profile.hasSettingsStructure;
        case EmuWire::Release:
            return m_profile.hasReleaseOperation;
        case OLP_Commu_EmuLiveView::GetStreamData:
            return m_profile.hasLiveView;
        case EmuWire::GetObjectPropsSupported:
        case EmuWire::GetObjectPropValue:
            return m_capture.options().orientationProperty;
        default:
            return true;
    }
}

const OLP_Commu_EmuCamera::Operation* OLP_Commu_EmuCamera::findOperation(quint16 code) const
{
    for (const Operation& op : operationTable()) {
        if (op.code == code) {
            return offers(op) ? &op : nullptr;
        }
    }
    return nullptr;
}

QVector<quint16> OLP_Commu_EmuCamera::supportedOperations() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    QVector<quint16> codes;
    for (const Operation& op : operationTable()) {
        if (offers(op)) {
            codes.append(op.code);
        }
    }
    return codes;
}

void OLP_Commu_EmuCamera::processCommand(const quint8* data, quint32 size)
{
    const quint32 length = qFromLittleEndian<quint32>(data);
    if (length != size || length > EmuWire::HeaderSize + 20 || (length - EmuWire::HeaderSize) % 4 != 0) {
        protocolError(QStringLiteral("malformed command container: length %1 in %2 bytes").arg(length).arg(size));
        return;
    }
    Request request;
    request.code = qFromLittleEndian<quint16>(data + 6);
    request.transactionId = qFromLittleEndian<quint32>(data + 8);
    for (quint32 offset = EmuWire::HeaderSize; offset < length; offset += 4) {
        request.params.append(qFromLittleEndian<quint32>(data + offset));
    }
    ++m_totalRequests;
    ++m_requestCounts[request.code];
    if (m_requestSequence.size() >= 1000) {
        m_requestSequence.removeFirst();
    }
    m_requestSequence.append(request.code);
    m_lastRequest = request;

    if (request.code == EmuWire::OpenSession) {
        if (request.transactionId != 0) {
            protocolError(QStringLiteral("OpenSession with transaction ID %1").arg(request.transactionId));
        }
    } else if (request.transactionId != m_lastTransactionId + 1 &&
               !(request.code == EmuWire::GetDeviceInfo && !m_sessionOpen && request.transactionId == 0)) {
        protocolError(QStringLiteral("operation %1 with transaction ID %2 after %3")
                          .arg(hex(request.code))
                          .arg(request.transactionId)
                          .arg(m_lastTransactionId));
    }
    m_lastTransactionId = request.transactionId;

    const Operation* op = findOperation(request.code);
    if (!op) {
        Reply reply;
        reply.code = EmuWire::OperationNotSupported;
        sendReply(request, reply, false);
        return;
    }
    quint16 answer = 0;
    if (request.params.size() < op->minParams || request.params.size() > op->maxParams) {
        protocolError(
            QStringLiteral("operation %1 with %2 parameters").arg(hex(request.code)).arg(request.params.size()));
        answer = EmuWire::ParameterNotSupported;
    } else if (op->needsSession && !m_sessionOpen) {
        if (!m_sessionLostByCamera) {
            protocolError(QStringLiteral("operation %1 outside a session").arg(hex(request.code)));
        }
        answer = EmuWire::SessionNotOpen;
    } else if (op->vendor && !m_vendorSessionOpen) {
        if (!m_sessionLostByCamera) {
            protocolError(QStringLiteral("vendor operation %1 outside the vendor session").arg(hex(request.code)));
        }
        answer = EmuWire::SessionNotOpen;
    } else if (!m_faults.empty() &&
               (m_faults.front().onlyOperation == 0 || m_faults.front().onlyOperation == request.code) &&
               (m_faults.front().onlyFirstParam < 0 ||
                (!request.params.isEmpty() && qint64(request.params.first()) == m_faults.front().onlyFirstParam))) {
        answer = m_faults.front().responseCode;
        m_faults.pop_front();
    }

    if (op->data == DataOut) {
        m_dataOutActive = true;
        m_dataOutHeaderSeen = false;
        m_dataOutLength = 0;
        m_dataOut.clear();
        m_dataOutRequest = request;
        m_dataOutAnswer = answer;
        return;
    }
    if (answer != 0) {
        Reply reply;
        reply.code = answer;
        sendReply(request, reply, false);
        return;
    }
    execute(*op, request);
}

void OLP_Commu_EmuCamera::execute(const Operation& op, const Request& request)
{
    Reply reply;
    reply.code = EmuWire::Ok;
    m_exposureDelayMs = 0;
    (this->*op.handler)(request, &reply);
    if (reply.code == EmuWire::Ok && isReleaseOperation(op.code)) {
        liveViewControlLocked(request, &reply);
    }
    sendReply(request, reply, op.data == DataIn && reply.code == EmuWire::Ok && reply.hasData);
    m_exposureDelayMs = 0;
}

void OLP_Commu_EmuCamera::takeDataOut(const quint8* data, quint32 size, bool shortEnd)
{
    quint32 offset = 0;
    if (!m_dataOutHeaderSeen) {
        if (size < EmuWire::HeaderSize) {
            protocolError(
                QStringLiteral("data phase of %1 starts with %2 bytes").arg(hex(m_dataOutRequest.code)).arg(size));
            if (m_dataOutAnswer == 0) {
                m_dataOutAnswer = EmuWire::IncompleteTransfer;
            }
            finishDataOut();
            return;
        }
        m_dataOutLength = qFromLittleEndian<quint32>(data);
        const quint16 type = qFromLittleEndian<quint16>(data + 4);
        const quint16 code = qFromLittleEndian<quint16>(data + 6);
        const quint32 transactionId = qFromLittleEndian<quint32>(data + 8);
        if (type != EmuWire::ContainerData || code != m_dataOutRequest.code ||
            transactionId != m_dataOutRequest.transactionId || m_dataOutLength < EmuWire::HeaderSize) {
            protocolError(QStringLiteral("data container (type %1, code %2, transaction %3, length %4) "
                                         "does not match operation %5")
                              .arg(type)
                              .arg(hex(code))
                              .arg(transactionId)
                              .arg(m_dataOutLength)
                              .arg(hex(m_dataOutRequest.code)));
            if (m_dataOutAnswer == 0) {
                m_dataOutAnswer = EmuWire::GeneralError;
            }
            m_dataOutLength = std::max(m_dataOutLength, EmuWire::HeaderSize);
        }
        m_dataOutHeaderSeen = true;
        offset = EmuWire::HeaderSize;
    }
    const quint64 expected = m_dataOutLength - EmuWire::HeaderSize;
    const quint64 have = static_cast<quint64>(m_dataOut.size());
    const quint64 incoming = size - offset;
    if (have + incoming > expected) {
        protocolError(QStringLiteral("data phase of %1 longer than its %2 bytes")
                          .arg(hex(m_dataOutRequest.code))
                          .arg(m_dataOutLength));
    }
    const quint64 take = std::min(incoming, expected - have);
    m_dataOut.append(reinterpret_cast<const char*>(data + offset), static_cast<int>(take));
    const quint64 received = EmuWire::HeaderSize + static_cast<quint64>(m_dataOut.size());
    if (received >= m_dataOutLength) {
        m_expectZeroLengthPacket = !shortEnd;
        finishDataOut();
    } else if (shortEnd) {
        protocolError(QStringLiteral("data phase of %1 ended after %2 of %3 bytes")
                          .arg(hex(m_dataOutRequest.code))
                          .arg(received)
                          .arg(m_dataOutLength));
        if (m_dataOutAnswer == 0) {
            m_dataOutAnswer = EmuWire::IncompleteTransfer;
        }
        finishDataOut();
    }
}

void OLP_Commu_EmuCamera::finishDataOut()
{
    Request request = m_dataOutRequest;
    request.data = m_dataOut;
    m_lastRequest = request;
    const quint16 answer = m_dataOutAnswer;
    m_dataOutActive = false;
    m_dataOutHeaderSeen = false;
    m_dataOut.clear();
    m_dataOutAnswer = 0;
    if (answer != 0) {
        Reply reply;
        reply.code = answer;
        sendReply(request, reply, false);
        return;
    }
    const Operation* op = findOperation(request.code);
    if (op) {
        execute(*op, request);
    }
}

void OLP_Commu_EmuCamera::sendReply(const Request& request, const Reply& reply, bool hasDataPhase)
{
    if (m_replaceNext) {
        m_replaceNext = false;
        for (const QByteArray& transfer : m_replacement) {
            m_pipe.push(transfer);
        }
        m_replacement.clear();
        return;
    }
    if (hasDataPhase) {
        const quint64 payload = reply.object ? reply.objectCount : static_cast<quint64>(reply.data.size());
        const quint64 total = payload + EmuWire::HeaderSize;
        OLP_Commu_EmuDataset header;
        header.u32(total > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<quint32>(total))
            .u16(EmuWire::ContainerData)
            .u16(request.code)
            .u32(request.transactionId);
        const quint64 limit = m_truncateNext >= 0 ? static_cast<quint64>(m_truncateNext) : total;
        m_truncateNext = -1;
        if (reply.object) {
            m_pipe.push(header.data(), reply.object, reply.objectOffset, reply.objectCount, limit);
        } else {
            m_pipe.push(header.data() + reply.data, nullptr, 0, 0, limit);
        }
    }
    if (m_dropNextResponse) {
        m_dropNextResponse = false;
        return;
    }
    // A release is answered when its exposure is over; a held answer when the test says.
    Clock::time_point due =
        m_exposureDelayMs > 0 ? Clock::now() + std::chrono::milliseconds(m_exposureDelayMs) : Clock::time_point();
    if (m_holdOperation != 0 && request.code == m_holdOperation) {
        m_holdOperation = 0;
        due = Clock::time_point::max();
    }
    m_pipe.push(container(EmuWire::ContainerResponse, reply.code, request.transactionId, reply.params), due);
}

// ---- operations ---------------------------------------------------------------------------------

QByteArray OLP_Commu_EmuCamera::deviceInfo() const
{
    QVector<quint16> operations;
    for (const Operation& op : operationTable()) {
        if (offers(op)) {
            operations.append(op.code);
        }
    }
    QVector<quint16> properties;
    for (const OLP_Commu_EmuProfile::Property& p : m_profile.properties) {
        properties.append(p.code);
    }
    OLP_Commu_EmuDataset info;
    info.u16(100).u32(0).u16(100).string(QString()).u16(0);
    info.array16(operations).array16(m_profile.events).array16(properties);
    info.array16(m_profile.captureFormats).array16(m_profile.imageFormats);
    info.string(m_profile.manufacturer).string(m_profile.model);
    info.string(m_profile.deviceVersion).string(m_profile.serialNumber);
    return info.data();
}

QByteArray OLP_Commu_EmuCamera::axisData() const
{
    if (m_profile.hasExtended3DAxis) {
        OLP_Commu_EmuDataset axis(EmuWire::AxisExtendedSize);
        axis.putDouble(12, m_profile.pitch);
        axis.putDouble(20, m_profile.roll);
        axis.putDouble(205, m_profile.temperature);
        return axis.data();
    }
    OLP_Commu_EmuDataset axis(EmuWire::AxisStandardSize);
    axis.putFloat(12, static_cast<float>(m_profile.pitch));
    axis.putFloat(16, static_cast<float>(m_profile.roll));
    axis.putFloat(189, static_cast<float>(m_profile.temperature));
    return axis.data();
}

OLP_Commu_EmuProfile::Property* OLP_Commu_EmuCamera::findProperty(quint16 code)
{
    for (OLP_Commu_EmuProfile::Property& p : m_profile.properties) {
        if (p.code == code) {
            return &p;
        }
    }
    return nullptr;
}

void OLP_Commu_EmuCamera::opGetDeviceInfo(const Request&, Reply* out)
{
    out->hasData = true;
    out->data = deviceInfo();
}

void OLP_Commu_EmuCamera::opOpenSession(const Request& r, Reply* out)
{
    if (r.params.value(0) == 0) {
        out->code = EmuWire::InvalidParameter;
    } else if (m_sessionOpen) {
        out->code = EmuWire::SessionAlreadyOpen;
    } else {
        m_sessionOpen = true;
        m_sessionLostByCamera = false;
    }
}

void OLP_Commu_EmuCamera::opCloseSession(const Request&, Reply*)
{
    m_sessionOpen = false;
    m_vendorSessionOpen = false;
}

void OLP_Commu_EmuCamera::opGetPropDesc(const Request& r, Reply* out)
{
    const OLP_Commu_EmuProfile::Property* p = findProperty(static_cast<quint16>(r.params.value(0)));
    if (!p) {
        out->code = EmuWire::DevicePropNotSupported;
        return;
    }
    const int width = OLP_Commu_EmuProfile::widthOf(p->dataType);
    OLP_Commu_EmuDataset desc;
    desc.u16(p->code).u16(p->dataType).u8(p->writable ? 1 : 0);
    desc.integer(p->factoryDefault, width).integer(p->current, width).u8(p->form);
    if (p->form == EmuWire::FormRange) {
        desc.integer(p->minimum, width).integer(p->maximum, width).integer(p->step, width);
    } else if (p->form == EmuWire::FormEnumeration) {
        desc.u16(static_cast<quint16>(p->values.size()));
        for (qint64 v : p->values) {
            desc.integer(v, width);
        }
    }
    out->hasData = true;
    out->data = desc.data();
}

void OLP_Commu_EmuCamera::opGetPropValue(const Request& r, Reply* out)
{
    const OLP_Commu_EmuProfile::Property* p = findProperty(static_cast<quint16>(r.params.value(0)));
    if (!p) {
        out->code = EmuWire::DevicePropNotSupported;
        return;
    }
    OLP_Commu_EmuDataset value;
    value.integer(p->current, OLP_Commu_EmuProfile::widthOf(p->dataType));
    out->hasData = true;
    out->data = value.data();
}

void OLP_Commu_EmuCamera::opSetPropValue(const Request& r, Reply* out)
{
    OLP_Commu_EmuProfile::Property* p = findProperty(static_cast<quint16>(r.params.value(0)));
    if (!p) {
        out->code = EmuWire::DevicePropNotSupported;
        return;
    }
    const int width = OLP_Commu_EmuProfile::widthOf(p->dataType);
    if (r.data.size() != width) {
        out->code = EmuWire::InvalidDevicePropValue;
        return;
    }
    if (!p->writable) {
        out->code = EmuWire::AccessDenied;
        return;
    }
    quint64 raw = 0;
    for (int i = 0; i < width; ++i) {
        raw |= static_cast<quint64>(static_cast<quint8>(r.data.at(i))) << (8 * i);
    }
    const qint64 value = signExtend(raw, p->dataType);
    bool valid = false;
    if (p->form == EmuWire::FormRange) {
        valid = value >= p->minimum && value <= p->maximum &&
                (p->step == 0 ? value == p->minimum : (value - p->minimum) % p->step == 0);
    } else if (p->form == EmuWire::FormEnumeration) {
        valid = p->values.contains(value);
    } else {
        valid = true;
    }
    if (!valid) {
        out->code = EmuWire::InvalidDevicePropValue;
        return;
    }
    if (p->current != value) {
        p->current = value;
        queueEventLocked(EmuWire::EventPropertyChanged, {p->code}, 0);
    }
    // Properties the camera moves itself after this write (a new shutter time
    // becomes the current exposure time), each with its own event.
    for (const auto& follower : OLP_Commu_EmuDevPropCamera::followers(m_profile.productId, p->code, value)) {
        OLP_Commu_EmuProfile::Property* moved = findProperty(follower.first);
        if (moved && moved->current != follower.second) {
            moved->current = follower.second;
            queueEventLocked(EmuWire::EventPropertyChanged, {moved->code}, 0);
        }
    }
}

void OLP_Commu_EmuCamera::opGetObject(const Request& r, Reply* out)
{
    if (newObjectLocked(r, out)) {
        return;
    }
    const auto object = m_objects.value(r.params.value(0));
    if (!object) {
        out->code = EmuWire::InvalidObjectHandle;
        return;
    }
    out->hasData = true;
    out->object = object;
    out->objectOffset = 0;
    out->objectCount = object->size();
}

void OLP_Commu_EmuCamera::opGetPartialObject(const Request& r, Reply* out)
{
    if (newObjectLocked(r, out)) {
        return;
    }
    const auto object = m_objects.value(r.params.value(0));
    if (!object) {
        out->code = EmuWire::InvalidObjectHandle;
        return;
    }
    const quint64 offset = r.params.value(1);
    if (offset > object->size()) {
        out->code = EmuWire::InvalidParameter;
        return;
    }
    out->hasData = true;
    out->object = object;
    out->objectOffset = offset;
    out->objectCount = std::min<quint64>(r.params.value(2), object->size() - offset);
}

void OLP_Commu_EmuCamera::opGetStreamInfo(const Request&, Reply* out)
{
    out->hasData = true;
    out->data = m_profile.streamInfo;
}

void OLP_Commu_EmuCamera::opWriteSettings(const Request& r, Reply* out)
{
    if (r.data.size() != EmuWire::SettingsSize) {
        out->code = EmuWire::InvalidParameter;
        return;
    }
    m_profile.settings = r.data;
    queueEventLocked(EmuWire::EventSettingsChanged, {}, 0);
}

void OLP_Commu_EmuCamera::opReadSettings(const Request&, Reply* out)
{
    out->hasData = true;
    out->data = m_profile.settings;
}

void OLP_Commu_EmuCamera::opReadLens(const Request&, Reply* out)
{
    out->hasData = true;
    out->data = m_profile.lens;
}

void OLP_Commu_EmuCamera::opReadGeotagging(const Request&, Reply* out)
{
    out->hasData = true;
    out->data = m_profile.geotagging;
}

void OLP_Commu_EmuCamera::opRead3DAxis(const Request&, Reply* out)
{
    out->hasData = true;
    out->data = axisData();
}

void OLP_Commu_EmuCamera::opOpenVendorSession(const Request& r, Reply* out)
{
    if (r.params.value(0) != EmuWire::VendorSessionCode) {
        protocolError(QStringLiteral("vendor session code %1").arg(hex(r.params.value(0))));
        out->code = EmuWire::InvalidParameter;
        return;
    }
    m_vendorSessionOpen = true;
}

void OLP_Commu_EmuCamera::opCloseVendorSession(const Request& r, Reply* out)
{
    if (r.params.value(0) != EmuWire::VendorSessionCode) {
        protocolError(QStringLiteral("vendor session code %1").arg(hex(r.params.value(0))));
        out->code = EmuWire::InvalidParameter;
        return;
    }
    m_vendorSessionOpen = false;
}

void OLP_Commu_EmuCamera::opRecorded(const Request& r, Reply*)
{
    if (isReleaseOperation(r.code)) {
        m_releases.append(r);
    }
    const bool exposes = r.code == EmuWire::InitiateCapture || (r.code == EmuWire::Release && r.params.value(0) == 0);
    if (exposes && m_exposureMsPerSecond > 0) {
        m_exposureDelayMs = int(std::min(exposureSecondsLocked() * m_exposureMsPerSecond, 3600000.0));
    }
    runSequenceLocked(r);
}

double OLP_Commu_EmuCamera::exposureSecondsLocked() const
{
    // The shutter time as APEX Tv x 256: t = 2^(-code / 256).
    qint64 code = 0;
    if (m_profile.hasSettingsStructure) {
        const QByteArray& settings = m_profile.settings;
        if (settings.size() >= OLP_Commu_EmuSettingsStruct::ShutterTime + 2) {
            code = qFromLittleEndian<qint16>(settings.constData() + OLP_Commu_EmuSettingsStruct::ShutterTime);
        }
    } else {
        for (const OLP_Commu_EmuProfile::Property& p : m_profile.properties) {
            if (p.code == 0xD60C) {
                code = p.current;
            }
        }
    }
    return std::pow(2.0, -double(code) / 256.0);
}

void OLP_Commu_EmuCamera::opAccept(const Request&, Reply*) {}

// ---- live view ----------------------------------------------------------------------------------

void OLP_Commu_EmuCamera::liveViewControlLocked(const Request& r, Reply* out)
{
    if (!m_profile.hasLiveView) {
        return;
    }
    out->code = m_liveView.control(r.code, r.params);
    syncLiveViewPropertyLocked();
}

void OLP_Commu_EmuCamera::syncLiveViewPropertyLocked()
{
    OLP_Commu_EmuProfile::Property* state = findProperty(OLP_Commu_EmuLiveView::PropertyState);
    const qint64 value = m_liveView.propertyValue();
    if (state && state->current != value) {
        state->current = value;
        queueEventLocked(EmuWire::EventPropertyChanged, {OLP_Commu_EmuLiveView::PropertyState}, 0);
    }
}

void OLP_Commu_EmuCamera::opGetStreamData(const Request&, Reply* out)
{
    const OLP_Commu_EmuProfile::Property* enabled = findProperty(OLP_Commu_EmuLiveView::PropertyEnabled);
    if (m_liveView.state() == OLP_Commu_EmuLiveView::Off || !enabled || enabled->current == 0) {
        out->code = EmuWire::AccessDenied;
        return;
    }
    if (m_streamDataDelayMs > 0) {
        // A slow camera: the whole device waits, as on the real bus.
        std::this_thread::sleep_for(std::chrono::milliseconds(m_streamDataDelayMs));
    }
    const OLP_Commu_EmuProfile::Property* rate = findProperty(OLP_Commu_EmuLiveView::PropertyFrameRate);
    const OLP_Commu_EmuProfile::Property* iso = findProperty(0x500F);
    const qint64 isoValue = iso && iso->current > 0 ? iso->current : 100;
    out->hasData = true;
    out->data = m_liveView.nextPacket(rate ? quint32(rate->current) : 0, quint32(isoValue));
}

void OLP_Commu_EmuCamera::setLiveViewState(int state)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_liveView.setState(state);
    syncLiveViewPropertyLocked();
}

int OLP_Commu_EmuCamera::liveViewState() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_liveView.state();
}

QVector<quint32> OLP_Commu_EmuCamera::liveViewZoomValues() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_liveView.zoomValues();
}

int OLP_Commu_EmuCamera::greyCardOperations() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_liveView.greyCardOperations();
}

void OLP_Commu_EmuCamera::queueStreamPacket(const QByteArray& bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_liveView.queuePacket(bytes);
}

void OLP_Commu_EmuCamera::setBulkInRate(quint64 bytesPerSecond)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bulkInRate = bytesPerSecond;
}

void OLP_Commu_EmuCamera::setStreamDataDelay(int ms)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_streamDataDelayMs = std::max(ms, 0);
}

quint32 OLP_Commu_EmuCamera::streamFramesSent() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_liveView.framesSent();
}

void OLP_Commu_EmuCamera::opGetStorageIDs(const Request&, Reply* out)
{
    OLP_Commu_EmuDataset ids;
    ids.u32(1).u32(EmuWire::CardStorageId);
    out->hasData = true;
    out->data = ids.data();
}

void OLP_Commu_EmuCamera::opGetStorageInfo(const Request& r, Reply* out)
{
    if (r.params.value(0) != EmuWire::CardStorageId) {
        out->code = EmuWire::InvalidStorageId;
        return;
    }
    OLP_Commu_EmuDataset info;
    info.u16(0x0004).u16(0x0002).u16(0x0000);  // removable RAM, generic hierarchical, read-write
    info.u64(EmuWire::CardCapacity).u64(EmuWire::CardFree).u32(0xFFFFFFFF);
    info.string(QStringLiteral("SD card")).string(QString());
    out->hasData = true;
    out->data = info.data();
}

void OLP_Commu_EmuCamera::opGetNumObjects(const Request& r, Reply* out)
{
    const quint32 storage = r.params.value(0);
    if (storage != 0xFFFFFFFF && storage != EmuWire::CardStorageId) {
        out->code = EmuWire::InvalidStorageId;
        return;
    }
    const quint32 format = r.params.value(1);
    quint32 count = 0;
    for (auto it = m_objects.cbegin(); it != m_objects.cend(); ++it) {
        const quint16 objectFormat = (it.key() & 0xF) == 2 ? EmuWire::FormatDng : EmuWire::FormatJpeg;
        count += format == 0 || format == 0xFFFFFFFF || format == objectFormat ? 1 : 0;
    }
    out->params = {count};
}

void OLP_Commu_EmuCamera::opGetObjectHandles(const Request& r, Reply* out)
{
    const quint32 storage = r.params.value(0);
    if (storage != 0xFFFFFFFF && storage != EmuWire::CardStorageId) {
        out->code = EmuWire::InvalidStorageId;
        return;
    }
    OLP_Commu_EmuDataset handles;
    handles.u32(quint32(m_objects.size()));
    for (auto it = m_objects.cbegin(); it != m_objects.cend(); ++it) {
        handles.u32(it.key());
    }
    out->hasData = true;
    out->data = handles.data();
}

void OLP_Commu_EmuCamera::opGetObjectInfo(const Request& r, Reply* out)
{
    if (newObjectLocked(r, out)) {
        return;
    }
    const quint32 handle = r.params.value(0);
    const auto object = m_objects.value(handle);
    if (!object) {
        out->code = EmuWire::InvalidObjectHandle;
        return;
    }
    if (const OLP_Commu_EmuCapture::Picture* picture = m_capture.find(handle)) {
        // A picture this camera took: on the card as it was announced.
        out->hasData = true;
        out->data = OLP_Commu_EmuCapture::objectInfo(*picture, int(r.params.value(1)));
        return;
    }
    const bool dng = (handle & 0xF) == 2;
    const quint64 thumbKey = (quint64(handle) << 8) | (r.params.value(1) & 0xFF);
    OLP_Commu_EmuDataset info;
    info.u32(EmuWire::CardStorageId).u16(dng ? EmuWire::FormatDng : EmuWire::FormatJpeg).u16(0);
    info.u32(quint32(std::min<quint64>(object->size(), 0xFFFFFFFFu)));
    info.u16(EmuWire::FormatJpeg).u32(quint32(m_thumbnails.value(thumbKey).size()));
    info.u32(0).u32(0).u32(0).u32(0).u32(0);  // thumbnail and image geometry
    info.u32(0).u16(0).u32(0).u32(0);         // parent, association, sequence number
    info.string(QStringLiteral("L%1.%2").arg(handle, 7, 10, QLatin1Char('0')).arg(dng ? "DNG" : "JPG"));
    info.string(QString()).string(QString()).string(QString());
    out->hasData = true;
    out->data = info.data();
}

void OLP_Commu_EmuCamera::opGetThumb(const Request& r, Reply* out)
{
    if (newObjectLocked(r, out)) {
        return;
    }
    const quint32 handle = r.params.value(0);
    if (!m_objects.contains(handle)) {
        out->code = EmuWire::InvalidObjectHandle;
        return;
    }
    const quint64 thumbKey = (quint64(handle) << 8) | (r.params.value(1) & 0xFF);
    if (!m_thumbnails.contains(thumbKey)) {
        out->code = EmuWire::NoThumbnailPresent;
        return;
    }
    out->hasData = true;
    out->data = m_thumbnails.value(thumbKey);
}

// ---- changes on the camera ----------------------------------------------------------------------

void OLP_Commu_EmuCamera::queueEventLocked(quint16 code, const QVector<quint32>& params, int delayMs)
{
    Event event;
    event.bytes = container(EmuWire::ContainerEvent, code, 0, params);
    event.due = Clock::now() + std::chrono::milliseconds(std::max(delayMs, 0));
    auto position = std::upper_bound(m_events.begin(), m_events.end(), event,
                                     [](const Event& a, const Event& b) { return a.due < b.due; });
    m_events.insert(position, event);
    m_changed.notify_all();
}

bool OLP_Commu_EmuCamera::setPropertyValue(quint16 code, qint64 value)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    OLP_Commu_EmuProfile::Property* p = findProperty(code);
    if (!p) {
        return false;
    }
    if (p->current != value) {
        p->current = value;
        queueEventLocked(EmuWire::EventPropertyChanged, {code}, 0);
    }
    return true;
}

void OLP_Commu_EmuCamera::setSettings(const QByteArray& settings)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_profile.settings = settings.leftJustified(EmuWire::SettingsSize, '\0', true);
    queueEventLocked(EmuWire::EventSettingsChanged, {}, 0);
}

void OLP_Commu_EmuCamera::changeSettings(int offset, const QByteArray& bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (offset < 0 || offset + bytes.size() > m_profile.settings.size()) {
        return;
    }
    m_profile.settings.replace(offset, bytes.size(), bytes);
    queueEventLocked(EmuWire::EventSettingsChanged, {}, 0);
}

void OLP_Commu_EmuCamera::setLens(const QByteArray& lens)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_profile.lens = lens.leftJustified(EmuWire::LensSize, '\0', true);
    queueEventLocked(EmuWire::EventLensChanged, {}, 0);
}

void OLP_Commu_EmuCamera::set3DAxis(double pitch, double roll, double temperature)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_profile.pitch = pitch;
    m_profile.roll = roll;
    m_profile.temperature = temperature;
    queueEventLocked(EmuWire::Event3DAxisChanged, {}, 0);
}

void OLP_Commu_EmuCamera::setGeotagging(const QByteArray& geotagging)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_profile.geotagging = geotagging.leftJustified(EmuWire::GeotaggingSize, '\0', true);
    queueEventLocked(EmuWire::EventGeotaggingChanged, {}, 0);
}

void OLP_Commu_EmuCamera::addObject(quint32 handle, const QByteArray& bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_objects.insert(handle, OLP_Commu_EmuObject::fromBytes(bytes));
}

void OLP_Commu_EmuCamera::addGeneratedObject(quint32 handle, quint64 size, quint32 seed)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_objects.insert(handle, OLP_Commu_EmuObject::generated(size, seed));
}

void OLP_Commu_EmuCamera::setThumbnail(quint32 handle, int thumbType, const QByteArray& bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_thumbnails.insert((quint64(handle) << 8) | quint8(thumbType), bytes);
}

// ---- faults -------------------------------------------------------------------------------------

void OLP_Commu_EmuCamera::failNextOperations(quint16 responseCode, int count, quint16 onlyOperation,
                                             qint64 onlyFirstParam)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (int i = 0; i < count; ++i) {
        m_faults.push_back(Fault{responseCode, onlyOperation, onlyFirstParam});
    }
}

void OLP_Commu_EmuCamera::dropNextResponse()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_dropNextResponse = true;
}

void OLP_Commu_EmuCamera::stallNext(eEndpoint endpoint)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stallNext[endpoint] = true;
}

void OLP_Commu_EmuCamera::truncateNextDataPhase(quint32 containerBytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_truncateNext = containerBytes;
}

void OLP_Commu_EmuCamera::replaceNextReply(const QList<QByteArray>& transfers)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_replacement = transfers;
    m_replaceNext = true;
}

void OLP_Commu_EmuCamera::queueEvent(quint16 code, const QVector<quint32>& params, int delayMs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    queueEventLocked(code, params, delayMs);
}

void OLP_Commu_EmuCamera::queueRawEvent(const QByteArray& bytes, int delayMs)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Event event;
    event.bytes = bytes;
    event.due = Clock::now() + std::chrono::milliseconds(std::max(delayMs, 0));
    auto position = std::upper_bound(m_events.begin(), m_events.end(), event,
                                     [](const Event& a, const Event& b) { return a.due < b.due; });
    m_events.insert(position, event);
    m_changed.notify_all();
}

void OLP_Commu_EmuCamera::setInterfaceBusy(bool busy)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_interfaceBusy = busy;
}

void OLP_Commu_EmuCamera::setAccessDenied(bool denied)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_accessDenied = denied;
}

bool OLP_Commu_EmuCamera::isAccessDenied() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_accessDenied;
}

void OLP_Commu_EmuCamera::setStillImageInterface(bool present)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_stillImageInterface = present;
}

bool OLP_Commu_EmuCamera::hasStillImageInterface() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_stillImageInterface;
}

void OLP_Commu_EmuCamera::setZeroLengthPacket(OLP_Commu_EmuPipe::eZeroLengthPacket mode)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pipe.setZeroLengthPacket(mode);
}

void OLP_Commu_EmuCamera::sleep()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_sessionOpen) {
        m_sessionOpen = false;
        m_vendorSessionOpen = false;
        m_sessionLostByCamera = true;
    }
    m_sequences.reset();
}

void OLP_Commu_EmuCamera::setSessionLostOnReset(bool lost)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_sessionLostOnReset = lost;
}

void OLP_Commu_EmuCamera::reportBusyStatus(int count)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_busyStatus = std::max(count, 0);
}

void OLP_Commu_EmuCamera::holdNextAnswer(quint16 operation)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_holdOperation = operation;
}

void OLP_Commu_EmuCamera::releaseHeldAnswer()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pipe.releaseHeld(Clock::now());
    m_changed.notify_all();
}

void OLP_Commu_EmuCamera::setExposureTimeScale(int msPerSecond)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_exposureMsPerSecond = std::max(msPerSecond, 0);
}

// ---- observation --------------------------------------------------------------------------------

int OLP_Commu_EmuCamera::requestCount(quint16 code) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requestCounts.value(code);
}

int OLP_Commu_EmuCamera::totalRequests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_totalRequests;
}

QVector<quint16> OLP_Commu_EmuCamera::requestSequence() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requestSequence;
}

OLP_Commu_EmuCamera::Request OLP_Commu_EmuCamera::lastRequest() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastRequest;
}

QList<OLP_Commu_EmuCamera::Request> OLP_Commu_EmuCamera::releases() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_releases;
}

qint64 OLP_Commu_EmuCamera::propertyValue(quint16 code) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const OLP_Commu_EmuProfile::Property& p : m_profile.properties) {
        if (p.code == code) {
            return p.current;
        }
    }
    return -1;
}

QByteArray OLP_Commu_EmuCamera::settings() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_profile.settings;
}

QStringList OLP_Commu_EmuCamera::protocolErrors() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_protocolErrors;
}

bool OLP_Commu_EmuCamera::isSessionOpen() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sessionOpen;
}

bool OLP_Commu_EmuCamera::isVendorSessionOpen() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_vendorSessionOpen;
}

bool OLP_Commu_EmuCamera::isClaimed() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_claimToken != 0;
}

int OLP_Commu_EmuCamera::resetCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_resetCount;
}

int OLP_Commu_EmuCamera::deviceStatusRequests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_deviceStatusRequests;
}

int OLP_Commu_EmuCamera::clearHaltCount(eEndpoint endpoint) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_clearHaltCount[endpoint];
}

int OLP_Commu_EmuCamera::lastTimeoutMs(eEndpoint endpoint) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastTimeout[endpoint];
}

int OLP_Commu_EmuCamera::waitingReads(eEndpoint endpoint) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_waiting[endpoint];
}

int OLP_Commu_EmuCamera::pendingEvents() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_events.size());
}

// ---- pictures -----------------------------------------------------------------------------------

void OLP_Commu_EmuCamera::takePicturesLocked(int shots, int delayMs)
{
    if (shots <= 0) {
        return;
    }
    const QList<OLP_Commu_EmuCapture::Picture> taken = m_capture.shoot(shots, OLP_Commu_EmuCapture::filesOf(m_profile));
    for (const OLP_Commu_EmuCapture::Picture& picture : taken) {
        // The files stay on the card under their own handles.
        m_objects.insert(picture.handle, picture.object);
        m_thumbnails.insert(quint64(picture.handle) << 8, picture.thumbnail);
        m_thumbnails.insert((quint64(picture.handle) << 8) | 1, picture.preview);
        announcePictureLocked(picture, delayMs);
    }
    if (m_capture.options().standardEvents && !taken.isEmpty()) {
        queueEventLocked(EmuWire::EventCaptureComplete, {m_lastTransactionId}, delayMs);
    }
}

void OLP_Commu_EmuCamera::announcePictureLocked(const OLP_Commu_EmuCapture::Picture& picture, int delayMs)
{
    if (m_capture.options().standardEvents) {
        queueEventLocked(EmuWire::EventObjectAdded, {picture.handle}, delayMs);
    }
    queueEventLocked(EmuWire::EventRequestObjectTransfer, {picture.handle}, delayMs);
}

bool OLP_Commu_EmuCamera::newObjectLocked(const Request& r, Reply* out)
{
    if (r.params.value(0) != EmuWire::NewObjectHandle) {
        return false;
    }
    const OLP_Commu_EmuCapture::Picture* picture = m_capture.pending();
    if (!picture) {
        // Without a new picture the handle is an ordinary one (an object a test put there).
        return false;
    }
    switch (r.code) {
        case EmuWire::GetObjectInfo:
            out->hasData = true;
            out->data = OLP_Commu_EmuCapture::objectInfo(*picture, int(r.params.value(1)));
            break;
        case EmuWire::GetThumb: {
            const QByteArray* thumbnail = OLP_Commu_EmuCapture::thumbnailOf(*picture, int(r.params.value(1)));
            if (!thumbnail) {
                out->code = EmuWire::NoThumbnailPresent;
                break;
            }
            out->hasData = true;
            out->data = *thumbnail;
            break;
        }
        case EmuWire::GetObject:
        case EmuWire::GetPartialObject: {
            const quint64 size = picture->object->size();
            const quint64 offset = r.code == EmuWire::GetPartialObject ? r.params.value(1) : 0;
            if (offset > size) {
                out->code = EmuWire::InvalidParameter;
                break;
            }
            out->hasData = true;
            out->object = picture->object;
            out->objectOffset = offset;
            out->objectCount =
                r.code == EmuWire::GetPartialObject ? std::min<quint64>(r.params.value(2), size - offset) : size;
            const quint64 end = offset + out->objectCount;
            if (picture->stopDataAfter >= 0 && end > quint64(picture->stopDataAfter)) {
                m_truncateNext = EmuWire::HeaderSize + std::max<qint64>(picture->stopDataAfter - qint64(offset), 0);
            }
            if (picture->holdDataAfter >= 0 && end > quint64(picture->holdDataAfter)) {
                // Neither data nor response: the host waits for them.
                m_replacement.clear();
                m_replaceNext = true;
            }
            break;
        }
        default:
            out->code = EmuWire::InvalidObjectHandle;
            break;
    }
    return true;
}

void OLP_Commu_EmuCamera::opObjectTransferReady(const Request&, Reply* out)
{
    // The host has taken the new picture; the next one (if any) takes its handle.
    if (!m_capture.acknowledge()) {
        out->code = EmuWire::GeneralError;
    }
    if (m_capture.options().enabled) {
        takePicturesLocked(m_sequences.acknowledged());
    }
}

void OLP_Commu_EmuCamera::opGetObjectPropsSupported(const Request& r, Reply* out)
{
    QVector<quint16> codes;
    if (r.params.value(0) == EmuWire::FormatJpeg || r.params.value(0) == EmuWire::FormatDng) {
        codes = {0xDC01, 0xDC02, 0xDC04, EmuWire::ObjectPropOrientation};
    }
    OLP_Commu_EmuDataset answer;
    answer.array16(codes);
    out->hasData = true;
    out->data = answer.data();
}

void OLP_Commu_EmuCamera::opGetObjectPropValue(const Request& r, Reply* out)
{
    const quint32 handle = r.params.value(0);
    const OLP_Commu_EmuCapture::Picture* picture =
        handle == EmuWire::NewObjectHandle ? m_capture.pending() : m_capture.find(handle);
    if (!picture) {
        out->code = EmuWire::InvalidObjectHandle;
        return;
    }
    if (r.params.value(1) != EmuWire::ObjectPropOrientation) {
        out->code = EmuWire::InvalidObjectPropCode;
        return;
    }
    OLP_Commu_EmuDataset value;
    value.u16(quint16(picture->orientation));
    out->hasData = true;
    out->data = value.data();
}

void OLP_Commu_EmuCamera::setCaptureOptions(const OLP_Commu_EmuCapture::Options& options)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_capture.options() = options;
}

OLP_Commu_EmuCapture::Options OLP_Commu_EmuCamera::captureOptions() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_capture.options();
}

void OLP_Commu_EmuCamera::capture(int shots)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    takePicturesLocked(shots);
}

void OLP_Commu_EmuCamera::announceObject(const QString& fileName, const QByteArray& bytes, quint32 sequenceNumber)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const OLP_Commu_EmuCapture::Picture picture = m_capture.announce(fileName, bytes, sequenceNumber);
    m_objects.insert(picture.handle, picture.object);
    queueEventLocked(EmuWire::EventRequestObjectTransfer, {picture.handle}, 0);
}

QList<OLP_Commu_EmuCapture::Picture> OLP_Commu_EmuCamera::capturedPictures() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_capture.pictures();
}

int OLP_Commu_EmuCamera::pendingNewObjects() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_capture.pendingCount();
}

// ---- release sequences --------------------------------------------------------------------------

void OLP_Commu_EmuCamera::runSequenceLocked(const Request& r)
{
    const OLP_Commu_EmuSequences::Outcome outcome = m_sequences.release(r.code, r.params, m_profile);
    if (outcome.cancelEvent != 0) {
        const quint16 cancelled = outcome.cancelEvent;
        m_events.erase(std::remove_if(m_events.begin(), m_events.end(),
                                      [cancelled](const Event& e) {
                                          return e.bytes.size() >= 8 &&
                                                 qFromLittleEndian<quint16>(e.bytes.constData() + 6) == cancelled;
                                      }),
                       m_events.end());
    }
    for (const OLP_Commu_EmuSequences::PropertyChange& change : outcome.properties) {
        OLP_Commu_EmuProfile::Property* p = findProperty(change.code);
        if (p && p->current != change.value) {
            p->current = change.value;
            queueEventLocked(EmuWire::EventPropertyChanged, {change.code}, 0);
        }
    }
    for (const OLP_Commu_EmuSequences::Event& event : outcome.events) {
        queueEventLocked(event.code, event.params, event.delayMs);
    }
    if (!m_capture.options().enabled) {
        return;
    }
    int shots = outcome.shots;
    if (shots < 0) {
        const int bracketShots = OLP_Commu_EmuCapture::bracketShotsOf(m_profile);
        const int continuousShots = m_capture.options().continuousShots;
        shots = OLP_Commu_EmuCapture::shotsForRelease(r.code, r.params, bracketShots, continuousShots);
    }
    if (outcome.firstShotDelayMs > 0 || outcome.shotSpacingMs > 0) {
        takeSpacedPicturesLocked(shots, outcome.firstShotDelayMs + m_exposureDelayMs, outcome.shotSpacingMs);
    } else {
        takePicturesLocked(shots, m_exposureDelayMs);
    }
}

void OLP_Commu_EmuCamera::takeSpacedPicturesLocked(int shots, int firstDelayMs, int spacingMs)
{
    const OLP_Commu_EmuCapture::eFiles files = OLP_Commu_EmuCapture::filesOf(m_profile);
    // Taken as one release, so the sequence numbers count down over the whole burst.
    const QList<OLP_Commu_EmuCapture::Picture> taken = m_capture.shoot(shots, files);
    const int perShot = files == OLP_Commu_EmuCapture::DngAndJpg ? 2 : 1;
    for (int i = 0; i < taken.size(); ++i) {
        const OLP_Commu_EmuCapture::Picture& picture = taken.at(i);
        const int due = firstDelayMs + (i / perShot) * spacingMs;
        m_objects.insert(picture.handle, picture.object);
        m_thumbnails.insert(quint64(picture.handle) << 8, picture.thumbnail);
        m_thumbnails.insert((quint64(picture.handle) << 8) | 1, picture.preview);
        announcePictureLocked(picture, due);
    }
    if (m_capture.options().standardEvents && !taken.isEmpty()) {
        const int last = firstDelayMs + ((taken.size() - 1) / perShot) * spacingMs;
        queueEventLocked(EmuWire::EventCaptureComplete, {m_lastTransactionId}, last);
    }
}

void OLP_Commu_EmuCamera::setSequenceOptions(const OLP_Commu_EmuSequences::Options& options)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_sequences.options() = options;
}

OLP_Commu_EmuSequences::Options OLP_Commu_EmuCamera::sequenceOptions() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sequences.options();
}

bool OLP_Commu_EmuCamera::isMirrorRaised() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sequences.isMirrorRaised();
}

bool OLP_Commu_EmuCamera::isBulbOpen() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sequences.isBulbOpen();
}

bool OLP_Commu_EmuCamera::isContinuousOpen() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_sequences.isContinuousOpen();
}
