#include "OLP_Test_ScriptedAccess.h"

#include <algorithm>
#include <cstring>

OLP_Test_ScriptedAccess::OLP_Test_ScriptedAccess(int connectionType, QObject* parent)
    : OLP_Commu_CameraAccess_Base(connectionType, parent)
{}

void OLP_Test_ScriptedAccess::setConnectedProduct(quint32 productId)
{
    if (productId == 0) {
        clearConnectionState();
    } else {
        setProductId(productId);
    }
}

void OLP_Test_ScriptedAccess::setAnswer(quint32 operationCode, const QByteArray& data)
{
    QMutexLocker lock(&m_mutex);
    m_answers.insert(operationCode, data);
}

void OLP_Test_ScriptedAccess::queueAnswer(quint32 operationCode, const QByteArray& data)
{
    QMutexLocker lock(&m_mutex);
    m_queued[operationCode].enqueue(data);
}

void OLP_Test_ScriptedAccess::setFailure(quint32 operationCode, bool fail)
{
    QMutexLocker lock(&m_mutex);
    m_failures.insert(operationCode, fail);
}

void OLP_Test_ScriptedAccess::queueResponse(quint32 operationCode, quint16 response)
{
    QMutexLocker lock(&m_mutex);
    m_responses[operationCode].enqueue(response);
}

void OLP_Test_ScriptedAccess::setUnscriptedReceiveSucceeds(bool succeeds)
{
    QMutexLocker lock(&m_mutex);
    m_unscriptedReceiveSucceeds = succeeds;
}

void OLP_Test_ScriptedAccess::clearScript()
{
    QMutexLocker lock(&m_mutex);
    m_answers.clear();
    m_queued.clear();
    m_failures.clear();
    m_responses.clear();
}

QList<OLP_Test_ScriptedAccess::Call> OLP_Test_ScriptedAccess::calls() const
{
    QMutexLocker lock(&m_mutex);
    return m_calls;
}

int OLP_Test_ScriptedAccess::callCount(quint32 operationCode) const
{
    QMutexLocker lock(&m_mutex);
    return int(std::count_if(m_calls.cbegin(), m_calls.cend(),
                             [operationCode](const Call& call) { return call.operationCode == operationCode; }));
}

OLP_Test_ScriptedAccess::Call OLP_Test_ScriptedAccess::lastCall(quint32 operationCode) const
{
    QMutexLocker lock(&m_mutex);
    for (auto it = m_calls.crbegin(); it != m_calls.crend(); ++it) {
        if (it->operationCode == operationCode) {
            return *it;
        }
    }
    return Call{Call::Recv, 0, {}, 0, {}, {}};
}

void OLP_Test_ScriptedAccess::clearCalls()
{
    QMutexLocker lock(&m_mutex);
    m_calls.clear();
}

bool OLP_Test_ScriptedAccess::openConnection(quint64 cameraId, int productId, const QString& deviceId)
{
    Q_UNUSED(cameraId);
    Q_UNUSED(deviceId);
    if (this->productId() != 0) {
        return false;
    }
    setProductId(quint32(productId));
    emit signalConnectionOpened(connectionType());
    return true;
}

bool OLP_Test_ScriptedAccess::closeConnection()
{
    if (productId() == 0) {
        return false;
    }
    clearConnectionState();
    emit signalConnectionClosed(connectionType());
    return true;
}

bool OLP_Test_ScriptedAccess::checkDeviceAvailable()
{
    return false;
}

bool OLP_Test_ScriptedAccess::transact(Call::Kind kind, quint32 operationCode, quint32 paramCount,
                                       const quint32* params, quint32 dataSize, const quint8* dataOut,
                                       const char* callerName)
{
    Call call{kind, operationCode, {}, dataSize, {}, callerName ? QString::fromLatin1(callerName) : QString()};
    for (quint32 i = 0; i < paramCount; ++i) {
        call.params.append(params ? params[i] : 0);
    }
    if (dataOut != nullptr && dataSize != 0) {
        call.dataOut = QByteArray(reinterpret_cast<const char*>(dataOut), int(dataSize));
    }
    m_calls.append(call);
    // Every transaction takes its response, even one failed anyway.
    auto responses = m_responses.find(operationCode);
    const bool responseOk = responses == m_responses.end() || responses->isEmpty() || responses->dequeue() == 0x2001;
    return responseOk && !m_failures.value(operationCode, false);
}

bool OLP_Test_ScriptedAccess::recvData(quint32 operationCode, quint32 paramCount, const quint32* params, quint8* buffer,
                                       quint32 dataSize, const char* callerName, quint32* received)
{
    if (received != nullptr) {
        *received = 0;
    }
    if (buffer != nullptr && dataSize != 0) {
        memset(buffer, 0, dataSize);
    }
    QMutexLocker lock(&m_mutex);
    if (!transact(Call::Recv, operationCode, paramCount, params, dataSize, nullptr, callerName)) {
        return false;
    }
    QByteArray answer;
    auto queued = m_queued.find(operationCode);
    if (queued != m_queued.end() && !queued->isEmpty()) {
        answer = queued->dequeue();
    } else if (m_answers.contains(operationCode)) {
        answer = m_answers.value(operationCode);
    } else if (!m_unscriptedReceiveSucceeds) {
        return false;
    }
    const quint32 kept = buffer != nullptr ? std::min(dataSize, quint32(answer.size())) : 0;
    if (kept != 0) {
        memcpy(buffer, answer.constData(), kept);
    }
    if (received != nullptr) {
        *received = kept;
    }
    return true;
}

bool OLP_Test_ScriptedAccess::sendCommand(quint32 operationCode, quint32 paramCount, const quint32* params,
                                          const char* callerName)
{
    QMutexLocker lock(&m_mutex);
    return transact(Call::Command, operationCode, paramCount, params, 0, nullptr, callerName);
}

bool OLP_Test_ScriptedAccess::sendData(quint32 operationCode, quint32 paramCount, const quint32* params,
                                       const quint8* buffer, quint32 dataSize, const char* callerName)
{
    QMutexLocker lock(&m_mutex);
    return transact(Call::Send, operationCode, paramCount, params, dataSize, buffer, callerName);
}
