#include "OLP_Commu_PtpTransport.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#include "OLP_Commu_PtpContainer.h"

namespace {
constexpr quint16 OpOpenSession = 0x1002;
constexpr quint16 RespDeviceBusy = 0x2019;
}  // namespace

OLP_Commu_PtpTransport::OLP_Commu_PtpTransport(OLP_Commu_UsbDevice* device) : m_device(device)
{
    m_packetSize = device && device->bulkPacketSize() > 0 ? device->bulkPacketSize() : 512;
    m_stageRead = aligned(StageSize) + m_packetSize;
    m_chunk = aligned(ChunkSize);
    m_stage.resize(std::max(m_stageRead, OLP_Commu_PtpContainer::MaxCommandSize));
}

quint32 OLP_Commu_PtpTransport::aligned(quint32 size) const
{
    return std::max(m_packetSize, size / m_packetSize * m_packetSize);
}

OLP_Commu_PtpTransport::Result OLP_Commu_PtpTransport::openSession(quint32 sessionId)
{
    m_nextTransactionId = 0;
    Result r = run(OpOpenSession, &sessionId, 1, DirectionNone, nullptr, nullptr, 0);
    m_nextTransactionId = 1;
    return r;
}

OLP_Commu_PtpTransport::Result OLP_Commu_PtpTransport::command(quint16 code, const quint32* params, int paramCount,
                                                               int responseMs)
{
    return run(code, params, paramCount, DirectionNone, nullptr, nullptr, 0, responseMs);
}

OLP_Commu_PtpTransport::Result OLP_Commu_PtpTransport::dataIn(quint16 code, const quint32* params, int paramCount,
                                                              quint8* buffer, quint32 size)
{
    return run(code, params, paramCount, DirectionIn, buffer, nullptr, buffer ? size : 0);
}

OLP_Commu_PtpTransport::Result OLP_Commu_PtpTransport::dataOut(quint16 code, const quint32* params, int paramCount,
                                                               const quint8* buffer, quint32 size)
{
    return run(code, params, paramCount, DirectionOut, nullptr, buffer, buffer ? size : 0);
}

OLP_Commu_PtpTransport::Result OLP_Commu_PtpTransport::run(quint16 code, const quint32* params, int paramCount,
                                                           eDirection direction, quint8* in, const quint8* out,
                                                           quint32 size, int responseMs)
{
    Result r;
    m_responseMs = responseMs > 0 ? responseMs : m_timeouts.responseMs;
    const quint32 transactionId = m_nextTransactionId;
    if (!writeCommand(code, transactionId, params, paramCount, &r)) {
        return r;
    }
    // A command the device never received does not use up its transaction ID.
    m_nextTransactionId = transactionId + 1;
    if (direction == DirectionIn) {
        readData(code, transactionId, in, size, &r);
    } else {
        if (direction == DirectionOut) {
            writeData(code, transactionId, out, size, &r);
            if (!r.transportOk()) {
                return r;
            }
        }
        readResponse(transactionId, false, &r);
    }
    return r;
}

bool OLP_Commu_PtpTransport::writeCommand(quint16 code, quint32 transactionId, const quint32* params, int paramCount,
                                          Result* r)
{
    r->phase = PhaseCommand;
    quint8 command[OLP_Commu_PtpContainer::MaxCommandSize];
    const quint32 length = OLP_Commu_PtpContainer::encode(OLP_Commu_PtpContainer::TypeCommand, code, transactionId,
                                                          params, paramCount, command, sizeof command);
    if (length == 0) {
        r->problem = "more than 5 parameters";
        return false;
    }
    quint32 written = 0;
    r->usbError = m_device->bulkWrite(command, length, &written, m_timeouts.commandMs);
    if (r->usbError == eUsbError::Ok && written != length) {
        r->problem = QByteArray("command container: wrote ") + QByteArray::number(written) + " of " +
                     QByteArray::number(length) + " bytes";
    }
    if (!r->transportOk()) {
        if (written > 0) {
            m_nextTransactionId = transactionId + 1;
        }
        recover(*r, OLP_Commu_UsbDevice::EndpointBulkOut);
        return false;
    }
    return true;
}

bool OLP_Commu_PtpTransport::writeAll(const quint8* data, quint32 size, int timeoutMs, Result* r)
{
    quint32 written = 0;
    r->usbError = m_device->bulkWrite(data, size, &written, timeoutMs);
    if (r->usbError == eUsbError::Ok && written != size) {
        r->problem = QByteArray("wrote ") + QByteArray::number(written) + " of " + QByteArray::number(size) + " bytes";
    }
    if (!r->transportOk()) {
        recover(*r, OLP_Commu_UsbDevice::EndpointBulkOut);
        return false;
    }
    return true;
}

void OLP_Commu_PtpTransport::writeData(quint16 code, quint32 transactionId, const quint8* buffer, quint32 size,
                                       Result* r)
{
    r->phase = PhaseData;
    const quint64 total = quint64(size) + OLP_Commu_PtpContainer::HeaderSize;
    // The header shares the first transfer with the payload: a header sent on
    // its own would be a short packet and end the data phase.
    const quint32 first = static_cast<quint32>(std::min<quint64>(total, aligned(StageSize)));
    OLP_Commu_PtpContainer::encodeDataHeader(size, code, transactionId, m_stage.data());
    const quint32 firstPayload = first - OLP_Commu_PtpContainer::HeaderSize;
    if (firstPayload > 0) {
        std::memcpy(m_stage.data() + OLP_Commu_PtpContainer::HeaderSize, buffer, firstPayload);
    }
    if (!writeAll(m_stage.data(), first, m_timeouts.dataChunkMs, r)) {
        return;
    }
    quint32 sent = firstPayload;
    while (sent < size) {
        const quint32 want = std::min(size - sent, m_chunk);
        if (!writeAll(buffer + sent, want, m_timeouts.dataChunkMs, r)) {
            return;
        }
        sent += want;
    }
    if (total % m_packetSize == 0) {
        writeAll(m_stage.data(), 0, m_timeouts.dataChunkMs, r);
    }
}

void OLP_Commu_PtpTransport::readData(quint16 code, quint32 transactionId, quint8* buffer, quint32 size, Result* r)
{
    r->phase = PhaseData;
    quint32 got = 0;
    r->usbError = m_device->bulkRead(m_stage.data(), m_stageRead, &got, m_timeouts.dataChunkMs);
    if (r->usbError != eUsbError::Ok) {
        recover(*r, OLP_Commu_UsbDevice::EndpointBulkIn);
        return;
    }
    got = std::min(got, m_stageRead);
    OLP_Commu_PtpContainer header;
    const OLP_Commu_PtpContainer::eDecode decoded = OLP_Commu_PtpContainer::decodeHeader(m_stage.data(), got, &header);
    if (decoded == OLP_Commu_PtpContainer::DecodeOk && header.type == OLP_Commu_PtpContainer::TypeResponse) {
        // The camera skipped the data phase (an error or busy answer).
        r->phase = PhaseResponse;
        OLP_Commu_PtpContainer response;
        const OLP_Commu_PtpContainer::eDecode d =
            OLP_Commu_PtpContainer::decodeParams(m_stage.data(), got, OLP_Commu_PtpContainer::TypeResponse, &response);
        if (d != OLP_Commu_PtpContainer::DecodeOk) {
            r->problem = OLP_Commu_PtpContainer::decodeName(d);
        } else if (response.transactionId != transactionId) {
            r->problem = "response of another transaction";
        } else {
            r->responseCode = response.code;
        }
        if (!r->problem.isEmpty()) {
            recover(*r, OLP_Commu_UsbDevice::EndpointBulkIn);
        }
        return;
    }
    if (decoded != OLP_Commu_PtpContainer::DecodeOk) {
        r->problem = OLP_Commu_PtpContainer::decodeName(decoded);
    } else if (header.type != OLP_Commu_PtpContainer::TypeData || header.code != code ||
               header.transactionId != transactionId) {
        r->problem = "unexpected container";
    }
    // A camera that sends no zero-length packet after a data phase of whole
    // packets puts its response right behind the data, in the same read.
    const bool responseBehind = r->problem.isEmpty() && got > header.length && header.length % m_packetSize == 0;
    if (r->problem.isEmpty() && got > header.length && !responseBehind) {
        r->problem = OLP_Commu_PtpContainer::decodeName(OLP_Commu_PtpContainer::DecodeExtraBytes);
    }
    if (!r->problem.isEmpty()) {
        recover(*r, OLP_Commu_UsbDevice::EndpointBulkIn);
        return;
    }
    if (responseBehind) {
        const quint32 payload = header.length - OLP_Commu_PtpContainer::HeaderSize;
        r->announced = payload;
        r->arrived = payload;
        r->kept = std::min(payload, size);
        if (r->kept > 0) {
            std::memcpy(buffer, m_stage.data() + OLP_Commu_PtpContainer::HeaderSize, r->kept);
        }
        r->phase = PhaseResponse;
        if (!takeResponse(m_stage.data() + header.length, got - header.length, transactionId, r)) {
            recover(*r, OLP_Commu_UsbDevice::EndpointBulkIn);
        }
        return;
    }

    const quint64 containerLength = header.length;
    r->announced = containerLength - OLP_Commu_PtpContainer::HeaderSize;
    const quint32 firstPayload = got - OLP_Commu_PtpContainer::HeaderSize;
    quint32 kept = std::min(firstPayload, size);
    if (kept > 0) {
        std::memcpy(buffer, m_stage.data() + OLP_Commu_PtpContainer::HeaderSize, kept);
    }
    quint64 containerBytes = got;
    bool ended = got < m_stageRead;  // a short packet ended the transfer
    while (!ended && containerBytes < containerLength) {
        const quint64 remaining = containerLength - containerBytes;
        const quint32 space = size - kept;
        quint8* target;
        quint32 want;
        bool direct;
        if (space >= m_packetSize || (space > 0 && space >= remaining)) {
            // Straight into the caller's buffer, in whole packets unless this
            // is the end of the container.
            want = static_cast<quint32>(std::min<quint64>(remaining, std::min(space, m_chunk)));
            if (want < remaining) {
                want -= want % m_packetSize;
            }
            target = buffer + kept;
            direct = true;
        } else {
            // The caller's buffer is (nearly) full: the rest is drained in
            // fixed chunks, the first few bytes still go to the buffer.
            if (m_drain.empty()) {
                m_drain.resize(aligned(DrainSize));
            }
            want = static_cast<quint32>(std::min<quint64>(remaining, m_drain.size()));
            target = m_drain.data();
            direct = false;
        }
        quint32 n = 0;
        r->usbError = m_device->bulkRead(target, want, &n, m_timeouts.dataChunkMs);
        if (r->usbError != eUsbError::Ok) {
            r->kept = kept;
            r->arrived = containerBytes - OLP_Commu_PtpContainer::HeaderSize;
            recover(*r, OLP_Commu_UsbDevice::EndpointBulkIn);
            return;
        }
        n = std::min(n, want);
        if (direct) {
            kept += n;
        } else if (space > 0) {
            const quint32 copy = std::min(space, n);
            std::memcpy(buffer + kept, target, copy);
            kept += copy;
        }
        containerBytes += n;
        ended = n < want;
    }
    r->kept = kept;
    r->arrived = containerBytes - OLP_Commu_PtpContainer::HeaderSize;
    const bool zeroLengthPacketPossible = !ended && containerLength % m_packetSize == 0;
    readResponse(transactionId, zeroLengthPacketPossible, r);
    if (r->transportOk() && containerBytes < containerLength) {
        // The response came, so the device is in step; the data is incomplete.
        r->phase = PhaseData;
        r->problem = QByteArray("data phase ended after ") + QByteArray::number(r->arrived) + " of " +
                     QByteArray::number(r->announced) + " bytes";
    }
}

void OLP_Commu_PtpTransport::readResponse(quint32 transactionId, bool zeroLengthPacketPossible, Result* r)
{
    r->phase = PhaseResponse;
    quint32 got = 0;
    r->usbError = m_device->bulkRead(m_stage.data(), m_stageRead, &got, m_responseMs);
    if (r->usbError == eUsbError::Ok && got == 0 && zeroLengthPacketPossible) {
        // The zero-length packet that ended a data phase of whole packets; a
        // camera that leaves it out sends the response at once instead.
        r->usbError = m_device->bulkRead(m_stage.data(), m_stageRead, &got, m_responseMs);
    }
    if (r->usbError != eUsbError::Ok) {
        recover(*r, OLP_Commu_UsbDevice::EndpointBulkIn);
        return;
    }
    if (!takeResponse(m_stage.data(), std::min(got, m_stageRead), transactionId, r)) {
        recover(*r, OLP_Commu_UsbDevice::EndpointBulkIn);
    }
}

bool OLP_Commu_PtpTransport::takeResponse(const quint8* data, quint32 size, quint32 transactionId, Result* r)
{
    OLP_Commu_PtpContainer response;
    const OLP_Commu_PtpContainer::eDecode d =
        OLP_Commu_PtpContainer::decodeParams(data, size, OLP_Commu_PtpContainer::TypeResponse, &response);
    if (d != OLP_Commu_PtpContainer::DecodeOk) {
        r->problem = QByteArray("response: ") + OLP_Commu_PtpContainer::decodeName(d);
        return false;
    }
    if (response.transactionId != transactionId) {
        r->problem = "response of another transaction";
        return false;
    }
    r->responseCode = response.code;
    return true;
}

void OLP_Commu_PtpTransport::recover(const Result& r, OLP_Commu_UsbDevice::eEndpoint endpoint)
{
    if (r.usbError == eUsbError::NoDevice) {
        return;
    }
    if (r.usbError == eUsbError::Stall) {
        // The still image class: ask the camera's status first, and let a
        // busy camera finish before its halt is cleared.
        for (int request = 0; request < m_timeouts.statusPolls; ++request) {
            quint16 status = 0;
            if (m_device->deviceStatus(&status, m_timeouts.commandMs) != eUsbError::Ok || status != RespDeviceBusy) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(std::max(m_timeouts.statusPollMs, 0)));
        }
        m_device->clearHalt(endpoint);
        return;
    }
    // A time-out, an I/O error or a malformed container leaves the pipes in an
    // unknown state: reset them so the next transaction starts clean.
    m_device->resetDevice(m_timeouts.commandMs);
    m_device->clearHalt(OLP_Commu_UsbDevice::EndpointBulkIn);
    m_device->clearHalt(OLP_Commu_UsbDevice::EndpointBulkOut);
}
