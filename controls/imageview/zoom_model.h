// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace controls {

/// Where the scroll bars go and what they range over (see ZoomModel::ScrollBars).
struct ScrollBarLayout {
    bool shown = false;
    QRect vertical{-1, -1, -1, -1}, horizontal{-1, -1, -1, -1}, corner{-1, -1, -1, -1};
    int horizontalMaximum = 0, horizontalPosition = 0;
    int verticalMaximum = 0, verticalPosition = 0;
};

/// How the image view maps its picture onto the window: zoom factor and limits, the fit of
/// StretchRatio, the view origin in picture pixels, scroll bars, the grab-hand pan and the
/// rubber band. Plain state and arithmetic (real numbers truncated towards zero); the widget
/// feeds it sizes and mouse positions and repaints when a call says so.
class ZoomModel {
public:
    // What the view shows.
    /// `scalable`: a bitmap, or a drawing played at any scale; the fit, the scroll bars and
    /// the grab hand act on it.
    void SetPicture(QSize size, bool hasGraphic, bool scalable);
    QSize PictureSize() const { return picture_; }
    bool HasGraphic() const { return hasGraphic_; }
    bool Scalable() const { return scalable_; }
    /// The control's outer size (the overflow test uses it, not the client area).
    void SetControlSize(QSize size) { control_ = size; }
    QSize ControlSize() const { return control_; }

    double ZoomFactor = 1.0;
    int ViewOriginX = 0, ViewOriginY = 0;
    QPoint SavedViewOrigin;
    double SavedZoomFactor = 1.0;
    bool Stretch = false;
    bool Scrolling = true;
    bool ShowScrollbars = false;
    int ScrollbarWidth = 12;
    bool AllowRubberBand = false;

    bool StretchRatio() const { return stretchRatio_; }
    /// Switching on saves the view and fits (with a bitmap), switching off restores it.
    void SetStretchRatio(bool value);
    /// Switching the bars off pulls the origin back where the picture would end inside.
    void SetShowScrollbars(bool value);

    /// The zoomed picture's size, truncated.
    QSize ZoomedSize() const;
    /// Whether the zoomed picture is wider or taller than the control.
    bool Overflows() const;

    /// The toolbar's steps: true when the factor changed (the view repaints).
    bool ZoomIn(double factor);
    bool ZoomOut(double factor);
    /// Zoom 1 (unless fitting) and the origin at the picture's corner.
    void ResetZoom();
    /// The fit-to-window factor: the smaller of the two ratios (the width's when equal).
    void ComputeFitZoom();
    /// Every state a new picture starts from.
    void ResetView();
    /// Ctrl + wheel: one step in or out (1.1 or 0.9, the same limits) keeping the picture
    /// point under the pointer where the picture overflows. True when the factor changed.
    bool WheelZoom(int steps, QPoint pointer);

    ScrollBarLayout ScrollBars() const;
    /// A scroll bar moved to `position` (in zoomed pixels).
    void ScrollTo(Qt::Orientation bar, int position);

    // The grab hand: a left press on an overflowing picture starts a drag.
    bool PressLeft(QPoint at);
    /// True when the origin changed (the view repaints at once).
    bool DragTo(QPoint at);
    void Release(QPoint at);
    bool Dragging() const { return dragging_; }

    /// The end of a rubber band from `start` towards `mouse` that keeps the control's
    /// height-to-width ratio, the quadrant chosen as the later rule wins.
    QPoint RubberBandEnd(QPoint start, QPoint mouse) const;

private:
    QSize picture_;
    QSize control_;
    bool hasGraphic_ = false, scalable_ = false;
    bool stretchRatio_ = false;
    bool dragging_ = false;
    QPoint last_;
};

} // namespace controls
