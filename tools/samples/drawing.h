// SPDX-License-Identifier: MIT
#pragma once

#include "tools/artwork/star_path.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdint>

// Drawing pieces shared by the sample pictures.
namespace samples {

/// A small deterministic generator, so the same build draws the same pictures.
class Rng {
public:
    explicit Rng(std::uint32_t seed)
        : state_(seed * 2654435761u + 1u) {}
    std::uint32_t Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    double Real() { return (Next() & 0xffffff) / double(0x1000000); } // [0, 1)
    double Range(double lo, double hi) { return lo + (hi - lo) * Real(); }

private:
    std::uint32_t state_;
};

QColor Gold();
QColor DarkGold();
QColor Navy();

/// A white canvas with antialiased painting ready.
QImage Canvas(int width, int height, QColor background = Qt::white);
void Prepare(QPainter& p);

using artwork::StarPath;
void DrawStar(QPainter& p, QPointF centre, qreal outer, int points, QColor fill,
              QColor edge = Qt::black);
void DrawFlower(QPainter& p, QPointF centre, qreal radius, int petals, QColor petal, QColor heart);
void DrawLeaf(QPainter& p, QPointF base, qreal length, qreal angleDeg, QColor colour);
void DrawTree(QPainter& p, QRectF area, QColor crown, QColor trunk, bool conifer);
void DrawRosette(QPainter& p, QPointF centre, qreal radius, int petals, QColor a, QColor b);
/// A brush that shines like gold leaf across the rectangle.
QBrush GoldBrush(QRectF area);
/// Text centred in a rectangle, in a serif face of the given pixel size.
void DrawCentredText(QPainter& p, QRectF area, const QString& text, int pixelSize, QColor colour,
                     bool bold = true);

} // namespace samples
