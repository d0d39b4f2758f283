// SPDX-License-Identifier: MIT
#pragma once

#include <QCursor>

namespace controls {

/// The grab hand the view shows while the picture is dragged: a gripping hand, white with a
/// black outline, drawn by code at the screen's pixel density; the hot spot is the palm.
QCursor GrabHandCursorShape(qreal devicePixelRatio = 1.0);

} // namespace controls
