#pragma once
// The program's three windows for one test, made as its main block makes
// them, with the busy pause counted, the messages recorded and the locale
// separators fixed, and the ways a user works the main window.

#include "app/About02.h"
#include "app/Application.h"
#include "app/Kinema08u2.h"
#include "app/Kinema08uMain.h"
#include "controls/Chart.h"
#include "controls/NxNumEdit.h"
#include "controls/NxSpinEdit.h"
#include "controls/StdCtrls.h"
#include "drawing/MathImge.h"
#include "tests/MessageRecorder.h"
#include "tests/Separators.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QTranslator>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

namespace tensim {

// The tests' one door into the main window's model: its fields under their
// names, and the helpers that tests run directly.
class TForm1Probe {
    TForm1& F;

public:
    explicit TForm1Probe(TForm1& Form)
        : F(Form), FEllipse(Form.FEllipse), FTriangle(Form.FTriangle),
          FUnitSquare(Form.FUnitSquare), FFlowField(Form.FFlowField), FApophyses(Form.FApophyses),
          FStretchingAxes(Form.FStretchingAxes), FFlowTensor(Form.FFlowTensor),
          FStretchingTensor(Form.FStretchingTensor), FSpinTensor(Form.FSpinTensor),
          FIncrementCount(Form.FIncrementCount), FElongationLines(Form.FElongationLines),
          FEnlargedControl(Form.FEnlargedControl), FEnlargedBounds(Form.FEnlargedBounds)
    {
    }

    const std::unique_ptr<TEllipse2>& FEllipse;
    const std::unique_ptr<TPointList2D>& FTriangle;
    const std::unique_ptr<TParallelogram2>& FUnitSquare;
    const std::unique_ptr<TFlowField>& FFlowField;
    const std::unique_ptr<TPointList2D>& FApophyses;
    const std::unique_ptr<TPointList2D>& FStretchingAxes;
    const TTransformMatrix& FFlowTensor;
    const TTransformMatrix& FStretchingTensor;
    const TTransformMatrix& FSpinTensor;
    const int32_t& FIncrementCount;
    const std::unique_ptr<TPointList2D>& FElongationLines;
    const QPointer<QWidget>& FEnlargedControl;
    const QRect& FEnlargedBounds;

    bool Running() const { return F.FRunning; }
    void RedrawPanels() { F.RedrawPanels(); }
    void FitChartAxes(TChart* Chart) { F.FitChartAxes(Chart); }
    TIncrementHistory& History() { return F.FHistory; }
};

class TWindows {
public:
    TWindows() : previousPause(SetBusyPause([this] { Paused(); }))
    {
        form = std::make_unique<TForm1>();
        enlarged = std::make_unique<TForm2>();
        about = std::make_unique<TAboutBox>();
        form->show();
        QApplication::setActiveWindow(form.get());
        shown = QTest::qWaitForWindowExposed(form.get());
    }
    virtual ~TWindows()
    {
        about.reset();
        enlarged.reset();
        form.reset();
        SetBusyPause(previousPause);
    }
    TWindows(const TWindows&) = delete;
    TWindows& operator=(const TWindows&) = delete;

    // Clicks a button on its caption: a check box takes clicks only there.
    static void Click(QAbstractButton* Button)
    {
        QTest::mouseClick(Button, Qt::LeftButton, {},
                          QPoint(std::min(8, Button->width() / 2), Button->height() / 2));
    }

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

    static QStringList Texts(const std::array<TNxNumEdit*, 4>& Edits)
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

    // What the window shows of a state: the panels, every series, the
    // finite tensor, the exponent and the readout.
    using TWindowState =
        std::tuple<QImage, QImage, std::vector<std::vector<std::pair<double, double>>>,
                   QStringList>;
    TWindowState WindowState() const
    {
        TWindowState s{
            form->MathImage1->Bitmap().copy(), form->MathImage2->Bitmap().copy(), {}, {}};
        for (TChart* chart :
             {form->Chart1, form->Chart2, form->Chart3, form->Chart4, form->Chart5, form->Chart6})
            for (int i = 0; i < chart->SeriesCount(); ++i)
                std::get<2>(s).push_back(Points(chart->SeriesList(i)));
        std::get<3>(s) = Texts(form->FiniteEdits()) + QStringList{form->StaticText3->Caption(),
                                                                  form->StaticTextRs->Caption(),
                                                                  form->StaticTextTheta->Caption(),
                                                                  form->StaticTextArea->Caption()};
        return s;
    }

    // The main window's model, for the checks a user cannot make.
    TForm1Probe Model() const { return TForm1Probe(*form); }

    // Types the increment count and clicks "Deformar".
    void Deform(int Count)
    {
        Type(form->NxSpinEditNoIncrements, QString::number(Count));
        Click(form->bitbtnDef);
    }

    Separators separators{".", ","};
    MessageRecorder messages;
    // The busy pauses so far; OnPause, when set, runs at each one.
    int pauses = 0;
    std::function<void()> OnPause;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TForm2> enlarged;
    std::unique_ptr<TAboutBox> about;
    bool shown = false;

private:
    void Paused()
    {
        ++pauses;
        if (OnPause) OnPause();
    }

    std::function<void()> previousPause;
};

// The English translation, installed for the object's life: the tests
// otherwise run in Spanish, the language of the program's own texts.
class TEnglishInterface {
public:
    TEnglishInterface()
    {
        Loaded =
            LoadEnglishTranslation(translator) && QCoreApplication::installTranslator(&translator);
    }
    ~TEnglishInterface() { QCoreApplication::removeTranslator(&translator); }

    bool Loaded = false;

private:
    QTranslator translator;
};

// The fixture of the window's tests.
class WindowTest : public testing::Test, public TWindows {
protected:
    WindowTest() { EXPECT_TRUE(shown); }
};

} // namespace tensim
