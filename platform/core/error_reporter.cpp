// SPDX-License-Identifier: MIT
#include "platform/core/error_reporter.h"

#include "platform/core/errors.h"

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

void RunGuarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const Exception& e) {
        ReportError(e.Message());
    } catch (const std::exception& e) {
        ReportError(QString::fromUtf8(e.what()));
    }
}

} // namespace platform
