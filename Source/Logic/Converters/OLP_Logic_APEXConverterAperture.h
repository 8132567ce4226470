#pragma once

#include <QMap>
#include <QString>
#include <QtGlobal>
#include <optional>

// Aperture conversions between the camera's raw aperture code, f-numbers and
// their texts ("f 5.6", "f 8").
//
// The raw code is the APEX aperture value Av (f = 2^(Av/2)) times 256 in a
// signed 16-bit integer. Most cameras are served by the formula, with its result
// rounded to the marked f-numbers (5.7 -> 5.6, 12.x -> 13, ...). A
// ProductIdPelvo camera marks its apertures on a grid of its own, held as a map
// from code to nominal f-number for its step size (333 third stops, 500 half
// stops); while that map is empty the formula applies.
//
// Product and step size are process-wide: the controller sets them when a camera
// connects and when the camera's step size changes. Every member is static and
// may be called from any thread.
//
// Invalid input: an f-number that is not finite or not above 0 has no code.
// avFromFNumber() and toCode() then return no value (std::nullopt) and callers
// send nothing to the camera; toString() returns an empty text.
class OLP_Logic_APEXConverterAperture
{
public:
    OLP_Logic_APEXConverterAperture() = delete;

    // Each stores its value and rebuilds the map when the value changed.
    static void setProductId(quint32 productId);
    static void setStepSize(int step);
    // ProductIdPelvo with an unknown step size logs "unknown step size" and
    // leaves the map empty; other products have no map.
    static void initConvertMap();

    static quint32 productId();
    static int stepSize();
    // Code -> nominal f-number, ascending by code; empty when the formula applies.
    static QMap<int, double> convertMap();

    // The nominal f-number of an APEX aperture value; with a map the entry whose
    // code is nearest to Av x 256 (on a tie the lower code). 0.0 when av is not
    // finite or the f-number would not be.
    static double fNumberFromAv(double av);
    // The aperture value of an f-number; with a map that of the entry nearest in
    // logarithmic distance (on a tie the lower code).
    static std::optional<double> avFromFNumber(double fNumber);
    // fNumberFromAv(code / 256).
    static double toFNumber(int code);
    // Round half up of avFromFNumber x 256; no value also when the code would
    // not fit the 16-bit field.
    static std::optional<qint16> toCode(double fNumber);

    // "f " with the integer when the f-number is whole, else with one decimal.
    static QString toString(double fNumber);
    // Reads what toString() writes, or a bare number. 0.0 unless the text holds
    // a finite number above 0.
    static double fromString(const QString& text);
};
