#pragma once
// The finite-strain state of the strain ellipse: the image of a circle of
// radius R about a centre under the accumulated deformation F, with the
// measures derived from F. Plain C++, no Qt: the ellipse shape embeds it.

#include "math/Transform.h"

#include <string>

namespace tensim {

struct TStrainEllipse {
    TTransformVector Centre;
    double Radius = 1;
    TTransformMatrix Deformation; // F

    TStrainEllipse();
    TStrainEllipse(double CX, double CY, double F11, double F12, double F21, double F22,
                   double Radius);

    // Semi-axes from the left Cauchy-Green tensor B = C C^T, C = clean F.
    // A minor semi-axis that B's product threshold zeroes comes from the
    // area instead: |det F| R^2 / major.
    double MajorSemiAxis() const;
    double MinorSemiAxis() const;
    // Major / minor; 0 when the minor semi-axis is 0.
    double AxialRatio() const;
    // Angle in radians from the x axis to the major axis, in (-pi/2, pi/2];
    // pi/2 for a circle.
    double Inclination() const;

    // Axial ratio with 2 decimals; Digits is not used.
    std::string AxialRatioText(int Digits) const;
    // Inclination in degrees with Digits decimals.
    std::string InclinationText(int Digits) const;

    // Accumulates one increment M: F := M F when the product is an
    // acceptable deformation, and the centre moves by M in every case.
    // Returns whether F changed.
    bool Accumulate(const TTransformMatrix& M);
};

} // namespace tensim
