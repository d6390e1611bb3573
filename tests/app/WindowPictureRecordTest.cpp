// The main window after one scripted run of each flow type, recorded once:
// both panels, the four charts, the tensors and the charts' data. Any change
// to the program that should not change what it shows must leave every
// record as it is. The same runs at scale factor 2 have records of their own.

#include "controls/Chart.h"
#include "controls/NxNumEdit.h"
#include "controls/NxSpinEdit.h"
#include "drawing/MathImge.h"
#include "tests/PictureRecord.h"
#include "tests/app/WindowFixture.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>

namespace tensim {
namespace {

struct TScriptedRun {
    const char* Name;
    std::function<void(TWindows&)> SetFlow;
};

void PrintTo(const TScriptedRun& Run, std::ostream* Stream)
{
    *Stream << Run.Name;
}

const TScriptedRun Runs[] = {
    {"simple-shear", [](TWindows& w) { w.Slide(w.form->TrackBar2, 5); }},
    {"pure-shear",
     [](TWindows& w) {
         w.Click(w.form->RadioButton2);
         w.Type(w.form->NxNumEdit1, "1.5");
     }},
    {"sub-simple-shear",
     [](TWindows& w) {
         w.Click(w.form->RadioButton3);
         w.Type(w.form->NxNumEdit1, "1.2");
         w.Type(w.form->NxNumEdit2, "0.4");
     }},
    {"general-shear",
     [](TWindows& w) {
         w.Click(w.form->RadioButton4);
         w.Type(w.form->NxNumEdit1, "1.1");
         w.Type(w.form->NxNumEdit2, "0.3");
         w.Type(w.form->NxNumEdit3, "-0.2");
         w.Type(w.form->NxNumEdit4, "0.9");
     }},
    {"rotation",
     [](TWindows& w) {
         w.Click(w.form->RadioButton5);
         w.Type(w.form->NxSpinEditRotation, "30");
     }},
};

class WindowRecord : public WindowTest, public testing::WithParamInterface<TScriptedRun> {
protected:
    // The CSV that "Exportar datos (CSV)…" writes for Chart.
    QByteArray ExportedData(TChart* Chart)
    {
        QTemporaryDir folder;
        const QString file = folder.filePath("data.csv");
        QTimer::singleShot(0, [&] {
            enlarged->ExportToFile(file);
            enlarged->reject();
        });
        QTest::mouseDClick(Chart, Qt::LeftButton);
        QFile data(file);
        EXPECT_TRUE(data.open(QIODevice::ReadOnly)) << Chart->objectName().toStdString();
        return data.readAll();
    }

    void ShowTab(int Index)
    {
        QTabBar* tabs = form->PageControl1->findChild<QTabBar*>();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(Index).center());
        ASSERT_EQ(form->PageControl1->currentIndex(), Index);
    }
};

TEST_P(WindowRecord, ScriptedRunShowsAsRecorded)
{
    const QString folder = "tests/app/pictures";
    const double ratio = form->devicePixelRatioF();
    ASSERT_TRUE(ratio == 1 || ratio == 2) << ratio;
    const QString name = QString(GetParam().Name) + (ratio == 2 ? "-x2" : "");

    GetParam().SetFlow(*this);
    for (QCheckBox* box : {form->chbxVelFld, form->chkbxAp, form->chkbxISA})
        Click(box);
    Deform(6);
    ASSERT_EQ(pauses, 6);

    EXPECT_TRUE(MatchesRecord(form->MathImage1->Bitmap(), folder, name + "-finite"));
    EXPECT_TRUE(MatchesRecord(form->MathImage2->Bitmap(), folder, name + "-incremental"));
    QByteArray texts;
    for (const auto& edits : {form->FlowEdits(), form->FiniteEdits()})
        for (const TNxNumEdit* edit : edits)
            texts += edit->text().toUtf8() + "\n";
    for (int tab : {0, 1}) {
        ShowTab(tab);
        for (TChart* chart : tab == 0 ? std::vector<TChart*>{form->Chart1, form->Chart2}
                                      : std::vector<TChart*>{form->Chart3, form->Chart4}) {
            ASSERT_TRUE(chart->isVisible());
            EXPECT_TRUE(MatchesRecord(chart->grab().toImage(), folder,
                                      name + "-" + chart->objectName().toLower()));
            texts += chart->objectName().toUtf8() + "\n" + ExportedData(chart);
        }
    }
    EXPECT_TRUE(MatchesTextRecord(texts, folder, name));
    EXPECT_TRUE(messages.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(FlowTypes, WindowRecord, testing::ValuesIn(Runs),
                         [](const testing::TestParamInfo<TScriptedRun>& Info) {
                             QString name = Info.param.Name;
                             return name.remove('-').toStdString();
                         });

} // namespace
} // namespace tensim
