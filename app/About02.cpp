#include "app/About02.h"

#include "app/Application.h"
#include "app/Glyphs.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace tensim {

TAboutBox* AboutBox = nullptr;

namespace {

// What the program teaches, then the acknowledgements; every line fits
// the memo.
const char* const Credits = QT_TRANSLATE_NOOP("tensim::TAboutBox", "Tensim muestra cómo un\n"
                                                                   "flujo homogéneo deforma,\n"
                                                                   "paso a paso, una elipse\n"
                                                                   "y un triángulo: la\n"
                                                                   "deformación finita\n"
                                                                   "F = Lⁿ de un tensor de\n"
                                                                   "flujo L.\n"
                                                                   "\n"
                                                                   "Agradecimientos:\n"
                                                                   "a Qt, que dibuja las\n"
                                                                   "ventanas, los gráficos\n"
                                                                   "y la ayuda;\n"
                                                                   "a GoogleTest y a Google\n"
                                                                   "Benchmark, que lo\n"
                                                                   "prueban;\n"
                                                                   "a CMake, que lo\n"
                                                                   "construye;\n"
                                                                   "a las fuentes Liberation\n"
                                                                   "y DejaVu.\n"
                                                                   "\n"
                                                                   "¡Gracias a todos!");

QColor ButtonFace(const QWidget* Widget)
{
    return Widget->palette().color(QPalette::Button);
}

} // namespace

TAboutBox::TAboutBox(QWidget* Parent) : QDialog(Parent), Wait(WaitWithMessages)
{
    AboutBox = this;
    setWindowTitle(tr("Información"));
    setFont(WindowFont());
    setFixedSize(337, 217);

    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setGeometry(8, 8, 321, 161);
    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setGeometry(6, 5, 138, 150);
    ProgramIcon->setPixmap(ProgramPicture(ProgramIcon->size()));
    ProductName = new QLabel(tr("Programa Tensim"), Panel1);
    ProductName->move(160, 16);
    Version = new QLabel(tr("Versión 2.1"), Panel1);
    Version->move(160, 40);
    Image1 = new QLabel(Panel1);
    Image1->setGeometry(264, 16, 32, 32);
    Image1->setPixmap(tensim::ProgramIcon().pixmap(32, 32));
    Image2 = new QLabel(Panel1);
    Image2->setGeometry(152, 72, 161, 81);
    Image2->hide();
    Memo1 = new QPlainTextEdit(Panel1);
    Memo1->setGeometry(152, 96, 161, 57);
    Memo1->setFrameStyle(QFrame::NoFrame);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setPlainText(tr(Credits));
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::Base, ButtonFace(this));
    Memo1->setPalette(palette);

    BitBtn2 = new QPushButton(ButtonGlyph(TGlyph::Ok), tr("OK"), this);
    BitBtn2->setGeometry(16, 184, 75, 25);
    BitBtn2->setDefault(true);
    BitBtn1 = new QPushButton(ButtonGlyph(TGlyph::Credits), tr("Agradecimientos"), this);
    BitBtn1->setGeometry(160, 176, 137, 41);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(BitBtn1); });
}

TAboutBox::~TAboutBox()
{
    if (AboutBox == this) AboutBox = nullptr;
}

void TAboutBox::showEvent(QShowEvent* Event)
{
    QDialog::showEvent(Event);
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TAboutBox::BitBtn1Click(QObject*)
{
    Memo1->hide();
    BitBtn1->setEnabled(false);
    BitBtn2->setEnabled(false);
    ScrollCredits(Image2, Memo1);
    Memo1->show();
    BitBtn1->setEnabled(true);
    BitBtn2->setEnabled(true);
}

int TAboutBox::ScrollCredits(QLabel* Image, QPlainTextEdit* Memo)
{
    // The lines on a picture of their own, one text height apart. The
    // picture is as wide as the widest line, so that none is cut.
    const QStringList lines = Memo->toPlainText().split('\n');
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.height();
    int width = 1;
    for (const QString& line : lines)
        width = std::max(width, metrics.horizontalAdvance(line));
    QPixmap credits(width, lineHeight * static_cast<int>(lines.size()));
    credits.fill(ButtonFace(this));
    {
        QPainter painter(&credits);
        painter.setFont(font());
        painter.setPen(palette().color(QPalette::ButtonText));
        for (int i = 0; i < lines.size(); ++i)
            painter.drawText(QPoint(0, i * lineHeight + metrics.ascent()), lines[i]);
    }

    Image->resize(width, Image->height());
    Image->show();
    int steps = 0;
    for (int y = Memo->y() - Image->y(); y >= -credits.height() && isVisible(); --y) {
        QPixmap frame(Image->size());
        frame.fill(ButtonFace(this));
        QPainter painter(&frame);
        painter.drawPixmap(0, y, credits);
        painter.end();
        Image->setPixmap(frame);
        ++steps;
        Wait(40);
    }
    Image->hide();
    return steps;
}

} // namespace tensim
