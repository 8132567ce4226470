#include "OLP_Commu_EmuPipe.h"

#include <algorithm>
#include <cstring>

void OLP_Commu_EmuPipe::push(const QByteArray& transfer, Clock::time_point due)
{
    Transfer t;
    t.head = transfer;
    t.total = static_cast<quint64>(transfer.size());
    t.due = due;
    m_queue.push_back(t);
}

void OLP_Commu_EmuPipe::push(const QByteArray& head, const std::shared_ptr<const OLP_Commu_EmuObject>& object,
                             quint64 offset, quint64 count, quint64 limit)
{
    Transfer t;
    t.head = head;
    t.object = object;
    t.objectOffset = offset;
    t.total = std::min<quint64>(static_cast<quint64>(head.size()) + count, limit);
    m_queue.push_back(t);
}

bool OLP_Commu_EmuPipe::isReady(Clock::time_point now, Clock::time_point* due) const
{
    if (m_queue.empty()) {
        *due = Clock::time_point();
        return false;
    }
    *due = m_queue.front().due;
    return m_queue.front().due <= now;
}

void OLP_Commu_EmuPipe::releaseHeld(Clock::time_point now)
{
    for (Transfer& t : m_queue) {
        t.due = std::min(t.due, now);
    }
}

void OLP_Commu_EmuPipe::copy(const Transfer& transfer, quint64 from, quint8* target, quint64 count)
{
    const quint64 headSize = static_cast<quint64>(transfer.head.size());
    if (from < headSize) {
        const quint64 n = std::min(count, headSize - from);
        std::memcpy(target, transfer.head.constData() + from, n);
        target += n;
        from += n;
        count -= n;
    }
    if (count > 0 && transfer.object) {
        transfer.object->copyTo(transfer.objectOffset + (from - headSize), target, count);
    }
}

eUsbError OLP_Commu_EmuPipe::read(quint8* target, quint32 size, quint32* received)
{
    *received = 0;
    if (m_queue.empty()) {
        return eUsbError::Timeout;
    }
    Transfer& t = m_queue.front();
    const quint64 remaining = t.total - t.position;
    if (remaining == 0) {
        // Only the zero-length packet of a transfer of whole packets is left.
        m_queue.pop_front();
        return eUsbError::Ok;
    }
    const quint64 wholePackets = size / m_packetSize * m_packetSize;
    if (remaining > size && size % m_packetSize != 0) {
        // The packet after the whole ones does not fit the rest of the read.
        copy(t, t.position, target, wholePackets);
        *received = static_cast<quint32>(wholePackets);
        t.position += std::min<quint64>(remaining, wholePackets + m_packetSize);
        if (t.position >= t.total) {
            m_queue.pop_front();
        }
        return eUsbError::Overflow;
    }
    const quint64 n = std::min<quint64>(remaining, size);
    copy(t, t.position, target, n);
    t.position += n;
    *received = static_cast<quint32>(n);
    if (t.position < t.total) {
        return eUsbError::Ok;
    }
    const bool wholePacketsOnly = t.total % m_packetSize == 0;
    if (!wholePacketsOnly || m_zeroLengthPacket != ZeroLengthPacketSent) {
        m_queue.pop_front();
        if (wholePacketsOnly && m_zeroLengthPacket == ResponseJoinsData && n < size && !m_queue.empty() &&
            m_queue.front().due <= Clock::now()) {
            // Nothing ended the transfer: the next one runs on in this read.
            quint32 more = 0;
            const eUsbError result = read(target + n, static_cast<quint32>(size - n), &more);
            *received += more;
            return result;
        }
        return eUsbError::Ok;
    }
    // The read ends on the zero-length packet when it asked for more; only a
    // read that stopped at exactly the end of whole packets leaves the
    // zero-length packet for the next read.
    if (n < size) {
        m_queue.pop_front();
    }
    return eUsbError::Ok;
}
