#pragma once

#include <QByteArray>
#include <chrono>
#include <deque>
#include <memory>

#include "OLP_Commu_EmuObject.h"
#include "OLP_Commu_UsbDevice.h"

// The camera's bulk-in endpoint as the host's reads meet it: a queue of
// device transfers, each sent in packets of the endpoint's size and ended by
// a short packet, or by a zero-length packet when it fills whole packets.
// A host read takes whole packets until its size is reached or a short packet
// ends it; a packet that does not fit the rest of the read overflows, as on a
// real bus. A transfer may be due only later (a camera that answers after an
// exposure); reads wait for it. Not thread-safe: the camera guards it.
class OLP_Commu_EmuPipe
{
public:
    using Clock = std::chrono::steady_clock;

    // What ends a transfer of whole packets.
    enum eZeroLengthPacket
    {
        ZeroLengthPacketSent,  // as the still image class asks
        // No zero-length packet: the next transfer (the response) follows in
        // the same host read when the read has room for it.
        ResponseJoinsData,
        // No zero-length packet, and the host read ends with the data: the
        // response comes with the next read.
        ResponseInNextRead,
    };

    explicit OLP_Commu_EmuPipe(quint32 packetSize = 512) : m_packetSize(packetSize) {}

    void setPacketSize(quint32 packetSize) { m_packetSize = packetSize > 0 ? packetSize : 512; }
    quint32 packetSize() const { return m_packetSize; }
    void setZeroLengthPacket(eZeroLengthPacket mode) { m_zeroLengthPacket = mode; }
    eZeroLengthPacket zeroLengthPacket() const { return m_zeroLengthPacket; }

    void push(const QByteArray& transfer, Clock::time_point due = Clock::time_point());
    // head, then count bytes of object from offset; only the first limit bytes
    // of the whole are sent (a data phase cut short).
    void push(const QByteArray& head, const std::shared_ptr<const OLP_Commu_EmuObject>& object, quint64 offset,
              quint64 count, quint64 limit);

    bool isEmpty() const { return m_queue.empty(); }
    // Something is there to read now; otherwise *due says when (the clock's
    // epoch when nothing is queued).
    bool isReady(Clock::time_point now, Clock::time_point* due) const;
    void clear() { m_queue.clear(); }
    // Every transfer held for later is due now.
    void releaseHeld(Clock::time_point now);

    eUsbError read(quint8* target, quint32 size, quint32* received);

private:
    struct Transfer
    {
        QByteArray head;
        std::shared_ptr<const OLP_Commu_EmuObject> object;
        quint64 objectOffset = 0;
        quint64 total = 0;
        quint64 position = 0;
        Clock::time_point due;
    };

    static void copy(const Transfer& transfer, quint64 from, quint8* target, quint64 count);

    quint32 m_packetSize;
    eZeroLengthPacket m_zeroLengthPacket = ZeroLengthPacketSent;
    std::deque<Transfer> m_queue;
};
