// Exercise files, animations, printing and the presentation mode.

#include "app/Exercise.h"

#include "controls/Easysize.h"
#include "tests/app/WindowFixture.h"

#include <QCheckBox>
#include <QFile>
#include <QImageReader>
#include <QPdfWriter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <iterator>
#include <random>

namespace tensim {
namespace {

// A small exercise as a teacher might write it by hand, without "restore".
const char* const HandWritten = R"({"format": "tensim-exercise", "version": 1,
  "flowType": "simpleShear", "flow": [1, 0.5, 0, 1], "rotationDegrees": 0,
  "increments": [{"flow": [1, 0.5, 0, 1], "rotationDegrees": 0, "count": 3}],
  "visible": {"ellipse": true, "axes": false, "triangle": true, "markers": true,
    "velocityField": false, "elongationFields": false, "apophyses": false, "stretchingAxes": false},
  "charts": {"tab": 2, "stretch": true, "inclination": true, "flowMohr": true, "strainMohr": true,
    "rfPhi": true, "polar": true},
  "markers": {"list": [[0.5, 0.5, 0.2, 0.1, 30]]}})";

QByteArray Replaced(const char* From, const char* To)
{
    QByteArray text(HandWritten);
    EXPECT_TRUE(text.contains(From)) << From;
    return text.replace(From, To);
}

TEST(ExerciseFile, BrokenFilesAreRefusedNamingTheProblem)
{
    ASSERT_TRUE(ReadExercise(HandWritten).Exercise);
    std::string tooLong = R"("increments": [)";
    for (int i = 0; i < 101; ++i)
        tooLong += R"({"flow": [1, 0.5, 0, 1], "rotationDegrees": 0, "count": 1000},)";
    tooLong.back() = ']';
    const struct {
        QByteArray Text;
        const char* Message;
    } rows[] = {
        {Replaced("tensim-exercise", "tensim"), "no es un ejercicio de Tensim"},
        {Replaced("\"version\": 1", "\"version\": 2"), "versión de ejercicio desconocida (2)"},
        {Replaced("\"flow\": [1, 0.5, 0, 1], \"rotationDegrees\": 0,\n",
                  "\"rotationDegrees\": 0,\n"),
         "Falta el dato «flow»."},
        {Replaced("[1, 0.5, 0, 1], \"rotationDegrees\": 0,\n",
                  "[1, 0.5, 0], \"rotationDegrees\": 0,\n"),
         "El dato «flow» debe tener 4 valores."},
        {Replaced("[1, 0.5, 0, 1], \"rotationDegrees\": 0,\n",
                  "[1, 2e6, 0, 1], \"rotationDegrees\": 0,\n"),
         "El dato «flow[1]» está fuera del intervalo admitido (-1000000 a 1000000)."},
        {Replaced("[1, 0.5, 0, 1], \"rotationDegrees\": 0,\n",
                  "[1, \"0,5\", 0, 1], \"rotationDegrees\": 0,\n"),
         "El dato «flow[1]» debe ser un número."},
        {Replaced("simpleShear", "shear"), "El dato «flowType» debe ser uno de"},
        {Replaced("[1, 0.5, 0, 1], \"rotationDegrees\": 0,\n",
                  "[2, 0.5, 0, 1], \"rotationDegrees\": 0,\n"),
         "no corresponde al tipo de flujo «simpleShear»"},
        {Replaced("\"count\": 3", "\"count\": 1.5"),
         "«increments[0].count» debe ser un número entero"},
        {Replaced("\"markers\": true", "\"markers\": 1"),
         "«visible.markers» debe ser true o false"},
        {Replaced("0.2, 0.1, 30", "0.2, 0, 30"), "El marcador «markers.list[0]» no es válido"},
        {Replaced(R"("increments": [{"flow": [1, 0.5, 0, 1], "rotationDegrees": 0, "count": 3}])",
                  tooLong.c_str()),
         "El ejercicio tiene más de 100000 incrementos."},
        {Replaced("30]]}}",
                  "30]]}, \"restore\": {\"window\": [2, -2, -2, 2], \"flowCircleAxis\": []}}"),
         "«restore.window» no es una ventana"},
    };
    for (const auto& row : rows) {
        const TExerciseRead read = ReadExercise(row.Text);
        EXPECT_FALSE(read.Exercise) << row.Message;
        EXPECT_TRUE(read.Error.contains(QString::fromUtf8(row.Message)))
            << read.Error.toStdString() << "\n  expected: " << row.Message;
    }
    // A population too large for the increments: the window would be busy for minutes.
    TExercise x;
    x.Markers.assign(MaxMarkers, TMarker{});
    x.Increments = {{{1, 1, 0, 1}, 0, MaxExerciseMarkerSteps / MaxMarkers + 1}};
    EXPECT_TRUE(ExerciseSizeError(x).contains("demasiados incrementos para sus 10000 marcadores"));
    x.Increments[0].Increments--;
    EXPECT_TRUE(ExerciseSizeError(x).isEmpty());
}

// A file reads back exactly; mutated, it is read whole or refused with a
// message: whatever is read holds only values the window can show, and
// reads back the same.
TEST(ExerciseFile, TenThousandMutatedFilesAreReadWholeOrRefused)
{
    // Numbers of every digit a double holds, which the file must keep.
    TExercise rich;
    rich.FlowType = TFlowType::SubSimpleShear;
    rich.Flow = {1.25, 1 / 3.0, 0, 0.8};
    rich.Increments = {{{1.25, 0.1 + 0.2, 0, 0.8}, 0, 3}, {{1.1, 0.25, 0, 1 / 1.1}, 0, 2}};
    rich.Markers = {{0.5, -2 / 7.0, 0.3, 0.1, 45}, {-1, 1e-300, 0.2, 0.15, -30}};
    rich.AxisPointsAtRestore = {{0, 0}, {0, 1e300 / 3}};
    rich.FieldAtRestore = TFieldAtRestore{{{1, 0.5, 0, 1}, 0, 0}, {-2, -2, 2, 2 + 1 / 9.0}};
    const QByteArray base = ExerciseJson(rich);
    ASSERT_EQ(ExerciseJson(*ReadExercise(base).Exercise), base);
    const char* const tokens[] = {"-", "1e999", "null", "\"x\"", "[", "}",
                                  "9", ".",     "1e6",  ",",     "0"};
    std::mt19937 random(2024);
    int read = 0, refused = 0;
    for (int round = 0; round < 10000; ++round) {
        QByteArray text = base;
        for (int edits = 1 + random() % 3; edits > 0; --edits) {
            const int at = random() % text.size();
            switch (random() % 4) {
            case 0:
                text[at] = char(random() % 256);
                break;
            case 1:
                text.remove(at, 1 + random() % 8);
                break;
            case 2:
                text.insert(at, tokens[random() % std::size(tokens)]);
                break;
            default:
                text.insert(at, text.mid(random() % text.size(), 1 + random() % 20));
                break;
            }
        }
        const TExerciseRead result = ReadExercise(text);
        if (!result.Exercise) {
            ++refused;
            ASSERT_FALSE(result.Error.isEmpty()) << text.toStdString();
            continue;
        }
        ++read;
        const TExercise& x = *result.Exercise;
        ASSERT_TRUE(result.Error.isEmpty());
        for (double e : x.Flow)
            ASSERT_LE(std::fabs(e), MaxFlowEntry) << text.toStdString();
        for (const TAppliedClick& c : x.Increments)
            ASSERT_TRUE(c.Increments >= 0 && c.Increments <= MaxIncrementsPerClick);
        for (const TMarker& m : x.Markers)
            ASSERT_FALSE(CheckMarker(m).Error) << text.toStdString();
        ASSERT_TRUE(x.ChartTab >= 0 && x.ChartTab <= 2);
        ASSERT_TRUE(ExerciseSizeError(x).isEmpty());
        ASSERT_EQ(ExerciseJson(*ReadExercise(ExerciseJson(x)).Exercise), ExerciseJson(x));
    }
    EXPECT_GT(read, 100);
    EXPECT_GT(refused, 5000);
}

class TeacherTools : public WindowTest {
protected:
    QTemporaryDir folder;

    // Sub-simple shear with a change of L, a restore and more increments,
    // the markers, fields and flow axes shown and the Rf/phi charts.
    void SetUpASession()
    {
        Click(form->RadioButton3);
        Type(form->NxNumEdit1, "1.2");
        Type(form->NxNumEdit2, "0.4");
        for (QCheckBox* box : {form->chbxMarkers, form->chbxElongFields, form->chbxVelFld,
                               form->chkbxAp, form->chbxAxes})
            Click(box);
        Click(form->bitbtnNewMarkers);
        Deform(3);
        Click(form->bitbtnResta);
        Type(form->NxNumEdit2, "0.7");
        Deform(2);
        Type(form->NxNumEdit1, "0.9");
        Deform(1);
        Type(form->NxNumEdit2, "0.2");
        form->PageControl1->setCurrentIndex(2);
    }
};

// A file that cannot be opened changes nothing; a saved one opens to the
// same state in a new window.
TEST_F(TeacherTools, ASavedExerciseOpensToTheSameStateInANewWindow)
{
    SetUpASession();
    const TWindowState saved = WindowState();
    const QString broken = folder.filePath("roto.tensim");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Replaced("\"tab\": 2", "\"tab\": 7"));
    file.close();
    EXPECT_FALSE(form->OpenExercise(broken));
    EXPECT_FALSE(form->OpenExercise(folder.filePath("no-existe.tensim")));
    EXPECT_EQ(WindowState(), saved);
    ASSERT_EQ(messages.messages.size(), 2u);
    EXPECT_NE(messages.messages[0].Text.find("«charts.tab» está fuera"), std::string::npos);

    const QStringList flow = Texts(form->FlowEdits());
    const QString path = folder.filePath("clase.tensim");
    ASSERT_TRUE(form->SaveExercise(path));
    const TExercise exercise = form->Exercise();
    form = std::make_unique<TForm1>();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const int pausesBefore = pauses;
    ASSERT_TRUE(form->OpenExercise(path));
    EXPECT_EQ(pauses, pausesBefore); // no pause
    EXPECT_EQ(WindowState(), saved);
    EXPECT_EQ(Texts(form->FlowEdits()), flow);
    EXPECT_EQ(ExerciseJson(form->Exercise()), ExerciseJson(exercise));
    EXPECT_TRUE(form->RadioButton3->isChecked() && form->Chart5->isVisible());

    // A file of a state the window could not open again is not written.
    for (int i = 0; i < 101; ++i)
        Model().History().Add({{1, 0.5, 0, 1}, 0, 1000});
    EXPECT_FALSE(form->SaveExercise(folder.filePath("largo.tensim")));
    EXPECT_FALSE(QFile::exists(folder.filePath("largo.tensim")));
}

// The examples open, with their increments applied; the sub-simple shear
// one is named after its vorticity number.
TEST_F(TeacherTools, TheExampleExercisesOpen)
{
    for (const char* name : {"cizalla_simple.tensim", "poblacion_marcadores.tensim",
                             "cizalla_subsimple_wk08.tensim"}) {
        ASSERT_TRUE(form->OpenExercise(QString(TENSIM_SOURCE_DIR) + "/data/" + name)) << name;
        EXPECT_GT(Model().FIncrementCount, 0) << name;
    }
    EXPECT_EQ(form->StaticTextWk->Caption(), "Wk = 0.8000");
}

// The GIF read back with Qt's reader: one frame for the state and one per
// increment, the first and last the finite panel's pictures of those states.
TEST_F(TeacherTools, AnAnimationRecordsThePanelAndLeavesTheWindowAsItWas)
{
    Slide(form->TrackBar2, 5);
    Click(form->chbxMarkers);
    Deform(1);
    const TWindowState before = WindowState();
    const QString gif = folder.filePath("cizalla.gif");
    const int pausesBefore = pauses;
    int reported = 0;
    ASSERT_TRUE(form->ExportAnimation(gif, 4, [&](int Frame) { return ++reported == Frame; }));
    EXPECT_EQ(reported, 4);
    EXPECT_EQ(pauses, pausesBefore);
    EXPECT_EQ(WindowState(), before);

    QImageReader reader(gif);
    ASSERT_EQ(reader.imageCount(), 5);
    const auto rgb = [](const QImage& Image) {
        return Image.convertToFormat(QImage::Format_RGB32);
    };
    EXPECT_EQ(rgb(reader.read()), rgb(form->MathImage1->Bitmap()));
    QImage last;
    for (int i = 1; i < 5; ++i)
        last = reader.read();
    ASSERT_FALSE(last.isNull());
    Deform(4);
    EXPECT_EQ(rgb(last), rgb(form->MathImage1->Bitmap()));

    // Numbered PNGs; a cancelled recording leaves no file.
    ASSERT_TRUE(form->ExportAnimation(folder.filePath("serie.png"), 2));
    for (const char* name : {"serie_000.png", "serie_001.png", "serie_002.png"})
        EXPECT_TRUE(QFile::exists(folder.filePath(name))) << name;
    EXPECT_FALSE(form->ExportAnimation(folder.filePath("corta.png"), 3, [](int) { return false; }));
    EXPECT_FALSE(form->ExportAnimation(folder.filePath("corta.gif"), 3, [](int) { return false; }));
    EXPECT_EQ(QDir(folder.path()).entryList({"corta*"}, QDir::Files), QStringList());
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(TeacherTools, PresentationModeScalesTheFontsAndLeavesThemExactly)
{
    form->resize(600, 420);
    const auto layout = [&] {
        std::vector<std::pair<QRect, QFont>> controls;
        for (QObject* c : Components(form.get()))
            controls.emplace_back(static_cast<QWidget*>(c)->geometry(),
                                  static_cast<QWidget*>(c)->font());
        return std::make_pair(form->geometry(), controls);
    };
    const auto before = layout();
    const int points = form->bitbtnDef->font().pointSize();
    QTest::keyClick(form.get(), Qt::Key_F11);
    ASSERT_TRUE(form->PresentationMode());
    QTRY_VERIFY(form->width() > 600);
    EXPECT_TRUE(form->isFullScreen());
    EXPECT_GT(form->bitbtnDef->font().pointSize(), points);
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(form->PresentationMode());
    EXPECT_EQ(layout(), before);
    // Resizing in normal mode leaves the fonts alone.
    form->resize(900, 700);
    EXPECT_EQ(form->bitbtnDef->font().pointSize(), points);
}

TEST_F(TeacherTools, ThePrintedPageIsOnePageOfVectorsAndText)
{
    Slide(form->TrackBar2, 5);
    Deform(2);
    const QString path = folder.filePath("hoja.pdf");
    {
        QPdfWriter writer(path);
        form->PrintPage(writer);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_EQ(QString(pdf).count(QRegularExpression("/Type\\s*/Page[^s]")), 1);
    EXPECT_FALSE(QString::fromLatin1(pdf).contains(QRegularExpression("/Subtype\\s*/Image")));
}

} // namespace
} // namespace tensim
