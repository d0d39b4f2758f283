// SPDX-License-Identifier: MIT
#include "engines/crde2000/dxf.h"

#include "engines/crde2000/stroke_font.h"
#include "engines/shared/codes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

namespace crde {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kMargin = 2;

struct Point {
    double x = 0, y = 0;
};

// One entity: its type and the group values the drawing uses.
struct Entity {
    std::string_view type;
    std::vector<Point> points; // 10/20 pairs in order (LWPOLYLINE has many)
    Point p[4];                // 10..13 / 20..23
    bool has[4] = {};
    double radius = 0, height = 1, start = 0, end = 360, rotation = 0;
    int colour = 7;
    int flags = 0;
    std::string_view text;
};

// Reads group code / value pairs, line by line.
class Groups {
public:
    Groups(const std::uint8_t* data, std::size_t size)
        : text_(reinterpret_cast<const char*>(data), size) {}
    bool Next(int* code, std::string_view* value) {
        std::string_view codeLine;
        if (!Line(&codeLine) || !Line(value))
            return false;
        codeLine = Trim(codeLine);
        int c = 0;
        const auto r = std::from_chars(codeLine.data(), codeLine.data() + codeLine.size(), c);
        if (r.ec != std::errc())
            return false;
        *code = c;
        *value = Trim(*value);
        return true;
    }

private:
    static std::string_view Trim(std::string_view s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
            s.remove_prefix(1);
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
            s.remove_suffix(1);
        return s;
    }
    bool Line(std::string_view* out) {
        if (at_ >= text_.size())
            return false;
        const std::size_t end = text_.find('\n', at_);
        const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
        *out = text_.substr(at_, stop - at_);
        at_ = stop + 1;
        return true;
    }
    std::string_view text_;
    std::size_t at_ = 0;
};

double Number(std::string_view v) {
    double d = 0;
    const auto r = std::from_chars(v.data(), v.data() + v.size(), d);
    return r.ec == std::errc() && std::isfinite(d) && std::fabs(d) < 1e12 ? d : 0;
}

// Colour numbers and flags are 16-bit integers; a wilder value is clamped, not wrapped.
int Integer(std::string_view v) {
    return static_cast<int>(std::clamp(Number(v), -32768.0, 32767.0));
}

// Every entity of the ENTITIES section, in order. `closed` tells whether that section ended
// with its ENDSEC: a drawing cut short inside it lacks one.
std::vector<Entity> Entities(const std::uint8_t* data, std::size_t size, bool* closed = nullptr) {
    Groups groups(data, size);
    std::vector<Entity> out;
    bool sawEntities = false, ended = false;
    int code;
    std::string_view value;
    bool inEntities = false, sectionName = false;
    Entity* current = nullptr;
    while (groups.Next(&code, &value)) {
        if (code == 0) {
            current = nullptr;
            if (value == "SECTION") {
                sectionName = true;
            } else if (value == "ENDSEC") {
                ended = ended || inEntities;
                inEntities = false;
            } else if (inEntities && value != "SEQEND") {
                out.emplace_back();
                out.back().type = value;
                current = &out.back();
            }
            continue;
        }
        if (code == 2 && sectionName) {
            inEntities = value == "ENTITIES";
            sawEntities = sawEntities || inEntities;
            sectionName = false;
            continue;
        }
        if (!current)
            continue;
        if (code >= 10 && code <= 13) {
            current->p[code - 10].x = Number(value);
            current->has[code - 10] = true;
            if (code == 10)
                current->points.push_back({Number(value), 0});
        } else if (code >= 20 && code <= 23) {
            current->p[code - 20].y = Number(value);
            if (code == 20 && !current->points.empty())
                current->points.back().y = Number(value);
        } else if (code == 40) {
            current->radius = current->height = std::fabs(Number(value));
        } else if (code == 50) {
            current->start = current->rotation = Number(value);
        } else if (code == 51) {
            current->end = Number(value);
        } else if (code == 62) {
            current->colour = Integer(value);
        } else if (code == 70) {
            current->flags = Integer(value);
        } else if (code == 1) {
            current->text = value;
        }
    }
    if (closed)
        *closed = !sawEntities || ended;
    return out;
}

// Old-style polylines: POLYLINE then VERTEX entities; folded into one entity each.
std::vector<Entity> Fold(std::vector<Entity> in) {
    std::vector<Entity> out;
    for (Entity& e : in) {
        if (e.type == "VERTEX" && !out.empty() && out.back().type == "POLYLINE") {
            out.back().points.push_back(e.p[0]);
            continue;
        }
        if (e.type == "POLYLINE")
            e.points.clear();
        out.push_back(std::move(e));
    }
    return out;
}

// `times`: the scale the shapes are drawn at against the natural raster; arcs get finer
// steps as they grow, so their chords stay within a tenth of a pixel of the curve.
template <class Visit>
void Shapes(const std::vector<Entity>& entities, Visit visit, double times = 1) {
    for (const Entity& e : entities) {
        if (e.type == "LINE") {
            visit(e, std::vector<Point>{e.p[0], e.p[1]}, false);
        } else if (e.type == "CIRCLE" || e.type == "ARC") {
            const bool circle = e.type == "CIRCLE";
            double a0 = circle ? 0 : e.start, a1 = circle ? 360 : e.end;
            if (!std::isfinite(a0) || !std::isfinite(a1) || std::fabs(a0) > 1e6 ||
                std::fabs(a1) > 1e6)
                continue;
            while (a1 <= a0)
                a1 += 360;
            const double fine = std::sqrt(times);
            const int steps =
                std::clamp(static_cast<int>((a1 - a0) / 3 * fine), 4, static_cast<int>(240 * fine));
            std::vector<Point> pts;
            for (int i = 0; i <= steps; ++i) {
                const double a = (a0 + (a1 - a0) * i / steps) * kPi / 180;
                pts.push_back(
                    {e.p[0].x + e.radius * std::cos(a), e.p[0].y + e.radius * std::sin(a)});
            }
            visit(e, pts, false);
        } else if (e.type == "LWPOLYLINE" || e.type == "POLYLINE") {
            std::vector<Point> pts = e.points;
            if ((e.flags & 1) && !pts.empty())
                pts.push_back(pts.front());
            visit(e, pts, false);
        } else if (e.type == "SOLID" || e.type == "TRACE") {
            // Corners 1, 2, 4, 3 go round the outline; a missing fourth repeats the third.
            const Point d = e.has[3] ? e.p[3] : e.p[2];
            visit(e, std::vector<Point>{e.p[0], e.p[1], d, e.p[2]}, true);
        } else if (e.type == "TEXT" || e.type == "MTEXT") {
            const double scale = e.height / kGlyphHeight;
            const double angle = e.rotation * kPi / 180;
            const double c = std::cos(angle), s = std::sin(angle);
            double pen = 0;
            for (char ch : e.text.substr(0, 1000)) {
                StrokeGlyph(ch, [&](double x0, double y0, double x1, double y1) {
                    auto place = [&](double gx, double gy) {
                        const double ux = (pen + gx) * scale, uy = gy * scale;
                        return Point{e.p[0].x + ux * c - uy * s, e.p[0].y + ux * s + uy * c};
                    };
                    visit(e, std::vector<Point>{place(x0, y0), place(x1, y1)}, false);
                });
                pen += kGlyphAdvance;
            }
        }
    }
}

struct Extents {
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    bool Empty() const { return minX > maxX; }
};

Extents Measure(const std::vector<Entity>& entities) {
    Extents box;
    Shapes(entities, [&](const Entity&, const std::vector<Point>& pts, bool) {
        for (const Point& p : pts) {
            box.minX = std::min(box.minX, p.x);
            box.maxX = std::max(box.maxX, p.x);
            box.minY = std::min(box.minY, p.y);
            box.maxY = std::max(box.maxY, p.y);
        }
    });
    return box;
}

// The raster of a drawing at `times` its natural size: the natural raster's pixel grid made
// `times` finer (margin included), so a pixel of the natural raster covers `times` of these.
struct Raster {
    std::int64_t width = 0, height = 0;
    double scale = 1, margin = kMargin;
};

Raster RasterSize(const Extents& box, double times = 1) {
    const double dx = box.maxX - box.minX, dy = box.maxY - box.minY;
    const double longest = std::max(dx, dy);
    Raster r;
    // A margin of kMargin pixels keeps strokes on the edge of the drawing whole.
    const double natural = longest > 0 ? (kDxfLongSide - 1 - 2 * kMargin) / longest : 1;
    r.width = std::llround((std::llround(dx * natural) + 1 + 2 * kMargin) * times);
    r.height = std::llround((std::llround(dy * natural) + 1 + 2 * kMargin) * times);
    r.scale = natural * times;
    r.margin = kMargin * times;
    return r;
}

// The drawing colours by their colour numbers; 7 (white in the editor) is drawn black.
void StandardColour(int i, std::uint8_t* rgb) {
    static const std::uint8_t base[10][3] = {
        {0, 0, 0},   {255, 0, 0},   {255, 255, 0}, {0, 255, 0},     {0, 255, 255},
        {0, 0, 255}, {255, 0, 255}, {0, 0, 0},     {128, 128, 128}, {192, 192, 192}};
    if (i < 10) {
        std::memcpy(rgb, base[i], 3);
        return;
    }
    const auto v = static_cast<std::uint8_t>(i);
    rgb[0] = rgb[1] = rgb[2] = v;
}

} // namespace

bool IsDxf(const std::uint8_t* data, std::size_t size) {
    if (!data || size < 8)
        return false;
    const std::string_view head(reinterpret_cast<const char*>(data),
                                std::min<std::size_t>(size, 45));
    return head.find("SECTION") != std::string_view::npos;
}

std::int16_t DxfSize(const std::uint8_t* data, std::size_t size, DxfInfo* info) {
    if (!IsDxf(data, size))
        return kErrNotThisFormat;
    const Extents box = Measure(Fold(Entities(data, size)));
    if (box.Empty())
        return kErrBadHeader;
    const Raster raster = RasterSize(box);
    info->width = raster.width;
    info->height = raster.height;
    return kOk;
}

std::int16_t ReadDxf(const std::uint8_t* data, std::size_t size, HGLOBAL* dib) {
    return ReadDxfAt(data, size, 1, dib);
}

std::int16_t ReadDxfAt(const std::uint8_t* data, std::size_t size, double times, HGLOBAL* dib) {
    *dib = nullptr;
    if (!std::isfinite(times) || times < 1 || times > kMaxRenderTimes)
        return kErrBadArgument;
    if (!IsDxf(data, size))
        return kErrNotThisFormat;
    bool closed = false;
    const std::vector<Entity> entities = Fold(Entities(data, size, &closed));
    if (!closed)
        return kErrTruncated;
    const Extents box = Measure(entities);
    if (box.Empty())
        return kErrBadHeader;
    const Raster raster = RasterSize(box, times);
    const std::int64_t w = raster.width, h = raster.height;
    const double scale = raster.scale;
    if (std::uint64_t(w) * std::uint64_t(h) > kMaxPixels)
        return kErrTooLarge;
    NewDib out;
    if (std::int16_t code = out.Create(w, h, 8, 256); code != kOk)
        return code;
    for (int i = 0; i < 256; ++i) {
        std::uint8_t rgb[3];
        StandardColour(i, rgb);
        out.SetColour(i, rgb[0], rgb[1], rgb[2]);
    }
    constexpr std::uint8_t kWhite = 255;
    for (std::int64_t y = 0; y < h; ++y)
        std::memset(out.Row(y), kWhite, static_cast<std::size_t>(w));
    auto plot = [&](std::int64_t x, std::int64_t y, std::uint8_t c) {
        if (x >= 0 && y >= 0 && x < w && y < h)
            out.Row(y)[x] = c;
    };
    auto toPixel = [&](const Point& p) {
        return Point{(p.x - box.minX) * scale + raster.margin,
                     (box.maxY - p.y) * scale + raster.margin};
    };
    Shapes(
        entities,
        [&](const Entity& e, const std::vector<Point>& world, bool filled) {
            const auto colour = static_cast<std::uint8_t>(std::clamp(std::abs(e.colour), 1, 254));
            std::vector<Point> pts;
            for (const Point& p : world)
                pts.push_back(toPixel(p));
            for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
                const double dx = pts[i + 1].x - pts[i].x, dy = pts[i + 1].y - pts[i].y;
                const int steps =
                    static_cast<int>(std::min(32768.0, std::max(std::fabs(dx), std::fabs(dy)))) + 1;
                for (int s = 0; s <= steps; ++s)
                    plot(std::llround(pts[i].x + dx * s / steps),
                         std::llround(pts[i].y + dy * s / steps), colour);
            }
            if (!filled || pts.size() < 3)
                return;
            // Even-odd scan fill of the outline.
            double top = pts[0].y, bottom = pts[0].y;
            for (const Point& p : pts) {
                top = std::min(top, p.y);
                bottom = std::max(bottom, p.y);
            }
            for (std::int64_t y = std::max<std::int64_t>(0, std::llround(top));
                 y <= std::min<std::int64_t>(h - 1, std::llround(bottom)); ++y) {
                std::vector<double> xs;
                for (std::size_t i = 0; i < pts.size(); ++i) {
                    const Point& a = pts[i];
                    const Point& b = pts[(i + 1) % pts.size()];
                    if ((a.y <= y && b.y > y) || (b.y <= y && a.y > y))
                        xs.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
                }
                std::sort(xs.begin(), xs.end());
                for (std::size_t i = 0; i + 1 < xs.size(); i += 2)
                    for (std::int64_t x = std::llround(xs[i]); x <= std::llround(xs[i + 1]); ++x)
                        plot(x, y, colour);
            }
        },
        times);
    *dib = out.Release();
    return kOk;
}

std::int16_t DxfFacts(const Reader& in, StreamFacts* f) {

    DxfInfo d;
    if (std::int16_t code = DxfSize(in.Here(), in.Size(), &d); code != kOk)
        return code;
    f->width = d.width;
    f->height = d.height;
    f->bits = 8;
    f->compression = "DXF";
    return kOk;
}

} // namespace crde
