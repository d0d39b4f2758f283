// SPDX-License-Identifier: MIT
// The image view's painting: the bitmap path (stretched, natural size, zoomed and fitted)
// with one background fill around the picture, the graphic path for metafiles, the
// placeholder, the overlay text, the focus frame, the credit strip and the transitions. Every
// stretched copy is made at the device's pixel density from the visible source only.
#include "controls/imageview/db_multi_image.h"

#include "data/field.h"
#include "imaging/dib/stretch_blit.h"
#include "imaging/engine/annotation_calls.h"
#include "imaging/engine/effects_binding.h"
#include "imaging/engine/shared_tables.h"
#include "platform/core/error_reporter.h"
#include "platform/core/errors.h"

#include <QApplication>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QThread>

#include <cmath>

namespace controls {

namespace {

constexpr int kPlaceholderLength = 63;

void FillRegion(QPainter& painter, const QRegion& region, const QColor& colour) {
    for (const QRect& r : region)
        painter.fillRect(r, colour);
}

// A rectangle in device pixels for a logical one (edges rounded, so neighbours meet).
QSize DeviceSize(const QRect& r, qreal ratio) {
    const int left = int(std::lround(r.left() * ratio));
    const int top = int(std::lround(r.top() * ratio));
    const int right = int(std::lround((r.left() + r.width()) * ratio));
    const int bottom = int(std::lround((r.top() + r.height()) * ratio));
    return {right - left, bottom - top};
}

} // namespace

QSize TPDBMultiImage::ClientSize() const {
    return contentsRect().size();
}

PaintInput TPDBMultiImage::PaintState() const {
    PaintInput in;
    in.control = size();
    in.client = ClientSize();
    in.picture = Picture.Size();
    in.pictureLoaded = document_.Loaded;
    in.hasGraphic = Picture.HasGraphic();
    in.stretch = zoom_.Stretch;
    in.stretchRatio = zoom_.StretchRatio();
    in.scrolling = zoom_.Scrolling;
    in.center = center_;
    in.showScrollbars = zoom_.ShowScrollbars;
    in.scrollbarWidth = zoom_.ScrollbarWidth;
    in.zoomFactor = zoom_.ZoomFactor;
    in.viewOriginX = zoom_.ViewOriginX;
    in.viewOriginY = zoom_.ViewOriginY;
    return in;
}

void TPDBMultiImage::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (transitionRunning_) {
        painter.drawImage(QPoint(0, 0), transitionSurface_);
        return;
    }
    if (borderStyle_ == bsSingle) {
        painter.setPen(platform::GetSysColor(platform::COLOR_WINDOWFRAME));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    // Client coordinates from here on, clipped to the client area.
    const QRect client = contentsRect();
    painter.setClipRect(client.intersected(event->rect()));
    painter.translate(client.topLeft());
    try {
        if (DrawsAsGraphic())
            PaintGraphicPath(painter);
        else
            PaintBitmapPath(painter);
    } catch (const std::exception& e) {
        // A paint started by a zoom step swallows its failure; any other is shown.
        if (!quietPaint_)
            platform::RunGuarded([&] { throw; });
    }
    painter.end();
    DrawRubberBand();
}

bool TPDBMultiImage::DrawsAsGraphic() const {
    const QString& format = document_.Info.BlobFormat;
    return (format == QLatin1String("ICO") || format == QLatin1String("WMF")) &&
           !Picture.HasBitmapHandle();
}

void TPDBMultiImage::PaintBitmapPath(QPainter& painter) {
    const QColor background = platform::ColorToQColor(color_);
    const PaintInput in = PaintState();
    if (!document_.Loaded) {
        PaintPlaceholder(painter);
    } else {
        const PaintPlan plan = PlanBitmapPaint(in);
        switch (plan.mode) {
        case PaintPlan::Mode::Stretched:
            if (Picture.GraphicEmpty()) {
                painter.fillRect(QRect(QPoint(0, 0), ClientSize()),
                                 ScmShowing() || CmsShowing() ? background : initialBrushColor_);
            } else {
                CopyStretched(painter, plan.source, plan.target);
                if (OnPaintArea)
                    OnPaintArea(this, 0, 0, Picture.Width(), Picture.Height());
            }
            LayoutScrollBars();
            break;
        case PaintPlan::Mode::Natural:
            offsetX_ = offsetY_ = 0;
            if (!Picture.GraphicEmpty())
                CopyStretched(painter, plan.source, plan.target);
            FillRegion(painter, plan.fillAround, background);
            break;
        case PaintPlan::Mode::Zoomed: {
            offsetX_ = plan.offsetX;
            offsetY_ = plan.offsetY;
            FillRegion(painter, plan.fillAround, background);
            if (!Picture.GraphicEmpty())
                CopyStretched(painter, plan.source, plan.target);
            LayoutScrollBars();
            if (annotationBound_)
                imaging::DrawAnnotation(this, painter, zoom_.ZoomFactor, zoom_.ViewOriginX,
                                        zoom_.ViewOriginY, std::int16_t(offsetX_),
                                        std::int16_t(offsetY_),
                                        zoom_.ShowScrollbars ? zoom_.ScrollbarWidth : 0);
            UpdateScrollParts();
            break;
        }
        case PaintPlan::Mode::Placeholder:
            break;
        }
        if (plan.mode != PaintPlan::Mode::Stretched && OnPaintArea)
            OnPaintArea(this, plan.target.x(), plan.target.y(), plan.target.width(),
                        plan.target.height());
    }
    if (ScmShowing() || CmsShowing())
        PaintCredit(painter);
    PaintOverlay(painter);
    PaintFocus(painter);
    if (OnPaint)
        OnPaint(this);
}

void TPDBMultiImage::CopyStretched(QPainter& painter, const QRect& source, const QRect& target) {
    const QImage& picture = Picture.Bitmap().Handle();
    if (picture.isNull() || target.isEmpty())
        return;
    // A source reaching past the picture: only the part inside is copied, to its share of the
    // target, and the rest of the target gets the background.
    QRect from = source.intersected(picture.rect());
    QRect to = target;
    if (from != source && !source.isEmpty()) {
        const double sx = double(target.width()) / source.width();
        const double sy = double(target.height()) / source.height();
        painter.fillRect(target, platform::ColorToQColor(color_));
        if (from.isEmpty())
            return;
        to = QRect(target.x() + int((from.x() - source.x()) * sx),
                   target.y() + int((from.y() - source.y()) * sy), int(from.width() * sx),
                   int(from.height() * sy));
    }
    // The density of what is painted on (a grab or a print is redirected from the widget).
    const QPaintDevice* device =
        painter.paintEngine() ? painter.paintEngine()->paintDevice() : painter.device();
    const qreal ratio = device->devicePixelRatioF();
    const imaging::StretchMode mode =
        imaging::SetBlitStretchMode(document_.Info.BlobBitsPerPixel, blitMode_, nullptr);
    const QSize pixels = DeviceSize(to, ratio);
    // An EPS or DXF enlarged is copied from its rendering at that scale once it is here.
    const double times = from.isEmpty() ? 0 : double(pixels.width()) / from.width();
    const QImage* sharp = times > 0 ? sharp_.At(sharp_.Wanted(times, picture), picture) : nullptr;
    QImage scaled;
    if (sharp) {
        const double kx = double(sharp->width()) / picture.width();
        const double ky = double(sharp->height()) / picture.height();
        // Drawn at the shown scale, the rendering is copied pixel for pixel (the source's
        // last part-pixel included); drawn smaller (at its size limit), it is scaled the rest.
        const QSize size =
            std::abs(kx - times) < 0.02
                ? pixels
                : QSize(int(std::lround(from.width() * kx)), int(std::lround(from.height() * ky)));
        const QRect fine =
            QRect(QPoint(int(std::lround(from.x() * kx)), int(std::lround(from.y() * ky))), size)
                .intersected(sharp->rect());
        scaled = imaging::StretchBlit(*sharp, fine, pixels, mode);
    } else {
        scaled = imaging::StretchBlit(picture, from, pixels, mode);
    }
    if (scaled.isNull()) {
        if (!to.isEmpty() && !from.isEmpty())
            throw platform::Exception(
                QStringLiteral("Out of resources. Close some windows and try again"));
        return;
    }
    scaled.setDevicePixelRatio(ratio);
    painter.drawImage(to.topLeft(), scaled);
}

void TPDBMultiImage::PaintGraphicPath(QPainter& painter) {
    const QColor background = platform::ColorToQColor(color_);
    const QRect client(QPoint(0, 0), ClientSize());
    QRect natural;
    SyncZoomModel();
    if (!document_.Loaded) {
        PaintPlaceholder(painter);
    } else if (zoom_.Stretch && Picture.HasGraphic()) {
        painter.fillRect(client, background);
        if (!Picture.GraphicEmpty() && Picture.HasMetafile())
            Picture.Metafile().Play(painter, QRectF(client));
    } else if (zoom_.Scalable() && (zoom_.StretchRatio() || zoom_.Scrolling)) {
        natural = PaintScaledDrawing(painter, background);
    } else {
        natural = QRect(QPoint(0, 0), Picture.Size());
        if (center_)
            natural.translate((client.width() - natural.width()) / 2,
                              (client.height() - natural.height()) / 2);
        FillRegion(painter, QRegion(client).subtracted(QRegion(natural)), background);
        if (Picture.HasMetafile()) {
            painter.fillRect(natural, background);
            Picture.Metafile().Play(painter, QRectF(natural));
        }
    }
    PaintFocus(painter);
    PaintOverlay(painter);
    if (OnPaintArea)
        OnPaintArea(this, natural.x(), natural.y(), natural.right() + 1, natural.bottom() + 1);
    if (OnPaint)
        OnPaint(this);
}

QRect TPDBMultiImage::PaintScaledDrawing(QPainter& painter, const QColor& background) {
    // The bitmap path's plan says which part of the picture shows where; the drawing is played
    // whole at the shown scale, clipped to that target, so it stays sharp at every zoom.
    const PaintPlan plan = PlanBitmapPaint(PaintState());
    offsetX_ = plan.offsetX;
    offsetY_ = plan.offsetY;
    FillRegion(painter, plan.fillAround, background);
    painter.fillRect(plan.target, background);
    const double z = zoom_.ZoomFactor;
    const QSizeF picture = QSizeF(Picture.Size()) * z;
    const QPointF origin(plan.target.x() - plan.source.x() * z,
                         plan.target.y() - plan.source.y() * z);
    painter.save();
    painter.setClipRect(plan.target, Qt::IntersectClip);
    Picture.Metafile().Play(painter, QRectF(origin, picture));
    painter.restore();
    LayoutScrollBars();
    UpdateScrollParts();
    return plan.target;
}

QString TPDBMultiImage::PlaceholderText() const {
    const data::TField* field = dataLink_.Field();
    const QString label = field ? field->FieldName() : objectName();
    return (u'(' + label + u')').left(kPlaceholderLength);
}

void TPDBMultiImage::PaintPlaceholder(QPainter& painter) {
    const QRect client(QPoint(0, 0), ClientSize());
    painter.fillRect(client, platform::ColorToQColor(color_));
    painter.setFont(font_);
    painter.setPen(FontColor);
    const QString text = PlaceholderText();
    const QFontMetrics metrics(font_);
    const int x = (client.right() + 1 - metrics.horizontalAdvance(text)) / 2;
    const int y = (client.bottom() + 1 - metrics.height()) / 2;
    painter.save();
    painter.setClipRect(client, Qt::IntersectClip);
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
    painter.restore();
}

void TPDBMultiImage::PaintOverlay(QPainter& painter) {
    if (text_.isEmpty())
        return;
    imaging::DrawRotatedText(TextLeft, TextTop, TextRotate, text_,
                             platform::ColorToQColor(TextShadowColor), TextTransParent, TextShadow,
                             &painter, &font_, FontColor);
}

void TPDBMultiImage::PaintFocus(QPainter& painter) {
    if (!hasFocus())
        return;
    painter.save();
    painter.setPen(platform::GetSysColor(platform::COLOR_WINDOWFRAME));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(QPoint(0, 0), ClientSize()).adjusted(0, 0, -1, -1));
    painter.restore();
}

void TPDBMultiImage::PaintCredit(QPainter& painter) {
    painter.drawImage(credit_.Position(), credit_.Strip());
}

void TPDBMultiImage::RunTransition() {
    if (!transitionBitmap_.HandleAllocated())
        return;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    platform::WaitCursor wait;
    const int W = width(), H = height();
    const QImage& picture = transitionBitmap_.Handle();
    imaging::TBitmap work;
    bool useWork = false;
    if (zoom_.Stretch || zoom_.StretchRatio()) {
        QImage canvas(std::max(1, W), std::max(1, H), QImage::Format_RGB32);
        QRect target(0, 0, W, H);
        if (zoom_.StretchRatio()) {
            canvas.fill(platform::ColorToQColor(color_));
            const double fx = double(W) / picture.width(), fy = double(H) / picture.height();
            const double f = fy < fx ? fy : fx;
            target = QRect(0, 0, int(picture.width() * f), int(picture.height() * f));
            offsetX_ = (W - target.width()) / 2;
            offsetY_ = (H - target.height()) / 2;
            target.translate(offsetX_, offsetY_);
        }
        const QImage scaled = imaging::StretchBlit(picture, picture.rect(), target.size(),
                                                   imaging::StretchMode::ColourOnColour);
        QPainter p(&canvas);
        p.drawImage(target.topLeft(), scaled);
        p.end();
        work.SetHandle(canvas);
        work.SetPalette(transitionBitmap_.Palette());
        useWork = true;
    }
    struct CleanUp {
        TPDBMultiImage* view;
        ~CleanUp() {
            view->transitionRunning_ = false;
            view->transitionSurface_ = QImage();
            view->transitionBitmap_ = {};
        }
    } cleanUp{this};
    // The transition paints onto a copy of what the view shows now, put on screen step by
    // step.
    const qreal ratio = devicePixelRatioF();
    transitionSurface_ = QImage(size() * ratio, QImage::Format_RGB32);
    transitionSurface_.setDevicePixelRatio(ratio);
    render(&transitionSurface_);
    transitionRunning_ = true;
    QPainter surface(&transitionSurface_);
    imaging::TransitionCanvas canvas;
    canvas.painter = &surface;
    canvas.present = [this] { repaint(); };
    canvas.sleep = [](int ms) { QThread::msleep(unsigned(std::max(0, ms))); };
    imaging::FXTransition(FXMethod, canvas, useWork ? work : transitionBitmap_, FXColRowThick,
                          FXDelay);
    surface.end();
    Picture.SetBitmap(useWork ? std::move(work) : std::move(transitionBitmap_));
}

} // namespace controls
