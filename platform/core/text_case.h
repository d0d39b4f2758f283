// SPDX-License-Identifier: MIT
#pragma once

#include <QAnyStringView>
#include <QString>

namespace platform {

/// Upper case of the letters a to z only; every other character stays as it is.
QString UpperCase(const QString& text);

/// Whether UpperCase(text) holds `upper`, without making that upper case.
bool UpperCaseContains(QAnyStringView text, QStringView upper);

/// Lower case of the letters A to Z only; every other character stays as it is.
QString LowerCase(const QString& text);

} // namespace platform
