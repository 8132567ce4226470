#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVector>

// One camera model as data: its USB identity, DeviceInfo strings and lists,
// device properties with their descriptors and values, which vendor
// operations it has, and its datasets (settings structure, lens, 3D axis,
// geotagging, stream information). The emulator behaves as the profile says.
class OLP_Commu_EmuProfile
{
public:
    struct Property
    {
        quint16 code = 0;
        quint16 dataType = 0;
        bool writable = true;
        qint64 factoryDefault = 0;
        qint64 current = 0;
        quint8 form = 0;
        qint64 minimum = 0;
        qint64 maximum = 0;
        qint64 step = 0;
        QVector<qint64> values;
    };

    quint16 vendorId = 0;
    quint16 productId = 0;
    QString manufacturer;
    QString model;
    QString deviceVersion;
    QString serialNumber;

    bool hasSettingsStructure = false;  // vendor operations 0x9001 and 0x9002
    bool hasReleaseOperation = false;   // vendor operation 0x9004
    bool hasExtended3DAxis = false;     // 213-byte layout with doubles

    QVector<quint16> events;
    // Operations of the dispatch table this model does not have.
    QVector<quint16> missingOperations;
    QVector<quint16> captureFormats;
    QVector<quint16> imageFormats;
    QList<Property> properties;

    QByteArray settings;  // 100 bytes
    QByteArray lens;      // 101 bytes
    double pitch = 0;     // 3D-axis data
    double roll = 0;
    double temperature = 0;
    QByteArray geotagging;  // 133 bytes
    QByteArray streamInfo;  // 36 bytes
    // Live view: properties 0x5020 to 0x5025 and 0xD632, GetStreamData with
    // frames of this size (OLP_Commu_EmuLiveView::addTo).
    bool hasLiveView = false;
    int liveViewWidth = 0;
    int liveViewHeight = 0;

    // The profile of one of the maker's products; an unknown ID gives the
    // first product's behaviour under that ID.
    static OLP_Commu_EmuProfile forProduct(quint16 productId);
    static QVector<quint16> products();
    static int widthOf(quint16 dataType);
};
