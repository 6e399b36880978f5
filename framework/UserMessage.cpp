#include "framework/UserMessage.h"

#include <iostream>
#include <utility>

namespace cs6 {
namespace {

MessageBoxHandler& CurrentHandler()
{
    static MessageBoxHandler handler;
    return handler;
}

} // namespace

void ShowMessageBox(std::string_view text)
{
    if (const auto& handler = CurrentHandler()) {
        handler(text);
        return;
    }
    std::cerr << text << '\n';
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    return std::exchange(CurrentHandler(), std::move(handler));
}

} // namespace cs6
