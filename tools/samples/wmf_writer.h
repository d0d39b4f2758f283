// SPDX-License-Identifier: MIT
#pragma once

#include "tools/samples/le_bytes.h"

#include <QColor>
#include <QImage>
#include <QPolygon>
#include <QRect>

#include <vector>

namespace samples {

/// Writes a placeable Windows metafile record by record, the way a drawing program records
/// its calls: objects take the lowest free slot of the table, as a device gives them out.
class WmfWriter {
public:
    /// The picture's box in logical units and how many of them make an inch.
    WmfWriter(QRect box, int unitsPerInch);

    int CreatePen(int style, int width, QColor colour);
    int CreateBrush(int style, QColor colour, int hatch = 0);
    int CreateFont(int height, int weight, bool italic, const QByteArray& face, int escapement = 0);
    void Select(int object);
    void Delete(int object);

    void SetWindowOrg(QPoint origin);
    void SetWindowExt(QSize extent);
    void OffsetWindowOrg(QPoint by);
    void ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom);
    void SetMapMode(int mode);
    void SetBkMode(bool opaque);
    void SetTextColour(QColor colour);
    void SetTextAlign(unsigned align);
    void SetPolyFillMode(bool winding);
    void SaveDc();
    void RestoreDc(int which);
    void IntersectClip(QRect r);

    void MoveTo(QPoint p);
    void LineTo(QPoint p);
    void Rectangle(QRect r);
    void Ellipse(QRect r);
    void RoundRect(QRect r, int cornerWidth, int cornerHeight);
    enum class ArcKind { Arc, Pie, Chord };
    void Arc(ArcKind kind, QRect box, QPoint start, QPoint end);
    void Polygon(const QPolygon& points);
    void Polyline(const QPolygon& points);
    void PolyPolygon(const std::vector<QPolygon>& polygons);
    void TextOut(QPoint at, const QByteArray& text);
    /// A 24-bit picture stretched into the rectangle.
    void StretchDib(QRect destination, const QImage& picture);

    /// The file: placeable header, metafile header, the records and the end record.
    QByteArray Finish();

private:
    void Record(unsigned function, const std::vector<int>& words, const QByteArray& tail = {});
    int Take();
    static std::vector<int> Colour(QColor c);

    QRect box_;
    int unitsPerInch_;
    LeBytes records_;
    std::vector<bool> slots_;
    std::uint32_t largest_ = 0;
};

/// A packed 24-bit DIB (header and bottom-up rows) of the picture.
QByteArray PackedDib24(const QImage& picture);

} // namespace samples
