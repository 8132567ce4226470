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

#include "OLP_Commu_EmuCapture.h"
#include "OLP_Commu_EmuLiveView.h"
#include "OLP_Commu_EmuObject.h"
#include "OLP_Commu_EmuPipe.h"
#include "OLP_Commu_EmuProfile.h"
#include "OLP_Commu_EmuSequences.h"
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
    // The user may not open the device (no udev rule): opening it fails with Access.
    void setAccessDenied(bool denied);
    bool isAccessDenied() const;
    // The camera is set to another USB mode (mass storage): it has no still
    // image interface, and opening it fails with NotSupported.
    void setStillImageInterface(bool present);
    bool hasStillImageInterface() const;

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
    // A user turning a dial: bytes of the settings structure change in place.
    void changeSettings(int offset, const QByteArray& bytes);
    void setLens(const QByteArray& lens);
    void set3DAxis(double pitch, double roll, double temperature);
    void setGeotagging(const QByteArray& geotagging);
    void addObject(quint32 handle, const QByteArray& bytes);
    void addGeneratedObject(quint32 handle, quint64 size, quint32 seed = 0);
    // The thumbnail of an object for one thumbnail type (0 small, 1 preview,
    // 2 large preview); the object info announces its size for that type.
    // An object is a DNG when bits 0-3 of its handle are 2, else a JPG.
    void setThumbnail(quint32 handle, int thumbType, const QByteArray& bytes);

    // ---- faults ----
    // The next count operations (or only those with code onlyOperation, and
    // of those only the ones whose first parameter is onlyFirstParam when it
    // is 0 or more) answer responseCode; a host data phase is still taken.
    void failNextOperations(quint16 responseCode, int count = 1, quint16 onlyOperation = 0, qint64 onlyFirstParam = -1);
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
    // A slow link: bulk-in data leaves the camera at this many bytes per second
    // (0: at once). A host read returns once its bytes have had their time on
    // the wire; unplugging ends the wait at once with NoDevice, and a read
    // whose bytes need longer than its time-out ends with Timeout after it.
    void setBulkInRate(quint64 bytesPerSecond);
    // Whether the camera ends a data phase of whole packets with a
    // zero-length packet, or sends its response behind the data.
    void setZeroLengthPacket(OLP_Commu_EmuPipe::eZeroLengthPacket mode);
    // The camera falls asleep: it forgets both sessions and refuses every
    // operation with Session Not Open until the host opens them again.
    void sleep();
    // A class Device Reset makes the camera forget its sessions as well.
    void setSessionLostOnReset(bool lost);
    // The next count Get Device Status requests find the camera busy. Clearing
    // a halt while it is busy is a protocol error.
    void reportBusyStatus(int count);
    // A release that exposes is answered only after the exposure: the
    // camera's shutter time, msPerSecond milliseconds per second (0: at once).
    // Its pictures are announced then too.
    void setExposureTimeScale(int msPerSecond);
    // The answer to the next operation with this code is held back until
    // releaseHeldAnswer(): the host waits as for a slow camera.
    void holdNextAnswer(quint16 operation);
    void releaseHeldAnswer();

    // ---- live view ----
    // The user switches live view at the camera (0 off, 2 photo, 3 video);
    // property 0x5020 and its change event follow. The host switches it with
    // the release stages; GetStreamData answers while live view runs and the
    // host has enabled the stream (0x5021 = 1), else Access Denied.
    void setLiveViewState(int state);
    int liveViewState() const;
    // The zoom tag of the next packet (16 values, sensor pixels).
    QVector<quint32> liveViewZoomValues() const;
    int greyCardOperations() const;
    // Fault: the next GetStreamData answers these bytes instead of a frame.
    void queueStreamPacket(const QByteArray& bytes);
    // The camera takes this long to produce each packet (0: at once).
    void setStreamDataDelay(int ms);
    quint32 streamFramesSent() const;

    // ---- pictures ----
    // With captures enabled, each release that takes pictures adds files as
    // the camera's file format and bracketing say, and announces each with
    // RequestObjectTransfer (OLP_Commu_EmuCapture).
    void setCaptureOptions(const OLP_Commu_EmuCapture::Options& options);
    OLP_Commu_EmuCapture::Options captureOptions() const;
    // Takes pictures as a single release would, whether captures are enabled or not.
    void capture(int shots);
    // The camera announces a file of its own making (another file type, broken data).
    void announceObject(const QString& fileName, const QByteArray& bytes, quint32 sequenceNumber = 1);
    QList<OLP_Commu_EmuCapture::Picture> capturedPictures() const;
    // Files announced and not yet acknowledged with ObjectTransferReady.
    int pendingNewObjects() const;

    // ---- release sequences (bulb, mirror-up, self-timer, continuous, own interval) ----
    void setSequenceOptions(const OLP_Commu_EmuSequences::Options& options);
    OLP_Commu_EmuSequences::Options sequenceOptions() const;
    bool isMirrorRaised() const;
    bool isBulbOpen() const;
    bool isContinuousOpen() const;

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
    int deviceStatusRequests() const;
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
        qint64 onlyFirstParam;  // -1: any
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
    void opGetStorageIDs(const Request& r, Reply* out);
    void opGetStorageInfo(const Request& r, Reply* out);
    void opGetNumObjects(const Request& r, Reply* out);
    void opGetObjectHandles(const Request& r, Reply* out);
    void opGetObjectInfo(const Request& r, Reply* out);
    void opGetThumb(const Request& r, Reply* out);
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
    void opGetObjectPropsSupported(const Request& r, Reply* out);
    void opGetObjectPropValue(const Request& r, Reply* out);
    void opObjectTransferReady(const Request& r, Reply* out);
    // Answers an object operation on the new-object handle while a new picture
    // waits; false otherwise (other handles, or an object stored under it).
    bool newObjectLocked(const Request& r, Reply* out);
    void takePicturesLocked(int shots, int delayMs = 0);
    // The events of one new picture: ObjectAdded first on a standard camera,
    // then the request to transfer it.
    void announcePictureLocked(const OLP_Commu_EmuCapture::Picture& picture, int delayMs);
    // The shutter time the camera would expose now, in seconds.
    double exposureSecondsLocked() const;
    // A release as the camera's sequences see it: events, property changes, pictures.
    void runSequenceLocked(const Request& r);
    void takeSpacedPicturesLocked(int shots, int firstDelayMs, int spacingMs);
    void opGetStreamData(const Request& r, Reply* out);
    void liveViewControlLocked(const Request& r, Reply* out);
    // Property 0x5020 follows the live-view state; a change raises its event.
    void syncLiveViewPropertyLocked();
    void opAccept(const Request& r, Reply* out);

    // Guards everything below.
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;

    OLP_Commu_EmuProfile m_profile;
    OLP_Commu_EmuCapture m_capture;
    OLP_Commu_EmuSequences m_sequences;
    OLP_Commu_EmuLiveView m_liveView;
    int m_streamDataDelayMs = 0;
    QMap<quint32, std::shared_ptr<const OLP_Commu_EmuObject>> m_objects;
    QHash<quint64, QByteArray> m_thumbnails;  // key: handle << 8 | thumbnail type

    bool m_plugged = true;
    int m_address = 1;
    bool m_interfaceBusy = false;
    quint64 m_bulkInRate = 0;  // bytes per second, 0: unpaced
    bool m_accessDenied = false;
    bool m_stillImageInterface = true;
    quint64 m_claimToken = 0;  // 0 while not claimed
    quint64 m_nextToken = 1;

    OLP_Commu_EmuPipe m_pipe;
    std::deque<Event> m_events;
    bool m_halted[3] = {false, false, false};
    bool m_stallNext[3] = {false, false, false};

    bool m_sessionOpen = false;
    bool m_vendorSessionOpen = false;
    // The camera itself closed the sessions (sleep, reset): the host cannot
    // know, so operations outside the session are no protocol error then.
    bool m_sessionLostByCamera = false;
    bool m_sessionLostOnReset = false;
    quint32 m_lastTransactionId = 0;
    int m_busyStatus = 0;
    int m_exposureMsPerSecond = 0;
    int m_exposureDelayMs = 0;  // of the release being answered
    quint16 m_holdOperation = 0;

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
    int m_deviceStatusRequests = 0;
    int m_clearHaltCount[3] = {0, 0, 0};
    int m_lastTimeout[3] = {0, 0, 0};
    int m_waiting[3] = {0, 0, 0};
};
