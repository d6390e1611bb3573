#include "app/Kinema08u2.h"

#include "app/About02.h"
#include "app/Application.h"
#include "app/Kinema08uMain.h"
#include "controls/Align.h"
#include "controls/Chart.h"
#include "controls/NxSpinEdit.h"
#include "controls/StdCtrls.h"
#include "drawing/MathImge.h"
#include "tests/app/WindowFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace tensim {
namespace {

enum class TWidgetKind { Panel, Chart };

QString BuildPath(const QString& Name)
{
    return QString(TENSIM_BUILD_DIR) + "/" + Name;
}

// The enlarged view, the about box and their dialogs.
class Windows : public WindowTest {
protected:
    // Runs Inside once the modal window that Open shows is up, then closes it.
    static void WhileOpen(const std::function<void()>& Open, const std::function<void()>& Inside)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            ran = true;
            Inside();
            if (QWidget* modal = QApplication::activeModalWidget())
                if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        });
        Open();
        EXPECT_TRUE(ran);
    }

    // Saves the enlarged control under Name through the save dialog.
    void SaveAs(const QString& Name)
    {
        QTimer::singleShot(0, [&] {
            // As the user types the name: the dialog's own selection of a
            // file follows its folder's listing, which loads later.
            QFileDialog* dialog = enlarged->SavePictureDialog1;
            dialog->setDirectory(QFileInfo(Name).absolutePath());
            auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(edit, nullptr);
            edit->setText(QFileInfo(Name).fileName());
            QMetaObject::invokeMethod(dialog, "accept");
        });
        enlarged->Savetofile1->trigger();
    }
};

TEST_F(Windows, EnlargedChartFillsTheWindowAndGoesBack)
{
    form->TrackBar2->SetPosition(5);
    Deform(4);
    TChart* chart = form->Chart2;
    const QRect bounds = chart->geometry();
    QWidget* const parent = chart->parentWidget();
    WhileOpen([&] { QTest::mouseDClick(chart, Qt::LeftButton); },
              [&] {
                  EXPECT_TRUE(enlarged->isVisible());
                  EXPECT_EQ(enlarged->windowTitle(), "Inclinación de elipse vs. Razón axial");
                  EXPECT_EQ(chart->parentWidget(), enlarged.get());
                  EXPECT_EQ(chart->geometry(), enlarged->rect());
                  EXPECT_EQ(enlarged->size(), QSize(800, 600));
                  EXPECT_EQ(Model().FEnlargedControl, chart);
                  EXPECT_EQ(Model().FEnlargedBounds, bounds);
                  // A second double click while the view is open does nothing.
                  form->Chart1DblClick(form->Chart1);
                  EXPECT_EQ(form->Chart1->parentWidget(), form->Panel1);
                  enlarged->grab().save(BuildPath("enlarged-chart.png"));
              });
    EXPECT_FALSE(enlarged->isVisible());
    EXPECT_EQ(chart->parentWidget(), parent);
    EXPECT_EQ(chart->geometry(), bounds);
    EXPECT_TRUE(chart->isVisible());
    EXPECT_EQ(GetAlign(chart), alRight); // as before
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Windows, EnlargedPanelsAreRedrawnAtTheirSizeAndGoBack)
{
    form->TrackBar2->SetPosition(7);
    form->chbxVelFld->setChecked(true);
    Deform(3);
    struct Row {
        TMathImage* TForm1::*Panel;
        int Side;
    };
    for (const Row& row : {Row{&TForm1::MathImage1, 550}, Row{&TForm1::MathImage2, 400}}) {
        TMathImage* panel = form.get()->*row.Panel;
        const QRect bounds = panel->geometry();
        QWidget* const parent = panel->parentWidget();
        const QImage before = panel->Bitmap().copy();
        WhileOpen([&] { QTest::mouseDClick(panel, Qt::LeftButton); },
                  [&] {
                      EXPECT_EQ(enlarged->size(), QSize(row.Side, row.Side));
                      EXPECT_EQ(enlarged->windowTitle(),
                                row.Side == 550 ? "Finita" : "Incremental");
                      EXPECT_EQ(panel->geometry(), QRect(0, 0, row.Side, row.Side));
                      EXPECT_EQ(panel->Bitmap().size(), QSize(row.Side, row.Side));
                      // Redrawn for the new size: the window's right edge is
                      // near the picture's right edge.
                      EXPECT_GT(panel->WindowX(panel->d2WorldX2()), row.Side - 40);
                      EXPECT_TRUE(Model().FEllipse->Drawn());
                      if (row.Side != 550) return;
                      enlarged->grab().save(BuildPath("enlarged-finite-panel.png"));
                      // One scale for x and y, also in a view wider than tall.
                      enlarged->resize(700, 450);
                      Model().RedrawPanels();
                      EXPECT_EQ(panel->Mapping().Sx(), -panel->Mapping().Sy());
                  });
        EXPECT_EQ(panel->parentWidget(), parent);
        EXPECT_EQ(panel->geometry(), bounds);
        // Redrawn at its old bounds: the same picture as before.
        EXPECT_EQ(panel->Bitmap(), before);
    }
    // The window keeps the size the last panel gave it.
    WhileOpen([&] { QTest::mouseDClick(form->Chart1, Qt::LeftButton); },
              [&] { EXPECT_EQ(enlarged->size(), QSize(400, 400)); });
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(Windows, PicturesAreSavedInTheFormatTheirNamesName)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    Deform(2);
    struct Row {
        const char* Name;
        QByteArray Format; // as QImageReader reads it back
    };
    const Row rows[] = {{"panel.png", "png"},   {"panel.bmp", "bmp"},     {"panel.jpg", "jpeg"},
                        {"panel.JPEG", "jpeg"}, {"sin-extension", "bmp"}, {"raro.xyz", "bmp"}};
    for (TWidgetKind kind : {TWidgetKind::Panel, TWidgetKind::Chart}) {
        QWidget* control = kind == TWidgetKind::Panel ? static_cast<QWidget*>(form->MathImage1)
                                                      : static_cast<QWidget*>(form->Chart1);
        WhileOpen([&] { QTest::mouseDClick(control, Qt::LeftButton); },
                  [&] {
                      for (const Row& row : rows) {
                          const QString path =
                              folder.filePath(QString::number(int(kind)) + row.Name);
                          SaveAs(path);
                          QImageReader reader(path);
                          EXPECT_EQ(reader.format(), row.Format) << row.Name;
                          EXPECT_EQ(reader.size(), control->size()) << row.Name;
                      }
                      const QString svg = folder.filePath(QString::number(int(kind)) + "a.svg");
                      SaveAs(svg);
                      QSvgRenderer renderer(svg);
                      EXPECT_TRUE(renderer.isValid());
                      EXPECT_NEAR(renderer.viewBox().width(), control->width(), 1);
                      // PDF as a vector page: no embedded picture.
                      const QString pdf = folder.filePath(QString::number(int(kind)) + "a.pdf");
                      SaveAs(pdf);
                      QFile file(pdf);
                      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
                      const QString bytes = QString::fromLatin1(file.readAll());
                      EXPECT_TRUE(bytes.startsWith("%PDF-"));
                      EXPECT_FALSE(bytes.contains(QRegularExpression("/Subtype\\s*/Image")));

                      // A file that cannot be written: the error dialog, and the
                      // view stays open.
                      const QString bad = folder.filePath("no-such-folder/x.png");
                      enlarged->SaveToFile(bad);
                      ASSERT_EQ(messages.messages.size(), 1u);
                      EXPECT_EQ(messages.messages[0].Kind, TMessageKind::Error);
                      EXPECT_NE(messages.messages[0].Text.find("No se pudo guardar «" +
                                                               bad.toStdString() +
                                                               "»: la carpeta no existe."),
                                std::string::npos);
                      EXPECT_TRUE(enlarged->isVisible());
                      messages.messages.clear();
                  });
    }
}

// A panel's SVG is a vector picture of the panel: lines and texts, no
// embedded picture, and its raster at the panel's size is the panel's own
// picture but for the few pixels where shapes cross (not-xor on the screen,
// a plain pen in the picture) and where Qt's lines and Bresenham's differ.
TEST_F(Windows, PanelSvgIsAVectorPictureOfThePanel)
{
    form->TrackBar2->SetPosition(5);
    form->chkbxAp->setChecked(true);
    form->chkbxISA->setChecked(true);
    Deform(4);
    QTemporaryDir folder;
    // The share of differing pixels: small where shapes meet only at a few
    // points; larger with the velocity field, whose arrows overlap and
    // cancel out on the screen.
    struct Row {
        TMathImage* TForm1::*Panel;
        bool Field;
        double Share;
    };
    // Measured: 1.3 % and 1.2 % without the field (the lines of Qt and of
    // Bresenham part by a pixel here and there, and so do the texts), 7.2 %
    // with it.
    const Row rows[] = {{&TForm1::MathImage1, false, 0.02},
                        {&TForm1::MathImage2, false, 0.02},
                        {&TForm1::MathImage1, true, 0.10}};
    for (const Row& row : rows) {
        TMathImage* panel = form.get()->*row.Panel;
        form->chbxVelFld->setChecked(row.Field);
        const QString name = panel->objectName() + (row.Field ? "-field" : "");
        const QString path = folder.filePath(name + ".svg");
        QImage picture;
        WhileOpen([&] { QTest::mouseDClick(panel, Qt::LeftButton); },
                  [&] {
                      enlarged->SaveToFile(path);
                      picture = panel->Bitmap().copy();
                  });
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray svg = file.readAll();
        EXPECT_FALSE(svg.contains("<image")) << name.toStdString();
        EXPECT_TRUE(svg.contains("<text"));
        QSvgRenderer renderer(svg);
        ASSERT_TRUE(renderer.isValid());
        QImage raster(picture.size(), QImage::Format_RGB32);
        raster.fill(Qt::white);
        QPainter painter(&raster);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(picture.size())));
        painter.end();
        int differing = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                differing += (raster.pixel(x, y) & 0xFFFFFF) != (picture.pixel(x, y) & 0xFFFFFF);
        const double share = double(differing) / (picture.width() * picture.height());
        std::printf("%s: %.2f %% of the pixels differ\n", qPrintable(name), 100 * share);
        EXPECT_LT(share, row.Share) << name.toStdString();
        raster.save(BuildPath(name + "-from-svg.png"));
        picture.save(BuildPath(name + "-panel.png"));
    }
}

// A chart's data as CSV: one header line, then each point of each series
// under the series' title or name, read back to the same numbers.
TEST_F(Windows, ChartDataExportAsCsv)
{
    form->TrackBar2->SetPosition(7);
    Deform(5);
    QTemporaryDir folder;
    for (TChart* chart : {form->Chart1, form->Chart2, form->Chart4}) {
        const QString path = folder.filePath(chart->objectName() + ".csv");
        WhileOpen([&] { QTest::mouseDClick(chart, Qt::LeftButton); },
                  [&] {
                      // Through the dialog, as the user does.
                      QTimer::singleShot(0, [&] {
                          QFileDialog* dialog = enlarged->SaveDataDialog1;
                          dialog->setDirectory(folder.path());
                          dialog->findChild<QLineEdit*>("fileNameEdit")
                              ->setText(chart->objectName()); // the suffix is added
                          QMetaObject::invokeMethod(dialog, "accept");
                      });
                      enlarged->Exportardatos1->trigger();
                  });
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << path.toStdString();
        const QList<QByteArray> lines = file.readAll().split('\n');
        ASSERT_GE(lines.size(), 2);
        EXPECT_EQ(lines[0], "serie,x,y");
        int row = 1;
        for (int s = 0; s < chart->SeriesCount(); ++s) {
            const TChartSeries* series = chart->SeriesList(s);
            const QByteArray name =
                (series->Title.isEmpty() ? series->objectName() : series->Title).toUtf8();
            EXPECT_FALSE(name.isEmpty());
            for (int i = 0; i < series->Count(); ++i, ++row) {
                ASSERT_LT(row, lines.size());
                const QList<QByteArray> fields = lines[row].split(',');
                ASSERT_EQ(fields.size(), 3) << lines[row].toStdString();
                EXPECT_EQ(fields[0], name);
                EXPECT_EQ(fields[1].toDouble(), series->XValues.Value(i));
                EXPECT_EQ(fields[2].toDouble(), series->YValues.Value(i));
            }
        }
        EXPECT_EQ(row, lines.size() - 1); // and a last line break
        // The series are named for what they hold.
        EXPECT_TRUE(chart != form->Chart1 || lines[1].startsWith("Lado 1,"));
        EXPECT_TRUE(lines.last().isEmpty());
    }
    // Only a chart has data to export.
    bool shown = true;
    WhileOpen([&] { QTest::mouseDClick(form->MathImage1, Qt::LeftButton); },
              [&] {
                  QTimer::singleShot(0, [&] {
                      shown = enlarged->Exportardatos1->isVisible();
                      enlarged->PopupMenu1->close();
                  });
                  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
                  QApplication::sendEvent(enlarged.get(), &event);
              });
    EXPECT_FALSE(shown);
    // A file that cannot be written: the error dialog.
    WhileOpen([&] { QTest::mouseDClick(form->Chart1, Qt::LeftButton); },
              [&] { enlarged->ExportToFile(folder.path()); });
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].Kind, TMessageKind::Error);
    EXPECT_EQ(messages.messages[0].Text.rfind(
                  "No se pudo guardar «" + folder.path().toStdString() + "»: es una carpeta.", 0),
              0u);
}

TEST_F(Windows, CopyPutsThePictureOnTheClipboard)
{
    Deform(1);
    QClipboard* clipboard = QGuiApplication::clipboard();
    WhileOpen([&] { QTest::mouseDClick(form->MathImage2, Qt::LeftButton); },
              [&] {
                  clipboard->clear();
                  enlarged->Copiaralportapapeles1->trigger();
                  EXPECT_EQ(clipboard->image(), form->MathImage2->Bitmap());
              });
    WhileOpen([&] { QTest::mouseDClick(form->Chart2, Qt::LeftButton); },
              [&] {
                  clipboard->clear();
                  enlarged->Copiaralportapapeles1->trigger();
                  const QMimeData* data = clipboard->mimeData();
                  ASSERT_NE(data, nullptr);
                  EXPECT_TRUE(data->hasImage());
                  EXPECT_TRUE(QSvgRenderer(data->data("image/svg+xml")).isValid());
              });
}

TEST_F(Windows, PopupMenuOffersSavingAndCopying)
{
    QStringList items;
    for (const QAction* action : enlarged->PopupMenu1->actions())
        items << action->text();
    EXPECT_EQ(items, QStringList(
                         {"Guardar a archivo", "Copiar al portapapeles", "Exportar datos (CSV)…"}));
    const QStringList filters = enlarged->SavePictureDialog1->nameFilters();
    for (const char* pattern : {"*.png", "*.bmp", "*.jpg", "*.svg"})
        EXPECT_TRUE(filters.first().contains(pattern)) << pattern;
}

// ---- the about box ---------------------------------------------------------

TEST_F(Windows, AboutBoxShowsTheProgram)
{
    EXPECT_EQ(about->windowTitle(), "Información");
    EXPECT_EQ(about->size(), QSize(337, 217));
    EXPECT_EQ(about->ProductName->text(), "Programa Tensim");
    EXPECT_EQ(about->Version->text(), "Versión 2.1");
    EXPECT_EQ(about->Image1->pixmap().size(), QSize(32, 32));
    EXPECT_EQ(about->ProgramIcon->size(), QSize(138, 150));
    const QString text = about->Memo1->toPlainText();
    EXPECT_TRUE(text.contains("Agradecimientos:"));
    for (const char* library : {"Qt", "GoogleTest"})
        EXPECT_TRUE(text.contains(library)) << library;
    // Every line fits the memo.
    for (const QString& line : text.split('\n'))
        EXPECT_LE(about->fontMetrics().horizontalAdvance(line),
                  about->Memo1->width() - about->Memo1->verticalScrollBar()->sizeHint().width() - 8)
            << line.toStdString();
    WhileOpen([&] { about->exec(); }, [&] { about->grab().save(BuildPath("about-box.png")); });
}

// The scroll runs from the memo's place, 24 pixels below the image's top, up
// to the credits' height above it: 24 + h + 1 steps of 40 ms.
TEST_F(Windows, CreditsScrollOnePixelPerWait)
{
    const int lines = about->Memo1->toPlainText().split('\n').size();
    const int height = lines * QFontMetrics(about->font()).height();
    ASSERT_EQ(about->Memo1->y() - about->Image2->y(), 24);
    std::vector<int> waits;
    bool buttonsEnabled = false, memoShown = true;
    about->Wait = [&](int Milliseconds) {
        waits.push_back(Milliseconds);
        buttonsEnabled =
            buttonsEnabled || about->BitBtn1->isEnabled() || about->BitBtn2->isEnabled();
        memoShown = memoShown && !about->Memo1->isHidden();
    };
    WhileOpen([&] { about->exec(); },
              [&] {
                  about->BitBtn1->click();
                  EXPECT_EQ(static_cast<int>(waits.size()), 24 + height + 1);
                  EXPECT_TRUE(
                      std::all_of(waits.begin(), waits.end(), [](int w) { return w == 40; }));
                  EXPECT_FALSE(buttonsEnabled);
                  EXPECT_FALSE(memoShown);
                  EXPECT_TRUE(about->BitBtn1->isEnabled());
                  EXPECT_FALSE(about->Memo1->isHidden());
                  EXPECT_TRUE(about->Image2->isHidden());
              });
}

// Closing the box in the middle of the scroll ends it there.
TEST_F(Windows, ClosingTheBoxEndsTheScroll)
{
    int waits = 0;
    about->Wait = [&](int Milliseconds) {
        ++waits;
        if (waits == 10) about->reject();
        WaitWithMessages(Milliseconds / 40); // let the close go through
    };
    QTimer::singleShot(0, [&] { about->BitBtn1->click(); });
    QElapsedTimer timer;
    timer.start();
    about->exec();
    EXPECT_EQ(waits, 10);
    EXPECT_FALSE(about->isVisible());
    EXPECT_TRUE(about->BitBtn2->isEnabled());
    EXPECT_LT(timer.elapsed(), 5000);
}

// An enlarged control goes back to its place, and from there keeps
// scaling with the window as if it had never been enlarged.
TEST_F(Windows, EnlargedControlsKeepScalingWithTheWindow)
{
    TForm1 never;
    never.show();
    Form1 = form.get(); // the window the enlarged view works for
    for (const char* name : {"Chart1", "Chart2", "Chart3", "Chart4", "MathImage1", "MathImage2"}) {
        auto* const control = form->findChild<QWidget*>(name);
        const bool mohr = control == form->Chart3 || control == form->Chart4;
        form->PageControl1->setCurrentIndex(mohr ? 1 : 0);
        never.PageControl1->setCurrentIndex(mohr ? 1 : 0);
        WhileOpen([&] { QTest::mouseDClick(control, Qt::LeftButton); }, [] {});
        for (const QSize size : {QSize(1000, 700), QSize(792, 573)}) {
            form->resize(size);
            never.resize(size);
            EXPECT_EQ(control->geometry(), never.findChild<QWidget*>(name)->geometry())
                << name << " at " << size.width();
        }
    }
}

// The real wait processes the window's messages until its time is up.
TEST(WaitWithMessages, ProcessesEventsUntilTheDeadline)
{
    QElapsedTimer timer;
    int delivered = 0;
    QTimer::singleShot(5, [&] { ++delivered; });
    timer.start();
    WaitWithMessages(40);
    EXPECT_GE(timer.elapsed(), 35);
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(delivered, 1);
    timer.start();
    WaitWithMessages(0);
    EXPECT_LT(timer.elapsed(), 20);
}

TEST_F(Windows, InfoMinimisesTheMainWindowWhileTheBoxIsOpen)
{
    for (Qt::WindowState state : {Qt::WindowMaximized, Qt::WindowNoState}) {
        form->setWindowState(state);
        Qt::WindowStates during;
        WhileOpen([&] { form->bitbtnInfo->click(); },
                  [&] {
                      during = form->windowState();
                      EXPECT_TRUE(about->isVisible());
                  });
        EXPECT_TRUE(during & Qt::WindowMinimized);
        EXPECT_EQ(form->windowState(), state);
    }
}

} // namespace
} // namespace tensim
