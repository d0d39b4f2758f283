// SPDX-License-Identifier: MIT
// The picture document's state and its undo: copies go to the shared ring; while the record is
// edited only the copies this document pushed since the record's picture was shown come back,
// so that an undo can never bring another record's picture into the record being edited.
#include "controls/imageview/picture_document.h"

#include "imaging/decoding/picture_decoding.h"
#include "imaging/metafile/metafile.h"

namespace controls {

PictureDocument::PictureDocument(imaging::UndoRing& ring)
    : ring_(ring)
    , ownSince_(ring.Pushes()) {
    Picture.OnChange = [this] { emit PictureChanged(); };
}

PictureDocument::~PictureDocument() {
    Picture.OnChange = nullptr;
}

void PictureDocument::PushUndo(const EditCommand& command, const imaging::TBitmap& copy) {
    if (KeepsUndo && command.Copy == UndoCopy::Before)
        ring_.Push(copy, showsOwn_ ? this : nullptr);
}

bool PictureDocument::UndoAvailable() const {
    if (Editing())
        return ring_.NewestPushedBy(this, ownSince_);
    return ring_.UndoAvailable();
}

void PictureDocument::Undo() {
    const bool own = ring_.NewestPushedBy(this, ownSince_);
    if (Editing() && !own)
        return; // nothing of this edit to go back to
    // The picture's bitmap takes the newest copy; with none it takes itself (and so still
    // counts as changed). A copy of another picture makes the picture shown not the record's.
    imaging::TBitmap copy = Picture.Bitmap();
    if (ring_.UndoAvailable())
        showsOwn_ = showsOwn_ && own;
    ring_.Pop(copy);
    Picture.SetBitmap(std::move(copy));
}

void PictureDocument::RecordShown() {
    if (!Editing())
        ownSince_ = ring_.Pushes();
}

imaging::Detection PictureDocument::Detect(const QByteArray& blob, std::int16_t tiffPage,
                                           int pixelsPerInch) {
    return imaging::DetectBlob(blob, tiffPage, Info, pixelsPerInch);
}

bool PictureDocument::ReadPicture(const QString& loadName, const QByteArray& blob,
                                  ReadSettings& how, std::optional<imaging::TBitmap> readAhead,
                                  Progress progress, imaging::TBitmap* transition) {
    imaging::TBitmap target;
    const bool ahead = readAhead.has_value();
    if (ahead)
        target = std::move(*readAhead);
    const imaging::ReadPlan plan =
        imaging::PlanRead(loadName, Info, how.Depth, how.TiffPage, how.PcdMode);
    how.TiffPage = std::int16_t(plan.tiffPage);
    target.SetMonochrome(plan.monochrome);
    // A picture read ahead is taken as it is (its decode reported no progress); else it is
    // decoded now, with progress.
    const bool ok =
        ahead || imaging::DecodePictureBlob(loadName, blob, plan.depth, how.Dither, plan.option,
                                            target, progress.User, progress.Report);
    if (!ok) {
        Picture.Clear();
        return false;
    }
    if (Picture.HasBitmap())
        PushUndo(edits::Show);
    showsOwn_ = true;
    if (transition)
        *transition = std::move(target);
    else
        Picture.SetBitmap(std::move(target));
    return true;
}

void PictureDocument::ReadMetafile(const QByteArray& blob, int pixelsPerInch) {
    imaging::Metafile metafile;
    metafile.Load(blob, pixelsPerInch);
    showsOwn_ = true;
    Picture.SetMetafile(std::move(metafile));
}

} // namespace controls
