// SPDX-License-Identifier: MIT
#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <QTransform>

#include <optional>
#include <variant>
#include <vector>

class QPainter;

namespace imaging {

/// A graphics object of a metafile's object table.
struct MetaPen {
    QPen pen;
    bool null = false;
};
struct MetaBrush {
    QBrush brush;
    bool null = false;
};
struct MetaFont {
    QFont font;
    int height = 0;     // logical units; negative: the character height
    int escapement = 0; // tenths of a degree
};
/// Palettes and regions take a slot but draw nothing here.
struct MetaOther {};
using MetaObject = std::variant<std::monostate, MetaPen, MetaBrush, MetaFont, MetaOther>;

/// The objects as the records describe them: pen style bits (dashes, caps, joins), width in
/// logical units (0: one device pixel); brush style 0 solid, 1 none, 2 hatched; a font by
/// height (negative: character height), escapement, weight and face.
MetaPen MakePen(unsigned style, double width, QColor colour);
MetaBrush MakeBrush(unsigned style, QColor colour, unsigned hatch);
MetaFont MakeFont(int height, int escapement, int weight, bool italic, bool underline,
                  bool strikeOut, const QString& face);

/// The device context a metafile's records work on: the object table, the selected pen,
/// brush and font, colours and modes, the window and viewport mapping, the world transform,
/// the current position, paths, clipping and the save/restore stack. Both players turn their
/// records into calls of this class, which draws them with the painter as vectors.
class MetafileDc {
public:
    /// `toDevice` maps the metafile's device space (after window and viewport) to the
    /// painter's coordinates as they are now; nothing is drawn outside `bounds` (in those
    /// coordinates too).
    MetafileDc(QPainter& painter, const QTransform& toDevice, const QRectF& bounds,
               int objectSlots);

    // Object table.
    /// The lowest free slot (WMF), or -1 when the table is full.
    int FreeSlot() const;
    bool Store(int slot, MetaObject object);
    bool Select(int slot);
    bool Delete(int slot);
    void SelectStockObject(int stock);
    int Slots() const { return int(objects_.size()); }

    /// The reference device's pixels a millimetre, which the metric and English mapping modes
    /// measure in (an enhanced metafile's header gives them; 96 dots an inch otherwise).
    void SetDevicePixelsPerMm(double x, double y);

    // Attributes.
    void SetTextColour(QColor c) { state_.textColour = c; }
    void SetBackgroundColour(QColor c) { state_.backColour = c; }
    void SetBackgroundOpaque(bool opaque) { state_.opaque = opaque; }
    void SetWindingFill(bool winding) { state_.winding = winding; }
    void SetTextAlign(unsigned align) { state_.textAlign = align; }
    void SetRop2(int rop) { state_.rop2 = rop; }
    void SetMapMode(int mode);
    void SetArcClockwise(bool clockwise) { state_.clockwise = clockwise; }

    // Mapping.
    void SetWindowOrg(QPointF p) { state_.windowOrg = p; }
    void SetWindowExt(QSizeF s);
    void SetViewportOrg(QPointF p) { state_.viewportOrg = p; }
    void SetViewportExt(QSizeF s);
    QPointF WindowOrg() const { return state_.windowOrg; }
    QSizeF WindowExt() const { return state_.windowExt; }
    QPointF ViewportOrg() const { return state_.viewportOrg; }
    QSizeF ViewportExt() const { return state_.viewportExt; }
    void SetWorldTransform(const QTransform& t) { ModifyWorldTransform(t, 4); }
    /// Mode 1 identity, 2 multiply on the left, 3 on the right, 4 set.
    void ModifyWorldTransform(const QTransform& t, int mode);

    // Save and restore.
    void Save();
    /// A negative index counts back from the newest saved state.
    void Restore(int which);

    // Position and drawing; every point is in logical units.
    void MoveTo(QPointF p);
    QPointF Position() const { return state_.position; }
    void LineTo(QPointF p);
    void Polyline(const QPolygonF& points);
    void PolylineTo(const QPolygonF& points);
    void Polygon(const QPolygonF& points);
    void PolyPolygon(const std::vector<QPolygonF>& polygons);
    void PolyPolyline(const std::vector<QPolygonF>& polylines);
    /// Cubic Bézier segments: the first point then three a segment.
    void PolyBezier(const QPolygonF& points);
    void PolyBezierTo(const QPolygonF& points);
    void Rectangle(const QRectF& r);
    void RoundRect(const QRectF& r, QSizeF corner);
    void Ellipse(const QRectF& r);
    enum class ArcKind { Arc, Chord, Pie, ArcTo };
    void Arc(ArcKind kind, const QRectF& box, QPointF start, QPointF end);
    void SetPixel(QPointF p, QColor c);
    void PatBlt(const QRectF& r, unsigned rop);
    /// Text at the point (or the current position with the update flag of the alignment);
    /// `clip` and `opaqueBox` in logical units when the record asks for them.
    void Text(QPointF at, const QString& text, const std::optional<QRectF>& opaqueBox,
              const std::optional<QRectF>& clip, const std::vector<double>& advances = {});
    /// A bitmap stretched from its source rectangle into the logical destination.
    void StretchBitmap(const QImage& image, const QRectF& source, const QRectF& destination,
                       unsigned rop);

    // Paths.
    void BeginPath();
    void EndPath() { state_.pathOpen = false; }
    void AbortPath();
    void CloseFigure();
    void FillPath();
    void StrokePath();
    void StrokeAndFillPath();
    void SelectClipPath(int mode);

    // Clipping (logical rectangles).
    void IntersectClip(const QRectF& r);
    void ExcludeClip(const QRectF& r);
    void ResetClip();
    /// A clip region given in the metafile's device units (combination mode as SelectClipPath).
    void SetDeviceClip(const std::vector<QRectF>& rects, int mode);

private:
    double pxPerMmX_ = 96 / 25.4, pxPerMmY_ = 96 / 25.4;
    struct State {
        QPen pen{Qt::black, 0};
        bool nullPen = false;
        QBrush brush{Qt::white};
        bool nullBrush = false;
        MetaFont font;
        QColor textColour = Qt::black, backColour = Qt::white;
        bool opaque = true;
        bool winding = false;
        bool clockwise = false;
        unsigned textAlign = 0;
        int rop2 = 13; // copy pen
        int mapMode = 1;
        QPointF windowOrg, viewportOrg;
        QSizeF windowExt{1, 1}, viewportExt{1, 1};
        QTransform world;
        QPointF position;
        QPainterPath path;
        bool pathOpen = false;
        std::optional<QPainterPath> clip; // in device space
    };

    QTransform PageTransform() const;
    QTransform LogicalToPainter() const;
    void Apply(); // the painter's transform, modes and clip from the state
    bool RasterDevice() const;
    void Fill(const QPainterPath& path);
    void Stroke(const QPainterPath& path);
    void Shape(const QPainterPath& path); // fill then outline, as closed figures draw
    QPainterPath ArcPath(ArcKind kind, const QRectF& box, QPointF start, QPointF end) const;
    QPen LogicalPen() const;
    void ClipWith(const QPainterPath& logical, bool intersect);
    void CombineClip(const QPainterPath& device, int mode);

    QPainter& painter_;
    QTransform toDevice_;
    QPainterPath bounds_;
    bool clipDirty_ = true;
    State state_;
    std::vector<State> saved_;
    std::vector<MetaObject> objects_;
};

} // namespace imaging
