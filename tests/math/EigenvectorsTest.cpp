#include "tests/MessageRecorder.h"

#include "math/Vectors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace tensim {
namespace {

struct Columns {
    double x1, y1, x2, y2;
};

void ExpectColumns(const TTransformMatrix& m, Columns expected, double tolerance = 0)
{
    SCOPED_TRACE(::testing::Message() << "M = [[" << m.Elem[1][1] << ", " << m.Elem[1][2] << "], ["
                                      << m.Elem[2][1] << ", " << m.Elem[2][2] << "]]");
    MessageRecorder recorder;
    const TTransformMatrix e = MatrixEigenvectors(m);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(e.Size, 3);
    EXPECT_NEAR(e.Elem[1][1], expected.x1, tolerance);
    EXPECT_NEAR(e.Elem[2][1], expected.y1, tolerance);
    EXPECT_NEAR(e.Elem[1][2], expected.x2, tolerance);
    EXPECT_NEAR(e.Elem[2][2], expected.y2, tolerance);
    // The homogeneous column stays (0, 0, 1).
    EXPECT_EQ(e.Elem[1][3], 0.0);
    EXPECT_EQ(e.Elem[2][3], 0.0);
    EXPECT_EQ(e.Elem[3][3], 1.0);
    EXPECT_EQ(e.Elem[3][1], 0.0);
    EXPECT_EQ(e.Elem[3][2], 0.0);
}

TEST(MatrixEigenvectors, DiagonalAndPureShear)
{
    ExpectColumns(MakeTensor2D(2, 0, 0, 1), {1, 0, 0, 1});
    ExpectColumns(MakeTensor2D(1, 0, 0, 2), {0, 1, 1, 0});
    ExpectColumns(MakeTensor2D(2, 0, 0, 2), {1, 0, 0, 1});
    ExpectColumns(MakeTensor2D(0, 0, 0, 0), {1, 0, 0, 1});
    ExpectColumns(MakeTensor2D(1, 0, 0, -1), {1, 0, 0, 1});
    ExpectColumns(MakeTensor2D(-1, 0, 0, 1), {0, 1, 1, 0});
}

TEST(MatrixEigenvectors, TriangularTensors)
{
    ExpectColumns(MakeTensor2D(0, 1, 0, 0), {1, 0, -1, 0});
    ExpectColumns(MakeTensor2D(0, 0.3, 0, 0), {1, 0, -1, 0});
    ExpectColumns(MakeTensor2D(1, 1, 0, -1), {1, 0, -0.5, 1});
    ExpectColumns(MakeTensor2D(-0.5, 1, 0, 0.5), {1, 1, 1, 0});
    ExpectColumns(MakeTensor2D(1, 0, 1, -1), {1, 0.5, 0, 1});
    ExpectColumns(MakeTensor2D(0, 0, 1, 0), {0, 1, 0, -1});
}

TEST(MatrixEigenvectors, FullBlockIsBalanced)
{
    ExpectColumns(MakeTensor2D(0.5, 1, 0.2, -0.5), {1.8926, 0.3233, -0.7877, 0.9222}, 5e-5);
}

TEST(MatrixEigenvectors, RotationGivesRealAndImaginaryParts)
{
    ExpectColumns(MakeTensor2D(0, -1, 1, 0), {-1, 0, 0, 1});
    ExpectColumns(MakeTensor2D(0, 1, -1, 0), {1, 0, 0, 1});
}

TEST(MatrixEigenvectors, AllZeroDifferenceTensor)
{
    MessageRecorder recorder;
    TTransformMatrix zero = MakeTensor2D(0, 0, 0, 0);
    zero.Elem[3][3] = 0;
    const TTransformMatrix e = MatrixEigenvectors(zero);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(e.Elem[1][1], 1.0);
    EXPECT_EQ(e.Elem[2][1], 0.0);
    EXPECT_EQ(e.Elem[1][2], 0.0);
    EXPECT_EQ(e.Elem[2][2], 1.0);
}

TEST(MatrixEigenvectors, SolverFailureShowsTwoMessagesAndReturnsIdentity)
{
    MessageRecorder recorder;
    const TTransformMatrix e = MatrixEigenvectors(MakeTensor2D(std::nan(""), 1, 1, 1));
    ASSERT_EQ(recorder.texts().size(), 2u);
    EXPECT_EQ(recorder.texts()[0], "Unable to find eigenvalues Lambda[1] to Lambda[ ]");
    EXPECT_EQ(recorder.texts()[1], "Eigenvalues Lambda[1] to Lambda[ ]");
    EXPECT_TRUE(IsIdentityMatrix(e));
    EXPECT_EQ(e.Size, 3);
}

// Column 1 belongs to the larger real eigenvalue, checked against the
// closed-form eigenvalues of the block.
TEST(MatrixEigenvectorsProperty, FirstColumnBelongsToTheLargerEigenvalue)
{
    MessageRecorder recorder;
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> entry(-2, 2);
    int checked = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        const double a = entry(rng), b = entry(rng), c = entry(rng), d = entry(rng);
        const TTransformMatrix m = MakeTensor2D(a, b, c, d);
        const double disc = (a - d) * (a - d) + 4 * b * c;
        if (disc < 1e-3) continue; // complex or nearly repeated
        const double l1 = Eigenvalue1(m), l2 = Eigenvalue2(m);
        const TTransformMatrix e = MatrixEigenvectors(m);
        const double x1 = e.Elem[1][1], y1 = e.Elem[2][1], x2 = e.Elem[1][2], y2 = e.Elem[2][2];
        const double n1 = std::hypot(x1, y1), n2 = std::hypot(x2, y2);
        ASSERT_GT(n1, 0);
        ASSERT_GT(n2, 0);
        EXPECT_NEAR((a * x1 + b * y1 - l1 * x1) / n1, 0, 1e-5);
        EXPECT_NEAR((c * x1 + d * y1 - l1 * y1) / n1, 0, 1e-5);
        EXPECT_NEAR((a * x2 + b * y2 - l2 * x2) / n2, 0, 1e-5);
        EXPECT_NEAR((c * x2 + d * y2 - l2 * y2) / n2, 0, 1e-5);
        ++checked;
    }
    EXPECT_GT(checked, 1500);
    EXPECT_TRUE(recorder.messages.empty());
}

} // namespace
} // namespace tensim
