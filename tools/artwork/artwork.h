// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>

namespace artwork {

/// The 640 x 382 two-colour picture of the splash and About windows: an ornamental frame
/// with corner rosettes, vines, a central star wreath and the program's title.
QImage DrawSplashArtwork();

/// The program's icon at the given size (square, full colour with transparency).
QImage DrawProgramIcon(int size);

} // namespace artwork
