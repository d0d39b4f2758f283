// SPDX-License-Identifier: MIT
#include "controls/imageview/print_placement.h"

#include <algorithm>
#include <cmath>

namespace controls {

QRect PrintPlacement::Target(QSize picture, QSize page, int dotsPerInch) const {
    if (picture.isEmpty())
        return {};
    QSize size = picture;
    if (How == Size::FitPage && !page.isEmpty()) {
        size = picture.scaled(page, Qt::KeepAspectRatio);
    } else if (How == Size::Millimetres) {
        const QSize box(std::max(1, int(std::lround(Millimetres.width() * dotsPerInch / 25.4))),
                        std::max(1, int(std::lround(Millimetres.height() * dotsPerInch / 25.4))));
        size = picture.scaled(box, Qt::KeepAspectRatio);
    }
    size = size.expandedTo(QSize(1, 1));
    QPoint at(0, 0);
    if (Centred)
        at = QPoint(std::max(0, (page.width() - size.width()) / 2),
                    std::max(0, (page.height() - size.height()) / 2));
    return {at, size};
}

} // namespace controls
