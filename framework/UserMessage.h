#pragma once
// Message boxes for code that has no GUI of its own. The core and transport
// libraries report to the user through ShowMessageBox; the GUI installs a
// handler that shows a real box with an OK button. Until a handler is
// installed the texts go to standard error.
//
// Thread: the user-interface thread only (every caller of a message box runs
// there), so the handler is neither locked nor atomic.

#include <functional>
#include <string_view>

namespace cs6 {

using MessageBoxHandler = std::function<void(std::string_view text)>;

// Shows text with an OK button and returns when the user has dismissed it.
void ShowMessageBox(std::string_view text);

// Installs handler (an empty one restores standard error) and returns the one
// it replaces, so that tests can capture the texts and put things back.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

} // namespace cs6
