// SPDX-License-Identifier: MIT
#include "engines/crde2000/annotation_layer.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

namespace crde {

namespace {

constexpr std::uint32_t kMouseMove = 512, kLeftDown = 513, kLeftUp = 514, kRightDown = 516;
constexpr std::uint32_t kObjectClicked = 1537;
// How near, in window pixels, a click must come to an object to hit it.
constexpr int kHitSlack = 3;
// Coordinates are kept well inside 32 bits whatever the mouse or zoom says.
constexpr int kCoordinateLimit = 1 << 24;

int Clamp(double v) {
    return int(std::clamp(v, double(-kCoordinateLimit), double(kCoordinateLimit)));
}

const char* KindName(AnnoKind kind) {
    switch (kind) {
    case AnnoKind::Rectangle:
        return "Rectangle";
    case AnnoKind::Highlight:
        return "Highlight";
    case AnnoKind::Ellipse:
        return "Ellipse";
    case AnnoKind::Line:
        return "Line";
    case AnnoKind::Arrow:
        return "Arrow";
    case AnnoKind::Freehand:
        return "Freehand";
    case AnnoKind::Text:
        return "Text";
    }
    return "Annotation";
}

std::map<void*, std::unique_ptr<AnnotationLayer>>& Layers() {
    static std::map<void*, std::unique_ptr<AnnotationLayer>> layers;
    return layers;
}

} // namespace

void AnnoObject::Bounds(int& left, int& top, int& right, int& bottom) const {
    if (points.empty()) {
        left = top = right = bottom = 0;
        return;
    }
    left = right = points[0].x;
    top = bottom = points[0].y;
    for (const AnnoPoint& p : points) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    if (kind == AnnoKind::Text) {
        right = left + int(text.size()) * fontSize * 3 / 5;
        bottom = top + fontSize * 6 / 5;
    }
}

int AnnotationLayer::View::X(int px) const {
    return Clamp(std::floor((px - originX) * zoom + 0.5)) + offsetX;
}
int AnnotationLayer::View::Y(int py) const {
    return Clamp(std::floor((py - originY) * zoom + 0.5)) + offsetY;
}
AnnoPoint AnnotationLayer::View::ToPicture(int x, int y) const {
    return {Clamp(std::floor((x - offsetX) / zoom + originX)),
            Clamp(std::floor((y - offsetY) / zoom + originY))};
}

AnnotationLayer::AnnotationLayer(void* control, void* window, const CrdeAnnoCallbacks& callbacks,
                                 AnnotationSettings settings)
    : control_(control)
    , window_(window)
    , callbacks_(callbacks)
    , settings_(std::move(settings)) {}

void AnnotationLayer::DrawObject(const AnnoObject& o, const View& view, CrdeAnnoCanvas* canvas,
                                 int passCode, bool own) {
    if (own && callbacks_.before_draw) {
        std::int16_t canDraw = 1;
        callbacks_.before_draw(control_, passCode, &canDraw, o.name.c_str());
        if (!canDraw)
            return;
    }
    const int width = std::max(1, int(std::lround(o.width * view.zoom)));
    auto point = [&](const AnnoPoint& p) { return AnnoPoint{view.X(p.x), view.Y(p.y)}; };
    switch (o.kind) {
    case AnnoKind::Rectangle:
    case AnnoKind::Highlight:
    case AnnoKind::Ellipse:
        if (canvas->shape && o.points.size() >= 2) {
            const AnnoPoint a = point(o.points[0]), b = point(o.points[1]);
            canvas->shape(canvas->context, o.kind == AnnoKind::Ellipse ? 1 : 0, std::min(a.x, b.x),
                          std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y), o.colour,
                          width, o.kind == AnnoKind::Highlight ? 2 : 0);
        }
        break;
    case AnnoKind::Line:
    case AnnoKind::Arrow:
    case AnnoKind::Freehand:
        if (canvas->polyline && !o.points.empty()) {
            std::vector<std::int32_t> xy;
            xy.reserve(o.points.size() * 2);
            for (const AnnoPoint& p : o.points) {
                const AnnoPoint s = point(p);
                xy.push_back(s.x);
                xy.push_back(s.y);
            }
            canvas->polyline(canvas->context, xy.data(), std::int32_t(o.points.size()), 0, o.colour,
                             width);
            if (o.kind == AnnoKind::Arrow && o.points.size() >= 2) {
                // Two strokes back from the tip, 30 degrees either side of the shaft.
                const AnnoPoint from = point(o.points[0]), tip = point(o.points.back());
                const double angle = std::atan2(double(from.y - tip.y), double(from.x - tip.x));
                const double length = 4.0 * width + 6;
                for (double side : {-0.5236, 0.5236}) {
                    const std::int32_t head[4] = {tip.x, tip.y,
                                                  Clamp(tip.x + length * std::cos(angle + side)),
                                                  Clamp(tip.y + length * std::sin(angle + side))};
                    canvas->polyline(canvas->context, head, 2, 0, o.colour, width);
                }
            }
        }
        break;
    case AnnoKind::Text:
        if (canvas->text && !o.points.empty()) {
            const AnnoPoint at = point(o.points[0]);
            canvas->text(canvas->context, at.x, at.y, o.text.c_str(), o.font.c_str(),
                         std::max(1, int(std::lround(o.fontSize * view.zoom))), o.colour);
        }
        break;
    }
    if (own && callbacks_.after_draw)
        callbacks_.after_draw(control_, o.name.c_str());
}

void AnnotationLayer::Draw(double zoom, int originX, int originY, int offsetX, int offsetY,
                           CrdeAnnoCanvas* canvas) {
    if (!(zoom > 0) || !std::isfinite(zoom))
        zoom = 1;
    view_ = View{zoom, originX, originY, offsetX, offsetY};
    if (!canvas)
        return;
    for (const AnnoObject& o : objects_)
        DrawObject(o, view_, canvas, 0, true);
    if (drawing_)
        DrawObject(*drawing_, view_, canvas, 0, false);
    if (const AnnoObject* s = Selected(); s && canvas->focus) {
        int l, t, r, b;
        s->Bounds(l, t, r, b);
        const int pad = s->width / 2 + 2;
        canvas->focus(canvas->context, view_.X(l - pad), view_.Y(t - pad), view_.X(r + pad),
                      view_.Y(b + pad));
    }
}

void AnnotationLayer::HardDraw(CrdeAnnoCanvas* canvas) {
    if (!canvas)
        return;
    const View identity;
    for (const AnnoObject& o : objects_)
        DrawObject(o, identity, canvas, 1, true);
}

AnnoObject* AnnotationLayer::Selected() {
    for (AnnoObject& o : objects_)
        if (o.id == selected_)
            return &o;
    return nullptr;
}

int AnnotationLayer::HitTest(AnnoPoint p) const {
    const int slack = std::max(1, int(std::ceil(kHitSlack / view_.zoom)));
    for (auto it = objects_.rbegin(); it != objects_.rend(); ++it) {
        int l, t, r, b;
        it->Bounds(l, t, r, b);
        const int pad = slack + it->width / 2;
        if (p.x >= l - pad && p.x <= r + pad && p.y >= t - pad && p.y <= b + pad)
            return it->id;
    }
    return 0;
}

AnnoObject AnnotationLayer::NewObject(AnnoKind kind, AnnoPoint at) const {
    AnnoObject o;
    o.kind = kind;
    o.points = {at};
    if (kind != AnnoKind::Freehand && kind != AnnoKind::Text)
        o.points.push_back(at);
    o.colour = kind == AnnoKind::Highlight ? settings_.highlightColour
               : kind == AnnoKind::Text    ? settings_.textColour
                                           : settings_.lineColour;
    o.width = settings_.lineWidth;
    o.font = settings_.fontName;
    o.fontSize = settings_.fontSize;
    return o;
}

void AnnotationLayer::Done() {
    if (callbacks_.done)
        callbacks_.done(control_);
}

void AnnotationLayer::Invalidate() {
    if (callbacks_.invalidate)
        callbacks_.invalidate(window_);
}

void AnnotationLayer::Mouse(std::uint32_t message, int x, int y) {
    const AnnoPoint p = view_.ToPicture(x, y);
    switch (message) {
    case kLeftDown: {
        if (tool_ == CRDE_ANNO_SELECT) {
            selected_ = HitTest(p);
            if (callbacks_.post_message)
                callbacks_.post_message(window_, kObjectClicked, selected_ ? 1 : 0, selected_);
            moving_ = selected_ != 0;
            last_ = p;
            Invalidate();
            return;
        }
        if (tool_ == CRDE_ANNO_TEXT) {
            char buffer[512] = {};
            if (callbacks_.ask_text &&
                callbacks_.ask_text(window_, buffer, std::int32_t(sizeof(buffer))) > 0 &&
                buffer[0]) {
                buffer[sizeof(buffer) - 1] = 0;
                AnnoObject o = NewObject(AnnoKind::Text, p);
                o.text = buffer;
                o.id = nextId_++;
                o.name = std::string(KindName(o.kind)) + " " + std::to_string(o.id);
                objects_.push_back(std::move(o));
                Done();
                Invalidate();
            }
            return;
        }
        const AnnoKind kind = static_cast<AnnoKind>(tool_ - CRDE_ANNO_RECTANGLE);
        drawing_ = NewObject(kind, p);
        Invalidate();
        return;
    }
    case kMouseMove:
        if (moving_) {
            if (AnnoObject* s = Selected()) {
                for (AnnoPoint& q : s->points) {
                    q.x = Clamp(double(q.x) + p.x - last_.x);
                    q.y = Clamp(double(q.y) + p.y - last_.y);
                }
                last_ = p;
                Invalidate();
            }
        } else if (drawing_) {
            if (drawing_->kind == AnnoKind::Freehand) {
                const AnnoPoint& end = drawing_->points.back();
                if ((end.x != p.x || end.y != p.y) && drawing_->points.size() < 100000)
                    drawing_->points.push_back(p);
            } else {
                drawing_->points[1] = p;
            }
            Invalidate();
        }
        return;
    case kLeftUp:
        if (moving_) {
            moving_ = false;
            Done();
            return;
        }
        if (drawing_) {
            AnnoObject o = std::move(*drawing_);
            drawing_.reset();
            if (o.kind != AnnoKind::Freehand)
                o.points[1] = p;
            int l, t, r, b;
            o.Bounds(l, t, r, b);
            // A click without a drag makes nothing.
            if (r - l >= 2 || b - t >= 2) {
                o.id = nextId_++;
                o.name = std::string(KindName(o.kind)) + " " + std::to_string(o.id);
                objects_.push_back(std::move(o));
                Done();
            }
            Invalidate();
        }
        return;
    case kRightDown: {
        if (!callbacks_.menu)
            return;
        selected_ = HitTest(p) ? HitTest(p) : selected_;
        const CrdeAnnoMenuItem items[] = {
            {CRDE_ANNO_SELECT, "&Select and move", tool_ == CRDE_ANNO_SELECT},
            {CRDE_ANNO_RECTANGLE, "&Rectangle", tool_ == CRDE_ANNO_RECTANGLE},
            {CRDE_ANNO_HIGHLIGHT, "&Highlighter", tool_ == CRDE_ANNO_HIGHLIGHT},
            {CRDE_ANNO_ELLIPSE, "&Ellipse", tool_ == CRDE_ANNO_ELLIPSE},
            {CRDE_ANNO_LINE, "&Line", tool_ == CRDE_ANNO_LINE},
            {CRDE_ANNO_ARROW, "&Arrow", tool_ == CRDE_ANNO_ARROW},
            {CRDE_ANNO_FREEHAND, "&Freehand", tool_ == CRDE_ANNO_FREEHAND},
            {CRDE_ANNO_TEXT, "&Text", tool_ == CRDE_ANNO_TEXT},
            {0, nullptr, 0},
            {CRDE_ANNO_DELETE, "&Delete", 0},
            {CRDE_ANNO_DELETE_ALL, "Delete &all", 0},
        };
        if (const int id = callbacks_.menu(window_, x, y, items, 11))
            Command(id);
        return;
    }
    default:
        return;
    }
}

void AnnotationLayer::Command(int id) {
    if (id >= CRDE_ANNO_SELECT && id <= CRDE_ANNO_TEXT) {
        RubberBandOff();
        tool_ = id;
        return;
    }
    if (id == CRDE_ANNO_DELETE) {
        if (RemoveSelected())
            Done();
    } else if (id == CRDE_ANNO_DELETE_ALL && !objects_.empty()) {
        Clear();
        Done();
    }
}

void AnnotationLayer::RubberBandOff() {
    const bool changed = drawing_.has_value() || moving_;
    drawing_.reset();
    moving_ = false;
    if (changed)
        Invalidate();
}

void AnnotationLayer::Clear() {
    objects_.clear();
    selected_ = 0;
    RubberBandOff();
    Invalidate();
}

bool AnnotationLayer::RemoveSelected() {
    const auto it = std::find_if(objects_.begin(), objects_.end(),
                                 [this](const AnnoObject& o) { return o.id == selected_; });
    if (it == objects_.end())
        return false;
    objects_.erase(it);
    selected_ = 0;
    moving_ = false;
    Invalidate();
    return true;
}

AnnotationLayer* LayerOf(void* control) {
    const auto it = Layers().find(control);
    return it == Layers().end() ? nullptr : it->second.get();
}

void InitLayer(void* control, void* window, const CrdeAnnoCallbacks* callbacks,
               const char* settingsFile) {
    if (!control)
        return;
    CrdeAnnoCallbacks cb{};
    if (callbacks)
        cb = *callbacks;
    Layers()[control] = std::make_unique<AnnotationLayer>(
        control, window, cb, AnnotationSettings::Load(settingsFile ? settingsFile : std::string()));
}

void DestroyLayer(void* control) {
    Layers().erase(control);
}

} // namespace crde
