// SPDX-License-Identifier: MIT
#include "controls/imageview/paint_plan.h"

#include <algorithm>

namespace controls {

namespace {

int Trunc(double v) {
    return static_cast<int>(v);
}

} // namespace

QRegion FillAround(const QRect& target, QSize control, int scrollBar) {
    const QRegion area(0, 0, control.width() - scrollBar, control.height() - scrollBar);
    return area.xored(QRegion(target));
}

PaintPlan PlanBitmapPaint(const PaintInput& in) {
    PaintPlan plan;
    if (!in.pictureLoaded)
        return plan; // the placeholder
    const int W = in.control.width(), H = in.control.height();
    const int pw = in.picture.width(), ph = in.picture.height();
    if (in.stretch && in.hasGraphic) {
        plan.mode = PaintPlan::Mode::Stretched;
        plan.source = QRect(0, 0, pw, ph);
        plan.target = QRect(QPoint(0, 0), in.client);
        return plan;
    }
    if (!in.stretch && !in.stretchRatio && !in.scrolling) {
        plan.mode = PaintPlan::Mode::Natural;
        plan.source = QRect(0, 0, pw, ph);
        plan.target = QRect(0, 0, pw, ph);
        if (in.center)
            plan.target.translate((in.client.width() - pw) / 2, (in.client.height() - ph) / 2);
        plan.fillAround = FillAround(plan.target, in.control, 0);
        return plan;
    }
    // Zoomed: stretch ratio on, or stretch off and scrolling on.
    plan.mode = PaintPlan::Mode::Zoomed;
    const double z = in.zoomFactor;
    const int zw = Trunc(pw * z), zh = Trunc(ph * z);
    const int s = in.showScrollbars ? in.scrollbarWidth : 0;
    const bool wide = pw * z > W, tall = ph * z > H;
    if (zw <= W && zh <= H) {
        plan.source = QRect(0, 0, pw, ph);
        plan.target = QRect(0, 0, zw, zh);
        if (in.center) {
            plan.offsetX = (W - zw) / 2;
            plan.offsetY = (H - zh) / 2;
        }
    } else if (!wide && tall) {
        plan.source = QRect(in.viewOriginX, in.viewOriginY, pw, Trunc((H - s) / z));
        plan.target = QRect(0, 0, zw, H - s);
        if (in.center)
            plan.offsetX = (W - zw) / 2;
        plan.withScrollBars = in.showScrollbars;
    } else if (wide && !tall) {
        plan.source = QRect(in.viewOriginX, in.viewOriginY, Trunc((W - s) / z), ph);
        plan.target = QRect(0, 0, W - s, zh);
        if (in.center)
            plan.offsetY = (H - zh) / 2;
        plan.withScrollBars = in.showScrollbars;
    } else {
        plan.source = QRect(in.viewOriginX, in.viewOriginY, Trunc((W - s) / z), Trunc((H - s) / z));
        plan.target = QRect(0, 0, W - s, H - s);
        plan.withScrollBars = in.showScrollbars;
    }
    plan.offsetX = std::max(0, plan.offsetX);
    plan.offsetY = std::max(0, plan.offsetY);
    plan.target.translate(plan.offsetX, plan.offsetY);
    plan.fillAround = FillAround(plan.target, in.control, plan.withScrollBars ? s : 0);
    return plan;
}

} // namespace controls
