#include "math/Messages.h"

#include <iostream>
#include <utility>

namespace tensim {

namespace {

void WriteToStandardError(const TMessage& Message)
{
    if (!Message.Caption.empty()) std::cerr << Message.Caption << ": ";
    std::cerr << Message.Text << std::endl;
}

TMessageHandler& CurrentHandler()
{
    static TMessageHandler handler = WriteToStandardError;
    return handler;
}

} // namespace

void ShowMessage(const std::string& Text)
{
    ShowMessage(TMessage{Text, {}, TMessageKind::Information});
}

void ShowMessage(const TMessage& Message)
{
    CurrentHandler()(Message);
}

TMessageHandler SetMessageHandler(TMessageHandler Handler)
{
    if (!Handler) Handler = WriteToStandardError;
    return std::exchange(CurrentHandler(), std::move(Handler));
}

} // namespace tensim
