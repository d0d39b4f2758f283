// SPDX-License-Identifier: MIT
#include "engines/isp2000/transitions.h"

#include <algorithm>

namespace isp {

void TransitionSteps(Transition kind, QSize size, int thickness,
                     const std::function<void(const QVector<QRect>&)>& step) {
    const int w = size.width(), h = size.height();
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
                step({rows ? QRect(0, at, w, std::min(t, h - at))
                           : QRect(at, 0, std::min(t, w - at), h)});
        break;
    }
    case Transition::Diagonals: {
        // Diagonal runs of squares of the band size, alternate diagonals in the first pass.
        const int cols = (w + t - 1) / t, rows = (h + t - 1) / t;
        for (int pass = 0; pass < 2; ++pass)
            for (int d = pass; d < cols + rows - 1; d += 2) {
                QVector<QRect> cells;
                for (int i = std::max(0, d - rows + 1); i <= std::min(d, cols - 1); ++i)
                    cells.push_back(QRect(i * t, (d - i) * t, t, t).intersected(QRect(0, 0, w, h)));
                step(cells);
            }
        break;
    }
    case Transition::DiagonalSquares: {
        // A checkerboard of squares, row by row: the black squares, then the white ones.
        const int cols = (w + t - 1) / t, rows = (h + t - 1) / t;
        for (int pass = 0; pass < 2; ++pass)
            for (int j = 0; j < rows; ++j) {
                QVector<QRect> cells;
                for (int i = (j + pass) % 2; i < cols; i += 2)
                    cells.push_back(QRect(i * t, j * t, t, t).intersected(QRect(0, 0, w, h)));
                if (!cells.isEmpty())
                    step(cells);
            }
        break;
    }
    case Transition::Rectangles: {
        // Rings from the centre outwards.
        constexpr int kRings = 16;
        QRect previous;
        for (int r = 1; r <= kRings; ++r) {
            const int rw = std::max(1, w * r / kRings), rh = std::max(1, h * r / kRings);
            const QRect ring((w - rw) / 2, (h - rh) / 2, rw, rh);
            QVector<QRect> parts;
            if (previous.isNull()) {
                parts.push_back(ring);
            } else {
                parts.push_back(
                    QRect(ring.left(), ring.top(), ring.width(), previous.top() - ring.top()));
                parts.push_back(QRect(ring.left(), previous.bottom() + 1, ring.width(),
                                      ring.bottom() - previous.bottom()));
                parts.push_back(QRect(ring.left(), previous.top(), previous.left() - ring.left(),
                                      previous.height()));
                parts.push_back(QRect(previous.right() + 1, previous.top(),
                                      ring.right() - previous.right(), previous.height()));
            }
            parts.erase(std::remove_if(parts.begin(), parts.end(),
                                       [](const QRect& q) { return q.isEmpty(); }),
                        parts.end());
            if (!parts.isEmpty())
                step(parts);
            previous = ring;
        }
        break;
    }
    }
}

} // namespace isp
