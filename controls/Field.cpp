#include "controls/Field.h"

#include "math/FloatFormat.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>

#include <string>
#include <vector>

namespace tensim {

namespace {

QChar FirstChar(const std::string& Separator, QChar Fallback)
{
    const QString s = QString::fromStdString(Separator);
    return s.isEmpty() ? Fallback : s[0];
}

const char* const DefaultButtonProperty = "tensimDefaultButton";

} // namespace

QChar DecimalChar()
{
    return FirstChar(FormatSettings().DecimalSeparator, '.');
}

QChar ThousandChar()
{
    return FirstChar(FormatSettings().ThousandSeparator, QChar());
}

void SetDefaultButton(QWidget* Form, QAbstractButton* Button)
{
    Form->setProperty(DefaultButtonProperty, QVariant::fromValue(QPointer<QObject>(Button)));
}

TField::TField(QWidget* Parent, bool ClickEntrySelects)
    : QLineEdit(Parent), FClickEntrySelects(ClickEntrySelects)
{
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (OnChange) OnChange(this);
    });
}

void TField::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    const Qt::Alignment horizontal = Value == taLeftJustify    ? Qt::AlignLeft
                                     : Value == taRightJustify ? Qt::AlignRight
                                                               : Qt::AlignHCenter;
    setAlignment(horizontal | Qt::AlignVCenter);
}

void TField::focusInEvent(QFocusEvent* Event)
{
    QLineEdit::focusInEvent(Event);
    if (FEntered) return; // the window came back, or a pop-up menu closed
    FEntered = true;
    if (OnEnter) OnEnter(this);
    const bool click = QGuiApplication::mouseButtons() & Qt::LeftButton;
    FClickEntry = FClickEntrySelects && click;
    if (!FAutoSelect)
        deselect();
    else if (FClickEntrySelects || !click)
        selectAll();
}

void TField::focusOutEvent(QFocusEvent* Event)
{
    QLineEdit::focusOutEvent(Event);
    if (!IsFieldFocusChange(Event)) return;
    FEntered = false;
    FClickEntry = false;
    ExitField();
    if (OnExit) OnExit(this);
}

// After the click that gave the focus has placed the caret, all is selected.
void TField::mousePressEvent(QMouseEvent* Event)
{
    QLineEdit::mousePressEvent(Event);
    if ((Event->buttons() & Qt::LeftButton) && FClickEntry) {
        FClickEntry = false;
        if (FAutoSelect) selectAll();
    }
}

bool TField::PressDefaultButtons()
{
    QWidget* form = window();
    if (form == this) return false;
    const int caret = cursorPosition();
    const int start = static_cast<int>(selectionStart());
    const int length = static_cast<int>(selectionLength());
    const bool autoSelect = FAutoSelect;
    QPointer<QLineEdit> field(this);
    bool clicked = false;
    // Only the form's own buttons count, not those inside its panels and
    // boxes, and the one it names.
    std::vector<QPointer<QAbstractButton>> buttons;
    for (QPushButton* button : form->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        if (button->isDefault()) buttons.emplace_back(button);
    const QPointer<QObject> named =
        form->property(DefaultButtonProperty).value<QPointer<QObject>>();
    if (auto* button = qobject_cast<QAbstractButton*>(named.data())) buttons.emplace_back(button);
    for (const QPointer<QAbstractButton>& button : buttons) {
        if (!button || !button->isEnabled() || !button->isVisible()) continue;
        button->setFocus(Qt::OtherFocusReason);
        button->click();
        clicked = true;
    }
    if (!clicked) {
        QApplication::beep();
        return true;
    }
    if (!field) return true;
    field->setFocus(Qt::OtherFocusReason);
    if (autoSelect)
        field->selectAll();
    else if (length > 0)
        field->setSelection(start, length);
    else
        field->setCursorPosition(caret);
    return true;
}

} // namespace tensim
