// SPDX-License-Identifier: MIT
#include "platform/core/error_reporter.h"

#include <QTextStream>

namespace platform {

namespace {
ErrorReporter& Installed() {
    static ErrorReporter reporter;
    return reporter;
}
} // namespace

void SetErrorReporter(ErrorReporter reporter) {
    Installed() = std::move(reporter);
}

void ReportError(const QString& message) {
    if (const ErrorReporter& reporter = Installed())
        reporter(message);
    else
        QTextStream(stderr) << message << '\n';
}

} // namespace platform
