// SPDX-License-Identifier: MIT
#include "platform/ui/panel.h"

#include <QPainter>

namespace platform {

TPanel::TPanel(QWidget* parent, TBevel outer, TBevel inner, int bevelWidth)
    : QFrame(parent) {
    setAutoFillBackground(true);
    SetBevels(outer, inner, bevelWidth);
}

void TPanel::SetBevels(TBevel outer, TBevel inner, int bevelWidth) {
    outer_ = outer;
    inner_ = inner;
    bevelWidth_ = bevelWidth;
    const int frame =
        (outer != TBevel::bvNone ? bevelWidth : 0) + (inner != TBevel::bvNone ? bevelWidth : 0);
    setContentsMargins(frame, frame, frame, frame);
    update();
}

void TPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter p(this);
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    QRect r = rect();
    auto bevel = [&](TBevel kind) {
        if (kind == TBevel::bvNone)
            return;
        const QColor topLeft = kind == TBevel::bvRaised ? light : dark;
        const QColor bottomRight = kind == TBevel::bvRaised ? dark : light;
        for (int i = 0; i < bevelWidth_; ++i) {
            p.setPen(topLeft);
            p.drawLine(r.topLeft(), r.topRight());
            p.drawLine(r.topLeft(), r.bottomLeft());
            p.setPen(bottomRight);
            p.drawLine(r.bottomLeft(), r.bottomRight());
            p.drawLine(r.topRight(), r.bottomRight());
            r.adjust(1, 1, -1, -1);
        }
    };
    bevel(outer_);
    bevel(inner_);
}

} // namespace platform
