#include "math/Transform.h"
#include "math/Scalars.h"
#include "math/Vectors.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tensim {
namespace {

constexpr double Pi = 3.14159265358979323846;

template <typename E, typename F> void ExpectError(F f, const char* message)
{
    try {
        f();
        ADD_FAILURE() << "no error, expected " << message;
    } catch (const E& e) {
        EXPECT_STREQ(e.what(), message);
    }
}

TEST(Transform, TensorIsTheMatrixWithoutTranslation)
{
    const TTransformMatrix t = MakeTensor2D(1.5, -2, 1e-7, 4);
    const TTransformMatrix m = MakeMatrix2D(1.5, -2, 0, 1e-7, 4, 0, 0, 0, 1);
    EXPECT_EQ(t.Size, m.Size);
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
            EXPECT_EQ(t.Elem[i][j], m.Elem[i][j]) << i << ", " << j;
}

TEST(SnapRules, ProductThresholdKeepsExactThresholdSnapToZeroDropsIt)
{
    TTransformVector v = MakeVector2D(5e-7, -3);
    EXPECT_EQ(v.Size, 3);
    EXPECT_EQ(v.Elem[1], 0.0);
    EXPECT_EQ(v.Elem[2], -3.0);
    EXPECT_EQ(v.Elem[3], 1.0);
    EXPECT_EQ(v.Elem[4], 0.0);
    EXPECT_EQ(MakeVector2D(1e-6, 0).Elem[1], 1e-6);
    EXPECT_EQ(MakeVector2D(-1e-6, 0).Elem[1], -1e-6);

    EXPECT_EQ(SnapToZero(1e-6), 0.0);
    EXPECT_EQ(SnapToZero(-1e-6), 0.0);
    EXPECT_EQ(SnapToZero(1.0000001e-6), 1.0000001e-6);
    EXPECT_EQ(SnapToZero(-0.25), -0.25);
}

TEST(SnapRules, AngleConversionsUseExtendedPi)
{
    EXPECT_EQ(DegToRad(180), Pi);
    EXPECT_EQ(RadToDeg(Pi), 180.0);
    EXPECT_EQ(DegToRad(90), Pi / 2);
    EXPECT_DOUBLE_EQ(RadToDeg(DegToRad(31.72)), 31.72);
}

TEST(ApplyTransform, AppliesTensorPartOnly)
{
    const TTransformVector r =
        ApplyTransform(MakeVector2D(2, 3), MakeMatrix2D(1, 2, 7, 0, 1, 9, 0, 0, 1));
    EXPECT_EQ(r.Size, 3);
    EXPECT_EQ(r.Elem[1], 8.0);
    EXPECT_EQ(r.Elem[2], 3.0);
    EXPECT_EQ(r.Elem[3], 1.0);
    // Results below the threshold vanish.
    const TTransformVector tiny =
        ApplyTransform(MakeVector2D(1, 1), MakeTensor2D(1, -1 + 1e-7, 0, 1));
    EXPECT_EQ(tiny.Elem[1], 0.0);
}

TEST(ApplyTransform, SizeMismatchRaises)
{
    TTransformVector v4 = MakeVector2D(1, 2);
    v4.Size = 4;
    ExpectError<EMatrixError>([&] { ApplyTransform(v4, IdentityMatrix2D()); },
                              "Transform multiply error");
}

TEST(MatrixOperations, MultiplyKeepsHomogeneousPartAndSnapsSmallProducts)
{
    const TTransformMatrix p =
        MultiplyMatrices(MakeTensor2D(1, 0.5, 0, 1), MakeTensor2D(2, 0, 1e-4, 3e-3));
    EXPECT_EQ(p.Size, 3);
    EXPECT_EQ(p.Elem[3][3], 1.0);
    EXPECT_EQ(p.Elem[1][3], 0.0);
    EXPECT_EQ(p.Elem[2][3], 0.0);
    EXPECT_DOUBLE_EQ(p.Elem[1][1], 2.00005);
    EXPECT_DOUBLE_EQ(p.Elem[1][2], 1.5e-3);
    EXPECT_EQ(p.Elem[2][1], 1e-4);
    EXPECT_DOUBLE_EQ(p.Elem[2][2], 3e-3);
    // 1e-3 * 1e-4 = 1e-7 falls under the threshold.
    const TTransformMatrix q =
        MultiplyMatrices(MakeTensor2D(1e-3, 0, 0, 1), MakeTensor2D(1e-4, 0, 0, 1));
    EXPECT_EQ(q.Elem[1][1], 0.0);

    TTransformMatrix m4 = IdentityMatrix2D();
    m4.Size = 4;
    ExpectError<EMatrixError>([&] { MultiplyMatrices(m4, IdentityMatrix2D()); },
                              "MultiplyMatrices error");
}

TEST(MatrixOperations, DifferenceTransposeCleanIdentity)
{
    const TTransformMatrix d =
        DifferenceOfMatrices(MakeTensor2D(1, 2, 3, 4), MakeTensor2D(0, 1, 3 - 1e-7, 1));
    EXPECT_EQ(d.Elem[3][3], 0.0);
    EXPECT_EQ(d.Elem[1][1], 1.0);
    EXPECT_EQ(d.Elem[2][1], 0.0); // 1e-7 snapped
    EXPECT_EQ(d.Elem[2][2], 3.0);
    TTransformMatrix m4 = IdentityMatrix2D();
    m4.Size = 4;
    ExpectError<EMatrixError>([&] { DifferenceOfMatrices(IdentityMatrix2D(), m4); },
                              "Difference of Matrices error");

    const TTransformMatrix t = TransposeMatrix(MakeMatrix2D(1, 2, 3, 4, 5, 6, 7, 8, 9));
    EXPECT_EQ(t.Elem[1][2], 4.0);
    EXPECT_EQ(t.Elem[3][1], 3.0);
    EXPECT_EQ(t.Elem[2][3], 8.0);

    const TTransformMatrix c = CleanMatrix(MakeTensor2D(1e-6, -2e-6, 5e-7, 1));
    EXPECT_EQ(c.Elem[1][1], 0.0);
    EXPECT_EQ(c.Elem[1][2], -2e-6);
    EXPECT_EQ(c.Elem[2][1], 0.0);

    EXPECT_TRUE(IsIdentityMatrix(IdentityMatrix2D()));
    TTransformMatrix almost = IdentityMatrix2D();
    almost.Elem[1][1] = 1 + 1e-12;
    EXPECT_FALSE(IsIdentityMatrix(almost));
    EXPECT_TRUE(IsIdentityMatrix(TTransformMatrix{}));
}

TEST(VectorOperations, AngleCoversTheCircle)
{
    EXPECT_EQ(VectorAngle(MakeVector2D(1, 0)), 0.0);
    EXPECT_EQ(VectorAngle(MakeVector2D(0, 1)), Pi / 2);
    EXPECT_EQ(VectorAngle(MakeVector2D(-1, 0)), Pi);
    EXPECT_EQ(VectorAngle(MakeVector2D(0, -2)), 3 * Pi / 2);
    EXPECT_EQ(VectorAngle(MakeVector2D(0, 0)), 0.0);
    TTransformVector v = MakeVector2D(1, 0);
    v.Elem[2] = -1e-9;
    EXPECT_EQ(VectorAngle(v), 0.0);
    EXPECT_DOUBLE_EQ(VectorAngle(MakeVector2D(-1, -1)), 5 * Pi / 4);
    EXPECT_DOUBLE_EQ(VectorAngle(MakeVector2D(-1, 1)), 3 * Pi / 4);
    EXPECT_DOUBLE_EQ(VectorAngle(MakeVector2D(1, -1)), 7 * Pi / 4);
}

TEST(VectorOperations, LengthDistanceSubtractionBetween)
{
    EXPECT_EQ(VectorDistance(MakeVector2D(3, 4), MakeVector2D(0, 0)), 5.0);
    EXPECT_EQ(VectorDistance(MakeVector2D(1, 1), MakeVector2D(1 + 5e-7, 1)), 0.0);

    const TTransformVector s = VectorSubtraction(MakeVector2D(3, 4), MakeVector2D(1, 1));
    EXPECT_EQ(s.Elem[1], 2.0);
    EXPECT_EQ(s.Elem[2], 3.0);
    EXPECT_EQ(s.Elem[3], 1.0);

    const TTransformVector b = VectorBetween(MakeVector2D(1, 0), MakeVector2D(0, 1), 0.25);
    EXPECT_EQ(b.Elem[1], 0.25);
    EXPECT_EQ(b.Elem[2], 0.75);
    EXPECT_EQ(b.Elem[3], 1.0);

    TTransformVector bad = MakeVector2D(1, 1);
    bad.Size = 2;
    ExpectError<EVectorError>([&] { VectorSubtraction(bad, bad); }, "Vector Subtraction Mismatch");
    TTransformVector v4 = MakeVector2D(1, 1);
    v4.Size = 4;
    ExpectError<EVectorError>([&] { VectorBetween(v4, MakeVector2D(1, 1), 0.5); },
                              "Vector Between Mismatch");
    // Both errors share one base with the matrix errors.
    EXPECT_THROW(VectorSubtraction(bad, bad), Exception);
}

TEST(VectorOperations, DisplacePolarSnapsTinyComponents)
{
    TTransformVector v = MakeVector2D(1, 1);
    DisplacePolar(v, Pi / 2, 2);
    EXPECT_EQ(v.Size, 3);
    EXPECT_DOUBLE_EQ(v.Elem[1], 1.0);
    EXPECT_EQ(v.Elem[2], 3.0);
    TTransformVector o = MakeVector2D(0, 0);
    DisplacePolar(o, Pi / 2, 2);
    EXPECT_EQ(o.Elem[1], 0.0);
    EXPECT_EQ(o.Elem[2], 2.0);
}

TEST(VectorOperations, DistancesToLinesAndSegments)
{
    EXPECT_EQ(VectorDistLine(MakeVector2D(1, 1), 1, 1, -2), 0.0);
    EXPECT_DOUBLE_EQ(VectorDistLine(MakeVector2D(0, 0), 1, 1, -2), -2 / std::sqrt(2.0));
    EXPECT_EQ(VectorDistLine(MakeVector2D(0, 0), 0, 0, 5), -1.0);
    TTransformVector v4 = MakeVector2D(0, 0);
    v4.Size = 4;
    EXPECT_EQ(VectorDistLine(v4, 1, 1, -2), -1.0);
    TTransformVector v2 = MakeVector2D(0, 0);
    v2.Size = 2;
    ExpectError<EVectorError>([&] { VectorDistLine(v2, 1, 1, -2); }, "Vector DistLine Mismatch");

    // Left of Q1 -> Q2 is positive; right of a direction is positive.
    EXPECT_EQ(DistLineTwoPoints(MakeVector2D(0, 1), MakeVector2D(0, 0), MakeVector2D(1, 0)), 1.0);
    EXPECT_EQ(DistLinePointDirection(MakeVector2D(0, 0), MakeVector2D(0, -2), 1, 0), 2.0);

    const TTransformVector s1 = MakeVector2D(0, 0), s2 = MakeVector2D(10, 0);
    EXPECT_TRUE(PointNearSegment(MakeVector2D(5, 0.05), s1, s2, 0.1));
    EXPECT_FALSE(PointNearSegment(MakeVector2D(11, 0), s1, s2, 0.1));
    EXPECT_TRUE(PointNearSegment(MakeVector2D(10, 0), s1, s2, 0.1));
    EXPECT_FALSE(PointNearSegment(MakeVector2D(5, 0.1), s1, s2, 0.1)); // strictly less
    EXPECT_FALSE(PointNearSegment(MakeVector2D(0, 0), s1, s1, 0.1));   // zero length
}

TEST(ClosedFormEigenvalues, RealEqualAndComplex)
{
    EXPECT_EQ(Eigenvalue1(MakeTensor2D(3, 1, 1, 3)), 4.0);
    EXPECT_EQ(Eigenvalue2(MakeTensor2D(3, 1, 1, 3)), 2.0);
    EXPECT_EQ(Eigenvalue1(MakeTensor2D(0, -1, 1, 0)), 0.0);
    EXPECT_EQ(Eigenvalue2(MakeTensor2D(0, -1, 1, 0)), 0.0);
    EXPECT_EQ(Eigenvalue1(MakeTensor2D(2, 0, 0, 2)), 2.0);
    EXPECT_EQ(Eigenvalue2(MakeTensor2D(2, 0, 0, 2)), 2.0);
    EXPECT_DOUBLE_EQ(Eigenvalue1(MakeTensor2D(2, 1, 1, 1)), (3 + std::sqrt(5.0)) / 2);

    TTransformMatrix m4 = IdentityMatrix2D();
    m4.Size = 4;
    ExpectError<EMatrixError>([&] { Eigenvalue1(m4); }, "Eigenvalue1 error");
    ExpectError<EMatrixError>([&] { Eigenvalue2(m4); }, "Eigenvalue2 error");
}

} // namespace
} // namespace tensim
