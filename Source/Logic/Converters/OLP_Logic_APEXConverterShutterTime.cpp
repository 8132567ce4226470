#include "OLP_Logic_APEXConverterShutterTime.h"

#include <cmath>
#include <cstddef>
#include <initializer_list>

#include "OLP_Commu_ProductIds.h"
#include "OLP_Debug.h"

namespace {

double roundHalfUp(double x)
{
    return std::floor(x + 0.5);
}

struct GridEntry
{
    int code;
    double seconds;
};

// Times of 1/3 s and shorter are written as fractions so that the nominal
// value is exact.
constexpr GridEntry kPelvoThirds[] = {
    {-2816, 1800},      {-2730, 1440},
    {-2645, 1200},      {-2560, 900},
    {-2474, 720},       {-2389, 600},
    {-2304, 480},       {-2218, 360},
    {-2133, 300},       {-2048, 240},
    {-1962, 200},       {-1877, 150},
    {-1792, 120},       {-1706, 90},
    {-1621, 75},        {-1536, 60},
    {-1450, 48},        {-1365, 36},
    {-1280, 30},        {-1194, 24},
    {-1109, 20},        {-1024, 15},
    {-938, 12},         {-853, 10},
    {-768, 8},          {-682, 6},
    {-597, 5},          {-512, 4},
    {-426, 3},          {-341, 2.5},
    {-256, 2},          {-170, 1.6},
    {-85, 1.3},         {0, 1},
    {86, 0.8},          {171, 0.6},
    {256, 0.5},         {342, 0.4},
    {427, 0.3},         {512, 1.0 / 4},
    {598, 1.0 / 5},     {683, 1.0 / 6},
    {768, 1.0 / 8},     {854, 1.0 / 10},
    {939, 1.0 / 13},    {1024, 1.0 / 15},
    {1110, 1.0 / 20},   {1195, 1.0 / 25},
    {1280, 1.0 / 30},   {1366, 1.0 / 40},
    {1451, 1.0 / 50},   {1536, 1.0 / 60},
    {1622, 1.0 / 80},   {1707, 1.0 / 100},
    {1792, 1.0 / 125},  {1878, 1.0 / 160},
    {1963, 1.0 / 200},  {2048, 1.0 / 250},
    {2134, 1.0 / 320},  {2219, 1.0 / 400},
    {2304, 1.0 / 500},  {2390, 1.0 / 640},
    {2475, 1.0 / 800},  {2560, 1.0 / 1000},
    {2646, 1.0 / 1250}, {2731, 1.0 / 1600},
    {2816, 1.0 / 2000}, {2902, 1.0 / 2500},
    {2987, 1.0 / 3200}, {3072, 1.0 / 4000},
    {3158, 1.0 / 5000}, {3243, 1.0 / 6400},
    {3328, 1.0 / 8000}, {3414, 1.0 / 10000},
};

// Half stops from -2816 (1800 s) in steps of 128.
constexpr double kPelvoHalves[] = {
    1800,       1320,       900,        660,        480,         360,       240,        180,        120,
    90,         60,         45,         32,         24,          16,        12,         8,          6,
    4,          3,          2,          1.5,        1,           0.7,       0.5,        1.0 / 3,    1.0 / 4,
    1.0 / 6,    1.0 / 8,    1.0 / 12,   1.0 / 15,   1.0 / 24,    1.0 / 30,  1.0 / 45,   1.0 / 60,   1.0 / 90,
    1.0 / 125,  1.0 / 180,  1.0 / 250,  1.0 / 360,  1.0 / 500,   1.0 / 750, 1.0 / 1000, 1.0 / 1500, 1.0 / 2000,
    1.0 / 3000, 1.0 / 4000, 1.0 / 6000, 1.0 / 8000, 1.0 / 12500,
};

// Half stops from -1792 (125 s, not 128) in steps of 128.
constexpr double kOtherHalves[] = {
    125,       90,        60,        45,        32,         24,         16,         12,         8,          6,
    4,         3,         2,         1.5,       1,          0.7,        0.5,        1.0 / 3,    1.0 / 4,    1.0 / 6,
    1.0 / 8,   1.0 / 12,  1.0 / 15,  1.0 / 24,  1.0 / 30,   1.0 / 45,   1.0 / 60,   1.0 / 90,   1.0 / 125,  1.0 / 180,
    1.0 / 250, 1.0 / 360, 1.0 / 500, 1.0 / 750, 1.0 / 1000, 1.0 / 1500, 1.0 / 2000, 1.0 / 3000, 1.0 / 4000,
};

template <std::size_t N>
void fillEvenGrid(QMap<int, double>& map, int firstCode, const double (&seconds)[N])
{
    for (std::size_t i = 0; i < N; ++i) {
        map.insert(firstCode + int(i) * 128, seconds[i]);
    }
}

QString whole(double x)
{
    return QString::number(x, 'f', 0);
}

struct NamedTime
{
    double seconds;
    const char* text;
};

// The text of the first named time within tolerance of t; an empty text when
// there is none.
QString namedTime(double t, std::initializer_list<NamedTime> names, double tolerance)
{
    for (const NamedTime& name : names) {
        if (std::fabs(t - name.seconds) < tolerance) {
            return QLatin1String(name.text);
        }
    }
    return QString();
}

}  // namespace

OLP_Logic_APEXConverterShutterTime::OLP_Logic_APEXConverterShutterTime(quint32 productId) : product(productId)
{
    initConvertMap();
}

void OLP_Logic_APEXConverterShutterTime::setStepSize(int newStep)
{
    if (newStep != step) {
        step = newStep;
        initConvertMap();
    }
}

void OLP_Logic_APEXConverterShutterTime::initConvertMap()
{
    map.clear();
    if (product != ProductIdPelvo) {
        fillEvenGrid(map, -1792, kOtherHalves);
    } else if (step == 333) {
        for (const GridEntry& entry : kPelvoThirds) {
            map.insert(entry.code, entry.seconds);
        }
    } else if (step == 500) {
        fillEvenGrid(map, -2816, kPelvoHalves);
    } else {
        debugPrintf(0, "%s - unknown step size %d", "OLP_Logic_APEXConverterShutterTime::initConvertMap", step);
    }
}

double OLP_Logic_APEXConverterShutterTime::nearestSeconds(double code) const
{
    // Differences are taken in double: as 16-bit values, codes far apart would
    // wrap around and pick the far end of the grid. Far-off codes are brought
    // near enough for the differences to stay exact.
    code = qBound(-1e9, code, 1e9);
    double best = 0.0;
    double bestDistance = INFINITY;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const double distance = std::fabs(double(it.key()) - code);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = it.value();
        }
    }
    return best;
}

double OLP_Logic_APEXConverterShutterTime::toSeconds(int code) const
{
    return nearestSeconds(double(code));
}

double OLP_Logic_APEXConverterShutterTime::toSecondsFromTv(double tv) const
{
    if (!std::isfinite(tv)) {
        return 0.0;
    }
    return nearestSeconds(roundHalfUp(tv * 256.0));
}

std::optional<qint16> OLP_Logic_APEXConverterShutterTime::toCode(double seconds) const
{
    // Without this check 0 s would be infinitely far from every entry and the
    // tie would pick the longest exposure.
    if (!std::isfinite(seconds) || seconds <= 0.0 || map.isEmpty()) {
        return std::nullopt;
    }
    const double logSeconds = std::log(seconds);
    int bestCode = 0;
    double bestDistance = INFINITY;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const double distance = std::fabs(std::log(it.value()) - logSeconds);
        if (distance < bestDistance) {
            bestDistance = distance;
            bestCode = it.key();
        }
    }
    return qint16(bestCode);
}

QString OLP_Logic_APEXConverterShutterTime::toString(double t) const
{
    if (!std::isfinite(t) || t <= 0.0) {
        return QString();
    }
    QString text;
    double minutesAbove = INFINITY;
    if (product == ProductIdPelvo && step == 333) {
        text = namedTime(t,
                         {{2.5, "2.5s"},
                          {1.6, "1.6s"},
                          {1.5, "1.5s"},
                          {1.3, "1.3s"},
                          {0.8, "0.8s"},
                          {0.7, "0.7s"},
                          {0.6, "0.6s"},
                          {0.5, "0.5s"},
                          {0.4, "0.4s"}},
                         0.05);
        if (text.isEmpty()) {
            text = namedTime(t, {{0.3, "0.3s"}}, 0.02);
        }
        minutesAbove = 220.0;
    } else if (product == ProductIdPelvo && step == 500) {
        text = namedTime(t, {{1.5, "1.5s"}, {0.7, "0.7s"}}, 0.05);
        minutesAbove = 105.0;
    } else if (product == ProductIdPelvo) {
        debugPrintf(0, "%s - unknown step size %d", "OLP_Logic_APEXConverterShutterTime::toString", step);
        return QString();
    } else {
        text = namedTime(t, {{1.5, "1.5s"}, {0.7, "0.7s"}}, 0.05);
    }
    if (!text.isEmpty()) {
        return text;
    }
    if (t > minutesAbove) {
        return whole(roundHalfUp(t / 60.0)) + QLatin1Char('m');
    }
    if (t >= 1.0) {
        return whole(roundHalfUp(t)) + QLatin1Char('s');
    }
    const double denominator = roundHalfUp(1.0 / t);
    if (!std::isfinite(denominator)) {
        return QString();
    }
    return QStringLiteral("1/") + whole(denominator) + QLatin1Char('s');
}

double OLP_Logic_APEXConverterShutterTime::fromString(const QString& text)
{
    QString rest = text;
    bool minutes = false;
    if (rest.endsWith(QLatin1Char('m'))) {
        rest.chop(1);
        minutes = true;
    }
    if (rest.endsWith(QLatin1Char('s'))) {
        rest.chop(1);
    }
    bool ok = false;
    double seconds = 0.0;
    if (rest.startsWith(QLatin1String("1/"))) {
        const double denominator = rest.mid(2).toDouble(&ok);
        // "1/0" and the like have no time rather than an infinite one.
        ok = ok && std::isfinite(denominator) && denominator > 0.0;
        seconds = ok ? 1.0 / denominator : 0.0;
    } else {
        seconds = rest.toDouble(&ok);
        if (minutes) {
            seconds *= 60.0;
        }
    }
    return ok && std::isfinite(seconds) && seconds > 0.0 ? seconds : 0.0;
}
