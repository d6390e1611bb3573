#include "app/FlowModel.h"

#include "math/Scalars.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <limits>
#include <random>

namespace tensim {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
const TWorldWindow Square2{-2, -2, 2, 2};

// ---- independent arithmetic: the products drop magnitudes below 1e-6,
// lengths drop magnitudes up to 1e-6.

double KeepProduct(double X)
{
    return std::fabs(X) < 1e-6 ? 0.0 : X;
}
double DropLength(double X)
{
    return std::fabs(X) <= 1e-6 ? 0.0 : X;
}

struct Tensor {
    double A, B, C, D; // (A, B; C, D)
};

TWorldPoint Apply(const Tensor& M, TWorldPoint P)
{
    P = {KeepProduct(P.X), KeepProduct(P.Y)};
    return {KeepProduct(M.A * P.X + M.B * P.Y), KeepProduct(M.C * P.X + M.D * P.Y)};
}

double Distance(TWorldPoint P, TWorldPoint Q)
{
    return DropLength(std::hypot(P.X - Q.X, P.Y - Q.Y));
}

bool InScaledWindow(const TWorldWindow& W, TWorldPoint P, double F)
{
    return P.X >= F * W.X1 && P.X <= F * W.X2 && P.Y >= F * W.Y1 && P.Y <= F * W.Y2;
}

// ---- flow tensor, rotation entries, track bars

TEST(FlowTensors, FlowSpinAndStretching)
{
    // Spin = the antisymmetric part (0, w; -w, 0), w = (e12 - e21)/2;
    // stretching = the symmetric part, entries up to 1e-6 dropped.
    struct Row {
        double E11, E12, E21, E22;
        double S11, S12, S21, S22;
    };
    const Row rows[] = {
        {1, 0.5, 0, 1, 1, 0.25, 0.25, 1},             // simple shear
        {2, 0, 0, 0.5, 2, 0, 0, 0.5},                 // pure shear
        {0, -1, 1, 0, 0, 0, 0, 0},                    // a rotation stretches nothing
        {1.5, -3, 2.25, -4, 1.5, -0.375, -0.375, -4}, // general
        {1, 0.3, 0.1, 1, 1, 0.2, 0.2, 1},             // differences that round apart
        {1e-6, 2e-6, -1e-6, 5e-7, 0, 0, 0, 0},        // all dropped
        {-1.5e-6, 4e-6, 0, 2e-6, -1.5e-6, 2e-6, 2e-6, 2e-6},
    };
    for (const Row& r : rows) {
        const TFlowTensors t = FlowTensors(r.E11, r.E12, r.E21, r.E22);
        const double flow[2][2] = {{r.E11, r.E12}, {r.E21, r.E22}};
        const double w = (r.E12 - r.E21) / 2;
        const double spin[2][2] = {{0, w}, {-w, 0}};
        const double stretching[2][2] = {{r.S11, r.S12}, {r.S21, r.S22}};
        for (int i = 1; i <= 2; ++i)
            for (int j = 1; j <= 2; ++j) {
                EXPECT_EQ(t.Flow.Elem[i][j], flow[i - 1][j - 1]) << r.E11 << " " << i << j;
                EXPECT_EQ(t.Spin.Elem[i][j], spin[i - 1][j - 1]) << r.E11 << " " << i << j;
                EXPECT_DOUBLE_EQ(t.Stretching.Elem[i][j], stretching[i - 1][j - 1])
                    << r.E11 << " " << i << j;
            }
        EXPECT_EQ(t.Stretching.Elem[1][2], t.Stretching.Elem[2][1]) << r.E11;
        EXPECT_EQ(t.Flow.Size, 3);
        EXPECT_EQ(t.Stretching.Size, 3);
        EXPECT_EQ(t.Flow.Elem[3][3], 1.0);
        EXPECT_EQ(t.Spin.Elem[3][3], 1.0);
        EXPECT_EQ(t.Stretching.Elem[3][3], 0.0);
        for (int k = 1; k <= 2; ++k) {
            EXPECT_EQ(t.Stretching.Elem[k][3], 0.0);
            EXPECT_EQ(t.Stretching.Elem[3][k], 0.0);
        }
    }
}

TEST(RotationEntries, ExactAnglesAndRandomRotations)
{
    struct Row {
        double Degrees, Cos, Sin, Tolerance;
    };
    const Row rows[] = {{0, 1, 0, 0},
                        {90, 0, 1, 1e-16},
                        {-90, 0, -1, 1e-16},
                        {180, -1, 0, 2e-16},
                        {30, std::sqrt(3.0) / 2, 0.5, 2e-16},
                        {-45, std::sqrt(0.5), -std::sqrt(0.5), 2e-16},
                        {360, 1, 0, 3e-16}};
    for (const Row& r : rows) {
        const auto e = RotationEntries(r.Degrees);
        EXPECT_NEAR(e[0], r.Cos, r.Tolerance) << r.Degrees;
        EXPECT_NEAR(e[1], -r.Sin, r.Tolerance) << r.Degrees;
        EXPECT_NEAR(e[2], r.Sin, r.Tolerance) << r.Degrees;
        EXPECT_NEAR(e[3], r.Cos, r.Tolerance) << r.Degrees;
    }
    // Rotations compose by adding angles.
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> deg(-720, 720);
    for (int n = 0; n < 200; ++n) {
        const double a = deg(gen), b = deg(gen);
        const auto p = RotationEntries(a), q = RotationEntries(b), s = RotationEntries(a + b);
        EXPECT_EQ(p[1], -p[2]);
        EXPECT_NEAR(p[0] * q[0] + p[1] * q[2], s[0], 1e-13) << a << " " << b;
        EXPECT_NEAR(p[2] * q[0] + p[3] * q[2], s[2], 1e-13) << a << " " << b;
    }
}

TEST(TrackBarPosition, TenTimesRoundedHalfEvenAndLimited)
{
    struct Row {
        long double Value;
        int Min, Max, Expected;
    };
    const Row rows[] = {
        {0.25, -20, 20, 2},   // 2.5 -> 2
        {0.75, -20, 20, 8},   // 7.5 -> 8
        {-0.25, -20, 20, -2}, // -2.5 -> -2
        {0.35L, -20, 20, 4},  // 3.5 in extended precision
        // The double 0.35 is 0.34999999999999997780, and ten times it is
        // exact in long double: 3.4999999999999997780 -> 3.
        {0.35, -20, 20, 3},
        {0.05, -20, 20, 1},    // the double lies above 0.05
        {0.5, -20, 20, 5},     // 1 / 2 in pure shear
        {1 / 1.5, -20, 20, 7}, // 1 / 1.5 in pure shear
        {5, -20, 20, 20},      // limited to Max
        {-3, -20, 20, -20},    // limited to Min
        {1e300, -20, 20, 20},
        {-1e300, -20, 20, -20},
        {1e10, INT_MIN, INT_MAX, INT_MAX},
        {-1e10, INT_MIN, INT_MAX, INT_MIN},
        {NaN, -20, 20, -20},
        {Inf, -20, 20, 20},
        {-Inf, -20, 20, -20},
        {1.04, 10, 30, 10},
        {2.96, 10, 30, 30},
    };
    for (const Row& r : rows)
        EXPECT_EQ(TrackBarPosition(r.Value, r.Min, r.Max), r.Expected) << double(r.Value);
}

TEST(HeldFlowEntry, LimitedToAMillionEitherWay)
{
    const std::pair<long double, long double> rows[] = {
        {0, 0},
        {-2.5L, -2.5L},
        {1e6L, 1e6L},
        {-1e6L, -1e6L},
        {1000000.0001L, 1e6L},
        {-1000000.0001L, -1e6L},
        {999999.9999L, 999999.9999L},
        {1.7976931348623157e308L, 1e6L},
        {1e4931L, 1e6L},
        {-1e4931L, -1e6L},
        {Inf, 1e6L},
        {-Inf, -1e6L},
        {NaN, 0},
    };
    for (const auto& [value, held] : rows)
        EXPECT_EQ(HeldFlowEntry(value), held) << static_cast<double>(value);
}

// ---- the marker triangle

TEST(StartTriangle, EquilateralInTheUnitCircleWithSidesOfStretchOne)
{
    const auto sides = StartTriangle();
    EXPECT_EQ(sides[0].X1, 0.0);
    EXPECT_EQ(sides[0].Y1, 1.0);
    EXPECT_NEAR(sides[0].X2, std::sqrt(3.0) / 2, 1e-16);
    EXPECT_NEAR(sides[0].Y2, -0.5, 1e-16);
    EXPECT_NEAR(sides[1].X2, -std::sqrt(3.0) / 2, 1e-16);
    double area = 0;
    for (int i = 0; i < 3; ++i) {
        const TWorldSegment& s = sides[i];
        const TWorldSegment& next = sides[(i + 1) % 3];
        EXPECT_EQ(s.X2, next.X1) << i;
        EXPECT_EQ(s.Y2, next.Y1) << i;
        EXPECT_NEAR(std::hypot(s.X1, s.Y1), 1.0, 1e-16) << i;
        const double dx = s.X2 - s.X1, dy = s.Y2 - s.Y1;
        const double length = std::sqrt(dx * dx + dy * dy);
        EXPECT_NEAR(length, std::sqrt(3.0), 1e-15) << i;
        // An unchanged side is charted as exactly 1.
        EXPECT_EQ(SideStretch(length), 1.0) << i;
        area += s.X1 * s.Y2 - s.X2 * s.Y1;
    }
    // Clockwise (apex, lower right, lower left), area 3 sqrt 3 / 4.
    EXPECT_NEAR(area / 2, -3 * std::sqrt(3.0) / 4, 1e-15);
    EXPECT_DOUBLE_EQ(SideStretch(2 * std::sqrt(3.0)), 2.0);
    EXPECT_EQ(SideStretch(0), 0.0);
}

// ---- window, growth

TEST(PointInView, ScaledWindowWithClosedBounds)
{
    struct Row {
        TWorldWindow W;
        double X, Y, Factor;
        bool Inside;
    };
    const TWorldWindow odd{-1, -3, 2, 4};
    const Row rows[] = {
        {Square2, 0, 0, 1, true},
        {Square2, 2, 2, 1, true},
        {Square2, -2, -2, 1, true},
        {Square2, 2.0000001, 0, 1, false},
        {Square2, 0, -2.0000001, 1, false},
        {Square2, 3, -3, 1.5, true},
        {Square2, 3.0000001, 0, 1.5, false},
        {odd, -1.5, 6, 2, true},
        {odd, -1.5, 8.5, 2, false},
        {odd, 4, -6, 2, true},
        {odd, 4.5, 0, 2, false},
        {Square2, NaN, 0, 1, false},
        {Square2, 0, NaN, 1, false},
        {Square2, 0, 0, NaN, false},
        {{NaN, -2, 2, 2}, 0, 0, 1, false},
        {Square2, Inf, 0, 1, false},
        {{-Inf, -Inf, Inf, Inf}, 1e308, -1e308, 1, true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(PointInView(r.W, r.X, r.Y, r.Factor), r.Inside)
            << r.X << ", " << r.Y << " x" << r.Factor;
}

// The growth counted out one widening at a time.
TWorldWindow GrownByLoop(TWorldWindow W, double PX, double PY)
{
    for (int pass = 0; !PointInView(W, PX, PY, 1); ++pass) {
        if (pass > 100000) {
            ADD_FAILURE() << "no end";
            break;
        }
        W = {W.X1 - 1, W.Y1 - 1, 1 - W.X1, 1 - W.Y1};
    }
    return W;
}

void ExpectWindow(const TWorldWindow& Got, const TWorldWindow& Want, double PX, double PY)
{
    EXPECT_EQ(Got.X1, Want.X1) << PX << ", " << PY;
    EXPECT_EQ(Got.Y1, Want.Y1) << PX << ", " << PY;
    EXPECT_EQ(Got.X2, Want.X2) << PX << ", " << PY;
    EXPECT_EQ(Got.Y2, Want.Y2) << PX << ", " << PY;
}

TEST(GrownWindow, Figures)
{
    struct Row {
        TWorldWindow Start;
        double PX, PY;
        TWorldWindow Expected;
    };
    const Row rows[] = {
        {Square2, 2.4, 0, {-3, -3, 3, 3}},
        {Square2, 3.5, 0, {-4, -4, 4, 4}},
        {Square2, 0, -2.0000001, {-3, -3, 3, 3}},
        {Square2, -3, 3, {-3, -3, 3, 3}},
        {Square2, 2, -2, Square2},                // in view: unchanged
        {{-1, -1, 2, 2}, 2.5, 0, {-3, -3, 3, 3}}, // (-2, -2, 2, 2), then (-3, -3, 3, 3)
        {{-1, -1, 5, 5}, 2.5, 0, {-1, -1, 5, 5}},
        {{-1, -1, 2, 2}, 0, -1.5, {-2, -2, 2, 2}},
        {{3, 3, 5, 5}, 0, 0, {0, 0, 0, 0}}, // passes through empty windows
        {Square2, NaN, 0, Square2},
        {Square2, 0, Inf, Square2},
        {Square2, -Inf, -Inf, Square2},
    };
    for (const Row& r : rows) {
        ExpectWindow(GrownWindow(r.Start, r.PX, r.PY), r.Expected, r.PX, r.PY);
        if (std::isfinite(r.PX) && std::isfinite(r.PY))
            ExpectWindow(GrownByLoop(r.Start, r.PX, r.PY), r.Expected, r.PX, r.PY);
    }
}

TEST(GrownWindow, RandomPointsMatchTheWideningLoop)
{
    const TWorldWindow starts[] = {
        Square2, {-1, -1, 2, 2}, {-5, -3, 1, 4}, {0, 0, 0, 0}, {3, 3, 5, 5}};
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> coord(-1000, 1000);
    for (const TWorldWindow& w : starts)
        for (int n = 0; n < 300; ++n) {
            double px = coord(gen), py = coord(gen);
            if (n % 3 == 1) px = std::round(px), py = std::round(py);
            if (n % 3 == 2) px = std::round(px) + 0.5, py = std::round(py) - 0.5;
            if (n % 10 == 0) px /= 1000; // near the start window
            ExpectWindow(GrownWindow(w, px, py), GrownByLoop(w, px, py), px, py);
        }
}

TEST(GrownWindow, FarPointsInOneGoAndNoWiderThanNeeded)
{
    struct Row {
        TWorldWindow Start;
        double PX, PY;
    };
    const Row rows[] = {
        {Square2, 1e150, -3e149},
        // 2 - PX = 2^52 + 0.5 rounds down to 2^52, one widening short.
        {{2, 2, 5, 5}, -4503599627370494.5, 0},
    };
    for (const Row& r : rows) {
        const TWorldWindow g = GrownWindow(r.Start, r.PX, r.PY);
        EXPECT_TRUE(PointInView(g, r.PX, r.PY, 1)) << r.PX;
        EXPECT_EQ(g.X1, -g.X2);
        EXPECT_EQ(g.Y1, -g.Y2);
        // g is the start widened k times; one representable k fewer misses P.
        const double x1 = r.Start.X1, y1 = r.Start.Y1;
        const double k = g.X2 + x1;
        ExpectWindow(TWorldWindow{x1 - k, y1 - k, k - x1, k - y1}, g, r.PX, r.PY);
        const double fewer = std::nextafter(k, 0.0);
        EXPECT_FALSE(PointInView({x1 - fewer, y1 - fewer, fewer - x1, fewer - y1}, r.PX, r.PY, 1))
            << r.PX;
    }
}

// ---- the velocity field

TEST(StreamlineField, ArrowsChainByTheFlowAndStayInTheEnlargedWindow)
{
    std::mt19937 gen(3);
    std::uniform_real_distribution<double> entry(-1.5, 1.5);
    for (int n = 0; n < 40; ++n) {
        const Tensor m{entry(gen), entry(gen), entry(gen), entry(gen)};
        const auto arrows = StreamlineField(MakeTensor2D(m.A, m.B, m.C, m.D), Square2);
        int chain = 0;
        for (size_t i = 0; i < arrows.size(); ++i) {
            const TWorldSegment& a = arrows[i];
            const TWorldPoint r = Apply(m, {a.X1, a.Y1});
            EXPECT_NEAR(a.X2, r.X, 1e-12);
            EXPECT_NEAR(a.Y2, r.Y, 1e-12);
            EXPECT_TRUE(InScaledWindow(Square2, {a.X2, a.Y2}, 1.5));
            EXPECT_GE(Distance({a.X1, a.Y1}, {a.X2, a.Y2}), 0.1);
            const bool joins = i > 0 && a.X1 == arrows[i - 1].X2 && a.Y1 == arrows[i - 1].Y2;
            chain = joins ? chain + 1 : 1;
            EXPECT_LE(chain, MaxStreamlineArrows);
            // A chain begins on the window's edge.
            if (!joins) {
                EXPECT_TRUE(std::fabs(a.X1) == 2 || std::fabs(a.Y1) == 2) << a.X1 << ", " << a.Y1;
            }
        }
    }
}

TEST(StreamlineField, SimpleShearFigures)
{
    const auto arrows = StreamlineField(MakeTensor2D(1, 0.5, 0, 1), Square2);
    ASSERT_FALSE(arrows.empty());
    for (size_t i = 0; i < arrows.size(); ++i) {
        const TWorldSegment& a = arrows[i];
        EXPECT_EQ(a.Y1, a.Y2); // parallel to the shear direction
        const bool last =
            i + 1 == arrows.size() || arrows[i + 1].X1 != a.X2 || arrows[i + 1].Y1 != a.Y2;
        if (a.Y1 == -2) { // bottom edge: unit steps to the left
            EXPECT_NEAR(a.X2 - a.X1, -1, 1e-15);
            if (last) { // the next step would leave the enlarged window
                EXPECT_LT(a.X2 - 1, -3);
            }
        } else if (a.Y1 == 2) {
            EXPECT_NEAR(a.X2 - a.X1, 1, 1e-15);
            if (last) {
                EXPECT_GT(a.X2 + 1, 3);
            }
        }
        EXPECT_GE(a.X2, -3);
        EXPECT_LE(a.X2, 3);
        // (+-2, 0) does not move: no arrow starts there.
        EXPECT_FALSE(std::fabs(a.X1) == 2 && a.Y1 == 0);
    }
    // On the left and right edges a start at height y steps y/2. The
    // heights are summed from -2 in steps of 0.2: the ninth is
    // -0.20000000000000029, a step of 0.10000000000000009 > 0.1, so its
    // streamline is drawn; the eleventh is 0.19999999999999973, a step of
    // 0.09999999999999987, so not.
    double u = -2;
    for (int i = 0; i < 9; ++i)
        u += 0.2;
    const double below = u;
    u += 0.2;
    u += 0.2;
    const double above = u;
    ASSERT_LT(below, -0.2);
    ASSERT_LT(above, 0.2);
    const auto startsAt = [&](double x, double y) {
        return std::any_of(arrows.begin(), arrows.end(),
                           [&](const TWorldSegment& a) { return a.X1 == x && a.Y1 == y; });
    };
    EXPECT_TRUE(startsAt(-2, below));
    EXPECT_TRUE(startsAt(2, below));
    EXPECT_FALSE(startsAt(-2, above));
    EXPECT_FALSE(startsAt(2, above));
}

TEST(StreamlineField, StepOfExactlyATenthCountsOnTheBottomEdgeOnly)
{
    // x += y / 20 moves (0, -2) and (0, 2) by exactly 0.1 (in double).
    const auto arrows = StreamlineField(MakeTensor2D(1, 0.05, 0, 1), Square2);
    const auto startsAt = [&](double x, double y) {
        return std::find_if(arrows.begin(), arrows.end(),
                            [&](const TWorldSegment& a) { return a.X1 == x && a.Y1 == y; });
    };
    const auto bottom = startsAt(0, -2);
    ASSERT_NE(bottom, arrows.end());
    EXPECT_EQ(bottom->X2, -0.1);
    EXPECT_EQ(bottom->Y2, -2.0);
    EXPECT_EQ(startsAt(0, 2), arrows.end());
}

TEST(StreamlineField, ClosedOrbitsStopAtTheArrowLimit)
{
    EXPECT_TRUE(StreamlineField(MakeTensor2D(1, 0, 0, 1), Square2).empty());
    // A quarter turn (a 4-cycle) and a half turn (a 2-cycle): 21 heights x
    // 4 edges streamlines, none ever leaving the window.
    const Tensor cycles[] = {{0, -1, 1, 0}, {-1, 0, 0, -1}};
    for (const Tensor& m : cycles) {
        const auto begin = std::chrono::steady_clock::now();
        const auto arrows = StreamlineField(MakeTensor2D(m.A, m.B, m.C, m.D), Square2);
        EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(2));
        ASSERT_EQ(arrows.size(), 21u * 4 * MaxStreamlineArrows);
        for (size_t i = 0; i < arrows.size(); ++i) {
            const TWorldSegment& a = arrows[i];
            EXPECT_EQ(a.X2, m.A * a.X1 + m.B * a.Y1);
            EXPECT_EQ(a.Y2, m.C * a.X1 + m.D * a.Y1);
            if (i % MaxStreamlineArrows != 0) {
                EXPECT_EQ(a.X1, arrows[i - 1].X2);
                EXPECT_EQ(a.Y1, arrows[i - 1].Y2);
            }
        }
    }
}

// ---- the circular field

TEST(CircularField, QuarterTurnsOnNineCircles)
{
    const auto arrows = CircularField(DegToRad(90), Square2);
    ASSERT_EQ(arrows.size(), 36u);
    const double radii[] = {0.2, 0.4, 0.6, 0.8, 1.2, 1.4, 1.6, 1.8, 2.0};
    for (int c = 0; c < 9; ++c)
        for (int k = 0; k < 4; ++k) {
            const TWorldSegment& a = arrows[4 * c + k];
            const double rho = radii[c];
            // Chord k runs from angle k x 90 to (k + 1) x 90 degrees.
            const double x1[] = {rho, 0, -rho, 0}, y1[] = {0, rho, 0, -rho};
            EXPECT_NEAR(a.X1, x1[k], 1e-15) << c << " " << k;
            EXPECT_NEAR(a.Y1, y1[k], 1e-15) << c << " " << k;
            EXPECT_NEAR(a.X2, x1[(k + 1) % 4], 1e-15) << c << " " << k;
            EXPECT_NEAR(a.Y2, y1[(k + 1) % 4], 1e-15) << c << " " << k;
            EXPECT_GT(a.X1 * a.Y2 - a.X2 * a.Y1, 0) << c << " " << k; // counter-clockwise
        }
    // A negative step is the exact mirror image.
    const auto mirrored = CircularField(DegToRad(-90), Square2);
    ASSERT_EQ(mirrored.size(), arrows.size());
    for (size_t i = 0; i < arrows.size(); ++i) {
        EXPECT_EQ(mirrored[i].X1, arrows[i].X1);
        EXPECT_EQ(mirrored[i].Y1, -arrows[i].Y1);
        EXPECT_EQ(mirrored[i].X2, arrows[i].X2);
        EXPECT_EQ(mirrored[i].Y2, -arrows[i].Y2);
    }
}

TEST(CircularField, ChordsPerCircleAreTheStepsOfOneTurn)
{
    struct Row {
        double Degrees;
        size_t PerCircle;
    };
    // Steps such as 3, 30 or 120 degrees sum to a hair above 2 pi after a
    // full turn: their last chord still closes the circle.
    const Row rows[] = {{1, 360},  {3, 120}, {7, 51},   {30, 12},  {45, 8},   {60, 6},   {90, 4},
                        {120, 3},  {359, 1}, {360, 1},  {400, 0},  {-1, 360}, {-3, 120}, {-7, 51},
                        {-30, 12}, {-45, 8}, {-120, 3}, {-359, 1}, {-360, 1}, {-400, 0}, {0, 0}};
    for (const Row& r : rows) {
        const auto arrows = CircularField(DegToRad(r.Degrees), Square2);
        ASSERT_EQ(arrows.size(), 9 * r.PerCircle) << r.Degrees;
        for (size_t c = 0; c < 9 && r.PerCircle > 0; ++c) {
            const TWorldSegment* chords = &arrows[c * r.PerCircle];
            const double rho = chords[0].X1;
            EXPECT_EQ(chords[0].Y1, 0.0);
            for (size_t k = 0; k < r.PerCircle; ++k) {
                const TWorldSegment& a = chords[k];
                EXPECT_NEAR(std::hypot(a.X2, a.Y2), rho, 1e-15) << r.Degrees << " " << c;
                EXPECT_NEAR(std::atan2(a.X1 * a.Y2 - a.X2 * a.Y1, a.X1 * a.X2 + a.Y1 * a.Y2),
                            std::remainder(DegToRad(r.Degrees), double(TwoPiExtended)), 1e-13);
                if (k > 0) {
                    EXPECT_EQ(a.X1, chords[k - 1].X2);
                    EXPECT_EQ(a.Y1, chords[k - 1].Y2);
                }
            }
            // A step dividing a full turn closes the circle.
            if (std::fmod(360, r.Degrees) == 0) {
                EXPECT_NEAR(chords[r.PerCircle - 1].X2, rho, 1e-13) << r.Degrees;
                EXPECT_NEAR(chords[r.PerCircle - 1].Y2, 0, 1e-13) << r.Degrees;
            }
        }
    }
    EXPECT_TRUE(CircularField(NaN, Square2).empty());
    EXPECT_TRUE(CircularField(Inf, Square2).empty());
}

// ---- the Mohr circles

TEST(FlowMohrCircle, SimpleShearAndRigidRotation)
{
    // L = (1, 0.5; 0, 1): vertex 2 = (1, 0), vertex 3 = (0.5, 1).
    const TFlowMohrCircle m = FlowMohrCircle({1, 0}, {0.5, 1});
    EXPECT_EQ(m.Construction.X1, 0.0);
    EXPECT_EQ(m.Construction.Y1, 1.0);
    EXPECT_EQ(m.Construction.X2, 0.5);
    EXPECT_EQ(m.Construction.Y2, 1.0);
    EXPECT_EQ(m.Centre.X, 0.25);
    EXPECT_EQ(m.Centre.Y, 1.0);
    EXPECT_EQ(m.Radius, 0.25);
    EXPECT_EQ(m.AxisTop.X, 0.0);
    EXPECT_DOUBLE_EQ(m.AxisTop.Y, std::sqrt(1.0625) + 0.25);
    ASSERT_EQ(m.Points.size(), 360u);
    EXPECT_EQ(m.Points[0].X, 0.5);
    EXPECT_EQ(m.Points[0].Y, 1.0);
    EXPECT_NEAR(m.Points[180].X, 0, 1e-16); // touches the axis at the double eigenvalue 1
    EXPECT_NEAR(m.Points[180].Y, 1, 1e-16);

    for (double deg : {0.0, 30.0, 135.0, -80.0, 200.0}) {
        const double c = std::cos(DegToRad(deg)), s = std::sin(DegToRad(deg));
        const TFlowMohrCircle r = FlowMohrCircle({c, s}, {-s, c});
        EXPECT_EQ(r.Radius, 0.0) << deg;
        EXPECT_NEAR(r.Centre.X, -s, 1e-15) << deg;
        EXPECT_NEAR(r.Centre.Y, c, 1e-15) << deg;
        ASSERT_EQ(r.Points.size(), 360u);
        for (const TWorldPoint& p : r.Points) {
            EXPECT_EQ(p.X, r.Centre.X);
            EXPECT_EQ(p.Y, r.Centre.Y);
        }
    }
}

TEST(FlowMohrCircle, NonFiniteInputGivesNoPoints)
{
    const TWorldPoint inputs[][2] = {{{1e308, 1e308}, {1e308, 1e308}},
                                     {{Inf, 0}, {0, 1}},
                                     {{1, NaN}, {0, 1}},
                                     {{1, 0}, {-1e308, -1e308}}};
    for (const auto& in : inputs)
        EXPECT_TRUE(FlowMohrCircle(in[0], in[1]).Points.empty()) << in[0].X << " " << in[1].X;
}

TEST(FlowMohrCircle, RandomFlowsAgainstTheirEigenvalues)
{
    std::mt19937 gen(5);
    std::uniform_real_distribution<double> entry(-3, 3);
    for (int n = 0; n < 300; ++n) {
        const long double e11 = entry(gen), e12 = entry(gen), e21 = entry(gen), e22 = entry(gen);
        const TFlowMohrCircle m =
            FlowMohrCircle({double(e11), double(e21)}, {double(e12), double(e22)});
        const long double cx = (e12 - e21) / 2, cy = (e11 + e22) / 2;
        const long double r = std::sqrt((e12 + e21) * (e12 + e21) + (e22 - e11) * (e22 - e11)) / 2;
        EXPECT_NEAR(m.Centre.X, double(cx), 1e-14);
        EXPECT_NEAR(m.Centre.Y, double(cy), 1e-14);
        EXPECT_NEAR(m.Radius, double(r), 1e-14);
        EXPECT_NEAR(m.AxisTop.Y, double(std::sqrt(cx * cx + cy * cy) + r), 1e-14);
        ASSERT_EQ(m.Points.size(), 360u);
        double farthest = 0;
        for (const TWorldPoint& p : m.Points) {
            EXPECT_NEAR(std::hypot(p.X - m.Centre.X, p.Y - m.Centre.Y), m.Radius, 1e-14);
            farthest = std::max(farthest, std::hypot(p.X, p.Y));
        }
        EXPECT_LE(farthest, m.AxisTop.Y + 1e-14);
        // The top and bottom are the principal values of the symmetric part.
        const long double d = (e12 + e21) / 2;
        const long double half = std::sqrt((e11 - e22) * (e11 - e22) / 4 + d * d);
        EXPECT_NEAR(m.Points[90].Y, double(cy + half), 1e-13);
        EXPECT_NEAR(m.Points[270].Y, double(cy - half), 1e-13);
        // Real eigenvalues of L are where the circle crosses the vertical axis.
        const long double disc = (e11 - e22) * (e11 - e22) / 4 + e12 * e21;
        if (disc > 0) {
            for (long double lambda : {cy + std::sqrt(disc), cy - std::sqrt(disc)})
                EXPECT_NEAR(std::hypot(m.Centre.X, double(lambda) - m.Centre.Y), m.Radius, 1e-12);
        }
    }
}

TEST(DeformedMohrCircle, Figures)
{
    struct Row {
        double F11, F12, F21, F22;
        double Left, Right; // 1 / lambda1, 1 / lambda2
    };
    const Row rows[] = {
        {1, 0, 0, 1, 1, 1},          {2, 0, 0, 2, 0.25, 0.25},
        {2, 0, 0, 0.5, 0.25, 4},     {0, -1, 1, 0, 1, 1},            // rotation
        {0.6, -0.8, 0.8, 0.6, 1, 1}, {1e8, 0, 0, 1e-9, 1e-16, 1e18}, // lambda2 from J^2 / lambda1
    };
    for (const Row& r : rows) {
        const auto p = DeformedMohrCircle(r.F11, r.F12, r.F21, r.F22);
        ASSERT_EQ(p.size(), 360u) << r.F11;
        EXPECT_NEAR(p[0].X, r.Left, 1e-15 * r.Right) << r.F11;
        EXPECT_EQ(p[0].Y, 0.0);
        EXPECT_NEAR(p[180].X, r.Right, 1e-15 * r.Right) << r.F11;
        for (const TWorldPoint& q : p)
            EXPECT_LE(q.X, r.Right * (1 + 1e-15));
    }
    // A scaled rotation shown to four decimals: rounding makes S^2 - 4 J^2
    // negative, and the circle must still be a point at 1 / J.
    const double a = -1.8486, b = 2.9265;
    const double s = a * a + b * b + (-b) * (-b) + a * a, j = a * a - b * (-b);
    ASSERT_LT(s * s - 4 * j * j, 0);
    const auto point = DeformedMohrCircle(a, b, -b, a);
    ASSERT_EQ(point.size(), 360u);
    for (const TWorldPoint& q : point) {
        EXPECT_NEAR(q.X, 1 / j, 1e-15);
        EXPECT_EQ(q.Y, 0.0);
    }
    // Singular or not finite: no circle.
    const double empty[][4] = {
        {0, 0, 0, 0}, {1, 2, 2, 4}, {NaN, 0, 0, 1}, {1, Inf, 0, 1}, {1e200, 0, 0, 1}};
    for (const auto& f : empty)
        EXPECT_TRUE(DeformedMohrCircle(f[0], f[1], f[2], f[3]).empty()) << f[0] << " " << f[1];
}

// Long ellipses as the finite tensor shows them: lambda2 keeps its digits.
TEST(DeformedMohrCircle, LongEllipsesKeepTheRightEnd)
{
    struct Row {
        double F11, F12, F21, F22;
    };
    const Row rows[] = {{10000, 0, 0, 0.0001},
                        {1000, 0, 0, 0.001},
                        {10000, 0.3, 0, 0.0001},
                        {4000, 0, 0, 0.0003},
                        {0.0001, 0, 0, 10000}};
    for (const Row& r : rows) {
        const long double p = (long double)r.F11 * r.F11 + (long double)r.F12 * r.F12;
        const long double t = (long double)r.F21 * r.F21 + (long double)r.F22 * r.F22;
        const long double q = (long double)r.F11 * r.F21 + (long double)r.F12 * r.F22;
        const long double j = (long double)r.F11 * r.F22 - (long double)r.F12 * r.F21;
        const long double lambda1 = (p + t) / 2 + std::hypot((p - t) / 2, q);
        const double right = double(lambda1 / (j * j));
        const auto pts = DeformedMohrCircle(r.F11, r.F12, r.F21, r.F22);
        ASSERT_EQ(pts.size(), 360u) << r.F11;
        EXPECT_NEAR(pts[180].X / right, 1, 1e-12) << r.F11 << " " << r.F12;
    }
}

TEST(DeformedMohrCircle, RandomTensorsAgainstTheEigenvaluesOfFFt)
{
    std::mt19937 gen(9);
    std::uniform_real_distribution<double> entry(-3, 3);
    for (int n = 0; n < 300; ++n) {
        const double f11 = entry(gen), f12 = entry(gen), f21 = entry(gen), f22 = entry(gen);
        if (std::fabs(f11 * f22 - f12 * f21) < 0.1) continue;
        // B = F F^T = (p, q; q, t), eigenvalues (p + t)/2 +- hypot((p - t)/2, q).
        const long double p = (long double)f11 * f11 + (long double)f12 * f12;
        const long double t = (long double)f21 * f21 + (long double)f22 * f22;
        const long double q = (long double)f11 * f21 + (long double)f12 * f22;
        const long double lambda1 = (p + t) / 2 + std::hypot((p - t) / 2, q);
        const long double lambda2 = (p * t - q * q) / lambda1;
        const double c = double((1 / lambda1 + 1 / lambda2) / 2);
        const double rho = double((1 / lambda2 - 1 / lambda1) / 2);
        const auto pts = DeformedMohrCircle(f11, f12, f21, f22);
        ASSERT_EQ(pts.size(), 360u);
        const double tol = 1e-9 * (1 + double(1 / lambda2));
        EXPECT_NEAR(pts[0].X, double(1 / lambda1), tol);
        EXPECT_NEAR(pts[180].X, double(1 / lambda2), tol);
        // From the left end the points rise first: (c, rho) at 90 degrees.
        EXPECT_NEAR(pts[90].X, c, tol);
        EXPECT_NEAR(pts[90].Y, rho, tol);
        for (const TWorldPoint& pt : pts)
            EXPECT_NEAR(std::hypot(pt.X - c, pt.Y), rho, tol);
    }
}

// ---- chart axes

TEST(FittedAxisRange, RoundedHalfEvenOneUnitOut)
{
    struct Row {
        double DataMin, DataMax, Minimum, Maximum;
    };
    const Row rows[] = {
        {1, 2.6, 0, 4},
        {0.94, 1.5, 0, 3},
        {2.5, 2.5, 1, 3},
        {3.5, 3.5, 3, 5},
        {-0.5, -0.5, -1, 1},
        {-1.5, 0.5, -3, 1},
        {0, 0, -1, 1},
        {-3e6, -2e6, -3e6 - 1, -1e6 + 1},
        {2e6, 3e6, 1e6 - 1, 3e6 + 1},
        {1e300, 1e300, 1e6 - 1, 1e300}, // the lower end keeps its start value
    };
    for (const Row& r : rows) {
        const TAxisRange a = FittedAxisRange(r.DataMin, r.DataMax);
        EXPECT_EQ(a.Minimum, r.Minimum) << r.DataMin << " " << r.DataMax;
        EXPECT_EQ(a.Maximum, r.Maximum) << r.DataMin << " " << r.DataMax;
    }

    std::mt19937 gen(13);
    std::uniform_real_distribution<double> data(-1e4, 1e4);
    for (int n = 0; n < 1000; ++n) {
        double lo = data(gen), hi = data(gen);
        if (n % 4 == 0) lo = std::round(lo) + 0.5, hi = std::round(hi) - 0.5;
        if (lo > hi) std::swap(lo, hi);
        const TAxisRange a = FittedAxisRange(lo, hi);
        EXPECT_LE(a.Minimum, a.Maximum);
        EXPECT_EQ(a.Minimum, std::floor(a.Minimum));
        EXPECT_EQ(a.Maximum, std::floor(a.Maximum));
        EXPECT_LE(a.Minimum, lo - 0.5);
        EXPECT_GE(a.Minimum, lo - 1.5);
        EXPECT_GE(a.Maximum, hi + 0.5);
        EXPECT_LE(a.Maximum, hi + 1.5);
    }
}

} // namespace
} // namespace tensim

namespace tensim {
namespace {

// Stepping back takes one increment from the last click that applied any;
// the clicks after it, with none, and a click left with none go with it.
TEST(IncrementHistory, DropLastTakesTheLastIncrement)
{
    // The clicks' increments before, and after when an increment was dropped.
    const std::pair<std::vector<int>, std::vector<int>> rows[] = {
        {{}, {}},         {{0, 0}, {0, 0}}, {{3}, {2}},   {{1}, {}},
        {{2, 0, 0}, {1}}, {{0, 1, 0}, {0}}, {{4, 1}, {4}}};
    for (const auto& [before, after] : rows) {
        TIncrementHistory history;
        for (size_t i = 0; i < before.size(); ++i)
            history.Add({{double(i), 0, 0, 1}, 0, before[i]});
        EXPECT_EQ(history.DropLast(), before != after);
        std::vector<int> left;
        for (size_t i = 0; i < history.Clicks().size(); ++i) {
            left.push_back(history.Clicks()[i].Increments);
            EXPECT_EQ(history.Clicks()[i].Entries[0], double(i)); // the same clicks, in order
        }
        EXPECT_EQ(left, after);
    }
}

} // namespace
} // namespace tensim
