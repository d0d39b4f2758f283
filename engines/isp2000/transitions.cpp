// SPDX-License-Identifier: MIT
#include "engines/isp2000/transitions.h"

#include <algorithm>

namespace isp {

namespace {

// The part of a cell inside the picture.
Cell Clipped(int x, int y, int width, int height, int w, int h) {
    const int right = std::min(x + width, w), bottom = std::min(y + height, h);
    return Cell{x, y, right - x, bottom - y};
}

} // namespace

void TransitionSteps(Transition kind, int w, int h, int thickness,
                     const std::function<void(const std::vector<Cell>&)>& step) {
    if (w <= 0 || h <= 0)
        return;
    const int t = std::max(1, thickness);
    switch (kind) {
    case Transition::Horizontal:
    case Transition::Vertical: {
        // Every other band first, then the bands skipped.
        const bool rows = kind == Transition::Horizontal;
        const int length = rows ? h : w;
        for (int pass = 0; pass < 2; ++pass)
            for (int at = pass * t; at < length; at += 2 * t)
                step({rows ? Cell{0, at, w, std::min(t, h - at)}
                           : Cell{at, 0, std::min(t, w - at), h}});
        break;
    }
    case Transition::Diagonals: {
        // Diagonal runs of squares of the band size, alternate diagonals in the first pass.
        const int cols = (w + t - 1) / t, rows = (h + t - 1) / t;
        for (int pass = 0; pass < 2; ++pass)
            for (int d = pass; d < cols + rows - 1; d += 2) {
                std::vector<Cell> cells;
                for (int i = std::max(0, d - rows + 1); i <= std::min(d, cols - 1); ++i)
                    cells.push_back(Clipped(i * t, (d - i) * t, t, t, w, h));
                step(cells);
            }
        break;
    }
    case Transition::DiagonalSquares: {
        // A checkerboard of squares, row by row: the black squares, then the white ones.
        const int cols = (w + t - 1) / t, rows = (h + t - 1) / t;
        for (int pass = 0; pass < 2; ++pass)
            for (int j = 0; j < rows; ++j) {
                std::vector<Cell> cells;
                for (int i = (j + pass) % 2; i < cols; i += 2)
                    cells.push_back(Clipped(i * t, j * t, t, t, w, h));
                if (!cells.empty())
                    step(cells);
            }
        break;
    }
    case Transition::Rectangles: {
        // Rings from the centre outwards.
        constexpr int kRings = 16;
        Cell previous;
        bool first = true;
        for (int r = 1; r <= kRings; ++r) {
            const int rw = std::max(1, w * r / kRings), rh = std::max(1, h * r / kRings);
            const Cell ring{(w - rw) / 2, (h - rh) / 2, rw, rh};
            std::vector<Cell> parts;
            if (first) {
                parts.push_back(ring);
                first = false;
            } else {
                // The frame between the previous ring and this one: above, below, left, right.
                const int ringRight = ring.x + ring.width, ringBottom = ring.y + ring.height;
                const int prevRight = previous.x + previous.width;
                const int prevBottom = previous.y + previous.height;
                parts.push_back(Cell{ring.x, ring.y, ring.width, previous.y - ring.y});
                parts.push_back(Cell{ring.x, prevBottom, ring.width, ringBottom - prevBottom});
                parts.push_back(Cell{ring.x, previous.y, previous.x - ring.x, previous.height});
                parts.push_back(
                    Cell{prevRight, previous.y, ringRight - prevRight, previous.height});
            }
            parts.erase(
                std::remove_if(parts.begin(), parts.end(), [](const Cell& c) { return c.Empty(); }),
                parts.end());
            if (!parts.empty())
                step(parts);
            previous = ring;
        }
        break;
    }
    }
}

} // namespace isp
