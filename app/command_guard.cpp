// SPDX-License-Identifier: MIT
#include "app/command_guard.h"

#include "platform/application.h"
#include "platform/errors.h"

#include <QTextStream>

namespace {
void Show(const QString& message) {
    if (auto* app = platform::TApplication::Instance())
        app->ShowException(message);
    else
        QTextStream(stderr) << message << '\n';
}
} // namespace

void RunGuarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const platform::Exception& e) {
        Show(e.Message());
    } catch (const std::exception& e) {
        Show(QString::fromUtf8(e.what()));
    }
}
