// SPDX-License-Identifier: MIT
#include "tools/samples/wmf_writer.h"

namespace samples {

QByteArray PackedDib24(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const int stride = ((rgb.width() * 24 + 31) / 32) * 4;
    LeBytes b;
    b.U32(40);
    b.S32(rgb.width());
    b.S32(rgb.height());
    b.U16(1);
    b.U16(24);
    b.U32(0);
    b.U32(std::uint32_t(stride * rgb.height()));
    b.U32(2835);
    b.U32(2835);
    b.U32(0);
    b.U32(0);
    for (int y = rgb.height() - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            b.U8(unsigned(qBlue(line[x])));
            b.U8(unsigned(qGreen(line[x])));
            b.U8(unsigned(qRed(line[x])));
        }
        for (int pad = rgb.width() * 3; pad < stride; ++pad)
            b.U8(0);
    }
    return b.Data();
}

WmfWriter::WmfWriter(QRect box, int unitsPerInch)
    : box_(box)
    , unitsPerInch_(unitsPerInch) {}

std::vector<int> WmfWriter::Colour(QColor c) {
    return {c.red() | c.green() << 8, c.blue()};
}

void WmfWriter::Record(unsigned function, const std::vector<int>& words, const QByteArray& tail) {
    const std::uint32_t size = std::uint32_t(3 + words.size() + (tail.size() + 1) / 2);
    records_.U32(size);
    records_.U16(function);
    for (int w : words)
        records_.S16(w);
    records_.Bytes(tail);
    if (tail.size() % 2)
        records_.U8(0);
    largest_ = std::max(largest_, size);
}

int WmfWriter::Take() {
    for (std::size_t i = 0; i < slots_.size(); ++i)
        if (!slots_[i]) {
            slots_[i] = true;
            return int(i);
        }
    slots_.push_back(true);
    return int(slots_.size() - 1);
}

int WmfWriter::CreatePen(int style, int width, QColor colour) {
    std::vector<int> w{style, width, 0};
    for (int c : Colour(colour))
        w.push_back(c);
    Record(0x02FA, w);
    return Take();
}

int WmfWriter::CreateBrush(int style, QColor colour, int hatch) {
    std::vector<int> w{style};
    for (int c : Colour(colour))
        w.push_back(c);
    w.push_back(hatch);
    Record(0x02FC, w);
    return Take();
}

int WmfWriter::CreateFont(int height, int weight, bool italic, const QByteArray& face,
                          int escapement) {
    LeBytes tail;
    tail.U8(italic ? 1 : 0); // italic, underline, strike-out, character set
    tail.U8(0);
    tail.U8(0);
    tail.U8(0);
    for (int i = 0; i < 4; ++i) // precisions, quality, pitch and family
        tail.U8(0);
    QByteArray name = face.left(31);
    name.append('\0');
    tail.Bytes(name);
    Record(0x02FB, {height, 0, escapement, escapement, weight}, tail.Data());
    return Take();
}

void WmfWriter::Select(int object) {
    Record(0x012D, {object});
}

void WmfWriter::Delete(int object) {
    Record(0x01F0, {object});
    if (object >= 0 && std::size_t(object) < slots_.size())
        slots_[std::size_t(object)] = false;
}

void WmfWriter::SetWindowOrg(QPoint origin) {
    Record(0x020B, {origin.y(), origin.x()});
}
void WmfWriter::SetWindowExt(QSize extent) {
    Record(0x020C, {extent.height(), extent.width()});
}
void WmfWriter::OffsetWindowOrg(QPoint by) {
    Record(0x020F, {by.y(), by.x()});
}
void WmfWriter::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom) {
    Record(0x0410, {yDenom, yNum, xDenom, xNum});
}
void WmfWriter::SetMapMode(int mode) {
    Record(0x0103, {mode});
}
void WmfWriter::SetBkMode(bool opaque) {
    Record(0x0102, {opaque ? 2 : 1});
}
void WmfWriter::SetTextColour(QColor colour) {
    Record(0x0209, Colour(colour));
}
void WmfWriter::SetTextAlign(unsigned align) {
    Record(0x012E, {int(align)});
}
void WmfWriter::SetPolyFillMode(bool winding) {
    Record(0x0106, {winding ? 2 : 1});
}
void WmfWriter::SaveDc() {
    Record(0x001E, {});
}
void WmfWriter::RestoreDc(int which) {
    Record(0x0127, {which});
}
void WmfWriter::IntersectClip(QRect r) {
    Record(0x0416, {r.bottom() + 1, r.right() + 1, r.top(), r.left()});
}
void WmfWriter::MoveTo(QPoint p) {
    Record(0x0214, {p.y(), p.x()});
}
void WmfWriter::LineTo(QPoint p) {
    Record(0x0213, {p.y(), p.x()});
}
void WmfWriter::Rectangle(QRect r) {
    Record(0x041B, {r.bottom() + 1, r.right() + 1, r.top(), r.left()});
}
void WmfWriter::Ellipse(QRect r) {
    Record(0x0418, {r.bottom() + 1, r.right() + 1, r.top(), r.left()});
}
void WmfWriter::RoundRect(QRect r, int cornerWidth, int cornerHeight) {
    Record(0x061C, {cornerHeight, cornerWidth, r.bottom() + 1, r.right() + 1, r.top(), r.left()});
}

void WmfWriter::Arc(ArcKind kind, QRect box, QPoint start, QPoint end) {
    const unsigned function = kind == ArcKind::Arc   ? 0x0817
                              : kind == ArcKind::Pie ? 0x081A
                                                     : 0x0830;
    Record(function, {end.y(), end.x(), start.y(), start.x(), box.bottom() + 1, box.right() + 1,
                      box.top(), box.left()});
}

void WmfWriter::Polygon(const QPolygon& points) {
    std::vector<int> w{int(points.size())};
    for (const QPoint& p : points) {
        w.push_back(p.x());
        w.push_back(p.y());
    }
    Record(0x0324, w);
}

void WmfWriter::Polyline(const QPolygon& points) {
    std::vector<int> w{int(points.size())};
    for (const QPoint& p : points) {
        w.push_back(p.x());
        w.push_back(p.y());
    }
    Record(0x0325, w);
}

void WmfWriter::PolyPolygon(const std::vector<QPolygon>& polygons) {
    std::vector<int> w{int(polygons.size())};
    for (const QPolygon& p : polygons)
        w.push_back(int(p.size()));
    for (const QPolygon& polygon : polygons)
        for (const QPoint& p : polygon) {
            w.push_back(p.x());
            w.push_back(p.y());
        }
    Record(0x0538, w);
}

void WmfWriter::TextOut(QPoint at, const QByteArray& text) {
    QByteArray padded = text;
    if (padded.size() % 2)
        padded.append('\0');
    LeBytes tail;
    tail.Bytes(padded);
    tail.S16(at.y());
    tail.S16(at.x());
    Record(0x0521, {int(text.size())}, tail.Data());
}

void WmfWriter::StretchDib(QRect destination, const QImage& picture) {
    const std::uint32_t copy = 0x00CC0020;
    Record(0x0F43,
           {int(copy & 0xFFFF), int(copy >> 16), 0, picture.height(), picture.width(), 0, 0,
            destination.height(), destination.width(), destination.y(), destination.x()},
           PackedDib24(picture));
}

QByteArray WmfWriter::Finish() {
    Record(0x0000, {});
    LeBytes file;
    file.U32(0x9AC6CDD7u);
    file.U16(0);
    file.S16(box_.left());
    file.S16(box_.top());
    file.S16(box_.right() + 1);
    file.S16(box_.bottom() + 1);
    file.U16(unsigned(unitsPerInch_));
    file.U32(0);
    std::uint16_t sum = 0;
    const QByteArray& head = file.Data();
    for (int i = 0; i < 20; i += 2)
        sum ^= std::uint16_t(std::uint8_t(head[i]) | std::uint8_t(head[i + 1]) << 8);
    file.U16(sum);
    file.U16(1); // in a file
    file.U16(9);
    file.U16(0x0300);
    file.U32(std::uint32_t(9 + records_.Size() / 2));
    file.U16(unsigned(slots_.size()));
    file.U32(largest_);
    file.U16(0);
    file.Bytes(records_.Data());
    return file.Data();
}

} // namespace samples
