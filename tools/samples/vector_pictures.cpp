// SPDX-License-Identifier: MIT
#include "tools/samples/vector_pictures.h"

#include "tools/samples/emf_writer.h"
#include "tools/samples/wmf_writer.h"

#include <cmath>
#include <numbers>

namespace samples {

namespace {

// The points of a star with `points` tips around a centre.
QPolygon Star(QPoint centre, int outer, int inner, int points, double turn = 0) {
    QPolygon star;
    for (int i = 0; i < 2 * points; ++i) {
        const double a = turn + i * std::numbers::pi / points - std::numbers::pi / 2;
        const int r = i % 2 ? inner : outer;
        star << centre +
                    QPoint(int(std::lround(r * std::cos(a))), int(std::lround(r * std::sin(a))));
    }
    return star;
}

constexpr int PS_SOLID = 0, PS_NULL = 5, BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2;

} // namespace

QByteArray BalloonsMetafile() {
    WmfWriter w(QRect(0, 0, 320, 240), 96);
    w.SetWindowOrg({0, 0});
    w.SetWindowExt({320, 240});
    const int sky = w.CreateBrush(BS_SOLID, QColor(214, 236, 255));
    const int none = w.CreatePen(PS_NULL, 0, Qt::black);
    w.Select(sky);
    w.Select(none);
    w.Rectangle(QRect(0, 0, 320, 240));
    w.Delete(sky);
    const int string = w.CreatePen(PS_SOLID, 2, QColor(90, 90, 90));
    w.Select(string);
    const struct {
        QRect box;
        QColor colour;
    } balloons[] = {{QRect(40, 30, 70, 86), QColor(220, 40, 50)},
                    {QRect(125, 18, 70, 86), QColor(250, 190, 30)},
                    {QRect(210, 36, 70, 86), QColor(40, 110, 210)}};
    for (const auto& b : balloons) {
        const QPoint knot(b.box.center().x(), b.box.bottom() + 1);
        w.Polyline(QPolygon({knot, knot + QPoint(-6, 30), knot + QPoint(4, 60), QPoint(160, 200)}));
        const int brush = w.CreateBrush(BS_SOLID, b.colour);
        w.Select(brush);
        w.Ellipse(b.box);
        w.Polygon(QPolygon({knot + QPoint(-6, 8), knot, knot + QPoint(6, 8)}));
        w.Delete(brush);
        // A highlight on each balloon.
        const int shine = w.CreateBrush(BS_SOLID, b.colour.lighter(160));
        w.Select(shine);
        w.Ellipse(QRect(b.box.left() + 14, b.box.top() + 12, 14, 20));
        w.Delete(shine);
    }
    const int banner = w.CreateBrush(BS_SOLID, QColor(255, 250, 235));
    const int edge = w.CreatePen(PS_SOLID, 2, QColor(150, 60, 30));
    w.Select(banner);
    w.Select(edge);
    w.RoundRect(QRect(70, 196, 180, 34), 16, 16);
    const int font = w.CreateFont(-22, 700, false, "Liberation Sans");
    w.Select(font);
    w.SetBkMode(false);
    w.SetTextColour(QColor(150, 60, 30));
    w.SetTextAlign(6); // centred over the point
    w.TextOut(QPoint(160, 200), "Hooray!");
    return w.Finish();
}

QByteArray SunflowerMetafile() {
    WmfWriter w(QRect(0, 0, 1200, 1200), 600); // two inches square, in finer units
    w.SetWindowOrg({0, 0});
    w.SetWindowExt({1200, 1200});
    const int ground = w.CreateBrush(BS_SOLID, QColor(250, 246, 225));
    const int none = w.CreatePen(PS_NULL, 0, Qt::black);
    w.Select(ground);
    w.Select(none);
    w.Rectangle(QRect(0, 0, 1200, 1200));
    // The stem and two leaves, chords of ellipses cut flat near their lower edge.
    const int green = w.CreateBrush(BS_SOLID, QColor(60, 140, 50));
    w.Select(green);
    w.Rectangle(QRect(575, 600, 50, 600));
    w.Arc(WmfWriter::ArcKind::Chord, QRect(300, 780, 300, 140), QPoint(595, 868), QPoint(305, 868));
    w.Arc(WmfWriter::ArcKind::Chord, QRect(600, 880, 300, 140), QPoint(895, 968), QPoint(605, 968));
    // Petals: two rings of star points, the back one darker.
    const int back = w.CreateBrush(BS_SOLID, QColor(230, 160, 20));
    w.Select(back);
    w.Polygon(Star({600, 450}, 380, 170, 14, std::numbers::pi / 14));
    const int front = w.CreateBrush(BS_SOLID, QColor(255, 205, 40));
    w.Select(front);
    const int outline = w.CreatePen(PS_SOLID, 6, QColor(190, 120, 10));
    w.Select(outline);
    w.Polygon(Star({600, 450}, 330, 170, 14));
    // The seed head: a hatched disc, its lower part clipped off by a saved state.
    w.SaveDc();
    w.IntersectClip(QRect(300, 150, 600, 600));
    w.SetBkMode(true);
    const int seeds = w.CreateBrush(BS_HATCHED, QColor(60, 30, 10), 5);
    w.Select(seeds);
    w.Ellipse(QRect(440, 290, 320, 320));
    w.RestoreDc(-1);
    w.Delete(seeds);
    const int rim = w.CreatePen(PS_SOLID, 14, QColor(110, 60, 20));
    w.Select(rim);
    const int hollow = w.CreateBrush(BS_NULL, Qt::black);
    w.Select(hollow);
    w.Ellipse(QRect(440, 290, 320, 320));
    return w.Finish();
}

QByteArray TeapotDrawing() {
    EmfWriter w(QRect(0, 0, 320, 240));
    const int none = w.CreatePen(PS_NULL, 0, Qt::black);
    const int paper = w.CreateBrush(BS_SOLID, QColor(255, 252, 244));
    w.Select(none);
    w.Select(paper);
    w.Rectangle(QRect(0, 0, 320, 240));
    const int line = w.CreatePen(PS_SOLID, 4, QColor(40, 60, 110));
    const int body = w.CreateBrush(BS_SOLID, QColor(90, 150, 200));
    w.Select(line);
    w.Select(body);
    // The spout and the handle, as closed paths of curves.
    w.BeginPath();
    w.MoveTo({95, 150});
    w.PolyBezierTo(QPolygon({{60, 140}, {50, 100}, {30, 90}, {45, 85}, {75, 110}, {100, 125}}));
    w.CloseFigure();
    w.EndPath();
    w.StrokeAndFillPath();
    w.BeginPath();
    w.MoveTo({225, 120});
    w.PolyBezierTo(
        QPolygon({{290, 100}, {300, 190}, {220, 180}, {270, 170}, {270, 120}, {225, 135}}));
    w.CloseFigure();
    w.EndPath();
    w.StrokeAndFillPath();
    w.Ellipse(QRect(85, 95, 150, 110));
    const int lid = w.CreateBrush(BS_SOLID, QColor(60, 110, 170));
    w.Select(lid);
    w.RoundRect(QRect(120, 78, 80, 24), QSize(14, 14));
    w.Ellipse(QRect(150, 62, 20, 20));
    // Steam.
    const int steam = w.CreatePen(PS_SOLID, 3, QColor(160, 160, 170));
    w.Select(steam);
    w.PolyBezier(QPolygon({{150, 55}, {140, 40}, {165, 30}, {150, 12}}));
    w.PolyBezier(QPolygon({{172, 55}, {162, 40}, {187, 30}, {172, 12}}));
    const int font = w.CreateFont(-20, 700, true, QStringLiteral("Liberation Serif"));
    w.Select(font);
    w.SetBkMode(false);
    w.SetTextColour(QColor(40, 60, 110));
    w.SetTextAlign(6);
    w.TextOut({160, 208}, QStringLiteral("Tea time"));
    return w.Finish();
}

QByteArray StarburstDrawing() {
    EmfWriter w(QRect(0, 0, 240, 240));
    const int frame = w.CreatePen(PS_SOLID, 6, QColor(120, 20, 80));
    const int ground = w.CreateBrush(BS_SOLID, QColor(255, 240, 250));
    w.Select(frame);
    w.Select(ground);
    w.RoundRect(QRect(6, 6, 228, 228), QSize(40, 40));
    const int none = w.CreatePen(PS_NULL, 0, Qt::black);
    w.Select(none);
    // Rays: every other slice of a circle.
    for (int i = 0; i < 12; i += 2) {
        const int ray =
            w.CreateBrush(BS_SOLID, i % 4 ? QColor(255, 150, 60) : QColor(250, 90, 120));
        w.Select(ray);
        auto at = [](int k) {
            const double a = k * std::numbers::pi / 6;
            return QPoint(120 + int(std::lround(200 * std::cos(a))),
                          120 - int(std::lround(200 * std::sin(a))));
        };
        w.Pie(QRect(20, 20, 200, 200), at(i), at(i + 1));
        w.Delete(ray);
    }
    const int star = w.CreateBrush(BS_SOLID, QColor(255, 215, 0));
    const int rim = w.CreatePen(PS_SOLID, 3, QColor(180, 120, 0));
    w.Select(star);
    w.Select(rim);
    w.SetPolyFillMode(true);
    w.Polygon(Star({120, 120}, 80, 34, 5));
    return w.Finish();
}

} // namespace samples
