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
// has a time-out. After a stall the halt is cleared; after a time-out or a
// malformed container the device gets the class Device Reset, so the next
// transaction starts clean. Device Busy is not retried here.
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

    static constexpr quint32 StageSize = 16 * 1024;
    static constexpr quint32 ChunkSize = 1024 * 1024;
    static constexpr quint32 DrainSize = 64 * 1024;

    explicit OLP_Commu_PtpTransport(OLP_Commu_UsbDevice* device);

    void setTimeouts(const Timeouts& timeouts) { m_timeouts = timeouts; }
    const Timeouts& timeouts() const { return m_timeouts; }
    quint32 nextTransactionId() const { return m_nextTransactionId; }

    // OpenSession with transaction ID 0; later transactions count from 1.
    Result openSession(quint32 sessionId);
    Result command(quint16 code, const quint32* params, int paramCount);
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
               quint32 size);
    bool writeCommand(quint16 code, quint32 transactionId, const quint32* params, int paramCount, Result* r);
    void readData(quint16 code, quint32 transactionId, quint8* buffer, quint32 size, Result* r);
    void writeData(quint16 code, quint32 transactionId, const quint8* buffer, quint32 size, Result* r);
    void readResponse(quint32 transactionId, bool zeroLengthPacketPossible, Result* r);
    bool writeAll(const quint8* data, quint32 size, int timeoutMs, Result* r);
    void recover(const Result& r, OLP_Commu_UsbDevice::eEndpoint endpoint);
    quint32 aligned(quint32 size) const;

    OLP_Commu_UsbDevice* m_device;
    Timeouts m_timeouts;
    quint32 m_nextTransactionId = 1;
    quint32 m_packetSize;
    quint32 m_stageRead;  // the stage size rounded down to whole packets
    quint32 m_chunk;      // the chunk size rounded down to whole packets
    std::vector<quint8> m_stage;
    std::vector<quint8> m_drain;
};
