#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QQueue>
#include <QString>
#include <QVector>

#include "OLP_Commu_CameraAccess_Base.h"

// A test transport: the three primitives answer from a script instead of a
// camera, honouring the transport contract (recvData zero-fills the whole
// caller buffer and keeps min(dataSize, answer size) bytes; a failed
// operation delivers nothing). Every call is recorded with its code,
// parameters, size and outgoing bytes.
//
// Script per operation code:
// - setAnswer(code, bytes): recvData answers these bytes, every time;
// - queueAnswer(code, bytes): one-shot answers, used in order before setAnswer;
// - setFailure(code): the operation fails (the camera answers an error);
//   a failure wins over any answer;
// - queueResponse(code, response): the response codes of the next
//   transactions of the operation, in order; any but OK (0x2001) fails it.
// An unscripted sendCommand or sendData succeeds. An unscripted recvData fails,
// unless setUnscriptedReceiveSucceeds() makes it answer no bytes.
//
// Thread: any; the script and the record are guarded by one mutex.
class OLP_Test_ScriptedAccess : public OLP_Commu_CameraAccess_Base
{
    Q_OBJECT
public:
    struct Call
    {
        enum Kind
        {
            Recv,
            Command,
            Send
        };
        Kind kind;
        quint32 operationCode;
        QVector<quint32> params;
        quint32 dataSize;
        QByteArray dataOut;
        QString callerName;
    };

    explicit OLP_Test_ScriptedAccess(int connectionType = 1, QObject* parent = nullptr);

    // Marks the access object connected to a camera of this product (0 disconnects).
    void setConnectedProduct(quint32 productId);

    void setAnswer(quint32 operationCode, const QByteArray& data);
    void queueAnswer(quint32 operationCode, const QByteArray& data);
    void setFailure(quint32 operationCode, bool fail = true);
    void queueResponse(quint32 operationCode, quint16 response);
    void setUnscriptedReceiveSucceeds(bool succeeds);
    void clearScript();

    QList<Call> calls() const;
    int callCount(quint32 operationCode) const;
    // The last call with this code; a default Call with operationCode 0 when none.
    Call lastCall(quint32 operationCode) const;
    void clearCalls();

    // Runs the 100 ms drain once, as the timer would.
    void tick() { timeoutDevicePropertyChanged(); }

    bool openConnection(quint64 cameraId, int productId, const QString& deviceId) override;
    bool closeConnection() override;
    bool recvData(quint32 operationCode, quint32 paramCount, const quint32* params, quint8* buffer, quint32 dataSize,
                  const char* callerName, quint32* received = nullptr) override;
    bool sendCommand(quint32 operationCode, quint32 paramCount, const quint32* params, const char* callerName) override;
    bool sendData(quint32 operationCode, quint32 paramCount, const quint32* params, const quint8* buffer,
                  quint32 dataSize, const char* callerName) override;

public slots:
    // Never finds a camera: tests connect with openConnection or setConnectedProduct.
    bool checkDeviceAvailable() override;

protected:
    // The record itself, for a subclass used in one thread only.
    const QList<Call>& recordedCalls() const { return m_calls; }

private:
    // Records the call and tells whether the script lets the operation succeed
    // (the next queued response is OK and no failure is set). Needs m_mutex.
    bool transact(Call::Kind kind, quint32 operationCode, quint32 paramCount, const quint32* params, quint32 dataSize,
                  const quint8* dataOut, const char* callerName);

    // Guards the script (m_answers, m_queued, m_failures, m_responses,
    // m_unscriptedReceiveSucceeds) and m_calls.
    mutable QMutex m_mutex;
    QHash<quint32, QByteArray> m_answers;
    QHash<quint32, QQueue<QByteArray>> m_queued;
    QHash<quint32, bool> m_failures;
    QHash<quint32, QQueue<quint16>> m_responses;
    bool m_unscriptedReceiveSucceeds = false;
    QList<Call> m_calls;
};
