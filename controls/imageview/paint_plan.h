// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QRegion>
#include <QSize>

namespace controls {

/// What the image view's bitmap path paints, worked out before any pixel is touched: the
/// mode, the source rectangle of the picture, the target rectangle on the control, the
/// centring offsets and the background region around the target (one fill, no full clear).
struct PaintPlan {
    enum class Mode { Placeholder, Stretched, Natural, Zoomed };
    Mode mode = Mode::Placeholder;
    QRect source, target;
    int offsetX = 0, offsetY = 0; // the centring offsets of a zoomed paint, never negative
    bool withScrollBars = false;  // the fill around leaves the scroll-bar strip alone
    QRegion fillAround;
};

/// The view's state as the bitmap path reads it.
struct PaintInput {
    QSize control; // outer width and height W, H
    QSize client;  // the area inside the border
    QSize picture; // the bitmap's size
    bool pictureLoaded = false;
    bool hasGraphic = false;
    bool stretch = false, stretchRatio = false, scrolling = true, center = true;
    bool showScrollbars = false;
    int scrollbarWidth = 12;
    double zoomFactor = 1.0;
    int viewOriginX = 0, viewOriginY = 0;
};

/// The bitmap path's decisions: stretched over the client area, natural size (centred,
/// perhaps with negative offsets), or zoomed and scrolled with the four overflow cases. Real
/// numbers are truncated and signed halves rounded towards zero.
PaintPlan PlanBitmapPaint(const PaintInput& in);

/// The exclusive-or of `target` and the area (0, 0, W - s, H - s): the background beside
/// and below the picture.
QRegion FillAround(const QRect& target, QSize control, int scrollBar);

} // namespace controls
