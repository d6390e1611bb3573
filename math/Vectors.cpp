#include "math/Vectors.h"

#include "math/EigenSolver.h"
#include "math/Matrices.h"
#include "math/Messages.h"
#include "math/Scalars.h"

#include <cmath>
#include <string>

namespace tensim {

namespace {

bool IsPointSize(int Size)
{
    return Size == 3 || Size == 4;
}

void CheckSizes(const TTransformVector& A, const TTransformVector& B, const char* Message)
{
    if (!IsPointSize(A.Size) || !IsPointSize(B.Size) || A.Size != B.Size)
        throw EVectorError(Message);
}

void CheckEigenvalueSize(const TTransformMatrix& M, const char* Message)
{
    if (M.Size != 3) throw EMatrixError(Message);
}

// Discriminant terms of the 2x2 block: 4 det and trace squared.
struct TBlockTerms {
    double HalfTrace, Det4, Trace2;
};

TBlockTerms BlockTerms(const TTransformMatrix& M)
{
    const double a = M.Elem[1][1], b = M.Elem[1][2], c = M.Elem[2][1], d = M.Elem[2][2];
    return {(a + d) / 2, 4 * (a * d - b * c), (a + d) * (a + d)};
}

} // namespace

double VectorAngle(const TTransformVector& V)
{
    const double x = V.Elem[1], y = V.Elem[2];
    long double angle;
    if (x == 0) {
        if (y > 0)
            angle = HalfPiExtended;
        else if (y < 0)
            angle = -HalfPiExtended;
        else
            angle = 0;
    } else {
        angle = SnapToZero(std::atan(y / x));
        if (x < 0) {
            if (y < 0)
                angle = angle + PiExtended;
            else
                angle = angle - PiExtended;
        }
    }
    if (angle < 0) angle = angle + TwoPiExtended;
    return static_cast<double>(angle);
}

double VectorLength(const TTransformVector& V)
{
    double sum = 0;
    for (int i = 1; i <= V.Size - 1; ++i)
        sum = sum + V.Elem[i] * V.Elem[i];
    return SnapToZero(std::sqrt(sum));
}

TTransformVector VectorSubtraction(const TTransformVector& A, const TTransformVector& B)
{
    CheckSizes(A, B, "Vector Subtraction Mismatch");
    TTransformVector result;
    result.Size = A.Size;
    for (int i = 1; i <= A.Size - 1; ++i)
        result.Elem[i] = A.Elem[i] - B.Elem[i];
    result.Elem[A.Size] = 1;
    return result;
}

double VectorDistance(const TTransformVector& A, const TTransformVector& B)
{
    return VectorLength(VectorSubtraction(A, B));
}

void DisplacePolar(TTransformVector& V, double Angle, double Distance)
{
    V = MakeVector2D(V.Elem[1] + Distance * std::cos(Angle),
                     V.Elem[2] + Distance * std::sin(Angle));
}

TTransformVector VectorBetween(const TTransformVector& A, const TTransformVector& B, double T)
{
    CheckSizes(A, B, "Vector Between Mismatch");
    TTransformVector result;
    result.Size = A.Size;
    for (int i = 1; i <= A.Size - 1; ++i)
        result.Elem[i] = T * A.Elem[i] + (1 - T) * B.Elem[i];
    result.Elem[A.Size] = 1;
    return result;
}

double VectorDistLine(const TTransformVector& P, double A, double B, double C)
{
    if (!IsPointSize(P.Size)) throw EVectorError("Vector DistLine Mismatch");
    if (P.Size == 4) return -1;
    const double d = std::sqrt(A * A + B * B);
    if (d == 0) return -1;
    return SnapToZero((A * P.Elem[1] + B * P.Elem[2] + C) / d);
}

double DistLineTwoPoints(const TTransformVector& P, const TTransformVector& Q1,
                         const TTransformVector& Q2)
{
    const double x1 = Q1.Elem[1], y1 = Q1.Elem[2], x2 = Q2.Elem[1], y2 = Q2.Elem[2];
    return VectorDistLine(P, y1 - y2, x2 - x1, x1 * y2 - y1 * x2);
}

double DistLinePointDirection(const TTransformVector& Q, const TTransformVector& P, double DX,
                              double DY)
{
    return VectorDistLine(P, DY, -DX, DX * Q.Elem[2] - DY * Q.Elem[1]);
}

bool PointNearSegment(const TTransformVector& P, const TTransformVector& S1,
                      const TTransformVector& S2, double Tolerance)
{
    const double dx = S1.Elem[2] - S2.Elem[2];
    const double dy = S2.Elem[1] - S1.Elem[1];
    const double d1 = DistLinePointDirection(S1, P, dx, dy);
    const double d2 = DistLinePointDirection(S2, P, dx, dy);
    if (d1 * d2 > 0) return false;
    return std::fabs(DistLineTwoPoints(P, S1, S2)) < Tolerance;
}

TTransformMatrix TransposeMatrix(const TTransformMatrix& M)
{
    TTransformMatrix result;
    result.Size = M.Size;
    for (int i = 1; i <= M.Size; ++i)
        for (int j = 1; j <= M.Size; ++j)
            result.Elem[i][j] = M.Elem[j][i];
    return result;
}

TTransformMatrix IdentityMatrix2D()
{
    return MakeTensor2D(1, 0, 0, 1);
}

TTransformMatrix CleanMatrix(const TTransformMatrix& M)
{
    TTransformMatrix result;
    result.Size = M.Size;
    for (int i = 1; i <= M.Size; ++i)
        for (int j = 1; j <= M.Size; ++j)
            result.Elem[i][j] = SnapToZero(M.Elem[i][j]);
    return result;
}

TTransformMatrix DifferenceOfMatrices(const TTransformMatrix& A, const TTransformMatrix& B)
{
    if (A.Size != B.Size) throw EMatrixError("Difference of Matrices error");
    TTransformMatrix result;
    result.Size = A.Size;
    for (int i = 1; i <= A.Size; ++i)
        for (int j = 1; j <= A.Size; ++j)
            result.Elem[i][j] = SnapToZero(A.Elem[i][j] - B.Elem[i][j]);
    return result;
}

double Eigenvalue1(const TTransformMatrix& M)
{
    CheckEigenvalueSize(M, "Eigenvalue1 error");
    const TBlockTerms t = BlockTerms(M);
    if (t.Det4 > t.Trace2) return 0;
    return t.HalfTrace + std::sqrt(t.Trace2 - t.Det4) / 2;
}

double Eigenvalue2(const TTransformMatrix& M)
{
    CheckEigenvalueSize(M, "Eigenvalue2 error");
    const TBlockTerms t = BlockTerms(M);
    if (t.Det4 > t.Trace2) return 0;
    return t.HalfTrace - std::sqrt(t.Trace2 - t.Det4) / 2;
}

bool IsIdentityMatrix(const TTransformMatrix& M)
{
    for (int i = 1; i <= M.Size; ++i)
        for (int j = 1; j <= M.Size; ++j)
            if (M.Elem[i][j] != (i == j ? 1.0 : 0.0)) return false;
    return true;
}

TTransformMatrix MatrixEigenvectors(const TTransformMatrix& M)
{
    const int n = M.Size;
    TMatrix A, V;
    TVector lambdaRe, lambdaIm;
    AllocMatrix(A, n, n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            A[i][j] = SnapToZero(M.Elem[i][j]);
    AllocVector(lambdaRe, n);
    AllocVector(lambdaIm, n);
    AllocMatrix(V, n, n);

    if (A.empty()) ShowMessage("A is nil");
    if (lambdaRe.empty()) ShowMessage("Lambda_Re is nil");
    if (lambdaIm.empty()) ShowMessage("Lambda_Im is nil");
    if (V.empty()) ShowMessage("V is nil");

    // A solver over an empty or one-element block has nothing to order;
    // the arrays above are the solver's full extent.
    const int code = n >= 1 ? RealEigenSystem(A, 1, n, lambdaRe, lambdaIm, V) : 0;

    TTransformMatrix result = IdentityMatrix2D();
    if (code != 0) {
        ShowMessage("Unable to find eigenvalues Lambda[1] to Lambda[ ]");
        ShowMessage("Eigenvalues Lambda[1] to Lambda[ ]");
        return result;
    }
    result.Size = M.Size;
    if (n >= 2 && lambdaRe[1] < lambdaRe[2]) SwapColumns(1, 2, V, 0, n);
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            result.Elem[i][j] = SnapToZero(V[i][j]);
    return result;
}

} // namespace tensim
