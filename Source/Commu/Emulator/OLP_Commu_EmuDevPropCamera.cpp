#include "OLP_Commu_EmuDevPropCamera.h"

#include <algorithm>

#include "OLP_Commu_EmuWire.h"

namespace {

using Property = OLP_Commu_EmuProfile::Property;

Property property(quint16 code, quint16 type, bool writable, qint64 value)
{
    Property p;
    p.code = code;
    p.dataType = type;
    p.writable = writable;
    p.factoryDefault = value;
    p.current = value;
    return p;
}

Property readOnly(quint16 code, quint16 type, qint64 value, qint64 minimum, qint64 maximum)
{
    Property p = property(code, type, false, value);
    p.form = EmuWire::FormRange;
    p.minimum = minimum;
    p.maximum = maximum;
    p.step = 1;
    return p;
}

Property range(quint16 code, quint16 type, qint64 value, qint64 minimum, qint64 maximum, qint64 step = 1)
{
    Property p = property(code, type, true, value);
    p.form = EmuWire::FormRange;
    p.minimum = minimum;
    p.maximum = maximum;
    p.step = step;
    return p;
}

Property choice(quint16 code, quint16 type, qint64 value, const QVector<qint64>& values)
{
    Property p = property(code, type, true, value);
    p.form = EmuWire::FormEnumeration;
    p.values = values;
    return p;
}

QList<Property> cameraProperties(quint16 productId)
{
    using namespace EmuWire;
    const bool pelvo = productId == ProductPelvo;

    // Drive modes 0 to 8; a Kesta D with newer firmware also offers 7 (its
    // single shot), which the host finds in this descriptor. The Pelvo uses 7
    // for fast continuous shooting.
    const QVector<qint64> driveModes = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    const QVector<qint64> whiteBalances = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11};
    const QVector<qint64> sensitivities =
        pelvo ? QVector<qint64>{0, 50, 100, 200, 400, 800, 1600, 3200, 6400, 12500, 25000, 50000}
              : QVector<qint64>{0, 100, 200, 400, 800, 1600, 3200, 6400, 12500};
    // Milli-EV in half and third stops.
    const QVector<qint64> compensations = {-3000, -2667, -2500, -2333, -2000, -1667, -1500, -1333, -1000,
                                           -667,  -500,  -333,  0,     333,   500,   667,   1000,  1333,
                                           1500,  1667,  2000,  2333,  2500,  2667,  3000};
    const qint64 longestTime = pelvo ? -2816 : -1792;  // 1800 s or 125 s

    return {
        readOnly(0x5001, UInt8, 80, 0, 100),  // battery level
        choice(0x5005, UInt16, 0, whiteBalances),
        choice(0x500A, UInt16, 0, {0, 1, 2}),  // AF-S, AF-C, MF
        choice(0x500B, UInt16, 2, {0, 1, 2}),  // spot, centre-weighted, multi-field
        choice(0x500E, UInt16, 2, {1, 2, 3, 4, 0x200, 0x201}),
        choice(0x500F, UInt32, 0, sensitivities),  // 0: automatic
        pelvo ? choice(0x5010, Int16, 0, compensations) : range(0x5010, Int16, 0, -3000, 3000, 500),
        choice(0x5013, UInt16, 0, driveModes),
        range(0x5014, UInt8, 1, 0, 2),  // contrast
        range(0x5015, UInt8, 1, 0, 2),  // sharpness
        range(0xD000, UInt32, 1, 1, 9999),
        range(0xD001, UInt32, 1, 1, 89999),
        choice(0xD004, UInt32, 1, {0, 1, 2}),  // DNG, DNG + JPG, JPG
        choice(0xD005, UInt32, 0, {0, 1}),
        choice(0xD006, UInt32, 3, {3, 5}),
        choice(0xD007, UInt32, 1000, {500, 1000, 2000, 3000}),
        choice(0xD008, UInt32, 0, {0, 1}),
        choice(0xD00A, UInt32, 0, {0, 1}),
        range(0xD00F, UInt32, pelvo ? 3 : 0, 0, 5),
        choice(0xD012, UInt32, 0, {0, 1}),
        choice(0xD013, UInt32, 0, {0, 1}),
        range(0xD014, UInt32, 5000, 2000, 13100, 100),  // kelvin
        choice(0xD015, UInt32, 0, {0, 1, 2}),
        choice(0xD016, UInt32, 1, {0, 1, 2}),
        choice(0xD018, UInt32, 0, {0, 1}),
        choice(0xD01A, Int32, 3, {-1, 0, 1, 3, 5}),  // seconds, -1 hold
        choice(0xD024, UInt32, 2, {0, 2, 5, 10}),    // minutes
        choice(0xD02D, UInt32, 0, {0, 1}),
        range(0xD036, UInt32, 0, 0, 15),
        range(0xD03B, Int32, 1792, -2816, 3456),  // new shutter time, written only
        range(0xD03C, Int32, 1280, -1024, 4096),  // new aperture, written only
        choice(0xD03F, UInt32, 0, {0, 1}),
        choice(0xD040, UInt32, 500, {333, 500}),
        choice(0xD04E, UInt32, 0, {0, 1}),
        range(0xD04F, UInt32, 0, 0, 5),
        choice(0xD050, UInt32, 0, {0, 1}),
        readOnly(0xD06F, UInt32, 1500, 0, 100000),  // millimetres
        choice(0xD079, UInt32, 30, {8, 12, 16, 24, 30, 32, 45, 60}),
        choice(0xD080, UInt32, 1, {0, 1}),
        range(0xD082, UInt32, 3, 0, 29),
        // Exposure simulation: off and on; the Pelvo simulates the aperture
        // alone (2) or aperture and shutter time (3).
        choice(0xD115, UInt32, 0, pelvo ? QVector<qint64>{0, 2, 3} : QVector<qint64>{0, 1}),
        range(0xD121, UInt32, 3, 0, 255),
        range(0xD122, UInt32, 3, 0, 255),
        range(0xD123, UInt32, 128, 0, 255),
        range(0xD125, UInt32, 8, 0, 18),
        choice(0xD13B, UInt32, 0, {0, 1}),
        readOnly(0xD608, UInt32, 70, 0, 100),
        readOnly(0xD60C, Int32, 1792, -2816, 3456),  // 1/125 s
        readOnly(0xD60E, Int32, 1280, -1024, 4096),  // f/5.6
        readOnly(0xD610, UInt32, 200, 0, 50000),
        readOnly(0xD615, Int32, -128, -32768, 32767),  // 1/256 EV
        readOnly(0xD616, UInt32, 1, 0, 3),
        readOnly(0xD618, UInt32, 0, 0, 3),
        readOnly(0xD619, UInt32, 0, 0, 1),
        readOnly(0xD621, UInt32, 35, 0, 100),
        readOnly(0xD622, UInt32, 0, 0, 1),
        readOnly(0xD623, UInt32, 1, 0, 1),
        readOnly(0xD625, Int32, longestTime, -2816, 3456),
        readOnly(0xD626, UInt32, 1, 0, 3),
        readOnly(0xD627, Int32, 0, -1, 12),
        readOnly(0xD628, Int32, 0, -1, 3600),
        readOnly(0xD62B, Int32, 2500, -1, 0x7FFFFFFF),  // millimetres
        readOnly(0xD643, UInt32, 1, 0, 3),
        readOnly(0xD65F, Int32, 0, -90, 180),
    };
}

// The generic entries of these properties do not hold the values these
// cameras use (focus mode 0 to 2, metering 0 to 2, drive modes 0 to 8, the
// Pelvo's third-stop compensation, plausible exposure time and aperture);
// every other property the profile already has keeps its entry.
bool replacesGenericEntry(quint16 productId, quint16 code)
{
    switch (code) {
        case 0x500A:
        case 0x500B:
        case 0x500E:
        case 0x500F:
        case 0x5013:
        case 0xD60C:
        case 0xD60E:
            return true;
        case 0x5005:
        case 0x5010:
            // The Pelvo offers every white balance of its list (up to the
            // colour temperature, 11) and its third-stop compensation.
            return productId == EmuWire::ProductPelvo;
        default:
            return false;
    }
}

}  // namespace

bool OLP_Commu_EmuDevPropCamera::isDevicePropertyCamera(quint16 productId)
{
    return productId == EmuWire::ProductKestaD || productId == EmuWire::ProductPelvo ||
           productId == EmuWire::ProductSeventh;
}

void OLP_Commu_EmuDevPropCamera::addProperties(quint16 productId, QList<OLP_Commu_EmuProfile::Property>* properties)
{
    for (const Property& p : cameraProperties(productId)) {
        auto existing = std::find_if(properties->begin(), properties->end(),
                                     [&p](const Property& other) { return other.code == p.code; });
        if (existing == properties->end()) {
            properties->append(p);
        } else if (replacesGenericEntry(productId, p.code)) {
            *existing = p;
        }
    }
}

QList<QPair<quint16, qint64>> OLP_Commu_EmuDevPropCamera::followers(quint16 productId, quint16 code, qint64 value)
{
    if (!isDevicePropertyCamera(productId)) {
        return {};
    }
    switch (code) {
        case 0xD03B:
            return {{0xD60C, value}};
        case 0xD03C:
            return {{0xD60E, value}};
        case 0x500F:
            // Automatic sensitivity keeps the value the camera chose last.
            return value != 0 ? QList<QPair<quint16, qint64>>{{0xD610, value}} : QList<QPair<quint16, qint64>>{};
        default:
            return {};
    }
}
