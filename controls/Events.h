#pragma once
// The controls' event slot and the focus rule shared by their fields.

#include "math/Events.h"

#include <QFocusEvent>

namespace tensim {

// Whether a focus change moves the user into or out of a field: the window
// losing activation or a pop-up menu opening is neither an entry nor an exit.
inline bool IsFieldFocusChange(const QFocusEvent* Event)
{
    return Event->reason() != Qt::ActiveWindowFocusReason &&
           Event->reason() != Qt::PopupFocusReason;
}

} // namespace tensim
