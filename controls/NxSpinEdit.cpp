#include "controls/NxSpinEdit.h"

#include <QKeyEvent>

namespace tensim {

TNxSpinEdit::TNxSpinEdit(QWidget* Parent) : TSpinEdit(Parent, true)
{
    resize(100, height());
    SetAlignment(taLeftJustify);
    setText(QString());
}

void TNxSpinEdit::keyPressEvent(QKeyEvent* Event)
{
    EndClickEntry();
    const bool enter = Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter;
    if (enter && PressDefaultButtons()) {
        Event->accept();
        return;
    }
    TSpinEdit::keyPressEvent(Event);
}

} // namespace tensim
