// SPDX-License-Identifier: MIT
#include "tools/artwork/artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace artwork {

QImage DrawProgramIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 128.0, size / 128.0);

    // A navy tile with a gold double frame.
    QLinearGradient navy(0, 0, 0, 128);
    navy.setColorAt(0, QColor(0x1f, 0x2f, 0x6b));
    navy.setColorAt(1, QColor(0x0b, 0x14, 0x3c));
    p.setPen(Qt::NoPen);
    p.setBrush(navy);
    p.drawRoundedRect(QRectF(4, 4, 120, 120), 18, 18);
    const QColor gold(0xe8, 0xb9, 0x3a);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(gold, 4));
    p.drawRoundedRect(QRectF(12, 12, 104, 104), 12, 12);
    p.setPen(QPen(gold, 1.5));
    p.drawRoundedRect(QRectF(19, 19, 90, 90), 8, 8);

    // The initial in a serif face.
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(76);
    font.setBold(true);
    font.setItalic(true);
    p.setFont(font);
    p.setPen(QColor(0xfb, 0xf4, 0xdc));
    p.drawText(QRectF(0, 6, 128, 116), Qt::AlignCenter, QStringLiteral("V"));

    // A small gold star above the letter's fork.
    QPainterPath star;
    const QPointF c(94, 36);
    for (int i = 0; i < 10; ++i) {
        const qreal r = (i % 2 == 0) ? 11 : 4.5;
        const qreal a = -M_PI / 2 + i * M_PI / 5;
        const QPointF pt(c.x() + r * qCos(a), c.y() + r * qSin(a));
        i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(gold);
    p.drawPath(star);
    return icon;
}

} // namespace artwork
