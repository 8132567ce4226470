#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QStringList>
#include <QVector>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "OLP_Commu_EmuObject.h"
#include "OLP_Commu_EmuPipe.h"
#include "OLP_Commu_EmuProfile.h"
#include "OLP_Commu_UsbDevice.h"

// A virtual USB PTP camera: the device side of the cable. Its USB function
// (bulk-out, bulk-in, interrupt endpoint, class requests) is driven by the
// emulator's USB port or by a fake libusb; behind it a PTP responder answers
// from the product's profile. It is a protocol partner: it checks the host
// (session open, transaction ID sequence, parameter counts, data-phase
// direction, zero-length packets) and records every violation in
// protocolErrors(). Tests steer it with a small fault API and read what it
// saw. A command is processed when written; reads drain queued data; the
// interrupt endpoint waits on queued events.
//
// Threads: every member is safe to call from any thread; one mutex guards the
// whole state, host reads wait on a condition variable.
class OLP_Commu_EmuCamera
{
public:
    enum eEndpoint
    {
        BulkIn,
        BulkOut,
        Interrupt
    };

    struct Request
    {
        quint16 code = 0;
        quint32 transactionId = 0;
        QVector<quint32> params;
        QByteArray data;  // the host's data phase
    };

    explicit OLP_Commu_EmuCamera(quint16 productId);
    explicit OLP_Commu_EmuCamera(const OLP_Commu_EmuProfile& profile);
    ~OLP_Commu_EmuCamera();

    quint16 vendorId() const;
    quint16 productId() const;
    OLP_Commu_EmuProfile profile() const;
    quint32 bulkPacketSize() const;
    void setBulkPacketSize(quint32 size);
    quint32 interruptPacketSize() const { return 64; }

    // ---- the cable ----
    bool isPlugged() const;
    // Unplugging ends every host call with NoDevice and forgets the session;
    // plugging in again gives the camera a new bus address.
    void unplug();
    void replug();
    int address() const;

    // ---- the USB function (called by the USB port implementations) ----
    // Opens and claims the interface; token identifies this host handle.
    eUsbError claim(quint64* token);
    void release(quint64 token);
    eUsbError bulkOut(quint64 token, const quint8* data, quint32 size, quint32* written, int timeoutMs);
    eUsbError bulkIn(quint64 token, quint8* data, quint32 size, quint32* received, int timeoutMs);
    eUsbError interruptIn(quint64 token, quint8* data, quint32 size, quint32* received, int timeoutMs);
    eUsbError clearHalt(quint64 token, eEndpoint endpoint);
    eUsbError classCancel(quint64 token, quint32 transactionId);
    eUsbError classDeviceStatus(quint64 token, quint16* responseCode);
    eUsbError classReset(quint64 token);

    // ---- changes on the camera (each raises the camera's event) ----
    bool setPropertyValue(quint16 code, qint64 value);
    void setSettings(const QByteArray& settings);
    void setLens(const QByteArray& lens);
    void set3DAxis(double pitch, double roll, double temperature);
    void setGeotagging(const QByteArray& geotagging);
    void addObject(quint32 handle, const QByteArray& bytes);
    void addGeneratedObject(quint32 handle, quint64 size, quint32 seed = 0);

    // ---- faults ----
    // The next count operations (or only those with code onlyOperation)
    // answer responseCode; a host data phase is still taken.
    void failNextOperations(quint16 responseCode, int count = 1, quint16 onlyOperation = 0);
    void dropNextResponse();
    // The next access to the endpoint stalls it until the host clears the halt.
    void stallNext(eEndpoint endpoint);
    // The next data phase to the host stops after this many container bytes
    // (the header still announces the whole length).
    void truncateNextDataPhase(quint32 containerBytes);
    // The next operation is answered with exactly these bulk-in transfers.
    void replaceNextReply(const QList<QByteArray>& transfers);
    void queueEvent(quint16 code, const QVector<quint32>& params = {}, int delayMs = 0);
    void queueRawEvent(const QByteArray& bytes, int delayMs = 0);
    // Another program holds the interface: claiming it fails with Busy.
    void setInterfaceBusy(bool busy);

    // ---- observation ----
    int requestCount(quint16 code) const;
    int totalRequests() const;
    // Operation codes in the order they arrived (the last 1000).
    QVector<quint16> requestSequence() const;
    Request lastRequest() const;
    QList<Request> releases() const;
    qint64 propertyValue(quint16 code) const;
    QByteArray settings() const;
    QStringList protocolErrors() const;
    bool isSessionOpen() const;
    bool isVendorSessionOpen() const;
    bool isClaimed() const;
    int resetCount() const;
    int clearHaltCount(eEndpoint endpoint) const;
    int lastTimeoutMs(eEndpoint endpoint) const;
    // Host reads that wait on the endpoint right now.
    int waitingReads(eEndpoint endpoint) const;
    int pendingEvents() const;
    QVector<quint16> supportedOperations() const;

private:
    enum eData
    {
        DataNone,
        DataIn,
        DataOut
    };
    struct Reply
    {
        quint16 code = 0;
        QVector<quint32> params;
        bool hasData = false;
        QByteArray data;
        std::shared_ptr<const OLP_Commu_EmuObject> object;
        quint64 objectOffset = 0;
        quint64 objectCount = 0;
    };
    typedef void (OLP_Commu_EmuCamera::*Handler)(const Request&, Reply*);
    struct Operation
    {
        quint16 code;
        eData data;
        int minParams;
        int maxParams;
        bool needsSession;
        bool vendor;
        Handler handler;
    };
    struct Event
    {
        QByteArray bytes;
        std::chrono::steady_clock::time_point due;
    };
    struct Fault
    {
        quint16 responseCode;
        quint16 onlyOperation;
    };

    static const QVector<Operation>& operationTable();
    bool offers(const Operation& op) const;
    const Operation* findOperation(quint16 code) const;
    bool tokenValid(quint64 token) const;
    void protocolError(const QString& text);
    void processCommand(const quint8* data, quint32 size);
    void execute(const Operation& op, const Request& request);
    void sendReply(const Request& request, const Reply& reply, bool hasDataPhase);
    void takeDataOut(const quint8* data, quint32 size, bool shortEnd);
    void finishDataOut();
    void queueEventLocked(quint16 code, const QVector<quint32>& params, int delayMs);
    void resetPipes();
    QByteArray deviceInfo() const;
    QByteArray axisData() const;
    OLP_Commu_EmuProfile::Property* findProperty(quint16 code);

    void opGetDeviceInfo(const Request& r, Reply* out);
    void opOpenSession(const Request& r, Reply* out);
    void opCloseSession(const Request& r, Reply* out);
    void opGetPropDesc(const Request& r, Reply* out);
    void opGetPropValue(const Request& r, Reply* out);
    void opSetPropValue(const Request& r, Reply* out);
    void opGetObject(const Request& r, Reply* out);
    void opGetPartialObject(const Request& r, Reply* out);
    void opGetStreamInfo(const Request& r, Reply* out);
    void opWriteSettings(const Request& r, Reply* out);
    void opReadSettings(const Request& r, Reply* out);
    void opReadLens(const Request& r, Reply* out);
    void opReadGeotagging(const Request& r, Reply* out);
    void opRead3DAxis(const Request& r, Reply* out);
    void opOpenVendorSession(const Request& r, Reply* out);
    void opCloseVendorSession(const Request& r, Reply* out);
    void opRecorded(const Request& r, Reply* out);
    void opAccept(const Request& r, Reply* out);

    // Guards everything below.
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;

    OLP_Commu_EmuProfile m_profile;
    QMap<quint32, std::shared_ptr<const OLP_Commu_EmuObject>> m_objects;

    bool m_plugged = true;
    int m_address = 1;
    bool m_interfaceBusy = false;
    quint64 m_claimToken = 0;  // 0 while not claimed
    quint64 m_nextToken = 1;

    OLP_Commu_EmuPipe m_pipe;
    std::deque<Event> m_events;
    bool m_halted[3] = {false, false, false};
    bool m_stallNext[3] = {false, false, false};

    bool m_sessionOpen = false;
    bool m_vendorSessionOpen = false;
    quint32 m_lastTransactionId = 0;

    // The host's data phase being received.
    bool m_dataOutActive = false;
    bool m_dataOutHeaderSeen = false;
    quint32 m_dataOutLength = 0;
    QByteArray m_dataOut;
    Request m_dataOutRequest;
    quint16 m_dataOutAnswer = 0;  // answer decided at the command (an error or a fault), 0: execute
    bool m_expectZeroLengthPacket = false;
    bool m_discardUntilShort = false;

    // Faults.
    std::deque<Fault> m_faults;
    bool m_dropNextResponse = false;
    qint64 m_truncateNext = -1;
    QList<QByteArray> m_replacement;
    bool m_replaceNext = false;

    // Observation.
    QHash<quint16, int> m_requestCounts;
    int m_totalRequests = 0;
    QVector<quint16> m_requestSequence;
    Request m_lastRequest;
    QList<Request> m_releases;
    QStringList m_protocolErrors;
    int m_resetCount = 0;
    int m_clearHaltCount[3] = {0, 0, 0};
    int m_lastTimeout[3] = {0, 0, 0};
    int m_waiting[3] = {0, 0, 0};
};
