// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <functional>

namespace platform {

/// Shows an error message to the user. Layers without windows report through this; the
/// application installs a reporter that shows a message box, and without one the message
/// goes to standard error.
using ErrorReporter = std::function<void(const QString& message)>;

/// Installs the reporter; an empty one restores printing to standard error.
void SetErrorReporter(ErrorReporter reporter);

/// Reports the message through the installed reporter.
void ReportError(const QString& message);

/// Runs a command started by the user-interface loop (an event, a handler, a notification);
/// an error it raises is reported and the window goes on. Exceptions must not cross the
/// toolkit's event handling, so every such entry runs this way.
void RunGuarded(const std::function<void()>& command);

} // namespace platform
