#include "drawing/StrainEllipse.h"

#include "math/FloatFormat.h"
#include "math/Scalars.h"
#include "math/Vectors.h"

#include <algorithm>
#include <cmath>

namespace tensim {

namespace {

// B = C C^T with C the cleaned deformation.
TTransformMatrix LeftCauchyGreen(const TTransformMatrix& F)
{
    const TTransformMatrix c = CleanMatrix(F);
    return MultiplyMatrices(c, TransposeMatrix(c));
}

// Square root of a principal value of B; a tiny negative value of a nearly
// singular F is a zero stretch.
double Stretch(double Lambda)
{
    return std::sqrt(std::max(Lambda, 0.0));
}

// Squared principal stretches of the 2x2 block of P (eigenvalues of P^T P),
// formed as the acceptance test states them.
struct TSquaredStretches {
    double Plus, Minus;
};

TSquaredStretches SquaredStretches(const TTransformMatrix& P)
{
    const double p11 = P.Elem[1][1], p12 = P.Elem[1][2], p21 = P.Elem[2][1], p22 = P.Elem[2][2];
    const double s = p11 * p11 + p12 * p12 + p21 * p21 + p22 * p22;
    const double d = p11 * p11 - p12 * p12 + p21 * p21 - p22 * p22;
    const double q = (p11 * p12 + p21 * p22) * (p11 * p12 + p21 * p22);
    return {s / 2 + std::sqrt(d * d + 4 * q) / 2, s / 2 - std::sqrt(d * d + 4 * q) / 2};
}

bool IsFiniteBlock(const TTransformMatrix& M)
{
    for (int i = 1; i <= M.Size; ++i)
        for (int j = 1; j <= M.Size; ++j)
            if (!std::isfinite(M.Elem[i][j])) return false;
    return true;
}

} // namespace

TStrainEllipse::TStrainEllipse() : TStrainEllipse(0, 0, 1, 0, 0, 1, 1) {}

TStrainEllipse::TStrainEllipse(double CX, double CY, double F11, double F12, double F21, double F22,
                               double Radius)
    : Centre(MakeVector2D(CX, CY)), Radius(Radius), Deformation(MakeTensor2D(F11, F12, F21, F22))
{
}

double TStrainEllipse::MajorSemiAxis() const
{
    return Stretch(Eigenvalue1(LeftCauchyGreen(Deformation))) * Radius;
}

double TStrainEllipse::MinorSemiAxis() const
{
    const double minor = Stretch(Eigenvalue2(LeftCauchyGreen(Deformation))) * Radius;
    if (minor != 0) return minor;
    // B's product threshold zeroes a minor stretch below about 1e-3. The
    // area of the ellipse gives the same semi-axis without the threshold:
    // major x minor = |det F| R^2. A singular F keeps its 0.
    const TTransformMatrix& F = Deformation;
    const double det = std::fabs(F.Elem[1][1] * F.Elem[2][2] - F.Elem[1][2] * F.Elem[2][1]);
    const double major = MajorSemiAxis();
    if (det == 0 || major == 0) return 0;
    return det * Radius / (major / Radius);
}

double TStrainEllipse::AxialRatio() const
{
    const double minor = MinorSemiAxis();
    return minor == 0 ? 0 : MajorSemiAxis() / minor;
}

double TStrainEllipse::Inclination() const
{
    const TTransformMatrix& F = Deformation;
    const TTransformMatrix m = MakeTensor2D(F.Elem[1][1], F.Elem[1][2], F.Elem[2][1], F.Elem[2][2]);
    const TTransformMatrix b = MultiplyMatrices(m, TransposeMatrix(m));
    const double lambda1 = Eigenvalue1(b);
    if (SnapToZero(lambda1 - b.Elem[2][2]) != 0)
        return std::atan(b.Elem[1][2] / (lambda1 - b.Elem[2][2]));
    return static_cast<double>(HalfPiExtended);
}

std::string TStrainEllipse::AxialRatioText(int /*Digits*/) const
{
    return FloatToStrFixed(AxialRatio(), 15, 2);
}

std::string TStrainEllipse::InclinationText(int Digits) const
{
    return FloatToStrFixed(RadToDeg(Inclination()), 15, Digits);
}

bool TStrainEllipse::Accumulate(const TTransformMatrix& M)
{
    const TTransformVector centre = ApplyTransform(Centre, M);
    const TTransformMatrix p = MultiplyMatrices(CleanMatrix(M), Deformation);

    const TSquaredStretches lambda = SquaredStretches(p);
    bool accepted = lambda.Plus > 0 && lambda.Minus > 0 && IsFiniteBlock(p);
    if (accepted) {
        // A product whose measures overflow (after very many increments) is
        // refused like a singular one, so every reachable state has finite
        // semi-axes, axial ratio and inclination.
        TStrainEllipse candidate = *this;
        candidate.Deformation = CleanMatrix(p);
        accepted = std::isfinite(candidate.MajorSemiAxis()) &&
                   std::isfinite(candidate.MinorSemiAxis()) &&
                   std::isfinite(candidate.AxialRatio()) && std::isfinite(candidate.Inclination());
        if (accepted) Deformation = candidate.Deformation;
    }
    Centre = centre;
    return accepted;
}

} // namespace tensim
