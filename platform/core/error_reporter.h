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

} // namespace platform
