// SPDX-License-Identifier: MIT
#pragma once

// What the engine call families share: the format entries from the engine's format list,
// the file checks and the DIB hand-over rules.

#include "imaging/bitmap.h"
#include "imaging/dib/dib.h"
#include "imaging/dib/dib_convert.h"
#include "imaging/engine/engine_binding.h"
#include "imaging/engine/engine_calls.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace imaging::calls {

using Success = EngineBinding::Success;

inline EngineBinding& Engine() {
    return EngineBinding::Instance();
}

// How a reader from memory takes its options, and how a writer does.
enum class ReadKind { Jpeg, Palette, Plain, Page, Drawing };
enum class WriteKind { None, Depth, DepthFile, Jpeg, Png, Tiff, Tga };

// A format's exports and progress labels; no export is null.
struct FormatEntry {
    const char* read;
    ReadKind readKind;
    const char* readLabel;
    const char* writeFile;
    const char* writeStream;
    WriteKind writeKind;
    const char* writeLabel;
    const char* readFile;
};

const FormatEntry& Entry(EngineFormat format);

QString Label(const char* prefix, const char* label);

/// The file check of every file reader: opened for reading (else the platform's file error)
/// and at least 30 bytes long.
bool FileLongEnough(const QString& fileName);
QByteArray FileNameBytes(const QString& fileName);

/// The DIB a writer gets: "Input image is empty" when there is none worth writing.
HGLOBAL DibForWriting(const TBitmap& bitmap);

/// Runs the DIB writer and frees the DIB in every case. A bitmap that shows a DIB's rows where
/// they lie is written from that DIB itself (the writers only read it): no copy.
template <class Write> bool WithDib(const TBitmap& bitmap, Write write) {
    if (HGLOBAL shown = AdoptedDibOf(bitmap))
        return write(shown);
    HGLOBAL dib = DibForWriting(bitmap);
    bool ok = false;
    try {
        ok = write(dib);
    } catch (...) {
        FreeDib(dib);
        throw;
    }
    FreeDib(dib);
    return ok;
}

/// The DIB goes to the bitmap (which may keep its pixels) or is freed: never left behind.
bool ResultToBitmap(bool ok, HGLOBAL dib, int depth, bool dither, TBitmap& bitmap, void* user,
                    ProgressCallback cb);
/// The drawing readers hand back an uncompressed DIB and its colour table.
bool DrawingToBitmap(bool ok, HGLOBAL dib, HGLOBAL table, TBitmap& bitmap);

QString TextResult(const std::vector<char>& buffer);
bool ToByteArray(const std::vector<char>& buffer, std::int32_t size, QByteArray* out);

} // namespace imaging::calls
