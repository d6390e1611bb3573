#include "controls/Spin.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QStyleOption>
#include <QTimer>
#include <qdrawutil.h>

#include <algorithm>
#include <climits>
#include <memory>

namespace tensim {

namespace {

constexpr int InitialRepeatPause = 400; // ms from the press to the first repeat
constexpr int RepeatPause = 100;        // ms between repeats
constexpr int BorderHeight = 1;         // a thin window border

} // namespace

// ---------------------------------------------------------------- TTimerSpeedButton

TTimerSpeedButton::TTimerSpeedButton(QWidget* Parent, Qt::ArrowType Arrow)
    : QAbstractButton(Parent), FArrow(Arrow)
{
    setFocusPolicy(Qt::NoFocus);
}

void TTimerSpeedButton::SetTimeBtnState(unsigned Value)
{
    if (Value == FTimeBtnState) return;
    FTimeBtnState = Value;
    update();
}

void TTimerSpeedButton::mousePressEvent(QMouseEvent* Event)
{
    QAbstractButton::mousePressEvent(Event);
    if (Event->button() != Qt::LeftButton || !(FTimeBtnState & tbAllowTimer) || !isDown()) return;
    if (!FRepeatTimer) {
        FRepeatTimer = new QTimer(this);
        FRepeatTimer->setTimerType(Qt::PreciseTimer);
        connect(FRepeatTimer, &QTimer::timeout, this, &TTimerSpeedButton::TimerExpired);
    }
    FRepeatTimer->start(InitialRepeatPause);
}

void TTimerSpeedButton::mouseReleaseEvent(QMouseEvent* Event)
{
    if (FRepeatTimer) FRepeatTimer->stop();
    QAbstractButton::mouseReleaseEvent(Event); // the ordinary click
}

void TTimerSpeedButton::TimerExpired()
{
    FRepeatTimer->setInterval(RepeatPause);
    // A press that ended where this button could not see it (a modal window
    // took the mouse) ends the repeat.
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton) || !isEnabled()) {
        FRepeatTimer->stop();
        setDown(false);
        return;
    }
    if (!isDown()) return; // held outside the button
    // A click that throws ends the repeat.
    auto stop = qScopeGuard([this] { FRepeatTimer->stop(); });
    emit clicked();
    stop.dismiss();
}

void TTimerSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QBrush face = palette().brush(QPalette::Button);
    qDrawWinButton(&painter, rect(), palette(), isDown(), &face);

    const QPoint shift = isDown() ? QPoint(1, 1) : QPoint(0, 0);
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = rect().adjusted(2, 1, -2, -1).translated(shift);
    style()->drawPrimitive(FArrow == Qt::UpArrow ? QStyle::PE_IndicatorArrowUp
                                                 : QStyle::PE_IndicatorArrowDown,
                           &arrow, &painter, this);

    if (FTimeBtnState & tbFocusRect) {
        painter.setPen(QPen(palette().color(QPalette::ButtonText), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(3, 3, -4, -4).translated(shift));
    }
}

// ---------------------------------------------------------------- TSpinButton

TSpinButton::TSpinButton(QWidget* Parent)
    : QWidget(Parent), FUpButton(new TTimerSpeedButton(this, Qt::UpArrow)),
      FDownButton(new TTimerSpeedButton(this, Qt::DownArrow)), FFocusedButton(FUpButton)
{
    for (TTimerSpeedButton* button : {FUpButton, FDownButton}) {
        button->SetTimeBtnState(tbAllowTimer);
        connect(button, &QAbstractButton::clicked, this, [this, button] { Click(button); });
        connect(button, &QAbstractButton::pressed, this, [this, button] { ArrowPressed(button); });
    }
    setFocusPolicy(Qt::NoFocus);
    setMinimumWidth(15);
    resize(20, 25);
}

void TSpinButton::resizeEvent(QResizeEvent*)
{
    const int w = width(), half = height() / 2;
    FUpButton->setGeometry(0, 0, w, half);
    FDownButton->setGeometry(0, half - 1, w, height() - half + 1);
}

void TSpinButton::Click(TTimerSpeedButton* Button)
{
    const TNotifyEvent& event = Button == FUpButton ? OnUpClick : OnDownClick;
    if (event) event(this);
}

// A left press on an arrow focuses it and gives the focus to the focus control
// (or, failing that, to the strip).
void TSpinButton::ArrowPressed(TTimerSpeedButton* Button)
{
    SetFocusBtn(Button);
    QWidget* control = FFocusControl;
    const auto canTake = [](QWidget* w) {
        return (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisible() &&
               !w->hasFocus();
    };
    if (control && canTake(control))
        control->setFocus(Qt::MouseFocusReason);
    else if (canTake(this))
        setFocus(Qt::MouseFocusReason);
}

void TSpinButton::SetFocusBtn(TTimerSpeedButton* Button)
{
    if (Button == FFocusedButton) return;
    ShowFocusRect(false);
    FFocusedButton = Button;
    ShowFocusRect(hasFocus());
}

void TSpinButton::ShowFocusRect(bool Show)
{
    const unsigned state = FFocusedButton->TimeBtnState();
    FFocusedButton->SetTimeBtnState(Show ? state | tbFocusRect : state & ~tbFocusRect);
}

void TSpinButton::keyPressEvent(QKeyEvent* Event)
{
    switch (Event->key()) {
    case Qt::Key_Space:
        Click(FFocusedButton);
        break;
    case Qt::Key_Up:
        SetFocusBtn(FUpButton);
        Click(FUpButton);
        break;
    case Qt::Key_Down:
        SetFocusBtn(FDownButton);
        Click(FDownButton);
        break;
    default:
        QWidget::keyPressEvent(Event);
    }
}

void TSpinButton::focusInEvent(QFocusEvent* Event)
{
    QWidget::focusInEvent(Event);
    ShowFocusRect(true);
}

void TSpinButton::focusOutEvent(QFocusEvent* Event)
{
    QWidget::focusOutEvent(Event);
    ShowFocusRect(false);
}

// ---------------------------------------------------------------- TSpinEdit

TSpinEdit::TSpinEdit(QWidget* Parent, bool ClickEntrySelects)
    : TField(Parent, ClickEntrySelects), FButton(new TSpinButton(this))
{
    FButton->resize(15, 17);
    FButton->SetFocusControl(this);
    FButton->OnUpClick = [this](QObject* Sender) { UpClick(Sender); };
    FButton->OnDownClick = [this](QObject* Sender) { DownClick(Sender); };
    setText("0");
    LayoutStrip();
}

void TSpinEdit::SetEditorEnabled(bool Value)
{
    FEditorEnabled = Value;
    setAcceptDrops(Value);
}

int TSpinEdit::Value() const
{
    bool ok = false;
    const int v = text().toInt(&ok, 10);
    return ok ? v : FMinValue;
}

// Equal bounds mean no bounds.
int TSpinEdit::CheckValue(int Value) const
{
    if (FMaxValue == FMinValue) return Value;
    if (Value < FMinValue) return FMinValue;
    if (Value > FMaxValue) return FMaxValue;
    return Value;
}

void TSpinEdit::SetValue(int Value)
{
    const QString shown = QString::number(CheckValue(Value));
    if (shown != text()) setText(shown);
}

// A step beyond the range of the integers stops at its end.
void TSpinEdit::Step(long long Delta)
{
    if (isReadOnly()) {
        QApplication::beep();
        return;
    }
    SetValue(static_cast<int>(std::clamp<long long>(Value() + Delta, INT_MIN, INT_MAX)));
}

void TSpinEdit::UpClick(QObject*)
{
    Step(FIncrement);
}

void TSpinEdit::DownClick(QObject*)
{
    Step(-static_cast<long long>(FIncrement));
}

void TSpinEdit::keyPressEvent(QKeyEvent* Event)
{
    const int key = Event->key();
    Event->accept();
    if (key == Qt::Key_Up) {
        UpClick(this);
        return;
    }
    if (key == Qt::Key_Down) {
        DownClick(this);
        return;
    }
    // Ctrl+key is a control character; Delete is a key, not a character.
    const QString typed = Event->text();
    const bool control = Event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    if (!typed.isEmpty() && !control && typed[0] != QChar(0x7f) && !IsValidChar(typed[0])) {
        QApplication::beep();
        return;
    }
    const bool editing = key == Qt::Key_Delete || key == Qt::Key_Backspace ||
                         Event->matches(QKeySequence::Undo) || Event->matches(QKeySequence::Redo) ||
                         Event->matches(QKeySequence::DeleteEndOfLine) ||
                         Event->matches(QKeySequence::DeleteStartOfWord) ||
                         Event->matches(QKeySequence::DeleteEndOfWord) ||
                         Event->matches(QKeySequence::DeleteCompleteLine);
    const bool clipboard = Event->matches(QKeySequence::Paste) || Event->matches(QKeySequence::Cut);
    if ((editing && !FEditorEnabled) || (clipboard && (!FEditorEnabled || isReadOnly()))) return;
    TField::keyPressEvent(Event);
}

// Characters that may be typed: a sign, digits, the decimal separator and
// control characters other than Enter; only control characters other than
// Backspace when the editor is disabled.
bool TSpinEdit::IsValidChar(QChar Char) const
{
    if (Char.unicode() < 32) return Char != '\r' && (FEditorEnabled || Char != '\b');
    return FEditorEnabled &&
           (Char == '+' || Char == '-' || (Char >= '0' && Char <= '9') || Char == DecimalChar());
}

// Text composed by an input method passes the same filter as typed characters.
void TSpinEdit::inputMethodEvent(QInputMethodEvent* Event)
{
    const QString committed = Event->commitString();
    QString accepted;
    for (QChar c : committed)
        if (IsValidChar(c) && c.unicode() >= 32) accepted += c;
    if (accepted == committed) {
        TField::inputMethodEvent(Event);
        return;
    }
    QApplication::beep();
    QInputMethodEvent filtered(Event->preeditString(), Event->attributes());
    filtered.setCommitString(accepted, Event->replacementStart(), Event->replacementLength());
    TField::inputMethodEvent(&filtered);
    Event->setAccepted(filtered.isAccepted());
}

void TSpinEdit::ExitField()
{
    const int v = Value();
    if (CheckValue(v) != v) SetValue(v);
}

// No middle-click paste unless the text may be typed.
void TSpinEdit::mouseReleaseEvent(QMouseEvent* Event)
{
    if (Event->button() == Qt::MiddleButton && !FEditorEnabled) return;
    TField::mouseReleaseEvent(Event);
}

// The standard menu, built as for a read-only field unless the text may be typed.
void TSpinEdit::contextMenuEvent(QContextMenuEvent* Event)
{
    const bool readOnly = isReadOnly();
    if (!FEditorEnabled) setReadOnly(true);
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    setReadOnly(readOnly);
    menu->exec(Event->globalPos());
}

void TSpinEdit::resizeEvent(QResizeEvent* Event)
{
    TField::resizeEvent(Event);
    LayoutStrip();
}

void TSpinEdit::changeEvent(QEvent* Event)
{
    TField::changeEvent(Event);
    if (Event->type() == QEvent::FontChange || Event->type() == QEvent::StyleChange) LayoutStrip();
}

// The height fits the font; the arrows sit inside the right edge and the text
// never runs under them.
void TSpinEdit::LayoutStrip()
{
    const int textHeight = fontMetrics().height();
    const int systemHeight = QFontMetrics(QApplication::font()).height();
    setMinimumHeight(textHeight + std::min(textHeight, systemHeight) / 4 + 4 * BorderHeight + 2);
    const int strip = FButton->width();
    if (hasFrame())
        FButton->setGeometry(width() - strip - 3, 2, strip, height() - 5);
    else
        FButton->setGeometry(width() - strip, 1, strip, height() - 3);
    setTextMargins(0, 0, strip + 2, 0);
}

} // namespace tensim
