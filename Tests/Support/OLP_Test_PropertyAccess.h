#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QSet>

#include "OLP_Commu_CameraAccess_Base.h"

// A test transport that answers device properties one by one, as a camera
// with a property table would:
// - GetDevicePropValue answers the bytes stored for that property (the
//   zero-fill contract applies: the caller's buffer is zeroed and keeps
//   min(dataSize, stored) bytes); a property with no bytes of its own answers
//   the default answer, or fails when there is none;
// - SetDevicePropValue stores the bytes it receives as the property's new
//   value (unless the property is set to refuse writes);
// - GetDevicePropDesc and GetDeviceInfo answer scripted datasets.
// Every property read and write is recorded in order.
//
// Thread: any; the table and the record are guarded by one mutex.
class OLP_Test_PropertyAccess : public OLP_Commu_CameraAccess_Base
{
    Q_OBJECT
public:
    struct Read
    {
        quint16 code;
        quint32 dataSize;
    };
    struct Write
    {
        quint16 code;
        QByteArray bytes;
    };

    explicit OLP_Test_PropertyAccess(quint32 productId = 0, QObject* parent = nullptr);

    // Marks the access object connected to a camera of this product (0 disconnects).
    void setConnectedProduct(quint32 productId);

    void setProperty(quint16 code, const QByteArray& bytes);
    // value as width little-endian bytes.
    void setPropertyValue(quint16 code, qint64 value, int width = 4);
    QByteArray property(quint16 code) const;
    // Bytes answered for every property without bytes of its own; an empty
    // array (the default) makes such reads fail.
    void setDefaultAnswer(const QByteArray& bytes);
    void setReadFailure(quint16 code, bool fail = true);
    void setWriteFailure(quint16 code, bool fail = true);
    void setDescriptor(quint16 code, const QByteArray& bytes);
    void setDeviceInfo(const QByteArray& bytes);

    QList<Read> reads() const;
    QList<quint16> readCodes() const;
    QList<Write> writes() const;
    void clearRecord();

    static QByteArray littleEndian(qint64 value, int width);

    bool openConnection(quint64 cameraId, int productId, const QString& deviceId) override;
    bool closeConnection() override;
    bool recvData(quint32 operationCode, quint32 paramCount, const quint32* params, quint8* buffer, quint32 dataSize,
                  const char* callerName, quint32* received = nullptr) override;
    bool sendCommand(quint32 operationCode, quint32 paramCount, const quint32* params, const char* callerName) override;
    bool sendData(quint32 operationCode, quint32 paramCount, const quint32* params, const quint8* buffer,
                  quint32 dataSize, const char* callerName) override;

public slots:
    bool checkDeviceAvailable() override;

private:
    // Guards every member below.
    mutable QMutex m_mutex;
    QHash<quint16, QByteArray> m_properties;
    QHash<quint16, QByteArray> m_descriptors;
    QByteArray m_deviceInfo;
    QByteArray m_defaultAnswer;
    QSet<quint16> m_readFailures;
    QSet<quint16> m_writeFailures;
    QList<Read> m_reads;
    QList<Write> m_writes;
};
