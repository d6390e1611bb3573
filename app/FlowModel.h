#pragma once
// The main window's arithmetic apart from drawing: the tensors of a flow,
// the rigid-rotation entries, the track-bar positions, the velocity-field
// chains, the Mohr circles, the fitted chart ranges and the growth of the
// finite panel's window. Plain C++, no Qt: the window wires it to its
// controls and shapes.

#include "math/Transform.h"
#include "math/World.h"

#include <array>
#include <vector>

namespace tensim {

// ---- the window's constants

// "Deformar" applies at most this many increments at a time.
constexpr int MaxIncrementsPerClick = 1000;
// The flow tensor's track bars hold ten times their entry, -2..2.
constexpr int TrackBarMin = -20, TrackBarMax = 20;
// The identity's entries (1,1), (1,2), (2,1), (2,2), the start and reset
// value of the flow tensor.
constexpr double IdentityEntries[4] = {1, 0, 0, 1};
// The panels' world windows at the start: the finite panel's, which grows
// with the ellipse and is reset, and the incremental panel's, which stays.
constexpr TWorldWindow FiniteStartWindow{-2, -2, 2, 2};
constexpr TWorldWindow IncrementalWindow{-1, -1, 2, 2};

// ---- the flow tensor and its parts

// Flow tensor L = (e11, e12; e21, e22); spin tensor W, the antisymmetric
// part of L, (0, (e12 - e21)/2; -(e12 - e21)/2, 0); stretching tensor
// L - W, the symmetric part of L, with the zero snapping of the difference
// and entry (3,3) 0. Its eigenvectors are the instantaneous stretching axes.
struct TFlowTensors {
    TTransformMatrix Flow, Spin, Stretching;
};
TFlowTensors FlowTensors(double E11, double E12, double E21, double E22);

// Whether the 2x2 block of Tensor, its entries up to 1e-6 taken as 0, has
// real eigenvalues. A flow tensor with a complex pair turns every direction
// and has no flow apophyses.
bool HasRealEigenvalues(const TTransformMatrix& Tensor);

// The entries (1,1), (1,2), (2,1), (2,2) of the rotation by Degrees,
// counter-clockwise for a positive angle: cos, -sin, sin, cos.
std::array<double, 4> RotationEntries(double Degrees);

// A track-bar position: Position rounded halves to even, limited to
// Min..Max (NaN gives Min).
int RoundedPosition(long double Position, int Min, int Max);
// The position of a track bar that holds ten times an edit's value: Value x
// 10, rounded and limited as above.
int TrackBarPosition(long double Value, int Min, int Max);

// A flow-tensor entry beyond this size is held at it. The edits read long
// doubles, and an entry such as 9e4931 would take the unit square and the
// inscribed ellipse beyond the range of a double.
constexpr long double MaxFlowEntry = 1e6L;
// Value held to -MaxFlowEntry..MaxFlowEntry; NaN gives 0.
long double HeldFlowEntry(long double Value);

// ---- the marker triangle

// The sides of the equilateral triangle inscribed in the unit circle with
// its apex at (0, 1), in the order green, blue, red.
std::array<TWorldSegment, 3> StartTriangle();
// A side's length relative to the start triangle's, sqrt(1.5^2 + cos^2 30).
double SideStretch(double Length);

// ---- the finite panel's window and the velocity field

// Whether (X, Y) lies in the window scaled by Factor about the origin; any
// unordered comparison counts as outside.
bool PointInView(const TWorldWindow& Window, double X, double Y, double Factor);

// The window after it has grown until P is in view. Each widening moves
// every side 1 further out and centres the window on the origin:
// (X1, Y1, X2, Y2) becomes (X1 - 1, Y1 - 1, 1 - X1, 1 - Y1). The number of
// widenings is computed at once, not counted out. A window that already
// shows P, or a P that is not finite, is returned unchanged.
TWorldWindow GrownWindow(const TWorldWindow& Window, double PX, double PY);

// A streamline ends after this many arrows. A flow that maps points round
// a closed or slowly spiralling orbit would otherwise append arrows for
// ever. No other flow gets near it in the start window: on the track bars'
// grid of flow tensors, a flow whose eigenvalues keep 2% away from modulus
// 1 draws streamlines of 215 arrows at most (5% away: 90 at most).
constexpr int MaxStreamlineArrows = 250;
constexpr int MaxCircleChords = 360;

// The streamline field of M (cleaned): from every start point on the
// window's edges, the chain Q -> M Q -> M^2 Q -> ... while a step is long
// enough (0.1 or more on the bottom edge, more than 0.1 on the others) and
// ends in the window enlarged 1.5 times.
std::vector<TWorldSegment> StreamlineField(const TTransformMatrix& M, const TWorldWindow& Window);

// The circular field of a rigid rotation by StepAngle radians per chord:
// circles of radius X2/10, 2 X2/10, ... up to X2, the one of radius exactly
// 1 left out, each followed for one full turn at most, counter-clockwise
// for a positive step and clockwise for a negative one; a step that divides
// the turn closes the circle. A circle has at most MaxCircleChords chords,
// a full turn in steps of one degree. Empty for a step of 0 or
// one that is not finite.
std::vector<TWorldSegment> CircularField(double StepAngle, const TWorldWindow& Window);

// ---- the Mohr circles

// The Mohr circle of the flow tensor, built from the unit square's vertices
// 2 and 3 after one increment, (e11, e21) and (e12, e22).
struct TFlowMohrCircle {
    TWorldSegment Construction; // A = (-e21, e11) to B = (e12, e22)
    TWorldPoint Centre;         // midpoint of A and B
    double Radius = 0;          // half the length of AB
    // r cos t + Cx, r sin t + Cy for t = 0..359 degrees; empty when any of
    // them is not finite.
    std::vector<TWorldPoint> Points;
    // The top of the vertical axis from the origin to the circle's farthest
    // reach from it: (0, |C| + r).
    TWorldPoint AxisTop;
};
TFlowMohrCircle FlowMohrCircle(const TWorldPoint& Vertex2, const TWorldPoint& Vertex3);

// The Mohr circle of the deformed state in reciprocal quadratic
// elongations: (c - rho cos t, rho sin t) for t = 0..359 degrees, from the
// principal quadratic elongations of F F^T (lambda2 as J^2 / lambda1, which
// keeps its precision on a long ellipse). Empty when the tensor is singular
// (J = 0) or a figure is not finite.
std::vector<TWorldPoint> DeformedMohrCircle(double F11, double F12, double F21, double F22);

// ---- chart axes

// The fitted range of an axis whose data run from DataMin to DataMax: the
// ends rounded halves to even, one unit further out.
struct TAxisRange {
    double Minimum = 0;
    double Maximum = 0;
};
TAxisRange FittedAxisRange(double DataMin, double DataMax);

} // namespace tensim

namespace tensim {

// ---- stepping back

// One click of "Deformar" (or one step with the keyboard) since the last
// restore: the flow tensor's entries as the edits showed them, the rigid
// rotation's step in degrees (0 outside rigid rotation), and how many
// increments it applied.
struct TAppliedClick {
    std::array<double, 4> Entries{};
    double RotationDegrees = 0;
    int Increments = 0;
};

// The clicks since the last restore, so that the window can step back one
// increment by replaying all but the last: L may change between clicks,
// and a click's velocity field and Mohr circle are those of its own L.
class TIncrementHistory {
public:
    void Clear() { FClicks.clear(); }
    void Add(const TAppliedClick& Click) { FClicks.push_back(Click); }
    // Takes away the last increment: the clicks after it, which applied
    // none, go with it, and so does its click when it applied no other.
    // False, and nothing changes, when no increment is left.
    bool DropLast();
    const std::vector<TAppliedClick>& Clicks() const { return FClicks; }

private:
    std::vector<TAppliedClick> FClicks;
};

} // namespace tensim
