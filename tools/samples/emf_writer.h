// SPDX-License-Identifier: MIT
#pragma once

#include "tools/samples/le_bytes.h"

#include <QColor>
#include <QPolygon>
#include <QRect>
#include <QString>

namespace samples {

/// Writes an enhanced metafile for a reference device of 1024 x 768 pixels on 320 x 240 mm;
/// logical units are that device's pixels (the default mapping). Handles count from 1.
class EmfWriter {
public:
    /// The picture's frame in device pixels.
    explicit EmfWriter(QRect frame);

    int CreatePen(int style, int width, QColor colour);
    int CreateBrush(int style, QColor colour, int hatch = 0);
    int CreateFont(int height, int weight, bool italic, const QString& face);
    void Select(int handle);
    void SelectStock(int stock);
    void Delete(int handle);

    void SetBkMode(bool opaque);
    void SetTextColour(QColor colour);
    void SetTextAlign(unsigned align);
    void SetPolyFillMode(bool winding);

    void Rectangle(QRect r);
    void Ellipse(QRect r);
    void RoundRect(QRect r, QSize corner);
    void Pie(QRect box, QPoint start, QPoint end);
    void Polygon(const QPolygon& points);
    void Polyline(const QPolygon& points);
    /// A start point then three points a curve segment.
    void PolyBezier(const QPolygon& points);
    void BeginPath();
    void EndPath();
    void FillPath();
    void StrokeAndFillPath();
    void MoveTo(QPoint p);
    void LineTo(QPoint p);
    void PolyBezierTo(const QPolygon& points);
    void CloseFigure();
    void TextOut(QPoint at, const QString& text);

    QByteArray Finish();

private:
    void Begin(std::uint32_t type);
    void End();
    void Bounds(const QPolygon& points);
    void Poly16(std::uint32_t type, const QPolygon& points);

    QRect frame_;
    LeBytes records_;
    qsizetype recordStart_ = 0;
    std::uint32_t count_ = 0;
    int handles_ = 0;
};

} // namespace samples
