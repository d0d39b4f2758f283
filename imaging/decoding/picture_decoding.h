// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/bitmap.h"
#include "imaging/decoding/blob_detection.h"
#include "imaging/engine/engine_binding.h"

#include <QByteArray>
#include <QString>

namespace imaging {

/// Whether a detected load name is decoded into a bitmap (by a reader of the engine or the
/// drawing reader); metafiles, credit messages and rich text are not.
bool DecodesToBitmap(const QString& loadName);

/// Decodes a picture blob of that load name into `target` at the depth and dither asked: a
/// BMP after its record-source field header, `option` the TIFF page (from 0) or the Photo CD
/// mode. False when the engine fails (its message is the binding's last error).
bool DecodePictureBlob(const QString& loadName, const QByteArray& blob, int depth, bool dither,
                       int option, TBitmap& target, void* user = nullptr,
                       ProgressCallback progress = nullptr);

/// Whether pictures of that load name can be drawn again larger than their natural size
/// (EPS and DXF, which the engine renders from their vectors), and the most times larger.
bool RendersAtScale(const QString& loadName);
inline constexpr double kMaxRenderScale = CRDE_MAX_SCALE_PERMILLE / 1000.0;
/// Such a picture drawn `times` (1 to kMaxRenderScale) its natural size into `target`.
bool DecodeScaledBlob(const QByteArray& blob, int depth, bool dither, double times, TBitmap& target,
                      void* user = nullptr, ProgressCallback progress = nullptr);

/// How a detected picture is read: at depth 1 when it is monochrome, else at the read depth;
/// the reader's option is the TIFF page (from 0, a page past the last lowered to the last,
/// which `tiffPage` then holds) or the Photo CD mode.
struct ReadPlan {
    int depth = 24;
    int option = 0;
    bool monochrome = false;
    int tiffPage = 0;
};
ReadPlan PlanRead(const QString& loadName, const BlobInfo& info, int readDepth, int tiffPage,
                  int pcdMode);

} // namespace imaging
