#include "app/Kinema08uMain.h"

#include "app/FlowModel.h"
#include "controls/Chart.h"
#include "controls/Easysize.h"
#include "controls/NxNumEdit.h"
#include "controls/NxSpinEdit.h"
#include "controls/StdCtrls.h"
#include "drawing/MathImge.h"
#include "math/Scalars.h"
#include "tests/math/MessageRecorder.h"
#include "tests/math/Separators.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cmath>
#include <map>

// Failures show texts and rectangles readably.
inline void PrintTo(const QString& Text, std::ostream* Stream)
{
    *Stream << '"' << Text.toStdString() << '"';
}
inline void PrintTo(const QRect& R, std::ostream* Stream)
{
    *Stream << "(" << R.x() << ", " << R.y() << ", " << R.width() << " x " << R.height() << ")";
}

namespace tensim {
namespace {

// The main window, shown and active, with the busy pause counted instead of
// performed and the messages recorded.
class MainWindow : public testing::Test {
protected:
    MainWindow() : previousPause(SetBusyPause([this] { ++pauses; }))
    {
        form = std::make_unique<TForm1>();
        form->show();
        QApplication::setActiveWindow(form.get());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    ~MainWindow() override
    {
        form.reset();
        SetBusyPause(previousPause);
    }

    static void Click(QAbstractButton* Button) { QTest::mouseClick(Button, Qt::LeftButton); }

    // Moves a track bar with the arrow keys, as a user does.
    static void Slide(TTrackBar* Bar, int To)
    {
        for (int guard = 0; Bar->Position() != To && guard < 100; ++guard)
            QTest::keyClick(Bar, Bar->Position() < To ? Qt::Key_Right : Qt::Key_Left);
    }

    // Types Text over the whole content of a field, then leaves it.
    void Type(QLineEdit* Field, const QString& Text)
    {
        Field->setFocus(Qt::TabFocusReason);
        Field->selectAll();
        QTest::keyClicks(Field, Text);
        form->bitbtnDef->setFocus(Qt::TabFocusReason);
    }

    // Pastes Text over the whole content of a field: the field changes once.
    void Paste(QLineEdit* Field, const QString& Text)
    {
        QGuiApplication::clipboard()->setText(Text);
        Field->setFocus(Qt::TabFocusReason);
        Field->selectAll();
        QTest::keyClick(Field, Qt::Key_V, Qt::ControlModifier);
        form->bitbtnDef->setFocus(Qt::TabFocusReason);
    }

    void Deform(int Count)
    {
        Type(form->NxSpinEditNoIncrements, QString::number(Count));
        Click(form->bitbtnDef);
    }

    QStringList Texts(const std::array<TNxNumEdit*, 4>& Edits) const
    {
        QStringList texts;
        for (const TNxNumEdit* edit : Edits)
            texts << edit->text();
        return texts;
    }

    static std::vector<std::pair<double, double>> Points(const TChartSeries* Series)
    {
        std::vector<std::pair<double, double>> points;
        for (int i = 0; i < Series->Count(); ++i)
            points.emplace_back(Series->XValues.Value(i), Series->YValues.Value(i));
        return points;
    }

    Separators separators{".", ","};
    MessageRecorder messages;
    int pauses = 0;
    std::function<void()> previousPause;
    std::unique_ptr<TForm1> form;
};

using Pairs = std::vector<std::pair<double, double>>;

// ---- start-up and input ----------------------------------------------------

TEST_F(MainWindow, StartsWithTheIdentityAndOnlyTheShearEntryOpen)
{
    EXPECT_EQ(Form1, form.get());
    EXPECT_EQ(form->windowTitle(), "Flujo y deformación");
    EXPECT_EQ(form->size(), QSize(792, 573));
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
    EXPECT_TRUE(form->FEllipse->Drawn());
    EXPECT_TRUE(form->FTriangle->Drawn());
    EXPECT_TRUE(form->FUnitSquare->Drawn());
    EXPECT_FALSE(form->FFlowField->Drawn());
    EXPECT_EQ(form->FFlowField->Count(), 0);

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
}

TEST_F(MainWindow, TrackBarSetsItsEditAndShearsTheUnitSquareAtOnce)
{
    const QImage finite = form->MathImage1->Bitmap().copy();
    const QImage incremental = form->MathImage2->Bitmap().copy();
    Slide(form->TrackBar2, 5);
    EXPECT_EQ(form->NxNumEdit2->text(), "0.5000");
    // Vertex 3 of the unit square is L (0, 1) = (e12, e22).
    const TTransformVector& v3 = form->FUnitSquare->GetPoint(3)->Position();
    EXPECT_EQ(v3.Elem[1], 0.5);
    EXPECT_EQ(v3.Elem[2], 1.0);
    EXPECT_NE(form->MathImage2->Bitmap(), incremental);
    EXPECT_EQ(form->MathImage1->Bitmap(), finite); // nothing until "Deformar"
    Slide(form->TrackBar2, -13);
    EXPECT_EQ(form->NxNumEdit2->text(), "-1.3000");
}

// A value written into an edit moves the track bar; when the bar's position
// changes, the edit is set back to position / 10.
TEST_F(MainWindow, WrittenValueKeepsItsDecimalsOnlyWhereTheTrackBarStays)
{
    struct Row {
        const char* Typed;
        const char* Shown;
        int Position;
    };
    const Row rows[] = {{"0.25", "0.2000", 2},
                        {"0.21", "0.2100", 2},
                        {"0.35", "0.4000", 4},
                        {"-1.26", "-1.3000", -13},
                        {"-1.33", "-1.3300", -13}};
    for (const Row& row : rows) {
        Paste(form->NxNumEdit2, row.Typed);
        EXPECT_EQ(form->NxNumEdit2->text(), row.Shown) << row.Typed;
        EXPECT_EQ(form->TrackBar2->Position(), row.Position) << row.Typed;
        EXPECT_EQ(form->FUnitSquare->GetPoint(3)->Position().Elem[1],
                  static_cast<double>(form->NxNumEdit2->Value()))
            << row.Typed;
    }
    EXPECT_TRUE(messages.messages.empty());
    // Typed key by key, 0.25 passes through 0.2, which moves the bar first.
    Paste(form->NxNumEdit2, "0");
    Type(form->NxNumEdit2, "0.25");
    EXPECT_EQ(form->NxNumEdit2->text(), "0.2500");
    EXPECT_EQ(form->TrackBar2->Position(), 2);
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
        EXPECT_EQ(form->FIncrementCount, 0);
        EXPECT_EQ(Points(form->Series1), Pairs({{1, 1}}));
        EXPECT_EQ(form->Series4->Count(), 0);
        EXPECT_EQ(form->FFlowField->Count(), 0);
        EXPECT_EQ(form->MathImage1->d2WorldX2(), 2.0);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(form->FlowEdits()[i]->isEnabled(), row.Open[i]) << name.toStdString() << i;
    }
    EXPECT_TRUE(messages.messages.empty());
}

} // namespace
} // namespace tensim
