#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "OLP_Commu_CameraAccess_Base.h"
#include "OLP_Commu_PtpTransport.h"
#include "OLP_Commu_UsbPort.h"

class OLP_Commu_PtpContainer;

// The camera access for cameras on USB (connection type 1): discovery of the
// maker's cameras among the USB devices, the PTP and vendor sessions, the
// three transport primitives as PTP transactions on the bulk endpoints, and
// the camera's events read from the interrupt endpoint.
//
// Thread: lives in the controller thread; checkDeviceAvailable,
// openConnection and closeConnection are called there. The primitives may be
// called from any thread; the device mutex makes each transaction, with its
// Device Busy repetitions, atomic. closeDevice may be called from any thread
// except the event reader; the connected-to-disconnected change happens once.
// Owns the opened USB device and the event reader thread, which only emits
// signals, queues property codes and queues closeDevice when the camera is
// gone. The USB port is shared (the process-wide hub by default).
//
// Real cameras: a camera that refuses an operation with Session Not Open
// (asleep, or reset) gets its sessions opened again and the operation once
// more; an operation that exposes waits for its answer as long as the
// exposure takes; a camera that cannot be opened is offered again after a
// pause that grows from retryPauses().firstMs to maxMs, with one log line
// and one signalOpenProblem per cause; standard events the program does not
// use are ignored.
class OLP_Commu_CameraAccess_Linux_PTP : public OLP_Commu_CameraAccess_Base
{
    Q_OBJECT
public:
    struct DeviceEntry
    {
        quint64 cameraId = 0;  // USB vendor ID
        int productId = 0;
        QString deviceId;
        bool operator==(const DeviceEntry& other) const
        {
            return cameraId == other.cameraId && productId == other.productId && deviceId == other.deviceId;
        }
    };

    // How long a camera that could not be opened waits before discovery offers it again.
    struct RetryPauses
    {
        int firstMs = 1000;
        int maxMs = 30000;
    };

    // A null port means the process-wide hub (libusb plus any emulated ports).
    explicit OLP_Commu_CameraAccess_Linux_PTP(std::shared_ptr<OLP_Commu_UsbPort> port = nullptr,
                                              QObject* parent = nullptr);
    ~OLP_Commu_CameraAccess_Linux_PTP() override;

    bool openConnection(quint64 cameraId, int productId, const QString& deviceId) override;
    bool closeConnection() override;
    bool recvData(quint32 operationCode, quint32 paramCount, const quint32* params, quint8* buffer, quint32 dataSize,
                  const char* callerName, quint32* received = nullptr) override;
    bool sendCommand(quint32 operationCode, quint32 paramCount, const quint32* params, const char* callerName) override;
    bool sendData(quint32 operationCode, quint32 paramCount, const quint32* params, const quint8* buffer,
                  quint32 dataSize, const char* callerName) override;

    // The camera went away or the connection ends: stops the event reader,
    // releases the device once no transaction uses it, clears the identity and
    // emits signalConnectionClosed(1). False when not connected.
    bool closeDevice();

    // Time-outs of the transfers of the next and the current connection.
    void setTimeouts(const OLP_Commu_PtpTransport::Timeouts& timeouts);
    OLP_Commu_PtpTransport::Timeouts timeouts() const;

    // Controller thread.
    void setRetryPauses(const RetryPauses& pauses) { m_retryPauses = pauses; }
    RetryPauses retryPauses() const { return m_retryPauses; }
    // The pause before the device is offered again after its last failed
    // open; 0 when its last open did not fail.
    int retryPauseMs(const QString& deviceId) const;

    // The response time-out of an operation: the exposure for the operations
    // that expose (release, bulb close, capture), else the normal one.
    static int responseTimeoutMs(const OLP_Commu_PtpTransport::Timeouts& timeouts, quint16 operationCode,
                                 quint32 paramCount, const quint32* params, double exposureSeconds);

    quint32 cameraId() const;
    QString deviceId() const;
    QList<DeviceEntry> knownDevices() const { return m_knownDevices; }
    bool isEventReaderRunning() const;

    // Reads vendor and product ID from a device ID as discovery does: "usb",
    // then "vid_" and four hex digits, then "pid_" and four hex digits, without
    // regard to case.
    static bool parseDeviceId(const QString& deviceId, quint16* vendorId, quint16* productId);

public slots:
    bool checkDeviceAvailable() override;

private:
    enum eKind
    {
        KindCommand,
        KindIn,
        KindOut
    };

    bool transact(eKind kind, quint32 operationCode, quint32 paramCount, const quint32* params, quint8* in,
                  const quint8* out, quint32 dataSize, const char* name, bool named, quint32* received);
    // One transaction with its Device Busy repetitions, under the device mutex.
    bool transactLocked(eKind kind, quint32 operationCode, quint32 paramCount, const quint32* params, quint8* in,
                        const quint8* out, quint32 dataSize, const char* name, bool named, quint32* kept, bool* gone);
    OLP_Commu_PtpTransport::Result runOnce(eKind kind, quint16 code, const quint32* values, int count, quint8* in,
                                           const quint8* out, quint32 dataSize, int responseMs);
    // Opens the PTP and the vendor session again after the camera lost them.
    bool reopenSessionsLocked(const char* name);
    void logTransportFailure(eKind kind, const char* name, const OLP_Commu_PtpTransport::Result& r) const;
    // A failed open: the pause grows, the first failure of each cause is
    // logged (flag 0) and announced with signalOpenProblem.
    void noteOpenFailure(const QString& deviceId, int problem, const QByteArray& cause, const QByteArray& line);
    void forgetOpenFailure(const QString& deviceId);
    void releaseDevice();
    void forgetKnownDevice(const QString& deviceId);
    void startEventReader(quint64 serial);
    // Stops and joins the event reader, then releases the device.
    void shutdownDevice();
    void eventLoop(OLP_Commu_UsbDevice* device, quint64 serial, int pollMs);
    void handleEvent(const OLP_Commu_PtpContainer& event);
    void closeDeviceIfCurrent(quint64 serial);

    struct OpenRetry
    {
        QByteArray cause;  // what the last failure was, as logged
        int problem = OpenProblemNone;
        int pauseMs = 0;
        std::chrono::steady_clock::time_point due;
    };

    const std::shared_ptr<OLP_Commu_UsbPort> m_port;
    QList<DeviceEntry> m_knownDevices;        // controller thread only
    QHash<QString, OpenRetry> m_openRetries;  // controller thread only; by device ID
    RetryPauses m_retryPauses;                // controller thread only

    // Serialises whole transactions and guards m_device, m_transport,
    // m_deviceGone and m_timeouts. Never taken by the event reader.
    mutable QMutex m_deviceMutex;
    std::unique_ptr<OLP_Commu_UsbDevice> m_device;
    std::unique_ptr<OLP_Commu_PtpTransport> m_transport;
    bool m_deviceGone = false;
    OLP_Commu_PtpTransport::Timeouts m_timeouts;

    // Guards the connection identity: m_connected, m_cameraId, m_deviceId,
    // m_connectionSerial. Held only for the state change itself.
    mutable QMutex m_stateMutex;
    bool m_connected = false;
    quint32 m_cameraId = 0;
    QString m_deviceId;
    quint64 m_connectionSerial = 0;

    // Guards m_eventThread; held while the reader starts, and while it stops
    // and the device is released.
    mutable QMutex m_eventThreadMutex;
    std::thread m_eventThread;
    std::atomic<bool> m_stopEvents{false};
};
