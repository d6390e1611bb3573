#pragma once
// The main window "Flujo y deformación": the flow tensor's edits and track
// bars, the five flow types, the incremental and finite panels with their
// shapes and the velocity field, the stepping of "Deformar", and the four
// charts. It owns the model of one simulation.

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

class QCheckBox;
class QFrame;
class QGroupBox;
class QRadioButton;
class QToolButton;

namespace tensim {

class TChart;
class TFormResizer;
class THelpWindow;
class TLineSeries;
class TMathImage;
class TNxNumEdit;
class TNxSpinEdit;
class TPageControl;
class TStaticText;
class TTrackBar;

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

class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* Parent = nullptr);
    ~TForm1() override;

    // ---- controls, in the order the window creates them

    QGroupBox* GroupBox1 = nullptr; // top band: the tensors
    QGroupBox* GroupBox2 = nullptr; // "Tensor de flujo"
    TNxNumEdit* NxNumEdit1 = nullptr;
    TNxNumEdit* NxNumEdit2 = nullptr;
    TNxNumEdit* NxNumEdit3 = nullptr;
    TNxNumEdit* NxNumEdit4 = nullptr;
    TTrackBar* TrackBar1 = nullptr;
    TTrackBar* TrackBar2 = nullptr;
    TTrackBar* TrackBar3 = nullptr;
    TTrackBar* TrackBar4 = nullptr;
    TStaticText* StaticText3 = nullptr; // the increment count as an exponent
    TStaticText* StaticText2 = nullptr; // "="
    QGroupBox* GroupBox3 = nullptr;     // "Tensor de distorsión finita"
    TNxNumEdit* NxNumEdit5 = nullptr;
    TNxNumEdit* NxNumEdit6 = nullptr;
    TNxNumEdit* NxNumEdit7 = nullptr;
    TNxNumEdit* NxNumEdit8 = nullptr;

    QGroupBox* GroupBox4 = nullptr; // middle band: "Distorsión"
    QGroupBox* GroupBox5 = nullptr; // "Incremental"
    TMathImage* MathImage2 = nullptr;
    QGroupBox* GroupBox6 = nullptr; // "Finita"
    TMathImage* MathImage1 = nullptr;
    TNxSpinEdit* NxSpinEditNoIncrements = nullptr;
    TStaticText* StaticText1 = nullptr;
    QToolButton* bitbtnDef = nullptr;
    QToolButton* bitbtnResta = nullptr;
    QToolButton* bitbtnReest = nullptr;
    QGroupBox* GroupBox9 = nullptr; // "Elementos visibles"
    QCheckBox* chbxEllipse = nullptr;
    QCheckBox* chbxAxes = nullptr;
    QCheckBox* chbxTri = nullptr;
    QCheckBox* chbxVelFld = nullptr;
    QCheckBox* chkbxAp = nullptr;
    QCheckBox* chkbxISA = nullptr;
    QToolButton* bitbtnHelp = nullptr;
    QToolButton* bitbtnInfo = nullptr;

    QGroupBox* GroupBox7 = nullptr; // bottom left: "Tipo de flujo"
    TPageControl* PageControl2 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    QRadioButton* RadioButton5 = nullptr;
    TNxSpinEdit* NxSpinEditRotation = nullptr;

    QFrame* Panel1 = nullptr; // bottom middle: the charts
    TChart* Chart1 = nullptr;
    TChart* Chart2 = nullptr;
    TChart* Chart3 = nullptr;
    TChart* Chart4 = nullptr;

    QGroupBox* GroupBox8 = nullptr; // bottom right: "Visualizar"
    TPageControl* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QCheckBox* chbxExtRaxial = nullptr;
    QCheckBox* chbxOrientRaxial = nullptr;
    QWidget* TabSheet4 = nullptr;
    QCheckBox* chbxMohrFlujo = nullptr;
    QCheckBox* chbxMohrDef = nullptr;

    // The charts' series, owned by their charts.
    TLineSeries* Series1 = nullptr;
    TLineSeries* Series2 = nullptr;
    TLineSeries* Series3 = nullptr;
    TLineSeries* Series5 = nullptr;
    TLineSeries* Series4 = nullptr;
    TLineSeries* Series6 = nullptr;
    TLineSeries* Series7 = nullptr;
    TLineSeries* Series8 = nullptr;

    TFormResizer* FormResizer1 = nullptr;

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

    // The four flow-tensor edits and track bars, (1,1), (1,2), (2,1), (2,2).
    std::array<TNxNumEdit*, 4> FlowEdits() const;
    std::array<TTrackBar*, 4> TrackBars() const;
    // The four finite-tensor edits.
    std::array<TNxNumEdit*, 4> FiniteEdits() const;

protected:
    void resizeEvent(QResizeEvent* Event) override;
    // A window closed while the increments run closes when they stop.
    void closeEvent(QCloseEvent* Event) override;

private:
    // Set while an edit moves its track bar, whose change then writes nothing back.
    bool FEditMovesTrackBar = false;
    bool FRunning = false, FStopRequested = false, FCloseAfterRun = false;

    void CreateControls();
    void SetUpControls();
    void SetUpCharts();
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
