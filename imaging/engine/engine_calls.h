// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/format_rows.h"
#include "imaging/bitmap.h"
#include "imaging/engine/engine_binding.h"

#include <QString>

class QWidget;

namespace imaging {

#define VLMOR_ENGINE_FORMAT(Stem, ...) Stem,
/// The picture formats the engine reads and writes, from the engine's format list.
enum class EngineFormat { VLMOR_FORMATS(VLMOR_ENGINE_FORMAT) };
#undef VLMOR_ENGINE_FORMAT

/// A format's reader from memory into a new DIB (the caller's). `option` is the TIFF page or
/// the Photo CD mode. Progress text "Reading " + "JPG Stream" and so on. A drawing comes as
/// its uncompressed DIB.
bool ReadStreamToDib(EngineFormat format, const void* data, std::int32_t size, int depth,
                     bool dither, int option, HGLOBAL* dib, void* user, ProgressCallback cb);
/// The same, then into the bitmap at that depth and dither; the DIB is always freed.
bool ReadStreamToBitmap(EngineFormat format, const void* data, std::int32_t size, int depth,
                        bool dither, int option, TBitmap& bitmap, void* user, ProgressCallback cb);
/// A drawing into the bitmap (its handle and palette).
bool ReadDxfStream(const void* data, std::int32_t size, int depth, bool dither, TBitmap& bitmap,
                   void* user, ProgressCallback cb);
/// An EPS or DXF picture drawn again `times` (1 to kMaxRenderScale) its natural size, at that depth
/// and dither: sharp when shown zoomed in or printed.
bool ReadScaledStream(const void* data, std::int32_t size, int depth, bool dither, double times,
                      TBitmap& bitmap, void* user, ProgressCallback cb);

/// What stream information reports.
struct StreamFacts {
    QString Format, Compression;
    std::int16_t Width = -1, Height = -1, BitsPerPixel = -1, ExtraA = -1, ExtraB = -1;
};
bool StreamInfo(const void* data, std::int32_t size, StreamFacts* info);
/// A TIFF page: the compression arrives as a code and is given back by its name.
struct TiffPageInfo {
    std::int16_t Width = 0, Height = 0, BitsPerPixel = 0, PageCount = 0;
    QString Compression;
};
bool GetInfoStream(const void* data, std::int32_t size, int page, TiffPageInfo* info);
bool GetDxfInfoStream(const void* data, std::int32_t size, std::int16_t* width,
                      std::int16_t* height, std::int16_t* bits);

/// Options of the writers; each format uses its own.
struct WriteOptions {
    int Depth = 24;
    int Quality = 75, Smoothing = 0; // JPEG
    bool Interlaced = false;         // PNG
    int Compression = 1;             // TIFF code
    bool Append = false;             // TIFF: a further page
    QString Label;                   // the file named in the progress text (the file's own)
};
/// Writes the bitmap through a DIB; raises ErrorInvalid "Input image is empty" for an empty
/// bitmap. Progress text "Writing " + the file name.
bool WriteBitmapFile(EngineFormat format, const QString& fileName, const WriteOptions& options,
                     const TBitmap& bitmap, void* user, ProgressCallback cb);
/// Into a buffer of *size bytes; *size becomes the count written.
bool WriteBitmapStream(EngineFormat format, void* buffer, std::int32_t* size,
                       const WriteOptions& options, const TBitmap& bitmap, void* user,
                       ProgressCallback cb);

/// Readers of files: a file of fewer than 30 bytes gives false without an engine call; a
/// file that cannot be opened raises the platform's file error.
bool ReadFileToDib(EngineFormat format, const QString& fileName, int depth, bool dither, int option,
                   HGLOBAL* dib, void* user, ProgressCallback cb);
bool ReadDxfFile(const QString& fileName, int depth, bool dither, TBitmap& bitmap, void* user,
                 ProgressCallback cb);
bool FileInfo(const QString& fileName, StreamFacts* info);
bool GetInfo(const QString& fileName, int page, TiffPageInfo* info);
bool GetDxfInfo(const QString& fileName, std::int16_t* width, std::int16_t* height,
                std::int16_t* bits);

/// TIFF tags ("number=value" lines) and pages.
bool ReadTag(const QString& fileName, int page, int tag, QString* value);
bool ReadTagStream(const void* data, std::int32_t size, int page, int tag, QString* value);
bool ReturnTags(const QString& fileName, int page, QString* text);
bool ReturnTagsStream(const void* data, std::int32_t size, int page, QString* text);
bool PackTiff(const QString& fileName);
bool PackTiffStream(const void* data, std::int32_t size, QByteArray* out);
bool DeletePage(const QString& fileName, int page);
bool DeletePageStream(const void* data, std::int32_t size, int page, QByteArray* out);
bool ReplaceTiffPage(const QString& fileName, int page, int compression, const TBitmap& bitmap);
bool ReplaceTiffPageStream(const void* data, std::int32_t size, int page, int compression,
                           const TBitmap& bitmap, QByteArray* out);

/// A depth converter of the engine ("DIB1to4" … "DIB32To24", "CopyDIB") on a DIB, locked
/// for the call: the new handle, or none.
HGLOBAL ConvertDib(const char* exportName, HGLOBAL dib);
/// The engine's "device bitmap" of a locked DIB: an uncompressed DIB and its colour table.
bool DibToDdb(const void* lockedDib, HGLOBAL* flatDib, HGLOBAL* colourTable);

/// Scanner calls; refused while one runs. Their dialogs open over `parent`.
/// SelectSource lets the user choose among the scanners found and keeps the choice in the
/// scanner settings file; AcquireDibImage scans from that scanner after its settings dialog.
/// Both succeed at 0 or more (0: the user cancelled, no DIB).
bool SelectSource(QWidget* parent);
bool AcquireDibImage(QWidget* parent, int depth, bool dither, HGLOBAL* dib, void* user,
                     ProgressCallback cb);

} // namespace imaging
