#include "OLP_Logic_ConverterFocusDistance.h"

#include <cmath>

namespace {

constexpr double kMetresPerFoot = 0.3048;

double roundHalfUp(double x)
{
    return std::floor(x + 0.5);
}

}  // namespace

int OLP_Logic_ConverterFocusDistance::fromMetres(double metres)
{
    if (std::isnan(metres) || metres <= 0.0) {
        return kDistanceInvalid;
    }
    if (metres >= 1000000.0) {
        return kDistanceInfinity;
    }
    return int(roundHalfUp(metres * 1000.0));
}

int OLP_Logic_ConverterFocusDistance::fromString(const QString& text, bool feet)
{
    if (text == QLatin1String("Error")) {
        return kDistanceInvalid;
    }
    if (text == QLatin1String("Infinity")) {
        return kDistanceInfinity;
    }
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok || !std::isfinite(number) || number <= 0.0) {
        return kDistanceInvalid;
    }
    const double millimetres = number * (feet ? kMetresPerFoot : 1.0) * 1000.0;
    if (millimetres >= double(kDistanceInfinity)) {
        return kDistanceInvalid;
    }
    return int(roundHalfUp(millimetres));
}

QString OLP_Logic_ConverterFocusDistance::toString(int millimetres, bool feet)
{
    if (millimetres == kDistanceInvalid) {
        return QStringLiteral("Error");
    }
    if (millimetres == kDistanceInfinity) {
        return QStringLiteral("Infinity");
    }
    const double distance = millimetres / 1000.0 / (feet ? kMetresPerFoot : 1.0);
    return QString::number(distance, 'f', distance < 10.0 ? 2 : 1);
}
