// SPDX-License-Identifier: MIT
#include "tools/artwork/artwork.h"
#include "tools/artwork/star_path.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace artwork {

namespace {

constexpr int Width = 640;
constexpr int Height = 382;

// A pointed leaf of the given length, lying along +x from the origin.
QPainterPath Leaf(qreal length, qreal width) {
    QPainterPath path;
    path.moveTo(0, 0);
    path.quadTo(length * 0.5, -width, length, 0);
    path.quadTo(length * 0.5, width, 0, 0);
    return path;
}

void DrawLeaf(QPainter& p, QPointF at, qreal angleDeg, qreal length, qreal width) {
    p.save();
    p.translate(at);
    p.rotate(angleDeg);
    p.drawPath(Leaf(length, width));
    p.restore();
}

void DrawRosette(QPainter& p, QPointF centre, qreal radius) {
    p.save();
    p.translate(centre);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(0, 0), radius, radius);
    p.setBrush(Qt::black);
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.rotate(i * 45.0);
        p.drawPath(Leaf(radius - 3, radius * 0.28));
        p.restore();
    }
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(0, 0), radius * 0.3, radius * 0.3);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(0, 0), 1.5, 1.5);
    p.restore();
}

void DrawFrame(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawRect(QRect(13, 5, Width - 27, Height - 11));
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(QRect(21, 13, Width - 43, Height - 27));
    // A band of beads between the two rules.
    p.setBrush(Qt::black);
    for (int x = 28; x <= Width - 28; x += 8) {
        p.drawEllipse(QPointF(x, 9), 1.2, 1.2);
        p.drawEllipse(QPointF(x, Height - 9), 1.2, 1.2);
    }
    for (int y = 20; y <= Height - 20; y += 8) {
        p.drawEllipse(QPointF(17, y), 1.2, 1.2);
        p.drawEllipse(QPointF(Width - 17, y), 1.2, 1.2);
    }
    const QPointF corners[] = {
        {40, 32}, {Width - 40.0, 32}, {40, Height - 32.0}, {Width - 40.0, Height - 32.0}};
    for (const QPointF& c : corners)
        DrawRosette(p, c, 15);
}

// A vine running down one side, leaves alternating left and right.
void DrawSideVine(QPainter& p, qreal x, qreal top, qreal bottom, bool mirror) {
    QPainterPath stem;
    const qreal amplitude = 9;
    stem.moveTo(x, top);
    for (qreal y = top; y <= bottom; y += 2)
        stem.lineTo(x + amplitude * qSin((y - top) / 18.0), y);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 2));
    p.drawPath(stem);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::black);
    int n = 0;
    for (qreal y = top + 10; y < bottom - 6; y += 19, ++n) {
        const qreal sx = x + amplitude * qSin((y - top) / 18.0);
        const bool right = (n % 2 == 0) != mirror;
        DrawLeaf(p, QPointF(sx, y), right ? -30 : 210, 16, 5);
    }
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(x, top - 4), 3, 3);
    p.drawEllipse(QPointF(x + amplitude * qSin((bottom - top) / 18.0), bottom + 4), 3, 3);
}

// A scroll flourish along a horizontal line that ends in a curl.
void DrawFlourish(QPainter& p, qreal fromX, qreal toX, qreal y) {
    const qreal dir = toX > fromX ? 1 : -1;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(QPointF(fromX, y), QPointF(toX, y));
    QPainterPath curl;
    curl.moveTo(toX, y);
    curl.cubicTo(toX + dir * 14, y, toX + dir * 14, y - 14, toX + dir * 4, y - 12);
    curl.cubicTo(toX - dir * 2, y - 11, toX, y - 5, toX + dir * 5, y - 6);
    p.drawPath(curl);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::black);
    for (qreal x = fromX + dir * 18; dir * (toX - x) > 10; x += dir * 22) {
        DrawLeaf(p, QPointF(x, y), dir > 0 ? -40 : 220, 12, 4);
        DrawLeaf(p, QPointF(x + dir * 11, y), dir > 0 ? 40 : 140, 12, 4);
    }
    p.drawEllipse(QPointF(fromX, y), 3, 3);
}

// Laurel branch curving from the star outwards; side is +1 (right) or -1 (left).
void DrawLaurel(QPainter& p, QPointF centre, int side) {
    const qreal radius = 150;
    const QPointF circleCentre(centre.x(), centre.y() - 95);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::NoBrush);
    QPainterPath stem;
    for (int deg = 108; deg >= 40; deg -= 2) {
        const qreal a = qDegreesToRadians(static_cast<qreal>(deg));
        const QPointF pt(circleCentre.x() + side * radius * qCos(a) * 1.4,
                         circleCentre.y() + radius * qSin(a) * 0.8);
        if (deg == 108)
            stem.moveTo(pt);
        else
            stem.lineTo(pt);
    }
    p.drawPath(stem);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::black);
    for (int deg = 100; deg >= 46; deg -= 9) {
        const qreal a = qDegreesToRadians(static_cast<qreal>(deg));
        const QPointF pt(circleCentre.x() + side * radius * qCos(a) * 1.4,
                         circleCentre.y() + radius * qSin(a) * 0.8);
        const qreal tangent = side > 0 ? -(90 - deg) * 0.9 : 180 + (90 - deg) * 0.9;
        DrawLeaf(p, pt, tangent - side * 35, 17, 5);
        p.setBrush(Qt::white);
        DrawLeaf(p, pt, tangent + side * 35, 17, 5);
        p.setBrush(Qt::black);
    }
    // Berries at the tips.
    p.drawEllipse(QPointF(circleCentre.x() + side * radius * qCos(qDegreesToRadians(38.0)) * 1.4,
                          circleCentre.y() + radius * qSin(qDegreesToRadians(38.0)) * 0.8),
                  4, 4);
}

void DrawCentrePiece(QPainter& p) {
    const QPointF centre(Width / 2.0, 172);
    DrawLaurel(p, centre, 1);
    DrawLaurel(p, centre, -1);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::white);
    p.drawEllipse(centre, 46, 46);
    p.setPen(QPen(Qt::black, 1));
    p.drawEllipse(centre, 41, 41);
    p.setBrush(Qt::black);
    p.drawPath(StarPath(centre, 38, 16, 8));
    p.setBrush(Qt::white);
    p.drawPath(StarPath(centre, 22, 10, 8));
    p.setBrush(Qt::black);
    p.drawEllipse(centre, 5, 5);
    // Small stars beside the wreath.
    for (int side : {-1, 1}) {
        p.drawPath(StarPath(QPointF(centre.x() + side * 80, centre.y() - 30), 8, 3.5, 5));
        p.drawPath(StarPath(QPointF(centre.x() + side * 190, centre.y() + 40), 6, 2.5, 5));
    }
}

void DrawTitle(QPainter& p) {
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(46);
    font.setBold(true);
    font.setItalic(true);
    font.setStyleStrategy(QFont::NoAntialias);
    p.setFont(font);
    p.setPen(Qt::black);
    const QRect box(0, 18, Width, 56);
    const QRect used = p.boundingRect(box, Qt::AlignCenter, QStringLiteral("Vellamore"));
    p.drawText(box, Qt::AlignCenter, QStringLiteral("Vellamore"));
    const qreal y = box.center().y() + 4;
    DrawFlourish(p, 70, used.left() - 22, y);
    DrawFlourish(p, Width - 70, used.right() + 22, y);
}

void DrawFooter(QPainter& p) {
    const qreal y = Height - 36;
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(QPointF(150, y), QPointF(300, y));
    p.drawLine(QPointF(340, y), QPointF(490, y));
    p.setBrush(Qt::black);
    QPainterPath diamond;
    diamond.moveTo(320, y - 8);
    diamond.lineTo(332, y);
    diamond.lineTo(320, y + 8);
    diamond.lineTo(308, y);
    diamond.closeSubpath();
    p.drawPath(diamond);
    for (qreal x : {150.0, 490.0, 300.0, 340.0})
        p.drawEllipse(QPointF(x, y), 2.5, 2.5);
}

} // namespace

QImage DrawSplashArtwork() {
    QImage canvas(Width, Height, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter p(&canvas);
        p.setRenderHint(QPainter::Antialiasing, false);
        DrawFrame(p);
        DrawTitle(p);
        DrawSideVine(p, 62, 70, 312, false);
        DrawSideVine(p, Width - 62, 70, 312, true);
        DrawCentrePiece(p);
        DrawFooter(p);
    }
    // Index 0 black, index 1 white, as a two-colour bitmap stores it.
    const QList<QRgb> colours{qRgb(0, 0, 0), qRgb(255, 255, 255)};
    return canvas.convertToFormat(QImage::Format_Mono, colours, Qt::ThresholdDither);
}

} // namespace artwork
