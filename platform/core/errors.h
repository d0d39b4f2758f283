// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <exception>
#include <string>

namespace platform {

/// An error carrying a message text; the event loop shows it in a message box and goes on.
class Exception : public std::exception {
public:
    explicit Exception(QString message);
    const QString& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
};

/// The text of an error raised on behalf of a named component: "name: message".
/// Without a name the message stands alone.
QString ComponentMessage(const QString& componentName, const QString& message);

/// The error for a file that cannot be opened: "Cannot open file NAME".
Exception FileOpenError(const QString& fileName);

/// An Exception whose message carries the component's name in front.
Exception ComponentError(const QString& componentName, const QString& message);

} // namespace platform
