// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

namespace crde {

/// A simple stroke font for drawing text as lines: glyphs on a 4 × 6 grid, 6 units apart.
/// Calls `line` with each stroke in glyph units (y up) for the character `c`; letters are
/// drawn in capitals, characters without a glyph draw nothing.
void StrokeGlyph(char c,
                 const std::function<void(double x0, double y0, double x1, double y1)>& line);

constexpr double kGlyphAdvance = 6.0;
constexpr double kGlyphHeight = 6.0;

} // namespace crde
