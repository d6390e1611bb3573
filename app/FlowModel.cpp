#include "app/FlowModel.h"

#include "math/Scalars.h"
#include "math/Vectors.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace tensim {

namespace {

// One full turn, with room for the rounding of an angle summed step by step
// (360 steps of 1 degree lose about 1e-13 of it), so that a step that
// divides the turn closes its circle.
constexpr long double FullTurn = TwoPiExtended * (1 + 1e-12L);

// cos 30 and sin 30 at the full precision of the arithmetic.
const double Cos30 = static_cast<double>(std::cos(PiExtended / 6));
const double Sin30 = static_cast<double>(std::sin(PiExtended / 6));

bool AllFinite(const std::vector<TWorldPoint>& Points)
{
    return std::all_of(Points.begin(), Points.end(), [](const TWorldPoint& P) {
        return std::isfinite(P.X) && std::isfinite(P.Y);
    });
}

} // namespace

TFlowTensors FlowTensors(double E11, double E12, double E21, double E22)
{
    TFlowTensors t;
    t.Flow = MakeTensor2D(E11, E12, E21, E22);
    const double spin = (E12 - E21) / 2;
    t.Spin = MakeTensor2D(0, spin, -spin, 0);
    t.Stretching = DifferenceOfMatrices(t.Flow, t.Spin);
    // The two off-diagonal differences round apart by an ulp at most; the
    // symmetric part has their mean in both places.
    const double shear = SnapToZero((t.Stretching.Elem[1][2] + t.Stretching.Elem[2][1]) / 2);
    t.Stretching.Elem[1][2] = t.Stretching.Elem[2][1] = shear;
    return t;
}

bool HasRealEigenvalues(const TTransformMatrix& Tensor)
{
    const double a = SnapToZero(Tensor.Elem[1][1]), b = SnapToZero(Tensor.Elem[1][2]);
    const double c = SnapToZero(Tensor.Elem[2][1]), d = SnapToZero(Tensor.Elem[2][2]);
    // The discriminant of the characteristic polynomial, (a - d)^2 + 4 b c.
    return (a - d) * (a - d) + 4 * b * c >= 0;
}

std::array<double, 4> RotationEntries(double Degrees)
{
    const double theta = DegToRad(Degrees);
    return {std::cos(theta), -std::sin(theta), std::sin(theta), std::cos(theta)};
}

int RoundedPosition(long double Position, int Min, int Max)
{
    const long double rounded = std::nearbyint(Position);
    if (!(rounded >= Min)) return Min;
    if (rounded > Max) return Max;
    return static_cast<int>(rounded);
}

int TrackBarPosition(long double Value, int Min, int Max)
{
    return RoundedPosition(Value * 10, Min, Max);
}

long double HeldFlowEntry(long double Value)
{
    if (std::isnan(Value)) return 0;
    return std::clamp(Value, -MaxFlowEntry, MaxFlowEntry);
}

std::array<TWorldSegment, 3> StartTriangle()
{
    return {TWorldSegment{0, 1, Cos30, -Sin30}, TWorldSegment{Cos30, -Sin30, -Cos30, -Sin30},
            TWorldSegment{-Cos30, -Sin30, 0, 1}};
}

double SideStretch(double Length)
{
    return Length / std::sqrt(1.5 * 1.5 + Cos30 * Cos30);
}

bool PointInView(const TWorldWindow& Window, double X, double Y, double Factor)
{
    return Factor * Window.X1 <= X && Factor * Window.Y1 <= Y && X <= Factor * Window.X2 &&
           Y <= Factor * Window.Y2;
}

TWorldWindow GrownWindow(const TWorldWindow& Window, double PX, double PY)
{
    if (!std::isfinite(PX) || !std::isfinite(PY) || PointInView(Window, PX, PY, 1)) return Window;
    const double x1 = Window.X1, y1 = Window.Y1;
    // After k >= 1 widenings the window is (x1 - k, y1 - k, k - x1, k - y1):
    // P is in view from k >= x1 - PX, PX + x1, y1 - PY and PY + y1 on.
    double k = std::max(
        {1.0, std::ceil(x1 - PX), std::ceil(PX + x1), std::ceil(y1 - PY), std::ceil(PY + y1)});
    const auto grown = [&](double K) { return TWorldWindow{x1 - K, y1 - K, K - x1, K - y1}; };
    // The sums above can round down onto a whole number just below the one
    // needed, never above it: count up from there.
    for (int pass = 0; pass < 64 && !PointInView(grown(k), PX, PY, 1); ++pass)
        k = std::max(k + 1, std::nextafter(k, HUGE_VAL));
    return grown(k);
}

std::vector<TWorldSegment> StreamlineField(const TTransformMatrix& M, const TWorldWindow& Window)
{
    std::vector<TWorldSegment> arrows;
    const double step = (Window.X2 - Window.X1) / 20;
    for (double u = Window.X1; u <= Window.X2; u += step) {
        // Bottom, top, left and right edge; on the left and right edges u is
        // the y coordinate, as the window is a square about the origin.
        const TTransformVector starts[4] = {MakeVector2D(u, Window.Y1), MakeVector2D(u, Window.Y2),
                                            MakeVector2D(Window.X1, u), MakeVector2D(Window.X2, u)};
        for (int edge = 0; edge < 4; ++edge) {
            TTransformVector q = starts[edge];
            TTransformVector r = ApplyTransform(q, M);
            for (int n = 0; n < MaxStreamlineArrows; ++n) {
                const double length = VectorDistance(q, r);
                const bool longEnough = edge == 0 ? length >= 0.1 : length > 0.1;
                if (!longEnough || !PointInView(Window, r.Elem[1], r.Elem[2], 1.5)) break;
                arrows.push_back({q.Elem[1], q.Elem[2], r.Elem[1], r.Elem[2]});
                q = r;
                r = ApplyTransform(q, M);
            }
        }
        if (!(u + step > u)) break; // a step too small to move u on
    }
    return arrows;
}

std::vector<TWorldSegment> CircularField(double StepAngle, const TWorldWindow& Window)
{
    std::vector<TWorldSegment> arrows;
    const double step = Window.X2 / 10;
    if (StepAngle == 0 || !std::isfinite(StepAngle) || !(step > 0)) return arrows;
    for (double rho = step; rho <= Window.X2; rho += step) {
        // The circle of radius 1 would lie on the strain ellipse's unit circle.
        if (rho != 1) {
            // One full turn, either way round: a negative step mirrors a
            // positive one exactly.
            double phi = StepAngle;
            double qx = rho, qy = 0;
            double rx = rho * std::cos(phi), ry = rho * std::sin(phi);
            for (int n = 0; n < MaxCircleChords; ++n) {
                if (!(std::fabs(static_cast<long double>(phi)) < FullTurn) ||
                    !PointInView(Window, rx, ry, 1.5))
                    break;
                phi += StepAngle;
                arrows.push_back({qx, qy, rx, ry});
                qx = rx;
                qy = ry;
                rx = rho * std::cos(phi);
                ry = rho * std::sin(phi);
            }
        }
        if (!(rho + step > rho)) break;
    }
    return arrows;
}

TFlowMohrCircle FlowMohrCircle(const TWorldPoint& Vertex2, const TWorldPoint& Vertex3)
{
    TFlowMohrCircle circle;
    if (!std::isfinite(Vertex2.X) || !std::isfinite(Vertex2.Y) || !std::isfinite(Vertex3.X) ||
        !std::isfinite(Vertex3.Y))
        return circle;
    // The construction line is a shape: its ends and length follow the
    // shapes' zero snapping.
    const TTransformVector a = MakeVector2D(-Vertex2.Y, Vertex2.X);
    const TTransformVector b = MakeVector2D(Vertex3.X, Vertex3.Y);
    const double ax = a.Elem[1], ay = a.Elem[2], bx = b.Elem[1], by = b.Elem[2];
    circle.Construction = {ax, ay, bx, by};
    circle.Centre = {ax + (bx - ax) / 2, ay + (by - ay) / 2};
    circle.Radius = VectorDistance(a, b) / 2;

    const double cx = circle.Centre.X, cy = circle.Centre.Y, r = circle.Radius;
    for (int i = 0; i < 360; ++i) {
        const double t = DegToRad(i);
        circle.Points.push_back({r * std::cos(t) + cx, r * std::sin(t) + cy});
    }
    circle.AxisTop = {0, std::sqrt(cx * cx + cy * cy) + r};
    if (!AllFinite(circle.Points) || !std::isfinite(circle.AxisTop.Y)) {
        circle.Points.clear();
        circle.AxisTop = {};
    }
    return circle;
}

std::vector<TWorldPoint> DeformedMohrCircle(double F11, double F12, double F21, double F22)
{
    std::vector<TWorldPoint> points;
    const double s = F11 * F11 + F12 * F12 + F21 * F21 + F22 * F22;
    const double j = F11 * F22 - F12 * F21;
    if (j == 0 || !std::isfinite(s) || !std::isfinite(j)) return points;
    // S^2 - 4 J^2 is never negative but by rounding, near a circle.
    const double root = std::sqrt(std::max(s * s - 4 * j * j, 0.0));
    const double lambda1 = s / 2 + root / 2;
    // S / 2 - root / 2 would cancel to nothing of a small lambda2 on a long
    // ellipse; lambda1 lambda2 = J^2 gives it to full precision. A circle
    // keeps its two equal values.
    const double lambda2 = root == 0 ? lambda1 : j * j / lambda1;
    const double c = (1 / lambda1 + 1 / lambda2) / 2;
    const double rho = (1 / lambda2 - 1 / lambda1) / 2;
    for (int i = 0; i < 360; ++i) {
        const double t = DegToRad(i);
        points.push_back({c - rho * std::cos(t), rho * std::sin(t)});
    }
    if (!AllFinite(points)) points.clear();
    return points;
}

TAxisRange FittedAxisRange(double DataMin, double DataMax)
{
    double hi = -1000000, lo = 1000000;
    if (DataMax > hi) hi = DataMax;
    if (DataMin < lo) lo = DataMin;
    return {std::nearbyint(lo) - 1, std::nearbyint(hi) + 1};
}

} // namespace tensim

namespace tensim {

bool TIncrementHistory::DropLast()
{
    auto last = std::find_if(FClicks.rbegin(), FClicks.rend(),
                             [](const TAppliedClick& C) { return C.Increments > 0; });
    if (last == FClicks.rend()) return false;
    const bool dropClick = --last->Increments == 0;
    FClicks.erase(dropClick ? std::next(last).base() : last.base(), FClicks.end());
    return true;
}

} // namespace tensim
