// SPDX-License-Identifier: MIT
// The image view's zoom, scroll bars, grab-hand panning and rubber band: the widget side of
// ZoomModel, which holds the arithmetic.
#include "controls/imageview/db_multi_image.h"

#include "imaging/engine/annotation_calls.h"
#include "platform/core/error_reporter.h"
#include "platform/ui/panel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace controls {

namespace {

constexpr unsigned WM_MOUSEMOVE = 512, WM_LBUTTONDOWN = 513, WM_LBUTTONUP = 514,
                   WM_RBUTTONDOWN = 516, WM_RBUTTONUP = 517;

TMouseButton ButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return mbLeft;
    }
}

} // namespace

void TPDBMultiImage::SyncZoomModel() {
    // A drawing is played again at every scale, so it fits, zooms and pans as a bitmap does.
    const bool drawing = Picture.HasMetafile() && !Picture.Metafile().Empty();
    zoom_.SetPicture(Picture.Size(), Picture.HasGraphic(), Picture.HasBitmapHandle() || drawing);
    zoom_.SetControlSize(size());
}

std::array<QWidget*, 3> TPDBMultiImage::ScrollParts() const {
    return {vertScrollBar_, horzScrollBar_, scrollCorner_};
}

void TPDBMultiImage::UpdateScrollParts() {
    for (QWidget* w : ScrollParts())
        if (w->isVisible() && w->width() > 1)
            w->update();
}

void TPDBMultiImage::RepaintNow() {
    repaint();
}

void TPDBMultiImage::RepaintQuietly() {
    quietPaint_ = true;
    repaint();
    quietPaint_ = false;
}

void TPDBMultiImage::ZoomIn(double factor) {
    SyncZoomModel();
    if (zoom_.ZoomIn(factor))
        RepaintQuietly();
}

void TPDBMultiImage::ZoomOut(double factor) {
    SyncZoomModel();
    if (zoom_.ZoomOut(factor))
        RepaintQuietly();
}

void TPDBMultiImage::ResetZoom() {
    zoom_.ResetZoom();
    RepaintNow();
}

void TPDBMultiImage::ComputeFitZoom() {
    SyncZoomModel();
    zoom_.ComputeFitZoom();
}

void TPDBMultiImage::LayoutScrollBars() {
    SyncZoomModel();
    const ScrollBarLayout layout = zoom_.ScrollBars();
    const bool tabStops = layout.shown && focusPolicy() != Qt::NoFocus;
    for (QScrollBar* bar : {vertScrollBar_, horzScrollBar_})
        bar->setFocusPolicy(tabStops ? Qt::TabFocus : Qt::NoFocus);
    if (!layout.shown) {
        for (QWidget* w : ScrollParts()) {
            w->setGeometry(-1, -1, 0, 0);
            w->hide();
        }
        return;
    }
    vertScrollBar_->setGeometry(layout.vertical);
    horzScrollBar_->setGeometry(layout.horizontal);
    scrollCorner_->setGeometry(layout.corner);
    // Setting ranges must not move the view back through the bars' own notifications.
    const QSignalBlocker blockV(vertScrollBar_), blockH(horzScrollBar_);
    horzScrollBar_->setRange(0, layout.horizontalMaximum);
    horzScrollBar_->setValue(layout.horizontalPosition);
    horzScrollBar_->setPageStep(std::max(1, width() - zoom_.ScrollbarWidth));
    vertScrollBar_->setRange(0, layout.verticalMaximum);
    vertScrollBar_->setValue(layout.verticalPosition);
    vertScrollBar_->setPageStep(std::max(1, height() - zoom_.ScrollbarWidth));
    for (QWidget* w : ScrollParts())
        w->show();
}

void TPDBMultiImage::ScrollBarMoved(Qt::Orientation bar, int position) {
    zoom_.ScrollTo(bar, position);
    RepaintNow();
}

void TPDBMultiImage::BoundsChanged() {
    if (!layoutReady_)
        return;
    LayoutScrollBars();
    if (zoom_.StretchRatio() && zoom_.Scalable())
        ComputeFitZoom();
}

void TPDBMultiImage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    platform::RunGuarded([this] { BoundsChanged(); });
}

void TPDBMultiImage::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    platform::RunGuarded([this] { BoundsChanged(); });
}

QPoint TPDBMultiImage::ClientPoint(QPointF widgetPoint) const {
    return widgetPoint.toPoint() - contentsRect().topLeft();
}

unsigned TPDBMultiImage::PackXY(int x, int y) {
    return (unsigned(y) & 0xFFFFu) << 16 | (unsigned(x) & 0xFFFFu);
}

void TPDBMultiImage::mousePressEvent(QMouseEvent* event) {
    platform::RunGuarded([&] {
        const QPoint at = ClientPoint(event->position());
        const TMouseButton button = ButtonOf(event->button());
        if (event->button() == Qt::LeftButton && focusPolicy() != Qt::NoFocus)
            setFocus(Qt::MouseFocusReason);
        if (OnMouseDown)
            OnMouseDown(this, button, event->modifiers(), at.x(), at.y());
        if (editAnnotat_) {
            if (AnnotationWindow)
                platform::SendMessage(AnnotationWindow, kAnnotationMouseDownMessage, 0,
                                      reinterpret_cast<std::intptr_t>(this));
            imaging::MouseMon(this, button == mbRight ? WM_RBUTTONDOWN : WM_LBUTTONDOWN,
                              PackXY(at.x(), at.y()));
            return;
        }
        bandRight_ = bandLeft_ = false;
        if (zoom_.AllowRubberBand) {
            if (button == mbRight && RubberBandBtn == mbRight)
                bandRight_ = true;
            else if (button == mbLeft && RubberBandBtn == mbLeft)
                bandLeft_ = true;
            if (bandRight_ || bandLeft_) {
                bandStart_ = bandEnd_ = at;
                bandDrawn_ = false;
            }
            return;
        }
        if (button != mbLeft)
            return;
        SyncZoomModel();
        if (zoom_.PressLeft(at)) {
            cursorBeforeDrag_ = cursorId_;
            cursorId_ = 5; // the id the grab hand was registered under at construction
            setCursor(platform::CursorRegistry::Get(5));
        }
    });
}

void TPDBMultiImage::mouseMoveEvent(QMouseEvent* event) {
    platform::RunGuarded([&] {
        const QPoint at = ClientPoint(event->position());
        if (OnMouseMove)
            OnMouseMove(this, event->modifiers(), at.x(), at.y());
        if (editAnnotat_) {
            imaging::MouseMon(this, WM_MOUSEMOVE, PackXY(at.x(), at.y()));
            platform::PostMessage(AnnotationWindow, kAnnotationMouseMoveMessage, 0,
                                  reinterpret_cast<std::intptr_t>(this));
            return;
        }
        if (zoom_.AllowRubberBand) {
            if (bandLeft_ || bandRight_) {
                const QRect before = QRect(bandStart_, bandEnd_).normalized();
                SyncZoomModel();
                bandEnd_ = zoom_.RubberBandEnd(bandStart_, at);
                bandDrawn_ = true;
                update(before.adjusted(-1, -1, 2, 2)
                           .united(QRect(bandStart_, bandEnd_).normalized().adjusted(-1, -1, 2, 2))
                           .translated(contentsRect().topLeft()));
            }
            return;
        }
        SyncZoomModel();
        if (zoom_.DragTo(at))
            RepaintNow();
    });
}

void TPDBMultiImage::mouseReleaseEvent(QMouseEvent* event) {
    platform::RunGuarded([&] {
        const QPoint at = ClientPoint(event->position());
        const TMouseButton button = ButtonOf(event->button());
        if (OnMouseUp)
            OnMouseUp(this, button, event->modifiers(), at.x(), at.y());
        if (button == mbLeft && OnClick && contentsRect().contains(at + contentsRect().topLeft()))
            OnClick(this);
        if (editAnnotat_) {
            imaging::MouseMon(this, button == mbRight ? WM_RBUTTONUP : WM_LBUTTONUP,
                              PackXY(at.x(), at.y()));
            platform::PostMessage(AnnotationWindow, kAnnotationMouseUpMessage, 0,
                                  reinterpret_cast<std::intptr_t>(this));
            return;
        }
        if (zoom_.AllowRubberBand) {
            const bool right = button == mbRight && bandRight_;
            const bool left = button == mbLeft && bandLeft_;
            if (right || left) {
                bandDrawn_ = false;
                update();
                (right ? bandRight_ : bandLeft_) = false;
                if (OnRubberband)
                    OnRubberband(this, button, event->modifiers(), bandStart_.x(), bandStart_.y(),
                                 bandEnd_.x(), bandEnd_.y());
            }
            return;
        }
        if (button == mbLeft) {
            const bool wasDragging = zoom_.Dragging();
            zoom_.Release(at);
            if (wasDragging) {
                cursorId_ = cursorBeforeDrag_;
                if (cursorId_ == platform::crDefault)
                    unsetCursor();
                else
                    setCursor(platform::CursorRegistry::Get(cursorId_));
            }
        }
    });
}

void TPDBMultiImage::wheelEvent(QWheelEvent* event) {
    // Ctrl + wheel zooms by the toolbar's steps around the point under the pointer.
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QWidget::wheelEvent(event);
        return;
    }
    const int steps = event->angleDelta().y() / 120;
    platform::RunGuarded([&] {
        SyncZoomModel();
        if (zoom_.WheelZoom(steps, ClientPoint(event->position())))
            RepaintNow();
    });
    event->accept();
}

void TPDBMultiImage::DrawRubberBand() {
    if (!bandDrawn_ || !(bandLeft_ || bandRight_))
        return;
    // Drawn inverted, so it shows on any picture.
    QPainter painter(this);
    painter.translate(contentsRect().topLeft());
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter.setPen(QPen(Qt::white, 1));
    const QPoint s = bandStart_, e = bandEnd_;
    const QPoint outline[] = {s, {s.x(), e.y()}, e, {e.x(), s.y()}, s};
    painter.drawPolyline(outline, 5);
}

} // namespace controls
