#pragma once
// Operations on points, vectors and 2D tensors, the closed-form principal
// values of a 2x2 tensor, and its eigenvectors.

#include "math/Transform.h"

namespace tensim {

// Direction angle of (Elem[1], Elem[2]) in [0, 2 pi).
double VectorAngle(const TTransformVector& V);
double VectorLength(const TTransformVector& V);
TTransformVector VectorSubtraction(const TTransformVector& A, const TTransformVector& B);
double VectorDistance(const TTransformVector& A, const TTransformVector& B);
void DisplacePolar(TTransformVector& V, double Angle, double Distance);
// T * A + (1 - T) * B.
TTransformVector VectorBetween(const TTransformVector& A, const TTransformVector& B, double T);
// Signed distance of P from the line A x + B y + C = 0; -1 for a 3D point or
// a degenerate line.
double VectorDistLine(const TTransformVector& P, double A, double B, double C);
// Positive when P lies to the left of the direction Q1 -> Q2.
double DistLineTwoPoints(const TTransformVector& P, const TTransformVector& Q1,
                         const TTransformVector& Q2);
// Positive when P lies to the right of the direction (DX, DY) through Q.
double DistLinePointDirection(const TTransformVector& Q, const TTransformVector& P, double DX,
                              double DY);
bool PointNearSegment(const TTransformVector& P, const TTransformVector& S1,
                      const TTransformVector& S2, double Tolerance);

TTransformMatrix TransposeMatrix(const TTransformMatrix& M);
TTransformMatrix IdentityMatrix2D();
TTransformMatrix CleanMatrix(const TTransformMatrix& M);
TTransformMatrix DifferenceOfMatrices(const TTransformMatrix& A, const TTransformMatrix& B);

// Larger and smaller eigenvalue of the upper-left 2x2 block; 0 when complex.
double Eigenvalue1(const TTransformMatrix& M);
double Eigenvalue2(const TTransformMatrix& M);
// Exact test, no tolerance.
bool IsIdentityMatrix(const TTransformMatrix& M);

// Eigenvectors of the Size x Size block as columns, column 1 belonging to the
// larger real part of the first two eigenvalues. On a solver failure it shows
// two messages and returns the identity.
TTransformMatrix MatrixEigenvectors(const TTransformMatrix& M);

} // namespace tensim
