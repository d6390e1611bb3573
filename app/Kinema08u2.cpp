#include "app/Kinema08u2.h"

#include "app/Application.h"
#include "app/Kinema08uMain.h"
#include "controls/Align.h"
#include "controls/Chart.h"
#include "controls/Easysize.h"
#include "controls/Pictures.h"
#include "drawing/MathImge.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QScopeGuard>

#include <exception>

namespace tensim {

TForm2* Form2 = nullptr;

namespace {

// The sides of an enlarged panel: 550 for the finite one, 400 for the
// incremental one.
int PanelSide(const TMathImage* Image)
{
    return Image == Form1->MathImage1 ? 550 : 400;
}

// A CSV field, quoted when it holds a comma, a quote or a line break.
QByteArray CsvField(const QString& Text)
{
    QByteArray field = Text.toUtf8();
    if (field.contains(',') || field.contains('"') || field.contains('\n')) {
        field.replace("\"", "\"\"");
        field = "\"" + field + "\"";
    }
    return field;
}

// A number as C writes it, with every digit it needs to read back the same.
QByteArray CsvNumber(double Value)
{
    return QByteArray::number(Value, 'g', 17);
}

} // namespace

QByteArray TForm2::PanelSvg(TMathImage& Image)
{
    // In the picture's pixels, which the canvas draws in.
    return SvgPicture(Image.Bitmap().size(), "Tensim",
                      [&](QPainter& Painter) { Form1->PaintPanel(Image, Painter); });
}

QByteArray TForm2::PanelPdf(TMathImage& Image)
{
    return PdfPicture(Image.Bitmap().size(), "Tensim",
                      [&](QPainter& Painter) { Form1->PaintPanel(Image, Painter); });
}

QString TForm2::ViewTitle(QWidget* Control)
{
    if (auto* chart = dynamic_cast<TChart*>(Control)) {
        QStringList lines;
        for (const QString& line : chart->Title.Text)
            lines << line.trimmed();
        return lines.join(' ');
    }
    const auto* group = qobject_cast<const QGroupBox*>(Form1->FEnlargedParent.data());
    return group ? group->title() : Control->objectName();
}

TForm2::TForm2(QWidget* Parent) : QDialog(Parent)
{
    Form2 = this;
    setWindowTitle("Form2");
    setFont(WindowFont());
    setGeometry(194, 108, 800, 600);
    PopupMenu1 = new QMenu(this);
    Savetofile1 = PopupMenu1->addAction(tr("Guardar a archivo"));
    Copiaralportapapeles1 = PopupMenu1->addAction(tr("Copiar al portapapeles"));
    connect(Savetofile1, &QAction::triggered, this, [this] { Savetofile1Click(Savetofile1); });
    connect(Copiaralportapapeles1, &QAction::triggered, this,
            [this] { Copiaralportapapeles1Click(Copiaralportapapeles1); });
    Exportardatos1 = PopupMenu1->addAction(tr("Exportar datos (CSV)…"));
    connect(Exportardatos1, &QAction::triggered, this,
            [this] { Exportardatos1Click(Exportardatos1); });
    SavePictureDialog1 = new QFileDialog(this);
    SavePictureDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SavePictureDialog1->setNameFilters(PictureFilters());
    SavePictureDialog1->setOption(QFileDialog::DontUseNativeDialog);
    SaveDataDialog1 = new QFileDialog(this);
    SaveDataDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SaveDataDialog1->setNameFilters({"CSV (*.csv)", tr("Todos los archivos (*)")});
    SaveDataDialog1->setDefaultSuffix("csv");
    SaveDataDialog1->setOption(QFileDialog::DontUseNativeDialog);
}

TForm2::~TForm2()
{
    if (Form2 == this) Form2 = nullptr;
}

void TForm2::showEvent(QShowEvent* Event)
{
    QDialog::showEvent(Event);
    FormActivate();
}

void TForm2::done(int Result)
{
    FormClose();
    QDialog::done(Result);
}

void TForm2::FormActivate()
{
    QWidget* control = Form1 ? Form1->FEnlargedControl.data() : nullptr;
    if (!control || control->parentWidget() != this) return;
    // The desktop adds the application's name: "Finita — Tensim 2.1".
    setWindowTitle(ViewTitle(control));
    if (auto* image = dynamic_cast<TMathImage*>(control)) {
        Form1->RedrawPanels();
        image->d2Clear();
        resize(PanelSide(image), PanelSide(image));
        SetAlign(image, alClient);
        // The window is not laid out before it is on screen.
        AlignControls(this);
        if (image == Form1->MathImage1) DrawPanelAxes(*image);
        Form1->RedrawPanels();
    } else {
        SetAlign(control, alClient);
        AlignControls(this);
    }
}

void TForm2::FormClose()
{
    QWidget* control = Form1 ? Form1->FEnlargedControl.data() : nullptr;
    if (!control || control->parentWidget() != this) return;
    const QRect bounds = Form1->FEnlargedBounds;
    // Back at its former bounds and alignment, scaled as the form resizer
    // scales it for the window's present size.
    const auto giveBack = [&] {
        SetAlign(control, alNone);
        control->setParent(Form1->FEnlargedParent);
        SetBounds(control, bounds.x(), bounds.y(), bounds.width(), bounds.height());
        SetAlign(control, Form1->FEnlargedAlign);
        Form1->FormResizer1->ResizeControl(control);
        control->show();
    };
    auto* image = dynamic_cast<TMathImage*>(control);
    if (!image) {
        giveBack();
        return;
    }
    Form1->RedrawPanels();
    image->d2Clear();
    giveBack();
    if (image == Form1->MathImage1) DrawPanelAxes(*image);
    Form1->RedrawPanels();
}

void TForm2::Savetofile1Click(QObject*)
{
    if (SavePictureDialog1->exec() != QDialog::Accepted) return;
    const QStringList files = SavePictureDialog1->selectedFiles();
    if (files.isEmpty()) return;
    SaveToFile(files.first());
}

void TForm2::SaveToFile(const QString& FileName)
{
    const bool svg = QFileInfo(FileName).suffix().compare("svg", Qt::CaseInsensitive) == 0;
    const bool pdf = IsPdfName(FileName);
    try {
        for (QObject* child : children()) {
            if (auto* image = dynamic_cast<TMathImage*>(child)) {
                if (svg)
                    SaveFileData(PanelSvg(*image), FileName);
                else if (pdf)
                    SaveFileData(PanelPdf(*image), FileName);
                else
                    SavePicture(image->Bitmap(), FileName);
            } else if (auto* chart = dynamic_cast<TChart*>(child)) {
                if (svg)
                    SaveFileData(chart->ChartSvg(), FileName);
                else if (pdf)
                    SaveFileData(chart->ChartPdf(), FileName);
                else
                    chart->SaveChartBitmap(FileName);
            }
        }
    } catch (const std::exception& e) {
        // The standard error dialog; the view stays open.
        ShowError(e.what());
    }
}

void TForm2::Copiaralportapapeles1Click(QObject*)
{
    for (QObject* child : children()) {
        if (auto* image = dynamic_cast<TMathImage*>(child))
            QGuiApplication::clipboard()->setImage(image->Bitmap());
        else if (auto* chart = dynamic_cast<TChart*>(child))
            chart->CopyChartMetafile();
    }
}

void TForm2::Exportardatos1Click(QObject*)
{
    if (SaveDataDialog1->exec() != QDialog::Accepted) return;
    const QStringList files = SaveDataDialog1->selectedFiles();
    if (!files.isEmpty()) ExportToFile(files.first());
}

void TForm2::ExportToFile(const QString& FileName)
{
    QByteArray csv = "serie,x,y\n";
    for (QObject* child : children()) {
        auto* chart = dynamic_cast<TChart*>(child);
        if (!chart) continue;
        for (int s = 0; s < chart->SeriesCount(); ++s) {
            const TChartSeries* series = chart->SeriesList(s);
            const QByteArray name =
                CsvField(series->Title.isEmpty() ? series->objectName() : series->Title);
            for (int i = 0; i < series->Count(); ++i)
                csv += name + "," + CsvNumber(series->XValues.Value(i)) + "," +
                       CsvNumber(series->YValues.Value(i)) + "\n";
        }
    }
    try {
        SaveFileData(csv, FileName);
    } catch (const std::exception& e) {
        ShowError(e.what());
    }
}

void TForm2::contextMenuEvent(QContextMenuEvent* Event)
{
    // The data of a chart can be exported; a panel has none.
    QWidget* control = Form1 ? Form1->FEnlargedControl.data() : nullptr;
    Exportardatos1->setVisible(dynamic_cast<TChart*>(control) != nullptr);
    PopupMenu1->exec(Event->globalPos());
}

} // namespace tensim
