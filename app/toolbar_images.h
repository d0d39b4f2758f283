// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>

/// The five 32 x 32 toolbar images of the main window, drawn in one style:
/// 0 save, 1 copy, 2 print, 3 search, 4 help.
QPixmap ToolbarImage(int index);
constexpr int kToolbarImageCount = 5;
