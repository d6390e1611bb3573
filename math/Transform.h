#pragma once
// Homogeneous points and matrices. Indices are 1-based as in the formulas:
// element 0 of every array is unused. A 2D point is (x, y, 1, 0) with Size 3;
// a 2D tensor sits in the upper-left 2x2 block of a Size 3 matrix.

#include "math/Errors.h"

#include <cstdint>

namespace tensim {

struct TTransformVector {
    uint8_t Size = 0;
    double Elem[5] = {};
};

struct TTransformMatrix {
    uint8_t Size = 0;
    double Elem[5][5] = {};
};

class EVectorError : public Exception {
public:
    using Exception::Exception;
};

class EMatrixError : public Exception {
public:
    using Exception::Exception;
};

// Values below this magnitude are set to 0 by the products (a magnitude of
// exactly the threshold is kept).
constexpr double ProductThreshold = 1e-6;

TTransformVector MakeVector2D(double X, double Y);
// Applies the tensor part of M to V (translation and homogeneous component
// take no part). Raises EMatrixError when the sizes differ.
TTransformVector ApplyTransform(const TTransformVector& V, const TTransformMatrix& M);
TTransformMatrix MakeMatrix2D(double M11, double M12, double M13, double M21, double M22,
                              double M23, double M31, double M32, double M33);
// The 2D tensor (T11, T12; T21, T22) with zero translation.
TTransformMatrix MakeTensor2D(double T11, double T12, double T21, double T22);
// A times B over the whole block. Raises EMatrixError when the sizes differ.
TTransformMatrix MultiplyMatrices(const TTransformMatrix& A, const TTransformMatrix& B);

} // namespace tensim
