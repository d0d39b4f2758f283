// SPDX-License-Identifier: MIT
// The enhanced metafile player: a header record with the picture's frame and reference
// device, then records of 32-bit words (type, size in bytes, parameters in order).
#include "imaging/metafile/metafile_dc.h"
#include "imaging/metafile/metafile_dib.h"
#include "imaging/metafile/metafile_header.h"
#include "imaging/metafile/metafile_player.h"
#include "imaging/metafile/metafile_records.h"

#include <QPainter>

#include <cmath>
#include <numbers>

namespace imaging {

namespace {

enum Type : std::uint32_t {
    EMR_HEADER = 1,
    EMR_POLYBEZIER = 2,
    EMR_POLYGON = 3,
    EMR_POLYLINE = 4,
    EMR_POLYBEZIERTO = 5,
    EMR_POLYLINETO = 6,
    EMR_POLYPOLYLINE = 7,
    EMR_POLYPOLYGON = 8,
    EMR_SETWINDOWEXTEX = 9,
    EMR_SETWINDOWORGEX = 10,
    EMR_SETVIEWPORTEXTEX = 11,
    EMR_SETVIEWPORTORGEX = 12,
    EMR_EOF = 14,
    EMR_SETPIXELV = 15,
    EMR_SETMAPMODE = 17,
    EMR_SETBKMODE = 18,
    EMR_SETPOLYFILLMODE = 19,
    EMR_SETROP2 = 20,
    EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24,
    EMR_SETBKCOLOR = 25,
    EMR_MOVETOEX = 27,
    EMR_EXCLUDECLIPRECT = 29,
    EMR_INTERSECTCLIPRECT = 30,
    EMR_SCALEVIEWPORTEXTEX = 31,
    EMR_SCALEWINDOWEXTEX = 32,
    EMR_SAVEDC = 33,
    EMR_RESTOREDC = 34,
    EMR_SETWORLDTRANSFORM = 35,
    EMR_MODIFYWORLDTRANSFORM = 36,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_ANGLEARC = 41,
    EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43,
    EMR_ROUNDRECT = 44,
    EMR_ARC = 45,
    EMR_CHORD = 46,
    EMR_PIE = 47,
    EMR_CREATEPALETTE = 49,
    EMR_LINETO = 54,
    EMR_ARCTO = 55,
    EMR_SETARCDIRECTION = 57,
    EMR_BEGINPATH = 59,
    EMR_ENDPATH = 60,
    EMR_CLOSEFIGURE = 61,
    EMR_FILLPATH = 62,
    EMR_STROKEANDFILLPATH = 63,
    EMR_STROKEPATH = 64,
    EMR_SELECTCLIPPATH = 67,
    EMR_ABORTPATH = 68,
    EMR_EXTSELECTCLIPRGN = 75,
    EMR_BITBLT = 76,
    EMR_STRETCHBLT = 77,
    EMR_SETDIBITSTODEVICE = 80,
    EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTA = 83,
    EMR_EXTTEXTOUTW = 84,
    EMR_POLYBEZIER16 = 85,
    EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87,
    EMR_POLYBEZIERTO16 = 88,
    EMR_POLYLINETO16 = 89,
    EMR_POLYPOLYLINE16 = 90,
    EMR_POLYPOLYGON16 = 91,
    EMR_CREATEMONOBRUSH = 93,
    EMR_CREATEDIBPATTERNBRUSHPT = 94,
    EMR_EXTCREATEPEN = 95,
};

constexpr std::uint32_t kStockObject = 0x80000000u;

class EmfPlayer {
public:
    EmfPlayer(const RecordBytes& record, MetafileDc& dc, int* points)
        : r_(record)
        , dc_(dc)
        , points_(points) {}

    bool Play(std::uint32_t type, QString* error);

private:
    QPointF PointL(std::size_t at) const { return QPointF(r_.S32(at), r_.S32(at + 4)); }
    QSizeF SizeL(std::size_t at) const { return QSizeF(r_.S32(at), r_.S32(at + 4)); }
    // An inclusive rectangle left, top, right, bottom.
    QRectF RectL(std::size_t at) const { return QRectF(PointL(at), PointL(at + 8)); }
    QTransform XForm(std::size_t at) const {
        return QTransform(r_.F32(at), r_.F32(at + 4), r_.F32(at + 8), r_.F32(at + 12),
                          r_.F32(at + 16), r_.F32(at + 20));
    }
    bool TakePoints(std::uint64_t count, QString* error) {
        if (count > std::uint64_t(MetafileLimits::Points - *points_)) {
            *error = QStringLiteral("The metafile has too many points");
            return false;
        }
        *points_ += int(count);
        return true;
    }
    // `count` points from `at`, 32-bit or 16-bit coordinates.
    bool Points(std::size_t at, std::uint64_t count, bool small, QPolygonF* out) const {
        const std::size_t each = small ? 4 : 8;
        if (!r_.Has(at, std::size_t(count) * each)) {
            r_.MarkDamaged();
            return false;
        }
        out->reserve(qsizetype(count));
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t p = at + i * each;
            out->append(small ? QPointF(r_.S16(p), r_.S16(p + 2))
                              : QPointF(r_.S32(p), r_.S32(p + 4)));
        }
        return true;
    }
    // The bitmap of a record: header and bits at their offsets from the record's start.
    QImage Bitmap(std::size_t infoAt, std::size_t infoBytes, std::size_t bitsAt,
                  std::size_t bitsBytes, bool paletteIndices = false) const {
        if (infoBytes == 0 || !r_.Has(infoAt, infoBytes) || !r_.Has(bitsAt, bitsBytes))
            return {};
        return MetafileDibImage(r_.Data() + infoAt, infoBytes, r_.Data() + bitsAt, bitsBytes,
                                !paletteIndices);
    }
    void Store(std::uint32_t slot, MetaObject object) {
        if (!dc_.Store(int(slot), std::move(object)))
            r_.MarkDamaged();
    }
    bool Poly(std::uint32_t type, QString* error);
    bool PolyPoly(std::uint32_t type, QString* error);
    void Text(std::uint32_t type);

    const RecordBytes& r_;
    MetafileDc& dc_;
    int* points_;
};

bool EmfPlayer::Poly(std::uint32_t type, QString* error) {
    const std::uint32_t count = r_.U32(24);
    if (!TakePoints(count, error))
        return false;
    const bool small = type >= EMR_POLYBEZIER16;
    QPolygonF points;
    if (!Points(28, count, small, &points))
        return true;
    switch (small ? type - (EMR_POLYBEZIER16 - EMR_POLYBEZIER) : type) {
    case EMR_POLYBEZIER:
        dc_.PolyBezier(points);
        break;
    case EMR_POLYGON:
        dc_.Polygon(points);
        break;
    case EMR_POLYLINE:
        dc_.Polyline(points);
        break;
    case EMR_POLYBEZIERTO:
        dc_.PolyBezierTo(points);
        break;
    default:
        dc_.PolylineTo(points);
        break;
    }
    return true;
}

bool EmfPlayer::PolyPoly(std::uint32_t type, QString* error) {
    const std::uint32_t shapes = r_.U32(24), total = r_.U32(28);
    if (!TakePoints(total, error))
        return false;
    if (!r_.Has(32, std::size_t(shapes) * 4)) {
        r_.MarkDamaged();
        return true;
    }
    const bool small = type == EMR_POLYPOLYLINE16 || type == EMR_POLYPOLYGON16;
    std::size_t at = 32 + std::size_t(shapes) * 4;
    std::uint64_t used = 0;
    std::vector<QPolygonF> polygons;
    for (std::uint32_t i = 0; i < shapes; ++i) {
        const std::uint32_t count = r_.U32(32 + std::size_t(i) * 4);
        used += count;
        if (used > total) {
            r_.MarkDamaged();
            return true;
        }
        QPolygonF points;
        if (!Points(at, count, small, &points))
            return true;
        at += std::size_t(count) * (small ? 4 : 8);
        polygons.push_back(std::move(points));
    }
    if (type == EMR_POLYPOLYGON || type == EMR_POLYPOLYGON16)
        dc_.PolyPolygon(polygons);
    else
        dc_.PolyPolyline(polygons);
    return true;
}

void EmfPlayer::Text(std::uint32_t type) {
    const QPointF at = PointL(36);
    const std::uint32_t count = r_.U32(44), offset = r_.U32(48), options = r_.U32(52);
    const QRectF rect = RectL(56);
    const std::uint32_t dxOffset = r_.U32(72);
    const bool wide = type == EMR_EXTTEXTOUTW;
    const std::size_t bytes = std::size_t(count) * (wide ? 2 : 1);
    if (!r_.Has(offset, bytes)) {
        r_.MarkDamaged();
        return;
    }
    QString text;
    if (wide)
        text = QString::fromUtf16(reinterpret_cast<const char16_t*>(r_.Data() + offset),
                                  qsizetype(count));
    else
        text = QString::fromLatin1(reinterpret_cast<const char*>(r_.Data() + offset),
                                   qsizetype(count));
    std::vector<double> advances;
    if (dxOffset && r_.Has(dxOffset, std::size_t(count) * 4))
        for (std::uint32_t i = 0; i < count; ++i)
            advances.push_back(r_.S32(dxOffset + std::size_t(i) * 4));
    std::optional<QRectF> box, clip;
    if (options & 0x0002)
        box = rect;
    if (options & 0x0004)
        clip = rect;
    dc_.Text(at, text, box, clip, advances);
}

bool EmfPlayer::Play(std::uint32_t type, QString* error) {
    switch (type) {
    case EMR_POLYBEZIER:
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO:
    case EMR_POLYBEZIER16:
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16:
        return Poly(type, error);
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYGON:
    case EMR_POLYPOLYLINE16:
    case EMR_POLYPOLYGON16:
        return PolyPoly(type, error);
    case EMR_SETWINDOWEXTEX:
        dc_.SetWindowExt(SizeL(8));
        break;
    case EMR_SETWINDOWORGEX:
        dc_.SetWindowOrg(PointL(8));
        break;
    case EMR_SETVIEWPORTEXTEX:
        dc_.SetViewportExt(SizeL(8));
        break;
    case EMR_SETVIEWPORTORGEX:
        dc_.SetViewportOrg(PointL(8));
        break;
    case EMR_SCALEVIEWPORTEXTEX:
    case EMR_SCALEWINDOWEXTEX: {
        const double xn = r_.S32(8), xd = r_.S32(12), yn = r_.S32(16), yd = r_.S32(20);
        if (xd == 0 || yd == 0)
            break;
        if (type == EMR_SCALEVIEWPORTEXTEX)
            dc_.SetViewportExt(
                QSizeF(dc_.ViewportExt().width() * xn / xd, dc_.ViewportExt().height() * yn / yd));
        else
            dc_.SetWindowExt(
                QSizeF(dc_.WindowExt().width() * xn / xd, dc_.WindowExt().height() * yn / yd));
        break;
    }
    case EMR_SETPIXELV:
        dc_.SetPixel(PointL(8), r_.Colour(16));
        break;
    case EMR_SETMAPMODE:
        dc_.SetMapMode(int(r_.U32(8)));
        break;
    case EMR_SETBKMODE:
        dc_.SetBackgroundOpaque(r_.U32(8) == 2);
        break;
    case EMR_SETPOLYFILLMODE:
        dc_.SetWindingFill(r_.U32(8) == 2);
        break;
    case EMR_SETROP2:
        dc_.SetRop2(int(r_.U32(8)));
        break;
    case EMR_SETTEXTALIGN:
        dc_.SetTextAlign(r_.U32(8));
        break;
    case EMR_SETTEXTCOLOR:
        dc_.SetTextColour(r_.Colour(8));
        break;
    case EMR_SETBKCOLOR:
        dc_.SetBackgroundColour(r_.Colour(8));
        break;
    case EMR_MOVETOEX:
        dc_.MoveTo(PointL(8));
        break;
    case EMR_LINETO:
        dc_.LineTo(PointL(8));
        break;
    case EMR_EXCLUDECLIPRECT:
        dc_.ExcludeClip(RectL(8));
        break;
    case EMR_INTERSECTCLIPRECT:
        dc_.IntersectClip(RectL(8));
        break;
    case EMR_SAVEDC:
        dc_.Save();
        break;
    case EMR_RESTOREDC:
        dc_.Restore(r_.S32(8));
        break;
    case EMR_SETWORLDTRANSFORM:
        dc_.SetWorldTransform(XForm(8));
        break;
    case EMR_MODIFYWORLDTRANSFORM:
        dc_.ModifyWorldTransform(XForm(8), int(r_.U32(32)));
        break;
    case EMR_SELECTOBJECT: {
        const std::uint32_t object = r_.U32(8);
        if (object & kStockObject)
            dc_.SelectStockObject(int(object & ~kStockObject));
        else
            dc_.Select(int(object));
        break;
    }
    case EMR_DELETEOBJECT:
        dc_.Delete(int(r_.U32(8)));
        break;
    case EMR_CREATEPEN:
        Store(r_.U32(8), MakePen(r_.U32(12), r_.S32(16), r_.Colour(24)));
        break;
    case EMR_EXTCREATEPEN: {
        const std::uint32_t style = r_.U32(28);
        const bool geometric = (style & 0x00010000u) != 0;
        MetaPen pen = MakePen(style, geometric ? double(r_.U32(32)) : 0.0, r_.Colour(40));
        if (r_.U32(36) == 1) // a pen whose brush is the null brush draws nothing
            pen.null = true;
        Store(r_.U32(8), pen);
        break;
    }
    case EMR_CREATEBRUSHINDIRECT:
        Store(r_.U32(8), MakeBrush(r_.U32(12), r_.Colour(16), r_.U32(20)));
        break;
    case EMR_CREATEMONOBRUSH:
    case EMR_CREATEDIBPATTERNBRUSHPT: {
        const QImage pattern = Bitmap(r_.U32(16), r_.U32(20), r_.U32(24), r_.U32(28));
        Store(r_.U32(8), MetaBrush{pattern.isNull() ? QBrush(Qt::gray) : QBrush(pattern), false});
        break;
    }
    case EMR_CREATEPALETTE:
        Store(r_.U32(8), MetaOther{});
        break;
    case EMR_EXTCREATEFONTINDIRECTW: {
        QString face;
        for (std::size_t i = 0; i < 32; ++i) {
            const std::uint16_t c = r_.Has(40 + 2 * i, 2) ? r_.U16(40 + 2 * i) : 0;
            if (c == 0)
                break;
            face += QChar(c);
        }
        Store(r_.U32(8), MakeFont(r_.S32(12), r_.S32(20), r_.S32(28), r_.U8(32) != 0,
                                  r_.U8(33) != 0, r_.U8(34) != 0, face));
        break;
    }
    case EMR_ANGLEARC: {
        const QPointF centre = PointL(8);
        const double radius = r_.U32(16);
        const double start = r_.F32(20), sweep = r_.F32(24);
        if (!std::isfinite(start) || !std::isfinite(sweep) || radius > 1e7)
            break;
        const QRectF box(centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius));
        auto onCircle = [&](double degrees) {
            const double a = degrees * std::numbers::pi / 180;
            return centre + QPointF(radius * std::cos(a), -radius * std::sin(a));
        };
        dc_.LineTo(onCircle(start));
        dc_.SetArcClockwise(sweep < 0);
        dc_.Arc(MetafileDc::ArcKind::ArcTo, box, onCircle(start), onCircle(start + sweep));
        break;
    }
    case EMR_ELLIPSE:
        dc_.Ellipse(RectL(8));
        break;
    case EMR_RECTANGLE:
        dc_.Rectangle(RectL(8));
        break;
    case EMR_ROUNDRECT:
        dc_.RoundRect(RectL(8), SizeL(24));
        break;
    case EMR_ARC:
    case EMR_CHORD:
    case EMR_PIE:
    case EMR_ARCTO: {
        const auto kind = type == EMR_ARC     ? MetafileDc::ArcKind::Arc
                          : type == EMR_CHORD ? MetafileDc::ArcKind::Chord
                          : type == EMR_PIE   ? MetafileDc::ArcKind::Pie
                                              : MetafileDc::ArcKind::ArcTo;
        dc_.Arc(kind, RectL(8), PointL(24), PointL(32));
        break;
    }
    case EMR_SETARCDIRECTION:
        dc_.SetArcClockwise(r_.U32(8) == 2);
        break;
    case EMR_BEGINPATH:
        dc_.BeginPath();
        break;
    case EMR_ENDPATH:
        dc_.EndPath();
        break;
    case EMR_CLOSEFIGURE:
        dc_.CloseFigure();
        break;
    case EMR_FILLPATH:
        dc_.FillPath();
        break;
    case EMR_STROKEANDFILLPATH:
        dc_.StrokeAndFillPath();
        break;
    case EMR_STROKEPATH:
        dc_.StrokePath();
        break;
    case EMR_SELECTCLIPPATH:
        dc_.SelectClipPath(int(r_.U32(8)));
        break;
    case EMR_ABORTPATH:
        dc_.AbortPath();
        break;
    case EMR_EXTSELECTCLIPRGN: {
        const std::uint32_t size = r_.U32(8), mode = r_.U32(12);
        if (size == 0) {
            if (mode == 5)
                dc_.ResetClip();
            break;
        }
        const std::uint32_t rects = r_.U32(16 + 8);
        if (std::uint64_t(rects) * 16 + 32 > size || !r_.Has(48, std::size_t(rects) * 16)) {
            r_.MarkDamaged();
            break;
        }
        std::vector<QRectF> region;
        for (std::uint32_t i = 0; i < rects; ++i) {
            const std::size_t at = 48 + std::size_t(i) * 16;
            region.push_back(QRectF(PointL(at), PointL(at + 8)));
        }
        dc_.SetDeviceClip(region, int(mode));
        break;
    }
    case EMR_BITBLT:
    case EMR_STRETCHBLT: {
        const QRectF destination(r_.S32(24), r_.S32(28), r_.S32(32), r_.S32(36));
        const std::uint32_t rop = r_.U32(40);
        const std::uint32_t infoBytes = r_.U32(88);
        if (infoBytes == 0) { // no source: the brush is the pattern
            dc_.PatBlt(destination, rop);
            break;
        }
        QSizeF sourceSize = destination.size();
        if (type == EMR_STRETCHBLT)
            sourceSize = QSizeF(r_.S32(100), r_.S32(104));
        const QImage image = Bitmap(r_.U32(84), infoBytes, r_.U32(92), r_.U32(96));
        dc_.StretchBitmap(image, QRectF(QPointF(r_.S32(44), r_.S32(48)), sourceSize), destination,
                          rop);
        break;
    }
    case EMR_STRETCHDIBITS: {
        const QImage image =
            Bitmap(r_.U32(48), r_.U32(52), r_.U32(56), r_.U32(60), r_.U32(64) == 1);
        if (image.isNull())
            break;
        // The source's y counts from the bitmap's bottom row.
        const double cx = r_.S32(40), cy = r_.S32(44);
        const QRectF source(r_.S32(32), double(image.height()) - r_.S32(36) - cy, cx, cy);
        dc_.StretchBitmap(image, source, QRectF(r_.S32(24), r_.S32(28), r_.S32(72), r_.S32(76)),
                          r_.U32(68));
        break;
    }
    case EMR_SETDIBITSTODEVICE: {
        const QImage image =
            Bitmap(r_.U32(48), r_.U32(52), r_.U32(56), r_.U32(60), r_.U32(64) == 1);
        const double cx = r_.S32(40), cy = r_.S32(44);
        if (image.isNull())
            break;
        const QRectF source(r_.S32(32), double(image.height()) - r_.S32(36) - cy, cx, cy);
        dc_.StretchBitmap(image, source, QRectF(r_.S32(24), r_.S32(28), cx, cy), 0x00CC0020);
        break;
    }
    case EMR_EXTTEXTOUTA:
    case EMR_EXTTEXTOUTW:
        Text(type);
        break;
    default: // palettes, comments, colour management and the rest draw nothing
        break;
    }
    return true;
}

} // namespace

bool PlayEnhancedMetafile(const QByteArray& bytes, QPainter& painter, const QRectF& target,
                          QString* error) {
    return RunPlayer(bytes, painter, error, [&](const RecordBytes& file, QString& problem) {
        if (DetectMetafile(bytes) != MetafileKind::Enhanced || !file.Has(0, 88)) {
            problem = QStringLiteral("Not an enhanced metafile");
            return false;
        }
        const std::uint32_t headerBytes = file.U32(4);
        const QRectF frame(QPointF(file.S32(24), file.S32(28)),
                           QPointF(file.S32(32), file.S32(36)));
        const double devicePixelsX = file.S32(72), devicePixelsY = file.S32(76);
        const double deviceMmX = file.S32(80), deviceMmY = file.S32(84);
        const std::uint16_t handles = file.U16(56);
        if (headerBytes < 88 || !file.Has(0, headerBytes) || devicePixelsX <= 0 ||
            devicePixelsY <= 0 || deviceMmX <= 0 || deviceMmY <= 0 || frame.width() == 0 ||
            frame.height() == 0 || target.isEmpty()) {
            problem = QStringLiteral("The metafile's header is damaged");
            return false;
        }
        // The frame, in hundredths of a millimetre, in the reference device's pixels; it fills
        // the target.
        const double px = devicePixelsX / (deviceMmX * 100);
        const double py = devicePixelsY / (deviceMmY * 100);
        const QRectF frameDevice(frame.left() * px, frame.top() * py, frame.width() * px,
                                 frame.height() * py);
        MetafileDc dc(painter, MapOnto(frameDevice, target), target, handles);
        dc.SetDevicePixelsPerMm(devicePixelsX / deviceMmX, devicePixelsY / deviceMmY);
        int points = 0;
        return PlayRecords(
            file, headerBytes, 8,
            [&](std::size_t at) {
                RecordHead h;
                h.kind = file.U32(at);
                h.size = file.U32(at + 4);
                h.valid = h.size >= 8 && h.size % 4 == 0;
                h.end = h.valid && h.kind == EMR_EOF && file.Has(at, h.size);
                return h;
            },
            [&](const RecordBytes& record, std::uint32_t type) {
                EmfPlayer player(record, dc, &points);
                return player.Play(type, &problem);
            },
            &problem);
    });
}

} // namespace imaging
