#pragma once

#include <QMap>
#include <QString>
#include <QtGlobal>
#include <optional>

// Shutter-time conversions between the camera's raw shutter code, exposure
// times in seconds and their texts ("1/125s", "2.5s", "4m").
//
// The raw code is the APEX time value Tv (t = 2^-Tv seconds) times 256 in a
// signed 16-bit integer; every time longer than 1 s has a negative code. The
// camera's times are a fixed grid of nominal values per product (and, for
// ProductIdPelvo, per step size: 333 third stops, 500 half stops); conversions
// snap to the nearest grid entry.
//
// Owned by one settings object or by the controller and used in that object's
// thread; the static fromString() may be called from anywhere.
//
// Invalid input: a time that is not finite or not above 0 has no code, and
// neither has any time while the grid is empty (an unknown step size).
// toCode() then returns no value (std::nullopt) and callers send nothing to the
// camera; toString() returns an empty text.
//
// Writing a code into a 4-byte device property: sign-extend it
// (signExtended()), which is how the camera itself reports such values.
class OLP_Logic_APEXConverterShutterTime
{
public:
    explicit OLP_Logic_APEXConverterShutterTime(quint32 productId);

    // Stores a changed step size and rebuilds the grid.
    void setStepSize(int step);
    // ProductIdPelvo with an unknown step size logs "unknown step size" and
    // leaves the grid empty.
    void initConvertMap();

    quint32 productId() const { return product; }
    int stepSize() const { return step; }
    // Code -> nominal seconds, ascending by code.
    QMap<int, double> convertMap() const { return map; }

    // The nominal time of the grid entry whose code is nearest (on a tie the
    // lower code); 0.0 with an empty grid. Takes the code widened to int, as a
    // sign-extended 4-byte property delivers it.
    double toSeconds(int code) const;
    // The same for an APEX time value (code = Tv x 256 rounded half up); 0.0
    // when tv is not finite.
    double toSecondsFromTv(double tv) const;
    // The code of the grid entry nearest in logarithmic distance (on a tie the
    // lower code).
    std::optional<qint16> toCode(double seconds) const;

    // The display text of a time; which forms a camera shows depends on
    // product and step size. ProductIdPelvo with an unknown step size logs
    // "unknown step size" and returns an empty text.
    QString toString(double seconds) const;
    // Reads what toString() writes: "4m" (minutes), "2.5s", "1/125s", or a bare
    // number of seconds. 0.0 unless the text holds a finite time above 0.
    static double fromString(const QString& text);

    // The code as the value of a 4-byte device property.
    static quint32 signExtended(qint16 code) { return quint32(qint32(code)); }

private:
    double nearestSeconds(double code) const;

    quint32 product;
    int step = 500;
    QMap<int, double> map;
};
