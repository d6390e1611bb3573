#pragma once
// Scalar helpers shared by the mathematics and the shapes.

namespace tensim {

// 0 when |X| <= 1e-6 (a magnitude of exactly 1e-6 becomes 0), else X.
double SnapToZero(double X);

// Angle conversions with pi held in extended precision.
double DegToRad(double Degrees);
double RadToDeg(double Radians);

// pi, pi/2 and 2 pi in extended precision.
constexpr long double PiExtended = 3.141592653589793238462643383279502884L;
constexpr long double HalfPiExtended = PiExtended / 2;
constexpr long double TwoPiExtended = 2.0L * PiExtended;

} // namespace tensim
