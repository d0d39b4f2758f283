// SPDX-License-Identifier: MIT
// Ornaments and miscellaneous pictures.
#include "tools/samples/collection.h"
#include "tools/samples/drawing.h"

#include <QtMath>

namespace samples {

namespace {

using Painter = std::function<void(QPainter&, QRectF)>;

QImage Draw(int w, int h, const Painter& paint) {
    QImage img = Canvas(w, h);
    QPainter p(&img);
    Prepare(p);
    paint(p, QRectF(0, 0, w, h));
    return img;
}

void Sunburst(QPainter& p, QPointF c, qreal r, int rays, QColor colour) {
    p.setPen(QPen(colour.darker(140), 1));
    p.setBrush(colour);
    for (int i = 0; i < rays; ++i) {
        const qreal a = qDegreesToRadians(360.0 * i / rays);
        const qreal b = qDegreesToRadians(360.0 * (i + 0.5) / rays);
        p.drawPolygon(
            QPolygonF({c + QPointF(r * 0.45 * qCos(a - 0.12), r * 0.45 * qSin(a - 0.12)),
                       c + QPointF(r * qCos((a + b) / 2), r * qSin((a + b) / 2)),
                       c + QPointF(r * 0.45 * qCos(b + 0.12), r * 0.45 * qSin(b + 0.12))}));
    }
    p.drawEllipse(c, r * 0.45, r * 0.45);
}

struct Motif {
    const char* stem;
    const char* text;
    Painter paint;
};

std::vector<Motif> Ornaments() {
    const QPointF c(120, 120);
    return {
        {"ORN01", "Eight-pointed gold star with a dark outline",
         [c](QPainter& p, QRectF) {
             p.setPen(QPen(DarkGold(), 3));
             p.setBrush(GoldBrush(QRectF(20, 20, 200, 200)));
             p.drawPath(StarPath(c, 100, 45, 8));
         }},
        {"ORN02", "Floral rosette of twelve red petals",
         [c](QPainter& p, QRectF) {
             DrawRosette(p, c, 95, 12, QColor(190, 30, 50), QColor(250, 200, 80));
         }},
        {"ORN03", "Compass rose with four long and four short points",
         [c](QPainter& p, QRectF) {
             p.setPen(QPen(Qt::black, 2));
             p.setBrush(QColor(200, 200, 200));
             p.drawPath(StarPath(c, 70, 20, 4, -45));
             p.setBrush(Navy());
             p.drawPath(StarPath(c, 105, 22, 4));
             p.setBrush(Gold());
             p.drawEllipse(c, 12, 12);
         }},
        {"ORN04", "Six-armed snowflake in ice blue",
         [c](QPainter& p, QRectF) {
             p.setPen(QPen(QColor(70, 140, 220), 6, Qt::SolidLine, Qt::RoundCap));
             for (int k = 0; k < 6; ++k) {
                 p.save();
                 p.translate(c);
                 p.rotate(60 * k);
                 p.drawLine(QPointF(0, 0), QPointF(0, -100));
                 for (qreal y : {-40.0, -70.0}) {
                     p.drawLine(QPointF(0, y), QPointF(-22, y - 22));
                     p.drawLine(QPointF(0, y), QPointF(22, y - 22));
                 }
                 p.restore();
             }
         }},
        {"ORN05", "Laurel wreath of green leaves tied with a red bow",
         [c](QPainter& p, QRectF) {
             // Two leaves at each place round the ring, open at the foot for the bow.
             for (int k = 0; k < 18; ++k) {
                 const qreal deg = 115 + 17.5 * k;
                 const qreal a = qDegreesToRadians(deg);
                 const QPointF at = c + QPointF(85 * qCos(a), 85 * qSin(a));
                 DrawLeaf(p, at, 30, deg + 90 + 35, QColor(50, 130, 50));
                 DrawLeaf(p, at, 30, deg + 90 - 35 + 180, QColor(70, 150, 60));
             }
             p.setBrush(QColor(190, 20, 30));
             p.setPen(QPen(QColor(120, 10, 20), 2));
             p.drawEllipse(QPointF(120, 205), 12, 10);
             p.drawPolygon(QPolygonF({QPointF(120, 205), QPointF(95, 230), QPointF(105, 232)}));
             p.drawPolygon(QPolygonF({QPointF(120, 205), QPointF(145, 230), QPointF(135, 232)}));
         }},
        {"ORN06", "Tree of life medallion in a gold ring",
         [](QPainter& p, QRectF) {
             p.setPen(QPen(DarkGold(), 8));
             p.setBrush(QColor(250, 245, 225));
             p.drawEllipse(QRectF(15, 15, 210, 210));
             DrawTree(p, QRectF(60, 45, 120, 150), QColor(50, 140, 60), QColor(120, 80, 40), false);
         }},
        {"ORN07", "Golden sunburst with twenty-four rays",
         [c](QPainter& p, QRectF) { Sunburst(p, c, 110, 24, Gold()); }},
        {"ORN08", "Interlaced rings in navy and gold",
         [](QPainter& p, QRectF) {
             p.setBrush(Qt::NoBrush);
             for (int k = 0; k < 3; ++k) {
                 p.setPen(QPen(k % 2 ? Gold() : Navy(), 9));
                 p.drawEllipse(QPointF(70 + 50 * k, 120), 48, 48);
             }
         }},
        {"ORN09", "Heart with curling flourishes on each side",
         [](QPainter& p, QRectF) {
             QPainterPath heart;
             heart.moveTo(120, 190);
             heart.cubicTo(20, 120, 60, 40, 120, 90);
             heart.cubicTo(180, 40, 220, 120, 120, 190);
             p.setPen(QPen(QColor(140, 0, 30), 3));
             p.setBrush(QColor(210, 30, 60));
             p.drawPath(heart);
             p.setBrush(Qt::NoBrush);
             p.drawArc(QRectF(5, 120, 50, 50), 0, 270 * 16);
             p.drawArc(QRectF(185, 120, 50, 50), -90 * 16, 270 * 16);
         }},
        {"ORN10", "Star medallion: a navy star on a beaded gold disc",
         [c](QPainter& p, QRectF) {
             p.setPen(QPen(DarkGold(), 2));
             p.setBrush(GoldBrush(QRectF(20, 20, 200, 200)));
             p.drawEllipse(c, 100, 100);
             p.setBrush(QColor(250, 240, 200));
             for (int k = 0; k < 36; ++k) {
                 const qreal a = qDegreesToRadians(10.0 * k);
                 p.drawEllipse(c + QPointF(88 * qCos(a), 88 * qSin(a)), 4, 4);
             }
             DrawStar(p, c, 70, 5, Navy(), Qt::black);
         }},
        {"ORN11", "Floral corner piece with roses and leaves",
         [](QPainter& p, QRectF) {
             p.setPen(QPen(QColor(40, 110, 40), 4));
             p.drawLine(QPointF(20, 20), QPointF(220, 20));
             p.drawLine(QPointF(20, 20), QPointF(20, 220));
             for (int k = 0; k < 5; ++k) {
                 DrawLeaf(p, QPointF(40 + 40 * k, 20), 26, 40, QColor(60, 150, 60));
                 DrawLeaf(p, QPointF(20, 40 + 40 * k), 26, 50, QColor(60, 150, 60));
             }
             DrawFlower(p, QPointF(45, 45), 32, 7, QColor(220, 70, 100), Gold());
             DrawFlower(p, QPointF(110, 40), 18, 6, QColor(240, 140, 160), Gold());
             DrawFlower(p, QPointF(40, 110), 18, 6, QColor(240, 140, 160), Gold());
         }},
        {"ORN12", "Scroll flourish in black, for the foot of a page",
         [](QPainter& p, QRectF) {
             p.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
             QPainterPath s;
             s.moveTo(20, 120);
             s.cubicTo(60, 40, 100, 200, 120, 120);
             s.cubicTo(140, 40, 180, 200, 220, 120);
             p.drawPath(s);
             p.drawEllipse(QPointF(20, 120), 8, 8);
             p.drawEllipse(QPointF(220, 120), 8, 8);
         }},
        {"ORN13", "Diamond lozenge in red with a gold edge",
         [](QPainter& p, QRectF) {
             p.setPen(QPen(Gold(), 8));
             p.setBrush(QColor(180, 20, 40));
             p.drawPolygon(QPolygonF(
                 {QPointF(120, 15), QPointF(210, 120), QPointF(120, 225), QPointF(30, 120)}));
         }},
        {"ORN14", "Crescent moon and star in gold on night blue",
         [](QPainter& p, QRectF r) {
             p.fillRect(r, QColor(15, 20, 70));
             QPainterPath moon;
             moon.addEllipse(QPointF(110, 120), 80, 80);
             QPainterPath bite;
             bite.addEllipse(QPointF(140, 105), 70, 70);
             p.setPen(Qt::NoPen);
             p.setBrush(Gold());
             p.drawPath(moon.subtracted(bite));
             DrawStar(p, QPointF(175, 110), 26, 5, Gold(), Gold());
         }},
        {"ORN15", "Six-pointed star of two navy triangles",
         [c](QPainter& p, QRectF) {
             p.setPen(QPen(Navy(), 6));
             p.setBrush(Qt::NoBrush);
             p.drawPath(StarPath(c, 100, 58, 6));
         }},
        {"ORN16", "Flower spray: three tulips with long leaves",
         [](QPainter& p, QRectF) {
             for (int k = -1; k <= 1; ++k) {
                 const QPointF top(120 + 55 * k, 60 + 20 * qAbs(k));
                 p.setPen(QPen(QColor(40, 120, 40), 4));
                 p.drawLine(QPointF(120, 225), top);
                 p.setPen(QPen(QColor(150, 20, 60), 2));
                 p.setBrush(QColor(230, 60, 110));
                 p.drawChord(QRectF(top.x() - 22, top.y() - 30, 44, 50), 180 * 16, 180 * 16);
                 p.drawPolygon(QPolygonF({top + QPointF(-22, -5), top + QPointF(-14, -32),
                                          top + QPointF(0, -10), top + QPointF(14, -32),
                                          top + QPointF(22, -5)}));
                 DrawLeaf(p, QPointF(120, 200), 60, -90 + 35 * k, QColor(60, 150, 60));
             }
         }},
        {"ORN17", "Scallop shell in coral",
         [](QPainter& p, QRectF) {
             p.setPen(QPen(QColor(160, 70, 50), 3));
             p.setBrush(QColor(245, 140, 110));
             p.drawPie(QRectF(20, 30, 200, 200), 20 * 16, 140 * 16);
             for (int k = 0; k <= 8; ++k) {
                 const qreal a = qDegreesToRadians(-20 - 140.0 * k / 8);
                 p.drawLine(QPointF(120, 130), QPointF(120 + 100 * qCos(a), 130 + 100 * qSin(a)));
             }
             p.drawRect(QRectF(100, 130, 40, 30));
         }},
        {"ORN18", "Medallion with a beaded rim around a floral centre",
         [c](QPainter& p, QRectF) {
             p.setPen(QPen(Navy(), 4));
             p.setBrush(QColor(230, 235, 250));
             p.drawEllipse(c, 105, 105);
             p.setBrush(Navy());
             for (int k = 0; k < 30; ++k) {
                 const qreal a = qDegreesToRadians(12.0 * k);
                 p.drawEllipse(c + QPointF(92 * qCos(a), 92 * qSin(a)), 5, 5);
             }
             DrawFlower(p, c, 60, 8, QColor(90, 110, 200), Gold());
         }},
        {"ORN19", "Royal crown in gold with red jewels",
         [](QPainter& p, QRectF) {
             p.setPen(QPen(DarkGold(), 3));
             p.setBrush(GoldBrush(QRectF(20, 40, 200, 170)));
             p.drawPolygon(
                 QPolygonF({QPointF(30, 190), QPointF(30, 70), QPointF(75, 120), QPointF(120, 50),
                            QPointF(165, 120), QPointF(210, 70), QPointF(210, 190)}));
             p.setBrush(QColor(200, 20, 30));
             for (int k = 0; k < 4; ++k)
                 p.drawEllipse(QPointF(52 + 45 * k, 165), 10, 10);
         }},
        {"ORN20", "Fleuron: a stylised leaf ornament in black",
         [](QPainter& p, QRectF) {
             p.setPen(Qt::NoPen);
             p.setBrush(Qt::black);
             QPainterPath leaf;
             leaf.moveTo(120, 220);
             leaf.cubicTo(20, 160, 40, 60, 120, 20);
             leaf.cubicTo(200, 60, 220, 160, 120, 220);
             p.drawPath(leaf);
             p.setBrush(Qt::white);
             p.drawEllipse(QPointF(95, 110), 14, 30);
             p.drawEllipse(QPointF(145, 110), 14, 30);
         }},
    };
}

std::vector<Motif> Misc() {
    return {
        {"OAKTREE", "Oak tree in summer with a broad green crown",
         [](QPainter& p, QRectF) {
             DrawTree(p, QRectF(30, 20, 180, 200), QColor(60, 150, 60), QColor(110, 70, 30), false);
         }},
        {"PINETREE", "Pine tree on a snowy hill",
         [](QPainter& p, QRectF r) {
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(235, 240, 250));
             p.drawEllipse(QRectF(-40, 180, 320, 120));
             DrawTree(p, QRectF(50, 15, 140, 190), QColor(20, 100, 50), QColor(100, 60, 30), true);
             (void)r;
         }},
        {"XMASTREE", "Christmas tree with a gold star on top and red baubles",
         [](QPainter& p, QRectF) {
             DrawTree(p, QRectF(40, 40, 160, 190), QColor(20, 120, 50), QColor(100, 60, 30), true);
             DrawStar(p, QPointF(120, 38), 22, 5, Gold(), DarkGold());
             p.setBrush(QColor(210, 20, 30));
             for (QPointF b : {QPointF(100, 110), QPointF(145, 130), QPointF(85, 170),
                               QPointF(155, 175), QPointF(120, 150)})
                 p.drawEllipse(b, 7, 7);
         }},
        {"HOUSE", "Cottage with a red roof, a door and two windows",
         [](QPainter& p, QRectF) {
             p.setPen(QPen(Qt::black, 2));
             p.setBrush(QColor(240, 220, 170));
             p.drawRect(QRectF(50, 110, 140, 100));
             p.setBrush(QColor(190, 40, 30));
             p.drawPolygon(QPolygonF({QPointF(35, 115), QPointF(120, 40), QPointF(205, 115)}));
             p.setBrush(QColor(110, 70, 40));
             p.drawRect(QRectF(105, 150, 30, 60));
             p.setBrush(QColor(170, 210, 240));
             p.drawRect(QRectF(62, 130, 30, 28));
             p.drawRect(QRectF(148, 130, 30, 28));
         }},
        {"SUN", "Smiling sun with golden rays",
         [](QPainter& p, QRectF) {
             Sunburst(p, QPointF(120, 120), 110, 16, QColor(250, 200, 30));
             p.setPen(QPen(QColor(120, 60, 0), 4));
             p.drawArc(QRectF(90, 100, 60, 50), 200 * 16, 140 * 16);
             p.setBrush(QColor(120, 60, 0));
             p.drawEllipse(QPointF(100, 105), 5, 5);
             p.drawEllipse(QPointF(140, 105), 5, 5);
         }},
        {"MOON", "Crescent moon among small stars",
         [](QPainter& p, QRectF r) {
             p.fillRect(r, QColor(10, 15, 50));
             QPainterPath moon;
             moon.addEllipse(QPointF(120, 120), 75, 75);
             QPainterPath bite;
             bite.addEllipse(QPointF(150, 100), 65, 65);
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(250, 240, 190));
             p.drawPath(moon.subtracted(bite));
             Rng rng(5);
             for (int k = 0; k < 18; ++k)
                 DrawStar(p, QPointF(rng.Range(10, 230), rng.Range(10, 230)), rng.Range(2, 6), 5,
                          Qt::white, Qt::white);
         }},
        {"BELL", "Gold bell with a red ribbon",
         [](QPainter& p, QRectF) {
             QPainterPath bell;
             bell.moveTo(60, 190);
             bell.cubicTo(70, 160, 70, 60, 120, 55);
             bell.cubicTo(170, 60, 170, 160, 180, 190);
             bell.closeSubpath();
             p.setPen(QPen(DarkGold(), 3));
             p.setBrush(GoldBrush(QRectF(60, 50, 120, 140)));
             p.drawPath(bell);
             p.drawEllipse(QPointF(120, 198), 12, 12);
             p.setPen(QPen(QColor(200, 20, 40), 8));
             p.drawLine(QPointF(95, 40), QPointF(145, 40));
         }},
        {"CANDLE", "Lit candle in a brass holder",
         [](QPainter& p, QRectF) {
             p.setPen(QPen(Qt::black, 1.5));
             p.setBrush(QColor(250, 245, 230));
             p.drawRect(QRectF(100, 80, 40, 120));
             p.setBrush(QColor(255, 170, 20));
             p.drawEllipse(QRectF(108, 35, 24, 42));
             p.setBrush(GoldBrush(QRectF(60, 195, 120, 25)));
             p.drawEllipse(QRectF(60, 195, 120, 25));
         }},
        {"HEART", "Red heart",
         [](QPainter& p, QRectF) {
             QPainterPath heart;
             heart.moveTo(120, 210);
             heart.cubicTo(0, 120, 50, 20, 120, 80);
             heart.cubicTo(190, 20, 240, 120, 120, 210);
             p.setPen(QPen(QColor(130, 0, 20), 3));
             p.setBrush(QColor(220, 20, 50));
             p.drawPath(heart);
         }},
        {"BIRD", "Little blue bird on a branch",
         [](QPainter& p, QRectF) {
             p.setPen(QPen(QColor(100, 60, 30), 8, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(10, 180), QPointF(230, 160));
             DrawLeaf(p, QPointF(200, 162), 30, -30, QColor(60, 150, 60));
             p.setPen(QPen(QColor(20, 50, 120), 2));
             p.setBrush(QColor(70, 130, 220));
             p.drawEllipse(QRectF(70, 100, 100, 70));
             p.drawEllipse(QRectF(140, 80, 50, 45));
             p.setBrush(QColor(250, 180, 40));
             p.drawPolygon(QPolygonF({QPointF(188, 98), QPointF(210, 104), QPointF(188, 110)}));
             p.setBrush(Qt::black);
             p.drawEllipse(QPointF(172, 96), 4, 4);
         }},
        {"FISH", "Striped tropical fish",
         [](QPainter& p, QRectF) {
             p.setPen(QPen(QColor(150, 70, 0), 2));
             p.setBrush(QColor(250, 150, 30));
             p.drawEllipse(QRectF(40, 70, 140, 100));
             p.drawPolygon(QPolygonF({QPointF(175, 120), QPointF(225, 80), QPointF(225, 160)}));
             p.setPen(QPen(Qt::white, 10));
             p.drawLine(QPointF(95, 75), QPointF(95, 165));
             p.drawLine(QPointF(135, 75), QPointF(135, 165));
             p.setPen(Qt::NoPen);
             p.setBrush(Qt::black);
             p.drawEllipse(QPointF(70, 110), 6, 6);
         }},
        {"TULIPS", "Flower pot with three red tulips",
         [](QPainter& p, QRectF) {
             for (int k = -1; k <= 1; ++k) {
                 p.setPen(QPen(QColor(40, 120, 40), 4));
                 p.drawLine(QPointF(120, 160), QPointF(120 + 45 * k, 70));
                 p.setPen(QPen(QColor(140, 0, 20), 2));
                 p.setBrush(QColor(220, 30, 40));
                 p.drawEllipse(QRectF(120 + 45 * k - 16, 45, 32, 40));
             }
             p.setPen(QPen(QColor(120, 50, 20), 2));
             p.setBrush(QColor(190, 90, 40));
             p.drawPolygon(QPolygonF(
                 {QPointF(75, 150), QPointF(165, 150), QPointF(150, 225), QPointF(90, 225)}));
         }},
        {"GIFTBOX", "Gift box with a gold ribbon and bow",
         [](QPainter& p, QRectF) {
             p.setPen(QPen(QColor(20, 40, 110), 2));
             p.setBrush(QColor(50, 90, 200));
             p.drawRect(QRectF(50, 90, 140, 120));
             p.setPen(Qt::NoPen);
             p.setBrush(GoldBrush(QRectF(50, 60, 140, 150)));
             p.drawRect(QRectF(110, 90, 20, 120));
             p.drawRect(QRectF(50, 140, 140, 20));
             p.drawEllipse(QRectF(80, 55, 40, 35));
             p.drawEllipse(QRectF(120, 55, 40, 35));
         }},
        {"UMBRELLA", "Striped umbrella in the rain",
         [](QPainter& p, QRectF) {
             p.setPen(QPen(Qt::black, 2));
             for (int k = 0; k < 6; ++k) {
                 p.setBrush(k % 2 ? QColor(250, 250, 250) : QColor(200, 30, 40));
                 p.drawPie(QRectF(20, 40, 200, 160), (180 - 30 * (k + 1)) * 16, 30 * 16);
             }
             p.drawLine(QPointF(120, 120), QPointF(120, 215));
             p.drawArc(QRectF(100, 200, 20, 20), 180 * 16, 180 * 16);
             p.setPen(QPen(QColor(90, 140, 220), 2));
             for (int k = 0; k < 10; ++k)
                 p.drawLine(QPointF(15 + 23 * k, 10), QPointF(8 + 23 * k, 30));
         }},
        {"KEY", "Old iron key",
         [](QPainter& p, QRectF) {
             p.setPen(QPen(QColor(60, 60, 70), 10));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QPointF(65, 120), 35, 35);
             p.drawLine(QPointF(100, 120), QPointF(220, 120));
             p.drawLine(QPointF(200, 120), QPointF(200, 150));
             p.drawLine(QPointF(175, 120), QPointF(175, 145));
         }},
        {"ANCHOR", "Ship's anchor in navy",
         [](QPainter& p, QRectF) {
             p.setPen(QPen(Navy(), 10, Qt::SolidLine, Qt::RoundCap));
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QPointF(120, 40), 16, 16);
             p.drawLine(QPointF(120, 56), QPointF(120, 210));
             p.drawLine(QPointF(80, 80), QPointF(160, 80));
             p.drawArc(QRectF(40, 110, 160, 110), 180 * 16, 180 * 16);
         }},
        {"TEACUP", "Cup of tea on a saucer, with steam",
         [](QPainter& p, QRectF) {
             p.setPen(QPen(QColor(40, 80, 140), 3));
             p.setBrush(QColor(230, 240, 255));
             p.drawEllipse(QRectF(30, 170, 180, 40));
             p.drawChord(QRectF(60, 80, 120, 130), 180 * 16, 180 * 16);
             p.setBrush(Qt::NoBrush);
             p.drawEllipse(QRectF(170, 150, 30, 30));
             p.setPen(QPen(QColor(150, 150, 150), 3));
             p.drawArc(QRectF(95, 70, 20, 60), 90 * 16, 180 * 16);
             p.drawArc(QRectF(125, 70, 20, 60), -90 * 16, 180 * 16);
         }},
        {"BOOK", "Open book with ruled pages",
         [](QPainter& p, QRectF) {
             p.setPen(QPen(QColor(90, 40, 20), 3));
             p.setBrush(QColor(255, 252, 235));
             p.drawPolygon(QPolygonF(
                 {QPointF(20, 70), QPointF(120, 90), QPointF(120, 200), QPointF(20, 180)}));
             p.drawPolygon(QPolygonF(
                 {QPointF(220, 70), QPointF(120, 90), QPointF(120, 200), QPointF(220, 180)}));
             p.setPen(QPen(QColor(150, 150, 170), 1.5));
             for (int k = 0; k < 6; ++k) {
                 p.drawLine(QPointF(32, 92 + 15 * k), QPointF(108, 107 + 15 * k));
                 p.drawLine(QPointF(132, 107 + 15 * k), QPointF(208, 92 + 15 * k));
             }
         }},
        {"ENVELOPE", "Sealed envelope with a red wax seal",
         [](QPainter& p, QRectF) {
             p.setPen(QPen(QColor(120, 100, 60), 2));
             p.setBrush(QColor(245, 235, 205));
             p.drawRect(QRectF(25, 60, 190, 120));
             p.drawPolyline(QPolygonF({QPointF(25, 60), QPointF(120, 130), QPointF(215, 60)}));
             p.setBrush(QColor(170, 20, 30));
             p.drawEllipse(QPointF(120, 130), 16, 16);
         }},
        {"APPLE", "Red apple with a green leaf",
         [](QPainter& p, QRectF) {
             p.setPen(QPen(QColor(120, 0, 10), 3));
             p.setBrush(QColor(210, 30, 30));
             p.drawEllipse(QRectF(40, 70, 90, 140));
             p.drawEllipse(QRectF(110, 70, 90, 140));
             p.setPen(QPen(QColor(90, 50, 20), 5));
             p.drawLine(QPointF(120, 80), QPointF(125, 40));
             DrawLeaf(p, QPointF(125, 50), 45, -30, QColor(60, 160, 60));
         }},
    };
}

void AddMotifs(std::vector<Sample>& out, const std::vector<Motif>& motifs, const char* category) {
    for (const Motif& m : motifs) {
        const Painter paint = m.paint;
        out.push_back({QString::fromLatin1(m.stem), QString::fromLatin1(m.text),
                       QString::fromLatin1(category), [paint] { return Draw(240, 240, paint); }});
    }
}

} // namespace

void AddOrnaments(std::vector<Sample>& out) {
    AddMotifs(out, Ornaments(), "ornament");
}

void AddMisc(std::vector<Sample>& out) {
    AddMotifs(out, Misc(), "misc");
}

} // namespace samples
