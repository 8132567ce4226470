#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <vector>

#include "OLP_Commu_UsbDevice.h"

// Runs PTP transactions (command, optional data phase, response) over the bulk
// endpoints of one opened USB device, with our own transaction IDs.
//
// Data from the camera streams straight into the caller's buffer; whatever
// does not fit is drained in fixed chunks so the device stays in step, and
// nothing is ever allocated by a length the camera announces. Every transfer
// has a time-out. A camera that leaves out the zero-length packet after a
// data phase of whole packets sends its response in the same read as the
// data's end or in the next read; either is taken as the response. After a
// stall the camera's status is asked with Get Device Status (again while it
// reports busy, a bounded number of times) before the halt is cleared; after
// a time-out or a malformed container the device gets the class Device Reset,
// so the next transaction starts clean. Device Busy is not retried here.
//
// Threads: not thread-safe; the access object calls it under its device mutex.
class OLP_Commu_PtpTransport
{
public:
    struct Timeouts
    {
        int commandMs = 5000;     // command container and class requests
        int dataChunkMs = 10000;  // each chunk of a data phase: progress starts a new time-out
        int responseMs = 5000;
        int eventPollMs = 250;  // one wait of the event reader; also how fast it notices a stop
        // After a stall: the pause between Get Device Status requests while
        // the camera reports busy, and the most requests made.
        int statusPollMs = 100;
        int statusPolls = 50;
        // An operation that exposes is answered after the exposure: its
        // response may take the shutter time (exposureMsPerSecond per second)
        // plus exposureMarginMs, or unknownExposureMs when the shutter time
        // is not known. Tests shrink the scale instead of sleeping.
        int exposureMsPerSecond = 1000;
        int exposureMarginMs = 10000;
        int unknownExposureMs = 60000;
    };

    enum ePhase
    {
        PhaseCommand,
        PhaseData,
        PhaseResponse
    };

    struct Result
    {
        eUsbError usbError = eUsbError::Ok;
        QByteArray problem;  // framing fault, empty when none
        ePhase phase = PhaseCommand;
        quint16 responseCode = 0;  // valid when transportOk()
        quint32 kept = 0;          // bytes placed into the caller's buffer
        quint64 announced = 0;     // payload bytes the data container announced
        quint64 arrived = 0;       // payload bytes that arrived
        bool transportOk() const { return usbError == eUsbError::Ok && problem.isEmpty(); }
    };

    // The first read of a data phase asks for StageSize bytes and one packet
    // more, so that the response of a camera without zero-length packets
    // arrives with a data phase that fills the stage exactly.
    static constexpr quint32 StageSize = 16 * 1024;
    static constexpr quint32 ChunkSize = 1024 * 1024;
    static constexpr quint32 DrainSize = 64 * 1024;

    explicit OLP_Commu_PtpTransport(OLP_Commu_UsbDevice* device);

    void setTimeouts(const Timeouts& timeouts) { m_timeouts = timeouts; }
    const Timeouts& timeouts() const { return m_timeouts; }
    quint32 nextTransactionId() const { return m_nextTransactionId; }

    // OpenSession with transaction ID 0; later transactions count from 1.
    Result openSession(quint32 sessionId);
    // responseMs > 0 replaces the response time-out of this transaction.
    Result command(quint16 code, const quint32* params, int paramCount, int responseMs = 0);
    Result dataIn(quint16 code, const quint32* params, int paramCount, quint8* buffer, quint32 size);
    Result dataOut(quint16 code, const quint32* params, int paramCount, const quint8* buffer, quint32 size);

private:
    enum eDirection
    {
        DirectionNone,
        DirectionIn,
        DirectionOut
    };

    Result run(quint16 code, const quint32* params, int paramCount, eDirection direction, quint8* in, const quint8* out,
               quint32 size, int responseMs = 0);
    bool writeCommand(quint16 code, quint32 transactionId, const quint32* params, int paramCount, Result* r);
    void readData(quint16 code, quint32 transactionId, quint8* buffer, quint32 size, Result* r);
    void writeData(quint16 code, quint32 transactionId, const quint8* buffer, quint32 size, Result* r);
    void readResponse(quint32 transactionId, bool zeroLengthPacketPossible, Result* r);
    // The response container in bytes that arrived behind the data; false
    // when they are not one of this transaction.
    bool takeResponse(const quint8* data, quint32 size, quint32 transactionId, Result* r);
    bool writeAll(const quint8* data, quint32 size, int timeoutMs, Result* r);
    void recover(const Result& r, OLP_Commu_UsbDevice::eEndpoint endpoint);
    quint32 aligned(quint32 size) const;

    OLP_Commu_UsbDevice* m_device;
    Timeouts m_timeouts;
    quint32 m_nextTransactionId = 1;
    int m_responseMs = 0;  // response time-out of the running transaction
    quint32 m_packetSize;
    quint32 m_stageRead;  // the stage size rounded down to whole packets, and one packet
    quint32 m_chunk;      // the chunk size rounded down to whole packets
    std::vector<quint8> m_stage;
    std::vector<quint8> m_drain;
};
