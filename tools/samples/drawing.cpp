// SPDX-License-Identifier: MIT
#include "tools/samples/drawing.h"

#include <QLinearGradient>
#include <QtMath>

namespace samples {

QColor Gold() {
    return QColor(212, 175, 55);
}
QColor DarkGold() {
    return QColor(150, 110, 20);
}
QColor Navy() {
    return QColor(0, 0, 128);
}

QImage Canvas(int width, int height, QColor background) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

void Prepare(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
}

void DrawStar(QPainter& p, QPointF c, qreal outer, int points, QColor fill, QColor edge) {
    p.setPen(QPen(edge, qMax<qreal>(1.0, outer / 20)));
    p.setBrush(fill);
    p.drawPath(StarPath(c, outer, outer * (points > 5 ? 0.5 : 0.4), points));
}

void DrawFlower(QPainter& p, QPointF c, qreal r, int petals, QColor petal, QColor heart) {
    p.setPen(QPen(petal.darker(160), qMax<qreal>(0.8, r / 14)));
    p.setBrush(petal);
    for (int i = 0; i < petals; ++i) {
        p.save();
        p.translate(c);
        p.rotate(360.0 * i / petals);
        p.drawEllipse(QRectF(-r * 0.28, -r, r * 0.56, r * 0.9));
        p.restore();
    }
    p.setBrush(heart);
    p.drawEllipse(c, r * 0.3, r * 0.3);
}

void DrawLeaf(QPainter& p, QPointF base, qreal length, qreal angleDeg, QColor colour) {
    p.save();
    p.translate(base);
    p.rotate(angleDeg);
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.quadTo(length * 0.5, -length * 0.35, length, 0);
    leaf.quadTo(length * 0.5, length * 0.35, 0, 0);
    p.setPen(QPen(colour.darker(170), qMax<qreal>(0.8, length / 18)));
    p.setBrush(colour);
    p.drawPath(leaf);
    p.drawLine(QPointF(0, 0), QPointF(length * 0.85, 0));
    p.restore();
}

void DrawTree(QPainter& p, QRectF a, QColor crown, QColor trunk, bool conifer) {
    p.setPen(QPen(trunk.darker(150), 1.5));
    p.setBrush(trunk);
    const qreal tw = a.width() * 0.12;
    p.drawRect(QRectF(a.center().x() - tw / 2, a.top() + a.height() * 0.7, tw, a.height() * 0.3));
    p.setPen(QPen(crown.darker(170), 1.5));
    p.setBrush(crown);
    if (conifer) {
        for (int tier = 0; tier < 3; ++tier) {
            const qreal top = a.top() + a.height() * (0.02 + 0.2 * tier);
            const qreal half = a.width() * (0.22 + 0.13 * tier);
            QPolygonF tri({QPointF(a.center().x(), top),
                           QPointF(a.center().x() + half, top + a.height() * 0.35),
                           QPointF(a.center().x() - half, top + a.height() * 0.35)});
            p.drawPolygon(tri);
        }
    } else {
        const QRectF body(a.left() + a.width() * 0.1, a.top(), a.width() * 0.8, a.height() * 0.75);
        p.drawEllipse(
            body.adjusted(body.width() * 0.15, 0, -body.width() * 0.15, -body.height() * 0.3));
        p.drawEllipse(body.adjusted(0, body.height() * 0.3, -body.width() * 0.4, 0));
        p.drawEllipse(body.adjusted(body.width() * 0.4, body.height() * 0.3, 0, 0));
    }
}

void DrawRosette(QPainter& p, QPointF c, qreal r, int petals, QColor a, QColor b) {
    for (int ring = 0; ring < 3; ++ring) {
        const qreal rr = r * (1.0 - 0.3 * ring);
        DrawFlower(p, c, rr, petals, ring % 2 ? b : a, ring == 2 ? b.lighter(130) : a);
    }
}

QBrush GoldBrush(QRectF area) {
    QLinearGradient g(area.topLeft(), area.bottomRight());
    g.setColorAt(0.0, QColor(150, 110, 20));
    g.setColorAt(0.35, QColor(250, 220, 120));
    g.setColorAt(0.6, QColor(212, 175, 55));
    g.setColorAt(1.0, QColor(140, 100, 15));
    return QBrush(g);
}

void DrawCentredText(QPainter& p, QRectF area, const QString& text, int pixelSize, QColor colour,
                     bool bold) {
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(area, Qt::AlignCenter, text);
}

} // namespace samples
