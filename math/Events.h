#pragma once
// The event slot of the program's components, shared by the drawing surface
// and the controls: called with the sending object first; an empty slot does
// nothing. QObject is only named, not used, so this header needs no Qt.

#include <functional>

class QObject;

namespace tensim {

using TNotifyEvent = std::function<void(QObject* Sender)>;

} // namespace tensim
