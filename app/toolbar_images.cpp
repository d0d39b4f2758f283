// SPDX-License-Identifier: MIT
#include "app/toolbar_images.h"

#include <QPainter>
#include <QPainterPath>

namespace {

const QColor kOutline(30, 30, 40);
const QColor kPaper(250, 250, 245);
const QColor kBlue(40, 90, 170);
const QColor kSteel(170, 180, 195);

void Sheet(QPainter& p, QRectF r) {
    QPainterPath sheet;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - 5, r.top());
    sheet.lineTo(r.right(), r.top() + 5);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    p.setBrush(kPaper);
    p.drawPath(sheet);
    p.drawLine(QPointF(r.right() - 5, r.top()), QPointF(r.right() - 5, r.top() + 5));
    p.drawLine(QPointF(r.right() - 5, r.top() + 5), QPointF(r.right(), r.top() + 5));
    for (qreal y = r.top() + 9; y < r.bottom() - 3; y += 4)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
}

void DrawSave(QPainter& p) {
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(4.5, 4.5, 23, 23), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(8.5, 4.5, 15, 9));
    p.setBrush(kSteel);
    p.drawRect(QRectF(10.5, 18.5, 11, 9));
    p.setBrush(kOutline);
    p.drawRect(QRectF(17.5, 20.5, 2, 5));
}

void DrawCopy(QPainter& p) {
    Sheet(p, QRectF(4.5, 3.5, 15, 19));
    Sheet(p, QRectF(12.5, 9.5, 15, 19));
}

void DrawPrint(QPainter& p) {
    Sheet(p, QRectF(9.5, 3.5, 13, 12));
    p.setBrush(kSteel);
    p.drawRoundedRect(QRectF(3.5, 13.5, 25, 11), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(8.5, 20.5, 15, 8));
    p.setBrush(QColor(60, 170, 70));
    p.drawEllipse(QPointF(24.5, 17), 1.5, 1.5);
}

void DrawSearch(QPainter& p) {
    p.setBrush(QColor(200, 225, 250));
    p.drawEllipse(QRectF(4.5, 4.5, 16, 16));
    QPen pen = p.pen();
    pen.setWidthF(4);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    p.drawLine(QPointF(19, 19), QPointF(27, 27));
    pen.setWidthF(1);
    pen.setColor(Qt::white);
    p.setPen(pen);
    p.drawArc(QRectF(7.5, 7.5, 10, 10), 100 * 16, 70 * 16);
}

void DrawHelp(QPainter& p) {
    p.setBrush(kBlue);
    p.drawEllipse(QRectF(3.5, 3.5, 25, 25));
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(21);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(3.5, 3.5, 25, 25), Qt::AlignCenter, QStringLiteral("?"));
}

} // namespace

QPixmap ToolbarImage(int index) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kOutline, 1));
    switch (index) {
    case 0:
        DrawSave(p);
        break;
    case 1:
        DrawCopy(p);
        break;
    case 2:
        DrawPrint(p);
        break;
    case 3:
        DrawSearch(p);
        break;
    default:
        DrawHelp(p);
        break;
    }
    return pixmap;
}
