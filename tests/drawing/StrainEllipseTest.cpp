#include "drawing/StrainEllipse.h"

#include "math/FloatFormat.h"
#include "math/Scalars.h"
#include "math/Vectors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace tensim {
namespace {

TEST(StrainEllipse, CircleMeasures)
{
    const TStrainEllipse e;
    EXPECT_EQ(e.MajorSemiAxis(), 1.0);
    EXPECT_EQ(e.MinorSemiAxis(), 1.0);
    EXPECT_EQ(e.AxialRatio(), 1.0);
    EXPECT_EQ(e.Inclination(), 1.5707963267948966);
    const TStrainEllipse r(0, 0, 1, 0, 0, 1, 0.5);
    EXPECT_EQ(r.MajorSemiAxis(), 0.5);
}

TEST(StrainEllipse, SimpleShearIncrement)
{
    TStrainEllipse e;
    ASSERT_TRUE(e.Accumulate(MakeTensor2D(1, 1, 0, 1)));
    const double lambda1 = (3 + std::sqrt(5.0)) / 2;
    EXPECT_DOUBLE_EQ(e.MajorSemiAxis(), std::sqrt(lambda1));
    EXPECT_NEAR(e.MajorSemiAxis(), 1.618034, 1e-6);
    EXPECT_NEAR(e.MinorSemiAxis(), 0.618034, 1e-6);
    EXPECT_NEAR(e.AxialRatio(), 2.618034, 1e-6);
    EXPECT_DOUBLE_EQ(e.Inclination(), std::atan(1 / (lambda1 - 1)));
    EXPECT_NEAR(RadToDeg(e.Inclination()), 31.7175, 1e-4);

    EXPECT_EQ(e.InclinationText(2), "31.72");
    EXPECT_EQ(e.AxialRatioText(7), "2.62");
}

TEST(StrainEllipse, PureShearIncrement)
{
    TStrainEllipse e;
    ASSERT_TRUE(e.Accumulate(MakeTensor2D(2, 0, 0, 0.5)));
    EXPECT_EQ(e.Inclination(), 0.0);
    EXPECT_EQ(e.AxialRatio(), 4.0);
    // The shortening direction is the major axis when it dominates.
    TStrainEllipse v;
    ASSERT_TRUE(v.Accumulate(MakeTensor2D(0.5, 0, 0, 2)));
    EXPECT_EQ(v.Inclination(), 1.5707963267948966);
}

TEST(StrainEllipse, SingularIncrementOnlyMovesTheCentre)
{
    TStrainEllipse e(1, 2, 1, 0.5, 0, 1, 1);
    const TTransformMatrix before = e.Deformation;
    EXPECT_FALSE(e.Accumulate(MakeTensor2D(0, 0, 0, 0)));
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j)
            EXPECT_EQ(e.Deformation.Elem[i][j], before.Elem[i][j]);
    EXPECT_EQ(e.Centre.Elem[1], 0.0);
    EXPECT_EQ(e.Centre.Elem[2], 0.0);
    // Rank one: refused too.
    EXPECT_FALSE(e.Accumulate(MakeTensor2D(1, 1, 1, 1)));
}

TEST(StrainEllipse, IncrementsAccumulateAsPowers)
{
    TStrainEllipse e;
    ASSERT_TRUE(e.Accumulate(MakeTensor2D(1, 0.5, 0, 1)));
    ASSERT_TRUE(e.Accumulate(MakeTensor2D(1, 0.5, 0, 1)));
    EXPECT_EQ(e.Deformation.Elem[1][1], 1.0);
    EXPECT_EQ(e.Deformation.Elem[1][2], 1.0);
    EXPECT_EQ(e.Deformation.Elem[2][1], 0.0);
    EXPECT_EQ(e.Deformation.Elem[2][2], 1.0);
    EXPECT_EQ(e.Deformation.Elem[3][3], 1.0);
}

TEST(StrainEllipse, AxialRatioTextIgnoresDigitsAndUsesTheLocaleSeparator)
{
    TStrainEllipse e;
    ASSERT_TRUE(e.Accumulate(MakeTensor2D(1.25, 0, 0, 0.5)));
    EXPECT_EQ(e.AxialRatioText(0), "2.50");
    const TFormatSettings saved = FormatSettings();
    FormatSettings().DecimalSeparator = ",";
    EXPECT_EQ(e.AxialRatioText(5), "2,50");
    EXPECT_EQ(e.InclinationText(3), "0,000");
    FormatSettings() = saved;
}

TEST(StrainEllipse, NearlySingularDeformationHasZeroMinorAxisNotNaN)
{
    // B = C C^T of this F has a tiny negative closed-form second eigenvalue.
    TStrainEllipse e(0, 0, 1e8, 1e8 + 1, 1e8 - 1, 1e8, 1);
    EXPECT_TRUE(std::isfinite(e.MinorSemiAxis()));
    EXPECT_GE(e.MinorSemiAxis(), 0.0);
    EXPECT_FALSE(std::isnan(e.AxialRatio()));
    TStrainEllipse f(0, 0, 1, 2, 0.5, 1, 1); // singular: det 0
    EXPECT_EQ(f.MinorSemiAxis(), 0.0);
    EXPECT_EQ(f.AxialRatio(), 0.0);
}

// Pure shear with (1,1) = 2: from the 10th increment the minor stretch
// 2^-n squared falls under B's product threshold. The axial ratio is still
// the true 4^n, and the figures before stay exactly as the threshold-free
// closed form gives them.
TEST(StrainEllipse, LongEllipseKeepsItsAxialRatio)
{
    TStrainEllipse e;
    const TTransformMatrix m = MakeTensor2D(2, 0, 0, 0.5);
    for (int n = 1; n <= 13; ++n) {
        ASSERT_TRUE(e.Accumulate(m)) << n;
        const double major = std::ldexp(1.0, n), minor = std::ldexp(1.0, -n);
        EXPECT_EQ(e.MajorSemiAxis(), major) << n;
        EXPECT_EQ(e.MinorSemiAxis(), minor) << n;
        EXPECT_EQ(e.AxialRatio(), major / minor) << n;
        EXPECT_EQ(e.Inclination(), 0.0) << n;
    }
    // At a ratio of 2^28 the acceptance test's smaller stretch rounds to 0.
    EXPECT_FALSE(e.Accumulate(m));
    // The radius scales both semi-axes, not the ratio.
    const TStrainEllipse r(0, 0, 1024, 0, 0, 1.0 / 1024, 0.5);
    EXPECT_EQ(r.MinorSemiAxis(), 0.5 / 1024);
    EXPECT_EQ(r.AxialRatio(), 1024.0 * 1024);
}

// Long ellipses of every inclination against the singular values of F,
// computed apart from B.
TEST(StrainEllipseProperty, LongEllipsesMatchSingularValues)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> angle(0, 3.14159), logStretch(3.2, 7);
    for (int trial = 0; trial < 200; ++trial) {
        // F = R(a) diag(s, 1/s') R(b): singular values s and 1/s'.
        const double a = angle(rng), b = angle(rng);
        const double s = std::pow(10.0, logStretch(rng) / 2),
                     t = std::pow(10.0, -logStretch(rng) / 2);
        const double ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b);
        const double f11 = ca * s * cb - sa * t * sb, f12 = -ca * s * sb - sa * t * cb;
        const double f21 = sa * s * cb + ca * t * sb, f22 = -sa * s * sb + ca * t * cb;
        const TStrainEllipse e(0, 0, f11, f12, f21, f22, 1);
        if (e.MajorSemiAxis() == 0) continue;
        EXPECT_NEAR(e.MajorSemiAxis() / s, 1, 1e-6) << trial;
        EXPECT_GT(e.MinorSemiAxis(), 0) << trial;
        // Where the closed form still gives the minor stretch, it loses
        // about eps (s/t)^2 of it to cancellation.
        const double ratio = s / t;
        EXPECT_NEAR(e.AxialRatio() / ratio, 1, 1e-6 + 4e-16 * ratio * ratio) << trial;
    }
    // Along the axes B's threshold zeroes the minor stretch, and the area
    // gives it to the last bits.
    std::uniform_real_distribution<double> logMajor(0, 2), logMinor(-5.9, -3.1);
    for (int trial = 0; trial < 200; ++trial) {
        const double s = std::pow(10.0, logMajor(rng)), t = std::pow(10.0, logMinor(rng));
        const bool upright = trial % 2 == 1;
        const TStrainEllipse e(0, 0, upright ? t : s, 0, 0, upright ? s : t, 1);
        EXPECT_NEAR(e.MinorSemiAxis() / t, 1, 1e-14) << trial;
        EXPECT_NEAR(e.AxialRatio() / (s / t), 1, 1e-14) << trial;
    }
}

TEST(StrainEllipse, OverflowingIncrementsAreRefused)
{
    // Growth with rotation: the product stays finite long after the
    // measures (which square F twice) would overflow.
    const double c = 2 * std::cos(0.3), s = 2 * std::sin(0.3);
    for (const TTransformMatrix& m : {MakeTensor2D(c, -s, s, c), MakeTensor2D(2, 1.5, 0.5, 2)}) {
        TStrainEllipse e;
        int accepted = 0;
        for (int k = 0; k < 3000; ++k) {
            if (e.Accumulate(m)) ++accepted;
            ASSERT_TRUE(std::isfinite(e.MajorSemiAxis())) << k;
            ASSERT_TRUE(std::isfinite(e.MinorSemiAxis())) << k;
            ASSERT_TRUE(std::isfinite(e.AxialRatio())) << k;
            ASSERT_TRUE(std::isfinite(e.Inclination())) << k;
        }
        EXPECT_GT(accepted, 10);
        EXPECT_LT(accepted, 3000);
        for (int i = 1; i <= 2; ++i)
            for (int j = 1; j <= 2; ++j)
                EXPECT_TRUE(std::isfinite(e.Deformation.Elem[i][j]));
    }
}

// After k accepted increments of M from the identity, F = M^k, checked
// against an independent power in long double.
TEST(StrainEllipseProperty, AccumulationGivesPowers)
{
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> entry(-1.2, 1.2);
    for (int trial = 0; trial < 300; ++trial) {
        const double a = entry(rng), b = entry(rng), c = entry(rng), d = entry(rng);
        if (std::fabs(a * d - b * c) < 0.2) continue;
        const TTransformMatrix m = MakeTensor2D(a, b, c, d);
        TStrainEllipse e;
        long double p11 = 1, p12 = 0, p21 = 0, p22 = 1;
        for (int k = 1; k <= 6; ++k) {
            ASSERT_TRUE(e.Accumulate(m));
            const long double n11 = a * p11 + b * p21, n12 = a * p12 + b * p22;
            const long double n21 = c * p11 + d * p21, n22 = c * p12 + d * p22;
            p11 = n11, p12 = n12, p21 = n21, p22 = n22;
            const double tol = 1e-5; // products under 1e-6 are snapped to 0
            EXPECT_NEAR(e.Deformation.Elem[1][1], static_cast<double>(p11), tol);
            EXPECT_NEAR(e.Deformation.Elem[1][2], static_cast<double>(p12), tol);
            EXPECT_NEAR(e.Deformation.Elem[2][1], static_cast<double>(p21), tol);
            EXPECT_NEAR(e.Deformation.Elem[2][2], static_cast<double>(p22), tol);
        }
        // Semi-axes are the singular values of F: their product is |det F|.
        const double det = static_cast<double>(p11 * p22 - p12 * p21);
        EXPECT_NEAR(e.MajorSemiAxis() * e.MinorSemiAxis(), std::fabs(det),
                    1e-6 * std::max(1.0, std::fabs(det)) + 1e-5);
    }
}

} // namespace
} // namespace tensim
