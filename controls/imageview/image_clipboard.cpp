// SPDX-License-Identifier: MIT
// The image view's clipboard: the picture goes out as image data any program can paste (the
// toolkit offers it as PNG, BMP and its other image types, encoded when asked) and comes in
// from any picture on the clipboard at the read depth.
#include "controls/imageview/db_multi_image.h"

#include "imaging/dib.h"
#include "imaging/dib_convert.h"
#include "imaging/undo_ring.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace controls {

void TPDBMultiImage::CopyToClipboard() {
    if (!Picture.HasBitmapHandle())
        return;
    auto* mime = new QMimeData;
    mime->setImageData(Picture.Bitmap().Handle());
    QGuiApplication::clipboard()->setMimeData(mime);
}

void TPDBMultiImage::CutToClipboard() {
    if (!Picture.HasGraphic())
        return;
    CopyToClipboard();
    if (ILUndo)
        imaging::UndoRing::Shared().Push(Picture.Bitmap());
    if (dataLink_.Edit())
        Picture.Clear();
}

void TPDBMultiImage::PasteFromClipboard() {
    const int depth = ReadDepth(ImageReadRes, DeviceBitsPerPixel());
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasImage())
        return; // text alone changes nothing
    if (!dataLink_.Edit())
        return;
    if (ScmShowing() || CmsShowing())
        ClearPicture(false);
    if (ILUndo)
        imaging::UndoRing::Shared().Push(Picture.Bitmap());
    const QImage pasted = qvariant_cast<QImage>(mime->imageData());
    if (pasted.isNull())
        return;
    // Through a DIB, so a pasted picture has the depth and palette of a decoded one.
    HGLOBAL dib = nullptr;
    imaging::BitmapHandleToDib(pasted.convertToFormat(QImage::Format_RGB32), {}, &dib);
    imaging::TBitmap bitmap;
    const bool ok =
        dib && imaging::DibToBitmap(dib, depth, false, bitmap, this, &ProgressThunk) != 0;
    imaging::FreeDib(dib);
    if (!ok)
        return;
    Picture.SetBitmap(std::move(bitmap));
    if (zoom_.StretchRatio())
        ComputeFitZoom();
}

} // namespace controls
