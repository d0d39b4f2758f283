// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/image_types.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace imaging {

/// The result of the last detection of a picture blob.
struct BlobInfo {
    QString BlobFormat;
    std::int32_t BlobWidth = 0, BlobHeight = 0;
    std::int16_t BlobBitsPerPixel = 0, BlobExtraA = 0, BlobExtraB = 0;
    std::int32_t BlobSize = 0;
    QString BlobCompression;
    std::int16_t TiffPageCount = 0;

    /// What a record change leaves: names emptied, numbers zeroed, the page count kept.
    void Clear();
};

/// The outcome of a detection: the load name ("-1", "WMF", "SCM", "CMS", "DXF", "RTF", "PNG",
/// "GIF", "PCX", "TGA", "EPS", "JPG", "PCD", "BMP", "TIF"), and whether an engine error is to
/// be reported (its text is the binding's last error).
struct Detection {
    QString loadName = QStringLiteral("-1");
    bool engineError = false;
};

/// The 8-byte header a record source writes before picture data: count 1, type 256, then
/// the length of what follows, which must be the blob's size less 8. The offset of the data.
int GraphicHeaderOffset(const QByteArray& blob);
/// The blob's length as the engine's calls take it (a 32-bit count, clamped).
std::int32_t EngineLength(const QByteArray& blob);

/// What the first bytes alone tell: "WMF" (either kind of metafile), "SCM", "CMS", "DXF" or
/// "RTF"; empty for any other picture, which only the engine's stream information names.
QString LoadNameByFirstBytes(const QByteArray& blob);

/// Detects what a non-null blob holds and fills `info`: metafiles, the two credit messages,
/// drawings and rich text by their first bytes, every other picture through the engine's
/// stream information (a TIFF's page facts for `tiffPage`). An empty blob is an engine error
/// "Error allocation Temporary blob memory".
Detection DetectBlob(const QByteArray& blob, int tiffPage, BlobInfo& info, int pixelsPerInch = 96);

/// The depth a reader is asked for: from the read resolution, or from the screen's depth.
int ReadDepth(TLoadResolution resolution, int screenBitsPerPixel);
/// A picture of fewer than 4 bits (3 for GIF) is decoded into a monochrome bitmap at depth 1.
bool DecodesMonochrome(const QString& loadName, int blobBitsPerPixel);

} // namespace imaging
