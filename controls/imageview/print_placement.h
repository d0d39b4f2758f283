// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QSize>
#include <QSizeF>

namespace controls {

/// Where a printed picture goes on its page: at its own size (as many canvas pixels as it has
/// pixels, the size it has on the screen), fitted to the page, or fitted into a size in
/// millimetres, its proportions kept; at the page's top left or centred on it.
struct PrintPlacement {
    enum class Size { Own, FitPage, Millimetres };
    Size How = Size::Own;
    QSizeF Millimetres{100, 100};
    bool Centred = false;

    /// The picture's rectangle in canvas pixels on a printable page of `page` canvas pixels
    /// at `dotsPerInch` canvas pixels an inch. A picture larger than the page keeps the top
    /// left corner when centred, so its start is never cut off.
    QRect Target(QSize picture, QSize page, int dotsPerInch) const;
};

} // namespace controls
