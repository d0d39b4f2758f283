// SPDX-License-Identifier: MIT
#include "controls/imageview/zoom_model.h"

#include <algorithm>
#include <cmath>

namespace controls {

namespace {

constexpr double kLargest = 50, kSmallest = 0.075;

int Trunc(double v) {
    return static_cast<int>(v); // towards zero, as every pixel value of the view
}

// One axis of a pan step: the origin stays inside [0, the point where the picture's far edge
// meets the control's edge less the scroll bar].
int PanAxis(int origin, int step, int picture, int control, int bar, double zoom) {
    if (origin + step < 0 || control > picture * zoom)
        return 0;
    if (control - bar > (picture - step - origin) * zoom)
        return picture - Trunc((control - bar) / zoom);
    return origin + step;
}

} // namespace

void ZoomModel::SetPicture(QSize size, bool hasGraphic, bool scalable) {
    picture_ = size;
    hasGraphic_ = hasGraphic;
    scalable_ = scalable;
}

QSize ZoomModel::ZoomedSize() const {
    return {Trunc(picture_.width() * ZoomFactor), Trunc(picture_.height() * ZoomFactor)};
}

bool ZoomModel::Overflows() const {
    const QSize z = ZoomedSize();
    return z.width() > control_.width() || z.height() > control_.height();
}

void ZoomModel::SetStretchRatio(bool value) {
    if (value != stretchRatio_) {
        if (value && scalable_) {
            SavedViewOrigin = {ViewOriginX, ViewOriginY};
            SavedZoomFactor = ZoomFactor;
            ViewOriginX = ViewOriginY = 0;
            ComputeFitZoom();
        } else {
            ViewOriginX = SavedViewOrigin.x();
            ViewOriginY = SavedViewOrigin.y();
            ZoomFactor = SavedZoomFactor;
        }
    }
    stretchRatio_ = value;
    if (value)
        Stretch = false;
}

void ZoomModel::SetShowScrollbars(bool value) {
    if (!value) {
        const int w = control_.width(), h = control_.height();
        const int mx = Trunc(w - (picture_.width() - ViewOriginX) * ZoomFactor);
        if (w < picture_.width() * ZoomFactor && mx > 0)
            ViewOriginX = Trunc(ViewOriginX - mx / ZoomFactor) - 1;
        const int my = Trunc(h - (picture_.height() - ViewOriginY) * ZoomFactor);
        if (h < picture_.height() * ZoomFactor && my > 0)
            ViewOriginY = Trunc(ViewOriginY - my / ZoomFactor) - 1;
    }
    ShowScrollbars = value;
}

bool ZoomModel::ZoomIn(double factor) {
    if (!hasGraphic_)
        return false;
    const double next = ZoomFactor * factor;
    if (next >= kLargest)
        return false;
    ZoomFactor = next;
    return true;
}

bool ZoomModel::ZoomOut(double factor) {
    if (!hasGraphic_)
        return false;
    const double next = ZoomFactor * factor;
    if (next <= kSmallest)
        return false;
    ZoomFactor = next;
    // Pull the origin back so the picture still reaches the right and bottom edges.
    if (control_.width() > (picture_.width() - ViewOriginX) * ZoomFactor)
        ViewOriginX = std::max(0, picture_.width() - Trunc(control_.width() / ZoomFactor));
    if (control_.height() > (picture_.height() - ViewOriginY) * ZoomFactor)
        ViewOriginY = std::max(0, picture_.height() - Trunc(control_.height() / ZoomFactor));
    return true;
}

void ZoomModel::ResetZoom() {
    if (!stretchRatio_) {
        ZoomFactor = 1.0;
        SavedZoomFactor = 1.0;
    }
    ViewOriginX = ViewOriginY = 0;
    SavedViewOrigin = {};
}

void ZoomModel::ComputeFitZoom() {
    if (!scalable_ || picture_.width() <= 0 || picture_.height() <= 0)
        return;
    const double x = double(control_.width()) / picture_.width();
    const double y = double(control_.height()) / picture_.height();
    ZoomFactor = y < x ? y : x;
}

void ZoomModel::ResetView() {
    ZoomFactor = 1.0;
    ViewOriginX = ViewOriginY = 0;
    SavedViewOrigin = {};
    SavedZoomFactor = 1.0;
}

bool ZoomModel::WheelZoom(int steps, QPoint pointer) {
    if (steps == 0 || stretchRatio_)
        return false;
    // The picture point under the pointer before the step.
    const double px = ViewOriginX + pointer.x() / ZoomFactor;
    const double py = ViewOriginY + pointer.y() / ZoomFactor;
    bool changed = false;
    for (int i = 0; i < std::abs(steps); ++i)
        changed |= steps > 0 ? ZoomIn(1.1) : ZoomOut(0.9);
    if (!changed)
        return false;
    if (Overflows()) {
        const int maxX = std::max(0, picture_.width() - Trunc(control_.width() / ZoomFactor));
        const int maxY = std::max(0, picture_.height() - Trunc(control_.height() / ZoomFactor));
        ViewOriginX = std::clamp(Trunc(px - pointer.x() / ZoomFactor), 0, maxX);
        ViewOriginY = std::clamp(Trunc(py - pointer.y() / ZoomFactor), 0, maxY);
    } else {
        ViewOriginX = ViewOriginY = 0;
    }
    return true;
}

ScrollBarLayout ZoomModel::ScrollBars() const {
    ScrollBarLayout l;
    l.shown = hasGraphic_ && !Stretch && !stretchRatio_ && scalable_ && Overflows() && Scrolling &&
              ShowScrollbars;
    if (!l.shown)
        return l;
    const int w = ScrollbarWidth, W = control_.width(), H = control_.height();
    l.vertical = QRect(W - w, 1, w, H - w - 1);
    l.horizontal = QRect(1, H - w, W - w - 1, w);
    l.corner = QRect(W - w, H - w, w, w);
    l.horizontalMaximum = std::max(0, Trunc(picture_.width() * ZoomFactor - W + w));
    l.horizontalPosition =
        l.horizontalMaximum ? std::min(Trunc(ViewOriginX * ZoomFactor), l.horizontalMaximum) : 0;
    l.verticalMaximum = std::max(0, Trunc(picture_.height() * ZoomFactor - H + w));
    l.verticalPosition =
        l.verticalMaximum ? std::min(Trunc(ViewOriginY * ZoomFactor), l.verticalMaximum) : 0;
    return l;
}

void ZoomModel::ScrollTo(Qt::Orientation bar, int position) {
    (bar == Qt::Horizontal ? ViewOriginX : ViewOriginY) = Trunc(position / ZoomFactor);
}

bool ZoomModel::PressLeft(QPoint at) {
    last_ = at;
    dragging_ = !AllowRubberBand && hasGraphic_ && !Stretch && scalable_ && Overflows();
    return dragging_;
}

bool ZoomModel::DragTo(QPoint at) {
    if (!dragging_ || AllowRubberBand)
        return false;
    int ox = Trunc((last_.x() - at.x()) / ZoomFactor);
    int oy = Trunc((last_.y() - at.y()) / ZoomFactor);
    // At least one picture pixel in the direction of any move.
    if (at.x() != last_.x() && ox == 0)
        ox = last_.x() > at.x() ? 1 : -1;
    if (at.y() != last_.y() && oy == 0)
        oy = last_.y() > at.y() ? 1 : -1;
    last_ = at;
    const bool bars = ShowScrollbars && !Stretch && !stretchRatio_ && Scrolling && Overflows();
    const int s = bars ? ScrollbarWidth : 0;
    const int x = PanAxis(ViewOriginX, ox, picture_.width(), control_.width(), s, ZoomFactor);
    const int y = PanAxis(ViewOriginY, oy, picture_.height(), control_.height(), s, ZoomFactor);
    const bool moved = x != ViewOriginX || y != ViewOriginY;
    ViewOriginX = x;
    ViewOriginY = y;
    return moved;
}

void ZoomModel::Release(QPoint at) {
    dragging_ = false;
    last_ = at;
}

QPoint ZoomModel::RubberBandEnd(QPoint start, QPoint mouse) const {
    const double dx = mouse.x() - start.x(), dy = mouse.y() - start.y();
    const double d = std::sqrt(dx * dx + dy * dy);
    const double r = control_.width() ? double(control_.height()) / control_.width() : 1.0;
    const double h = std::fabs(d / std::sqrt(r * r + 1)), v = r * h;
    double ex = start.x() + h, ey = start.y() + v; // right-down, the last rule
    if (dx >= 0 && dy <= 0) {
        ex = start.x() + h;
        ey = start.y() - v;
    }
    if (dx <= 0 && dy <= 0) {
        ex = start.x() - h;
        ey = start.y() - v;
    }
    if (dx <= 0 && dy >= 0) {
        ex = start.x() - h;
        ey = start.y() + v;
    }
    if (dx >= 0 && dy >= 0) {
        ex = start.x() + h;
        ey = start.y() + v;
    }
    return {Trunc(ex), Trunc(ey)};
}

} // namespace controls
