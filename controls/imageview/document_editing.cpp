// SPDX-License-Identifier: MIT
// The picture document's edits through the effects engine: a working copy handed to the
// engine as a DIB and taken back (the edit frame), and pictures from elsewhere adopted at the
// read depth.
#include "controls/imageview/picture_document.h"

#include "imaging/dib/dib.h"
#include "imaging/dib/dib_convert.h"
#include "imaging/engine/effects_binding.h"
#include "imaging/error_invalid.h"
#include "platform/memory/memory_block.h"

namespace controls {

namespace {

[[noreturn]] void EmptyImage() {
    throw imaging::ErrorInvalid(QStringLiteral("Input image is empty"));
}

} // namespace

template <class Edit> void PictureDocument::EditFrame(Edit edit) {
    imaging::TBitmap copy = Picture.Bitmap();
    platform::MemoryBlock dib;
    // Rows top-down, so that a 24-bit result becomes the picture where it lies, without a copy.
    imaging::BitmapToTopDownDib(&copy, dib.Out()); // raises "Input image is empty"
    dib.Reset(edit(dib.Get()));                    // the engine may give back a new block
    if (dib.Size() < 6)
        EmptyImage();
    // The bitmap takes the block over (also when it fails).
    const HGLOBAL result = dib.Release();
    if (imaging::AdoptDibAsBitmap(result, imaging::DibBitCount(result), false, copy, nullptr,
                                  nullptr) == 0)
        EmptyImage();
    Picture.SetBitmap(std::move(copy));
}

void PictureDocument::Invert() {
    EditFrame([this](HGLOBAL dib) {
        const imaging::TBitmap before = Picture.Bitmap();
        imaging::ILInvertDib(dib);
        PushUndo(edits::Invert, before);
        return dib;
    });
}

void PictureDocument::Rotate(const QRect& part, double angle, const QColor& background) {
    EditFrame([&](HGLOBAL dib) {
        QRect turned;
        PushUndo(edits::Rotate); // a turn keeps no copy
        return imaging::ILRotateDib(dib, angle, &turned, background, part);
    });
}

bool PictureDocument::Adopt(const QImage& image, int depth, Progress progress) {
    platform::MemoryBlock dib;
    imaging::BitmapHandleToDib(image.convertToFormat(QImage::Format_RGB32), {}, dib.Out());
    imaging::TBitmap bitmap;
    if (!dib ||
        imaging::DibToBitmap(dib.Get(), depth, false, bitmap, progress.User, progress.Report) == 0)
        return false;
    Picture.SetBitmap(std::move(bitmap));
    return true;
}

} // namespace controls
