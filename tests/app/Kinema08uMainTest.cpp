#include "app/Kinema08uMain.h"

#include "app/Application.h"
#include "app/FlowModel.h"
#include "controls/Chart.h"
#include "controls/Easysize.h"
#include "controls/NxNumEdit.h"
#include "controls/NxSpinEdit.h"
#include "controls/StdCtrls.h"
#include "drawing/MathImge.h"
#include "math/Scalars.h"
#include "math/Vectors.h"
#include "tests/QtPrint.h"
#include "tests/app/WindowFixture.h"
#include "tests/drawing/SurfaceHelpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QMenuBar>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>

namespace tensim {
namespace {

// The main window's tests, with a few checks of their own.
class MainWindow : public WindowTest {
protected:
    // Each shape's check box, clicked off, changes the finite panel; clicked
    // on again, it restores the picture bit for bit.
    void ExpectEachBoxErasesAndRedrawsBitForBit()
    {
        const QImage start = form->MathImage1->Bitmap().copy();
        for (QCheckBox* box :
             {form->chbxEllipse, form->chbxAxes, form->chbxTri, form->chbxVelFld, form->chkbxAp,
              form->chkbxISA, form->chbxMarkers, form->chbxElongFields}) {
            Click(box);
            EXPECT_NE(form->MathImage1->Bitmap(), start) << box->objectName().toStdString();
            Click(box);
            EXPECT_EQ(form->MathImage1->Bitmap(), start) << box->objectName().toStdString();
        }
    }

    // The black figures of the panels at the start, 2 x 2 units in the
    // finite panel (the unit circle) and 1 x 1 in the incremental one (the
    // unit square's far edges and inscribed circle), in the picture's pixels.
    void ExpectRoundCircles()
    {
        for (TMathImage* panel : {form->MathImage1, form->MathImage2}) {
            const QRect box = DarkExtent(*panel);
            EXPECT_LE(std::abs(box.width() - box.height()), 1) << panel->width();
            EXPECT_NEAR(box.width(), (panel == form->MathImage1 ? 2 : 1) * panel->Mapping().Sx(),
                        2);
        }
    }
};

using Pairs = std::vector<std::pair<double, double>>;

// ---- start-up and input ----------------------------------------------------

TEST_F(MainWindow, StartsWithTheIdentityAndOnlyTheShearEntryOpen)
{
    EXPECT_EQ(Form1, form.get());
    EXPECT_EQ(form->windowTitle(), "Flujo y deformación");
    // The menu bar lies above the client area, which keeps its design size.
    EXPECT_EQ(form->contentsRect().size(), QSize(792, 573));
    EXPECT_EQ(form->GroupBox1->y(), form->MainMenu1->height());
    EXPECT_EQ(Texts(form->FlowEdits()), QStringList({"1.0000", "0.0000", "0.0000", "1.0000"}));
    EXPECT_EQ(Texts(form->FiniteEdits()), QStringList({"1.0000", "0.0000", "0.0000", "1.0000"}));
    const bool open[4] = {false, true, false, false};
    const int positions[4] = {10, 0, 0, 10};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(form->FlowEdits()[i]->isEnabled(), open[i]) << i;
        EXPECT_EQ(form->TrackBars()[i]->isEnabled(), open[i]) << i;
        EXPECT_EQ(form->TrackBars()[i]->Position(), positions[i]) << i;
        EXPECT_TRUE(form->FiniteEdits()[i]->isReadOnly());
    }
    EXPECT_TRUE(form->StaticText3->isHidden());
    EXPECT_TRUE(form->NxSpinEditRotation->isHidden());
    EXPECT_TRUE(form->RadioButton1->isChecked());
    EXPECT_EQ(form->NxSpinEditNoIncrements->Value(), 1);

    const TMathImage& finite = *form->MathImage1;
    EXPECT_EQ(std::vector<double>(
                  {finite.d2WorldX1(), finite.d2WorldY1(), finite.d2WorldX2(), finite.d2WorldY2()}),
              std::vector<double>({-2, -2, 2, 2}));
    const TMathImage& incremental = *form->MathImage2;
    EXPECT_EQ(std::vector<double>({incremental.d2WorldX1(), incremental.d2WorldY1(),
                                   incremental.d2WorldX2(), incremental.d2WorldY2()}),
              std::vector<double>({-1, -1, 2, 2}));
    // Both panels fill their boxes.
    EXPECT_EQ(finite.geometry(), form->GroupBox6->contentsRect());
    EXPECT_EQ(incremental.geometry(), form->GroupBox5->contentsRect());
    EXPECT_TRUE(Model().FEllipse->Drawn());
    EXPECT_TRUE(Model().FTriangle->Drawn());
    EXPECT_TRUE(Model().FUnitSquare->Drawn());
    EXPECT_FALSE(Model().FFlowField->Drawn());
    EXPECT_EQ(Model().FFlowField->Count(), 0);

    for (const TLineSeries* s : {form->Series1, form->Series2, form->Series3})
        EXPECT_EQ(Points(s), Pairs({{1, 1}}));
    for (const TLineSeries* s :
         {form->Series4, form->Series5, form->Series6, form->Series7, form->Series8})
        EXPECT_EQ(s->Count(), 0);
    EXPECT_TRUE(form->Chart1->isVisible());
    EXPECT_TRUE(form->Chart2->isVisible());
    EXPECT_FALSE(form->Chart3->isVisible());
    EXPECT_FALSE(form->Chart4->isVisible());
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(HelpFile(), QCoreApplication::applicationDirPath() + "/Tensim2.1.qch");
}

TEST_F(MainWindow, TrackBarSetsItsEditAndShearsTheUnitSquareAtOnce)
{
    const QImage finite = form->MathImage1->Bitmap().copy();
    const QImage incremental = form->MathImage2->Bitmap().copy();
    Slide(form->TrackBar2, 5);
    EXPECT_EQ(form->NxNumEdit2->text(), "0.5000");
    // Vertex 3 of the unit square is L (0, 1) = (e12, e22).
    const TTransformVector& v3 = Model().FUnitSquare->GetPoint(3)->Position();
    EXPECT_EQ(v3.Elem[1], 0.5);
    EXPECT_EQ(v3.Elem[2], 1.0);
    EXPECT_NE(form->MathImage2->Bitmap(), incremental);
    EXPECT_EQ(form->MathImage1->Bitmap(), finite); // nothing until "Deformar"
    Slide(form->TrackBar2, -13);
    EXPECT_EQ(form->NxNumEdit2->text(), "-1.3000");
}

// A value typed or pasted into an edit stays as it is and moves the track
// bar to its nearest tenth, rounded halves to even.
TEST_F(MainWindow, TypedValueStaysAndMovesTheTrackBarToItsTenth)
{
    struct Row {
        const char* Typed;
        const char* Shown;
        int Position;
        bool Pasted;
    };
    const Row rows[] = {{"0.35", "0.3500", 4, false},
                        {"0.25", "0.2500", 2, false},
                        {"-0.4", "-0.4000", -4, false}, // over a selection, key by key
                        {"3.5", "3.5000", 20, true}};
    for (const Row& row : rows) {
        Slide(form->TrackBar2, 5);
        row.Pasted ? Paste(form->NxNumEdit2, row.Typed) : Type(form->NxNumEdit2, row.Typed);
        EXPECT_EQ(form->NxNumEdit2->text(), row.Shown);
        EXPECT_EQ(form->TrackBar2->Position(), row.Position) << row.Typed;
        EXPECT_EQ(Model().FUnitSquare->GetPoint(3)->Position().Elem[1],
                  static_cast<double>(form->NxNumEdit2->Value()));
    }
    // Leaving 3.5 is reported.
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Value out of range!"});
}

TEST_F(MainWindow, PureShearKeepsTheReciprocalInTheLowerEntry)
{
    Click(form->RadioButton2);
    EXPECT_TRUE(form->NxNumEdit1->isEnabled());
    EXPECT_FALSE(form->NxNumEdit2->isEnabled());
    EXPECT_FALSE(form->NxNumEdit4->isEnabled());
    struct Row {
        int Position;
        const char* E11;
        const char* E22;
        int Position4;
    };
    const Row rows[] = {{20, "2.0000", "0.5000", 5},
                        {15, "1.5000", "0.6667", 7},
                        {4, "0.4000", "2.5000", 20},
                        {-5, "-0.5000", "-2.0000", -20}};
    for (const Row& row : rows) {
        Slide(form->TrackBar1, row.Position);
        EXPECT_EQ(form->NxNumEdit1->text(), row.E11);
        EXPECT_EQ(form->NxNumEdit4->text(), row.E22) << row.E11;
        EXPECT_EQ(form->TrackBar4->Position(), row.Position4) << row.E11;
    }
    // The reciprocal follows a typed value.
    Type(form->NxNumEdit1, "0.35");
    EXPECT_EQ(form->NxNumEdit4->text(), "2.8571");
    EXPECT_EQ(form->TrackBar4->Position(), 20);
    Slide(form->TrackBar1, -5);
    // A (1,1) entry of 0 leaves (2,2) as the last step before it set it:
    // the slide from -0.5 passes -0.1.
    Slide(form->TrackBar1, 0);
    EXPECT_EQ(form->NxNumEdit1->text(), "0.0000");
    EXPECT_EQ(form->NxNumEdit4->text(), "-10.0000");
    EXPECT_EQ(form->TrackBar4->Position(), -20);
}

TEST_F(MainWindow, RigidRotationSetsTheRotationTensor)
{
    Click(form->RadioButton5);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(form->FlowEdits()[i]->isEnabled());
        EXPECT_TRUE(form->TrackBars()[i]->isHidden());
    }
    EXPECT_FALSE(form->NxSpinEditRotation->isHidden());
    EXPECT_EQ(form->NxSpinEditRotation->text(), "0");
    EXPECT_EQ(Texts(form->FlowEdits()), QStringList({"1.0000", "0.0000", "0.0000", "1.0000"}));
    struct Row {
        const char* Degrees;
        QStringList Entries;
    };
    const Row rows[] = {{"90", {"0.0000", "-1.0000", "1.0000", "0.0000"}},
                        {"30", {"0.8660", "-0.5000", "0.5000", "0.8660"}},
                        {"-45", {"0.7071", "0.7071", "-0.7071", "0.7071"}},
                        {"180", {"-1.0000", "0.0000", "0.0000", "-1.0000"}}};
    // The hidden track bars keep their positions and do not round the
    // entries to one decimal.
    for (const Row& row : rows) {
        Type(form->NxSpinEditRotation, row.Degrees);
        EXPECT_EQ(Texts(form->FlowEdits()), row.Entries) << row.Degrees;
        EXPECT_EQ(form->TrackBar1->Position(), 10);
        EXPECT_EQ(form->TrackBar2->Position(), 0);
    }
    // The spin edit's arrows step by 5 degrees.
    QTest::keyClick(form->NxSpinEditRotation, Qt::Key_Up);
    EXPECT_EQ(form->NxSpinEditRotation->text(), "185");
    // Back to a shear: the track bars return with the positions they had.
    Click(form->RadioButton1);
    EXPECT_TRUE(form->NxSpinEditRotation->isHidden());
    EXPECT_FALSE(form->TrackBar2->isHidden());
    EXPECT_EQ(Texts(form->FlowEdits()), QStringList({"1.0000", "0.0000", "0.0000", "1.0000"}));
}

// Every preset sets which entries are open and starts again from the
// identity, as "Reestablecer" does.
TEST_F(MainWindow, EachPresetResets)
{
    struct Row {
        QRadioButton* TForm1::*Button;
        std::array<bool, 4> Open;
    };
    const Row rows[] = {{&TForm1::RadioButton2, {true, false, false, false}},
                        {&TForm1::RadioButton3, {true, true, false, false}},
                        {&TForm1::RadioButton4, {true, true, true, true}},
                        {&TForm1::RadioButton5, {false, false, false, false}},
                        {&TForm1::RadioButton1, {false, true, false, false}}};
    for (const Row& row : rows) {
        // Deform a little with whatever entry is open.
        for (int i = 0; i < 4; ++i)
            if (form->TrackBars()[i]->isEnabled() && !form->TrackBars()[i]->isHidden())
                Slide(form->TrackBars()[i], 7);
        Deform(2);
        ASSERT_FALSE(form->StaticText3->isHidden());
        Click(form.get()->*row.Button);
        const QString name = (form.get()->*row.Button)->objectName();
        EXPECT_EQ(Texts(form->FlowEdits()), QStringList({"1.0000", "0.0000", "0.0000", "1.0000"}))
            << name.toStdString();
        EXPECT_EQ(Texts(form->FiniteEdits()),
                  QStringList({"1.0000", "0.0000", "0.0000", "1.0000"}));
        EXPECT_TRUE(form->StaticText3->isHidden());
        EXPECT_EQ(Model().FIncrementCount, 0);
        EXPECT_EQ(Points(form->Series1), Pairs({{1, 1}}));
        EXPECT_EQ(form->Series4->Count(), 0);
        EXPECT_EQ(Model().FFlowField->Count(), 0);
        EXPECT_EQ(form->MathImage1->d2WorldX2(), 2.0);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(form->FlowEdits()[i]->isEnabled(), row.Open[i]) << name.toStdString() << i;
    }
    EXPECT_TRUE(messages.messages.empty());
}

// ---- Deformar and Restaurar -----------------------------------------------

TEST_F(MainWindow, IdentityDeformsNothingButCountsAndPlots)
{
    Deform(3);
    EXPECT_EQ(pauses, 3);
    EXPECT_EQ(Texts(form->FiniteEdits()), QStringList({"1.0000", "0.0000", "0.0000", "1.0000"}));
    EXPECT_EQ(form->StaticText3->Caption(), "3");
    EXPECT_FALSE(form->StaticText3->isHidden());
    // A circle reports the inclination 90 degrees.
    for (const TLineSeries* s : {form->Series1, form->Series2, form->Series3})
        EXPECT_EQ(Points(s), Pairs(4, {1, 1}));
    EXPECT_EQ(Points(form->Series4), Pairs(3, {1, 90}));
    // The undeformed state's Mohr circle is the point (1, 0).
    EXPECT_EQ(Points(form->Series6), Pairs(360, {1, 0}));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(MainWindow, SimpleShearShowsThePowersOfTheFlowTensor)
{
    Slide(form->TrackBar2, 10);
    struct Row {
        int Count;
        QStringList Finite;
        const char* Exponent;
    };
    const Row rows[] = {{1, {"1.0000", "1.0000", "0.0000", "1.0000"}, "1"},
                        {1, {"1.0000", "2.0000", "0.0000", "1.0000"}, "2"},
                        {3, {"1.0000", "5.0000", "0.0000", "1.0000"}, "5"}};
    for (const Row& row : rows) {
        Deform(row.Count);
        EXPECT_EQ(Texts(form->FiniteEdits()), row.Finite) << row.Exponent;
        EXPECT_EQ(form->StaticText3->Caption(), row.Exponent);
    }
    // The triangle's apex (0, 1) moved to (5, 1); the base stayed on y = -0.5.
    const auto* side1 = static_cast<const TLine2D*>(Model().FTriangle->GetPoint(1));
    EXPECT_EQ(side1->Position().Elem[1], 5.0);
    EXPECT_EQ(side1->Position().Elem[2], 1.0);
    // The flow, spin and stretching tensors of the last click.
    EXPECT_EQ(Model().FFlowTensor.Elem[1][2], 1.0);
    EXPECT_EQ(Model().FSpinTensor.Elem[1][2], 0.5);
    EXPECT_EQ(Model().FSpinTensor.Elem[2][1], -0.5);
    EXPECT_EQ(Model().FStretchingTensor.Elem[1][2], 0.5);
    EXPECT_EQ(Model().FStretchingTensor.Elem[2][1], 0.5);
}

// A count of 0 or less applies nothing and leaves the exponent as it is; a
// count above the limit applies the limit. The arrows, the Mohr circles and
// the finite tensor are updated in every case.
TEST_F(MainWindow, IncrementCountsAreHeldToTheLimit)
{
    Slide(form->TrackBar2, 5);
    Deform(2);
    struct Row {
        const char* Typed;
        int Applied;
    };
    const Row rows[] = {{"0", 0}, {"-2", 0}, {"5000", MaxIncrementsPerClick}};
    int total = 2;
    for (const Row& row : rows) {
        form->Series7->ClearPoints();
        Model().FApophyses->GetPoint(1)->SetEnds(*form->MathImage1, 0, 0, 0, 0);
        const int before = pauses;
        // The text as typed, before leaving the field would hold it to 0..1000.
        form->NxSpinEditNoIncrements->setText(row.Typed);
        Click(form->bitbtnDef);
        total += row.Applied;
        EXPECT_EQ(pauses - before, row.Applied) << row.Typed;
        EXPECT_EQ(Model().FIncrementCount, total) << row.Typed;
        EXPECT_EQ(form->StaticText3->Caption(), QString::number(total)) << row.Typed;
        EXPECT_EQ(form->Series1->Count(), 1 + total) << row.Typed;
        EXPECT_EQ(form->Series7->Count(), 360) << row.Typed;
        EXPECT_EQ(Model().FApophyses->GetPoint(1)->Length(), 1.0) << row.Typed;
        EXPECT_EQ(form->NxNumEdit6->text(), QString::number(0.5 * total, 'f', 4)) << row.Typed;
    }
    // Leaving the field holds the count to its range.
    Type(form->NxSpinEditNoIncrements, "5000");
    EXPECT_EQ(form->NxSpinEditNoIncrements->text(), "1000");
    Type(form->NxSpinEditNoIncrements, "-2");
    EXPECT_EQ(form->NxSpinEditNoIncrements->text(), "0");
    EXPECT_TRUE(messages.messages.empty());
}

// A run of increments can be stopped: between increments the window
// repaints and takes Esc or a click on "Detener"; other input waits out the
// run. The stopped run leaves everything as a shorter run would.
TEST_F(MainWindow, ARunStopsOnEscOrDetenerAndIgnoresOtherInput)
{
    Slide(form->TrackBar2, 5);
    for (const int stopAt : {3, 5}) {
        Click(form->bitbtnResta);
        int paused = 0;
        OnPause = [&] {
            EXPECT_EQ(form->bitbtnDef->text(), "&Detener");
            EXPECT_TRUE(Model().FUnitSquare->Drawn()); // the incremental panel keeps its square
            Click(form->bitbtnResta);                  // ignored
            if (++paused != stopAt) return;
            if (stopAt == 3)
                QTest::keyClick(form->NxNumEdit2, Qt::Key_Escape);
            else
                Click(form->bitbtnDef);
        };
        Deform(20);
        OnPause = {};
        EXPECT_EQ(paused, stopAt);
        EXPECT_EQ(form->bitbtnDef->text(), "&Deformar");
        EXPECT_EQ(form->StaticText3->Caption(), QString::number(stopAt));
        EXPECT_EQ(form->NxNumEdit6->text(), QString::number(0.5 * stopAt, 'f', 4));
    }
    // Closed during a run, the window stops, ends the click and then closes.
    Click(form->bitbtnResta);
    OnPause = [&] { form->close(); };
    Deform(20);
    EXPECT_EQ(Model().FIncrementCount, 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }, 5000));
    EXPECT_TRUE(messages.messages.empty());
}

// Enter in the count or in a flow-tensor edit presses "Deformar".
TEST_F(MainWindow, EnterDeforms)
{
    for (QLineEdit* field :
         std::initializer_list<QLineEdit*>{form->NxSpinEditNoIncrements, form->NxNumEdit2}) {
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), field); // back in the field
    }
    EXPECT_EQ(Model().FIncrementCount, 2);
}

// Pure shear with (1,1) = 2: the axial ratio is 4^n exactly, also once the
// minor stretch is below 1e-3, and the inclination stays 0.
TEST_F(MainWindow, PureShearChartsTheTrueAxialRatio)
{
    Click(form->RadioButton2);
    Slide(form->TrackBar1, 20);
    Deform(12);
    ASSERT_EQ(form->Series4->Count(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(form->Series4->XValues.Value(i), std::pow(4.0, i + 1)) << i;
        EXPECT_EQ(form->Series4->YValues.Value(i), 0.0) << i;
    }
    for (const TLineSeries* s : {form->Series1, form->Series2, form->Series3})
        for (int i = 1; i < s->Count(); ++i)
            EXPECT_GT(s->XValues.Value(i), s->XValues.Value(i - 1));
    EXPECT_EQ(Texts(form->FiniteEdits()), QStringList({"4096.0000", "0.0000", "0.0000", "0.0002"}));
}

TEST_F(MainWindow, RestoreReturnsToTheUndeformedStateAndKeepsTheFlow)
{
    Click(form->RadioButton4);
    Slide(form->TrackBar1, 12);
    Slide(form->TrackBar2, 3);
    Slide(form->TrackBar3, -2);
    Deform(3);
    Deform(2);
    const QStringList flow = Texts(form->FlowEdits());
    const QImage before = form->MathImage1->Bitmap().copy();
    Click(form->bitbtnResta);
    EXPECT_EQ(Texts(form->FlowEdits()), flow);
    EXPECT_EQ(Model().FFlowTensor.Elem[1][1], 1.2);
    EXPECT_EQ(Texts(form->FiniteEdits()), QStringList({"1.0000", "0.0000", "0.0000", "1.0000"}));
    EXPECT_TRUE(form->StaticText3->isHidden());
    EXPECT_EQ(Model().FIncrementCount, 0);
    EXPECT_EQ(Model().FEllipse->AxialRatio(), 1.0);
    EXPECT_TRUE(IsIdentityMatrix(Model().FEllipse->Strain().Deformation));
    const std::array<TWorldSegment, 3> start = StartTriangle();
    for (int i = 0; i < 3; ++i) {
        const auto* side = static_cast<const TLine2D*>(Model().FTriangle->GetPoint(i + 1));
        EXPECT_EQ(side->Position().Elem[1], start[i].X1);
        EXPECT_EQ(side->EndPoint().Elem[2], start[i].Y2);
    }
    for (const TLineSeries* s : {form->Series1, form->Series2, form->Series3})
        EXPECT_EQ(Points(s), Pairs({{1, 1}}));
    for (const TLineSeries* s : {form->Series4, form->Series6, form->Series7})
        EXPECT_EQ(s->Count(), 0);
    EXPECT_EQ(form->Series8->Count(), 4); // the flow's axis line is kept
    EXPECT_TRUE(form->Chart1->BottomAxis.Automatic());
    EXPECT_TRUE(form->Chart2->LeftAxis.Automatic());
    EXPECT_TRUE(form->Chart3->LeftAxis.Automatic());
    EXPECT_FALSE(form->Chart3->BottomAxis.Automatic());
    // The window stays as grown, and the shapes were redrawn in place.
    EXPECT_GT(form->MathImage1->d2WorldX2(), 2.0);
    EXPECT_NE(form->MathImage1->Bitmap(), before);
}

// ---- charts ----------------------------------------------------------------

// Counts the pixels of a colour in a picture.
int CountPixels(const QImage& Picture, TColor Color)
{
    int n = 0;
    for (int y = 0; y < Picture.height(); ++y)
        for (int x = 0; x < Picture.width(); ++x)
            n += Picture.pixel(x, y) == ColorToRgb(Color);
    return n;
}

TEST_F(MainWindow, FlowMohrCircleOfSimpleShear)
{
    Slide(form->TrackBar2, 5);
    Deform(0);
    // Centre (0.25, 1), radius 0.25: it touches the vertical axis at (0, 1).
    const Pairs circle = Points(form->Series7);
    ASSERT_EQ(circle.size(), 360u);
    EXPECT_EQ(circle[0], std::make_pair(0.5, 1.0));
    EXPECT_NEAR(circle[90].first, 0.25, 1e-16);
    EXPECT_EQ(circle[90].second, 1.25);
    EXPECT_EQ(circle[180].first, 0.0);
    for (const auto& [x, y] : circle)
        EXPECT_NEAR(std::hypot(x - 0.25, y - 1), 0.25, 1e-15);
    EXPECT_EQ(Points(form->Series8), Pairs({{0, 0}, {0, std::sqrt(1.0625) + 0.25}}));
    // The construction line from A = (-e21, e11) to B = (e12, e22) is drawn on
    // the incremental panel until its next redraw.
    EXPECT_GT(CountPixels(form->MathImage2->Bitmap(), clRed), 10);
    Model().RedrawPanels();
    EXPECT_EQ(CountPixels(form->MathImage2->Bitmap(), clRed), 0);
    // A rigid rotation has a circle of radius 0 at (-sin t, cos t).
    Click(form->RadioButton5);
    Type(form->NxSpinEditRotation, "90");
    Deform(0);
    EXPECT_EQ(Points(form->Series7), Pairs(360, {-1, 0}));
}

TEST_F(MainWindow, FittedAxesHaveWholeEndsOneUnitOut)
{
    form->Series1->AddPoint(2.6, 1.5);
    form->Series2->AddPoint(1.7, 0.94);
    Model().FitChartAxes(form->Chart1);
    EXPECT_FALSE(form->Chart1->BottomAxis.Automatic());
    EXPECT_EQ(form->Chart1->BottomAxis.Minimum(), 0.0);
    EXPECT_EQ(form->Chart1->BottomAxis.Maximum(), 4.0);
    EXPECT_EQ(form->Chart1->LeftAxis.Minimum(), 0.0);
    EXPECT_EQ(form->Chart1->LeftAxis.Maximum(), 3.0);
}

// "Restaurar" leaves the bottom axis of the deformed state's Mohr circle at
// its last range. A new circle entirely below it is fitted without the
// order error that writing the maximum first would raise.
TEST_F(MainWindow, AxesFollowARangeThatMovesPastTheOldOne)
{
    Click(form->RadioButton4);
    Slide(form->TrackBar1, 5);
    Slide(form->TrackBar4, 5);
    Deform(1); // F = I / 2: 1/lambda = 4
    EXPECT_EQ(form->Chart3->BottomAxis.Minimum(), 3.0);
    EXPECT_EQ(form->Chart3->BottomAxis.Maximum(), 5.0);
    Click(form->bitbtnReest);
    Deform(1); // F = I: 1/lambda = 1
    EXPECT_EQ(form->Chart3->BottomAxis.Minimum(), 0.0);
    EXPECT_EQ(form->Chart3->BottomAxis.Maximum(), 2.0);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(form->StaticText3->Caption(), "1");
}

TEST_F(MainWindow, DeformedStateMohrCircleOnlyWhereItIsDefined)
{
    // A rotation by 45 degrees shown to four decimals: S^2 - 4 J^2 rounds
    // below 0, and the circle is still a point.
    Click(form->RadioButton5);
    Type(form->NxSpinEditRotation, "45");
    Deform(1);
    ASSERT_EQ(form->Series6->Count(), 360);
    for (const auto& [x, y] : Points(form->Series6)) {
        EXPECT_NEAR(x, 1 / (2 * 0.7071 * 0.7071), 1e-12); // F F^T = J I
        EXPECT_EQ(y, 0.0);
    }
    // F = diag(2^6, 0.1^6) shows (2,2) as 0.0000: J = 0, and no circle.
    Click(form->RadioButton4);
    Slide(form->TrackBar1, 20);
    Slide(form->TrackBar4, 1);
    Deform(6);
    EXPECT_EQ(Texts(form->FiniteEdits()), QStringList({"64.0000", "0.0000", "0.0000", "0.0000"}));
    EXPECT_EQ(form->Series6->Count(), 0);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(MainWindow, TheTabsAndBoxesChooseTheVisibleCharts)
{
    QTabBar* tabs = form->PageControl1->tabBar();
    EXPECT_EQ(tabs->tabText(0), "Gráficos");
    EXPECT_EQ(tabs->tabText(1), "C. Mohr");
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    ASSERT_EQ(form->PageControl1->currentIndex(), 1);
    const auto shown = [&] {
        return std::vector<bool>({form->Chart1->isVisible(), form->Chart2->isVisible(),
                                  form->Chart3->isVisible(), form->Chart4->isVisible()});
    };
    EXPECT_EQ(shown(), std::vector<bool>({false, false, true, true}));
    EXPECT_EQ(form->Chart3->geometry(), QRect(1, 1, 150, 154));
    Click(form->chbxMohrFlujo);
    EXPECT_EQ(shown(), std::vector<bool>({false, false, true, false}));
    Click(form->chbxMohrDef);
    EXPECT_EQ(shown(), std::vector<bool>({false, false, false, false}));
    Click(form->chbxMohrFlujo);
    EXPECT_EQ(shown(), std::vector<bool>({false, false, false, true}));
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    EXPECT_EQ(shown(), std::vector<bool>({true, true, false, false}));
    Click(form->chbxExtRaxial);
    EXPECT_EQ(shown(), std::vector<bool>({false, true, false, false}));
    EXPECT_EQ(form->Chart2->geometry().right(), form->Panel1->contentsRect().right());
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    EXPECT_EQ(tabs->tabText(2), "Rf/φ");
    EXPECT_EQ(shown(), std::vector<bool>({false, false, false, false}));
    EXPECT_TRUE(form->Chart5->isVisible() && form->Chart6->isVisible());
    Click(form->chbxPolar);
    EXPECT_TRUE(form->Chart5->isVisible() && !form->Chart6->isVisible());
}

// ---- the readout, the markers, the fields of elongation, the keys ---------

TEST_F(MainWindow, ReadoutFollowsTheFlowAndEveryIncrement)
{
    const auto readout = [&] {
        return QStringList{form->StaticTextRs->Caption(), form->StaticTextTheta->Caption(),
                           form->StaticTextArea->Caption(), form->StaticTextWk->Caption()};
    };
    EXPECT_EQ(readout(), QStringList({"Rs = 1.0000", "θ = —", "|det F| = 1.0000", "Wk = —"}));
    Click(form->RadioButton3);
    Type(form->NxNumEdit1, "1.2");
    Type(form->NxNumEdit2, "0.5");
    // At once, before "Deformar": the flow's Wk, the cosine of the apophyses' angle.
    EXPECT_EQ(form->StaticTextWk->Caption(), "Wk = 0.8064");
    Deform(2);
    const TStrainEllipse& s = Model().FEllipse->Strain();
    EXPECT_EQ(readout()[1], "θ = " + QString::number(RadToDeg(s.Inclination()), 'f', 2) + "°");
    // (1.2, 0.5; 0, 0.8333) squared, as the edits hold L to 4 decimals.
    EXPECT_EQ(readout()[2], "|det F| = 0.9999");
    Click(form->bitbtnResta);
    EXPECT_EQ(readout()[1], "θ = —");
    Click(form->RadioButton5);
    Type(form->NxSpinEditRotation, "30");
    EXPECT_EQ(form->StaticTextWk->Caption(), "Wk = ∞");
    // A rotated circle has no long axis, whatever the rounding of R^n.
    Deform(7);
    EXPECT_EQ(readout()[1], "θ = —");
}

TEST_F(MainWindow, MarkersDeformRestoreAndLoadFromAFile)
{
    const Pairs start = Points(form->Series9);
    ASSERT_EQ(start.size(), size_t(DefaultMarkerCount));
    Slide(form->TrackBar2, 5);
    Deform(3);
    EXPECT_NE(Points(form->Series9), start);
    // The strain ellipse's own point beside the markers.
    EXPECT_EQ(Points(form->Series10),
              Pairs({{RadToDeg(Model().FEllipse->Inclination()), Model().FEllipse->AxialRatio()}}));
    Click(form->bitbtnResta);
    EXPECT_EQ(Points(form->Series9), start);

    const QString path = QString(TENSIM_BUILD_DIR) + "/markers-test.txt";
    const auto write = [&](const QByteArray& Text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Text);
    };
    // A bad line is reported by its number, and nothing changes.
    write("0.1, 0.2, 0.1, 0.05, 30\n0.3, x, 0.1, 0.05, 30\n");
    EXPECT_FALSE(form->LoadMarkerFile(path));
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_TRUE(QString::fromStdString(messages.texts()[0]).contains("Línea 2"));
    EXPECT_TRUE(Points(form->Series9) == start && !form->chbxMarkers->isChecked());
    write("0.1, 0.2, 0.2, 0.1, 30\n-0.5\t0.5\t0.1\t0.1\t0\n");
    EXPECT_TRUE(form->LoadMarkerFile(path));
    EXPECT_TRUE(form->chbxMarkers->isChecked() && Points(form->Series9).size() == 2);
}

TEST_F(MainWindow, MaterialLinesOfSimpleShearTakeTheirFieldsColours)
{
    Click(form->chbxElongFields);
    Type(form->NxNumEdit2, "0.5");
    const auto colour = [&](int Degrees) {
        return Model().FElongationLines->GetPoint(Degrees / 5 + 1)->Color();
    };
    Deform(1);
    EXPECT_TRUE(colour(45) == clRed && colour(135) == clBlue);
    Deform(4);
    EXPECT_TRUE(colour(135) == clOlive && colour(0) == clGray);
    const QImage finite = form->MathImage1->Bitmap();
    // The line at 0 degrees lies on the x axis, whose colour it mixes with.
    for (TColor c : {clRed, clBlue, clOlive})
        EXPECT_GT(CountPixels(finite, c), 20) << std::hex << c;
}

// Stepping back replays all but the last increment: every figure, picture
// and chart point is as after those increments, also when L changed
// between clicks and the finite window grew.
TEST_F(MainWindow, StepBackIsExactlyTheStateBeforeTheLastIncrement)
{
    using TState = TWindowState;
    const auto state = [&] { return WindowState(); };
    for (QCheckBox* box : {form->chbxVelFld, form->chkbxAp, form->chkbxISA, form->chbxMarkers,
                           form->chbxElongFields})
        Click(box);
    const TState start = state();
    QTest::keyClick(form.get(), Qt::Key_Left); // nothing to step back
    EXPECT_EQ(state(), start);
    Click(form->RadioButton4);
    Type(form->NxNumEdit1, "1.3");
    Type(form->NxNumEdit2, "0.4");
    Deform(3);
    Type(form->NxNumEdit3, "-0.3");
    form->bitbtnDef->setFocus();
    QTest::keyClick(form.get(), Qt::Key_Right);
    const TState four = state();
    QTest::keyClick(form.get(), Qt::Key_Right, Qt::ControlModifier);
    ASSERT_EQ(Model().FIncrementCount, 5);
    QTest::keyClick(form.get(), Qt::Key_Left);
    EXPECT_EQ(state(), four);
    EXPECT_EQ(pauses, 5); // the replay makes no pause
    // An edit keeps <- for its cursor, but Ctrl+Z steps back there too.
    form->NxNumEdit1->setFocus();
    QTest::keyClick(form->NxNumEdit1, Qt::Key_Left);
    EXPECT_EQ(Model().FIncrementCount, 4);
    QTest::keyClick(form->NxNumEdit1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Model().FIncrementCount, 3);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(form->NxNumEdit1, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Model().FIncrementCount, 0);
    EXPECT_EQ(std::get<3>(state()), std::get<3>(start));
    EXPECT_EQ(Points(form->Series9), std::get<2>(start)[8]);
}

// ---- panels and velocity field --------------------------------------------

TEST_F(MainWindow, StreamlinesOfSimpleShear)
{
    Slide(form->TrackBar2, 5);
    Click(form->chbxVelFld);
    Deform(0);
    const TFlowField& field = *Model().FFlowField;
    // The field is the streamline field of the cleaned flow tensor in the
    // finite panel's window of the click.
    const auto expected = StreamlineField(field.FlowMatrix(), {-2, -2, 2, 2});
    ASSERT_EQ(field.Count(), static_cast<int>(expected.size()));
    int bottom = 0;
    for (int i = 1; i <= field.Count(); ++i) {
        const auto* arrow = dynamic_cast<const TVectorArrow2D*>(field.GetPoint(i));
        ASSERT_NE(arrow, nullptr);
        EXPECT_EQ(arrow->Color(), clTeal);
        const double y = arrow->Position().Elem[2];
        // Simple shear moves every point along x by half its height.
        EXPECT_EQ(arrow->EndPoint().Elem[2], y);
        EXPECT_NEAR(arrow->EndPoint().Elem[1] - arrow->Position().Elem[1], 0.5 * y, 1e-12);
        EXPECT_GE(arrow->EndPoint().Elem[1], -3.0);
        EXPECT_LE(arrow->EndPoint().Elem[1], 3.0);
        bottom += y == -2;
    }
    EXPECT_GT(bottom, 21);
    // Shown at the next redraw.
    EXPECT_EQ(CountPixels(form->MathImage1->Bitmap(), clTeal), 0);
    Deform(1);
    EXPECT_GT(CountPixels(form->MathImage1->Bitmap(), clTeal), 100);
    // The identity gives no field.
    Click(form->bitbtnReest);
    EXPECT_EQ(Model().FFlowField->Count(), 0);
}

// Rigid rotation: circles of radius 0.2 to 2.0 without the unit circle,
// counter-clockwise for a positive angle and clockwise for a negative one.
TEST_F(MainWindow, CirclesOfRigidRotation)
{
    Click(form->RadioButton5);
    Click(form->chbxVelFld);
    struct Row {
        const char* Degrees;
        int Arrows;
        int Turn; // sign of the chords' cross product
    };
    // 360 degrees shows the identity in the edits, and the identity flow has
    // no field; 400 degrees makes no chord within one turn.
    const Row rows[] = {{"90", 36, 1},  {"360", 0, 0},    {"400", 0, 0}, {"-90", 36, -1},
                        {"30", 108, 1}, {"-120", 27, -1}, {"0", 0, 0}};
    for (const Row& row : rows) {
        Type(form->NxSpinEditRotation, row.Degrees);
        Deform(1);
        const TFlowField& field = *Model().FFlowField;
        EXPECT_EQ(field.Count(), row.Arrows) << row.Degrees;
        for (int i = 1; i <= field.Count(); ++i) {
            const auto* a = static_cast<const TLine2D*>(field.GetPoint(i));
            const double cross = a->Position().Elem[1] * a->EndPoint().Elem[2] -
                                 a->Position().Elem[2] * a->EndPoint().Elem[1];
            EXPECT_EQ((cross > 1e-12) - (cross < -1e-12), row.Turn) << row.Degrees << " " << i;
            EXPECT_NE(std::hypot(a->Position().Elem[1], a->Position().Elem[2]), 1.0);
        }
        // No apophyses or stretching axes in a rigid rotation.
        EXPECT_EQ(Model().FApophyses->GetPoint(1)->Length(), 0.0);
        EXPECT_EQ(Model().FStretchingAxes->GetPoint(2)->Length(), 0.0);
    }
}

// A rotation entered as a general tensor maps the edge points round a
// four-point cycle: every streamline stops at its arrow limit.
TEST_F(MainWindow, RotationEnteredAsGeneralShearHasABoundedField)
{
    Click(form->RadioButton4);
    Slide(form->TrackBar1, 0);
    Slide(form->TrackBar2, -10);
    Slide(form->TrackBar3, 10);
    Slide(form->TrackBar4, 0);
    Click(form->chbxVelFld);
    QElapsedTimer timer;
    timer.start();
    Deform(1);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(Model().FFlowField->Count(), 84 * MaxStreamlineArrows);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(MainWindow, FlowApophysesAndStretchingAxesOfSimpleShear)
{
    Slide(form->TrackBar2, 10);
    Click(form->chkbxAp);
    Click(form->chkbxISA);
    Deform(1);
    // Simple shear (1, 1; 0, 1): both apophyses along x (one eigenvalue 1).
    const auto* ap1 = static_cast<const TLine2D*>(Model().FApophyses->GetPoint(1));
    EXPECT_EQ(ap1->Position().Elem[1], 0.0);
    EXPECT_EQ(ap1->EndPoint().Elem[2], 0.0);
    EXPECT_NE(ap1->EndPoint().Elem[1], 0.0);
    // The stretching axes (1, 1/2; 1/2, 1) lie at 45 and 135 degrees, the
    // first from the origin out, the second from its tip in.
    const auto* isa1 = static_cast<const TLine2D*>(Model().FStretchingAxes->GetPoint(1));
    const auto* isa2 = static_cast<const TLine2D*>(Model().FStretchingAxes->GetPoint(2));
    EXPECT_NEAR(isa1->EndPoint().Elem[1], isa1->EndPoint().Elem[2], 1e-12);
    EXPECT_NEAR(isa2->Position().Elem[1], -isa2->Position().Elem[2], 1e-12);
    EXPECT_EQ(isa2->EndPoint().Elem[1], 0.0);
    const QImage picture = form->MathImage1->Bitmap();
    EXPECT_GT(CountPixels(picture, clRed), 10);
    EXPECT_GT(CountPixels(picture, clGreen), 10);
    // Hiding both takes exactly their pixels away again.
    Click(form->chkbxAp);
    Click(form->chkbxISA);
    const QImage hidden = form->MathImage1->Bitmap().copy();
    Click(form->chkbxAp);
    Click(form->chkbxISA);
    EXPECT_EQ(form->MathImage1->Bitmap(), picture);
    Click(form->chkbxAp);
    Click(form->chkbxISA);
    EXPECT_EQ(form->MathImage1->Bitmap(), hidden);
}

// For general flows the stretching axes are the directions of the largest
// and smallest stretching rate u.L u over unit u: theta and theta + 90
// degrees, tan 2 theta = (e12 + e21) / (e11 - e22). A flow with a complex
// pair of eigenvalues has no apophyses.
TEST_F(MainWindow, StretchingAxesAndApophysesOfGeneralFlows)
{
    struct Row {
        double E[4];
        bool Apophyses;
    };
    const Row rows[] = {{{1.1, 0.3, -0.2, 0.9}, false},   {{1, 0.5, 0.2, 1}, true},
                        {{-0.8, 0.6, -0.5, -0.8}, false}, {{1.5, -0.2, 0.7, 0.4}, true},
                        {{-1.5, 0.2, -0.3, -0.4}, true},  {{0.6, 1.3, 1.9, -1.2}, true}};
    // The sine of the angle between V and the direction T.
    const auto off = [](const TTransformVector& V, double T) {
        return std::fabs(V.Elem[1] * std::sin(T) - V.Elem[2] * std::cos(T)) /
               std::hypot(V.Elem[1], V.Elem[2]);
    };
    Click(form->RadioButton4);
    for (const Row& row : rows) {
        const double* e = row.E;
        for (int i = 0; i < 4; ++i)
            Paste(form->FlowEdits()[i], QString::number(e[i]));
        Deform(0);
        const double theta = std::atan2(e[1] + e[2], e[0] - e[3]) / 2;
        const auto* isa1 = static_cast<const TLine2D*>(Model().FStretchingAxes->GetPoint(1));
        const auto* isa2 = static_cast<const TLine2D*>(Model().FStretchingAxes->GetPoint(2));
        EXPECT_LT(off(isa1->EndPoint(), theta), 1e-9) << e[1] << " " << e[2];
        EXPECT_LT(off(isa2->Position(), theta + static_cast<double>(PiExtended) / 2), 1e-9)
            << e[1] << " " << e[2];
        EXPECT_EQ(Model().FApophyses->GetPoint(1)->Length() > 0, row.Apophyses)
            << e[1] << " " << e[2];
    }
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(MainWindow, CheckBoxesShowAndHideTheirShapes)
{
    Slide(form->TrackBar2, 7);
    Click(form->chbxVelFld);
    Deform(2);
    const QImage start = form->MathImage1->Bitmap().copy();
    ExpectEachBoxErasesAndRedrawsBitForBit();
    // Without the ellipse its axes cannot be chosen.
    Click(form->chbxEllipse);
    EXPECT_FALSE(form->chbxAxes->isEnabled());
    EXPECT_FALSE(Model().FEllipse->Drawn());
    Click(form->chbxEllipse);
    EXPECT_TRUE(form->chbxAxes->isEnabled());
    EXPECT_EQ(form->MathImage1->Bitmap(), start);
}

// The finite window grows, about the origin, just enough to show the end of
// the ellipse's major semi-axis.
TEST_F(MainWindow, FiniteWindowGrowsToShowTheEllipse)
{
    struct Row {
        double F11, F22;
        double X2;
    };
    const Row rows[] = {{2.4, 1 / 2.4, 3}, {3.5, 1 / 3.5, 4}, {2, 0.5, 4}, {1 / 5.2, 5.2, 6}};
    for (const Row& row : rows) {
        Model().FEllipse->SetDeformation(MakeTensor2D(row.F11, 0, 0, row.F22), *form->MathImage1);
        Model().RedrawPanels();
        const TMathImage& image = *form->MathImage1;
        EXPECT_EQ(image.d2WorldX2(), row.X2) << row.F11;
        EXPECT_EQ(image.d2WorldY2(), row.X2);
        EXPECT_EQ(image.d2WorldX1(), -row.X2);
        EXPECT_EQ(image.d2WorldY1(), -row.X2);
    }
}

// A uniform expansion doubles the ellipse at every increment: one step per
// redraw, however long the ellipse.
TEST_F(MainWindow, UniformExpansionGrowsTheWindowInOneStepPerRedraw)
{
    Click(form->RadioButton4);
    Slide(form->TrackBar1, 20);
    Slide(form->TrackBar4, 20);
    QElapsedTimer timer;
    timer.start();
    Deform(60);
    EXPECT_LT(timer.elapsed(), 5000);
    const double a = std::ldexp(1.0, 60);
    EXPECT_EQ(Model().FEllipse->MajorSemiAxis(), a);
    EXPECT_EQ(form->MathImage1->d2WorldY2(), a);
    EXPECT_EQ(form->MathImage1->d2WorldX1(), -a);
    EXPECT_TRUE(messages.messages.empty());
}

// Many increments of a strong stretch overflow F: the ellipse keeps its last
// good state, the triangle stops short of infinity, and no chart or panel
// gets a value that is not finite.
TEST_F(MainWindow, OverflowingStretchLeavesEverythingFinite)
{
    Click(form->RadioButton4);
    Slide(form->TrackBar1, 20);
    Slide(form->TrackBar4, 20);
    // With the track bars at their ends, 16 is kept as typed.
    Paste(form->NxNumEdit1, "16");
    Paste(form->NxNumEdit4, "16");
    ASSERT_EQ(form->NxNumEdit1->text(), "16.0000");
    Deform(300);
    EXPECT_EQ(Model().FIncrementCount, 300);
    const TTransformMatrix& f = Model().FEllipse->Strain().Deformation;
    EXPECT_TRUE(std::isfinite(f.Elem[1][1]));
    // The squares in B = F F^T overflow first, from F of about 1e77.
    EXPECT_GT(f.Elem[1][1], 1e70);
    EXPECT_LT(Model().FEllipse->MajorSemiAxis(), 1e80);
    for (int i = 1; i <= 3; ++i) {
        const auto* side = static_cast<const TLine2D*>(Model().FTriangle->GetPoint(i));
        for (double v : {side->Position().Elem[1], side->Position().Elem[2],
                         side->EndPoint().Elem[1], side->EndPoint().Elem[2]})
            EXPECT_TRUE(std::isfinite(v));
    }
    for (const TChart* chart : {form->Chart1, form->Chart2, form->Chart3, form->Chart4})
        for (int s = 0; s < chart->SeriesCount(); ++s)
            for (const auto& [x, y] : Points(chart->SeriesList(s)))
                ASSERT_TRUE(std::isfinite(x) && std::isfinite(y));
    const TMathImage& image = *form->MathImage1;
    EXPECT_TRUE(std::isfinite(image.d2WorldX1()) && std::isfinite(image.d2WorldX2()));
    for (TNxNumEdit* edit : form->FiniteEdits())
        EXPECT_TRUE(std::isfinite(static_cast<double>(edit->Value())));
    for (const TMessage& m : messages.messages)
        EXPECT_EQ(m.Text, "Value out of range!"); // the typed 16s
}

// Entries beyond a million are held there: with 1e4000 or 1.7e308 the unit
// square's vertices would leave the range of a double.
TEST_F(MainWindow, HugeEntriesAreHeldAtAMillion)
{
    Click(form->RadioButton4);
    // With its track bar at the matching end, an entry is kept as typed.
    struct Row {
        int Index, End;
        const char* Typed;
        const char* Shown;
    };
    const Row rows[] = {{1, 20, "9e4931", "1000000.0000"},
                        {2, -20, "-1e4000", "-1000000.0000"},
                        {3, 20, "1.7e308", "1000000.0000"},
                        {4, -20, "-1000000.5", "-1000000.0000"},
                        {4, 20, "999999.5", "999999.5000"}};
    for (const Row& row : rows) {
        Slide(form->TrackBars()[row.Index - 1], row.End);
        TNxNumEdit* edit = form->FlowEdits()[row.Index - 1];
        Paste(edit, row.Typed);
        EXPECT_EQ(edit->text(), row.Shown) << row.Typed;
    }
    // The unit square's far vertex P2 + P3 - P1 is L (1, 1): the row sums.
    const auto vertex = [&](int Index) { return Model().FUnitSquare->GetPoint(Index)->Position(); };
    EXPECT_EQ(vertex(2).Elem[1] + vertex(3).Elem[1] - vertex(1).Elem[1], 1e6 - 1e6);
    EXPECT_EQ(vertex(2).Elem[2] + vertex(3).Elem[2] - vertex(1).Elem[2], 1e6 + 999999.5);
    Deform(3);
    EXPECT_EQ(Model().FIncrementCount, 3);
    const TMathImage& image = *form->MathImage1;
    EXPECT_TRUE(std::isfinite(image.d2WorldX1()) && std::isfinite(image.d2WorldX2()));
    for (TNxNumEdit* edit : form->FiniteEdits())
        EXPECT_FALSE(std::isinf(static_cast<double>(edit->Value())));

    // In pure shear the reciprocal of a tiny (1,1) is held as well.
    Click(form->RadioButton2);
    Slide(form->TrackBar1, 0);
    Paste(form->NxNumEdit1, "1e-300");
    EXPECT_EQ(form->NxNumEdit4->text(), "1000000.0000");
}

// ---- the window ------------------------------------------------------------

TEST_F(MainWindow, ResizingScalesTheLayoutAndReturnsToItExactly)
{
    std::vector<QRect> design;
    const std::vector<QObject*> controls = Components(form.get());
    ASSERT_EQ(controls.size(), 71u);
    for (QObject* c : controls)
        design.push_back(static_cast<QWidget*>(c)->geometry());
    // Heights scale with the window's, the menu bar's included.
    const int bar = form->contentsRect().top();
    const auto scaled = [&](int Height) {
        return int(std::nearbyint(Height * 750.0 / (573 + bar)));
    };
    form->resize(1000, 750);
    EXPECT_EQ(form->GroupBox1->geometry(), QRect(0, bar, 1000, scaled(169)));
    EXPECT_EQ(form->bitbtnDef->geometry(), QRect(359, scaled(80), 95, scaled(49)));
    EXPECT_EQ(form->MathImage1->geometry(), form->GroupBox6->contentsRect());
    EXPECT_GT(form->MathImage1->width(), 250);
    form->resize(792, 573 + bar);
    for (size_t i = 0; i < controls.size(); ++i)
        EXPECT_EQ(static_cast<QWidget*>(controls[i])->geometry(), design[i])
            << controls[i]->objectName().toStdString();
    EXPECT_TRUE(messages.messages.empty());
}

// Circles are round: the panels' figures measured in pixels, and the Mohr
// charts' units per pixel, equal on both axes.
TEST_F(MainWindow, CirclesAreRound)
{
    Click(form->chbxTri); // the circle alone
    form->resize(1300, 600);
    ExpectRoundCircles();
    Click(form->RadioButton3);
    Slide(form->TrackBar1, 12);
    Deform(3);
    form->PageControl1->setCurrentIndex(1);
    const auto unitsPerPixel = [](const TChartAxis& A) {
        return (A.ShownMaximum() - A.ShownMinimum()) / (A.EndPos() - A.StartPos());
    };
    for (TChart* chart : {form->Chart3, form->Chart4}) {
        chart->grab();
        EXPECT_NEAR(unitsPerPixel(chart->BottomAxis) / unitsPerPixel(chart->LeftAxis), 1, 0.01);
    }
}

// Below its minimum size the panels would have no room for their axes.
TEST_F(MainWindow, SmallestWindowKeepsRoomForTheAxes)
{
    for (int wide = 0; wide < 2; ++wide) {
        // Labels of a window of 1e70 take the most room.
        if (wide) {
            Model().FEllipse->SetDeformation(MakeTensor2D(-1.234e70, 0, 0, 1), *form->MathImage1);
            Model().RedrawPanels();
            ASSERT_LT(form->MathImage1->d2WorldX1(), -1e70);
        }
        for (const QSize size :
             {QSize(300, 200), QSize(100, 50), QSize(400, 300), QSize(390, 700)}) {
            form->resize(size);
            EXPECT_EQ(form->size(), size.expandedTo(QSize(400, 300)));
            EXPECT_TRUE(form->MathImage1->Mapping().AxesMode());
        }
    }
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(MainWindow, ScreenshotAfterAScriptedRun)
{
    Slide(form->TrackBar2, 5);
    Click(form->chbxVelFld);
    Click(form->chkbxAp);
    Click(form->chkbxISA);
    Deform(6);
    const QImage shot = form->grab().toImage();
    EXPECT_TRUE(shot.save(QString(TENSIM_BUILD_DIR) + "/main-window.png"));
    const QImage finite = form->MathImage1->Bitmap();
    for (TColor c : {clBlack, clTeal, clRed, clGreen, clBlue})
        EXPECT_GT(CountPixels(finite, c), 20) << std::hex << c;
    EXPECT_EQ(Texts(form->FiniteEdits()), QStringList({"1.0000", "3.0000", "0.0000", "1.0000"}));
}

} // namespace
} // namespace tensim

namespace tensim {
namespace {

// On a screen of twice the resolution (run with QT_SCALE_FACTOR=2): the
// panels and the saved pictures have the screen's device pixels, and an
// erase still restores the picture bit for bit.
class HighDpi : public MainWindow {};

TEST_F(HighDpi, PanelsAndPicturesHaveTheDevicePixels)
{
    const double ratio = form->devicePixelRatioF();
    if (ratio == 1) GTEST_SKIP() << "runs at a device pixel ratio above 1 (QT_SCALE_FACTOR=2)";
    for (TMathImage* panel : {form->MathImage1, form->MathImage2}) {
        EXPECT_EQ(panel->Bitmap().size(), panel->size() * ratio);
        EXPECT_EQ(panel->PixelRatio(), ratio);
    }
    Click(form->chbxTri);
    ExpectRoundCircles();
    Click(form->chbxTri);
    Slide(form->TrackBar2, 6);
    Click(form->chbxVelFld);
    Click(form->chkbxAp);
    Click(form->chkbxISA);
    Deform(3);
    ExpectEachBoxErasesAndRedrawsBitForBit();
    const QString path = QString(TENSIM_BUILD_DIR) + "/chart-at-ratio-2.png";
    form->Chart1->SaveChartBitmap(path);
    EXPECT_EQ(QImage(path).size(), form->Chart1->size() * ratio);
    form->grab().save(QString(TENSIM_BUILD_DIR) + "/main-window-ratio-2.png");
}

} // namespace
} // namespace tensim
