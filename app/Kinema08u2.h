#pragma once
// The enlarged view: a modal window that borrows one chart or drawing panel
// of the main window, shows it large, and saves or copies its picture.

#include <QDialog>

class QAction;
class QFileDialog;
class QMenu;

namespace tensim {

class TMathImage;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* Parent = nullptr);
    ~TForm2() override;

    QMenu* PopupMenu1;
    QAction* Savetofile1;           // "Guardar a archivo"
    QAction* Copiaralportapapeles1; // "Copiar al portapapeles"
    QAction* Exportardatos1;        // "Exportar datos (CSV)…", for a chart
    QFileDialog* SavePictureDialog1;
    QFileDialog* SaveDataDialog1;

    // Fits the borrowed control to the window as it is shown.
    void FormActivate();
    // Gives the borrowed control back, however the window closes.
    void FormClose();
    void Savetofile1Click(QObject* Sender);
    // Writes the borrowed control's picture to FileName: PNG, BMP or JPEG
    // as its extension says, SVG as a vector picture, BMP otherwise. A file
    // that cannot be written is shown in the standard error dialog.
    void SaveToFile(const QString& FileName);
    void Copiaralportapapeles1Click(QObject* Sender);
    void Exportardatos1Click(QObject* Sender);
    // Writes every series of the borrowed chart to FileName as CSV: one
    // header line, then the series' title (or name), x and y of each point,
    // with a "." decimal point. A file that cannot be written is shown in
    // the standard error dialog.
    void ExportToFile(const QString& FileName);

    void done(int Result) override;

protected:
    void showEvent(QShowEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;

private:
    // A panel's vector picture: its scene drawn once more while its canvas
    // records, with a plain pen where the screen uses not-xor.
    static QByteArray PanelSvg(TMathImage& Image);
    static QByteArray PanelPdf(TMathImage& Image);
    // What the view shows: a chart's title, or the name of a panel's group.
    static QString ViewTitle(QWidget* Control);
};

// The enlarged view; set while it exists.
extern TForm2* Form2;

} // namespace tensim
