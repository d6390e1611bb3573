#pragma once
// Records the messages shown while it lives, instead of showing them.

#include "math/Messages.h"

#include <string>
#include <vector>

namespace tensim {

class MessageRecorder {
public:
    MessageRecorder()
        : previous_(SetMessageHandler([this](const TMessage& m) { messages.push_back(m); }))
    {
    }
    ~MessageRecorder() { SetMessageHandler(previous_); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const TMessage& m : messages)
            out.push_back(m.Text);
        return out;
    }

    std::vector<TMessage> messages;

private:
    TMessageHandler previous_;
};

} // namespace tensim
