// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <vector>

namespace isp {

/// A rectangle of the picture: left, top, width, height.
struct Cell {
    int x = 0, y = 0, width = 0, height = 0;
    bool Empty() const { return width <= 0 || height <= 0; }
};

/// The order in which a transition brings a picture on: each step is a set of rectangles.
enum class Transition { Horizontal, Vertical, Diagonals, DiagonalSquares, Rectangles };

/// Calls `step` with the rectangles of each step in turn; every pixel of a width × height
/// picture is covered exactly once over all steps.
void TransitionSteps(Transition kind, int width, int height, int thickness,
                     const std::function<void(const std::vector<Cell>&)>& step);

} // namespace isp
