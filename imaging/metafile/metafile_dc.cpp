// SPDX-License-Identifier: MIT
#include "imaging/metafile/metafile_dc.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>

#include <cmath>
#include <numbers>

namespace imaging {

namespace {

// Map modes: the fixed ones count in physical units with y growing upwards.
constexpr int MM_TEXT = 1, MM_LOMETRIC = 2, MM_HIMETRIC = 3, MM_LOENGLISH = 4, MM_HIENGLISH = 5,
              MM_TWIPS = 6, MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8;

// The raster operations of pens and brushes, by their binary codes (pen P, what is there D).
// Black, white and no operation are drawn as colours or not at all.
QPainter::CompositionMode Rop2Mode(int rop, bool raster) {
    if (!raster)
        return QPainter::CompositionMode_SourceOver;
    switch (rop) {
    case 2: // not (P or D)
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case 3: // D and not P
        return QPainter::RasterOp_NotSourceAndDestination;
    case 4: // not P
        return QPainter::RasterOp_NotSource;
    case 5: // P and not D
        return QPainter::RasterOp_SourceAndNotDestination;
    case 6: // not D
        return QPainter::RasterOp_NotDestination;
    case 7: // P xor D
        return QPainter::RasterOp_SourceXorDestination;
    case 8: // not (P and D)
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case 9: // P and D
        return QPainter::RasterOp_SourceAndDestination;
    case 10: // not (P xor D)
        return QPainter::RasterOp_NotSourceXorDestination;
    case 12: // D or not P
        return QPainter::RasterOp_NotSourceOrDestination;
    case 14: // P or not D
        return QPainter::RasterOp_SourceOrNotDestination;
    case 15: // P or D
        return QPainter::RasterOp_SourceOrDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

double Degrees(QPointF centre, QPointF p) {
    return std::atan2(-(p.y() - centre.y()), p.x() - centre.x()) * 180 / std::numbers::pi;
}

} // namespace

MetafileDc::MetafileDc(QPainter& painter, const QTransform& toDevice, const QRectF& bounds,
                       int objectSlots)
    : painter_(painter)
    , toDevice_(toDevice * painter.transform())
    , objects_(std::size_t(std::max(0, objectSlots))) {
    // The painter's own transform (a widget's client offset, a printer's scale) comes last.
    QPainterPath area;
    area.addRect(bounds);
    bounds_ = painter.transform().map(area);
    state_.font.font.setFamily(QStringLiteral("Liberation Sans"));
    state_.font.font.setPixelSize(12);
    state_.font.height = -12;
}

// ---- Mapping -------------------------------------------------------------------------------

void MetafileDc::SetMapMode(int mode) {
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return;
    state_.mapMode = mode;
}

void MetafileDc::SetWindowExt(QSizeF s) {
    if (s.width() != 0 && s.height() != 0)
        state_.windowExt = s;
}

void MetafileDc::SetViewportExt(QSizeF s) {
    if (s.width() != 0 && s.height() != 0)
        state_.viewportExt = s;
}

void MetafileDc::ModifyWorldTransform(const QTransform& t, int mode) {
    QTransform next = state_.world;
    switch (mode) {
    case 1:
        next = QTransform();
        break;
    case 2: // the new transform is applied first
        next = t * state_.world;
        break;
    case 3:
        next = state_.world * t;
        break;
    case 4:
        next = t;
        break;
    default:
        break;
    }
    // Record values, and their products, may not be finite numbers: such a transform is not
    // taken (it would reach the painter's integer coordinates). A reset ignores its values.
    for (double v : {next.m11(), next.m12(), next.m13(), next.m21(), next.m22(), next.m23(),
                     next.m31(), next.m32(), next.m33()})
        if (!std::isfinite(v))
            return;
    state_.world = next;
}

void MetafileDc::SetDevicePixelsPerMm(double x, double y) {
    // Within a range any real device has: a header of absurd sizes keeps the default.
    if (std::isfinite(x) && std::isfinite(y) && x >= 0.01 && x <= 10000 && y >= 0.01 &&
        y <= 10000) {
        pxPerMmX_ = x;
        pxPerMmY_ = y;
    }
}

QTransform MetafileDc::PageTransform() const {
    double sx = 1, sy = 1;
    // Millimetres a logical unit measures in the metric and English modes (y grows upwards).
    auto metric = [&](double mm) {
        sx = pxPerMmX_ * mm;
        sy = -pxPerMmY_ * mm;
    };
    switch (state_.mapMode) {
    case MM_LOMETRIC:
        metric(0.1);
        break;
    case MM_HIMETRIC:
        metric(0.01);
        break;
    case MM_LOENGLISH:
        metric(0.254);
        break;
    case MM_HIENGLISH:
        metric(0.0254);
        break;
    case MM_TWIPS:
        metric(25.4 / 1440);
        break;
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC: {
        sx = state_.viewportExt.width() / state_.windowExt.width();
        sy = state_.viewportExt.height() / state_.windowExt.height();
        if (state_.mapMode == MM_ISOTROPIC) {
            const double m = std::min(std::fabs(sx), std::fabs(sy));
            sx = std::copysign(m, sx);
            sy = std::copysign(m, sy);
        }
        break;
    }
    default:
        break;
    }
    // device = (logical - window origin) * scale + viewport origin
    return QTransform(sx, 0, 0, sy, state_.viewportOrg.x() - state_.windowOrg.x() * sx,
                      state_.viewportOrg.y() - state_.windowOrg.y() * sy);
}

QTransform MetafileDc::LogicalToPainter() const {
    return state_.world * PageTransform() * toDevice_;
}

// ---- Save and restore ----------------------------------------------------------------------

void MetafileDc::Save() {
    if (saved_.size() < 1024) // deeper nesting is refused silently, as a device would
        saved_.push_back(state_);
}

void MetafileDc::Restore(int which) {
    if (saved_.empty())
        return;
    std::size_t index;
    if (which < 0) {
        const std::size_t back = std::size_t(-std::int64_t(which));
        if (back > saved_.size())
            return;
        index = saved_.size() - back;
    } else {
        if (which == 0 || std::size_t(which) > saved_.size())
            return;
        index = std::size_t(which) - 1;
    }
    state_ = saved_[index];
    saved_.resize(index);
    clipDirty_ = true;
}

// ---- Drawing -------------------------------------------------------------------------------

QPen MetafileDc::LogicalPen() const {
    QPen pen = state_.pen;
    if (state_.nullPen)
        return Qt::NoPen;
    return pen;
}

bool MetafileDc::RasterDevice() const {
    return painter_.paintEngine() && painter_.paintEngine()->type() == QPaintEngine::Raster;
}

void MetafileDc::Apply() {
    // The clip is set in painter coordinates, and only when it changed.
    if (clipDirty_) {
        painter_.setTransform(QTransform());
        painter_.setClipPath(state_.clip ? state_.clip->intersected(bounds_) : bounds_);
        clipDirty_ = false;
    }
    painter_.setTransform(LogicalToPainter());
    painter_.setCompositionMode(Rop2Mode(state_.rop2, RasterDevice()));
    painter_.setBackgroundMode(state_.opaque ? Qt::OpaqueMode : Qt::TransparentMode);
    painter_.setBackground(state_.backColour);
    painter_.setRenderHint(QPainter::Antialiasing, true);
}

void MetafileDc::Fill(const QPainterPath& path) {
    if (state_.nullBrush || state_.rop2 == 11)
        return;
    Apply();
    QBrush brush = state_.brush;
    if (brush.style() != Qt::SolidPattern && brush.style() != Qt::NoBrush) {
        // Hatches and patterns keep their device size, as a device draws them.
        const QTransform t = LogicalToPainter();
        const double sx = std::hypot(t.m11(), t.m12()), sy = std::hypot(t.m21(), t.m22());
        if (sx > 0 && sy > 0)
            brush.setTransform(QTransform::fromScale(1 / sx, 1 / sy));
    }
    if (state_.rop2 == 1 || state_.rop2 == 16)
        brush = QBrush(state_.rop2 == 1 ? Qt::black : Qt::white);
    QPainterPath filled = path;
    filled.setFillRule(state_.winding ? Qt::WindingFill : Qt::OddEvenFill);
    painter_.fillPath(filled, brush);
}

void MetafileDc::Stroke(const QPainterPath& path) {
    if (state_.nullPen || state_.rop2 == 11)
        return;
    Apply();
    QPen pen = LogicalPen();
    if (state_.rop2 == 1 || state_.rop2 == 16)
        pen.setColor(state_.rop2 == 1 ? Qt::black : Qt::white);
    painter_.strokePath(path, pen);
}

void MetafileDc::Shape(const QPainterPath& path) {
    if (state_.pathOpen) {
        state_.path.addPath(path);
        return;
    }
    Fill(path);
    Stroke(path);
}

void MetafileDc::MoveTo(QPointF p) {
    state_.position = p;
    if (state_.pathOpen)
        state_.path.moveTo(p);
}

void MetafileDc::LineTo(QPointF p) {
    if (state_.pathOpen) {
        if (state_.path.elementCount() == 0)
            state_.path.moveTo(state_.position);
        state_.path.lineTo(p);
    } else {
        QPainterPath line(state_.position);
        line.lineTo(p);
        Stroke(line);
    }
    state_.position = p;
}

void MetafileDc::Polyline(const QPolygonF& points) {
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(points);
    if (state_.pathOpen)
        state_.path.addPath(path);
    else
        Stroke(path);
}

void MetafileDc::PolylineTo(const QPolygonF& points) {
    for (const QPointF& p : points)
        LineTo(p);
}

void MetafileDc::Polygon(const QPolygonF& points) {
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    Shape(path);
}

void MetafileDc::PolyPolygon(const std::vector<QPolygonF>& polygons) {
    QPainterPath path;
    for (const QPolygonF& polygon : polygons) {
        if (polygon.size() < 2)
            continue;
        path.addPolygon(polygon);
        path.closeSubpath();
    }
    Shape(path);
}

void MetafileDc::PolyPolyline(const std::vector<QPolygonF>& polylines) {
    for (const QPolygonF& line : polylines)
        Polyline(line);
}

void MetafileDc::PolyBezier(const QPolygonF& points) {
    if (points.size() < 4)
        return;
    QPainterPath path(points[0]);
    for (qsizetype i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    if (state_.pathOpen)
        state_.path.addPath(path);
    else
        Stroke(path);
}

void MetafileDc::PolyBezierTo(const QPolygonF& points) {
    QPolygonF all{state_.position};
    all += points;
    const qsizetype used = 1 + (points.size() / 3) * 3;
    all.resize(used);
    if (used >= 4) {
        if (state_.pathOpen) {
            if (state_.path.elementCount() == 0)
                state_.path.moveTo(state_.position);
            for (qsizetype i = 1; i + 2 < all.size(); i += 3)
                state_.path.cubicTo(all[i], all[i + 1], all[i + 2]);
        } else {
            PolyBezier(all);
        }
        state_.position = all.last();
    }
}

void MetafileDc::Rectangle(const QRectF& r) {
    QPainterPath path;
    path.addRect(r.normalized());
    Shape(path);
}

void MetafileDc::RoundRect(const QRectF& r, QSizeF corner) {
    QPainterPath path;
    path.addRoundedRect(r.normalized(), std::fabs(corner.width()) / 2,
                        std::fabs(corner.height()) / 2);
    Shape(path);
}

void MetafileDc::Ellipse(const QRectF& r) {
    QPainterPath path;
    path.addEllipse(r.normalized());
    Shape(path);
}

QPainterPath MetafileDc::ArcPath(ArcKind kind, const QRectF& box, QPointF start,
                                 QPointF end) const {
    const QRectF r = box.normalized();
    const QPointF centre = r.center();
    const double a0 = Degrees(centre, start), a1 = Degrees(centre, end);
    double sweep = a1 - a0;
    if (state_.clockwise) {
        while (sweep >= 0)
            sweep -= 360;
    } else {
        while (sweep <= 0)
            sweep += 360;
    }
    QPainterPath path;
    if (kind == ArcKind::Pie)
        path.moveTo(centre);
    else
        path.arcMoveTo(r, a0);
    path.arcTo(r, a0, sweep);
    if (kind == ArcKind::Pie || kind == ArcKind::Chord)
        path.closeSubpath();
    return path;
}

void MetafileDc::Arc(ArcKind kind, const QRectF& box, QPointF start, QPointF end) {
    const QPainterPath path = ArcPath(kind, box, start, end);
    switch (kind) {
    case ArcKind::Arc:
        if (state_.pathOpen)
            state_.path.addPath(path);
        else
            Stroke(path);
        break;
    case ArcKind::ArcTo: {
        if (path.elementCount() == 0)
            break; // a box without area has no arc
        QPainterPath joined(state_.position);
        joined.lineTo(path.elementAt(0));
        joined.connectPath(path);
        if (state_.pathOpen)
            state_.path.addPath(joined);
        else
            Stroke(joined);
        state_.position = path.currentPosition();
        break;
    }
    case ArcKind::Chord:
    case ArcKind::Pie:
        Shape(path);
        break;
    }
}

void MetafileDc::SetPixel(QPointF p, QColor c) {
    Apply();
    const QPointF device = painter_.transform().map(p);
    painter_.save();
    painter_.setTransform(QTransform());
    painter_.fillRect(QRectF(std::floor(device.x()), std::floor(device.y()), 1, 1), c);
    painter_.restore();
}

void MetafileDc::PatBlt(const QRectF& r, unsigned rop) {
    Apply();
    const bool raster = RasterDevice();
    switch (rop) {
    case 0x00000042: // black
        painter_.fillRect(r.normalized(), Qt::black);
        break;
    case 0x00FF0062: // white
        painter_.fillRect(r.normalized(), Qt::white);
        break;
    case 0x00550009: // invert what is there
        if (raster) {
            painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
            painter_.fillRect(r.normalized(), Qt::white);
        }
        break;
    case 0x005A0049: // the pattern XORed
        if (raster)
            painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        if (!state_.nullBrush)
            painter_.fillRect(r.normalized(), state_.brush);
        break;
    default: // the pattern copied
        if (!state_.nullBrush)
            painter_.fillRect(r.normalized(), state_.brush);
        break;
    }
}

void MetafileDc::StretchBitmap(const QImage& image, const QRectF& source, const QRectF& destination,
                               unsigned rop) {
    if (image.isNull() || source.width() == 0 || source.height() == 0)
        return;
    Apply();
    if (RasterDevice()) {
        if (rop == 0x008800C6) // source AND destination
            painter_.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        else if (rop == 0x00EE0086) // source OR destination
            painter_.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        else if (rop == 0x00660046) // source XOR destination
            painter_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        else
            painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    // Source pixels onto the destination, mirrored where a size is negative.
    const double sx = destination.width() / source.width();
    const double sy = destination.height() / source.height();
    const QTransform place(sx, 0, 0, sy, destination.x() - source.x() * sx,
                           destination.y() - source.y() * sy);
    painter_.setTransform(place * LogicalToPainter());
    const QTransform& drawn = painter_.transform();
    painter_.setRenderHint(QPainter::SmoothPixmapTransform,
                           std::hypot(drawn.m11(), drawn.m12()) < 1);
    painter_.drawImage(source, image, source);
}

// ---- Paths and clipping --------------------------------------------------------------------

void MetafileDc::BeginPath() {
    state_.path = QPainterPath();
    state_.pathOpen = true;
}

void MetafileDc::AbortPath() {
    state_.path = QPainterPath();
    state_.pathOpen = false;
}

void MetafileDc::CloseFigure() {
    if (state_.pathOpen)
        state_.path.closeSubpath();
}

void MetafileDc::FillPath() {
    state_.pathOpen = false;
    Fill(state_.path);
    state_.path = QPainterPath();
}

void MetafileDc::StrokePath() {
    state_.pathOpen = false;
    Stroke(state_.path);
    state_.path = QPainterPath();
}

void MetafileDc::StrokeAndFillPath() {
    state_.pathOpen = false;
    Fill(state_.path);
    Stroke(state_.path);
    state_.path = QPainterPath();
}

void MetafileDc::ClipWith(const QPainterPath& logical, bool intersect) {
    CombineClip(LogicalToPainter().map(logical), intersect ? 1 : 4);
}

void MetafileDc::SelectClipPath(int mode) {
    state_.pathOpen = false;
    const QPainterPath device = LogicalToPainter().map(state_.path);
    state_.path = QPainterPath();
    CombineClip(device, mode);
}

// Region modes: 1 intersect, 2 unite, 3 exclusive-or, 4 subtract, 5 replace. Without a clip
// region, subtracting leaves everything but the region; the other modes take the region.
void MetafileDc::CombineClip(const QPainterPath& device, int mode) {
    clipDirty_ = true;
    if (!state_.clip && mode == 4) {
        QPainterPath all;
        all.addRect(QRectF(-1e6, -1e6, 2e6, 2e6));
        state_.clip = all.subtracted(device);
        return;
    }
    if (!state_.clip || mode == 5) {
        state_.clip = device;
        return;
    }
    switch (mode) {
    case 1:
        state_.clip = state_.clip->intersected(device);
        break;
    case 2:
        state_.clip = state_.clip->united(device);
        break;
    case 3:
        state_.clip = state_.clip->united(device).subtracted(state_.clip->intersected(device));
        break;
    case 4:
        state_.clip = state_.clip->subtracted(device);
        break;
    default:
        break;
    }
}

void MetafileDc::IntersectClip(const QRectF& r) {
    QPainterPath path;
    path.addRect(r.normalized());
    ClipWith(path, true);
}

void MetafileDc::ExcludeClip(const QRectF& r) {
    QPainterPath path;
    path.addRect(r.normalized());
    ClipWith(path, false);
}

void MetafileDc::SetDeviceClip(const std::vector<QRectF>& rects, int mode) {
    QPainterPath region;
    for (const QRectF& r : rects)
        region.addRect(r.normalized());
    CombineClip(toDevice_.map(region), mode);
}

void MetafileDc::ResetClip() {
    clipDirty_ = true;
    state_.clip.reset();
}

} // namespace imaging
