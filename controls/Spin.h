#pragma once
// TSpinEdit: an integer field with a strip of up/down arrows inside its right
// edge (TSpinButton); the arrows repeat while held (TTimerSpeedButton).

#include "controls/Field.h"

#include <QAbstractButton>
#include <QPointer>

#include <functional>

class QTimer;

namespace tensim {

// Flags of a TTimerSpeedButton.
enum TTimeBtnStates : unsigned { tbFocusRect = 1, tbAllowTimer = 2 };

// A speed button that, with tbAllowTimer, clicks 400 ms after a left press
// and every 100 ms after that while it is held, and once more on release.
class TTimerSpeedButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit TTimerSpeedButton(QWidget* Parent = nullptr, Qt::ArrowType Arrow = Qt::UpArrow);

    unsigned TimeBtnState() const { return FTimeBtnState; }
    void SetTimeBtnState(unsigned Value);

protected:
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    void TimerExpired();

    unsigned FTimeBtnState = 0;
    Qt::ArrowType FArrow;
    QTimer* FRepeatTimer = nullptr; // created on the first press
};

// Two arrows, up over down, that report clicks to their owner.
class TSpinButton : public QWidget {
    Q_OBJECT
public:
    explicit TSpinButton(QWidget* Parent = nullptr);

    QWidget* FocusControl() const { return FFocusControl; }
    void SetFocusControl(QWidget* Value) { FFocusControl = Value; }
    TTimerSpeedButton* UpButton() const { return FUpButton; }
    TTimerSpeedButton* DownButton() const { return FDownButton; }
    TTimerSpeedButton* FocusedButton() const { return FFocusedButton; }

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

protected:
    void resizeEvent(QResizeEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;

private:
    void Click(TTimerSpeedButton* Button);
    void ArrowPressed(TTimerSpeedButton* Button);
    void SetFocusBtn(TTimerSpeedButton* Button);
    void ShowFocusRect(bool Show);

    QPointer<QWidget> FFocusControl;
    TTimerSpeedButton* FUpButton;
    TTimerSpeedButton* FDownButton;
    TTimerSpeedButton* FFocusedButton;
};

// Entered by a left click, it selects nothing (TNxSpinEdit selects all).
class TSpinEdit : public TField {
    Q_OBJECT
public:
    explicit TSpinEdit(QWidget* Parent = nullptr) : TSpinEdit(Parent, false) {}

    int Increment() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value) { FMaxValue = Value; }
    int MinValue() const { return FMinValue; }
    void SetMinValue(int Value) { FMinValue = Value; }
    // A text that is not an integer reads as MinValue.
    int Value() const;
    void SetValue(int Value);
    TSpinButton* Button() const { return FButton; }

    void UpClick(QObject* Sender);
    void DownClick(QObject* Sender);

protected:
    TSpinEdit(QWidget* Parent, bool ClickEntrySelects);

    // Writes the value held to the bounds when the text is outside them.
    void ExitField() override;
    void keyPressEvent(QKeyEvent* Event) override;
    void inputMethodEvent(QInputMethodEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    bool IsValidChar(QChar Char) const;
    int CheckValue(int Value) const;
    void Step(long long Delta);
    void LayoutStrip();

    bool FEditorEnabled = true;
    int FIncrement = 1;
    int FMaxValue = 0;
    int FMinValue = 0;
    TSpinButton* FButton;

public:
    // kept for the published interface; the program does not use it
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value);
};

} // namespace tensim
