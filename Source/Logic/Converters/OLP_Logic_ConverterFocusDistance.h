#pragma once

#include <QString>

// Focus distances: between the lens's distance in millimetres and the texts the
// user sees and types, in metres or in feet ("12.3", "8.20"). Two codes are
// reserved: kDistanceInvalid (-1, shown as "Error") and kDistanceInfinity
// (2147483647, shown as "Infinity").
//
// It also keeps the lens's longest and shortest focus distance for the
// controller; the conversions do not use them. Owned by the controller and used
// in its thread; the conversions are static and may be called from anywhere.
class OLP_Logic_ConverterFocusDistance
{
public:
    static constexpr int kDistanceInvalid = -1;
    static constexpr int kDistanceInfinity = 2147483647;

    // 0 m or less (or not a number) is invalid; 1000 km or more is infinity.
    static int fromMetres(double metres);
    // "Error", "Infinity", or a number of metres (feet when feet is set). A text
    // that is not a number above 0, or a distance too large to hold, is invalid.
    static int fromString(const QString& text, bool feet);
    // Two decimals below 10 (metres or feet), one decimal from 10 on.
    static QString toString(int millimetres, bool feet);

    void setMaxDistance(int millimetres) { maxDistance = millimetres; }
    void setMinDistance(int millimetres) { minDistance = millimetres; }
    int maximumDistance() const { return maxDistance; }
    int minimumDistance() const { return minDistance; }

private:
    int maxDistance = 0;
    int minDistance = 0;
};
