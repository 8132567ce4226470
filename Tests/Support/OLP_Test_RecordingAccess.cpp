#include "OLP_Test_RecordingAccess.h"

#include <cstring>

bool OLP_Test_RecordingAccess::openConnection(quint64, int productId, const QString&)
{
    if (this->productId() != 0) {
        return false;
    }
    setProductId(quint32(productId));
    emit signalConnectionOpened(connectionType());
    return true;
}

bool OLP_Test_RecordingAccess::closeConnection()
{
    if (productId() == 0) {
        return false;
    }
    clearConnectionState();
    emit signalConnectionClosed(connectionType());
    return true;
}

OLP_Test_RecordingAccess::Call OLP_Test_RecordingAccess::record(Kind kind, quint32 operationCode, quint32 paramCount,
                                                                const quint32* params, quint32 dataSize,
                                                                const char* callerName)
{
    Call call{kind, operationCode, {}, dataSize, {}, QString::fromLatin1(callerName ? callerName : "")};
    for (quint32 i = 0; i < paramCount; ++i) {
        call.params.append(params ? params[i] : 0);
    }
    return call;
}

bool OLP_Test_RecordingAccess::respond(quint32 operationCode)
{
    QList<quint16>& queue = m_responses[operationCode];
    const quint16 response = queue.isEmpty() ? 0x2001 : queue.takeFirst();
    return response == 0x2001;
}

bool OLP_Test_RecordingAccess::recvData(quint32 operationCode, quint32 paramCount, const quint32* params,
                                        quint8* buffer, quint32 dataSize, const char* callerName, quint32* received)
{
    calls.append(record(DataIn, operationCode, paramCount, params, dataSize, callerName));
    if (buffer && dataSize) {
        memset(buffer, 0, dataSize);
    }
    const QByteArray answer = m_answers.value(operationCode);
    const quint32 kept = qMin<quint32>(dataSize, quint32(answer.size()));
    if (buffer && kept) {
        memcpy(buffer, answer.constData(), kept);
    }
    if (received) {
        *received = kept;
    }
    return respond(operationCode);
}

bool OLP_Test_RecordingAccess::sendCommand(quint32 operationCode, quint32 paramCount, const quint32* params,
                                           const char* callerName)
{
    calls.append(record(Command, operationCode, paramCount, params, 0, callerName));
    return respond(operationCode);
}

bool OLP_Test_RecordingAccess::sendData(quint32 operationCode, quint32 paramCount, const quint32* params,
                                        const quint8* buffer, quint32 dataSize, const char* callerName)
{
    Call call = record(DataOut, operationCode, paramCount, params, dataSize, callerName);
    call.dataOut = QByteArray(reinterpret_cast<const char*>(buffer), int(dataSize));
    calls.append(call);
    return respond(operationCode);
}
