#include "controls/NxSpinEdit.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace tensim {

TNxSpinEdit::TNxSpinEdit(QWidget* Parent) : TSpinEdit(Parent)
{
    resize(100, height());
    SetAlignment(taLeftJustify);
    setText(QString());
}

void TNxSpinEdit::SetAlignment(TAlignment Value)
{
    FAlignment = Value;
    setAlignment(TextAlignment(Value));
}

void TNxSpinEdit::EnterField()
{
    FClickEntry = QGuiApplication::mouseButtons() & Qt::LeftButton;
    if (AutoSelect())
        selectAll();
    else
        deselect();
}

// After the click that gave the focus has placed the caret, all is selected.
void TNxSpinEdit::mousePressEvent(QMouseEvent* Event)
{
    TSpinEdit::mousePressEvent(Event);
    if ((Event->buttons() & Qt::LeftButton) && FClickEntry) {
        FClickEntry = false;
        if (AutoSelect()) selectAll();
    }
}

void TNxSpinEdit::keyPressEvent(QKeyEvent* Event)
{
    FClickEntry = false;
    const bool enter = Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter;
    if (enter && PressDefaultButtons(this, AutoSelect())) {
        Event->accept();
        return;
    }
    TSpinEdit::keyPressEvent(Event);
}

} // namespace tensim
