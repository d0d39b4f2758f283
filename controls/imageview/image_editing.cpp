// SPDX-License-Identifier: MIT
// The image view's edits: a picture file loaded into the blob field, the effects window and
// the scanner; undo, invert and rotate are the picture document's, with the view's progress
// and wait cursor.
#include "controls/imageview/db_multi_image.h"

#include "controls/effects/effect_form.h"
#include "data/field.h"
#include "imaging/dib/dib.h"
#include "imaging/dib/dib_convert.h"
#include "imaging/engine/effects_binding.h"
#include "imaging/engine/engine_calls.h"
#include "imaging/error_invalid.h"
#include "imaging/formats/format_table.h"
#include "platform/core/error_reporter.h"
#include "platform/core/errors.h"
#include "platform/memory/memory_block.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRadioButton>

#include <utility>

namespace controls {

namespace {

// The extensions a picture file may have.
bool LoadableExtension(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix();
    return !suffix.isEmpty() && imaging::LoadableExtensions().contains(u'.' + suffix.toUpper());
}

} // namespace

void TPDBMultiImage::LoadFromFile(const QString& fileName) {
    if (!QFileInfo(fileName).isFile())
        throw imaging::ErrorInvalid(QStringLiteral("Input filename isn't valid"));
    if (!LoadableExtension(fileName))
        throw imaging::ErrorInvalid(
            QStringLiteral("This format is not supported by this application"));
    if (!BlobFieldBound())
        throw imaging::ErrorInvalid(QStringLiteral("Field is not a blobfield"));
    {
        platform::WaitCursor wait;
        // The record source asks for editing and says so otherwise; the display follows
        // from the field's change.
        static_cast<data::TBlobField*>(dataLink_.Field())->LoadFromFile(fileName);
    }
    GetBlobInfo();
    PostStateChanged();
}

void TPDBMultiImage::UndoImage() {
    if (document_.RecordEditing() && !document_.UndoAvailable())
        return; // nothing of the record's edit to go back to: nothing happens
    ClearPicture(false);
    platform::WaitCursor wait;
    document_.Undo();
}

void TPDBMultiImage::InvertImage() {
    ReportProgress(0);
    platform::WaitCursor wait;
    Edits().Invert();
}

void TPDBMultiImage::RotateImage(int left, int top, int right, int bottom, double angle) {
    if (right == 0 || bottom == 0) {
        right = Picture.Width();
        bottom = Picture.Height();
    }
    ReportProgress(0);
    platform::WaitCursor wait;
    // The rectangle (right and bottom exclusive) is the part of the picture that is turned.
    Edits().Rotate(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), angle,
                   platform::ColorToQColor(RotateBackColor));
}

void TPDBMultiImage::ShowEffects() {
    Edits().PushUndo(edits::Effects);
    QCoreApplication::processEvents();
    imaging::TBitmap copy = Picture.Bitmap();
    const platform::WaitCursor wait;

    TEffectForm form(this);
    form.RestoreCursor = wait.Previous();
    form.SetFXDelay(FXDelay);
    form.SetFXColRowThick(FXColRowThick);
    form.SetTransition(FXMethod);
    form.SetRotateBackground(platform::ColorToQColor(RotateBackColor));
    const bool monochrome = copy.Monochrome() || copy.Handle().depth() == 1;
    const int depth = monochrome ? 1 : ReadDepth(ImageReadRes, DeviceBitsPerPixel());
    if (copy.HandleAllocated()) {
        HGLOBAL dib = nullptr;
        imaging::BitmapToDibDepth(copy, nullptr, nullptr, &dib, false, depth);
        form.SetDib(dib);
    }
    copy = imaging::TBitmap();
    if (form.exec() != QDialog::Accepted)
        return;
    FXDelay = form.FXDelay();
    FXColRowThick = form.FXColRowThick();
    // The last checked choice wins, none looked at last.
    for (imaging::TFXMethod method :
         {imaging::FXHorizontal, imaging::FXVertical, imaging::FXDiagonal,
          imaging::FXDiagonalSquares, imaging::FXRectangles, imaging::FXNone})
        if (form.TransitionChoice(method)->isChecked())
            FXMethod = method;
    const platform::WaitCursor taking; // the window put its cursor back
    imaging::TBitmap result;
    if (HGLOBAL dib = form.Dib(); dib && imaging::DibHandleToBitmap(dib, result) != 0)
        Picture.SetBitmap(std::move(result));
}

void TPDBMultiImage::ScanImage(QWidget* parentWindow) {
    const int depth = ReadDepth(ImageReadRes, DeviceBitsPerPixel());
    const bool dither = ImageDither;
    if (imaging::EngineBinding::Instance().ScannerBusy())
        return; // a scan is running: the binding refuses a second one
    ClearPicture(false);
    imaging::TBitmap scanned;
    ReportProgress(0);
    try {
        platform::MemoryBlock dib;
        if (!imaging::AcquireDibImage(parentWindow, depth, dither, dib.Out(), this, &ProgressThunk))
            ReportEngineError(); // raises ErrorInvalid unless OnIlibError takes it
        if (dib &&
            imaging::DibToBitmap(dib.Get(), depth, dither, scanned, this, &ProgressThunk) == 0)
            throw imaging::ErrorInvalid(QStringLiteral("Input image is empty"));
    } catch (const platform::Exception& e) {
        // A failed scan says why and leaves the picture the user had.
        platform::ReportError(e.Message());
        return;
    }
    Edits().PushUndo(edits::Scan);
    if (scanned.HandleAllocated()) {
        Picture.SetBitmap(std::move(scanned));
        if (StretchRatio())
            ComputeFitZoom();
    }
}

void TPDBMultiImage::SelectScanner(QWidget* parentWindow) {
    if (imaging::EngineBinding::Instance().ScannerBusy())
        return;
    if (imaging::SelectSource(parentWindow))
        return;
    try {
        ReportEngineError();
    } catch (const platform::Exception& e) {
        platform::ReportError(e.Message());
    }
}

} // namespace controls
