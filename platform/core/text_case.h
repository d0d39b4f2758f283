// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace platform {

/// Upper case of the letters a to z only; every other character stays as it is.
QString UpperCase(const QString& text);

/// Lower case of the letters A to Z only; every other character stays as it is.
QString LowerCase(const QString& text);

} // namespace platform
