#pragma once
// The event slot of the controls: called with the sending control first; an
// empty slot does nothing.

#include <functional>

class QObject;

namespace tensim {

using TNotifyEvent = std::function<void(QObject* Sender)>;

} // namespace tensim
