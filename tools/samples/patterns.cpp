// SPDX-License-Identifier: MIT
// Backgrounds: tiled patterns, textures and skies.
#include "tools/samples/collection.h"
#include "tools/samples/drawing.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>

namespace samples {

namespace {

constexpr int kW = 320;
constexpr int kH = 240;

QImage Background(int style) {
    QImage img = Canvas(kW, kH);
    QPainter p(&img);
    Prepare(p);
    const QRectF all(0, 0, kW, kH);
    Rng rng(static_cast<std::uint32_t>(style) * 31 + 3);
    auto tile = [&](int step, const std::function<void(QPointF, int)>& draw) {
        int n = 0;
        for (int y = 0; y < kH + step; y += step)
            for (int x = (y / step) % 2 ? step / 2 : 0; x < kW + step; x += step)
                draw(QPointF(x, y), n++);
    };
    switch (style) {
    case 0: // gold stars on navy
        p.fillRect(all, Navy());
        tile(40, [&](QPointF c, int) { DrawStar(p, c, 10, 5, Gold(), DarkGold()); });
        break;
    case 1: // polka dots
        p.fillRect(all, QColor(255, 230, 235));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 80, 120));
        tile(30, [&](QPointF c, int) { p.drawEllipse(c, 8, 8); });
        break;
    case 2: // floral wallpaper
        p.fillRect(all, QColor(250, 245, 230));
        tile(60, [&](QPointF c, int n) {
            DrawLeaf(p, c, 18, 30 + 90 * (n % 4), QColor(110, 160, 100));
            DrawFlower(p, c, 12, 5, QColor(220, 120, 140), Gold());
        });
        break;
    case 3: // stripes
        p.fillRect(all, Qt::white);
        p.setPen(QPen(QColor(60, 120, 200), 12));
        for (int x = -kH; x < kW; x += 32)
            p.drawLine(QPointF(x, kH), QPointF(x + kH, 0));
        break;
    case 4: // checkerboard
        p.setPen(Qt::NoPen);
        for (int y = 0; y < kH; y += 20)
            for (int x = 0; x < kW; x += 20)
                p.fillRect(QRect(x, y, 20, 20),
                           ((x + y) / 20) % 2 ? QColor(30, 30, 30) : QColor(235, 235, 235));
        break;
    case 5: { // sky with clouds
        QLinearGradient g(0, 0, 0, kH);
        g.setColorAt(0, QColor(60, 130, 220));
        g.setColorAt(1, QColor(190, 225, 250));
        p.fillRect(all, g);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 230));
        for (int k = 0; k < 5; ++k) {
            const QPointF c(rng.Range(20, 300), rng.Range(30, 180));
            for (int b = 0; b < 4; ++b)
                p.drawEllipse(c + QPointF(22 * b - 33, (b % 2) * -10), 22, 16);
        }
        break;
    }
    case 6: // parchment
        p.fillRect(all, QColor(240, 225, 185));
        for (int k = 0; k < 900; ++k) {
            const int v = static_cast<int>(rng.Range(-30, 20));
            p.setPen(
                QColor(qBound(0, 220 + v, 255), qBound(0, 200 + v, 255), qBound(0, 150 + v, 255)));
            p.drawPoint(QPointF(rng.Range(0, kW), rng.Range(0, kH)));
        }
        break;
    case 7: // brick wall
        p.fillRect(all, QColor(200, 195, 185));
        p.setPen(QPen(QColor(200, 195, 185), 3));
        for (int y = 0, row = 0; y < kH; y += 20, ++row)
            for (int x = row % 2 ? -20 : 0; x < kW; x += 40) {
                p.setBrush(QColor(160 + static_cast<int>(rng.Range(0, 30)), 60, 40));
                p.drawRect(QRectF(x, y, 40, 20));
            }
        break;
    case 8: // waves
        p.fillRect(all, QColor(230, 245, 250));
        p.setPen(QPen(QColor(20, 110, 160), 3));
        for (int y = 10; y < kH; y += 20) {
            QPainterPath wave;
            wave.moveTo(0, y);
            for (int x = 0; x < kW; x += 40)
                wave.cubicTo(x + 10, y - 10, x + 30, y + 10, x + 40, y);
            p.drawPath(wave);
        }
        break;
    case 9: { // trees at dusk
        QLinearGradient g(0, 0, 0, kH);
        g.setColorAt(0, QColor(40, 30, 90));
        g.setColorAt(1, QColor(240, 140, 80));
        p.fillRect(all, g);
        for (int k = 0; k < 7; ++k)
            DrawTree(p, QRectF(k * 48 - 10, 90 + (k % 3) * 20, 60, 150 - (k % 3) * 20),
                     QColor(20, 25, 30), QColor(20, 25, 30), true);
        break;
    }
    case 10: // honeycomb
        p.fillRect(all, QColor(250, 200, 60));
        p.setPen(QPen(QColor(160, 100, 10), 3));
        p.setBrush(Qt::NoBrush);
        for (int y = 0, row = 0; y < kH + 30; y += 26, ++row)
            for (int x = row % 2 ? 15 : 0; x < kW + 30; x += 30) {
                QPolygonF hex;
                for (int k = 0; k < 6; ++k)
                    hex << QPointF(x + 17 * qCos(qDegreesToRadians(60.0 * k + 30)),
                                   y + 17 * qSin(qDegreesToRadians(60.0 * k + 30)));
                p.drawPolygon(hex);
            }
        break;
    case 11: // night sky
        p.fillRect(all, QColor(5, 10, 35));
        for (int k = 0; k < 60; ++k)
            DrawStar(p, QPointF(rng.Range(0, kW), rng.Range(0, kH)), rng.Range(1.5, 5), 5,
                     QColor(255, 250, 220), QColor(255, 250, 220));
        break;
    case 12: // plaid
        p.fillRect(all, QColor(250, 235, 240));
        for (int k = 0; k < kW; k += 40) {
            p.fillRect(QRect(k, 0, 12, kH), QColor(150, 190, 230, 140));
            p.fillRect(QRect(0, k, kW, 12), QColor(150, 190, 230, 140));
            p.fillRect(QRect(k + 24, 0, 3, kH), QColor(230, 120, 150, 160));
            p.fillRect(QRect(0, k + 24, kW, 3), QColor(230, 120, 150, 160));
        }
        break;
    case 13: // meadow
        p.fillRect(all, QColor(170, 220, 250));
        p.fillRect(QRectF(0, 120, kW, 120), QColor(90, 170, 70));
        for (int k = 0; k < 40; ++k)
            DrawFlower(p, QPointF(rng.Range(0, kW), rng.Range(130, kH)), rng.Range(4, 8), 5,
                       k % 2 ? QColor(250, 250, 250) : QColor(250, 220, 40), QColor(240, 160, 20));
        break;
    case 14: // marble
        p.fillRect(all, QColor(240, 240, 238));
        for (int k = 0; k < 14; ++k) {
            p.setPen(QPen(QColor(170, 170, 180, 120), rng.Range(1, 3)));
            QPainterPath vein;
            vein.moveTo(rng.Range(-50, kW), 0);
            vein.cubicTo(rng.Range(0, kW), 80, rng.Range(0, kW), 160, rng.Range(0, kW + 50), kH);
            p.drawPath(vein);
        }
        break;
    case 15: // snowfall
        p.fillRect(all, QColor(150, 180, 215));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        for (int k = 0; k < 120; ++k)
            p.drawEllipse(QPointF(rng.Range(0, kW), rng.Range(0, kH)), rng.Range(1, 4),
                          rng.Range(1, 4));
        break;
    case 16: { // sunset
        QLinearGradient g(0, 0, 0, kH);
        g.setColorAt(0, QColor(250, 200, 80));
        g.setColorAt(0.6, QColor(240, 100, 60));
        g.setColorAt(1, QColor(90, 30, 80));
        p.fillRect(all, g);
        QRadialGradient sun(QPointF(160, 170), 50);
        sun.setColorAt(0, QColor(255, 250, 210));
        sun.setColorAt(1, QColor(255, 220, 120, 0));
        p.fillRect(all, sun);
        break;
    }
    case 17: // leaves
        p.fillRect(all, QColor(240, 248, 235));
        tile(36, [&](QPointF c, int n) {
            DrawLeaf(p, c, 26, (n * 47) % 360, QColor(80 + n % 3 * 30, 150, 70));
        });
        break;
    case 18: // confetti
        p.fillRect(all, Qt::white);
        p.setPen(Qt::NoPen);
        for (int k = 0; k < 150; ++k) {
            p.setBrush(QColor::fromHsv(static_cast<int>(rng.Range(0, 359)), 200, 240));
            p.save();
            p.translate(rng.Range(0, kW), rng.Range(0, kH));
            p.rotate(rng.Range(0, 180));
            p.drawRect(QRectF(-5, -2, 10, 4));
            p.restore();
        }
        break;
    case 19: // wood grain
        p.fillRect(all, QColor(190, 140, 90));
        for (int y = 0; y < kH; y += 4) {
            p.setPen(
                QPen(QColor(150 + static_cast<int>(rng.Range(-20, 20)), 100, 60), rng.Range(1, 3)));
            QPainterPath grain;
            grain.moveTo(0, y);
            grain.cubicTo(100, y + rng.Range(-6, 6), 220, y + rng.Range(-6, 6), kW, y);
            p.drawPath(grain);
        }
        break;
    }
    return img;
}

const char* const kBackgroundText[] = {"Tiled gold stars on a navy ground",
                                       "Pink polka dots",
                                       "Floral wallpaper of small pink flowers and leaves",
                                       "Diagonal blue stripes on white",
                                       "Black and white checkerboard",
                                       "Blue sky with white clouds",
                                       "Parchment paper texture",
                                       "Red brick wall",
                                       "Blue waves, row upon row",
                                       "Pine tree silhouettes at dusk",
                                       "Golden honeycomb",
                                       "Night sky full of stars",
                                       "Pastel plaid in blue and pink",
                                       "Meadow with white and yellow flowers under a blue sky",
                                       "White marble with grey veins",
                                       "Snowfall on a winter blue sky",
                                       "Sunset glow in orange and gold",
                                       "Scattered green leaves",
                                       "Party confetti in every colour",
                                       "Wood grain of a light oak board"};

} // namespace

void AddBackgrounds(std::vector<Sample>& out) {
    for (int i = 0; i < 20; ++i)
        out.push_back({QStringLiteral("BACK%1").arg(i + 1, 2, 10, QLatin1Char('0')),
                       QString::fromLatin1(kBackgroundText[i]), QStringLiteral("background"),
                       [i] { return Background(i); }});
}

} // namespace samples
