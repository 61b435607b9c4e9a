#pragma once
// Rounding to a number of decimals and comparisons of doubles within a
// tolerance.

// Rounds Value to Decimals places (a negative count rounds to the left of the
// point: 1234 to -2 gives 1200) through the installed rounding routine.
double RoundToDecimals(double Value, int Decimals);

// The routine RoundToDecimals calls; it starts as RoundHalfAwayFromZero.
using TRoundingRoutine = double (*)(double Value, int Decimals);
extern TRoundingRoutine RoundingRoutine;

// Halves go away from zero: 2.5 gives 3 and -2.5 gives -3.
double RoundHalfAwayFromZero(double Value, int Decimals);

// 0 when A and B differ by less than Tolerance, else 1 when A is the larger
// and -1 when B is.
int CompareWithTolerance(double A, double B, double Tolerance);
bool EqualWithTolerance(double A, double B, double Tolerance);
bool IsZeroWithTolerance(double A, double Tolerance);
