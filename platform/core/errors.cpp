// SPDX-License-Identifier: MIT
#include "platform/core/errors.h"

namespace platform {

Exception::Exception(QString message)
    : message_(std::move(message))
    , utf8_(message_.toStdString()) {}

QString ComponentMessage(const QString& componentName, const QString& message) {
    if (componentName.isEmpty())
        return message;
    return QStringLiteral("%1: %2").arg(componentName, message);
}

Exception ComponentError(const QString& componentName, const QString& message) {
    return Exception(ComponentMessage(componentName, message));
}

Exception FileOpenError(const QString& fileName) {
    return Exception(QStringLiteral("Cannot open file %1").arg(fileName));
}

} // namespace platform
