#include "alert/store/MathHelpers.h"

#include <cmath>

TRoundingRoutine RoundingRoutine = RoundHalfAwayFromZero;

double RoundToDecimals(double Value, int Decimals) {
    return RoundingRoutine(Value, Decimals);
}

double RoundHalfAwayFromZero(double Value, int Decimals) {
    const double scale = std::pow(10.0, Decimals);
    // So many places left of the point that every figure rounds to nothing
    // (10 to that power is 0 in a double; dividing by it would give NaN).
    if (scale == 0.0) return 0.0;
    const double magnitude = std::fabs(Value) * scale;
    // From 2^52 up a double holds no fraction at this scale, so there is
    // nothing to round; scaling back could only lose the figure to
    // infinity or to the spacing of large doubles.
    if (!(magnitude < 4503599627370496.0)) return Value;
    // The half is compared, not added: adding 0.5 to a figure just below a
    // half can round the sum up to the next whole number.
    double whole = std::floor(magnitude);
    if (magnitude - whole >= 0.5) whole += 1.0;
    const double rounded = whole / scale;
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
