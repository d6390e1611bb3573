#include "math/Scalars.h"

#include <cmath>

namespace tensim {

namespace {
constexpr double SnapThreshold = 1e-6;
}

double SnapToZero(double X)
{
    return std::fabs(X) <= SnapThreshold ? 0.0 : X;
}

double DegToRad(double Degrees)
{
    return static_cast<double>(Degrees * PiExtended / 180.0L);
}

double RadToDeg(double Radians)
{
    return static_cast<double>(Radians * 180.0L / PiExtended);
}

} // namespace tensim
