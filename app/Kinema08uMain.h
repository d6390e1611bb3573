#pragma once
// The main window "Flujo y deformación": the flow tensor's edits and track
// bars, the five flow types, the incremental and finite panels with their
// shapes and the velocity field, the stepping of "Deformar", and the four
// charts. It owns the model of one simulation.

#include "app/Exercise.h"
#include "app/FlowModel.h"
#include "app/Kinema08uMainForm.h"
#include "app/StrainAnalysis.h"
#include "controls/Align.h"
#include "drawing/AltObjs8b.h"
#include "math/Transform.h"

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QFileDialog;
class QMenuBar;
class QPagedPaintDevice;
class QPainter;
class QShortcut;

namespace tensim {

class THelpWindow;
class TMathImage;

// The velocity field: teal arrows that chain the displacements Q -> L Q of
// points from the edges of the finite panel's window, painted as one.
class TFlowField : public TLineField {
public:
    // Erases and frees the old arrows and builds the field of FlowTensor in
    // Image's window: a streamline field, or circles when the main window is
    // in rigid-rotation mode with an angle other than 0. The identity gives
    // no arrows. The new arrows are not drawn. The same flow, window and
    // angle as the last build keep its arrows, erased.
    void Build(const TTransformMatrix& FlowTensor, TMathImage& Image);
    // The same with the rigid rotation's step, in radians per increment,
    // given: circles for a step other than 0, streamlines for 0.
    void Build(const TTransformMatrix& FlowTensor, TMathImage& Image, double RotationStep);

    // The cleaned flow tensor of the last Build.
    const TTransformMatrix& FlowMatrix() const { return FFlowMatrix; }

private:
    // What the arrows of a build are made from; a NaN is never the same.
    struct TInputs {
        TTransformMatrix Flow;
        TWorldWindow Window;
        double RotationStep = 0; // 0 for a streamline field
        bool operator==(const TInputs& I) const;
    };
    TTransformMatrix FFlowMatrix;
    std::optional<TInputs> FBuiltFrom; // unset before the first build
};

// The marker population in the finite panel: one ellipse per marker,
// drawn, erased, forgotten and deformed together.
class TMarkerEllipses {
public:
    void Draw(TMathImage& Image);
    void Erase(TMathImage& Image);
    void Forget();
    bool Drawn() const { return FDrawn; }
    // Each ellipse by one increment; a singular product only moves its centre.
    void Transform(const TTransformMatrix& Matrix, TMathImage& Image);
    // Ellipses for Markers in their undeformed state, in place of the old
    // ones; drawn when the old ones were.
    void Make(const std::vector<TMarker>& Markers, TMathImage& Image);
    void Release(TMathImage& Image);
    const std::vector<std::unique_ptr<TEllipse2>>& Ellipses() const { return FEllipses; }

private:
    std::vector<std::unique_ptr<TEllipse2>> FEllipses;
    bool FDrawn = false;
};

// A material line of the fields of lengthening and shortening, whose colour
// follows its field, or a dashed line of no finite elongation.
class TFieldLine2D : public TLine2D {
public:
    TFieldLine2D(TColor Color, bool Dashed) : TLine2D(Color, 0, 0, 0, 0), FDashed(Dashed) {}
    // Only while the line is not drawn: it is erased in the colour it was drawn in.
    void SetColor(TColor Color) { FColor = Color; }

protected:
    void Strokes(TMathImage& Image) override;

private:
    bool FDashed;
};

// The axes of both panels, as the main window draws them.
void DrawPanelAxes(TMathImage& Image);

class TForm1 : public QWidget, public TForm1Controls {
    Q_OBJECT
public:
    explicit TForm1(QWidget* Parent = nullptr);
    ~TForm1() override;

    // ---- start-up and input

    void FormCreate();
    void FormResize();
    // Edit and track bar Index (1..4) of the flow tensor keep each other in step.
    void TrackBarChange(int Index);
    void NxNumEditChange(int Index);
    void RadioButton1Click(QObject* Sender);
    void NxSpinEditRotationChange(QObject* Sender);
    void bitbtnReestClick(QObject* Sender);

    // ---- deformation

    void bitbtnDefClick(QObject* Sender);
    void bitbtnRestaClick(QObject* Sender);
    // One increment: the markers, the panels, the pause, the chart points.
    // The benchmarks time it alone.
    void Increment();
    // -> and Ctrl+->: one increment of the flow the edits show, with the
    // pause. <- and Ctrl+Z: back one increment, replayed without the pause.
    void StepForward(QObject* Sender);
    void StepBack(QObject* Sender);

    // ---- panels

    void chbxEllipseClick(QObject* Sender);
    void chbxAxesClick(QObject* Sender);
    void chbxTriClick(QObject* Sender);
    void chbxVelFldClick(QObject* Sender);
    void chkbxApClick(QObject* Sender);
    void chkbxISAClick(QObject* Sender);
    void chbxMarkersClick(QObject* Sender);
    void chbxElongFieldsClick(QObject* Sender);

    // ---- marker populations

    // Asks for a marker file and loads it.
    void bitbtnLoadMarkersClick(QObject* Sender);
    // The seeded population of the next seed.
    void bitbtnNewMarkersClick(QObject* Sender);
    // Reads FileName's markers: they replace the population, which is
    // restored and shown. A file that cannot be read, or a line that does
    // not give a marker, is reported and changes nothing. Returns whether
    // the markers were loaded.
    bool LoadMarkerFile(const QString& FileName);

    // ---- charts

    void PageControl1Change(QObject* Sender);

    // ---- enlarged view, about box and help

    // A double click on a chart or a panel shows it enlarged in Form2.
    void Chart1DblClick(QObject* Sender);
    void bitbtnInfoClick(QObject* Sender);
    // Opens the help at context 10.
    void bitbtnHelpClick(QObject* Sender);

    // ---- the menu bar: a teacher's tools

    QMenuBar* MainMenu1 = nullptr;
    QAction* AbrirEjercicio1 = nullptr;   // Ctrl+O
    QAction* GuardarEjercicio1 = nullptr; // Ctrl+S
    QAction* ExportarAnimacion1 = nullptr;
    QAction* Imprimir1 = nullptr;         // Ctrl+P
    QAction* Salir1 = nullptr;            // Ctrl+Q
    QAction* ModoPresentacion1 = nullptr; // F11
    QAction* Contenido1 = nullptr;        // F1
    QAction* AcercaDe1 = nullptr;
    void AbrirEjercicio1Click(QObject* Sender);
    void GuardarEjercicio1Click(QObject* Sender);
    void ExportarAnimacion1Click(QObject* Sender);
    void Imprimir1Click(QObject* Sender);
    void Salir1Click(QObject* Sender);
    void ModoPresentacion1Click(QObject* Sender);

    // ---- exercise files

    // The state an exercise file keeps.
    TExercise Exercise() const;
    // Rebuilds Exercise's state, its increments applied without the pause.
    void ApplyExercise(const TExercise& Exercise);
    // Reads and applies an exercise file. A file that cannot be read or
    // does not hold an exercise is reported, and nothing changes. Returns
    // whether the exercise was opened.
    bool OpenExercise(const QString& FileName);
    // Writes the state to FileName; a failure is reported. Returns whether
    // the file was written.
    bool SaveExercise(const QString& FileName);

    // ---- animations, printing, presentation

    // Records the finite panel over Increments increments of the flow the
    // edits show, from the current state, as an animated GIF (a name ending
    // in ".gif") or as numbered PNG files ("name_000.png", ...). The window's
    // state is the same afterwards. Progress is reported to Progress, which
    // returns false to cancel; a cancelled recording leaves no file.
    // Returns whether every frame was written; a failure is reported.
    bool ExportAnimation(const QString& FileName, int Increments,
                         const std::function<bool(int Frame)>& Progress = {});
    // The window's two panels, the visible charts, the tensors and the
    // readout on one page of Device.
    void PrintPage(QPagedPaintDevice& Device);
    // Full screen with the fonts scaled with the window, or back to the
    // window's bounds and fonts as they were.
    void SetPresentationMode(bool On);
    bool PresentationMode() const { return FPresentation.has_value(); }
    // Paints Image's scene on Painter, in the picture's pixels, as a vector
    // picture: the panels are drawn once more while its canvas records.
    void PaintPanel(TMathImage& Image, QPainter& Painter);

protected:
    void resizeEvent(QResizeEvent* Event) override;
    // A window closed while the increments run closes when they stop.
    void closeEvent(QCloseEvent* Event) override;

private:
    // The enlarged view borrows a control and gives it back, and redraws
    // the panels around the move.
    friend class TForm2;
    // The tests' one door into the model; only the tests define it.
    friend class TForm1Probe;

    // ---- the model, each field with what always holds for it

    // In MathImage1; its deformation is the product of the increments it took since the restore.
    std::unique_ptr<TEllipse2> FEllipse;
    // In MathImage1; deformed with the ellipse, except by an increment that would overflow it.
    std::unique_ptr<TPointList2D> FTriangle;
    // In MathImage2; always the unit square under the flow tensor the four edits show.
    std::unique_ptr<TParallelogram2> FUnitSquare;
    // In MathImage1; the arrows of its FlowMatrix in the panel's window of its last build.
    std::unique_ptr<TFlowField> FFlowField;
    // In MathImage1; along FFlowTensor's real eigenvectors, of zero length where it has none.
    std::unique_ptr<TPointList2D> FApophyses;
    // In MathImage1; along FStretchingTensor's eigenvectors, of zero length in a rotation.
    std::unique_ptr<TPointList2D> FStretchingAxes;
    // The four edits' tensor at the last "Deformar"; empty (size 0) before the first one.
    TTransformMatrix FFlowTensor;
    // The symmetric part of FFlowTensor.
    TTransformMatrix FStretchingTensor;
    // The antisymmetric part of FFlowTensor: FStretchingTensor + FSpinTensor = FFlowTensor.
    TTransformMatrix FSpinTensor;
    // The increments run since the restore, held at INT32_MAX; StaticText3 shows it as exponent.
    int32_t FIncrementCount = 0;
    // The chart or panel last moved into Form2; null before the first double click.
    QPointer<QWidget> FEnlargedControl;
    // FEnlargedControl's parent before the move; it goes back there when Form2 closes.
    QPointer<QWidget> FEnlargedParent;
    // FEnlargedControl's bounds before the move; given back with it.
    QRect FEnlargedBounds;
    // FEnlargedControl's alignment before the move; given back, so that it follows resizing.
    TAlign FEnlargedAlign = alNone;
    // Null until the first "Ayuda"; then a child of this window.
    THelpWindow* HelpWindow = nullptr;
    // The marker population in the undeformed state, and the seed it was made from; none for a
    // file's.
    std::vector<TMarker> FMarkerPopulation;
    std::optional<uint32_t> FMarkerSeed;
    // In MathImage1; one ellipse per marker of FMarkerPopulation, deformed with the ellipse.
    TMarkerEllipses FMarkers;
    // The fields of the material lines since the restore.
    TElongationHistory FElongation;
    // In MathImage1; the 36 material lines under F, coloured by FElongation, then the two
    // lines of no finite elongation, of zero length where there is none.
    std::unique_ptr<TPointList2D> FElongationLines;
    // The clicks since the restore, for stepping back.
    TIncrementHistory FHistory;
    // MathImage1's window and Series8's points at the restore, which a step back starts from.
    TWorldWindow FRestoreWindow = FiniteStartWindow;
    std::vector<TWorldPoint> FAxisPointsAtRestore;
    // Asks for a marker file; made at the first "Cargar marcadores…".
    QFileDialog* OpenMarkersDialog1 = nullptr;
    // The velocity field and flow axes the panel kept at the last restore;
    // none after "Reestablecer", whose field is the identity's.
    std::optional<TFieldAtRestore> FFieldAtRestore;
    // MathImage1's window as the last click started, which its field was built in.
    TWorldWindow FClickWindow = FiniteStartWindow;
    // The window's bounds, state and fonts before the presentation mode; set while it is on.
    struct TNormalMode {
        QRect Geometry;
        Qt::WindowStates State;
        std::vector<std::pair<QPointer<QWidget>, QFont>> Fonts;
    };
    std::optional<TNormalMode> FPresentation;
    // Esc, which leaves the presentation mode; enabled only in it.
    QShortcut* FLeavePresentation = nullptr;
    // Asks for exercise files and animation files; made when first needed.
    QFileDialog* OpenExerciseDialog1 = nullptr;
    QFileDialog* SaveExerciseDialog1 = nullptr;
    QFileDialog* SaveAnimationDialog1 = nullptr;
    // True only while an edit moves its track bar, whose change then writes nothing back.
    bool FEditMovesTrackBar = false;
    // True only inside ApplyIncrements, while "Deformar" reads "Detener".
    bool FRunning = false;
    // Set by Esc or "Detener" during a run, read between increments; cleared as a run starts.
    bool FStopRequested = false;
    // A close asked during a run; the window closes when the run ends.
    bool FCloseAfterRun = false;

    // ---- helpers

    void SetUpControls();
    void BindEvents();
    // The menu bar above the client area, which keeps its design size.
    void CreateMenu();
    // The clicks of FHistory again from the restore, without the pause, as
    // fast as the arithmetic goes: the panels are drawn once, at the end.
    void ReplayHistory();
    // The velocity field and flow axes of Click, as "Deformar" places them.
    void PlaceFieldOf(const TAppliedClick& Click);
    // The identity's field, which has no arrow, and no flow axes.
    void ClearFlowField();
    // The field and flow axes the panel had at the last restore, and the
    // finite panel's window of the restore.
    void PlaceFieldAtRestore();
    // The keys -> and <-, and Ctrl+-> and Ctrl+Z, which edits would otherwise keep.
    bool eventFilter(QObject* Watched, QEvent* Event) override;
    // "Deformar" for Count increments: a click of the history.
    void Deform(int Count);
    // What a click does before its increments, and after Applied of them.
    void StartClick(const TAppliedClick& Click);
    void EndClick(int Applied);
    // The shapes by one increment of FFlowTensor; nothing is painted, the
    // panels are redrawn after.
    void AdvanceShapes();
    // The chart points and the readout of one increment.
    void AddIncrementPoints();
    // The points of the strain path, which the charts keep for every increment.
    void AddPathPoints();
    // The restore without the history: the shapes, the count and the charts
    // as at the start.
    void RestoreStart();
    // The finite panel's window grown until the ellipse's major axis is in view.
    void GrowFiniteWindow();
    void SetMarkerPopulation(std::vector<TMarker> Markers, std::optional<uint32_t> Seed);
    // The material lines and the lines of no finite elongation under F.
    void PlaceElongationLines();
    void ShowReadout();
    void PlotRfPhi();
    void FitRfPhiAxes();
    // The apophysis and stretching-axis arrows of the flow tensor.
    void PlaceFlowAxes();
    // Up to Count increments of "Deformar"; returns how many ran before a
    // stop.
    int ApplyIncrements(int Count);
    // The flow tensor as the four edits show it.
    std::array<double, 4> FlowEntries() const;
    // Writes the finite tensor F into its four edits.
    void ShowFiniteTensor(const TTransformMatrix& F);
    // Appends the stretch of each triangle side against the axial ratio to
    // Series1..Series3.
    void AddStretchPoints();
    void RedrawPanels();
    // Every shape counts as not drawn: the panels are about to be cleared.
    void ForgetAllShapes();
    void ShowCheckedShapes();
    // The flow Mohr circle of the flow tensor with these entries.
    void PlotFlowMohrCircle(const std::array<double, 4>& Entries);
    void PlotDeformedMohrCircle();
    void FitChartAxes(TChart* Chart);

public:
    // ---- kept for the published interface; the program does not use it

    // Whether Point lies in Image's world window scaled by Factor about the origin.
    bool PointInView(const TMathImage& Image, const TTransformVector& Point, double Factor) const;
};

// The main window; set while it exists.
extern TForm1* Form1;

} // namespace tensim
