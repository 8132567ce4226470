#include "OLP_Logic_APEXConverterAperture.h"

#include <QMutex>
#include <cmath>

#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"

namespace {

struct ApertureState
{
    // Guards productId, step and map: the controller changes them while
    // settings objects and transfer threads convert.
    QMutex mutex;
    quint32 productId = 0;
    int step = 500;
    QMap<int, double> map;
};

ApertureState& state()
{
    static ApertureState s;
    return s;
}

double roundHalfUp(double x)
{
    return std::floor(x + 0.5);
}

// The f-numbers lenses are marked with, from the exact value rounded to 0.1.
double nominal(double x)
{
    if (x == 5.7) {
        return 5.6;
    }
    if (x == 6.4) {
        return 6.3;
    }
    if (x == 6.7) {
        return 6.8;
    }
    const double whole = std::floor(x);
    if (whole == 12.0) {
        return 13.0;
    }
    if (whole == 26.0) {
        return 27.0;
    }
    return x >= 10.0 ? whole : x;
}

void fillMap(QMap<int, double>& map, const int* codes, const double* fNumbers, int count)
{
    for (int i = 0; i < count; ++i) {
        map.insert(codes[i], fNumbers[i]);
    }
}

// Rebuilds s.map; returns false for an unknown step size. Caller holds s.mutex.
bool rebuild(ApertureState& s)
{
    s.map.clear();
    if (s.productId != ProductIdPelvo) {
        return true;
    }
    if (s.step == 333) {
        static const int codes[] = {0,    86,   171,  256,  342,  427,  512,  598,  683,  768,  854,
                                    938,  1024, 1110, 1195, 1280, 1366, 1451, 1536, 1622, 1707, 1792,
                                    1878, 1963, 2048, 2134, 2219, 2304, 2390, 2475, 2560};
        static const double fNumbers[] = {1.0, 1.1, 1.2, 1.4, 1.6, 1.8, 2.0, 2.2, 2.5, 2.8, 3.2,
                                          3.5, 4.0, 4.5, 5.0, 5.6, 6.3, 7.1, 8.0, 9.0, 10,  11,
                                          13,  14,  16,  18,  20,  22,  25,  28,  32};
        static_assert(sizeof(codes) / sizeof(codes[0]) == sizeof(fNumbers) / sizeof(fNumbers[0]), "table");
        fillMap(s.map, codes, fNumbers, int(sizeof(codes) / sizeof(codes[0])));
        return true;
    }
    if (s.step == 500) {
        // f/3.5 is marked at 924, not at the half stop 896.
        static const int codes[] = {0,    128,  256,  384,  512,  640,  768,  924,  1024, 1152, 1280,
                                    1408, 1536, 1664, 1792, 1920, 2048, 2176, 2304, 2432, 2560};
        static const double fNumbers[] = {1.0, 1.2, 1.4, 1.7, 2.0, 2.4, 2.8, 3.5, 4.0, 4.8, 5.6,
                                          6.8, 8.0, 9.5, 11,  13,  16,  19,  22,  27,  32};
        static_assert(sizeof(codes) / sizeof(codes[0]) == sizeof(fNumbers) / sizeof(fNumbers[0]), "table");
        fillMap(s.map, codes, fNumbers, int(sizeof(codes) / sizeof(codes[0])));
        return true;
    }
    return false;
}

}  // namespace

void OLP_Logic_APEXConverterAperture::setProductId(quint32 productId)
{
    ApertureState& s = state();
    {
        QMutexLocker lock(&s.mutex);
        if (s.productId == productId) {
            return;
        }
        s.productId = productId;
    }
    initConvertMap();
}

void OLP_Logic_APEXConverterAperture::setStepSize(int step)
{
    ApertureState& s = state();
    {
        QMutexLocker lock(&s.mutex);
        if (s.step == step) {
            return;
        }
        s.step = step;
    }
    initConvertMap();
}

void OLP_Logic_APEXConverterAperture::initConvertMap()
{
    ApertureState& s = state();
    int step = 0;
    bool known = false;
    {
        QMutexLocker lock(&s.mutex);
        known = rebuild(s);
        step = s.step;
    }
    if (!known) {
        debugPrintf(0, "%s - unknown step size %d", "OLP_Logic_APEXConverterAperture::initConvertMap", step);
    }
}

quint32 OLP_Logic_APEXConverterAperture::productId()
{
    ApertureState& s = state();
    QMutexLocker lock(&s.mutex);
    return s.productId;
}

int OLP_Logic_APEXConverterAperture::stepSize()
{
    ApertureState& s = state();
    QMutexLocker lock(&s.mutex);
    return s.step;
}

QMap<int, double> OLP_Logic_APEXConverterAperture::convertMap()
{
    ApertureState& s = state();
    QMutexLocker lock(&s.mutex);
    return s.map;
}

double OLP_Logic_APEXConverterAperture::fNumberFromAv(double av)
{
    if (!std::isfinite(av)) {
        return 0.0;
    }
    ApertureState& s = state();
    QMutexLocker lock(&s.mutex);
    if (s.map.isEmpty()) {
        const double f = nominal(roundHalfUp(10.0 * std::pow(2.0, av / 2.0)) / 10.0);
        return std::isfinite(f) ? f : 0.0;
    }
    // Compared as doubles: codes far apart must not wrap around as 16-bit
    // differences would. Far-off codes are brought near enough for the
    // differences to stay exact.
    const double code = qBound(-1e9, roundHalfUp(av * 256.0), 1e9);
    double best = 0.0;
    double bestDistance = INFINITY;
    for (auto it = s.map.cbegin(); it != s.map.cend(); ++it) {
        const double distance = std::fabs(double(it.key()) - code);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = it.value();
        }
    }
    return best;
}

std::optional<double> OLP_Logic_APEXConverterAperture::avFromFNumber(double fNumber)
{
    if (!std::isfinite(fNumber) || fNumber <= 0.0) {
        return std::nullopt;
    }
    ApertureState& s = state();
    QMutexLocker lock(&s.mutex);
    if (s.map.isEmpty()) {
        return 2.0 * std::log2(fNumber);
    }
    const double logF = std::log(fNumber);
    int bestCode = 0;
    double bestDistance = INFINITY;
    for (auto it = s.map.cbegin(); it != s.map.cend(); ++it) {
        const double distance = std::fabs(std::log(it.value()) - logF);
        if (distance < bestDistance) {
            bestDistance = distance;
            bestCode = it.key();
        }
    }
    return bestCode / 256.0;
}

double OLP_Logic_APEXConverterAperture::toFNumber(int code)
{
    return fNumberFromAv(code / 256.0);
}

std::optional<qint16> OLP_Logic_APEXConverterAperture::toCode(double fNumber)
{
    const std::optional<double> av = avFromFNumber(fNumber);
    if (!av) {
        return std::nullopt;
    }
    const double code = roundHalfUp(*av * 256.0);
    if (code < -32768.0 || code > 32767.0) {
        return std::nullopt;
    }
    return qint16(code);
}

QString OLP_Logic_APEXConverterAperture::toString(double fNumber)
{
    if (!std::isfinite(fNumber) || fNumber <= 0.0) {
        return QString();
    }
    const int decimals = fNumber == roundHalfUp(fNumber) ? 0 : 1;
    return QStringLiteral("f ") + QString::number(fNumber, 'f', decimals);
}

double OLP_Logic_APEXConverterAperture::fromString(const QString& text)
{
    const QString number = text.startsWith(QLatin1String("f ")) ? text.mid(2) : text;
    bool ok = false;
    const double f = number.toDouble(&ok);
    return ok && std::isfinite(f) && f > 0.0 ? f : 0.0;
}
