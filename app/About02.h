#pragma once
// The about box "Información": the program's picture, name and version, and
// the acknowledgements, which "Agradecimientos" scrolls through.

#include <QDialog>

#include <functional>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tensim {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* Parent = nullptr);
    ~TAboutBox() override;

    QFrame* Panel1;
    QLabel* ProgramIcon; // the program's picture
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Image1; // the program's icon
    QLabel* Image2; // the scrolling area, hidden but while scrolling
    QPlainTextEdit* Memo1;
    QPushButton* BitBtn2; // OK
    QPushButton* BitBtn1; // "Agradecimientos"

    // The wait between two steps of the scroll; the tests count instead.
    std::function<void(int Milliseconds)> Wait;

    // Scrolls the acknowledgements with both buttons disabled.
    void BitBtn1Click(QObject* Sender);
    // Moves Memo's lines up through Image, one pixel per step, from the
    // memo's place to above the image. Ends early when the box is closed.
    // Returns the number of steps taken.
    int ScrollCredits(QLabel* Image, QPlainTextEdit* Memo);

protected:
    void showEvent(QShowEvent* Event) override;
};

// The about box; set while it exists.
extern TAboutBox* AboutBox;

} // namespace tensim
