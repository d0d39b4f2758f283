// SPDX-License-Identifier: MIT
#pragma once

#include <QPainterPath>

namespace artwork {

/// A star of `points` points between two radii, its first point at the angle `turnDeg`
/// (-90: straight up).
QPainterPath StarPath(QPointF centre, qreal outer, qreal inner, int points, qreal turnDeg = -90);

} // namespace artwork
