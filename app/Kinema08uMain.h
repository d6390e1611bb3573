#pragma once
// The main window "Flujo y deformación": the flow tensor's edits and track
// bars, the five flow types, the incremental and finite panels with their
// shapes and the velocity field, the stepping of "Deformar", and the four
// charts. It owns the model of one simulation.

#include "app/Kinema08uMainForm.h"
#include "controls/Align.h"
#include "drawing/AltObjs8b.h"
#include "math/Transform.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace tensim {

class THelpWindow;
class TMathImage;

// The velocity field: teal arrows that chain the displacements Q -> L Q of
// points from the edges of the finite panel's window.
class TFlowField : public TPointList2D {
public:
    // Erases and frees the old arrows and builds the field of FlowTensor in
    // Image's window: a streamline field, or circles when the main window is
    // in rigid-rotation mode with an angle other than 0. The identity gives
    // no arrows. The new arrows are not drawn.
    void Build(const TTransformMatrix& FlowTensor, TMathImage& Image);

    // The cleaned flow tensor of the last Build.
    const TTransformMatrix& FlowMatrix() const { return FFlowMatrix; }

private:
    TTransformMatrix FFlowMatrix;
};

// The axes of both panels, as the main window draws them.
void DrawPanelAxes(TMathImage& Image);

class TForm1 : public QWidget, public TForm1Controls {
    Q_OBJECT
public:
    explicit TForm1(QWidget* Parent = nullptr);
    ~TForm1() override;

    // ---- the model

    std::unique_ptr<TEllipse2> FEllipse;
    std::unique_ptr<TPointList2D> FTriangle;
    std::unique_ptr<TParallelogram2> FUnitSquare;
    std::unique_ptr<TFlowField> FFlowField;
    std::unique_ptr<TPointList2D> FApophyses;
    std::unique_ptr<TPointList2D> FStretchingAxes;
    TTransformMatrix FFlowTensor;
    TTransformMatrix FStretchingTensor;
    TTransformMatrix FSpinTensor;
    int32_t FIncrementCount = 0;
    QPointer<QWidget> FEnlargedControl;
    QPointer<QWidget> FEnlargedParent;
    QRect FEnlargedBounds;
    // Its alignment before the move: given back with the control, so that
    // it keeps its place in the layout as the window changes size.
    TAlign FEnlargedAlign = alNone;

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
    void Increment();
    // Whether "Deformar" is running its increments. It then reads
    // "Detener", and a click on it or Esc stops the run after the
    // increment in progress.
    bool Running() const { return FRunning; }

    // ---- panels

    void RedrawPanels();
    void HideAllShapes();
    void ShowCheckedShapes();
    // Whether Point lies in Image's world window scaled by Factor about the origin.
    bool PointInView(const TMathImage& Image, const TTransformVector& Point, double Factor) const;
    void chbxEllipseClick(QObject* Sender);
    void chbxAxesClick(QObject* Sender);
    void chbxTriClick(QObject* Sender);
    void chbxVelFldClick(QObject* Sender);
    void chkbxApClick(QObject* Sender);
    void chkbxISAClick(QObject* Sender);

    // ---- enlarged view, about box and help

    // A double click on a chart or a panel shows it enlarged in Form2.
    void Chart1DblClick(QObject* Sender);
    void bitbtnInfoClick(QObject* Sender);
    // Opens the help at context 10.
    void bitbtnHelpClick(QObject* Sender);
    // The help window, made at the first "Ayuda".
    THelpWindow* HelpWindow = nullptr;

    // ---- charts

    void PlotFlowMohrCircle();
    void PlotDeformedMohrCircle();
    void FitChartAxes(TChart* Chart);
    void PageControl1Change(QObject* Sender);

protected:
    void resizeEvent(QResizeEvent* Event) override;
    // A window closed while the increments run closes when they stop.
    void closeEvent(QCloseEvent* Event) override;

private:
    // Set while an edit moves its track bar, whose change then writes nothing back.
    bool FEditMovesTrackBar = false;
    bool FRunning = false, FStopRequested = false, FCloseAfterRun = false;

    void SetUpControls();
    void BindEvents();
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
};

// The main window; set while it exists.
extern TForm1* Form1;

} // namespace tensim
