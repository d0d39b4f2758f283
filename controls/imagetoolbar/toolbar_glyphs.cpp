// SPDX-License-Identifier: MIT
// The toolbar's glyphs, drawn for this program: simple pictograms on a 14 x 13 grid (or the
// size of the resource), then reduced to the sixteen standard colours. The disabled glyph is
// the normal one embossed in grey.
#include "controls/imagetoolbar/toolbar_glyphs.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>
#include <map>

namespace controls {

namespace {

// The sixteen colours of the classic 16-colour palette.
const QVector<QRgb>& Vga() {
    static const QVector<QRgb> colours = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    return colours;
}

// The face colour behind the glyphs: it stands for "transparent" on the button.
const QColor kFace(192, 192, 192);
const QColor kBlack(0, 0, 0), kNavy(0, 0, 128), kRed(255, 0, 0), kMaroon(128, 0, 0),
    kGreen(0, 128, 0), kYellow(255, 255, 0), kWhite(255, 255, 255), kGrey(128, 128, 128),
    kTeal(0, 128, 128), kBlue(0, 0, 255);

using Draw = std::function<void(QPainter&)>;

void Box(QPainter& p, QRect r, const QColor& fill, const QColor& edge = kBlack) {
    p.fillRect(r, fill);
    p.setPen(edge);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void Line(QPainter& p, QPoint a, QPoint b, const QColor& c) {
    p.setPen(c);
    p.drawLine(a, b);
}

void Magnifier(QPainter& p, const QColor& sign) {
    p.setPen(kBlack);
    p.setBrush(kWhite);
    p.drawEllipse(QRect(1, 1, 8, 8));
    p.setBrush(Qt::NoBrush);
    Line(p, {8, 8}, {12, 12}, kBlack);
    Line(p, {8, 9}, {11, 12}, kBlack);
    if (sign.isValid()) {
        Line(p, {3, 5}, {7, 5}, sign);
        if (sign == kGreen)
            Line(p, {5, 3}, {5, 7}, sign);
    }
}

void Arrow(QPainter& p, bool clockwiseHalf, const QColor& c) {
    // A circular arrow: three quarters of a ring with a head.
    p.setPen(QPen(c, 2));
    p.drawArc(QRect(2, 2, 9, 9), clockwiseHalf ? 90 * 16 : 0, clockwiseHalf ? 180 * 16 : 270 * 16);
    p.setPen(c);
    p.setBrush(c);
    const QPoint tip = clockwiseHalf ? QPoint(6, 11) : QPoint(11, 6);
    QPolygon head;
    if (clockwiseHalf)
        head << tip + QPoint(0, -3) << tip + QPoint(3, 0) << tip + QPoint(0, 2);
    else
        head << tip + QPoint(-3, 0) << tip + QPoint(0, 3) << tip + QPoint(2, 0);
    p.drawPolygon(head);
    p.setBrush(Qt::NoBrush);
}

const std::map<QString, std::pair<QSize, Draw>>& Glyphs() {
    static const std::map<QString, std::pair<QSize, Draw>> glyphs = {
        {"OPEN",
         {{14, 13},
          [](QPainter& p) {
              Box(p, {1, 4, 10, 8}, kYellow);
              p.fillRect(QRect(1, 3, 4, 1), kBlack);
              QPolygon lid;
              lid << QPoint(3, 7) << QPoint(13, 7) << QPoint(10, 11) << QPoint(1, 11);
              p.setPen(kBlack);
              p.setBrush(QColor(128, 128, 0));
              p.drawPolygon(lid);
          }}},
        {"SAVE",
         {{14, 13},
          [](QPainter& p) {
              Box(p, {1, 0, 12, 13}, kNavy);
              p.fillRect(QRect(3, 1, 8, 5), kWhite);
              p.fillRect(QRect(4, 8, 6, 4), kGrey);
              p.fillRect(QRect(5, 9, 2, 2), kNavy);
          }}},
        {"PRINT",
         {{14, 13},
          [](QPainter& p) {
              Box(p, {3, 0, 8, 5}, kWhite);
              Box(p, {0, 4, 14, 6}, kFace.darker(110));
              p.fillRect(QRect(10, 6, 2, 1), kGreen);
              Box(p, {3, 9, 8, 4}, kWhite);
          }}},
        {"SCANPAGES",
         {{14, 13},
          [](QPainter& p) {
              Box(p, {0, 6, 14, 6}, kGrey);
              p.fillRect(QRect(2, 8, 10, 1), kRed);
              Box(p, {3, 0, 8, 7}, kWhite);
              Line(p, {4, 2}, {9, 2}, kBlack);
              Line(p, {4, 4}, {9, 4}, kBlack);
          }}},
        {"SELECTSCANNER",
         {{14, 13},
          [](QPainter& p) {
              Box(p, {0, 7, 14, 5}, kGrey);
              p.fillRect(QRect(2, 9, 10, 1), kRed);
              p.setPen(kBlack);
              p.drawText(QRect(2, -1, 10, 9), Qt::AlignCenter, QStringLiteral("?"));
              Line(p, {6, 1}, {7, 1}, kNavy);
          }}},
        {"PANZOOM",
         {{14, 13},
          [](QPainter& p) {
              // An open hand.
              p.setPen(kBlack);
              p.setBrush(kWhite);
              p.drawRoundedRect(QRect(3, 6, 8, 6), 2, 2);
              for (int f = 0; f < 4; ++f)
                  p.drawRect(QRect(3 + 2 * f, 1 + (f == 0 || f == 3 ? 2 : 0), 2, 6));
              p.drawRect(QRect(0, 6, 3, 2));
              p.setBrush(Qt::NoBrush);
          }}},
        {"ZOOMIN", {{14, 13}, [](QPainter& p) { Magnifier(p, kGreen); }}},
        {"ZOOMOUT", {{14, 13}, [](QPainter& p) { Magnifier(p, kRed); }}},
        {"BESTFIT",
         {{14, 13},
          [](QPainter& p) {
              Box(p, {0, 0, 14, 13}, kWhite, kNavy);
              p.fillRect(QRect(3, 3, 8, 7), kTeal);
              Line(p, {1, 1}, {3, 3}, kBlack);
              Line(p, {12, 1}, {10, 3}, kBlack);
              Line(p, {1, 11}, {3, 9}, kBlack);
              Line(p, {12, 11}, {10, 9}, kBlack);
          }}},
        {"CENTER",
         {{14, 14},
          [](QPainter& p) {
              Box(p, {0, 0, 14, 14}, kWhite, kNavy);
              p.fillRect(QRect(4, 4, 6, 6), kTeal);
              Line(p, {7, 1}, {7, 3}, kRed);
              Line(p, {7, 10}, {7, 12}, kRed);
              Line(p, {1, 7}, {3, 7}, kRed);
              Line(p, {10, 7}, {12, 7}, kRed);
          }}},
        {"RESETZOOM",
         {{14, 13},
          [](QPainter& p) {
              Magnifier(p, QColor());
              p.setPen(kNavy);
              p.drawText(QRect(1, 1, 9, 9), Qt::AlignCenter, QStringLiteral("1"));
          }}},
        {"CUT",
         {{14, 13},
          [](QPainter& p) {
              Line(p, {4, 0}, {8, 8}, kBlack);
              Line(p, {9, 0}, {5, 8}, kBlack);
              p.setPen(kNavy);
              p.drawEllipse(QRect(1, 8, 4, 4));
              p.drawEllipse(QRect(8, 8, 4, 4));
          }}},
        {"COPY",
         {{14, 13},
          [](QPainter& p) {
              Box(p, {0, 0, 8, 9}, kWhite);
              Box(p, {5, 3, 8, 10}, kWhite, kNavy);
              Line(p, {7, 6}, {11, 6}, kNavy);
              Line(p, {7, 8}, {11, 8}, kNavy);
          }}},
        {"PASTE",
         {{14, 13},
          [](QPainter& p) {
              Box(p, {0, 1, 10, 12}, QColor(128, 128, 0));
              p.fillRect(QRect(3, 0, 4, 3), kGrey);
              Box(p, {5, 5, 9, 8}, kWhite, kNavy);
          }}},
        {"UNDO",
         {{15, 14},
          [](QPainter& p) {
              p.setPen(QPen(kNavy, 2));
              p.drawArc(QRect(3, 3, 10, 9), 270 * 16, 240 * 16);
              p.setPen(kNavy);
              p.setBrush(kNavy);
              QPolygon head;
              head << QPoint(0, 6) << QPoint(5, 2) << QPoint(5, 9);
              p.drawPolygon(head);
              p.setBrush(Qt::NoBrush);
          }}},
        {"ANNOTEDIT",
         {{14, 13},
          [](QPainter& p) {
              Box(p, {0, 0, 11, 13}, kYellow);
              Line(p, {2, 3}, {8, 3}, kBlack);
              Line(p, {2, 5}, {6, 5}, kBlack);
              p.setPen(QPen(kRed, 2));
              p.drawLine(QPoint(5, 11), QPoint(12, 4));
          }}},
        {"INVERT",
         {{14, 13},
          [](QPainter& p) {
              Box(p, {0, 0, 14, 13}, kWhite);
              p.fillRect(QRect(1, 1, 6, 11), kBlack);
              p.setPen(Qt::NoPen);
              p.setBrush(kBlack);
              p.drawEllipse(QRect(8, 4, 4, 4));
              p.setBrush(kWhite);
              p.drawEllipse(QRect(2, 4, 4, 4));
              p.setBrush(Qt::NoBrush);
          }}},
        {"ROTATE90", {{14, 14}, [](QPainter& p) { Arrow(p, false, kGreen); }}},
        {"ROTATE180", {{14, 14}, [](QPainter& p) { Arrow(p, true, kMaroon); }}},
        {"EFFECTS",
         {{14, 13},
          [](QPainter& p) {
              // A wand with sparkles.
              p.setPen(QPen(kBlack, 2));
              p.drawLine(QPoint(1, 12), QPoint(8, 5));
              Line(p, {10, 0}, {10, 4}, kYellow);
              Line(p, {8, 2}, {12, 2}, kYellow);
              Line(p, {12, 6}, {13, 7}, kRed);
              Line(p, {5, 1}, {6, 2}, kBlue);
          }}},
    };
    return glyphs;
}

// The nearest of the sixteen colours for every pixel.
QImage ToSixteen(const QImage& image) {
    return image.convertToFormat(QImage::Format_Indexed8, Vga(), Qt::ThresholdDither);
}

} // namespace

QImage ToolbarGlyphResource(const QString& name, int scale) {
    if (!name.startsWith(QLatin1String("ILTB_")) || scale < 1)
        return {};
    const auto it = Glyphs().find(name.mid(5));
    if (it == Glyphs().end())
        return {};
    const QSize glyph = it->second.first;
    QImage normal(glyph * scale, QImage::Format_RGB32);
    normal.fill(kFace);
    {
        QPainter p(&normal);
        p.scale(scale, scale);
        QFont font = p.font();
        font.setPixelSize(9);
        font.setBold(true);
        p.setFont(font);
        it->second.second(p);
    }
    // Disabled: the dark pixels grey with a white shadow one pixel down and right; the light
    // ones give way to the face, so outlines stay readable.
    QImage disabled(normal.size(), QImage::Format_RGB32);
    disabled.fill(kFace);
    const QRgb face = kFace.rgb();
    auto dark = [&](int x, int y) {
        const QRgb c = normal.pixel(x, y);
        return c != face && qGray(c) < 150;
    };
    for (int y = 0; y < normal.height(); ++y)
        for (int x = 0; x < normal.width(); ++x)
            if (dark(x, y)) {
                const int sx = x + scale, sy = y + scale;
                if (sx < disabled.width() && sy < disabled.height())
                    disabled.setPixel(sx, sy, kWhite.rgb());
            }
    for (int y = 0; y < normal.height(); ++y)
        for (int x = 0; x < normal.width(); ++x)
            if (dark(x, y))
                disabled.setPixel(x, y, kGrey.rgb());
    QImage both(glyph.width() * 2 * scale, glyph.height() * scale, QImage::Format_RGB32);
    {
        QPainter p(&both);
        p.drawImage(0, 0, normal);
        p.drawImage(glyph.width() * scale, 0, disabled);
    }
    return ToSixteen(both);
}

} // namespace controls
