#include "app/Kinema08uMain.h"

#include "app/About02.h"
#include "app/Application.h"
#include "app/FlowModel.h"
#include "app/GifWriter.h"
#include "app/Glyphs.h"
#include "app/HelpWindow.h"
#include "app/Kinema08u2.h"
#include "controls/Align.h"
#include "controls/Chart.h"
#include "controls/Easysize.h"
#include "controls/Field.h"
#include "controls/NxNumEdit.h"
#include "controls/NxSpinEdit.h"
#include "controls/Pictures.h"
#include "controls/StdCtrls.h"
#include "drawing/MathImge.h"
#include "math/Messages.h"
#include "math/Scalars.h"
#include "math/Vectors.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QRadioButton>
#include <QSaveFile>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace tensim {

TForm1* Form1 = nullptr;

namespace {

// Whether the sides of a list of lines stay finite under M. A stretch that
// overflows leaves the figure where it is rather than at infinity.
bool StaysFinite(const TPointList2D& Lines, const TTransformMatrix& M)
{
    for (int i = 1; i <= Lines.Count(); ++i) {
        const auto* line = static_cast<const TLine2D*>(Lines.GetPoint(i));
        for (const TTransformVector& p : {line->Position(), line->EndPoint()}) {
            const TTransformVector q = ApplyTransform(p, M);
            if (!std::isfinite(q.Elem[1]) || !std::isfinite(q.Elem[2])) return false;
        }
    }
    return true;
}

// A file dialog of the program's own, which the tests can drive, that opens
// an existing file or saves one.
QFileDialog* FileDialog(QWidget* Parent, const QString& Title, QFileDialog::AcceptMode Mode,
                        const QStringList& Filters)
{
    auto* dialog = new QFileDialog(Parent, Title);
    dialog->setAcceptMode(Mode);
    if (Mode == QFileDialog::AcceptOpen) dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilters(Filters);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    return dialog;
}

// The file chosen in Dialog; empty when the user cancelled.
QString ChosenFile(QFileDialog& Dialog)
{
    if (Dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = Dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.front();
}

// Fixes Axis to Range. The bounds are written in the order that keeps
// Minimum <= Maximum at every step, so a range that moves past the old one
// raises nothing.
void FitAxis(TChartAxis& Axis, const TAxisRange& Range)
{
    Axis.SetAutomatic(false);
    if (Range.Minimum > Axis.Maximum()) {
        Axis.SetMaximum(Range.Maximum);
        Axis.SetMinimum(Range.Minimum);
    } else {
        Axis.SetMinimum(Range.Minimum);
        Axis.SetMaximum(Range.Maximum);
    }
}

// The input of the program while "Deformar" runs its increments: Esc, and
// the mouse and keys of the running button, which reads "Detener", ask it
// to stop; all other input is dropped. Installed for its lifetime.
class TRunInput : public QObject {
public:
    TRunInput(QAbstractButton* Stop, bool& StopRequested)
        : FStop(Stop), FStopRequested(StopRequested)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~TRunInput() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override
    {
        switch (Event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(Event)->key() == Qt::Key_Escape) {
                FStopRequested = true;
                return true;
            }
            [[fallthrough]];
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            // The windows pass input on to their widgets, which get it here.
            return Watched != FStop &&
                   (Watched->isWidgetType() || Event->type() == QEvent::Shortcut);
        default:
            return false;
        }
    }

private:
    QAbstractButton* FStop;
    bool& FStopRequested;
};

} // namespace

// ---- the velocity field ----------------------------------------------------

bool TFlowField::TInputs::operator==(const TInputs& I) const
{
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
            if (Flow.Elem[i][j] != I.Flow.Elem[i][j]) return false;
    return Flow.Size == I.Flow.Size && Window.X1 == I.Window.X1 && Window.Y1 == I.Window.Y1 &&
           Window.X2 == I.Window.X2 && Window.Y2 == I.Window.Y2 && RotationStep == I.RotationStep;
}

void TFlowField::Build(const TTransformMatrix& FlowTensor, TMathImage& Image)
{
    const bool rotation = Form1 && Form1->RadioButton5->isChecked();
    Build(FlowTensor, Image, rotation ? DegToRad(Form1->NxSpinEditRotation->Value()) : 0);
}

void TFlowField::Build(const TTransformMatrix& FlowTensor, TMathImage& Image, double RotationStep)
{
    const TTransformMatrix flow = CleanMatrix(FlowTensor);
    const TWorldWindow window = Image.World();
    // The same flow in the same window gives the same arrows: they are
    // kept, with the picture of them that the next draw reuses.
    const TInputs inputs{flow, window, RotationStep};
    const bool same = FBuiltFrom && *FBuiltFrom == inputs;
    FBuiltFrom = inputs;
    if (same) {
        Erase(Image);
        return;
    }
    DeleteAll(Image);
    FFlowMatrix = flow;
    if (IsIdentityMatrix(FFlowMatrix)) return;
    const std::vector<TWorldSegment> arrows = RotationStep != 0
                                                  ? CircularField(RotationStep, window)
                                                  : StreamlineField(FFlowMatrix, window);
    FItems.reserve(arrows.size());
    for (const TWorldSegment& a : arrows)
        Add(std::make_unique<TVectorArrow2D>(clTeal, a.X1, a.Y1, a.X2, a.Y2));
}

// ---- the markers -----------------------------------------------------------

void TMarkerEllipses::Draw(TMathImage& Image)
{
    if (FDrawn) return;
    FDrawn = true;
    for (auto& ellipse : FEllipses)
        ellipse->Draw(Image);
}

void TMarkerEllipses::Erase(TMathImage& Image)
{
    if (!FDrawn) return;
    FDrawn = false;
    for (auto& ellipse : FEllipses)
        ellipse->Erase(Image);
}

void TMarkerEllipses::Forget()
{
    FDrawn = false;
    for (auto& ellipse : FEllipses)
        ellipse->Forget();
}

void TMarkerEllipses::Transform(const TTransformMatrix& Matrix, TMathImage& Image)
{
    for (auto& ellipse : FEllipses)
        ellipse->Transform(Matrix, Image);
}

void TMarkerEllipses::Make(const std::vector<TMarker>& Markers, TMathImage& Image)
{
    const bool shown = FDrawn;
    Release(Image);
    FEllipses.reserve(Markers.size());
    for (const TMarker& marker : Markers) {
        const TStrainEllipse s = MarkerStrain(marker);
        const TTransformMatrix& m = s.Deformation;
        FEllipses.push_back(std::make_unique<TEllipse2>(clNavy, s.Centre.Elem[1], s.Centre.Elem[2],
                                                        m.Elem[1][1], m.Elem[1][2], m.Elem[2][1],
                                                        m.Elem[2][2], s.Radius, false));
    }
    if (shown) Draw(Image);
}

void TMarkerEllipses::Release(TMathImage& Image)
{
    Erase(Image);
    FEllipses.clear();
}

// ---- the fields of elongation -----------------------------------------------

void TFieldLine2D::Strokes(TMathImage& Image)
{
    if (FDashed) Image.DrawingCanvas().Pen.Style = TPenStyle::Dash;
    TLine2D::Strokes(Image);
}

void DrawPanelAxes(TMathImage& Image)
{
    Image.d2DrawAxes("x", "y", true, clGreen, clSilver, true);
}

// ---- creation --------------------------------------------------------------

TForm1::TForm1(QWidget* Parent) : QWidget(Parent)
{
    // The main block holds the window as Form1 before its creation handler
    // runs: the velocity field reads the window's controls through it.
    Form1 = this;
    setWindowTitle(tr("Flujo y deformación"));
    setFont(WindowFont());
    resize(792, 573);
    // Smaller, the panels would have no room for the labels of their axes.
    setMinimumSize(400, 300);
    CreateMenu();
    CreateControls(this);
    SetUpControls();
    SetUpCharts();
    BindEvents();
    FormCreate();
}

TForm1::~TForm1()
{
    // The controls report nothing while the window is taken apart: a page
    // control losing its pages would otherwise call a handler that shows
    // charts already gone.
    for (QObject* control : Components(this))
        control->blockSignals(true);
    FUnitSquare.reset();
    FEllipse.reset();
    const auto release = [this](auto& List) {
        if (!List) return;
        List->DeleteAll(*MathImage1);
        List.reset();
    };
    release(FTriangle);
    release(FFlowField);
    release(FApophyses);
    release(FStretchingAxes);
    FMarkers.Release(*MathImage1);
    release(FElongationLines);
    if (Form1 == this) Form1 = nullptr;
}

void TForm1::SetUpControls()
{
    for (int i = 0; i < 4; ++i) {
        TNxNumEdit* edit = FlowEdits()[i];
        edit->SetMaxValue(2);
        edit->SetMinValue(-2);
        edit->SetDecimals(4);
        edit->SetAlignment(taRightJustify);
        edit->SetValue(IdentityEntries[i]);
        TTrackBar* bar = TrackBars()[i];
        bar->SetRange(TrackBarMin, TrackBarMax);
        bar->SetPosition(TrackBarPosition(IdentityEntries[i], TrackBarMin, TrackBarMax));
        // The finite tensor is written by "Deformar" only.
        TNxNumEdit* finite = FiniteEdits()[i];
        finite->SetDecimals(4);
        finite->setReadOnly(true);
        finite->setFocusPolicy(Qt::ClickFocus); // no Tab stop
    }
    ShowFiniteTensor(IdentityMatrix2D());
    NxSpinEditNoIncrements->SetMaxValue(MaxIncrementsPerClick);
    NxSpinEditNoIncrements->SetMinValue(0);
    NxSpinEditNoIncrements->SetValue(1);
    NxSpinEditRotation->SetIncrement(5);
    NxSpinEditRotation->SetValue(0);

    const std::pair<QToolButton*, TGlyph> glyphs[] = {{bitbtnDef, TGlyph::Deform},
                                                      {bitbtnResta, TGlyph::Restore},
                                                      {bitbtnReest, TGlyph::Reset},
                                                      {bitbtnHelp, TGlyph::Help},
                                                      {bitbtnInfo, TGlyph::Info}};
    for (const auto& [button, glyph] : glyphs) {
        button->setIcon(ButtonGlyph(glyph));
        button->setIconSize(QSize(16, 16));
        button->setFocusPolicy(Qt::StrongFocus);
        // The tall buttons put their glyph over the caption.
        button->setToolButtonStyle(button->height() > 45 ? Qt::ToolButtonTextUnderIcon
                                                         : Qt::ToolButtonTextBesideIcon);
    }
    for (QToolButton* button : {bitbtnLoadMarkers, bitbtnNewMarkers})
        button->setFocusPolicy(Qt::StrongFocus);
    chbxElongFields->setToolTip(
        tr("Líneas materiales por el centro, una cada 5° en el estado sin deformar:\n"
           "azul: acortada en todo momento\n"
           "verde oliva: acortada y luego alargada\n"
           "rojo: alargada en todo momento\n"
           "fucsia: alargada y luego acortada\n"
           "gris: sin cambio\n"
           "negro discontinuo: líneas sin elongación finita"));
    chbxMarkers->setToolTip(tr("Una población de marcadores elípticos en el panel «Finita»"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    // Enter in the count or in a flow-tensor edit presses "Deformar".
    SetDefaultButton(this, bitbtnDef);
    PageControl1->SetTabWidth(50);
}

void TForm1::BindEvents()
{
    for (int i = 1; i <= 4; ++i) {
        FlowEdits()[i - 1]->OnChange = [this, i](QObject*) { NxNumEditChange(i); };
        TrackBars()[i - 1]->OnChange = [this, i](QObject*) { TrackBarChange(i); };
    }
    for (QRadioButton* radio : FlowTypeButtons()) {
        // A radio button reports the click that checks it, as a preset.
        connect(radio, &QRadioButton::toggled, this, [this, radio](bool On) {
            if (On) RadioButton1Click(radio);
        });
    }
    NxSpinEditRotation->OnChange = [this](QObject* Sender) { NxSpinEditRotationChange(Sender); };

    const std::pair<QToolButton*, void (TForm1::*)(QObject*)> buttons[] = {
        {bitbtnDef, &TForm1::bitbtnDefClick},
        {bitbtnResta, &TForm1::bitbtnRestaClick},
        {bitbtnReest, &TForm1::bitbtnReestClick},
        {bitbtnLoadMarkers, &TForm1::bitbtnLoadMarkersClick},
        {bitbtnNewMarkers, &TForm1::bitbtnNewMarkersClick}};
    for (const auto& [button, handler] : buttons) {
        connect(button, &QToolButton::clicked, this,
                [this, button = button, handler = handler] { (this->*handler)(button); });
    }

    const std::pair<QCheckBox*, void (TForm1::*)(QObject*)> boxes[] = {
        {chbxEllipse, &TForm1::chbxEllipseClick},
        {chbxAxes, &TForm1::chbxAxesClick},
        {chbxTri, &TForm1::chbxTriClick},
        {chbxVelFld, &TForm1::chbxVelFldClick},
        {chkbxAp, &TForm1::chkbxApClick},
        {chkbxISA, &TForm1::chkbxISAClick},
        {chbxMarkers, &TForm1::chbxMarkersClick},
        {chbxElongFields, &TForm1::chbxElongFieldsClick},
        {chbxRfPhi, &TForm1::PageControl1Change},
        {chbxPolar, &TForm1::PageControl1Change},
        {chbxExtRaxial, &TForm1::PageControl1Change},
        {chbxOrientRaxial, &TForm1::PageControl1Change},
        {chbxMohrFlujo, &TForm1::PageControl1Change},
        {chbxMohrDef, &TForm1::PageControl1Change}};
    for (const auto& [box, handler] : boxes) {
        connect(box, &QCheckBox::toggled, this,
                [this, box = box, handler = handler] { (this->*handler)(box); });
    }
    PageControl1->OnChange = [this](QObject* Sender) { PageControl1Change(Sender); };
    const auto enlarge = [this](QObject* Sender) { Chart1DblClick(Sender); };
    for (TChart* chart : {Chart1, Chart2, Chart3, Chart4, Chart5, Chart6})
        chart->OnDblClick = enlarge;
    for (TMathImage* image : {MathImage1, MathImage2})
        image->OnDblClick = enlarge;
    connect(bitbtnInfo, &QToolButton::clicked, this, [this] { bitbtnInfoClick(bitbtnInfo); });
    connect(bitbtnHelp, &QToolButton::clicked, this, [this] { bitbtnHelpClick(bitbtnHelp); });

    const std::pair<QKeySequence, void (TForm1::*)(QObject*)> keys[] = {
        {Qt::Key_Right, &TForm1::StepForward},
        {Qt::CTRL | Qt::Key_Right, &TForm1::StepForward},
        {Qt::Key_Left, &TForm1::StepBack},
        {Qt::CTRL | Qt::Key_Z, &TForm1::StepBack}};
    for (const auto& [key, handler] : keys) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this,
                [this, shortcut, handler = handler] { (this->*handler)(shortcut); });
    }
    // An edit keeps -> and <- for its cursor, but not Ctrl+-> and Ctrl+Z; a
    // track bar keeps -> and <-.
    for (QObject* control : Components(this))
        if (qobject_cast<QLineEdit*>(control) || qobject_cast<TTrackBar*>(control))
            control->installEventFilter(this);
}

bool TForm1::eventFilter(QObject* Watched, QEvent* Event)
{
    const bool press = Event->type() == QEvent::KeyPress;
    if (!press && Event->type() != QEvent::ShortcutOverride)
        return QWidget::eventFilter(Watched, Event);
    const auto* key = static_cast<QKeyEvent*>(Event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (qobject_cast<TTrackBar*>(Watched)) {
        if (!press && modifiers == Qt::NoModifier &&
            (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right)) {
            Event->accept();
            return true;
        }
        return false;
    }
    if (!press || modifiers != Qt::ControlModifier) return false;
    if (key->key() == Qt::Key_Right) {
        StepForward(Watched);
        return true;
    }
    if (key->key() == Qt::Key_Z) {
        StepBack(Watched);
        return true;
    }
    return false;
}

std::array<double, 4> TForm1::FlowEntries() const
{
    std::array<double, 4> e;
    for (int i = 0; i < 4; ++i)
        e[i] = static_cast<double>(FlowEdits()[i]->Value());
    return e;
}

void TForm1::ShowFiniteTensor(const TTransformMatrix& F)
{
    const double entries[4] = {F.Elem[1][1], F.Elem[1][2], F.Elem[2][1], F.Elem[2][2]};
    for (int i = 0; i < 4; ++i)
        FiniteEdits()[i]->SetValue(entries[i]);
}

// ---- start-up and input ----------------------------------------------------

void TForm1::FormCreate()
{
    SetHelpFile(FindHelpFile());
    FormResizer1->RecordLayout();
    FIncrementCount = 0;
    // A circle shows as a circle, here and enlarged.
    MathImage1->SetEqualScale(true);
    MathImage2->SetEqualScale(true);
    MathImage1->d2SetWorld(FiniteStartWindow);
    MathImage2->d2SetWorld(IncrementalWindow);

    FEllipse = std::make_unique<TEllipse2>(clBlack, 0, 0, 1, 0, 0, 1, 1, false);
    FUnitSquare =
        std::make_unique<TParallelogram2>(3, 0, 0, 1, 0, 0, 1, TMarkType::Square, clBlue, clBlack);
    FTriangle = std::make_unique<TPointList2D>();
    const std::array<TWorldSegment, 3> sides = StartTriangle();
    const TColor colours[3] = {clGreen, clBlue, clRed};
    for (int i = 0; i < 3; ++i)
        FTriangle->Add(std::make_unique<TLine2D>(colours[i], sides[i].X1, sides[i].Y1, sides[i].X2,
                                                 sides[i].Y2));
    FFlowField = std::make_unique<TFlowField>();
    FApophyses = std::make_unique<TPointList2D>();
    FStretchingAxes = std::make_unique<TPointList2D>();
    for (int i = 0; i < 2; ++i)
        FApophyses->Add(std::make_unique<TVectorArrow2D>(clRed, 0, 0, 0, 0));
    for (int i = 0; i < 2; ++i)
        FStretchingAxes->Add(std::make_unique<TVectorArrow2D>(clGreen, 0, 0, 0, 0));
    FMarkerPopulation = SeededMarkers(DefaultMarkerSeed);
    FMarkerSeed = DefaultMarkerSeed;
    FMarkers.Make(FMarkerPopulation, *MathImage1);
    FElongationLines = std::make_unique<TPointList2D>();
    for (int i = 0; i < MaterialLineCount + 2; ++i)
        FElongationLines->Add(std::make_unique<TFieldLine2D>(
            i < MaterialLineCount ? clGray : clBlack, i >= MaterialLineCount));
    PlaceElongationLines();

    bitbtnReestClick(this);
    RedrawPanels();
}

void TForm1::FormResize()
{
    FormResizer1->ResizeControls();
    if (FEllipse) RedrawPanels();
}

void TForm1::resizeEvent(QResizeEvent* Event)
{
    QWidget::resizeEvent(Event);
    if (MainMenu1) MainMenu1->setGeometry(0, 0, width(), contentsRect().top());
    FormResize();
}

void TForm1::TrackBarChange(int Index)
{
    // A track bar that follows its edit leaves the edit's value as it is.
    if (FEditMovesTrackBar) return;
    FlowEdits()[Index - 1]->SetValue(TrackBars()[Index - 1]->Position() / 10.0L);
}

void TForm1::NxNumEditChange(int Index)
{
    // An entry beyond the held size is written back held; that change
    // re-enters this handler with the held value.
    TNxNumEdit* edit = FlowEdits()[Index - 1];
    const long double held = HeldFlowEntry(edit->Value());
    if (held != edit->Value()) {
        edit->SetValue(held);
        return;
    }
    // The track bar moves to the nearest tenth and the edit keeps its value.
    // A hidden track bar (rigid rotation) keeps its position.
    TTrackBar* bar = TrackBars()[Index - 1];
    if (!bar->isHidden()) {
        const QScopedValueRollback<bool> following(FEditMovesTrackBar, true);
        bar->SetPosition(TrackBarPosition(edit->Value(), bar->minimum(), bar->maximum()));
    }
    FUnitSquare->SetEdges(IdentityMatrix2D(), *MathImage2);
    const std::array<double, 4> e = FlowEntries();
    FUnitSquare->Transform(MakeTensor2D(e[0], e[1], e[2], e[3]), *MathImage2);
    ShowReadout();
    // In pure and sub-simple shear (2,2) follows as the reciprocal of (1,1).
    // Its track bar follows through the change of that edit.
    if (Index == 1 && (RadioButton2->isChecked() || RadioButton3->isChecked())) {
        const long double e11 = NxNumEdit1->Value();
        if (e11 != 0) NxNumEdit4->SetValue(1 / e11);
    }
}

void TForm1::RadioButton1Click(QObject*)
{
    NxSpinEditRotation->hide();
    for (TTrackBar* bar : TrackBars())
        bar->show();
    const int preset = CheckedFlowType();
    // Which entries each flow type lets the user set: (1,1), (1,2), (2,1), (2,2).
    static const bool enabled[4][4] = {
        {false, true, false, false}, // simple shear
        {true, false, false, false}, // pure shear
        {true, true, false, false},  // sub-simple shear
        {true, true, true, true},    // general shear
    };
    if (preset == 4) NxSpinEditRotation->show();
    for (int i = 0; i < 4; ++i) {
        TNxNumEdit* edit = FlowEdits()[i];
        TTrackBar* bar = TrackBars()[i];
        edit->setEnabled(preset == 4 ? false : enabled[preset][i]);
        edit->SetValue(IdentityEntries[i]);
        if (preset == 4) {
            bar->hide(); // keeps its position and state
        } else {
            bar->setEnabled(enabled[preset][i]);
            bar->SetPosition(TrackBarPosition(IdentityEntries[i], TrackBarMin, TrackBarMax));
        }
    }
    FUnitSquare->SetEdges(IdentityMatrix2D(), *MathImage2);
    bitbtnReestClick(this);
}

void TForm1::NxSpinEditRotationChange(QObject*)
{
    const std::array<double, 4> entries = RotationEntries(NxSpinEditRotation->Value());
    for (int i = 0; i < 4; ++i)
        FlowEdits()[i]->SetValue(entries[i]);
}

void TForm1::bitbtnReestClick(QObject*)
{
    bitbtnRestaClick(this);
    FFieldAtRestore.reset();
    FUnitSquare->SetEdges(IdentityMatrix2D(), *MathImage2);
    for (int i = 0; i < 4; ++i)
        FlowEdits()[i]->SetValue(IdentityEntries[i]);
    ClearFlowField();
    MathImage1->d2SetWorld(FiniteStartWindow);
    // A step back starts from this window, not from the one of the restore above.
    FRestoreWindow = FiniteStartWindow;
    NxSpinEditRotation->SetValue(0);
    RedrawPanels();
}

// ---- deformation -----------------------------------------------------------

void TForm1::bitbtnDefClick(QObject*)
{
    // While the increments run, the button is "Detener".
    if (FRunning) {
        FStopRequested = true;
        return;
    }
    Deform(std::min(NxSpinEditNoIncrements->Value(), MaxIncrementsPerClick));
}

void TForm1::StepForward(QObject*)
{
    if (!FRunning) Deform(1);
}

void TForm1::Deform(int Count)
{
    const double degrees = RadioButton5->isChecked() ? NxSpinEditRotation->Value() : 0;
    TAppliedClick click{FlowEntries(), degrees, 0};
    StartClick(click);
    click.Increments = Count > 0 ? ApplyIncrements(Count) : 0;
    FHistory.Add(click);
    EndClick(click.Increments);
}

void TForm1::StartClick(const TAppliedClick& Click)
{
    FClickWindow = MathImage1->World();
    PlaceFieldOf(Click);
    PlotFlowMohrCircle(Click.Entries);
}

void TForm1::PlaceFieldOf(const TAppliedClick& Click)
{
    const std::array<double, 4>& e = Click.Entries;
    const TFlowTensors tensors = FlowTensors(e[0], e[1], e[2], e[3]);
    FFlowTensor = tensors.Flow;
    FSpinTensor = tensors.Spin;
    FStretchingTensor = tensors.Stretching;
    FFlowField->Build(FFlowTensor, *MathImage1, DegToRad(Click.RotationDegrees));
    PlaceFlowAxes();
}

void TForm1::ClearFlowField()
{
    for (TPointList2D* arrows : {FApophyses.get(), FStretchingAxes.get()})
        for (int i = 1; i <= 2; ++i)
            arrows->GetPoint(i)->SetEnds(*MathImage1, 0, 0, 0, 0);
    FFlowField->Build(IdentityMatrix2D(), *MathImage1);
}

void TForm1::PlaceFieldAtRestore()
{
    if (FFieldAtRestore) {
        MathImage1->d2SetWorld(FFieldAtRestore->Window);
        PlaceFieldOf(FFieldAtRestore->Click);
    } else {
        ClearFlowField();
    }
    MathImage1->d2SetWorld(FRestoreWindow);
}

void TForm1::EndClick(int Applied)
{
    ShowFiniteTensor(FEllipse->Strain().Deformation);
    // The exponent counts the increments applied, so that it matches F.
    FIncrementCount =
        static_cast<int32_t>(std::min<int64_t>(INT32_MAX, int64_t{FIncrementCount} + Applied));
    StaticText3->SetCaption(QString::number(FIncrementCount));
    StaticText3->show();
    PlotDeformedMohrCircle();
    for (TChart* chart : {Chart1, Chart2, Chart3, Chart4})
        FitChartAxes(chart);
    FitRfPhiAxes();
}

void TForm1::StepBack(QObject*)
{
    // From the restore, every click again but the last increment.
    if (!FRunning && FHistory.DropLast()) ReplayHistory();
}

void TForm1::ReplayHistory()
{
    TUpdateLock lock(*MathImage1);
    RestoreStart();
    PlaceFieldAtRestore();
    Series8->ClearPoints();
    for (const TWorldPoint& p : FAxisPointsAtRestore)
        Series8->AddPoint(p.X, p.Y);
    for (const TAppliedClick& click : FHistory.Clicks()) {
        StartClick(click);
        for (int i = 0; i < click.Increments; ++i) {
            AdvanceShapes();
            GrowFiniteWindow();
            AddPathPoints();
        }
        // What shows only the present state, once.
        PlotRfPhi();
        ShowReadout();
        EndClick(click.Increments);
    }
    RedrawPanels();
    lock.Unlock();
    MathImage1->repaint();
}

void TForm1::PlaceFlowAxes()
{
    // The flow apophyses and the instantaneous stretching axes: from the
    // origin out along the first eigenvector, from the second one's tip in.
    // A rigid rotation has neither, and a flow whose eigenvalues are a
    // complex pair has no apophyses: their arrows get zero length.
    const bool rotation = RadioButton5->isChecked();
    const struct {
        TPointList2D* Arrows;
        const TTransformMatrix& Tensor;
        bool Exist;
    } axes[] = {{FApophyses.get(), FFlowTensor, !rotation && HasRealEigenvalues(FFlowTensor)},
                {FStretchingAxes.get(), FStretchingTensor, !rotation}};
    for (const auto& [arrows, tensor, exist] : axes) {
        TTransformMatrix v;
        if (exist) v = MatrixEigenvectors(tensor);
        arrows->GetPoint(1)->SetEnds(*MathImage1, 0, 0, v.Elem[1][1], v.Elem[2][1]);
        arrows->GetPoint(2)->SetEnds(*MathImage1, v.Elem[1][2], v.Elem[2][2], 0, 0);
    }
}

int TForm1::ApplyIncrements(int Count)
{
    // Between two increments the window handles what is pending: it
    // repaints, and Esc or a click on "Detener" stops the run; any other
    // input is ignored until the run ends.
    const QScopedValueRollback<bool> running(FRunning, true);
    FStopRequested = false;
    TRunInput input(bitbtnDef, FStopRequested);
    bitbtnDef->setText(tr("&Detener"));
    QApplication::setOverrideCursor(Qt::BusyCursor);
    const auto end = qScopeGuard([this] {
        QApplication::restoreOverrideCursor();
        bitbtnDef->setText(tr("&Deformar"));
        // A window closed during the run closes now.
        if (std::exchange(FCloseAfterRun, false)) QTimer::singleShot(0, this, &QWidget::close);
    });
    int applied = 0;
    while (applied < Count && !FStopRequested) {
        Increment();
        ++applied;
        QCoreApplication::processEvents();
    }
    return applied;
}

void TForm1::closeEvent(QCloseEvent* Event)
{
    if (FRunning) {
        FStopRequested = FCloseAfterRun = true;
        Event->ignore();
        return;
    }
    QWidget::closeEvent(Event);
}

void TForm1::Increment()
{
    TUpdateLock lock(*MathImage1);
    AdvanceShapes();
    RedrawPanels();
    BusyPause();
    lock.Unlock();
    MathImage1->repaint();
    AddIncrementPoints();
}

void TForm1::AdvanceShapes()
{
    // The redraw that follows clears the panels: nothing is erased first.
    ForgetAllShapes();
    FEllipse->Transform(FFlowTensor, *MathImage1);
    if (StaysFinite(*FTriangle, FFlowTensor)) FTriangle->Transform(FFlowTensor, *MathImage1);
    FMarkers.Transform(FFlowTensor, *MathImage1);
    const TTransformMatrix& f = FEllipse->Strain().Deformation;
    FElongation.Record({f.Elem[1][1], f.Elem[1][2], f.Elem[2][1], f.Elem[2][2]});
    PlaceElongationLines();
}

void TForm1::AddIncrementPoints()
{
    AddPathPoints();
    PlotRfPhi();
    ShowReadout();
}

void TForm1::AddPathPoints()
{
    AddStretchPoints();
    const double ratio = FEllipse->AxialRatio();
    const double inclination = RadToDeg(FEllipse->Inclination());
    if (std::isfinite(ratio) && std::isfinite(inclination)) Series4->AddPoint(ratio, inclination);
}

void TForm1::AddStretchPoints()
{
    const double ratio = FEllipse->AxialRatio();
    TLineSeries* const series[3] = {Series1, Series2, Series3};
    for (int i = 0; i < 3; ++i) {
        const double stretch = SideStretch(FTriangle->GetPoint(i + 1)->Length());
        // A chart gets no point that is not finite.
        if (std::isfinite(ratio) && std::isfinite(stretch)) series[i]->AddPoint(ratio, stretch);
    }
}

void TForm1::bitbtnRestaClick(QObject*)
{
    // The panel keeps the field and axes of the last click.
    if (!FHistory.Clicks().empty())
        FFieldAtRestore = TFieldAtRestore{FHistory.Clicks().back(), FClickWindow};
    RestoreStart();
    FHistory.Clear();
    FRestoreWindow = MathImage1->World();
    FAxisPointsAtRestore.clear();
    for (int i = 0; i < Series8->Count(); ++i)
        FAxisPointsAtRestore.push_back({Series8->XValues.Value(i), Series8->YValues.Value(i)});
}

void TForm1::RestoreStart()
{
    FEllipse->SetDeformation(IdentityMatrix2D(), *MathImage1);
    const std::array<TWorldSegment, 3> sides = StartTriangle();
    for (int i = 0; i < 3; ++i)
        FTriangle->GetPoint(i + 1)->SetEnds(*MathImage1, sides[i].X1, sides[i].Y1, sides[i].X2,
                                            sides[i].Y2);
    FMarkers.Make(FMarkerPopulation, *MathImage1);
    FElongation.Reset();
    PlaceElongationLines();
    ShowFiniteTensor(IdentityMatrix2D());
    FIncrementCount = 0;
    StaticText3->SetCaption("0");
    StaticText3->hide();

    for (TLineSeries* series : {Series1, Series2, Series3})
        series->ClearPoints();
    AddStretchPoints();
    Chart1->BottomAxis.SetAutomatic(true);
    Chart1->LeftAxis.SetAutomatic(true);
    Series4->ClearPoints();
    Chart2->BottomAxis.SetAutomatic(true);
    Chart2->LeftAxis.SetAutomatic(true);
    Series6->ClearPoints();
    Chart3->LeftAxis.SetAutomatic(true);
    Series7->ClearPoints();
    Chart4->LeftAxis.SetAutomatic(true);
    PlotRfPhi();
    FitRfPhiAxes();
    ShowReadout();
}

// ---- marker populations and the fields of elongation ----------------------

void TForm1::SetMarkerPopulation(std::vector<TMarker> Markers, std::optional<uint32_t> Seed)
{
    FMarkerPopulation = std::move(Markers);
    FMarkerSeed = Seed;
    bitbtnRestaClick(this);
    chbxMarkers->setChecked(true);
}

void TForm1::bitbtnNewMarkersClick(QObject*)
{
    const uint32_t seed = FMarkerSeed ? *FMarkerSeed + 1 : DefaultMarkerSeed;
    SetMarkerPopulation(SeededMarkers(seed), seed);
}

void TForm1::bitbtnLoadMarkersClick(QObject*)
{
    if (!OpenMarkersDialog1) {
        OpenMarkersDialog1 =
            FileDialog(this, tr("Cargar marcadores"), QFileDialog::AcceptOpen,
                       {tr("Marcadores (*.txt *.csv *.tsv)"), tr("Todos los archivos (*)")});
        OpenMarkersDialog1->setDirectory(
            QFileInfo(FindDataFile(QStringLiteral("marcadores_ejemplo.txt"))).absolutePath());
    }
    const QString file = ChosenFile(*OpenMarkersDialog1);
    if (!file.isEmpty()) LoadMarkerFile(file);
}

bool TForm1::LoadMarkerFile(const QString& FileName)
{
    // A marker file of the largest size allowed is well under a megabyte.
    constexpr qint64 MaxFileBytes = 16 << 20;
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowMessage(tr("No se puede abrir el archivo «%1»: %2")
                        .arg(QDir::toNativeSeparators(FileName), file.errorString())
                        .toStdString());
        return false;
    }
    if (file.size() > MaxFileBytes) {
        ShowMessage(tr("El archivo «%1» es demasiado grande para ser un archivo de "
                       "marcadores.")
                        .arg(QDir::toNativeSeparators(FileName))
                        .toStdString());
        return false;
    }
    const QByteArray text = file.read(MaxFileBytes + 1);
    const TMarkerFile markers = ParseMarkerFile(text.toStdString());
    if (markers.ErrorMessage) {
        const std::string error = MarkerFileError(
            QCoreApplication::translate("tensim::TMarkerFile", markers.ErrorMessage).toStdString(),
            markers.BadLine, markers.ErrorField);
        ShowMessage(QStringLiteral("%1\n%2")
                        .arg(QDir::toNativeSeparators(FileName), QString::fromStdString(error))
                        .toStdString());
        return false;
    }
    SetMarkerPopulation(markers.Markers, std::nullopt);
    return true;
}

void TForm1::PlaceElongationLines()
{
    static const TColor FieldColors[] = {
        clGray,    // unchanged
        clBlue,    // shortened throughout
        clOlive,   // shortened, then lengthened
        clRed,     // lengthened throughout
        clFuchsia, // lengthened, then shortened
    };
    const TTransformMatrix& f = FEllipse->Strain().Deformation;
    const TEntries entries{f.Elem[1][1], f.Elem[1][2], f.Elem[2][1], f.Elem[2][2]};
    const bool shown = FElongationLines->Drawn();
    if (shown) FElongationLines->Erase(*MathImage1);
    for (int i = 0; i < MaterialLineCount; ++i) {
        auto* line = static_cast<TFieldLine2D*>(FElongationLines->GetPoint(i + 1));
        const TWorldSegment s = MaterialLine(i, entries);
        line->SetColor(FieldColors[static_cast<int>(FElongation.Field(i))]);
        line->SetEnds(*MathImage1, s.X1, s.Y1, s.X2, s.Y2);
    }
    const std::vector<TWorldSegment> none = NoElongationLines(entries);
    for (int i = 0; i < 2; ++i) {
        const TWorldSegment s = i < static_cast<int>(none.size()) ? none[i] : TWorldSegment{};
        FElongationLines->GetPoint(MaterialLineCount + i + 1)
            ->SetEnds(*MathImage1, s.X1, s.Y1, s.X2, s.Y2);
    }
    if (shown) FElongationLines->Draw(*MathImage1);
}

// ---- the readout and the Rf/phi charts -------------------------------------

void TForm1::ShowReadout()
{
    const TReadoutTexts texts =
        ReadoutTexts(StrainReadout(FEllipse->Strain()), KinematicVorticity(FlowEntries()));
    const std::pair<TStaticText*, const std::string&> lines[] = {
        {StaticTextRs, texts.AxialRatio},
        {StaticTextTheta, texts.Inclination},
        {StaticTextArea, texts.AreaRatio},
        {StaticTextWk, texts.Vorticity}};
    for (const auto& [label, text] : lines)
        label->SetCaption(QString::fromStdString(text));
}

void TForm1::PlotRfPhi()
{
    for (TLineSeries* series : {Series9, Series10, Series11, Series12})
        series->ClearPoints();
    const auto add = [](TLineSeries* Cartesian, TLineSeries* Polar, const TRfPhi& Point) {
        const TWorldPoint polar = PolarRfPhi(Point);
        // A chart gets no point that is not finite.
        if (!std::isfinite(Point.Rf) || !std::isfinite(Point.PhiDegrees) ||
            !std::isfinite(polar.X) || !std::isfinite(polar.Y))
            return;
        Cartesian->AddPoint(Point.PhiDegrees, Point.Rf);
        Polar->AddPoint(polar.X, polar.Y);
    };
    for (const auto& marker : FMarkers.Ellipses())
        add(Series9, Series11, RfPhi(marker->Strain()));
    add(Series10, Series12, RfPhi(FEllipse->Strain()));
}

void TForm1::FitRfPhiAxes()
{
    // Rf from its fitted range; the polar chart about its origin, as far
    // out as its farthest point, in equal units.
    FitAxis(Chart5->LeftAxis, FittedAxisRange(Chart5->SeriesMinY(Chart5->LeftAxis),
                                              Chart5->SeriesMaxY(Chart5->LeftAxis)));
    double reach = 0;
    for (TLineSeries* series : {Series11, Series12})
        for (int i = 0; i < series->Count(); ++i)
            reach = std::max(
                {reach, std::fabs(series->XValues.Value(i)), std::fabs(series->YValues.Value(i))});
    const TAxisRange polar = FittedAxisRange(-reach, reach);
    FitAxis(Chart6->BottomAxis, polar);
    FitAxis(Chart6->LeftAxis, polar);
}

// ---- panels ----------------------------------------------------------------

void TForm1::GrowFiniteWindow()
{
    // The end of the ellipse's major semi-axis; the ellipse stays centred on
    // the origin.
    const double theta = FEllipse->Inclination(), a = FEllipse->MajorSemiAxis();
    const double px = std::cos(theta) * a, py = std::sin(theta) * a;
    const TWorldWindow window = MathImage1->World();
    const TWorldWindow grown = GrownWindow(window, px, py);
    if (grown.X1 != window.X1 || grown.Y1 != window.Y1 || grown.X2 != window.X2 ||
        grown.Y2 != window.Y2)
        MathImage1->d2SetWorld(grown);
}

void TForm1::RedrawPanels()
{
    GrowFiniteWindow();
    // The clear wipes the shapes: erasing them first would paint for nothing.
    ForgetAllShapes();
    for (TMathImage* image : {MathImage1, MathImage2}) {
        image->d2Clear();
        DrawPanelAxes(*image);
    }
    ShowCheckedShapes();
    // At once, with the shapes; a locked panel shows its new picture when
    // it is unlocked.
    for (TMathImage* image : {MathImage1, MathImage2})
        if (image->LockCount() == 0) image->repaint();
}

void TForm1::ForgetAllShapes()
{
    for (TPointList2D* shapes : std::initializer_list<TPointList2D*>{
             FEllipse.get(), FTriangle.get(), FFlowField.get(), FApophyses.get(),
             FStretchingAxes.get(), FUnitSquare.get(), FElongationLines.get()})
        shapes->Forget();
    FMarkers.Forget();
}

void TForm1::ShowCheckedShapes()
{
    FUnitSquare->Draw(*MathImage2);
    if (chbxEllipse->isChecked()) FEllipse->Draw(*MathImage1);
    if (chbxTri->isChecked()) FTriangle->Draw(*MathImage1);
    if (chbxElongFields->isChecked()) FElongationLines->Draw(*MathImage1);
    if (chbxMarkers->isChecked()) FMarkers.Draw(*MathImage1);
    if (chkbxISA->isChecked()) FStretchingAxes->Draw(*MathImage1);
    if (chbxVelFld->isChecked()) FFlowField->Draw(*MathImage1);
    if (chkbxAp->isChecked()) FApophyses->Draw(*MathImage1);
}

bool TForm1::PointInView(const TMathImage& Image, const TTransformVector& Point,
                         double Factor) const
{
    return tensim::PointInView(Image.World(), Point.Elem[1], Point.Elem[2], Factor);
}

void TForm1::chbxEllipseClick(QObject*)
{
    if (chbxEllipse->isChecked()) {
        FEllipse->Draw(*MathImage1);
        chbxAxes->setEnabled(true);
    } else {
        FEllipse->Erase(*MathImage1);
        chbxAxes->setEnabled(false);
    }
}

void TForm1::chbxAxesClick(QObject*)
{
    if (chbxAxes->isChecked())
        FEllipse->ShowAxes(*MathImage1);
    else
        FEllipse->HideAxes(*MathImage1);
}

namespace {

void ShowOrHide(bool Shown, TPointList2D& Shapes, TMathImage& Image)
{
    if (Shown)
        Shapes.Draw(Image);
    else
        Shapes.Erase(Image);
}

} // namespace

void TForm1::chbxTriClick(QObject*)
{
    ShowOrHide(chbxTri->isChecked(), *FTriangle, *MathImage1);
}

void TForm1::chbxVelFldClick(QObject*)
{
    ShowOrHide(chbxVelFld->isChecked(), *FFlowField, *MathImage1);
}

void TForm1::chkbxApClick(QObject*)
{
    ShowOrHide(chkbxAp->isChecked(), *FApophyses, *MathImage1);
}

void TForm1::chkbxISAClick(QObject*)
{
    ShowOrHide(chkbxISA->isChecked(), *FStretchingAxes, *MathImage1);
}

void TForm1::chbxMarkersClick(QObject*)
{
    if (chbxMarkers->isChecked())
        FMarkers.Draw(*MathImage1);
    else
        FMarkers.Erase(*MathImage1);
}

void TForm1::chbxElongFieldsClick(QObject*)
{
    ShowOrHide(chbxElongFields->isChecked(), *FElongationLines, *MathImage1);
}

// ---- charts ----------------------------------------------------------------

void TForm1::PlotFlowMohrCircle(const std::array<double, 4>& Entries)
{
    // The unit square's vertices 2 and 3 under the flow tensor with these
    // entries, as the incremental panel shows them.
    const TTransformMatrix flow = MakeTensor2D(Entries[0], Entries[1], Entries[2], Entries[3]);
    const TTransformVector v2 = ApplyTransform(MakeVector2D(1, 0), flow);
    const TTransformVector v3 = ApplyTransform(MakeVector2D(0, 1), flow);
    const TFlowMohrCircle circle =
        FlowMohrCircle({v2.Elem[1], v2.Elem[2]}, {v3.Elem[1], v3.Elem[2]});
    // The construction line is not kept: the panel's next redraw wipes it.
    const TWorldSegment& ab = circle.Construction;
    TLine2D(clRed, ab.X1, ab.Y1, ab.X2, ab.Y2).Draw(*MathImage2);

    Series7->ClearPoints();
    Series7->XValues.Order = loNone;
    for (const TWorldPoint& p : circle.Points)
        Series7->AddPoint(p.X, p.Y);
    // The vertical axis accumulates over every "Deformar".
    if (!circle.Points.empty()) {
        Series8->AddPoint(0, 0);
        Series8->AddPoint(0, circle.AxisTop.Y);
    }
}

void TForm1::PlotDeformedMohrCircle()
{
    // On purpose from the edits: the circle is that of the finite tensor as shown, to 4 decimals.
    const std::vector<TWorldPoint> points = DeformedMohrCircle(
        static_cast<double>(NxNumEdit5->Value()), static_cast<double>(NxNumEdit6->Value()),
        static_cast<double>(NxNumEdit7->Value()), static_cast<double>(NxNumEdit8->Value()));
    Series6->ClearPoints();
    Series6->XValues.Order = loNone;
    for (const TWorldPoint& p : points)
        Series6->AddPoint(p.X, p.Y);
}

void TForm1::FitChartAxes(TChart* Chart)
{
    TChartAxis& bottom = Chart->BottomAxis;
    TChartAxis& left = Chart->LeftAxis;
    FitAxis(bottom, FittedAxisRange(Chart->SeriesMinX(bottom), Chart->SeriesMaxX(bottom)));
    FitAxis(left, FittedAxisRange(Chart->SeriesMinY(left), Chart->SeriesMaxY(left)));
}

void TForm1::PageControl1Change(QObject*)
{
    switch (PageControl1->currentIndex()) {
    case 0:
        Chart1->setVisible(chbxExtRaxial->isChecked());
        Chart2->setVisible(chbxOrientRaxial->isChecked());
        Chart3->hide();
        Chart4->hide();
        Chart5->hide();
        Chart6->hide();
        break;
    case 1:
        Chart1->hide();
        Chart2->hide();
        Chart3->setVisible(chbxMohrDef->isChecked());
        Chart4->setVisible(chbxMohrFlujo->isChecked());
        Chart5->hide();
        Chart6->hide();
        break;
    case 2:
        for (TChart* chart : {Chart1, Chart2, Chart3, Chart4})
            chart->hide();
        Chart5->setVisible(chbxRfPhi->isChecked());
        Chart6->setVisible(chbxPolar->isChecked());
        break;
    default:
        break;
    }
}

// ---- enlarged view, about box and help ------------------------------------

void TForm1::Chart1DblClick(QObject* Sender)
{
    if (!Form2 || Form2->isVisible()) return;
    for (QWidget* control : std::initializer_list<QWidget*>{Chart1, Chart2, Chart3, Chart4, Chart5,
                                                            Chart6, MathImage1, MathImage2}) {
        if (Sender != control) continue;
        FEnlargedControl = control;
        FEnlargedParent = control->parentWidget();
        FEnlargedBounds = control->geometry();
        FEnlargedAlign = GetAlign(control);
        control->setParent(Form2);
        control->show();
        break;
    }
    Form2->exec();
}

void TForm1::bitbtnInfoClick(QObject*)
{
    if (!AboutBox) return;
    const Qt::WindowStates state = windowState();
    setWindowState(state | Qt::WindowMinimized);
    AboutBox->exec();
    setWindowState(state);
    show();
}

void TForm1::bitbtnHelpClick(QObject*)
{
    if (!HelpWindow) HelpWindow = new THelpWindow(this);
    HelpWindow->ShowContext(HelpFile(), 10);
}

} // namespace tensim

namespace tensim {

// ---- the menu bar ----------------------------------------------------------

void TForm1::CreateMenu()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName("MainMenu1");
    const auto item = [this](QMenu* Menu, QAction*& Action, const QString& Caption,
                             const QKeySequence& Key, void (TForm1::*Handler)(QObject*)) {
        Action = Menu->addAction(Caption);
        Action->setShortcut(Key);
        // The window's own: the shortcuts work in full screen too.
        addAction(Action);
        connect(Action, &QAction::triggered, this,
                [this, Action, Handler] { (this->*Handler)(Action); });
    };
    QMenu* file = MainMenu1->addMenu(tr("&Archivo"));
    item(file, AbrirEjercicio1, tr("&Abrir ejercicio…"), QKeySequence::Open,
         &TForm1::AbrirEjercicio1Click);
    item(file, GuardarEjercicio1, tr("&Guardar ejercicio…"), QKeySequence::Save,
         &TForm1::GuardarEjercicio1Click);
    item(file, ExportarAnimacion1, tr("&Exportar animación…"), {},
         &TForm1::ExportarAnimacion1Click);
    item(file, Imprimir1, tr("&Imprimir…"), QKeySequence::Print, &TForm1::Imprimir1Click);
    file->addSeparator();
    item(file, Salir1, tr("&Salir"), Qt::CTRL | Qt::Key_Q, &TForm1::Salir1Click);
    QMenu* view = MainMenu1->addMenu(tr("&Ver"));
    item(view, ModoPresentacion1, tr("&Modo presentación"), Qt::Key_F11,
         &TForm1::ModoPresentacion1Click);
    ModoPresentacion1->setCheckable(true);
    QMenu* help = MainMenu1->addMenu(tr("Ay&uda"));
    item(help, Contenido1, tr("&Contenido"), Qt::Key_F1, &TForm1::bitbtnHelpClick);
    item(help, AcercaDe1, tr("&Acerca de Tensim"), {}, &TForm1::bitbtnInfoClick);
    // Esc also leaves the presentation mode; during a run it stops the run.
    FLeavePresentation = new QShortcut(Qt::Key_Escape, this);
    FLeavePresentation->setEnabled(false);
    connect(FLeavePresentation, &QShortcut::activated, this,
            [this] { SetPresentationMode(false); });
    // The client area keeps its design size below the bar.
    const int bar = MainMenu1->sizeHint().height();
    setContentsMargins(0, bar, 0, 0);
    resize(width(), height() + bar);
    MainMenu1->setGeometry(0, 0, width(), bar);
}

void TForm1::AbrirEjercicio1Click(QObject*)
{
    if (FRunning) return;
    if (!OpenExerciseDialog1) {
        OpenExerciseDialog1 =
            FileDialog(this, tr("Abrir ejercicio"), QFileDialog::AcceptOpen,
                       {tr("Ejercicios de Tensim (*.tensim)"), tr("Todos los archivos (*)")});
        // The examples are where a new user finds them.
        OpenExerciseDialog1->setDirectory(
            QFileInfo(FindDataFile(QStringLiteral("cizalla_simple.tensim"))).absolutePath());
    }
    const QString file = ChosenFile(*OpenExerciseDialog1);
    if (!file.isEmpty()) OpenExercise(file);
}

void TForm1::GuardarEjercicio1Click(QObject*)
{
    if (FRunning) return;
    if (!SaveExerciseDialog1) {
        SaveExerciseDialog1 = FileDialog(this, tr("Guardar ejercicio"), QFileDialog::AcceptSave,
                                         {tr("Ejercicios de Tensim (*.tensim)")});
        SaveExerciseDialog1->setDefaultSuffix("tensim");
    }
    const QString file = ChosenFile(*SaveExerciseDialog1);
    if (!file.isEmpty()) SaveExercise(file);
}

void TForm1::ExportarAnimacion1Click(QObject*)
{
    if (FRunning) return;
    bool ok = false;
    const int increments = QInputDialog::getInt(
        this, tr("Exportar animación"), tr("Incrementos que se graban desde el estado actual:"), 20,
        1, MaxIncrementsPerClick, 1, &ok);
    if (!ok) return;
    if (!SaveAnimationDialog1) {
        SaveAnimationDialog1 =
            FileDialog(this, tr("Exportar animación"), QFileDialog::AcceptSave,
                       {tr("GIF animado (*.gif)"), tr("Serie de imágenes PNG numeradas (*.png)")});
        SaveAnimationDialog1->setDefaultSuffix("gif");
        connect(SaveAnimationDialog1, &QFileDialog::filterSelected, SaveAnimationDialog1,
                [dialog = SaveAnimationDialog1](const QString& Filter) {
                    dialog->setDefaultSuffix(Filter.contains("*.png") ? "png" : "gif");
                });
    }
    const QString file = ChosenFile(*SaveAnimationDialog1);
    if (file.isEmpty()) return;
    QProgressDialog progress(tr("Grabando la animación…"), tr("Cancelar"), 0, increments, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    ExportAnimation(file, increments, [&progress](int Frame) {
        progress.setValue(Frame);
        return !progress.wasCanceled();
    });
}

void TForm1::Imprimir1Click(QObject*)
{
    if (FRunning) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(tr("Tensim, flujo y deformación"));
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted) PrintPage(printer);
}

void TForm1::Salir1Click(QObject*)
{
    close();
}

void TForm1::ModoPresentacion1Click(QObject*)
{
    SetPresentationMode(!PresentationMode());
}

// ---- exercise files --------------------------------------------------------

namespace {

// The time each frame of an animation is shown, in hundredths of a second.
constexpr int AnimationDelay = 10;

// The visibility boxes in the order of TVisibleShape.
std::array<QCheckBox*, VisibleShapeCount> VisibleBoxes(const TForm1Controls& F)
{
    return {F.chbxEllipse, F.chbxAxes,        F.chbxTri, F.chbxMarkers,
            F.chbxVelFld,  F.chbxElongFields, F.chkbxAp, F.chkbxISA};
}

// The chart boxes in the order of TChartBox.
std::array<QCheckBox*, ChartBoxCount> ChartBoxes(const TForm1Controls& F)
{
    return {F.chbxExtRaxial, F.chbxOrientRaxial, F.chbxMohrFlujo,
            F.chbxMohrDef,   F.chbxRfPhi,        F.chbxPolar};
}

} // namespace

TExercise TForm1::Exercise() const
{
    TExercise x;
    x.FlowType = static_cast<TFlowType>(CheckedFlowType());
    x.Flow = FlowEntries();
    x.RotationDegrees = RadioButton5->isChecked() ? NxSpinEditRotation->Value() : 0;
    x.Increments = FHistory.Clicks();
    for (int i = 0; i < VisibleShapeCount; ++i)
        x.Visible[i] = VisibleBoxes(*this)[i]->isChecked();
    x.ChartTab = std::clamp(PageControl1->currentIndex(), 0, 2);
    for (int i = 0; i < ChartBoxCount; ++i)
        x.Charts[i] = ChartBoxes(*this)[i]->isChecked();
    x.MarkerSeed = FMarkerSeed;
    if (!FMarkerSeed) x.Markers = FMarkerPopulation;
    x.RestoreWindow = FRestoreWindow;
    x.AxisPointsAtRestore = FAxisPointsAtRestore;
    x.FieldAtRestore = FFieldAtRestore;
    return x;
}

void TForm1::ApplyExercise(const TExercise& X)
{
    if (FRunning) return;
    // The flow type as its click sets it: the edits and the panels start anew.
    const auto radios = FlowTypeButtons();
    QRadioButton* radio = radios[static_cast<int>(X.FlowType)];
    {
        const std::vector<QSignalBlocker> quiet(radios.begin(), radios.end());
        radio->setChecked(true);
    }
    RadioButton1Click(radio);
    if (X.FlowType == TFlowType::RigidRotation)
        NxSpinEditRotation->SetValue(static_cast<int>(X.RotationDegrees));
    // In order, so that (2,2) gets its own value after (1,1) set it.
    for (int i = 0; i < 4; ++i)
        FlowEdits()[i]->SetValue(X.Flow[i]);
    for (int i = 0; i < VisibleShapeCount; ++i)
        VisibleBoxes(*this)[i]->setChecked(X.Visible[i]);
    for (int i = 0; i < ChartBoxCount; ++i)
        ChartBoxes(*this)[i]->setChecked(X.Charts[i]);
    PageControl1->setCurrentIndex(X.ChartTab);
    PageControl1Change(this);

    FMarkerPopulation = X.MarkerSeed ? SeededMarkers(*X.MarkerSeed) : X.Markers;
    FMarkerSeed = X.MarkerSeed;
    // What the window kept from before the restore, which the replay starts from.
    FRestoreWindow = X.RestoreWindow;
    FAxisPointsAtRestore = X.AxisPointsAtRestore;
    FFieldAtRestore = X.FieldAtRestore;
    for (const TAppliedClick& click : X.Increments)
        FHistory.Add(click);
    ReplayHistory();
}

bool TForm1::OpenExercise(const QString& FileName)
{
    if (FRunning) return false;
    const QString name = QDir::toNativeSeparators(FileName);
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowMessage(tr("No se puede abrir el archivo «%1»: %2")
                        .arg(name, file.errorString())
                        .toStdString());
        return false;
    }
    if (file.size() > MaxExerciseBytes) {
        ShowMessage(tr("El archivo «%1» es demasiado grande para ser un ejercicio.")
                        .arg(name)
                        .toStdString());
        return false;
    }
    const TExerciseRead read = ReadExercise(file.read(MaxExerciseBytes + 1));
    if (!read.Exercise) {
        ShowMessage(
            tr("No se puede abrir el ejercicio «%1»:\n%2").arg(name, read.Error).toStdString());
        return false;
    }
    ApplyExercise(*read.Exercise);
    return true;
}

bool TForm1::SaveExercise(const QString& FileName)
{
    const QString name = QDir::toNativeSeparators(FileName);
    const TExercise exercise = Exercise();
    // A file the window could not open again is not written.
    const QString size = ExerciseSizeError(exercise);
    if (!size.isEmpty()) {
        ShowMessage(tr("No se guarda el ejercicio «%1»:\n%2").arg(name, size).toStdString());
        return false;
    }
    QSaveFile file(FileName);
    const QByteArray json = ExerciseJson(exercise);
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit()) {
        ShowMessage(tr("No se puede guardar el ejercicio «%1»: %2")
                        .arg(name, file.errorString())
                        .toStdString());
        return false;
    }
    return true;
}

// ---- animations, printing, presentation -----------------------------------

bool TForm1::ExportAnimation(const QString& FileName, int Increments,
                             const std::function<bool(int Frame)>& Progress)
{
    if (FRunning || Increments < 0) return false;
    const QString name = QDir::toNativeSeparators(FileName);
    const bool gif = QFileInfo(FileName).suffix().compare("gif", Qt::CaseInsensitive) == 0;
    // "name.png" gives name_000.png, name_001.png, ...
    QString stem = FileName;
    if (!gif && QFileInfo(FileName).suffix().compare("png", Qt::CaseInsensitive) == 0) stem.chop(4);
    const int digits = std::max(3, int(QString::number(Increments).size()));
    std::vector<QString> written;
    TGifWriter writer;
    QString error;
    bool cancelled = false;

    const TExercise saved = Exercise();
    {
        // The screen keeps showing the state until it is back.
        TUpdateLock lockFinite(*MathImage1), lockIncremental(*MathImage2);
        // Back to the state, whatever happens.
        const auto back = qScopeGuard([&] { ApplyExercise(saved); });
        const double degrees = RadioButton5->isChecked() ? NxSpinEditRotation->Value() : 0;
        const auto addFrame = [&](int Frame) {
            const QImage& picture = MathImage1->Bitmap();
            if (gif) {
                if ((Frame == 0 && !writer.Open(FileName, picture.size(), AnimationDelay)) ||
                    !writer.AddFrame(picture))
                    error = writer.Error();
                return error.isEmpty();
            }
            const QString frameName =
                stem + QStringLiteral("_%1.png").arg(Frame, digits, 10, QChar('0'));
            written.push_back(frameName);
            if (!picture.save(frameName, "PNG")) error = NotWrittenMessage(frameName, {});
            return error.isEmpty();
        };
        bool going = addFrame(0);
        if (going) StartClick({FlowEntries(), degrees, 0});
        for (int i = 1; going && i <= Increments; ++i) {
            AdvanceShapes();
            RedrawPanels();
            going = addFrame(i);
            if (going && Progress && !Progress(i)) {
                cancelled = true;
                going = false;
            }
        }
        if (error.isEmpty() && !cancelled && gif && !writer.Close()) error = writer.Error();
        if (!error.isEmpty() || cancelled) {
            // Nothing is left of a recording that did not end.
            writer.Cancel();
            for (const QString& frame : written)
                QFile::remove(frame);
        }
    }
    for (TMathImage* image : {MathImage1, MathImage2})
        image->repaint();
    if (!error.isEmpty())
        ShowMessage(
            tr("No se pudo exportar la animación «%1»:\n%2").arg(name, error).toStdString());
    return error.isEmpty() && !cancelled;
}

void TForm1::PaintPanel(TMathImage& Image, QPainter& Painter)
{
    TCanvas& canvas = Image.DrawingCanvas();
    canvas.SetRecorder(&Painter);
    const auto stop = qScopeGuard([&] { canvas.SetRecorder(nullptr); });
    RedrawPanels();
}

void TForm1::PrintPage(QPagedPaintDevice& Device)
{
    QPainter painter(&Device);
    // A page 800 units wide, as tall as the paper makes it.
    const QRect paper = painter.viewport();
    const int width = 800, height = width * paper.height() / std::max(1, paper.width());
    painter.setWindow(0, 0, width, height);
    // Sizes in the page's units, whatever the printer's resolution.
    QFont font = WindowFont();
    font.setPixelSize(18);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, width, 30), Qt::AlignLeft | Qt::AlignVCenter,
                     tr("Tensim: flujo y deformación"));

    // The two panels side by side, each scaled into a square of 390.
    font.setPixelSize(14);
    painter.setFont(font);
    const std::pair<TMathImage*, QGroupBox*> panels[] = {{MathImage2, GroupBox5},
                                                         {MathImage1, GroupBox6}};
    int x = 0;
    for (const auto& [image, group] : panels) {
        const QSize size = image->Bitmap().size();
        const double scale = 390.0 / std::max(size.width(), size.height());
        painter.drawText(QRect(x, 40, 390, 20), Qt::AlignLeft, group->title());
        painter.save();
        painter.translate(x, 62);
        painter.scale(scale, scale);
        painter.setClipRect(QRect(QPoint(0, 0), size));
        PaintPanel(*image, painter);
        painter.restore();
        x += 410;
    }
    // The visible charts, two to a row.
    int y = 470, column = 0;
    for (TChart* chart : {Chart1, Chart2, Chart3, Chart4, Chart5, Chart6}) {
        if (!chart->isVisibleTo(this)) continue;
        painter.save();
        painter.translate(column * 410, y);
        const QSize size = chart->size();
        const double scale = std::min(390.0 / size.width(), 300.0 / size.height());
        painter.scale(scale, scale);
        chart->Draw(painter, QRect(QPoint(0, 0), size));
        painter.restore();
        if (++column == 2) {
            column = 0;
            y += 310;
        }
    }
    if (column) y += 310;
    // The tensors and the readout as text.
    const auto entries = [](const std::array<TNxNumEdit*, 4>& Edits) {
        return QStringLiteral("( %1   %2 ;   %3   %4 )")
            .arg(Edits[0]->text(), Edits[1]->text(), Edits[2]->text(), Edits[3]->text());
    };
    const QStringList lines = {tr("Tensor de flujo L = %1").arg(entries(FlowEdits())),
                               tr("Tensor de distorsión finita F = L^%1 = %2")
                                   .arg(FIncrementCount)
                                   .arg(entries(FiniteEdits())),
                               QStringList{StaticTextRs->Caption(), StaticTextTheta->Caption(),
                                           StaticTextArea->Caption(), StaticTextWk->Caption()}
                                   .join(QStringLiteral("     "))};
    font.setPixelSize(14);
    painter.setFont(font);
    painter.drawText(QRect(0, y, width, height - y), Qt::AlignLeft | Qt::AlignTop,
                     lines.join('\n'));
}

void TForm1::SetPresentationMode(bool On)
{
    if (On == PresentationMode()) return;
    if (On) {
        TNormalMode normal{geometry(), windowState(), {}};
        for (QObject* component : Components(this))
            if (auto* control = qobject_cast<QWidget*>(component))
                normal.Fonts.emplace_back(control, control->font());
        FPresentation = std::move(normal);
        FormResizer1->SetResizeFonts(true);
        showFullScreen();
    } else {
        const TNormalMode normal = std::move(*FPresentation);
        FPresentation.reset();
        FormResizer1->SetResizeFonts(false);
        setWindowState(normal.State);
        setGeometry(normal.Geometry);
        for (const auto& [control, font] : normal.Fonts)
            if (control) control->setFont(font);
        FormResize();
    }
    ModoPresentacion1->setChecked(On);
    FLeavePresentation->setEnabled(On);
}

} // namespace tensim
