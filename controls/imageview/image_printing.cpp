// SPDX-License-Identifier: MIT
// The image view's printing: a bitmap at a size (its own when none is given) with the
// annotations burnt in, or a metafile as vectors between two corners, on the program's
// printer, opening and closing the document when asked to.
#include "controls/imageview/db_multi_image.h"

#include "imaging/engine/annotation_calls.h"
#include "platform/core/cursors.h"
#include "platform/ui/printer.h"

namespace controls {

void TPDBMultiImage::PrintImage(int left, int top, int width, int height) {
    if (!Picture.HasGraphic() || Picture.GraphicEmpty())
        return;
    platform::TPrinter& printer = platform::Printer();
    const bool ownDocument = P_Begin_End_Doc;
    if (!DrawsAsGraphic()) {
        if (width < 1 || height < 1) {
            width = Picture.Width();
            height = Picture.Height();
        }
        // The annotations are burnt into a copy; the picture itself stays as it is.
        QImage picture = Picture.Bitmap().Handle();
        if (annotationBound_ && imaging::IsAnnotation(this) > 0) {
            picture = picture.convertToFormat(QImage::Format_RGB32);
            imaging::HardDrawAnnotation(this, &picture);
        } else {
            picture = PrintedPicture(QSize(width, height));
        }
        if (ownDocument && !printer.BeginDoc())
            return;
        if (QPainter* canvas = printer.Canvas())
            canvas->drawImage(QRect(left, top, width, height), picture); // every pixel goes in
        if (ownDocument)
            printer.EndDoc();
        return;
    }
    // A drawing: the third and fourth values are the right and bottom edges.
    if (width <= 0 || height <= 0) {
        width = Picture.Width();
        height = Picture.Height();
    }
    if (ownDocument && !printer.BeginDoc())
        return;
    if (QPainter* canvas = printer.Canvas()) {
        if (Picture.HasMetafile())
            Picture.Metafile().Play(*canvas, QRectF(QPointF(left, top), QPointF(width, height)));
    }
    if (ownDocument)
        printer.EndDoc();
}

QImage TPDBMultiImage::PrintedPicture(QSize size) {
    const QImage& picture = Picture.Bitmap().Handle();
    // The canvas has the screen's resolution; the paper's dots are finer.
    platform::TPrinter& printer = platform::Printer();
    const double paper = double(printer.PaperResolution()) / printer.Device().resolution();
    const double scale = sharp_.Wanted(paper * size.width() / picture.width(), picture);
    if (scale <= 0)
        return picture;
    platform::WaitCursor wait;
    const QImage sharp = sharp_.Now(scale, picture);
    return sharp.isNull() ? picture : sharp;
}

void TPDBMultiImage::PrintPlaced(const PrintPlacement& placement) {
    if (!Picture.HasGraphic() || Picture.GraphicEmpty())
        return;
    platform::TPrinter& printer = platform::Printer();
    const QRect target =
        placement.Target(Picture.Size(), QSize(printer.PageWidth(), printer.PageHeight()),
                         printer.Device().resolution());
    // A drawing is given its two corners, a bitmap its corner and size.
    if (DrawsAsGraphic())
        PrintImage(target.left(), target.top(), target.left() + target.width(),
                   target.top() + target.height());
    else
        PrintImage(target.left(), target.top(), target.width(), target.height());
}

} // namespace controls
