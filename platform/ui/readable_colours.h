// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QPalette>

#include <initializer_list>

namespace platform {

/// The least contrast a text keeps with its background.
inline constexpr double kReadableContrast = 4.5;

/// The contrast ratio of two colours, 1 (equal) to 21 (black on white), from their
/// relative luminance.
double Contrast(const QColor& a, const QColor& b);

/// For a text whose colour the program fixes: when one of the background roles does not keep
/// the readable contrast with it (under a dark desktop palette, say), the palette becomes the
/// style's standard light one, keeping the fixed text colour; else it stays the desktop's.
void KeepFixedTextReadable(QPalette& palette, QPalette::ColorRole text,
                           std::initializer_list<QPalette::ColorRole> backgrounds);

/// For a background the program fixes: the desktop's text colour when it stays readable on
/// it, else black or white, whichever is more so.
QColor ReadableTextOn(const QColor& background, const QColor& desktopText);

} // namespace platform
