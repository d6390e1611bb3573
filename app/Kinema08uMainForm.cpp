#include "app/Kinema08uMainForm.h"

#include "controls/Align.h"
#include "controls/Chart.h"
#include "controls/Easysize.h"
#include "controls/NxNumEdit.h"
#include "controls/NxSpinEdit.h"
#include "controls/StdCtrls.h"
#include "drawing/MathImge.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QRadioButton>
#include <QToolButton>

#include <functional>
#include <map>

namespace tensim {

namespace {

// Start states of a control in the window's table.
enum : unsigned { Hidden = 1, Disabled = 2, Checked = 4 };

// One control of the window: it is made into its field as a child of the
// control named Parent (the window for ""), placed at Bounds, aligned, and
// given its caption and start state. A width or height of 0 fits a static
// text to its caption; FontPixels 0 keeps the parent's font.
struct TControlRow {
    std::function<QWidget*(QWidget*)> Create;
    const char* Name;
    const char* Parent;
    QRect Bounds;
    TAlign Align;
    const char* Caption;
    unsigned State;
    int FontPixels;
};

template <class T> std::function<QWidget*(QWidget*)> Into(T*& Field)
{
    return [&Field](QWidget* Parent) {
        Field = new T(Parent);
        return static_cast<QWidget*>(Field);
    };
}

// A row's first two columns: how to make the control into its field, and
// the field's name.
#define CONTROL(Field) Into(Field), #Field

void SetCaption(QWidget* Control, const QString& Caption)
{
    if (auto* box = qobject_cast<QGroupBox*>(Control))
        box->setTitle(Caption);
    else if (auto* button = qobject_cast<QAbstractButton*>(Control))
        button->setText(Caption);
    else if (auto* text = qobject_cast<TStaticText*>(Control))
        text->SetCaption(Caption);
}

} // namespace

void TForm1Controls::CreateControls(QWidget* Form)
{
    FormResizer1 = new TFormResizer(Form);
    FormResizer1->MinFontSize = 8;
    FormResizer1->MaxFontSize = 48;
    // Every control of the window, in creation order, which is also the
    // order in which the form resizer records them.
    // clang-format off
    const TControlRow rows[] = {
        // The top band: the flow tensor, its power and the finite tensor.
        {CONTROL(GroupBox1),   "",          {0, 0, 792, 169},    alTop,  QT_TRANSLATE_NOOP("tensim::TForm1", "Tensores de flujo y deformación"), 0, 0},
        {CONTROL(GroupBox2),   "GroupBox1", {32, 16, 201, 145},  alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Tensor de flujo"), 0, 0},
        {CONTROL(NxNumEdit1),  "GroupBox2", {12, 24, 83, 21},    alNone, "", Disabled, 0},
        {CONTROL(NxNumEdit2),  "GroupBox2", {106, 24, 83, 21},   alNone, "", 0, 0},
        {CONTROL(NxNumEdit3),  "GroupBox2", {12, 82, 83, 21},    alNone, "", Disabled, 0},
        {CONTROL(NxNumEdit4),  "GroupBox2", {106, 82, 83, 21},   alNone, "", Disabled, 0},
        {CONTROL(TrackBar1),   "GroupBox2", {12, 48, 83, 28},    alNone, "", Disabled, 0},
        {CONTROL(TrackBar2),   "GroupBox2", {106, 48, 83, 28},   alNone, "", 0, 0},
        {CONTROL(TrackBar3),   "GroupBox2", {12, 106, 83, 28},   alNone, "", Disabled, 0},
        {CONTROL(TrackBar4),   "GroupBox2", {106, 106, 83, 28},  alNone, "", Disabled, 0},
        {CONTROL(StaticText3), "GroupBox1", {240, 8, 120, 38},   alNone, "n", Hidden, 32},
        {CONTROL(StaticText2), "GroupBox1", {368, 72, 0, 0},     alNone, "=", 0, 32},
        {CONTROL(GroupBox3),   "GroupBox1", {400, 16, 201, 145}, alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Tensor de distorsión finita"), 0, 0},
        {CONTROL(NxNumEdit5),  "GroupBox3", {12, 40, 83, 21},    alNone, "", 0, 0},
        {CONTROL(NxNumEdit6),  "GroupBox3", {106, 40, 83, 21},   alNone, "", 0, 0},
        {CONTROL(NxNumEdit7),  "GroupBox3", {12, 88, 83, 21},    alNone, "", 0, 0},
        {CONTROL(NxNumEdit8),  "GroupBox3", {106, 88, 83, 21},   alNone, "", 0, 0},
        // The readout of the finite state and of the flow's vorticity.
        {CONTROL(GroupBox10),  "GroupBox1", {612, 16, 172, 145}, alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Estado de deformación"), 0, 0},
        {CONTROL(StaticTextRs),    "GroupBox10", {12, 24, 152, 22},  alNone, "Rs = 1,0000", 0, 14},
        {CONTROL(StaticTextTheta), "GroupBox10", {12, 52, 152, 22},  alNone, "θ = —", 0, 14},
        {CONTROL(StaticTextArea),  "GroupBox10", {12, 80, 152, 22},  alNone, "|det F| = 1,0000", 0, 14},
        {CONTROL(StaticTextWk),    "GroupBox10", {12, 108, 152, 22}, alNone, "Wk = —", 0, 14},

        // The middle band: the two panels and the controls between them.
        {CONTROL(GroupBox4),   "",          {0, 169, 792, 248},  alTop,   QT_TRANSLATE_NOOP("tensim::TForm1", "Distorsión"), 0, 0},
        {CONTROL(GroupBox5),   "GroupBox4", {2, 15, 222, 231},   alLeft,  QT_TRANSLATE_NOOP("tensim::TForm1", "Incremental"), 0, 0},
        {CONTROL(MathImage2),  "GroupBox5", {2, 15, 218, 214},   alClient, "", 0, 0},
        {CONTROL(GroupBox6),   "GroupBox4", {568, 15, 222, 231}, alRight, QT_TRANSLATE_NOOP("tensim::TForm1", "Finita"), 0, 0},
        {CONTROL(MathImage1),  "GroupBox6", {2, 15, 218, 214},   alClient, "", 0, 0},
        {CONTROL(NxSpinEditNoIncrements), "GroupBox4", {296, 24, 51, 21}, alNone, "", 0, 0},
        {CONTROL(StaticText1), "GroupBox4", {280, 48, 0, 0},     alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "# de incrementos"), 0, 0},
        {CONTROL(bitbtnDef),   "GroupBox4", {284, 80, 75, 49},   alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "&Deformar"), 0, 0},
        {CONTROL(bitbtnResta), "GroupBox4", {284, 136, 75, 49},  alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "&Restaurar"), 0, 0},
        {CONTROL(bitbtnReest), "GroupBox4", {284, 192, 75, 49},  alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "R&eestablecer"), 0, 0},
        {CONTROL(GroupBox9),   "GroupBox4", {376, 24, 177, 153}, alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Elementos visibles"), 0, 0},
        {CONTROL(chbxEllipse), "GroupBox9", {8, 20, 65, 17},     alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Elipse"), Checked, 0},
        {CONTROL(chbxAxes),    "GroupBox9", {80, 20, 89, 17},    alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Ejes"), 0, 0},
        {CONTROL(chbxTri),     "GroupBox9", {8, 42, 71, 17},     alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Triángulo"), Checked, 0},
        {CONTROL(chbxMarkers), "GroupBox9", {80, 42, 93, 17},    alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Marcadores"), 0, 0},
        {CONTROL(chbxVelFld),  "GroupBox9", {8, 64, 161, 17},    alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Campo de velocidad"), 0, 0},
        {CONTROL(chbxElongFields), "GroupBox9", {8, 86, 161, 17}, alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Campos de elongación"), 0, 0},
        {CONTROL(chkbxAp),     "GroupBox9", {8, 108, 161, 17},   alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Apófisis de flujo"), 0, 0},
        {CONTROL(chkbxISA),    "GroupBox9", {8, 130, 166, 17},   alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Ejes de extensión infinitesimal"), 0, 0},
        {CONTROL(bitbtnHelp),  "GroupBox4", {376, 200, 81, 41},  alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "A&yuda"), 0, 0},
        {CONTROL(bitbtnInfo),  "GroupBox4", {472, 200, 81, 41},  alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "&Info"), 0, 0},

        // Bottom left: the flow types over an empty page control.
        {CONTROL(GroupBox7),    "",          {0, 417, 233, 156}, alLeft,   QT_TRANSLATE_NOOP("tensim::TForm1", "Tipo de flujo"), 0, 0},
        {CONTROL(PageControl2), "GroupBox7", {2, 15, 229, 139},  alClient, "", 0, 0},
        {CONTROL(RadioButton1), "GroupBox7", {16, 24, 145, 17},  alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Cizalla simple"), Checked, 0},
        {CONTROL(RadioButton2), "GroupBox7", {16, 48, 145, 17},  alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Cizalla pura"), 0, 0},
        {CONTROL(RadioButton3), "GroupBox7", {16, 72, 145, 17},  alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Cizalla sub simple"), 0, 0},
        {CONTROL(RadioButton4), "GroupBox7", {16, 96, 145, 17},  alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Cizalla general"), 0, 0},
        {CONTROL(RadioButton5), "GroupBox7", {16, 120, 201, 17}, alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Rotación cuerpo rígido (°)"), 0, 0},
        {CONTROL(NxSpinEditRotation), "GroupBox7", {168, 112, 49, 21}, alNone, "", Hidden, 0},

        // Bottom middle: the charts, two at a time.
        {CONTROL(Panel1), "",       {233, 417, 326, 156}, alClient, "", 0, 0},
        {CONTROL(Chart1), "Panel1", {1, 1, 150, 154},     alLeft,   "", 0, 0},
        {CONTROL(Chart2), "Panel1", {173, 1, 152, 154},   alRight,  "", 0, 0},
        {CONTROL(Chart3), "Panel1", {1, 1, 150, 154},     alLeft,   "", Hidden, 0},
        {CONTROL(Chart4), "Panel1", {173, 1, 152, 154},   alRight,  "", Hidden, 0},
        {CONTROL(Chart5), "Panel1", {1, 1, 150, 154},     alLeft,   "", Hidden, 0},
        {CONTROL(Chart6), "Panel1", {173, 1, 152, 154},   alRight,  "", Hidden, 0},

        // Bottom right: which charts are shown.
        {CONTROL(GroupBox8),        "",             {559, 417, 233, 156}, alRight,  QT_TRANSLATE_NOOP("tensim::TForm1", "Visualizar"), 0, 0},
        {CONTROL(PageControl1),     "GroupBox8",    {2, 15, 229, 139},    alClient, "", 0, 11},
        {CONTROL(TabSheet1),        "PageControl1", {0, 0, 221, 110},     alClient, QT_TRANSLATE_NOOP("tensim::TForm1", "Gráficos"), 0, 0},
        {CONTROL(chbxExtRaxial),    "TabSheet1",    {8, 12, 205, 17},     alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Elongación vs. Razón Axial"), Checked, 0},
        {CONTROL(chbxOrientRaxial), "TabSheet1",    {8, 40, 205, 17},     alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Inclinación elipse vs. Razón Axial"), Checked, 0},
        {CONTROL(TabSheet4),        "PageControl1", {0, 0, 221, 110},     alClient, QT_TRANSLATE_NOOP("tensim::TForm1", "C. Mohr"), 0, 0},
        {CONTROL(chbxMohrFlujo),    "TabSheet4",    {8, 12, 205, 17},     alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Círculo de Mohr flujo"), Checked, 0},
        {CONTROL(chbxMohrDef),      "TabSheet4",    {8, 40, 205, 17},     alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Círculo de Mohr estado deformado"), Checked, 0},
        {CONTROL(TabSheet5),        "PageControl1", {0, 0, 221, 110},     alClient, "Rf/φ", 0, 0},
        {CONTROL(chbxRfPhi),        "TabSheet5",    {8, 8, 205, 17},      alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Rf vs. φ"), Checked, 0},
        {CONTROL(chbxPolar),        "TabSheet5",    {8, 30, 205, 17},     alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Polar ln Rf vs. 2φ"), Checked, 0},
        {CONTROL(bitbtnLoadMarkers), "TabSheet5",   {8, 56, 117, 25},     alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Cargar marcadores…"), 0, 0},
        {CONTROL(bitbtnNewMarkers),  "TabSheet5",   {130, 56, 85, 25},    alNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Nueva población"), 0, 0},
    };
    // clang-format on
#undef CONTROL

    std::map<QString, QWidget*> made;
    for (const TControlRow& row : rows) {
        QWidget* parent = *row.Parent ? made.at(row.Parent) : Form;
        QWidget* control = row.Create(parent);
        control->setObjectName(row.Name);
        if (row.FontPixels > 0) {
            QFont font = control->font();
            font.setPixelSize(row.FontPixels);
            control->setFont(font);
        }
        const QString caption = tr(row.Caption);
        if (auto* pages = qobject_cast<QTabWidget*>(parent))
            pages->addTab(control, caption);
        else
            SetCaption(control, caption);
        QRect bounds = row.Bounds;
        if (auto* text = qobject_cast<TStaticText*>(control)) {
            text->SetAutoSize(bounds.width() == 0 || bounds.height() == 0);
            if (text->AutoSize()) bounds.setSize(text->size());
        }
        SetBounds(control, bounds.x(), bounds.y(), bounds.width(), bounds.height());
        if (row.Align != alNone) SetAlign(control, row.Align);
        if (row.State & Disabled) control->setEnabled(false);
        if (row.State & Hidden) control->hide();
        if (auto* button = qobject_cast<QAbstractButton*>(control))
            button->setChecked(row.State & Checked);
        InsertComponent(Form, control);
        made[row.Name] = control;
    }
}

void TForm1Controls::SetUpCharts()
{
    for (TChart* chart : {Chart1, Chart2, Chart3, Chart4, Chart5, Chart6}) {
        chart->BackWallBrush = TChartBrush{clWhite, Qt::NoBrush};
        chart->Title.Font = TChartFont{"Arial", 11, clBlack};
    }
    Chart1->Title.Text = QStringList{tr("Elongación vs. Razón axial")};
    Chart2->Title.Text = QStringList{tr("Inclinación de elipse vs. "), tr("Razón axial")};
    Chart2->BottomAxis.Title.Caption = tr("Razón axial");
    Chart2->LeftAxis.Title.Caption = tr("Ángulo de inclinación(°)");
    Chart3->Title.Text = QStringList{tr("Círculo de Mohr"), tr("estado deformado")};
    Chart3->BottomAxis.Axis.Color = clRed;
    Chart3->LeftAxis.Axis.Color = clRed;
    Chart3->BottomAxis.PositionPercent = 50;
    Chart3->BottomAxis.Title = TChartAxisTitle{"1/l", 0, TChartFont{"Symbol", 11, clBlack}};
    Chart3->LeftAxis.Title = TChartAxisTitle{"g/l", 0, TChartFont{"Symbol", 11, clBlack}};
    Chart4->Title.Text = QStringList{tr("Círculo de Mohr"), tr("Flujo")};
    Chart4->BottomAxis.Visible = false;
    Chart4->LeftAxis.Visible = false;
    Chart4->LeftAxis.GridCentered = true;
    // The Mohr circles show as circles.
    Chart3->EqualScale = true;
    Chart4->EqualScale = true;
    // phi runs over every orientation, from -90 to 90 degrees.
    Chart5->Title.Text = QStringList{tr("Rf vs. φ")};
    Chart5->BottomAxis.Title.Caption = "φ (°)";
    Chart5->LeftAxis.Title.Caption = "Rf";
    Chart5->BottomAxis.SetAutomatic(false);
    Chart5->BottomAxis.SetMinimum(-90);
    Chart5->BottomAxis.SetMaximum(90);
    Chart5->BottomAxis.Increment = 45;
    // ln Rf at 2 phi about the origin, in equal units.
    Chart6->Title.Text = QStringList{tr("ln Rf vs. 2φ (polar)")};
    Chart6->BottomAxis.PositionPercent = 50;
    Chart6->LeftAxis.PositionPercent = 50;
    Chart6->EqualScale = true;

    struct TSeriesRow {
        TLineSeries*& Field;
        const char* Name;
        TChart* Chart;
        TColor Color;
        bool Pointer;
        TSeriesPointerStyle Style;
        TChartListOrder Order;
        const char* Title; // what the series holds, the name of its rows in CSV
    };
    // clang-format off
    const TSeriesRow rows[] = {
        {Series1, "Series1", Chart1, 0x408000, true, psRectangle, loAscending, QT_TRANSLATE_NOOP("tensim::TForm1", "Lado 1")},
        {Series2, "Series2", Chart1, clBlue, true, psRectangle, loAscending, QT_TRANSLATE_NOOP("tensim::TForm1", "Lado 2")},
        {Series3, "Series3", Chart1, clRed, true, psRectangle, loAscending, QT_TRANSLATE_NOOP("tensim::TForm1", "Lado 3")},
        {Series5, "Series5", Chart1, clGreen, false, psRectangle, loAscending, QT_TRANSLATE_NOOP("tensim::TForm1", "MohrFlujo")},
        {Series4, "Series4", Chart2, clBlack, true, psCircle, loAscending, QT_TRANSLATE_NOOP("tensim::TForm1", "Inclinación")},
        {Series6, "Series6", Chart3, clBlue, false, psRectangle, loNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Círculo de Mohr (estado deformado)")},
        {Series7, "Series7", Chart4, clRed, false, psRectangle, loNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Círculo de Mohr (flujo)")},
        {Series8, "Series8", Chart4, clGreen, false, psRectangle, loAscending, QT_TRANSLATE_NOOP("tensim::TForm1", "Eje del círculo de flujo")},
        {Series9, "Series9", Chart5, clBlue, true, psCircle, loNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Marcadores (φ, Rf)")},
        {Series10, "Series10", Chart5, clRed, true, psRectangle, loNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Elipse de deformación (θ, Rs)")},
        {Series11, "Series11", Chart6, clBlue, true, psCircle, loNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Marcadores (ln Rf cos 2φ, ln Rf sin 2φ)")},
        {Series12, "Series12", Chart6, clRed, true, psRectangle, loNone, QT_TRANSLATE_NOOP("tensim::TForm1", "Elipse de deformación (ln Rs cos 2θ, ln Rs sin 2θ)")},
    };
    // clang-format on
    for (const TSeriesRow& row : rows) {
        row.Field = row.Chart->AddSeries<TLineSeries>();
        row.Field->setObjectName(row.Name);
        row.Field->SeriesColor = row.Color;
        row.Field->XValues.Order = row.Order;
        row.Field->Pointer.Visible = row.Pointer;
        row.Field->Pointer.Style = row.Style;
        row.Field->Pointer.HorizSize = 3;
        row.Field->Pointer.VertSize = 3;
        row.Field->Title = tr(row.Title);
    }
    // The Rf/phi charts are clouds of points, not lines.
    for (TLineSeries* cloud : {Series9, Series10, Series11, Series12}) {
        cloud->LinePen.Visible = false;
        cloud->Pointer.HorizSize = 2;
        cloud->Pointer.VertSize = 2;
    }
    for (TLineSeries* own : {Series10, Series12}) {
        own->Pointer.HorizSize = 3;
        own->Pointer.VertSize = 3;
    }
}

std::array<TNxNumEdit*, 4> TForm1Controls::FlowEdits() const
{
    return {NxNumEdit1, NxNumEdit2, NxNumEdit3, NxNumEdit4};
}

std::array<TTrackBar*, 4> TForm1Controls::TrackBars() const
{
    return {TrackBar1, TrackBar2, TrackBar3, TrackBar4};
}

std::array<TNxNumEdit*, 4> TForm1Controls::FiniteEdits() const
{
    return {NxNumEdit5, NxNumEdit6, NxNumEdit7, NxNumEdit8};
}

std::array<QRadioButton*, 5> TForm1Controls::FlowTypeButtons() const
{
    return {RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5};
}

int TForm1Controls::CheckedFlowType() const
{
    const std::array<QRadioButton*, 5> radios = FlowTypeButtons();
    for (int i = 0; i < 5; ++i)
        if (radios[i]->isChecked()) return i;
    return 0;
}

} // namespace tensim
