#pragma once
// The engine's only user-facing message: an error box with an OK button. The
// library has no windows, so the box is a replaceable handler; the default
// writes the text to standard error.
#include <functional>
#include <string>

namespace vs {

using TqxMessageBoxHandler = std::function<void(const std::string& message)>;

// Installs a handler (an empty one restores the default); returns the previous.
TqxMessageBoxHandler SetErrorMessageBoxHandler(TqxMessageBoxHandler handler);
void ShowErrorMessageBox(const std::string& message);

}  // namespace vs
