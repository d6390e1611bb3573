#pragma once
// An exercise file (".tensim"): the state of a session that a teacher keeps
// and a student opens again, as JSON with a format version. The window
// writes and rebuilds the state; this unit only reads and writes the file's
// text, and refuses a text that does not describe a state the window can
// show.

#include "app/FlowModel.h"
#include "app/StrainAnalysis.h"
#include "math/World.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace tensim {

constexpr int ExerciseVersion = 1;
// A file holds at most this many increments in all, and at most this many
// increments times markers: opening it applies them all, and more would keep
// the window busy for minutes.
constexpr int64_t MaxExerciseIncrements = 100000;
constexpr int64_t MaxExerciseMarkerSteps = 20000000;
// The flow Mohr circle's axis gains two points a click, over the session.
constexpr int64_t MaxExerciseAxisPoints = 1000000;
// An exercise file is read up to this size; the largest one the limits allow
// is well under it.
constexpr qint64 MaxExerciseBytes = 64 << 20;

// The five flow types, in the order of their radio buttons.
enum class TFlowType { SimpleShear, PureShear, SubSimpleShear, GeneralShear, RigidRotation };

// The visibility boxes of the panels, in this order.
enum TVisibleShape {
    vsEllipse,
    vsAxes,
    vsTriangle,
    vsMarkers,
    vsVelocityField,
    vsElongationFields,
    vsApophyses,
    vsStretchingAxes,
    VisibleShapeCount
};
// The boxes of the charts, in this order.
enum TChartBox {
    cbStretch,
    cbInclination,
    cbFlowMohr,
    cbStrainMohr,
    cbRfPhi,
    cbPolar,
    ChartBoxCount
};

// The velocity field and flow axes the finite panel keeps at a restore: those
// of the last click before it, built in the panel's window of that click.
struct TFieldAtRestore {
    TAppliedClick Click;
    TWorldWindow Window = FiniteStartWindow;
};

struct TExercise {
    TFlowType FlowType = TFlowType::SimpleShear;
    TEntries Flow{1, 0, 0, 1};  // as the four flow-tensor edits show it
    double RotationDegrees = 0; // the rigid rotation's step
    std::vector<TAppliedClick> Increments;
    std::array<bool, VisibleShapeCount> Visible{};
    int ChartTab = 0; // 0..2
    std::array<bool, ChartBoxCount> Charts{};
    // The marker population: a seed, or the markers themselves.
    std::optional<uint32_t> MarkerSeed;
    std::vector<TMarker> Markers;
    // What the window kept from before the last restore: the finite panel's
    // window and the flow Mohr circle's axis points. Optional in a file; a
    // file without them starts from the window's start.
    TWorldWindow RestoreWindow = FiniteStartWindow;
    std::vector<TWorldPoint> AxisPointsAtRestore;
    // None for the identity's field, which shows no arrow.
    std::optional<TFieldAtRestore> FieldAtRestore;
};

// The file's text, pretty-printed JSON, UTF-8.
QByteArray ExerciseJson(const TExercise& Exercise);

// Why the window could not open Exercise again: too many increments, or too
// many for its markers; empty when it could. In the file's language, Spanish.
QString ExerciseSizeError(const TExercise& Exercise);

// The exercise a file's text describes, or a Spanish message that names the
// first problem: not JSON, not an exercise, an unknown version, a member
// missing or of the wrong kind, a value out of range.
struct TExerciseRead {
    std::optional<TExercise> Exercise;
    QString Error; // empty when the exercise was read
};
TExerciseRead ReadExercise(const QByteArray& Text);

} // namespace tensim
