// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QRect>

#include <functional>

namespace isp {

/// The order in which a transition brings a picture on: each step is a set of rectangles.
enum class Transition { Horizontal, Vertical, Diagonals, DiagonalSquares, Rectangles };

/// Calls `step` with the rectangles of each step in turn; every pixel of a size × size
/// picture is covered exactly once over all steps.
void TransitionSteps(Transition kind, QSize size, int thickness,
                     const std::function<void(const QVector<QRect>&)>& step);

} // namespace isp
