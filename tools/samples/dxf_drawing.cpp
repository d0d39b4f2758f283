// SPDX-License-Identifier: MIT
#include "tools/samples/dxf_drawing.h"

#include "tools/artwork/star_path.h"

#include <QPainterPath>
#include <QPolygonF>

#include <cmath>

namespace samples {

namespace {

class Dxf {
public:
    void Group(int code, const QByteArray& value) {
        text_ += QByteArray::number(code) + '\n' + value + '\n';
    }
    void Number(int code, double v) { Group(code, QByteArray::number(v, 'f', 3)); }
    void Entity(const char* type, int colour) {
        Group(0, type);
        Group(8, "ROSE");
        Group(62, QByteArray::number(colour));
    }
    void Point(int index, QPointF p) {
        Number(10 + index, p.x());
        Number(20 + index, p.y());
    }
    QByteArray text_;
};

} // namespace

QByteArray CompassRoseDrawing() {
    Dxf d;
    d.Group(0, "SECTION");
    d.Group(2, "ENTITIES");
    const QPointF centre(100, 100);
    for (double r : {90.0, 70.0}) {
        d.Entity("CIRCLE", 5);
        d.Point(0, centre);
        d.Number(40, r);
    }
    // The eight-pointed star, outline as a closed polyline (y grows upwards in a drawing).
    const QPolygonF star = artwork::StarPath(centre, 80, 22, 8).toFillPolygon();
    d.Entity("LWPOLYLINE", 1);
    d.Group(90, QByteArray::number(star.size()));
    d.Group(70, "1");
    for (const QPointF& p : star)
        d.Point(0, QPointF(p.x(), 200 - p.y()));
    // Arcs between the rings, one in each quarter.
    for (int q = 0; q < 4; ++q) {
        d.Entity("ARC", 3);
        d.Point(0, centre);
        d.Number(40, 80);
        d.Number(50, q * 90 + 20);
        d.Number(51, q * 90 + 70);
    }
    // Solid heads on the four main points and the letters beside them.
    const char* letters[] = {"N", "E", "S", "W"};
    for (int q = 0; q < 4; ++q) {
        const double a = M_PI / 2 - q * M_PI / 2;
        const QPointF tip = centre + QPointF(std::cos(a), std::sin(a)) * 92;
        const QPointF side(std::cos(a + M_PI / 2) * 6, std::sin(a + M_PI / 2) * 6);
        const QPointF base = centre + QPointF(std::cos(a), std::sin(a)) * 78;
        d.Entity("SOLID", 1);
        d.Point(0, tip);
        d.Point(1, base + side);
        d.Point(2, base - side);
        d.Entity("TEXT", 7);
        d.Point(0, centre + QPointF(std::cos(a), std::sin(a)) * 104 - QPointF(4, 5));
        d.Number(40, 10);
        d.Group(1, letters[q]);
    }
    d.Entity("LINE", 8);
    d.Point(0, centre - QPointF(70, 0));
    d.Point(1, centre + QPointF(70, 0));
    d.Entity("LINE", 8);
    d.Point(0, centre - QPointF(0, 70));
    d.Point(1, centre + QPointF(0, 70));
    d.Group(0, "ENDSEC");
    d.Group(0, "EOF");
    return d.text_;
}

} // namespace samples
