// SPDX-License-Identifier: MIT
#include "tools/samples/emf_writer.h"

namespace samples {

namespace {

// The reference device: its pixels and its size in millimetres.
constexpr int kDeviceX = 1024, kDeviceY = 768, kMillimetresX = 320, kMillimetresY = 240;

std::uint32_t ColourRef(QColor c) {
    return std::uint32_t(c.red()) | std::uint32_t(c.green()) << 8 | std::uint32_t(c.blue()) << 16;
}

} // namespace

EmfWriter::EmfWriter(QRect frame)
    : frame_(frame) {}

void EmfWriter::Begin(std::uint32_t type) {
    recordStart_ = records_.Size();
    records_.U32(type);
    records_.U32(0); // the size, set by End
}

void EmfWriter::End() {
    records_.Patch32(recordStart_ + 4, std::uint32_t(records_.Size() - recordStart_));
    ++count_;
}

void EmfWriter::Bounds(const QPolygon& points) {
    const QRect r = points.boundingRect();
    records_.S32(r.left());
    records_.S32(r.top());
    records_.S32(r.right());
    records_.S32(r.bottom());
}

int EmfWriter::CreatePen(int style, int width, QColor colour) {
    const int handle = ++handles_;
    Begin(38);
    records_.U32(std::uint32_t(handle));
    records_.U32(std::uint32_t(style));
    records_.S32(width);
    records_.S32(0);
    records_.U32(ColourRef(colour));
    End();
    return handle;
}

int EmfWriter::CreateBrush(int style, QColor colour, int hatch) {
    const int handle = ++handles_;
    Begin(39);
    records_.U32(std::uint32_t(handle));
    records_.U32(std::uint32_t(style));
    records_.U32(ColourRef(colour));
    records_.U32(std::uint32_t(hatch));
    End();
    return handle;
}

int EmfWriter::CreateFont(int height, int weight, bool italic, const QString& face) {
    const int handle = ++handles_;
    Begin(82);
    records_.U32(std::uint32_t(handle));
    records_.S32(height);
    records_.S32(0); // width, escapement, orientation
    records_.S32(0);
    records_.S32(0);
    records_.S32(weight);
    records_.U8(italic ? 1 : 0);
    for (int i = 0; i < 7; ++i) // underline, strike-out, character set, precisions, ...
        records_.U8(0);
    for (int i = 0; i < 32; ++i)
        records_.U16(i < face.size() ? face[i].unicode() : 0);
    End();
    return handle;
}

void EmfWriter::Select(int handle) {
    Begin(37);
    records_.U32(std::uint32_t(handle));
    End();
}

void EmfWriter::SelectStock(int stock) {
    Begin(37);
    records_.U32(0x80000000u | std::uint32_t(stock));
    End();
}

void EmfWriter::Delete(int handle) {
    Begin(40);
    records_.U32(std::uint32_t(handle));
    End();
}

void EmfWriter::SetBkMode(bool opaque) {
    Begin(18);
    records_.U32(opaque ? 2 : 1);
    End();
}

void EmfWriter::SetTextColour(QColor colour) {
    Begin(24);
    records_.U32(ColourRef(colour));
    End();
}

void EmfWriter::SetTextAlign(unsigned align) {
    Begin(22);
    records_.U32(align);
    End();
}

void EmfWriter::SetPolyFillMode(bool winding) {
    Begin(19);
    records_.U32(winding ? 2 : 1);
    End();
}

void EmfWriter::Rectangle(QRect r) {
    Begin(43);
    Bounds(QPolygon(r));
    End();
}

void EmfWriter::Ellipse(QRect r) {
    Begin(42);
    Bounds(QPolygon(r));
    End();
}

void EmfWriter::RoundRect(QRect r, QSize corner) {
    Begin(44);
    Bounds(QPolygon(r));
    records_.S32(corner.width());
    records_.S32(corner.height());
    End();
}

void EmfWriter::Pie(QRect box, QPoint start, QPoint end) {
    Begin(47);
    Bounds(QPolygon(box));
    records_.S32(start.x());
    records_.S32(start.y());
    records_.S32(end.x());
    records_.S32(end.y());
    End();
}

void EmfWriter::Poly16(std::uint32_t type, const QPolygon& points) {
    Begin(type);
    Bounds(points);
    records_.U32(std::uint32_t(points.size()));
    for (const QPoint& p : points) {
        records_.S16(p.x());
        records_.S16(p.y());
    }
    End();
}

void EmfWriter::Polygon(const QPolygon& points) {
    Poly16(86, points);
}
void EmfWriter::Polyline(const QPolygon& points) {
    Poly16(87, points);
}
void EmfWriter::PolyBezier(const QPolygon& points) {
    Poly16(85, points);
}
void EmfWriter::PolyBezierTo(const QPolygon& points) {
    Poly16(88, points);
}

void EmfWriter::BeginPath() {
    Begin(59);
    End();
}
void EmfWriter::EndPath() {
    Begin(60);
    End();
}
void EmfWriter::CloseFigure() {
    Begin(61);
    End();
}

void EmfWriter::FillPath() {
    Begin(62);
    Bounds(QPolygon(frame_));
    End();
}

void EmfWriter::StrokeAndFillPath() {
    Begin(63);
    Bounds(QPolygon(frame_));
    End();
}

void EmfWriter::MoveTo(QPoint p) {
    Begin(27);
    records_.S32(p.x());
    records_.S32(p.y());
    End();
}

void EmfWriter::LineTo(QPoint p) {
    Begin(54);
    records_.S32(p.x());
    records_.S32(p.y());
    End();
}

void EmfWriter::TextOut(QPoint at, const QString& text) {
    Begin(84);
    Bounds(QPolygon(QRect(at, QSize(1, 1))));
    records_.U32(1);           // advanced graphics mode
    records_.U32(0x3F800000u); // x and y scale 1.0
    records_.U32(0x3F800000u);
    records_.S32(at.x()); // the reference point
    records_.S32(at.y());
    records_.U32(std::uint32_t(text.size())); // characters
    records_.U32(76);                         // where the text starts
    records_.U32(0);                          // options
    for (int i = 0; i < 4; ++i)               // no rectangle
        records_.S32(0);
    records_.U32(0); // no advances
    for (QChar c : text)
        records_.U16(c.unicode());
    if (text.size() % 2)
        records_.U16(0);
    End();
}

QByteArray EmfWriter::Finish() {
    Begin(14); // the end: no palette
    records_.U32(0);
    records_.U32(16);
    records_.U32(20);
    End();

    LeBytes file;
    file.U32(1);
    file.U32(88);
    // Bounds in device pixels and the frame in hundredths of a millimetre (inclusive).
    file.S32(frame_.left());
    file.S32(frame_.top());
    file.S32(frame_.right());
    file.S32(frame_.bottom());
    auto hundredths = [](int pixels, int mm, int device) { return pixels * mm * 100 / device; };
    file.S32(hundredths(frame_.left(), kMillimetresX, kDeviceX));
    file.S32(hundredths(frame_.top(), kMillimetresY, kDeviceY));
    file.S32(hundredths(frame_.right() + 1, kMillimetresX, kDeviceX));
    file.S32(hundredths(frame_.bottom() + 1, kMillimetresY, kDeviceY));
    file.U32(0x464D4520u);
    file.U32(0x10000u);
    file.U32(std::uint32_t(88 + records_.Size()));
    file.U32(count_ + 1);
    file.U16(unsigned(handles_ + 1));
    file.U16(0);
    file.U32(0); // no description
    file.U32(0);
    file.U32(0); // no palette
    file.S32(kDeviceX);
    file.S32(kDeviceY);
    file.S32(kMillimetresX);
    file.S32(kMillimetresY);
    file.Bytes(records_.Data());
    return file.Data();
}

} // namespace samples
