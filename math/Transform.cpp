#include "math/Transform.h"

#include <cmath>

namespace tensim {

namespace {

double KeepAboveThreshold(double X)
{
    return std::fabs(X) >= ProductThreshold ? X : 0.0;
}

} // namespace

TTransformVector MakeVector2D(double X, double Y)
{
    TTransformVector v;
    v.Size = 3;
    v.Elem[1] = KeepAboveThreshold(X);
    v.Elem[2] = KeepAboveThreshold(Y);
    v.Elem[3] = 1;
    v.Elem[4] = 0;
    return v;
}

TTransformVector ApplyTransform(const TTransformVector& V, const TTransformMatrix& M)
{
    if (V.Size != M.Size) throw EMatrixError("Transform multiply error");
    const int n = M.Size;
    TTransformVector result;
    for (int i = 1; i <= n - 1; ++i) {
        double sum = 0;
        for (int j = 1; j <= n - 1; ++j)
            sum = sum + M.Elem[i][j] * V.Elem[j];
        result.Elem[i] = KeepAboveThreshold(sum);
    }
    if (n >= 1) result.Elem[n] = 1;
    result.Size = static_cast<uint8_t>(n);
    return result;
}

TTransformMatrix MakeMatrix2D(double M11, double M12, double M13, double M21, double M22,
                              double M23, double M31, double M32, double M33)
{
    TTransformMatrix m;
    m.Size = 3;
    m.Elem[1][1] = M11;
    m.Elem[1][2] = M12;
    m.Elem[1][3] = M13;
    m.Elem[2][1] = M21;
    m.Elem[2][2] = M22;
    m.Elem[2][3] = M23;
    m.Elem[3][1] = M31;
    m.Elem[3][2] = M32;
    m.Elem[3][3] = M33;
    return m;
}

TTransformMatrix MakeTensor2D(double T11, double T12, double T21, double T22)
{
    return MakeMatrix2D(T11, T12, 0, T21, T22, 0, 0, 0, 1);
}

TTransformMatrix MultiplyMatrices(const TTransformMatrix& A, const TTransformMatrix& B)
{
    if (A.Size != B.Size) throw EMatrixError("MultiplyMatrices error");
    const int n = A.Size;
    TTransformMatrix result;
    result.Size = A.Size;
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            double sum = 0;
            for (int k = 1; k <= n; ++k)
                sum = sum + A.Elem[i][k] * B.Elem[k][j];
            result.Elem[i][j] = KeepAboveThreshold(sum);
        }
    return result;
}

} // namespace tensim
