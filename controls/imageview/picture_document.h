// SPDX-License-Identifier: MIT
#pragma once

#include "controls/imageview/picture.h"
#include "imaging/decoding/blob_detection.h"
#include "imaging/engine/engine_calls.h"
#include "imaging/undo_ring.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QObject>
#include <QRect>

#include <cstdint>
#include <functional>
#include <optional>

namespace controls {

/// What an edit of the picture puts into the undo ring.
enum class UndoCopy {
    Before,        // the picture as it was, at the point the edit says
    None,          // nothing
    ThroughDecode, // nothing itself: the decode it causes pushes the picture shown before
};

/// One edit of the picture, named, with what it pushes.
struct EditCommand {
    const char* Name;
    UndoCopy Copy;
};

/// Every edit of the view, one row each. An edit calls PushUndo with its row where its copy
/// is taken; the row alone decides whether that pushes.
namespace edits {
inline constexpr EditCommand Show{"Show", UndoCopy::Before}; // a decoded blob replaces a picture
inline constexpr EditCommand Invert{"Invert", UndoCopy::Before};
inline constexpr EditCommand Rotate{"Rotate", UndoCopy::None};
inline constexpr EditCommand Effects{"Effects", UndoCopy::Before}; // before the window opens
inline constexpr EditCommand Paste{"Paste", UndoCopy::Before};
inline constexpr EditCommand Cut{"Cut", UndoCopy::Before};
inline constexpr EditCommand Scan{"Scan", UndoCopy::Before};
inline constexpr EditCommand LoadFile{"LoadFile", UndoCopy::ThroughDecode};
inline constexpr EditCommand All[] = {Show, Invert, Rotate, Effects, Paste, Cut, Scan, LoadFile};
} // namespace edits

/// The engine's progress report for the document's calls: the callback and what it is given.
struct Progress {
    void* User = nullptr;
    imaging::ProgressCallback Report = nullptr;
};

/// How a picture blob is read: depth, dither, TIFF page (from 1) and Photo CD mode.
struct ReadSettings {
    int Depth = 24;
    bool Dither = false;
    std::int16_t TiffPage = 1;
    int PcdMode = 0;
    int PixelsPerInch = 96;
};

/// The picture a view shows, without the view: the picture itself, what was detected of its
/// blob, and the loading, saving and editing of it through the engine. The undo copies go to
/// the shared ring. Engine failures return false with the binding's last error set (the view
/// reports them); wrong requests raise imaging::ErrorInvalid.
class PictureDocument : public QObject {
    Q_OBJECT
public:
    explicit PictureDocument(imaging::UndoRing& ring = imaging::UndoRing::Shared());
    ~PictureDocument() override;

    TPicture Picture;
    imaging::BlobInfo Info;
    /// The picture comes from the current record or an edit: a reload leaves it.
    bool Loaded = false;
    /// Keep undo copies (the view's ILUndo).
    bool KeepsUndo = true;

    // ---- Undo --------------------------------------------------------------------------
    /// Pushes `copy` for `command` when its row pushes and undo copies are kept.
    void PushUndo(const EditCommand& command, const imaging::TBitmap& copy);
    void PushUndo(const EditCommand& command) { PushUndo(command, Picture.Bitmap()); }
    /// Whether an undo would bring a picture back: the ring holds one, and while the record is
    /// edited it is a copy pushed from here during that edit.
    bool UndoAvailable() const;
    /// The newest copy becomes the picture (nothing when UndoAvailable is false).
    void Undo();
    /// The record's picture is shown while browsing: copies pushed from now on are its own.
    void RecordShown();
    /// Whether the record source is editing the record now (from the first change to the post
    /// or cancel); set by the view, asked at each undo.
    std::function<bool()> RecordEditing;
    /// The record may have changed: the picture shown is not its own until it is read.
    void RecordChanged() { showsOwn_ = false; }
    /// What the record holds is shown (a credit message, read by the view itself).
    void RecordRead() { showsOwn_ = true; }

    // ---- Reading -----------------------------------------------------------------------
    /// Detects the blob into Info; an engine failure is in `engineError` of the result.
    imaging::Detection Detect(const QByteArray& blob, std::int16_t tiffPage, int pixelsPerInch);
    /// Decodes a picture blob of that load name (or takes `readAhead`, decoded already) and
    /// shows it: pushes the picture shown before, then the picture (or `transition`, when
    /// given) takes it. `how.TiffPage` becomes the page read. False: the engine's error, the
    /// picture emptied.
    bool ReadPicture(const QString& loadName, const QByteArray& blob, ReadSettings& how,
                     std::optional<imaging::TBitmap> readAhead, Progress progress,
                     imaging::TBitmap* transition = nullptr);
    /// A placeable or enhanced metafile becomes the picture.
    void ReadMetafile(const QByteArray& blob, int pixelsPerInch);

    // ---- Editing -----------------------------------------------------------------------
    void Invert();
    /// Turns `part` of the picture by `angle` degrees, the uncovered corners in `background`.
    void Rotate(const QRect& part, double angle, const QColor& background);
    /// A picture from elsewhere (the clipboard) becomes the picture at that depth, through a
    /// DIB so that it has the depth and palette of a decoded one. False: not converted.
    bool Adopt(const QImage& image, int depth, Progress progress);

    // ---- Saving ------------------------------------------------------------------------
    /// Writes the picture as a file of that format: beside the target first, taking its name
    /// only when the writer succeeded. False: the engine's (or the file's) error.
    bool SaveAs(imaging::EngineFormat format, const QString& fileName,
                const imaging::WriteOptions& options, Progress progress) const;
    /// Writes bytes (the record's blob) to a file the same careful way; raises on failure.
    static void SaveBytes(const QByteArray& bytes, const QString& fileName);
    /// The picture encoded for the record's field; `existing` starts the block (a TIFF a page
    /// is added to). Nothing: the engine's error.
    std::optional<QByteArray> Encode(imaging::EngineFormat format,
                                     const imaging::WriteOptions& options,
                                     const QByteArray& existing, Progress progress) const;

signals:
    /// The picture changed (loaded, edited, emptied).
    void PictureChanged();

private:
    // Edits a working copy as a DIB for the engine and takes the result back.
    template <class Edit> void EditFrame(Edit edit);

    bool Editing() const { return RecordEditing && RecordEditing(); }

    imaging::UndoRing& ring_;
    std::uint64_t ownSince_ = 0; // the ring's push count when the record's picture was shown
    // The picture shown is the record's own (read from it, or edited from it): copies of it
    // pushed now belong to the record; another picture's copies belong to no one.
    bool showsOwn_ = false;
};

} // namespace controls
