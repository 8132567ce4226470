#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QVector>

#include "OLP_Commu_CameraAccess_Base.h"

// A test transport: records every transaction and answers from a script.
// Data-in answers follow the zero-fill contract (the whole buffer is zeroed,
// min(buffer, answer) bytes are kept).
class OLP_Test_RecordingAccess : public OLP_Commu_CameraAccess_Base
{
    Q_OBJECT
public:
    enum Kind
    {
        Command,
        DataIn,
        DataOut
    };
    struct Call
    {
        Kind kind;
        quint32 operationCode;
        QVector<quint32> params;
        quint32 dataSize;
        QByteArray dataOut;
        QString callerName;
    };

    explicit OLP_Test_RecordingAccess(int connectionType = 1) : OLP_Commu_CameraAccess_Base(connectionType) {}

    void connectProduct(quint32 productId) { setProductId(productId); }
    void disconnectProduct() { clearConnectionState(); }

    // The bytes a data-in operation answers (default: none).
    void setAnswer(quint32 operationCode, const QByteArray& bytes) { m_answers.insert(operationCode, bytes); }
    // Response codes for the next transactions of an operation, used in order;
    // OK once the list is used up.
    void queueResponse(quint32 operationCode, quint16 response) { m_responses[operationCode].append(response); }

    QList<Call> calls;
    bool checkDeviceAvailableResult = false;

    bool openConnection(quint64, int productId, const QString&) override;
    bool closeConnection() override;
    bool recvData(quint32 operationCode, quint32 paramCount, const quint32* params, quint8* buffer, quint32 dataSize,
                  const char* callerName, quint32* received = nullptr) override;
    bool sendCommand(quint32 operationCode, quint32 paramCount, const quint32* params, const char* callerName) override;
    bool sendData(quint32 operationCode, quint32 paramCount, const quint32* params, const quint8* buffer,
                  quint32 dataSize, const char* callerName) override;

    // Runs the 100 ms drain once, as the timer would.
    void tick() { timeoutDevicePropertyChanged(); }

public slots:
    bool checkDeviceAvailable() override { return checkDeviceAvailableResult; }

private:
    bool respond(quint32 operationCode);
    Call record(Kind kind, quint32 operationCode, quint32 paramCount, const quint32* params, quint32 dataSize,
                const char* callerName);

    QHash<quint32, QByteArray> m_answers;
    QHash<quint32, QList<quint16>> m_responses;
};
