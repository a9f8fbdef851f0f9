#pragma once

#include <functional>

class QWidget;

namespace qm::ui {

// The one dispatcher every command runs through: an error ends the command at
// that point and is shown by the default error handler (platform::Desktop::
// showError with errorBoxText); the program goes on with the state reached.
// Returns false when the command ended with an error.
bool runCommand(QWidget* parent, const std::function<void()>& command);

}  // namespace qm::ui
