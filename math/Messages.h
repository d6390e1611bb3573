#pragma once
// The one seam through which every modal message of the program passes.
// The default handler writes the text to standard error; the main window
// installs a message box, tests install a recorder.

#include <functional>
#include <string>

namespace tensim {

enum class TMessageKind { Information, Warning, Error };

struct TMessage {
    std::string Text;
    std::string Caption; // empty: the application's title
    TMessageKind Kind = TMessageKind::Information;
};

using TMessageHandler = std::function<void(const TMessage&)>;

// Shows a plain message with an OK button.
void ShowMessage(const std::string& Text);
void ShowMessage(const TMessage& Message);

// Installs a handler (an empty one restores the default) and returns the
// previous one.
TMessageHandler SetMessageHandler(TMessageHandler Handler);

} // namespace tensim
