#include "alert/store/MathHelpers.h"

#include <cmath>

TRoundingRoutine RoundingRoutine = RoundHalfAwayFromZero;

double RoundToDecimals(double Value, int Decimals) {
    return RoundingRoutine(Value, Decimals);
}

double RoundHalfAwayFromZero(double Value, int Decimals) {
    const double scale = std::pow(10.0, Decimals);
    double scaled = std::fabs(Value) * scale + 0.5;
    // Below the resolution of a double there is nothing left to round.
    if (std::fabs(scaled) < 2.220446049250313e-16) scaled = 0.0;
    const double rounded = std::floor(scaled) / scale;
    return Value >= 0 ? rounded : -rounded;
}

int CompareWithTolerance(double A, double B, double Tolerance) {
    const double difference = A - B;
    if (std::fabs(difference) < Tolerance) return 0;
    return difference > 0 ? 1 : -1;
}

bool EqualWithTolerance(double A, double B, double Tolerance) {
    return CompareWithTolerance(A, B, Tolerance) == 0;
}

bool IsZeroWithTolerance(double A, double Tolerance) {
    return EqualWithTolerance(A, 0.0, Tolerance);
}
