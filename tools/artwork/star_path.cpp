// SPDX-License-Identifier: MIT
#include "tools/artwork/star_path.h"

#include <QtMath>

namespace artwork {

QPainterPath StarPath(QPointF c, qreal outer, qreal inner, int points, qreal turnDeg) {
    QPainterPath path;
    for (int i = 0; i < 2 * points; ++i) {
        const qreal r = (i % 2 == 0) ? outer : inner;
        const qreal a = qDegreesToRadians(turnDeg + 180.0 * i / points);
        const QPointF pt(c.x() + r * qCos(a), c.y() + r * qSin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

} // namespace artwork
