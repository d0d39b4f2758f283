// SPDX-License-Identifier: MIT
#include "app/command_guard.h"

#include "platform/core/error_reporter.h"
#include "platform/core/errors.h"

void RunGuarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const platform::Exception& e) {
        platform::ReportError(e.Message());
    } catch (const std::exception& e) {
        platform::ReportError(QString::fromUtf8(e.what()));
    }
}
