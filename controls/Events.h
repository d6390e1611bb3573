#pragma once
// The event slot of the controls: called with the sending control first; an
// empty slot does nothing.

#include <QFocusEvent>

#include <functional>

class QObject;

namespace tensim {

using TNotifyEvent = std::function<void(QObject* Sender)>;

// Whether a focus change moves the user into or out of a field: the window
// losing activation or a pop-up menu opening is neither an entry nor an exit.
inline bool IsFieldFocusChange(const QFocusEvent* Event)
{
    return Event->reason() != Qt::ActiveWindowFocusReason &&
           Event->reason() != Qt::PopupFocusReason;
}

} // namespace tensim
