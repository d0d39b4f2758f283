// SPDX-License-Identifier: MIT
// The placeable Windows metafile player: a header with the picture's box, then records of
// 16-bit words (size in words, function number, parameters, most of them in reverse order).
#include "imaging/metafile/metafile_dc.h"
#include "imaging/metafile/metafile_dib.h"
#include "imaging/metafile/metafile_header.h"
#include "imaging/metafile/metafile_player.h"
#include "imaging/metafile/metafile_records.h"

#include <QPainter>

namespace imaging {

namespace {

constexpr std::size_t kPlaceableBytes = 22, kHeaderBytes = 18, kParams = 6;

// The record functions played; others are skipped.
enum Function : std::uint16_t {
    META_EOF = 0x0000,
    META_REALIZEPALETTE = 0x0035,
    META_SETBKMODE = 0x0102,
    META_SETMAPMODE = 0x0103,
    META_SETROP2 = 0x0104,
    META_SETPOLYFILLMODE = 0x0106,
    META_SELECTCLIPREGION = 0x012C,
    META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E,
    META_RESTOREDC = 0x0127,
    META_DIBCREATEPATTERNBRUSH = 0x0142,
    META_DELETEOBJECT = 0x01F0,
    META_CREATEPATTERNBRUSH = 0x01F9,
    META_SAVEDC = 0x001E,
    META_CREATEPALETTE = 0x00F7,
    META_SETBKCOLOR = 0x0201,
    META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_OFFSETWINDOWORG = 0x020F,
    META_LINETO = 0x0213,
    META_MOVETO = 0x0214,
    META_SELECTPALETTE = 0x0234,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_SCALEWINDOWEXT = 0x0410,
    META_EXCLUDECLIPRECT = 0x0415,
    META_INTERSECTCLIPRECT = 0x0416,
    META_ELLIPSE = 0x0418,
    META_RECTANGLE = 0x041B,
    META_SETPIXEL = 0x041F,
    META_TEXTOUT = 0x0521,
    META_POLYPOLYGON = 0x0538,
    META_ROUNDRECT = 0x061C,
    META_PATBLT = 0x061D,
    META_CREATEREGION = 0x06FF,
    META_ARC = 0x0817,
    META_PIE = 0x081A,
    META_CHORD = 0x0830,
    META_DIBBITBLT = 0x0940,
    META_EXTTEXTOUT = 0x0A32,
    META_DIBSTRETCHBLT = 0x0B41,
    META_STRETCHDIB = 0x0F43,
};

class WmfPlayer {
public:
    WmfPlayer(const RecordBytes& record, MetafileDc& dc, int* points)
        : r_(record)
        , dc_(dc)
        , points_(points) {}

    // Parameter word i (the parameters follow the size and the function).
    std::int16_t P(std::size_t i) const { return r_.S16(kParams + 2 * i); }
    std::uint32_t P32(std::size_t i) const { return r_.U32(kParams + 2 * i); }
    QColor Colour(std::size_t i) const { return r_.Colour(kParams + 2 * i); }
    QPointF Point(std::size_t yIndex) const { return QPointF(P(yIndex + 1), P(yIndex)); }
    // A rectangle stored bottom, right, top, left from word i.
    QRectF Box(std::size_t i) const {
        return QRectF(QPointF(P(i + 3), P(i + 2)), QPointF(P(i + 1), P(i)));
    }

    /// False when the record breaks a limit (the play stops with that error).
    bool Play(std::uint16_t function, QString* error);

private:
    bool TakePoints(int count, QString* error) {
        if (count < 0 || *points_ > MetafileLimits::Points - count) {
            *error = QStringLiteral("The metafile has too many points");
            return false;
        }
        *points_ += count;
        return true;
    }
    QPolygonF Points(std::size_t firstWord, int count) const {
        QPolygonF polygon;
        polygon.reserve(count);
        for (int i = 0; i < count; ++i)
            polygon.append(
                QPointF(P(firstWord + 2 * std::size_t(i)), P(firstWord + 2 * std::size_t(i) + 1)));
        return polygon;
    }
    QString Bytes(std::size_t at, int count) const {
        if (count <= 0 || !r_.Has(at, std::size_t(count))) {
            if (count > 0)
                r_.MarkDamaged();
            return {};
        }
        return QString::fromLatin1(reinterpret_cast<const char*>(r_.Data() + at), count);
    }
    void Create(MetaObject object) {
        // A new object takes the lowest free slot; a full table drops it, as a device would.
        const int slot = dc_.FreeSlot();
        if (slot >= 0)
            dc_.Store(slot, std::move(object));
    }
    QImage Dib(std::size_t at) const {
        return at < r_.Size() ? PackedDibImage(r_.Data() + at, r_.Size() - at) : QImage();
    }

    const RecordBytes& r_;
    MetafileDc& dc_;
    int* points_;
};

bool WmfPlayer::Play(std::uint16_t function, QString* error) {
    switch (function) {
    case META_SETBKCOLOR:
        dc_.SetBackgroundColour(Colour(0));
        break;
    case META_SETBKMODE:
        dc_.SetBackgroundOpaque(P(0) == 2);
        break;
    case META_SETMAPMODE:
        break; // a placeable picture always maps its window onto its box
    case META_SETROP2:
        dc_.SetRop2(P(0));
        break;
    case META_SETPOLYFILLMODE:
        dc_.SetWindingFill(P(0) == 2);
        break;
    case META_SETTEXTCOLOR:
        dc_.SetTextColour(Colour(0));
        break;
    case META_SETTEXTALIGN:
        dc_.SetTextAlign(std::uint16_t(P(0)));
        break;
    case META_SETWINDOWORG:
        dc_.SetWindowOrg(Point(0));
        break;
    case META_SETWINDOWEXT:
        dc_.SetWindowExt(QSizeF(P(1), P(0)));
        break;
    case META_OFFSETWINDOWORG:
        dc_.SetWindowOrg(dc_.WindowOrg() + Point(0));
        break;
    case META_SCALEWINDOWEXT:
        if (P(0) != 0 && P(2) != 0)
            dc_.SetWindowExt(QSizeF(dc_.WindowExt().width() * P(3) / P(2),
                                    dc_.WindowExt().height() * P(1) / P(0)));
        break;
    case META_LINETO:
        dc_.LineTo(Point(0));
        break;
    case META_MOVETO:
        dc_.MoveTo(Point(0));
        break;
    case META_EXCLUDECLIPRECT:
        dc_.ExcludeClip(Box(0));
        break;
    case META_INTERSECTCLIPRECT:
        dc_.IntersectClip(Box(0));
        break;
    case META_SELECTCLIPREGION:
        dc_.ResetClip(); // the regions are not kept: selecting one gives the whole area
        break;
    case META_ELLIPSE:
        dc_.Ellipse(Box(0));
        break;
    case META_RECTANGLE:
        dc_.Rectangle(Box(0));
        break;
    case META_ROUNDRECT:
        dc_.RoundRect(Box(2), QSizeF(P(1), P(0)));
        break;
    case META_ARC:
    case META_PIE:
    case META_CHORD: {
        const auto kind = function == META_ARC   ? MetafileDc::ArcKind::Arc
                          : function == META_PIE ? MetafileDc::ArcKind::Pie
                                                 : MetafileDc::ArcKind::Chord;
        dc_.Arc(kind, Box(4), Point(2), Point(0));
        break;
    }
    case META_SAVEDC:
        dc_.Save();
        break;
    case META_RESTOREDC:
        dc_.Restore(P(0));
        break;
    case META_SETPIXEL:
        dc_.SetPixel(Point(2), Colour(0));
        break;
    case META_TEXTOUT: {
        const int count = P(0);
        const std::size_t after = kParams + 2 + std::size_t((count + 1) & ~1);
        const QString text = Bytes(kParams + 2, count);
        dc_.Text(QPointF(r_.S16(after + 2), r_.S16(after)), text, std::nullopt, std::nullopt);
        break;
    }
    case META_EXTTEXTOUT: {
        const QPointF at(P(1), P(0));
        const int count = P(2);
        const unsigned options = std::uint16_t(P(3));
        std::size_t at8 = kParams + 8;
        std::optional<QRectF> box, clip;
        if (options & 0x0006) { // opaque or clipped: a rectangle left, top, right, bottom
            const QRectF rect(QPointF(P(4), P(5)), QPointF(P(6), P(7)));
            if (options & 0x0002)
                box = rect;
            if (options & 0x0004)
                clip = rect;
            at8 += 8;
        }
        const QString text = Bytes(at8, count);
        std::vector<double> advances;
        const std::size_t dx = at8 + std::size_t((count + 1) & ~1);
        if (count > 0 && r_.Has(dx, 2 * std::size_t(count)))
            for (int i = 0; i < count; ++i)
                advances.push_back(r_.S16(dx + 2 * std::size_t(i)));
        dc_.Text(at, text, box, clip, advances);
        break;
    }
    case META_POLYGON:
    case META_POLYLINE: {
        const int count = P(0);
        if (!TakePoints(count, error))
            return false;
        if (!r_.Has(kParams + 2, 4 * std::size_t(count))) {
            r_.MarkDamaged();
            break;
        }
        const QPolygonF points = Points(1, count);
        if (function == META_POLYGON)
            dc_.Polygon(points);
        else
            dc_.Polyline(points);
        break;
    }
    case META_POLYPOLYGON: {
        const int polygons = P(0);
        if (polygons < 0 || !r_.Has(kParams + 2, 2 * std::size_t(polygons))) {
            r_.MarkDamaged();
            break;
        }
        std::vector<QPolygonF> shapes;
        std::size_t word = 1 + std::size_t(polygons);
        for (int i = 0; i < polygons; ++i) {
            const int count = P(1 + std::size_t(i));
            if (!TakePoints(count, error))
                return false;
            if (!r_.Has(kParams + 2 * word, 4 * std::size_t(count))) {
                r_.MarkDamaged();
                return true;
            }
            shapes.push_back(Points(word, count));
            word += 2 * std::size_t(count);
        }
        dc_.PolyPolygon(shapes);
        break;
    }
    case META_SELECTOBJECT:
        dc_.Select(std::uint16_t(P(0)));
        break;
    case META_DELETEOBJECT:
        dc_.Delete(std::uint16_t(P(0)));
        break;
    case META_CREATEPENINDIRECT:
        Create(MakePen(std::uint16_t(P(0)), P(1), Colour(3)));
        break;
    case META_CREATEBRUSHINDIRECT:
        Create(MakeBrush(std::uint16_t(P(0)), Colour(1), std::uint16_t(P(3))));
        break;
    case META_CREATEFONTINDIRECT: {
        const std::size_t b = kParams + 10; // the bytes after height, width, angles, weight
        QString face;
        for (std::size_t i = 0; i < 32 && r_.Has(b + 8 + i, 1) && r_.U8(b + 8 + i); ++i)
            face += QChar(r_.U8(b + 8 + i));
        Create(
            MakeFont(P(0), P(2), P(4), r_.U8(b) != 0, r_.U8(b + 1) != 0, r_.U8(b + 2) != 0, face));
        break;
    }
    case META_DIBCREATEPATTERNBRUSH: {
        const QImage pattern = Dib(kParams + 4);
        MetaBrush brush;
        if (pattern.isNull())
            brush.brush = QBrush(Qt::gray);
        else
            brush.brush = QBrush(pattern);
        Create(brush);
        break;
    }
    case META_CREATEPATTERNBRUSH: // a device bitmap of another age: drawn as a grey tone
        Create(MetaBrush{QBrush(Qt::gray), false});
        break;
    case META_CREATEPALETTE:
    case META_CREATEREGION:
        Create(MetaOther{});
        break;
    case META_PATBLT:
        dc_.PatBlt(QRectF(P(5), P(4), P(3), P(2)), P32(0));
        break;
    case META_STRETCHDIB: {
        const QImage image = Dib(kParams + 22);
        dc_.StretchBitmap(image, QRectF(P(6), P(5), P(4), P(3)), QRectF(P(10), P(9), P(8), P(7)),
                          P32(0));
        break;
    }
    case META_DIBSTRETCHBLT: {
        const QImage image = Dib(kParams + 20);
        dc_.StretchBitmap(image, QRectF(P(5), P(4), P(3), P(2)), QRectF(P(9), P(8), P(7), P(6)),
                          P32(0));
        break;
    }
    case META_DIBBITBLT: {
        const QImage image = Dib(kParams + 16);
        const QRectF source(P(3), P(2), P(5), P(4));
        dc_.StretchBitmap(image, source, QRectF(P(7), P(6), P(5), P(4)), P32(0));
        break;
    }
    default: // palettes, escapes and the rest draw nothing
        break;
    }
    return true;
}

} // namespace

bool PlayWindowsMetafile(const QByteArray& bytes, QPainter& painter, const QRectF& target,
                         QString* error) {
    return RunPlayer(bytes, painter, error, [&](const RecordBytes& file, QString& problem) {
        if (DetectMetafile(bytes) != MetafileKind::Placeable ||
            !file.Has(kPlaceableBytes, kHeaderBytes)) {
            problem = QStringLiteral("Not a placeable metafile");
            return false;
        }
        const QRectF box(QPointF(file.S16(6), file.S16(8)), QPointF(file.S16(10), file.S16(12)));
        const std::size_t headerWords = file.U16(kPlaceableBytes + 2);
        const std::uint16_t objects = file.U16(kPlaceableBytes + 10);
        if (headerWords != 9 || box.width() == 0 || box.height() == 0 || target.isEmpty()) {
            problem = QStringLiteral("The metafile's header is damaged");
            return false;
        }
        // The box fills the target; the records' window is mapped onto the box.
        MetafileDc dc(painter, MapOnto(box, target), target, objects);
        dc.SetMapMode(8);
        dc.SetWindowOrg(box.topLeft());
        dc.SetWindowExt(box.size());
        dc.SetViewportOrg(box.topLeft());
        dc.SetViewportExt(box.size());
        int points = 0;
        return PlayRecords(
            file, kPlaceableBytes + 2 * headerWords, kParams,
            [&](std::size_t at) {
                const std::uint64_t words = file.U32(at);
                RecordHead h;
                h.size = std::size_t(words) * 2;
                h.kind = file.U16(at + 4);
                h.end = h.kind == META_EOF;
                h.valid = words >= 3 && words <= file.Size() / 2;
                return h;
            },
            [&](const RecordBytes& record, std::uint32_t function) {
                WmfPlayer player(record, dc, &points);
                return player.Play(std::uint16_t(function), &problem);
            },
            &problem);
    });
}

} // namespace imaging
