// SPDX-License-Identifier: MIT
// Borders, headers and decorated letters.
#include "tools/samples/collection.h"
#include "tools/samples/drawing.h"

#include <QtMath>

namespace samples {

namespace {

constexpr int kW = 320;
constexpr int kH = 240;

struct Tint {
    const char* name;
    QColor colour;
};

const Tint kTints[] = {{"Navy", QColor(0, 0, 128)},      {"Gold", QColor(212, 175, 55)},
                       {"Green", QColor(30, 120, 40)},   {"Red", QColor(170, 20, 30)},
                       {"Purple", QColor(100, 30, 120)}, {"Teal", QColor(0, 120, 120)}};

// Points spaced along the inside of a frame, clockwise from the top left.
std::vector<QPointF> AroundFrame(QRectF r, qreal step) {
    std::vector<QPointF> pts;
    for (qreal x = r.left(); x < r.right(); x += step)
        pts.emplace_back(x, r.top());
    for (qreal y = r.top(); y < r.bottom(); y += step)
        pts.emplace_back(r.right(), y);
    for (qreal x = r.right(); x > r.left(); x -= step)
        pts.emplace_back(x, r.bottom());
    for (qreal y = r.bottom(); y > r.top(); y -= step)
        pts.emplace_back(r.left(), y);
    return pts;
}

QImage Border(int style, QColor c) {
    QImage img = Canvas(kW, kH);
    QPainter p(&img);
    Prepare(p);
    const QRectF outer(10, 10, kW - 20, kH - 20);
    const QRectF mid = outer.adjusted(12, 12, -12, -12);
    p.setBrush(Qt::NoBrush);
    switch (style) {
    case 0: // double rule
        p.setPen(QPen(c, 5));
        p.drawRect(outer);
        p.setPen(QPen(c, 2));
        p.drawRect(mid);
        break;
    case 1: // beads
        p.setPen(QPen(c, 2));
        p.drawRect(outer);
        p.drawRect(mid.adjusted(8, 8, -8, -8));
        p.setBrush(c);
        for (QPointF pt : AroundFrame(mid, 12))
            p.drawEllipse(pt, 3.5, 3.5);
        break;
    case 2: // stars
        for (QPointF pt : AroundFrame(mid, 24))
            DrawStar(p, pt, 10, 5, c, c.darker(160));
        break;
    case 3: // floral vine
        p.setPen(QPen(QColor(40, 110, 40), 3));
        p.drawRect(mid);
        {
            int i = 0;
            for (QPointF pt : AroundFrame(mid, 28)) {
                DrawLeaf(p, pt, 14, (i * 137) % 360, QColor(60, 150, 60));
                if (i++ % 2 == 0)
                    DrawFlower(p, pt, 9, 5, c, Gold());
            }
        }
        break;
    case 4: { // meander
        p.setPen(QPen(c, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        for (qreal x = outer.left(); x + 24 <= outer.right(); x += 24) {
            for (qreal y : {outer.top(), outer.bottom() - 20}) {
                QPolygonF key({QPointF(x, y + 20), QPointF(x, y), QPointF(x + 18, y),
                               QPointF(x + 18, y + 14), QPointF(x + 6, y + 14),
                               QPointF(x + 6, y + 6), QPointF(x + 12, y + 6)});
                p.drawPolyline(key);
            }
        }
        p.drawLine(QPointF(outer.left(), outer.top() + 26),
                   QPointF(outer.left(), outer.bottom() - 26));
        p.drawLine(QPointF(outer.right() - 6, outer.top() + 26),
                   QPointF(outer.right() - 6, outer.bottom() - 26));
        break;
    }
    case 5: // rope
        p.setPen(QPen(c.darker(130), 2));
        p.setBrush(c.lighter(130));
        for (QPointF pt : AroundFrame(mid, 8)) {
            p.save();
            p.translate(pt);
            p.rotate(45);
            p.drawEllipse(QRectF(-7, -3, 14, 6));
            p.restore();
        }
        break;
    case 6: // checks
        p.setPen(Qt::NoPen);
        for (int x = 0; x < kW; x += 16) {
            for (int y = 0; y < kH; y += 16) {
                const bool edge = x < 32 || y < 32 || x >= kW - 32 || y >= kH - 32;
                if (edge && ((x + y) / 16) % 2 == 0) {
                    p.setBrush(c);
                    p.drawRect(x, y, 16, 16);
                }
            }
        }
        break;
    case 7: // scallops
        p.setPen(QPen(c, 3));
        for (QPointF pt : AroundFrame(mid, 20))
            p.drawArc(QRectF(pt.x() - 10, pt.y() - 10, 20, 20), 0, 360 * 16);
        break;
    case 8: // garland of leaves
    {
        int i = 0;
        for (QPointF pt : AroundFrame(mid, 14))
            DrawLeaf(p, pt, 16, 45 + 90 * (i++ % 4), c);
    } break;
    case 9: // rules with corner rosettes
        p.setPen(QPen(c, 3));
        p.drawRect(mid);
        p.drawRect(mid.adjusted(6, 6, -6, -6));
        for (QPointF pt : {mid.topLeft(), mid.topRight(), mid.bottomLeft(), mid.bottomRight()})
            DrawRosette(p, pt, 18, 8, c, Gold());
        break;
    }
    return img;
}

const char* const kBorderText[] = {"%1 double-ruled border, a heavy rule outside a fine one",
                                   "Beaded border: %1 beads between two plain rules",
                                   "Border of five-pointed stars in %1",
                                   "Floral vine border with %1 flowers and green leaves",
                                   "Greek key border in %1, a meander along top and bottom",
                                   "Twisted rope border in %1",
                                   "Checkered border of %1 squares",
                                   "Scalloped border of %1 rings",
                                   "Leafy garland border in %1",
                                   "Ruled border with floral rosettes at the corners, %1 and gold"};

QImage Header(int i) {
    static const char* const words[] = {"Welcome", "Notice",     "Menu",      "News",
                                        "Sale",    "Invitation", "Thank You", "Greetings",
                                        "Minutes", "Programme"};
    QImage img = Canvas(400, 120);
    QPainter p(&img);
    Prepare(p);
    const QRectF band(40, 30, 320, 60);
    const Tint& t = kTints[i % 6];
    if (i < 10) { // ribbon banners
        p.setPen(QPen(t.colour.darker(160), 2));
        p.setBrush(t.colour.darker(130));
        p.drawPolygon(QPolygonF({QPointF(10, 45), QPointF(50, 45), QPointF(50, 100),
                                 QPointF(10, 100), QPointF(25, 72)}));
        p.drawPolygon(QPolygonF({QPointF(390, 45), QPointF(350, 45), QPointF(350, 100),
                                 QPointF(390, 100), QPointF(375, 72)}));
        p.setBrush(t.colour);
        p.drawRect(band);
        p.setPen(QPen(Gold(), 3));
        p.drawLine(band.topLeft() + QPointF(0, 5), band.topRight() + QPointF(0, 5));
        p.drawLine(band.bottomLeft() - QPointF(0, 5), band.bottomRight() - QPointF(0, 5));
        DrawCentredText(p, band, QString::fromLatin1(words[i]), 34, Qt::white);
    } else { // dividers
        p.setPen(QPen(t.colour, 2));
        p.drawLine(QPointF(20, 60), QPointF(150, 60));
        p.drawLine(QPointF(250, 60), QPointF(380, 60));
        switch (i % 5) {
        case 0:
            for (int k = -1; k <= 1; ++k)
                DrawStar(p, QPointF(200 + 32 * k, 60), k ? 11 : 16, 5, Gold(), DarkGold());
            break;
        case 1:
            DrawFlower(p, QPointF(200, 60), 28, 8, QColor(200, 40, 70), Gold());
            break;
        case 2:
            for (int k = 0; k < 6; ++k)
                DrawLeaf(p, QPointF(200, 60), 40, k * 60, QColor(50, 140, 50));
            break;
        case 3:
            DrawRosette(p, QPointF(200, 60), 30, 10, t.colour, Gold());
            break;
        case 4:
            p.setBrush(GoldBrush(QRectF(160, 40, 80, 40)));
            p.drawPolygon(QPolygonF(
                {QPointF(200, 30), QPointF(240, 60), QPointF(200, 90), QPointF(160, 60)}));
            break;
        }
    }
    return img;
}

const char* const kHeaderText[] = {"Ribbon banner reading Welcome, navy with gold edges",
                                   "Ribbon banner reading Notice, gold with gold edges",
                                   "Ribbon banner reading Menu for a restaurant card, green",
                                   "Ribbon banner reading News, red with gold edges",
                                   "Ribbon banner reading Sale, purple",
                                   "Ribbon banner reading Invitation, teal",
                                   "Ribbon banner reading Thank You, navy with gold edges",
                                   "Ribbon banner reading Greetings, gold for a season card",
                                   "Ribbon banner reading Minutes for a club newsletter, green",
                                   "Ribbon banner reading Programme, red",
                                   "Divider of three gold stars between purple rules",
                                   "Floral divider with a red flower between teal rules",
                                   "Divider with a star of six green leaves between navy rules",
                                   "Divider with a gold floral rosette between gold rules",
                                   "Divider with a gold lozenge between green rules",
                                   "Divider of three gold stars between red rules",
                                   "Floral divider with a red flower between purple rules",
                                   "Divider with a star of six green leaves between teal rules",
                                   "Divider with a navy and gold floral rosette between navy rules",
                                   "Divider with a gold lozenge between gold rules"};

QImage Letter(int i) {
    const QChar letter(u'A' + i);
    const Tint& t = kTints[i % 6];
    QImage img = Canvas(200, 200);
    QPainter p(&img);
    Prepare(p);
    const QRectF box(12, 12, 176, 176);
    switch (i % 4) {
    case 0: // floral corners
        p.setPen(QPen(t.colour.darker(140), 3));
        p.setBrush(t.colour);
        p.drawRect(box);
        for (QPointF c : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
            DrawFlower(p, c + (box.center() - c) * 0.12, 16, 6, QColor(230, 90, 120), Gold());
        DrawCentredText(p, box, letter, 120, Gold());
        break;
    case 1: { // star field
        p.setPen(Qt::NoPen);
        p.setBrush(Navy());
        p.drawRect(box);
        Rng rng(static_cast<std::uint32_t>(i) + 7);
        for (int k = 0; k < 24; ++k)
            DrawStar(p, QPointF(rng.Range(20, 180), rng.Range(20, 180)), rng.Range(3, 7), 5,
                     QColor(255, 250, 200), QColor(255, 250, 200));
        DrawCentredText(p, box, letter, 120, Gold());
        break;
    }
    case 2: { // gold leaf letter on a plain ground
        QPainterPath glyph;
        QFont font(QStringLiteral("Liberation Serif"));
        font.setPixelSize(150);
        font.setBold(true);
        glyph.addText(0, 0, font, letter);
        const QRectF b = glyph.boundingRect();
        glyph.translate(box.center() - b.center());
        p.setPen(QPen(DarkGold(), 3));
        p.setBrush(GoldBrush(box));
        p.drawPath(glyph);
        p.setPen(QPen(t.colour, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(box);
        break;
    }
    case 3: // vine around a white initial
        p.setPen(QPen(QColor(40, 110, 40), 3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(box.adjusted(8, 8, -8, -8));
        for (int k = 0; k < 12; ++k) {
            const qreal a = qDegreesToRadians(30.0 * k);
            DrawLeaf(p, box.center() + QPointF(80 * qCos(a), 80 * qSin(a)), 18, 30.0 * k + 90,
                     QColor(60, 150, 60));
        }
        DrawCentredText(p, box, letter, 110, t.colour);
        break;
    }
    return img;
}

QString LetterText(int i) {
    const QChar letter(u'A' + i);
    const QString tint = QString::fromLatin1(kTints[i % 6].name).toLower();
    switch (i % 4) {
    case 0:
        return QStringLiteral("Initial %1 in gold on a %2 square with floral corners")
            .arg(letter)
            .arg(tint);
    case 1:
        return QStringLiteral("Initial %1 in gold on a navy field of small stars").arg(letter);
    case 2:
        return QStringLiteral("Gold leaf initial %1 in a fine %2 frame").arg(letter).arg(tint);
    default:
        return QStringLiteral("Initial %1 in %2 inside a ring of vine leaves")
            .arg(letter)
            .arg(tint);
    }
}

} // namespace

void AddBorders(std::vector<Sample>& out) {
    for (int i = 0; i < 20; ++i) {
        const int style = i % 10;
        const Tint& t = kTints[(i / 10) + (style % 3) * 2];
        QString text =
            QString::fromLatin1(kBorderText[style]).arg(QString::fromLatin1(t.name).toLower());
        text[0] = text[0].toUpper();
        out.push_back({QStringLiteral("BORD%1").arg(i + 1, 2, 10, QLatin1Char('0')), text,
                       QStringLiteral("border"),
                       [style, c = t.colour] { return Border(style, c); }});
    }
}

void AddHeaders(std::vector<Sample>& out) {
    for (int i = 0; i < 20; ++i)
        out.push_back({QStringLiteral("HEAD%1").arg(i + 1, 2, 10, QLatin1Char('0')),
                       QString::fromLatin1(kHeaderText[i]), QStringLiteral("header"),
                       [i] { return Header(i); }});
}

void AddLetters(std::vector<Sample>& out) {
    for (int i = 0; i < 20; ++i)
        out.push_back({QStringLiteral("LETTER_%1").arg(QChar(u'A' + i)), LetterText(i),
                       QStringLiteral("letter"), [i] { return Letter(i); }});
}

} // namespace samples
