// SPDX-License-Identifier: MIT
#include "controls/imageview/grab_hand.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace controls {

QCursor GrabHandCursorShape(qreal devicePixelRatio) {
    constexpr int kSize = 32;
    const int pixels = int(std::ceil(kSize * devicePixelRatio));
    QPixmap pixmap(pixels, pixels);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);

    // Four bent fingers over the palm, the thumb folded in at the left.
    QPainterPath hand;
    hand.addRoundedRect(QRectF(8, 12, 17, 14), 5, 5);
    for (int i = 0; i < 4; ++i)
        hand.addRoundedRect(QRectF(9 + i * 4, 8, 4, 9), 2, 2);
    hand.addRoundedRect(QRectF(5, 14, 6, 5), 2.5, 2.5);
    hand = hand.simplified();

    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    // The knuckle lines between the fingers.
    p.setPen(QPen(Qt::black, 0.8));
    for (int i = 1; i < 4; ++i)
        p.drawLine(QPointF(9 + i * 4, 9.5), QPointF(9 + i * 4, 14));
    p.end();
    return QCursor(pixmap, 16, 18);
}

} // namespace controls
