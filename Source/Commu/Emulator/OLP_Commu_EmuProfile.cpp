#include "OLP_Commu_EmuProfile.h"

#include "OLP_Commu_EmuDataset.h"
#include "OLP_Commu_EmuDevPropCamera.h"
#include "OLP_Commu_EmuLiveView.h"
#include "OLP_Commu_EmuSettingsStruct.h"
#include "OLP_Commu_EmuWire.h"

namespace {

using Property = OLP_Commu_EmuProfile::Property;

Property enumeration(quint16 code, quint16 type, qint64 value, const QVector<qint64>& values, bool writable = true)
{
    Property p;
    p.code = code;
    p.dataType = type;
    p.writable = writable;
    p.factoryDefault = value;
    p.current = value;
    p.form = EmuWire::FormEnumeration;
    p.values = values;
    return p;
}

Property range(quint16 code, quint16 type, qint64 value, qint64 minimum, qint64 maximum, qint64 step,
               bool writable = true)
{
    Property p;
    p.code = code;
    p.dataType = type;
    p.writable = writable;
    p.factoryDefault = value;
    p.current = value;
    p.form = EmuWire::FormRange;
    p.minimum = minimum;
    p.maximum = maximum;
    p.step = step;
    return p;
}

QByteArray defaultSettings()
{
    OLP_Commu_EmuDataset s(EmuWire::SettingsSize);
    s.putU16(3, 0x0602);
    s.putU8(6, 1);
    s.putU8(10, 1);
    s.putU8(15, 2);
    s.putU16(16, 0xF908);
    s.putU8(19, 30);
    s.putU16(65, 0x3D01);
    s.putU8(67, 0xFF);
    s.putU16(69, 80);
    s.putU8(71, 3);
    s.putU32(72, 0x07670480);
    s.putU32(76, 0x000031B3);
    s.putU8(80, 1);
    return s.data();
}

QByteArray defaultLens()
{
    OLP_Commu_EmuDataset l(EmuWire::LensSize);
    l.putU8(0, 1);
    l.putLatin1(1, QByteArray("Varion-Kesta 70").leftJustified(59, ' '));
    l.putU8(61, 0x84);
    l.putU32(62, 1234567);
    l.putU32(66, 0x02A41D19);
    l.putU16(70, 0x0900);
    l.putU8(72, 2);
    l.putU32(73, 0x00460046);
    l.putU32(77, 500);
    l.putU32(81, 70000);
    l.putU8(85, 1);
    l.putU32(89, 11070);
    l.putU16(93, 70);
    l.putU32(95, 0x04030201);
    return l.data();
}

QByteArray defaultGeotagging()
{
    OLP_Commu_EmuDataset g(EmuWire::GeotaggingSize);
    g.putU8(0, 0x0F);
    g.putU8(23, 8);
    g.putU8(24, 32);
    g.putFloat(25, 10.5f);
    g.putU8(29, 47);
    g.putU8(30, 22);
    g.putFloat(31, 30.25f);
    g.putU8(59, 7);
    return g.data();
}

QByteArray defaultStreamInfo()
{
    OLP_Commu_EmuDataset s(EmuWire::StreamInfoSize);
    s.putU64(0, EmuWire::StreamInfoSize);
    s.putU64(8, 1000000);
    s.putU32(16, 16);
    s.putU32(20, 2 * 1024 * 1024);
    s.putU32(24, 16);
    s.putU32(28, 512 * 1024);
    s.putU32(32, 4);
    return s.data();
}

QString modelName(quint16 productId)
{
    switch (productId) {
        case EmuWire::ProductKestaA:
            return QStringLiteral("Kesta A");
        case EmuWire::ProductKestaB:
            return QStringLiteral("Kesta B");
        case EmuWire::ProductKestaC:
            return QStringLiteral("Kesta C");
        case EmuWire::ProductKestaD:
            return QStringLiteral("Kesta D");
        case EmuWire::ProductPelvo:
            return QStringLiteral("Pelvo");
        case EmuWire::ProductKestaE:
            return QStringLiteral("Kesta E");
        case EmuWire::ProductSeventh:
            return QStringLiteral("Seventh");
        default:
            return QStringLiteral("Kesta");
    }
}

}  // namespace

QVector<quint16> OLP_Commu_EmuProfile::products()
{
    return {EmuWire::ProductKestaA, EmuWire::ProductKestaB, EmuWire::ProductKestaC, EmuWire::ProductKestaD,
            EmuWire::ProductPelvo,  EmuWire::ProductKestaE, EmuWire::ProductSeventh};
}

int OLP_Commu_EmuProfile::widthOf(quint16 dataType)
{
    switch (dataType) {
        case EmuWire::Int8:
        case EmuWire::UInt8:
            return 1;
        case EmuWire::Int16:
        case EmuWire::UInt16:
            return 2;
        case EmuWire::Int32:
        case EmuWire::UInt32:
            return 4;
        default:
            return 0;
    }
}

OLP_Commu_EmuProfile OLP_Commu_EmuProfile::forProduct(quint16 productId)
{
    using namespace EmuWire;
    OLP_Commu_EmuProfile p;
    p.vendorId = VendorPrimary;
    p.productId = productId;
    p.manufacturer = QStringLiteral("Orvane Camera AG");
    p.model = modelName(productId);
    p.deviceVersion = QStringLiteral("2.1.0");
    p.serialNumber = QStringLiteral("00000000%1").arg(3100000 + productId, 8, 10, QLatin1Char('0'));

    const bool structureCamera = productId == ProductKestaA || productId == ProductKestaB ||
                                 productId == ProductKestaC || productId == ProductKestaE;
    p.hasSettingsStructure = structureCamera;
    p.hasReleaseOperation = productId != ProductSeventh;
    p.hasExtended3DAxis = productId == ProductKestaD || productId == ProductPelvo;

    p.events = {EventRequestObjectTransfer, EventSettingsChanged, EventGeotaggingChanged, EventPropertyChanged,
                Event3DAxisChanged};
    if (structureCamera) {
        p.events << EventLensChanged << EventBulbTick << EventSelfTimerTick;
    }
    p.captureFormats = {FormatDng, FormatJpeg};
    p.imageFormats = {FormatDng, FormatJpeg};

    QVector<qint64> driveModes = {1, 2, 3, 4, 5, 6, 8};
    if (productId == ProductKestaD) {
        driveModes.append(7);
    }
    p.properties = {
        range(0x5001, UInt8, 80, 0, 100, 1, false),                  // battery level
        enumeration(0x5005, UInt16, 2, {1, 2, 4, 5, 6, 7, 0x8001}),  // white balance
        enumeration(0x500A, UInt16, 1, {1, 2, 0x8001}),              // focus mode
        enumeration(0x500B, UInt16, 2, {1, 2, 3, 4}),                // metering
        enumeration(0x500E, UInt16, 2, {1, 2, 3, 4}),                // exposure program
        enumeration(0x500F, UInt32, 0, {0, 100, 200, 400, 800, 1600, 3200, 6400}),
        range(0x5010, Int16, 0, -3000, 3000, productId == ProductPelvo ? 333 : 500),
        enumeration(0x5013, UInt16, 1, driveModes),
        range(0x5014, UInt8, 0, 0, 4, 1),
        range(0x5015, UInt8, 0, 0, 4, 1),
        range(0xD000, UInt32, 1, 1, 9999, 1),
        range(0xD001, UInt32, 1, 1, 89999, 1),
        range(0xD620, UInt32, 0, 0, 0xFFFF, 1, false),  // lens identity
        range(0xD60C, Int32, 0, -2816, 3456, 1, false),
        range(0xD60E, Int32, 0, 0, 4096, 1, false),
    };
    if (OLP_Commu_EmuDevPropCamera::isDevicePropertyCamera(productId)) {
        OLP_Commu_EmuDevPropCamera::addProperties(productId, &p.properties);
    }

    p.settings = structureCamera ? OLP_Commu_EmuSettingsStruct::factoryState(productId) : defaultSettings();
    p.lens = defaultLens();
    p.pitch = 1.5;
    p.roll = -2.25;
    p.temperature = 31.5;
    p.geotagging = defaultGeotagging();
    p.streamInfo = defaultStreamInfo();
    if (!structureCamera) {
        OLP_Commu_EmuLiveView::addTo(&p, 1280, 720);
    }
    return p;
}
