#pragma once
// The main window's form, apart from its behaviour the way a designer form
// is: every control, the charts' series and the form resizer under their
// names, made from one table of controls and one of series.

#include <QCoreApplication>

#include <array>

class QCheckBox;
class QFrame;
class QGroupBox;
class QRadioButton;
class QToolButton;
class QWidget;

namespace tensim {

class TChart;
class TFormResizer;
class TLineSeries;
class TMathImage;
class TNxNumEdit;
class TNxSpinEdit;
class TPageControl;
class TStaticText;
class TTrackBar;

struct TForm1Controls {
    // The form's texts are the window's, in TForm1's translation context.
    Q_DECLARE_TR_FUNCTIONS(tensim::TForm1)

public:
    // ---- the controls, in the order the form makes them

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
    QGroupBox* GroupBox10 = nullptr; // "Estado de deformación": the readout
    TStaticText* StaticTextRs = nullptr;
    TStaticText* StaticTextTheta = nullptr;
    TStaticText* StaticTextArea = nullptr;
    TStaticText* StaticTextWk = nullptr;

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
    QCheckBox* chbxMarkers = nullptr;
    QCheckBox* chbxVelFld = nullptr;
    QCheckBox* chbxElongFields = nullptr;
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
    TChart* Chart5 = nullptr; // Rf against phi
    TChart* Chart6 = nullptr; // polar ln Rf against 2 phi

    QGroupBox* GroupBox8 = nullptr; // bottom right: "Visualizar"
    TPageControl* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QCheckBox* chbxExtRaxial = nullptr;
    QCheckBox* chbxOrientRaxial = nullptr;
    QWidget* TabSheet4 = nullptr;
    QCheckBox* chbxMohrFlujo = nullptr;
    QCheckBox* chbxMohrDef = nullptr;
    QWidget* TabSheet5 = nullptr; // "Rf/φ"
    QCheckBox* chbxRfPhi = nullptr;
    QCheckBox* chbxPolar = nullptr;
    QToolButton* bitbtnLoadMarkers = nullptr;
    QToolButton* bitbtnNewMarkers = nullptr;

    // The charts' series, owned by their charts.
    TLineSeries* Series1 = nullptr;
    TLineSeries* Series2 = nullptr;
    TLineSeries* Series3 = nullptr;
    TLineSeries* Series5 = nullptr;
    TLineSeries* Series4 = nullptr;
    TLineSeries* Series6 = nullptr;
    TLineSeries* Series7 = nullptr;
    TLineSeries* Series8 = nullptr;
    TLineSeries* Series9 = nullptr;  // the markers' (phi, Rf)
    TLineSeries* Series10 = nullptr; // the strain ellipse's (theta, Rs)
    TLineSeries* Series11 = nullptr; // the markers' polar points
    TLineSeries* Series12 = nullptr; // the strain ellipse's polar point

    TFormResizer* FormResizer1 = nullptr;

    // The four flow-tensor edits and track bars, (1,1), (1,2), (2,1), (2,2).
    std::array<TNxNumEdit*, 4> FlowEdits() const;
    std::array<TTrackBar*, 4> TrackBars() const;
    // The four finite-tensor edits.
    std::array<TNxNumEdit*, 4> FiniteEdits() const;
    // The five flow types' radio buttons, in their order.
    std::array<QRadioButton*, 5> FlowTypeButtons() const;
    // The index of the checked one; none checked counts as the first.
    int CheckedFlowType() const;

protected:
    // Makes the form resizer, then every control of the table as a child of
    // Form in the table's order, which is also the order in which the form
    // resizer records them.
    void CreateControls(QWidget* Form);
    // The charts' titles and axes, and their series from the series table.
    void SetUpCharts();
};

} // namespace tensim
