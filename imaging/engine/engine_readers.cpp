// SPDX-License-Identifier: MIT
// Readers and information calls of the imaging engine, from memory and from files.
#include "imaging/engine/engine_calls.h"

#include "imaging/dib/dib.h"
#include "imaging/engine/engine_call_support.h"
#include "imaging/engine/shared_tables.h"

#include <cmath>

namespace imaging {

using namespace calls;

bool ReadStreamToDib(EngineFormat format, const void* data, std::int32_t size, int depth,
                     bool dither, int option, HGLOBAL* dib, void* user, ProgressCallback cb) {
    const FormatEntry& e = Entry(format);
    const auto d = static_cast<std::int16_t>(depth);
    const std::int16_t di = dither ? 1 : 0;
    const auto o = static_cast<std::int16_t>(option);
    const QString progress = Label("Reading ", e.readLabel);
    switch (e.readKind) {
    case ReadKind::Jpeg:
        return Engine().Invoke<CrdeReadJpegStream>(
            e.read, progress, Success::AtLeastOne,
            [&](auto f) { return f(data, size, d, 1, di, dib, nullptr, user, cb, 0); });
    case ReadKind::Palette:
        return Engine().Invoke<CrdeReadStreamPal>(
            e.read, progress, Success::AtLeastOne,
            [&](auto f) { return f(data, size, d, di, dib, nullptr, user, cb, 0); });
    case ReadKind::Plain:
        return Engine().Invoke<CrdeReadStream>(e.read, progress, Success::AtLeastOne, [&](auto f) {
            return f(data, size, d, di, dib, user, cb, 0);
        });
    case ReadKind::Page:
        return Engine().Invoke<CrdeReadStreamPage>(
            e.read, progress, Success::AtLeastOne,
            [&](auto f) { return f(data, size, d, di, o, dib, user, cb, 0); });
    case ReadKind::Drawing: {
        HGLOBAL table = nullptr;
        const bool ok = Engine().Invoke<CrdeReadDrawingStream>(
            e.read, progress, Success::AtLeastOne,
            [&](auto f) { return f(data, size, d, di, dib, &table, user, cb, 0); });
        FreeDib(table); // the colour table is also the DIB's own
        return ok;
    }
    }
    return false;
}

bool ReadStreamToBitmap(EngineFormat format, const void* data, std::int32_t size, int depth,
                        bool dither, int option, TBitmap& bitmap, void* user, ProgressCallback cb) {
    HGLOBAL dib = nullptr;
    const bool ok = ReadStreamToDib(format, data, size, depth, dither, option, &dib, user, cb);
    return ResultToBitmap(ok, dib, depth, dither, bitmap, user, cb);
}

bool ReadDxfStream(const void* data, std::int32_t size, int depth, bool dither, TBitmap& bitmap,
                   void* user, ProgressCallback cb) {
    HGLOBAL dib = nullptr, table = nullptr;
    const FormatEntry& dxf = Entry(EngineFormat::Dxf);
    const bool ok = Engine().Invoke<CrdeReadDrawingStream>(
        dxf.read, Label("Reading ", dxf.readLabel), Success::AtLeastOne, [&](auto f) {
            return f(data, size, static_cast<std::int16_t>(depth), dither ? 1 : 0, &dib, &table,
                     user, cb, 0);
        });
    return DrawingToBitmap(ok, dib, table, bitmap);
}

bool ReadScaledStream(const void* data, std::int32_t size, int depth, bool dither, double times,
                      TBitmap& bitmap, void* user, ProgressCallback cb) {
    HGLOBAL dib = nullptr;
    const auto permille = static_cast<std::int32_t>(std::lround(times * 1000));
    const bool ok = Engine().Invoke<CrdeReadScaledStream>(
        "rdscaledstreamdib", Engine().ProgressText(), Success::AtLeastOne, [&](auto f) {
            return f(data, size, static_cast<std::int16_t>(depth), dither ? 1 : 0, permille, &dib,
                     user, cb);
        });
    return ResultToBitmap(ok, dib, depth, dither, bitmap, user, cb);
}

bool StreamInfo(const void* data, std::int32_t size, StreamFacts* info) {
    char format[6] = {};
    char compression[511] = {};
    StreamFacts r;
    const bool ok = Engine().Invoke<CrdeStreamInfo>(
        "streaminfo", Engine().ProgressText(), Success::AtLeastOne, [&](auto f) {
            return f(data, size, format, &r.Width, &r.Height, &r.BitsPerPixel, &r.ExtraA, &r.ExtraB,
                     compression, 0);
        });
    if (ok) {
        r.Format = QString::fromLatin1(format);
        r.Compression = QString::fromLatin1(compression);
        *info = r;
    }
    return ok;
}

bool GetInfoStream(const void* data, std::int32_t size, int page, TiffPageInfo* info) {
    std::int16_t compression = 0;
    std::int32_t unused = 0;
    TiffPageInfo r;
    const bool ok = Engine().Invoke<CrdeTiffInfoStream>(
        "getinfostream", Engine().ProgressText(), Success::ZeroOrMoreNoError, [&](auto f) {
            return f(data, size, static_cast<std::int16_t>(page), &r.Width, &r.Height, &compression,
                     &unused, &r.PageCount, &r.BitsPerPixel);
        });
    if (ok) {
        r.Compression = TiffCompressionName(compression);
        *info = r;
    }
    return ok;
}

bool GetDxfInfoStream(const void* data, std::int32_t size, std::int16_t* width,
                      std::int16_t* height, std::int16_t* bits) {
    return Engine().Invoke<CrdeDrawingInfoStream>(
        "getdxfinfostream", Engine().ProgressText(), Success::AtLeastOne,
        [&](auto f) { return f(data, size, width, height, bits); });
}

bool ReadFileToDib(EngineFormat format, const QString& fileName, int depth, bool dither, int option,
                   HGLOBAL* dib, void* user, ProgressCallback cb) {
    if (!FileLongEnough(fileName))
        return false;
    const QByteArray name = FileNameBytes(fileName);
    return Engine().Invoke<CrdeReadFile>(
        Entry(format).readFile, QStringLiteral("Reading ") + fileName, Success::AtLeastOne,
        [&](auto f) {
            return f(name.constData(), static_cast<std::int16_t>(depth), dither ? 1 : 0,
                     static_cast<std::int16_t>(option), dib, user, cb, 0);
        });
}

bool ReadDxfFile(const QString& fileName, int depth, bool dither, TBitmap& bitmap, void* user,
                 ProgressCallback cb) {
    if (!FileLongEnough(fileName))
        return false;
    const QByteArray name = FileNameBytes(fileName);
    HGLOBAL dib = nullptr, table = nullptr;
    const bool ok = Engine().Invoke<CrdeReadDrawingFile>(
        Entry(EngineFormat::Dxf).readFile, QStringLiteral("Reading ") + fileName,
        Success::AtLeastOne, [&](auto f) {
            return f(name.constData(), static_cast<std::int16_t>(depth), dither ? 1 : 0, &dib,
                     &table, user, cb, 0);
        });
    return DrawingToBitmap(ok, dib, table, bitmap);
}

bool FileInfo(const QString& fileName, StreamFacts* info) {
    if (!FileLongEnough(fileName))
        return false;
    const QByteArray name = FileNameBytes(fileName);
    char format[6] = {};
    char compression[511] = {};
    StreamFacts r;
    const bool ok = Engine().Invoke<CrdeFileInfo>(
        "fileinfo", QStringLiteral("Reading ") + fileName, Success::AtLeastOne, [&](auto f) {
            return f(name.constData(), format, &r.Width, &r.Height, &r.BitsPerPixel, &r.ExtraA,
                     &r.ExtraB, compression, 0);
        });
    if (ok) {
        r.Format = QString::fromLatin1(format);
        r.Compression = QString::fromLatin1(compression);
        *info = r;
    }
    return ok;
}

bool GetInfo(const QString& fileName, int page, TiffPageInfo* info) {
    if (!FileLongEnough(fileName))
        return false;
    const QByteArray name = FileNameBytes(fileName);
    std::int16_t compression = 0;
    std::int32_t unused = 0;
    TiffPageInfo r;
    const bool ok = Engine().Invoke<CrdeTiffInfoFile>(
        "getinfo", QStringLiteral("Reading ") + fileName, Success::ZeroOrMoreNoError, [&](auto f) {
            return f(name.constData(), static_cast<std::int16_t>(page), &r.Width, &r.Height,
                     &compression, &unused, &r.PageCount, &r.BitsPerPixel);
        });
    if (ok) {
        r.Compression = TiffCompressionName(compression);
        *info = r;
    }
    return ok;
}

bool GetDxfInfo(const QString& fileName, std::int16_t* width, std::int16_t* height,
                std::int16_t* bits) {
    if (!FileLongEnough(fileName))
        return false;
    const QByteArray name = FileNameBytes(fileName);
    return Engine().Invoke<CrdeDrawingInfoFile>(
        "getdxfinfo", QStringLiteral("Reading ") + fileName, Success::AtLeastOne,
        [&](auto f) { return f(name.constData(), width, height, bits); });
}

} // namespace imaging
