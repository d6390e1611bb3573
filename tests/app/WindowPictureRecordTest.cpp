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

// A flow type, 1..5 as its radio button, and the texts typed into the
// flow-tensor edits from (1,1) on, or the rotation's angle. Simple shear is
// set with its track bar.
struct TScriptedRun {
    const char* Name;
    int FlowType;
    std::vector<const char*> Entries;

    void SetFlow(TWindows& W) const
    {
        TForm1& form = *W.form;
        if (FlowType == 1) return W.Slide(form.TrackBar2, 5);
        const std::array<QRadioButton*, 5> types = {form.RadioButton1, form.RadioButton2,
                                                    form.RadioButton3, form.RadioButton4,
                                                    form.RadioButton5};
        W.Click(types[FlowType - 1]);
        for (size_t i = 0; i < Entries.size(); ++i)
            W.Type(FlowType == 5 ? static_cast<QLineEdit*>(form.NxSpinEditRotation)
                                 : form.FlowEdits()[i],
                   Entries[i]);
    }
};

void PrintTo(const TScriptedRun& Run, std::ostream* Stream)
{
    *Stream << Run.Name;
}

const TScriptedRun Runs[] = {
    {"simple-shear", 1, {}},
    {"pure-shear", 2, {"1.5"}},
    {"sub-simple-shear", 3, {"1.2", "0.4"}},
    {"general-shear", 4, {"1.1", "0.3", "-0.2", "0.9"}},
    {"rotation", 5, {"30"}},
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
