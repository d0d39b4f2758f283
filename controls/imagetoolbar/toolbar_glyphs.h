// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QString>

namespace controls {

/// The bitmap resource "ILTB_" + stem of a toolbar button: two glyphs side by side, normal
/// and disabled, in the sixteen standard colours, 28 x 13 pixels (28 x 14 for CENTER,
/// ROTATE90 and ROTATE180, 30 x 14 for UNDO). `scale` draws it that many times larger for a
/// high-density screen, so it stays sharp. Null for an unknown name.
QImage ToolbarGlyphResource(const QString& name, int scale = 1);

} // namespace controls
