// SPDX-License-Identifier: MIT
// The metafile device context's text: upright whatever the mapping, aligned on its reference
// point, with the record's advances and boxes.
#include "imaging/metafile/metafile_dc.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace imaging {

namespace {

// Text alignment bits.
constexpr unsigned TA_UPDATECP = 1, TA_RIGHT = 2, TA_CENTER = 6, TA_BOTTOM = 8, TA_BASELINE = 24;

} // namespace

void MetafileDc::Text(QPointF at, const QString& text, const std::optional<QRectF>& opaqueBox,
                      const std::optional<QRectF>& clip, const std::vector<double>& advances) {
    Apply();
    if (opaqueBox)
        painter_.fillRect(opaqueBox->normalized(), state_.backColour);
    if (text.isEmpty())
        return;
    if (clip) {
        painter_.setClipRect(clip->normalized(), Qt::IntersectClip);
        clipDirty_ = true; // the next record sets the clip of the state again
    }
    const bool useCurrent = state_.textAlign & TA_UPDATECP;
    const QPointF origin = useCurrent ? state_.position : at;
    // Text stays upright whatever the mapping's directions: it is drawn in a space of its own
    // at the device point, scaled by the mapping's magnitudes and turned by the escapement.
    const QTransform t = LogicalToPainter();
    const double sx = std::hypot(t.m11(), t.m12()), sy = std::hypot(t.m21(), t.m22());
    QFont font = state_.font.font;
    // Heights and escapements are record values: widened before they are negated or scaled.
    const std::int64_t h = state_.font.height;
    font.setPixelSize(
        int(std::clamp<std::int64_t>(h < 0 ? -h : std::llround(double(h) * 0.85), 1, 1 << 20)));
    if (h == 0)
        font.setPixelSize(12);
    const QFontMetricsF metrics(font);
    double width = 0;
    if (advances.empty()) {
        width = metrics.horizontalAdvance(text);
    } else {
        for (double a : advances)
            width += a;
    }
    double dx = 0, dy = 0;
    const unsigned horizontal = state_.textAlign & TA_CENTER;
    if (horizontal == TA_CENTER)
        dx = -width / 2;
    else if (horizontal == TA_RIGHT)
        dx = -width;
    const unsigned vertical = state_.textAlign & TA_BASELINE;
    if (vertical == TA_BASELINE)
        dy = 0;
    else if (vertical == TA_BOTTOM)
        dy = -metrics.descent();
    else
        dy = metrics.ascent();
    QTransform space;
    const QPointF device = t.map(origin);
    space.translate(device.x(), device.y());
    space.rotate(-double(state_.font.escapement) / 10.0);
    space.scale(sx, sy);
    painter_.setTransform(space);
    painter_.setFont(font);
    painter_.setPen(state_.textColour);
    if (state_.opaque && !opaqueBox)
        painter_.fillRect(QRectF(dx, dy - metrics.ascent(), width, metrics.height()),
                          state_.backColour);
    painter_.setBackgroundMode(Qt::TransparentMode);
    // Glyphs of a hundredth of a device pixel are not drawn (nothing would show). Glyphs very
    // large on the device or stretched far more one way than the other (a mapping of record
    // values) are filled as outlines: the font rasteriser fails on such glyph bitmaps in a way
    // the toolkit does not survive.
    const double larger = double(font.pixelSize()) * std::max(sx, sy);
    const bool visible = larger >= 0.01;
    const bool outlines = larger > 4096 || std::max(sx, sy) > 64 * std::min(sx, sy);
    auto draw = [&](QPointF where, const QString& part) {
        if (!outlines) {
            painter_.drawText(where, part);
            return;
        }
        QPainterPath path;
        path.addText(where, font, part);
        painter_.fillPath(path, state_.textColour);
    };
    if (!visible) {
        // nothing to draw; the position below still moves by the text's width
    } else if (advances.empty()) {
        draw(QPointF(dx, dy), text);
    } else {
        double x = dx;
        for (qsizetype i = 0; i < text.size(); ++i) {
            draw(QPointF(x, dy), QString(text[i]));
            x += i < qsizetype(advances.size()) ? advances[std::size_t(i)] : 0;
        }
    }
    if (useCurrent) {
        // The position moves along the baseline by the text's width, in logical units.
        const QTransform back = t.inverted();
        const QPointF moved = back.map(space.map(QPointF(dx + width, 0)));
        state_.position = horizontal == 0 ? moved : origin;
    }
}

} // namespace imaging
