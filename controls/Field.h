#pragma once
// What the program's edit fields share: text alignment, entering and leaving
// the field, Enter pressing the form's default buttons, and the separators as
// the fields type them.

#include "math/Events.h"

#include <QChar>
#include <QFocusEvent>
#include <QLineEdit>

class QAbstractButton;

namespace tensim {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// The fields work with one character per separator: the first one of the
// setting (a non-breaking space is one character too).
QChar DecimalChar();
QChar ThousandChar(); // null: none

// Whether a focus change moves the user into or out of a field: the window
// losing activation or a pop-up menu opening is neither an entry nor an exit.
inline bool IsFieldFocusChange(const QFocusEvent* Event)
{
    return Event->reason() != Qt::ActiveWindowFocusReason &&
           Event->reason() != Qt::PopupFocusReason;
}

// Names Button, anywhere in Form, as the form's default button, which Enter
// in the form's numeric and spin edits clicks; null names none.
void SetDefaultButton(QWidget* Form, QAbstractButton* Button);

// A one-line edit field. Entering it fires OnEnter, then selects all
// (AutoSelect) or nothing. With ClickEntrySelects, a left click that gives
// the field the focus leaves all selected after it has placed the caret;
// without, such a click selects nothing. Any key press ends a click entry.
// Leaving it runs ExitField, then OnExit.
class TField : public QLineEdit {
    Q_OBJECT
public:
    TNotifyEvent OnChange;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    TField(QWidget* Parent, bool ClickEntrySelects);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);

    // What leaving the field does before OnExit.
    virtual void ExitField() = 0;
    // Call first in keyPressEvent.
    void EndClickEntry() { FClickEntry = false; }
    // Enter: gives the focus to each enabled, visible default push button
    // that is a direct child of the form and clicks it, in child order, then
    // to the button the form names as its default (SetDefaultButton) and
    // clicks it; then takes the focus back and selects all (AutoSelect) or
    // restores the caret and selection; beeps when no button was clicked.
    // False when the field has no form.
    bool PressDefaultButtons();

    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;

private:
    const bool FClickEntrySelects;
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSelect = true;
    bool FEntered = false;
    bool FClickEntry = false; // entered by a left click

public:
    // kept for the published interface; the program does not use it
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
};

} // namespace tensim
