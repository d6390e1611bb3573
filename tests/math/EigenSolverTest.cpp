#include "math/EigenSolver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <random>

namespace tensim {
namespace {

// A 1-based (n+1) x (n+1) array holding the given rows at 1..n.
TMatrix OneBased(std::initializer_list<std::initializer_list<double>> rows)
{
    const int n = static_cast<int>(rows.size());
    TMatrix a;
    AllocMatrix(a, n, n);
    int i = 1;
    for (const auto& row : rows) {
        int j = 1;
        for (double x : row)
            a[i][j++] = x;
        ++i;
    }
    return a;
}

struct Solution {
    int Code;
    TVector Re, Im;
    TMatrix V;
};

Solution Solve(TMatrix a, int n)
{
    Solution s;
    AllocVector(s.Re, n);
    AllocVector(s.Im, n);
    AllocMatrix(s.V, n, n);
    s.Code = RealEigenSystem(a, 1, n, s.Re, s.Im, s.V);
    return s;
}

double InfNorm(const TMatrix& a, int lb, int ub)
{
    double norm = 0;
    for (int i = lb; i <= ub; ++i) {
        double row = 0;
        for (int j = lb; j <= ub; ++j)
            row += std::fabs(a[i][j]);
        norm = std::max(norm, row);
    }
    return norm;
}

// Largest relative residual |A v - lambda v| / (max(|A|, 1) |v|) over all
// eigenpairs, a complex pair taken from its real and imaginary columns.
double WorstResidual(const TMatrix& a, int lb, int ub, const Solution& s)
{
    using C = std::complex<double>;
    const double scale = std::max(InfNorm(a, lb, ub), 1.0);
    double worst = 0;
    for (int j = lb; j <= ub; ++j) {
        std::vector<C> v(ub + 1);
        C lambda(s.Re[j], s.Im[j]);
        if (s.Im[j] == 0) {
            for (int i = lb; i <= ub; ++i)
                v[i] = s.V[i][j];
        } else if (s.Im[j] > 0) {
            for (int i = lb; i <= ub; ++i)
                v[i] = C(s.V[i][j], s.V[i][j + 1]);
        } else {
            for (int i = lb; i <= ub; ++i)
                v[i] = C(s.V[i][j - 1], -s.V[i][j]);
        }
        double vnorm = 0;
        for (int i = lb; i <= ub; ++i)
            vnorm = std::max(vnorm, std::abs(v[i]));
        if (vnorm == 0) return std::numeric_limits<double>::infinity();
        for (int i = lb; i <= ub; ++i) {
            C r = -lambda * v[i];
            for (int k = lb; k <= ub; ++k)
                r += a[i][k] * v[k];
            worst = std::max(worst, std::abs(r) / (scale * vnorm));
        }
    }
    return worst;
}

TEST(EigenSolver, DiagonalMatrixIsolatesEveryRow)
{
    TMatrix a = OneBased({{3, 0, 0}, {0, -1, 0}, {0, 0, 2}});
    TVector scale;
    AllocVector(scale, 3);
    int low = 0, high = 0;
    TMatrix b = a;
    BalanceMatrix(b, 1, 3, low, high, scale);
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 1);

    const Solution s = Solve(a, 3);
    ASSERT_EQ(s.Code, 0);
    EXPECT_EQ(s.Re[1], 3.0);
    EXPECT_EQ(s.Re[2], -1.0);
    EXPECT_EQ(s.Re[3], 2.0);
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j)
            EXPECT_EQ(s.V[i][j], i == j ? 1.0 : 0.0) << i << "," << j;
}

TEST(EigenSolver, NilpotentBlock)
{
    const Solution s = Solve(OneBased({{0, 1, 0}, {0, 0, 0}, {0, 0, 1}}), 3);
    ASSERT_EQ(s.Code, 0);
    EXPECT_EQ(s.Re[1], 0.0);
    EXPECT_EQ(s.Re[2], 0.0);
    EXPECT_EQ(s.Re[3], 1.0);
    for (int j = 1; j <= 3; ++j)
        EXPECT_EQ(s.Im[j], 0.0);
    EXPECT_EQ(s.V[1][1], 1.0);
    EXPECT_EQ(s.V[2][1], 0.0);
    EXPECT_EQ(s.V[3][1], 0.0);
    EXPECT_DOUBLE_EQ(s.V[1][2], -1.0);
    EXPECT_LT(std::fabs(s.V[2][2]), 1e-15);
    EXPECT_EQ(s.V[3][2], 0.0);
    EXPECT_EQ(s.V[1][3], 0.0);
    EXPECT_EQ(s.V[2][3], 0.0);
    EXPECT_EQ(s.V[3][3], 1.0);
}

TEST(EigenSolver, RotationGivesComplexPair)
{
    const Solution s = Solve(OneBased({{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}), 3);
    ASSERT_EQ(s.Code, 0);
    EXPECT_EQ(s.Re[1], 0.0);
    EXPECT_EQ(s.Re[2], 0.0);
    EXPECT_EQ(s.Re[3], 1.0);
    EXPECT_EQ(s.Im[1], 1.0);
    EXPECT_EQ(s.Im[2], -1.0);
    EXPECT_EQ(s.Im[3], 0.0);
    // Real and imaginary parts of the eigenvector (-1, i) of +i.
    EXPECT_DOUBLE_EQ(s.V[1][1], -1.0);
    EXPECT_EQ(s.V[2][1], 0.0);
    EXPECT_EQ(s.V[1][2], 0.0);
    EXPECT_DOUBLE_EQ(s.V[2][2], 1.0);
    EXPECT_EQ(s.V[3][3], 1.0);
}

TEST(EigenSolver, BalancingByPowersOfTwo)
{
    TMatrix a = OneBased({{0.5, 1, 0}, {0.2, -0.5, 0}, {0, 0, 1}});
    TMatrix b = a;
    TVector scale;
    AllocVector(scale, 3);
    int low = 0, high = 0;
    BalanceMatrix(b, 1, 3, low, high, scale);
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 2);
    EXPECT_EQ(scale[3], 3.0);
    EXPECT_EQ(scale[1], 2.0);
    EXPECT_EQ(scale[2], 1.0);
    EXPECT_EQ(b[1][2], 0.5); // row 1 halved
    EXPECT_EQ(b[2][1], 0.4); // column 1 doubled

    const Solution s = Solve(a, 3);
    ASSERT_EQ(s.Code, 0);
    const double root = std::sqrt(0.45);
    EXPECT_NEAR(s.Re[1], root, 1e-15);
    EXPECT_NEAR(s.Re[2], -root, 1e-15);
    EXPECT_EQ(s.Re[3], 1.0);
    EXPECT_NEAR(s.V[1][1], 1.8926, 5e-5);
    EXPECT_NEAR(s.V[2][1], 0.3233, 5e-5);
    EXPECT_EQ(s.V[3][1], 0.0);
}

TEST(EigenSolver, ZeroMatrixSucceedsWithIdentity)
{
    const Solution s = Solve(OneBased({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}), 3);
    ASSERT_EQ(s.Code, 0);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(s.Re[i], 0.0);
        EXPECT_EQ(s.Im[i], 0.0);
        for (int j = 1; j <= 3; ++j)
            EXPECT_EQ(s.V[i][j], i == j ? 1.0 : 0.0);
    }
}

TEST(EigenSolver, BudgetRunsOutOnAMatrixThatNeverDeflates)
{
    // A NaN subdiagonal never passes the deflation test: the QR steps run
    // until the whole budget for the call is spent.
    TMatrix h = OneBased({{1, 2, 3}, {std::nan(""), 1, 2}, {0, 1, 1}});
    TVector re, im;
    TMatrix v;
    AllocVector(re, 3);
    AllocVector(im, 3);
    AllocMatrix(v, 3, 3);
    EXPECT_EQ(HessenbergQR(h, 1, 3, 1, 3, re, im, v), -3);

    // Through the whole solver, non-finite entries fail at once.
    const Solution inf = Solve(OneBased({{1, HUGE_VAL}, {1, 1}}), 2);
    EXPECT_LT(inf.Code, 0);
}

TEST(EigenSolver, HugeEntriesDoNotHangTheBalancing)
{
    const double big = std::numeric_limits<double>::max() / 2;
    const Solution s = Solve(OneBased({{1, big, 0}, {1e-300, 1, 0}, {0, 0, 1}}), 3);
    EXPECT_TRUE(s.Code == 0 || s.Code < 0);
}

TEST(EigenSolver, LowerBoundZeroAndOffsetRanges)
{
    // The same matrix at rows 0..2 and at rows 2..4 of a larger array.
    TMatrix a0;
    AllocMatrix(a0, 2, 2);
    TMatrix a2;
    AllocMatrix(a2, 4, 4);
    const double m[3][3] = {{2, 1, 0}, {1, 3, 1}, {0, 1, 4}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            a0[i][j] = a2[i + 2][j + 2] = m[i][j];
    TVector re0, im0, re2, im2;
    TMatrix v0, v2;
    AllocVector(re0, 2);
    AllocVector(im0, 2);
    AllocMatrix(v0, 2, 2);
    AllocVector(re2, 4);
    AllocVector(im2, 4);
    AllocMatrix(v2, 4, 4);
    TMatrix c0 = a0, c2 = a2;
    ASSERT_EQ(RealEigenSystem(c0, 0, 2, re0, im0, v0), 0);
    ASSERT_EQ(RealEigenSystem(c2, 2, 4, re2, im2, v2), 0);
    Solution s0{0, re0, im0, v0}, s2{0, re2, im2, v2};
    EXPECT_LT(WorstResidual(a0, 0, 2, s0), 1e-12);
    EXPECT_LT(WorstResidual(a2, 2, 4, s2), 1e-12);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(re0[i], re2[i + 2]);
    // Rows and columns outside Lb..Ub are untouched.
    EXPECT_EQ(v2[0][0], 0.0);
    EXPECT_EQ(v2[1][3], 0.0);
}

// Random 3x3 homogeneous tensors of the kind the program builds, with zeros
// in every pattern, repeated eigenvalues and rotations among them.
TEST(EigenSolverProperty, HomogeneousTensorsSatisfyTheEigenEquation)
{
    std::mt19937 rng(20261208);
    std::uniform_real_distribution<double> entry(-2, 2);
    std::uniform_int_distribution<int> pattern(0, 15), kind(0, 5);
    int complexPairs = 0;
    for (int trial = 0; trial < 4000; ++trial) {
        double a = entry(rng), b = entry(rng), c = entry(rng), d = entry(rng);
        switch (kind(rng)) {
        case 0: { // zeros in a random pattern
            const int z = pattern(rng);
            if (z & 1) a = 0;
            if (z & 2) b = 0;
            if (z & 4) c = 0;
            if (z & 8) d = 0;
            break;
        }
        case 1: // repeated eigenvalue
            d = a;
            c = 0;
            break;
        case 2: { // rotation, possibly scaled
            const double t = entry(rng) * 1.6, k = std::fabs(entry(rng));
            a = k * std::cos(t);
            b = -k * std::sin(t);
            c = k * std::sin(t);
            d = a;
            break;
        }
        case 3: // simple shear
            a = d = 1;
            c = 0;
            break;
        case 4: // symmetric
            c = b;
            break;
        default:
            break;
        }
        const double h = (trial % 2) ? 1.0 : 0.0; // flow or difference tensor
        const TMatrix m = OneBased({{a, b, 0}, {c, d, 0}, {0, 0, h}});
        const Solution s = Solve(m, 3);
        ASSERT_EQ(s.Code, 0) << a << " " << b << " " << c << " " << d;
        EXPECT_LT(WorstResidual(m, 1, 3, s), 1e-9) << a << " " << b << " " << c << " " << d;
        if (s.Im[1] != 0) ++complexPairs;
    }
    EXPECT_GT(complexPairs, 100);
}

TEST(EigenSolverProperty, GeneralMatricesOfOrderTwoToEight)
{
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> entry(-5, 5);
    std::uniform_int_distribution<int> zeroChance(0, 4);
    for (int trial = 0; trial < 3000; ++trial) {
        const int n = 2 + trial % 7;
        TMatrix m;
        AllocMatrix(m, n, n);
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j)
                m[i][j] = zeroChance(rng) == 0 ? 0.0 : entry(rng);
        if (trial % 5 == 0) // widely differing scales exercise the balancing
            for (int j = 1; j <= n; ++j)
                m[1][j] *= 1e6;
        const Solution s = Solve(m, n);
        ASSERT_EQ(s.Code, 0) << "order " << n << " trial " << trial;
        EXPECT_LT(WorstResidual(m, 1, n, s), 1e-9) << "order " << n << " trial " << trial;

        // Trace check, independent of the vectors.
        double trace = 0, sum = 0, scale = 0;
        for (int i = 1; i <= n; ++i) {
            trace += m[i][i];
            sum += s.Re[i];
            scale += std::fabs(s.Re[i]) + std::fabs(s.Im[i]);
        }
        EXPECT_NEAR(sum, trace, 1e-9 * std::max(scale, 1.0));
        // Complex pairs come with the positive imaginary part first.
        for (int i = 1; i <= n; ++i)
            if (s.Im[i] > 0) {
                ASSERT_LT(i, n);
                EXPECT_EQ(s.Im[i + 1], -s.Im[i]);
                EXPECT_EQ(s.Re[i + 1], s.Re[i]);
            }
    }
}

} // namespace
} // namespace tensim
