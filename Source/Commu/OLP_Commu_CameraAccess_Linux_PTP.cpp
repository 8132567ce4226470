#include "OLP_Commu_CameraAccess_Linux_PTP.h"

#include <QThread>
#include <cstring>
#include <limits>
#include <vector>

#include "OLP_Commu_ProductIds.h"
#include "OLP_Commu_PtpCodes.h"
#include "OLP_Commu_PtpContainer.h"
#include "OLP_Commu_UsbPortHub.h"
#include "OLP_Debug.h"

#define OLP_NAME(method) "OLP_Commu_CameraAccess_Linux_PTP::" #method

namespace {
constexpr int MaxBusyRepetitions = 5;
constexpr unsigned long BusyDelayMs = 100;
constexpr quint32 PtpSessionId = 1;

bool readHex4(const QString& text, int from, quint16* value)
{
    if (from < 0 || from + 4 > text.size()) {
        return false;
    }
    bool ok = false;
    const uint v = text.mid(from, 4).toUInt(&ok, 16);
    if (!ok) {
        return false;
    }
    *value = static_cast<quint16>(v);
    return true;
}
}  // namespace

OLP_Commu_CameraAccess_Linux_PTP::OLP_Commu_CameraAccess_Linux_PTP(std::shared_ptr<OLP_Commu_UsbPort> port,
                                                                   QObject* parent)
    : OLP_Commu_CameraAccess_Base(1, parent),
      m_port(port ? std::move(port) : std::shared_ptr<OLP_Commu_UsbPort>(OLP_Commu_UsbPortHub::system()))
{}

OLP_Commu_CameraAccess_Linux_PTP::~OLP_Commu_CameraAccess_Linux_PTP()
{
    shutdownDevice();
}

// ---- discovery ----------------------------------------------------------------------------------

bool OLP_Commu_CameraAccess_Linux_PTP::parseDeviceId(const QString& deviceId, quint16* vendorId, quint16* productId)
{
    const int usb = deviceId.indexOf(QLatin1String("usb"), 0, Qt::CaseInsensitive);
    if (usb < 0) {
        return false;
    }
    const int vid = deviceId.indexOf(QLatin1String("vid_"), usb + 3, Qt::CaseInsensitive);
    quint16 vendor = 0;
    if (vid < 0 || !readHex4(deviceId, vid + 4, &vendor)) {
        return false;
    }
    const int pid = deviceId.indexOf(QLatin1String("pid_"), vid + 4, Qt::CaseInsensitive);
    quint16 product = 0;
    if (pid < 0 || !readHex4(deviceId, pid + 4, &product)) {
        return false;
    }
    *vendorId = vendor;
    *productId = product;
    return true;
}

bool OLP_Commu_CameraAccess_Linux_PTP::checkDeviceAvailable()
{
    const char* name = OLP_NAME(checkDeviceAvailable);
    QList<DeviceEntry> found;
    for (const OLP_Commu_UsbDeviceEntry& device : m_port->listDevices()) {
        debugPrintf(1, "%s - PnpDevice: %s", name, qPrintable(device.deviceId));
        quint16 vendorId = 0;
        quint16 productId = 0;
        if (parseDeviceId(device.deviceId, &vendorId, &productId) &&
            (vendorId == VendorIdPrimary || vendorId == VendorIdSecondary) && productId != 0) {
            found.append(DeviceEntry{vendorId, productId, device.deviceId});
        }
    }

    // A connected camera that left the bus without its transfers noticing.
    const QString connected = deviceId();
    if (!connected.isEmpty()) {
        bool present = false;
        for (const DeviceEntry& entry : found) {
            present = present || entry.deviceId == connected;
        }
        if (!present) {
            closeDevice();
        }
    }

    // A camera that could not be opened and left the bus takes its pause with it.
    for (auto it = m_openRetries.begin(); it != m_openRetries.end();) {
        bool present = false;
        for (const DeviceEntry& entry : found) {
            present = present || entry.deviceId == it.key();
        }
        if (present) {
            ++it;
            continue;
        }
        const QString gone = it.key();
        const bool hadProblem = it.value().problem != OpenProblemNone;
        it = m_openRetries.erase(it);
        if (hadProblem) {
            emit signalOpenProblem(connectionType(), OpenProblemNone, gone);
        }
    }

    // A camera whose open failed is offered again only when its pause is over.
    const auto now = std::chrono::steady_clock::now();
    QList<DeviceEntry> offered;
    DeviceEntry fresh;
    bool haveFresh = false;
    for (const DeviceEntry& entry : found) {
        const auto retry = m_openRetries.constFind(entry.deviceId);
        if (retry != m_openRetries.constEnd() && now < retry.value().due) {
            continue;
        }
        offered.append(entry);
        if (!haveFresh && !m_knownDevices.contains(entry)) {
            fresh = entry;
            haveFresh = true;
        }
    }
    m_knownDevices = offered;
    if (!haveFresh) {
        return false;
    }
    debugPrintf(1, "%s - CameraId = 0x%X - ProductId = 0x%X", name, static_cast<quint32>(fresh.cameraId),
                fresh.productId);
    emitDeviceAvailable(fresh.cameraId, fresh.productId, fresh.deviceId);
    return true;
}

int OLP_Commu_CameraAccess_Linux_PTP::retryPauseMs(const QString& deviceId) const
{
    return m_openRetries.value(deviceId).pauseMs;
}

void OLP_Commu_CameraAccess_Linux_PTP::noteOpenFailure(const QString& deviceId, int problem, const QByteArray& cause,
                                                       const QByteArray& line)
{
    const char* name = OLP_NAME(openConnection);
    forgetKnownDevice(deviceId);
    OpenRetry& retry = m_openRetries[deviceId];
    const bool first = retry.pauseMs == 0;
    retry.pauseMs = first ? qMax(1, m_retryPauses.firstMs) : qMin(retry.pauseMs * 2, qMax(1, m_retryPauses.maxMs));
    retry.due = std::chrono::steady_clock::now() + std::chrono::milliseconds(retry.pauseMs);
    const bool newCause = first || retry.cause != cause;
    const bool newProblem = first || retry.problem != problem;
    retry.cause = cause;
    retry.problem = problem;
    if (newCause) {
        debugPrintf(0, "%s - %s", name, line.constData());
    } else {
        debugPrintf(1, "%s - still failing to open the device %s (%s); next attempt in %d ms", name,
                    qPrintable(deviceId), cause.constData(), retry.pauseMs);
    }
    if (newProblem) {
        emit signalOpenProblem(connectionType(), problem, deviceId);
    }
}

void OLP_Commu_CameraAccess_Linux_PTP::forgetOpenFailure(const QString& deviceId)
{
    const auto it = m_openRetries.find(deviceId);
    if (it == m_openRetries.end()) {
        return;
    }
    const bool hadProblem = it.value().problem != OpenProblemNone;
    m_openRetries.erase(it);
    if (hadProblem) {
        emit signalOpenProblem(connectionType(), OpenProblemNone, deviceId);
    }
}

void OLP_Commu_CameraAccess_Linux_PTP::forgetKnownDevice(const QString& deviceId)
{
    for (int i = m_knownDevices.size() - 1; i >= 0; --i) {
        if (m_knownDevices.at(i).deviceId == deviceId) {
            m_knownDevices.removeAt(i);
        }
    }
}

// ---- connection ---------------------------------------------------------------------------------

quint32 OLP_Commu_CameraAccess_Linux_PTP::cameraId() const
{
    QMutexLocker lock(&m_stateMutex);
    return m_cameraId;
}

QString OLP_Commu_CameraAccess_Linux_PTP::deviceId() const
{
    QMutexLocker lock(&m_stateMutex);
    return m_deviceId;
}

void OLP_Commu_CameraAccess_Linux_PTP::setTimeouts(const OLP_Commu_PtpTransport::Timeouts& timeouts)
{
    QMutexLocker lock(&m_deviceMutex);
    m_timeouts = timeouts;
    if (m_transport) {
        m_transport->setTimeouts(timeouts);
    }
}

OLP_Commu_PtpTransport::Timeouts OLP_Commu_CameraAccess_Linux_PTP::timeouts() const
{
    QMutexLocker lock(&m_deviceMutex);
    return m_timeouts;
}

bool OLP_Commu_CameraAccess_Linux_PTP::openConnection(quint64 cameraId, int productId, const QString& deviceId)
{
    const char* name = OLP_NAME(openConnection);
    {
        QMutexLocker lock(&m_stateMutex);
        if (m_connected || m_cameraId != 0 || this->productId() != 0) {
            return false;
        }
    }
    debugPrintf(1, "%s - CameraId = 0x%X - ProductId = 0x%X", name, static_cast<quint32>(cameraId), productId);

    eUsbError error = eUsbError::Ok;
    std::unique_ptr<OLP_Commu_UsbDevice> device = m_port->open(deviceId, &error);
    if (!device) {
        const char* hint = "";
        int problem = OpenProblemOther;
        if (error == eUsbError::Busy) {
            hint = " - the interface is busy: another program has claimed the camera";
            problem = OpenProblemInUse;
        } else if (error == eUsbError::Access) {
            hint = " - no permission: install the udev rule and plug the camera in again";
            problem = OpenProblemNoPermission;
        } else if (error == eUsbError::NotSupported) {
            hint = " - no still image interface: the camera is not in PTP mode";
            problem = OpenProblemNotPtp;
        }
        noteOpenFailure(deviceId, problem, usbErrorName(error),
                        QStringLiteral("Failed to open the device %1: %2 (%3)%4")
                            .arg(deviceId)
                            .arg(static_cast<int>(error))
                            .arg(QLatin1String(usbErrorName(error)), QLatin1String(hint))
                            .toUtf8());
        return false;
    }

    OLP_Commu_PtpTransport::Result session;
    {
        QMutexLocker lock(&m_deviceMutex);
        m_device = std::move(device);
        m_transport = std::make_unique<OLP_Commu_PtpTransport>(m_device.get());
        m_transport->setTimeouts(m_timeouts);
        m_deviceGone = false;
        session = m_transport->openSession(PtpSessionId);
    }
    if (!session.transportOk()) {
        releaseDevice();
        const QByteArray cause =
            session.usbError != eUsbError::Ok
                ? QByteArray::number(static_cast<int>(session.usbError)) + " (" + usbErrorName(session.usbError) + ")"
                : session.problem;
        noteOpenFailure(deviceId, OpenProblemOther, cause, "Failed to open the PTP session: " + cause);
        return false;
    }
    if (session.responseCode == PTP::RespSessionAlreadyOpen) {
        debugPrintf(1, "%s - the camera kept its PTP session open", name);
    } else if (session.responseCode != PTP::RespOK) {
        releaseDevice();
        const QByteArray cause =
            "MTP Response code: 0x" + QByteArray::number(session.responseCode, 16).toUpper().rightJustified(8, '0');
        noteOpenFailure(deviceId, OpenProblemOther, cause, "Failed to open the PTP session: " + cause);
        return false;
    }

    openQxSession();
    bool gone = false;
    {
        QMutexLocker lock(&m_deviceMutex);
        gone = m_deviceGone;
    }
    if (gone) {
        debugPrintf(0, "%s - the camera went away while the connection opened", name);
        releaseDevice();
        forgetKnownDevice(deviceId);
        return false;
    }
    forgetOpenFailure(deviceId);

    quint64 serial = 0;
    {
        QMutexLocker lock(&m_stateMutex);
        serial = ++m_connectionSerial;
        m_cameraId = static_cast<quint32>(cameraId);
        m_deviceId = deviceId;
        setProductId(static_cast<quint32>(productId));
        m_connected = true;
    }
    startEventReader(serial);
    emit signalConnectionOpened(1);
    return true;
}

bool OLP_Commu_CameraAccess_Linux_PTP::closeConnection()
{
    const char* name = OLP_NAME(closeConnection);
    quint32 cameraId = 0;
    quint32 productId = 0;
    {
        QMutexLocker lock(&m_stateMutex);
        if (!m_connected) {
            return false;
        }
        cameraId = m_cameraId;
        productId = this->productId();
    }
    debugPrintf(1, "%s - CameraId = 0x%X - ProductId = 0x%X", name, cameraId, productId);
    closeQxSession();
    sendCommand(PTP::OpCloseSession, 0, nullptr, OLP_NAME(closePtpSession));
    closeDevice();
    return true;
}

bool OLP_Commu_CameraAccess_Linux_PTP::closeDevice()
{
    const char* name = OLP_NAME(closeDevice);
    quint32 cameraId = 0;
    quint32 productId = 0;
    {
        QMutexLocker lock(&m_stateMutex);
        if (!m_connected) {
            debugPrintf(1, "%s - no camera connected", name);
            return false;
        }
        m_connected = false;
        cameraId = m_cameraId;
        productId = this->productId();
        m_cameraId = 0;
        m_deviceId.clear();
        clearConnectionState();
    }
    debugPrintf(1, "%s - CameraId = 0x%X - ProductId = 0x%X", name, cameraId, productId);
    shutdownDevice();
    emit signalConnectionClosed(1);
    return true;
}

void OLP_Commu_CameraAccess_Linux_PTP::closeDeviceIfCurrent(quint64 serial)
{
    {
        QMutexLocker lock(&m_stateMutex);
        if (!m_connected || m_connectionSerial != serial) {
            return;
        }
    }
    closeDevice();
}

void OLP_Commu_CameraAccess_Linux_PTP::releaseDevice()
{
    // Waits for a running transaction; the device is never released under it.
    QMutexLocker lock(&m_deviceMutex);
    m_transport.reset();
    m_device.reset();
}

// ---- transactions -------------------------------------------------------------------------------

bool OLP_Commu_CameraAccess_Linux_PTP::recvData(quint32 operationCode, quint32 paramCount, const quint32* params,
                                                quint8* buffer, quint32 dataSize, const char* callerName,
                                                quint32* received)
{
    return transact(KindIn, operationCode, paramCount, params, buffer, nullptr, buffer ? dataSize : 0,
                    callerName ? callerName : OLP_NAME(recvData), callerName != nullptr, received);
}

bool OLP_Commu_CameraAccess_Linux_PTP::sendCommand(quint32 operationCode, quint32 paramCount, const quint32* params,
                                                   const char* callerName)
{
    return transact(KindCommand, operationCode, paramCount, params, nullptr, nullptr, 0,
                    callerName ? callerName : OLP_NAME(sendCommand), callerName != nullptr, nullptr);
}

bool OLP_Commu_CameraAccess_Linux_PTP::sendData(quint32 operationCode, quint32 paramCount, const quint32* params,
                                                const quint8* buffer, quint32 dataSize, const char* callerName)
{
    return transact(KindOut, operationCode, paramCount, params, nullptr, buffer, buffer ? dataSize : 0,
                    callerName ? callerName : OLP_NAME(sendData), callerName != nullptr, nullptr);
}

bool OLP_Commu_CameraAccess_Linux_PTP::transact(eKind kind, quint32 operationCode, quint32 paramCount,
                                                const quint32* params, quint8* in, const quint8* out, quint32 dataSize,
                                                const char* name, bool named, quint32* received)
{
    if (received) {
        *received = 0;
    }
    quint32 kept = 0;
    bool gone = false;
    const bool success =
        transactLocked(kind, operationCode, paramCount, params, in, out, dataSize, name, named, &kept, &gone);
    // The buffer ends zero-filled behind the bytes that arrived; it is cleared
    // after the transfer, so a large answer is written only once. A failed
    // read leaves no half answer behind.
    if (in && dataSize > kept) {
        std::memset(in + kept, 0, dataSize - kept);
    }
    if (received) {
        *received = kept;
    }
    if (gone) {
        closeDevice();
    }
    return success;
}

bool OLP_Commu_CameraAccess_Linux_PTP::transactLocked(eKind kind, quint32 operationCode, quint32 paramCount,
                                                      const quint32* params, quint8* in, const quint8* out,
                                                      quint32 dataSize, const char* name, bool named, quint32* kept,
                                                      bool* gone)
{
    QMutexLocker lock(&m_deviceMutex);
    if (!m_transport) {
        return false;
    }
    if (paramCount > static_cast<quint32>(OLP_Commu_PtpContainer::MaxParams)) {
        debugPrintf(0, "%s - Error: %u parameters, at most 5 fit a command", name, paramCount);
        return false;
    }
    quint32 values[OLP_Commu_PtpContainer::MaxParams] = {};
    if (params) {
        std::memcpy(values, params, paramCount * sizeof(quint32));
    }
    const quint16 code = static_cast<quint16>(operationCode);
    const int count = static_cast<int>(paramCount);
    const int responseMs = responseTimeoutMs(m_timeouts, code, paramCount, values, exposureTime());
    OLP_Commu_PtpTransport::Result r = runOnce(kind, code, values, count, in, out, dataSize, responseMs);
    if (r.transportOk() && r.responseCode == PTP::RespSessionNotOpen) {
        // The camera refused without acting (it slept, or it was reset): with
        // its sessions open again the operation is repeated once, a release
        // too. After a time-out nothing is repeated: the camera may have acted.
        debugPrintf(0, "%s - the camera has no open session: opening it again and repeating the operation once", name);
        if (reopenSessionsLocked(name)) {
            r = runOnce(kind, code, values, count, in, out, dataSize, responseMs);
        } else if (m_deviceGone) {
            *gone = true;
            return false;
        }
    }
    if (!r.transportOk()) {
        logTransportFailure(kind, name, r);
        if (r.usbError == eUsbError::NoDevice) {
            m_deviceGone = true;
            *gone = true;
        }
        return false;
    }
    if (r.responseCode != PTP::RespOK) {
        debugPrintf(0, "%s - MTP Response code: 0x%08X", name, static_cast<quint32>(r.responseCode));
        return false;
    }
    *kept = r.kept;
    if (named) {
        debugPrintf(1, "%s - successful", name);
    }
    return true;
}

OLP_Commu_PtpTransport::Result OLP_Commu_CameraAccess_Linux_PTP::runOnce(eKind kind, quint16 code,
                                                                         const quint32* values, int count, quint8* in,
                                                                         const quint8* out, quint32 dataSize,
                                                                         int responseMs)
{
    OLP_Commu_PtpTransport::Result r;
    for (int repetitions = 0;; ++repetitions) {
        switch (kind) {
            case KindCommand:
                r = m_transport->command(code, values, count, responseMs);
                break;
            case KindIn:
                r = m_transport->dataIn(code, values, count, in, dataSize);
                break;
            case KindOut:
                r = m_transport->dataOut(code, values, count, out, dataSize);
                break;
        }
        if (!r.transportOk() || r.responseCode != PTP::RespDeviceBusy || repetitions >= MaxBusyRepetitions) {
            return r;
        }
        // The device mutex stays held: other callers wait for the busy camera.
        QThread::msleep(BusyDelayMs);
    }
}

bool OLP_Commu_CameraAccess_Linux_PTP::reopenSessionsLocked(const char* name)
{
    const OLP_Commu_PtpTransport::Result session = m_transport->openSession(PtpSessionId);
    if (!session.transportOk() ||
        (session.responseCode != PTP::RespOK && session.responseCode != PTP::RespSessionAlreadyOpen)) {
        debugPrintf(0, "%s - Failed to open the PTP session again", name);
        if (session.usbError == eUsbError::NoDevice) {
            m_deviceGone = true;
        }
        return false;
    }
    const quint32 vendor = PTP::QxSessionCode;
    const OLP_Commu_PtpTransport::Result qx = m_transport->command(PTP::OpOpenQxSession, &vendor, 1);
    if (!qx.transportOk() || qx.responseCode != PTP::RespOK) {
        debugPrintf(0, "%s - Failed to open the vendor session again", name);
    }
    return true;
}

int OLP_Commu_CameraAccess_Linux_PTP::responseTimeoutMs(const OLP_Commu_PtpTransport::Timeouts& timeouts,
                                                        quint16 operationCode, quint32 paramCount,
                                                        const quint32* params, double exposureSeconds)
{
    const quint32 first = paramCount > 0 && params ? params[0] : 0;
    bool exposes = false;
    bool knownLength = true;
    switch (operationCode) {
        case PTP::OpReleaseCam:
            exposes = paramCount > 0 && (first == quint32(PTP::StageRelease) || first == quint32(PTP::StageBulbClose));
            knownLength = first == quint32(PTP::StageRelease);
            break;
        case PTP::OpInitiateCapture:
            exposes = true;
            break;
        case PTP::OpControlBulbExposure:
            // Closing: the camera answers once the picture (and any long-exposure
            // noise reduction) is done, which the program cannot know.
            exposes = paramCount > 0 && first == 1;
            knownLength = false;
            break;
        default:
            break;
    }
    if (!exposes) {
        return timeouts.responseMs;
    }
    double ms = timeouts.unknownExposureMs;
    if (knownLength && exposureSeconds >= 0) {
        ms = exposureSeconds * timeouts.exposureMsPerSecond + timeouts.exposureMarginMs;
    }
    return int(qBound(double(timeouts.responseMs), ms, double(std::numeric_limits<int>::max())));
}

void OLP_Commu_CameraAccess_Linux_PTP::logTransportFailure(eKind kind, const char* name,
                                                           const OLP_Commu_PtpTransport::Result& r) const
{
    const char* phase = "";
    if (kind != KindCommand) {
        switch (r.phase) {
            case OLP_Commu_PtpTransport::PhaseCommand:
                phase = " (initiating)";
                break;
            case OLP_Commu_PtpTransport::PhaseData:
                phase = kind == KindIn ? " (reading data)" : " (sending data)";
                break;
            case OLP_Commu_PtpTransport::PhaseResponse:
                phase = " (ending transfer)";
                break;
        }
    }
    if (r.usbError != eUsbError::Ok) {
        debugPrintf(0, "%s - Driver return code%s: %d (%s)", name, phase, static_cast<int>(r.usbError),
                    usbErrorName(r.usbError));
    } else {
        debugPrintf(0, "%s - Protocol error%s: %s", name, phase, r.problem.constData());
    }
}

// ---- events -------------------------------------------------------------------------------------

bool OLP_Commu_CameraAccess_Linux_PTP::isEventReaderRunning() const
{
    QMutexLocker lock(&m_eventThreadMutex);
    return m_eventThread.joinable();
}

void OLP_Commu_CameraAccess_Linux_PTP::startEventReader(quint64 serial)
{
    QMutexLocker lock(&m_eventThreadMutex);
    {
        QMutexLocker state(&m_stateMutex);
        if (!m_connected || m_connectionSerial != serial) {
            return;
        }
    }
    OLP_Commu_UsbDevice* device = nullptr;
    int pollMs = 0;
    {
        QMutexLocker deviceLock(&m_deviceMutex);
        device = m_device.get();
        pollMs = m_timeouts.eventPollMs;
    }
    if (!device || m_eventThread.joinable()) {
        return;
    }
    m_stopEvents = false;
    m_eventThread = std::thread([this, device, serial, pollMs] { eventLoop(device, serial, pollMs); });
}

void OLP_Commu_CameraAccess_Linux_PTP::shutdownDevice()
{
    // Held across stop and release, so a reader is never started on a device
    // that is being released.
    QMutexLocker lock(&m_eventThreadMutex);
    m_stopEvents = true;
    if (m_eventThread.joinable()) {
        if (m_eventThread.get_id() == std::this_thread::get_id()) {
            // Not reached: the reader queues closeDevice instead of calling it.
            m_eventThread.detach();
        } else {
            m_eventThread.join();
        }
    }
    releaseDevice();
}

void OLP_Commu_CameraAccess_Linux_PTP::eventLoop(OLP_Commu_UsbDevice* device, quint64 serial, int pollMs)
{
    const char* name = OLP_NAME(eventLoop);
    const quint32 packet = qMax<quint32>(1, device->interruptPacketSize());
    const quint32 size = (64 + packet - 1) / packet * packet;
    std::vector<quint8> buffer(size);
    while (!m_stopEvents) {
        quint32 got = 0;
        const eUsbError error = device->interruptRead(buffer.data(), size, &got, pollMs);
        if (error == eUsbError::Timeout) {
            continue;
        }
        if (error == eUsbError::NoDevice) {
            debugPrintf(1, "%s - the camera is gone: %d (%s)", name, static_cast<int>(error), usbErrorName(error));
            QMetaObject::invokeMethod(
                this, [this, serial] { closeDeviceIfCurrent(serial); }, Qt::QueuedConnection);
            return;
        }
        if (error != eUsbError::Ok) {
            debugPrintf(0, "%s - Driver return code: %d (%s)", name, static_cast<int>(error), usbErrorName(error));
            if (error == eUsbError::Stall) {
                device->clearHalt(OLP_Commu_UsbDevice::EndpointInterrupt);
            } else {
                QThread::msleep(static_cast<unsigned long>(qMax(pollMs, 1)));
            }
            continue;
        }
        if (got == 0) {
            continue;
        }
        OLP_Commu_PtpContainer event;
        const OLP_Commu_PtpContainer::eDecode decoded = OLP_Commu_PtpContainer::decodeParams(
            buffer.data(), qMin(got, size), OLP_Commu_PtpContainer::TypeEvent, &event);
        if (decoded != OLP_Commu_PtpContainer::DecodeOk) {
            debugPrintf(0, "%s - malformed event container of %u bytes: %s", name, got,
                        OLP_Commu_PtpContainer::decodeName(decoded));
            continue;
        }
        handleEvent(event);
    }
}

void OLP_Commu_CameraAccess_Linux_PTP::handleEvent(const OLP_Commu_PtpContainer& event)
{
    const bool hasParam = event.paramCount > 0;
    const quint32 param = hasParam ? event.params[0] : 0;
    debugPrintf(1, "eventCode = 0x%04X paramCount = %d param1 = 0x%08X", event.code, event.paramCount, param);
    switch (event.code) {
        case PTP::EventRequestObjectTransfer:
            debugPrintf(1, "eventCode = 0x%04X is RequestObjectTransfer", event.code);
            emit signalTransferRequest();
            break;
        case PTP::kQxDevicePropChanged:
            debugPrintf(1, "eventCode = 0x%04X is kQxDevicePropChanged", event.code);
            if (hasParam) {
                queueDevicePropertyChanged(static_cast<quint16>(param & 0xFFFF));
            }
            break;
        case PTP::kQxCameraSettingsChanged:
            debugPrintf(1, "eventCode = 0x%04X is kQxCameraSettingsChanged", event.code);
            emit signalSettingsChanged();
            break;
        case PTP::kQxLensChanged:
            debugPrintf(1, "eventCode = 0x%04X is kQxLensChanged", event.code);
            if (OLP::isTickProduct(productId())) {
                emit signalLensChanged();
            }
            break;
        case PTP::kQxBulbTick:
            debugPrintf(1, "eventCode = 0x%04X is kQxBulbTick", event.code);
            if (hasParam) {
                emitBulbCounter(static_cast<int>(param));
            }
            break;
        case PTP::kQxSelfTimerTick:
            debugPrintf(1, "eventCode = 0x%04X is kQxSelfTimerTick", event.code);
            if (hasParam) {
                emitSelfTimerCounter(static_cast<int>(param));
            }
            break;
        case PTP::kQxGeoTackingStatusChanged:
            debugPrintf(1, "eventCode = 0x%04X is kQxGeoTackingStatusChanged", event.code);
            emit signalGeotackingChanged();
            break;
        case PTP::kQx3DAxisDataChanged:
            debugPrintf(1, "eventCode = 0x%04X is kQx3DAxisDataChanged", event.code);
            emit signal3DAxisDataChanged();
            break;
        case PTP::EventObjectAdded:
        case PTP::EventObjectRemoved:
        case PTP::EventStoreAdded:
        case PTP::EventStoreRemoved:
        case PTP::EventDevicePropChanged:
        case PTP::EventObjectInfoChanged:
        case PTP::EventDeviceInfoChanged:
        case PTP::EventStoreFull:
        case PTP::EventStorageInfoChanged:
        case PTP::EventCaptureComplete:
            // Standard events of every PTP camera; the vendor events tell this
            // program the same, so these are left alone.
            debugPrintf(1, "eventCode = 0x%04X is a standard event, not used", event.code);
            break;
        default:
            debugPrintf(1, "eventCode = 0x%04X is unknown", event.code);
            break;
    }
}
