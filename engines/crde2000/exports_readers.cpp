// SPDX-License-Identifier: MIT
// The imaging engine's readers and information exports, one set per row of the format list.
#include "engines/crde2000/dxf.h"
#include "engines/crde2000/eps.h"
#include "engines/crde2000/exports_support.h"
#include "engines/crde2000/format_rows.h"
#include "engines/crde2000/formats.h"
#include "engines/crde2000/info.h"

using namespace crde;

namespace {

// Any format the engine reads, by its leading bytes (for the file reader of any format).
std::int16_t DecodeAny(const std::uint8_t* d, std::size_t n, int option, HGLOBAL* dib) {
    const Format* format = DetectFormat(d, n);
    return format ? format->read(d, n, option, dib) : kErrNotThisFormat;
}

std::int16_t ReadDrawing(Decoder decode, const void* data, std::int32_t size, int depth, int dither,
                         HGLOBAL* bitmap, HGLOBAL* palette, void* user, CrdeProgress cb) {
    if (!bitmap)
        return kErrBadArgument;
    HGLOBAL dib = nullptr;
    const std::int16_t code = Decode(decode, data, size, depth, dither, 0, &dib, user, cb);
    return DrawingResult(code, dib, bitmap, palette);
}

// A vector picture drawn `permille` / 1000 its natural size: EPS through the renderer at
// that many times 72 dots per inch, DXF with its lines still one pixel wide.
std::int16_t ReadScaled(const std::uint8_t* d, std::size_t n, int permille, HGLOBAL* dib) {
    const double times = permille / 1000.0;
    if (IsEps(d, n))
        return ReadEpsAt(d, n, times, dib);
    if (IsDxf(d, n))
        return ReadDxfAt(d, n, times, dib);
    return kErrNotThisFormat;
}

} // namespace

// ---- Readers from memory, by read kind ----

#define CRDE_STREAM_READER_Jpeg(name, info)                                                        \
    CRDE_EXPORT std::int16_t name(const void* data, std::int32_t size, std::int16_t depth,         \
                                  std::int16_t, std::int16_t dither, HGLOBAL* dib, void*,          \
                                  void* user, CrdeProgress cb, std::int16_t) {                     \
        return Guard([&] {                                                                         \
            return Decode(FormatNamed(info).read, data, size, depth, dither, 0, dib, user, cb);    \
        });                                                                                        \
    }
#define CRDE_STREAM_READER_Palette(name, info)                                                     \
    CRDE_EXPORT std::int16_t name(const void* data, std::int32_t size, std::int16_t depth,         \
                                  std::int16_t dither, HGLOBAL* dib, void*, void* user,            \
                                  CrdeProgress cb, std::int16_t) {                                 \
        return Guard([&] {                                                                         \
            return Decode(FormatNamed(info).read, data, size, depth, dither, 0, dib, user, cb);    \
        });                                                                                        \
    }
#define CRDE_STREAM_READER_Plain(name, info)                                                       \
    CRDE_EXPORT std::int16_t name(const void* data, std::int32_t size, std::int16_t depth,         \
                                  std::int16_t dither, HGLOBAL* dib, void* user, CrdeProgress cb,  \
                                  std::int16_t) {                                                  \
        return Guard([&] {                                                                         \
            return Decode(FormatNamed(info).read, data, size, depth, dither, 0, dib, user, cb);    \
        });                                                                                        \
    }
#define CRDE_STREAM_READER_Page(name, info)                                                        \
    CRDE_EXPORT std::int16_t name(const void* data, std::int32_t size, std::int16_t depth,         \
                                  std::int16_t dither, std::int16_t option, HGLOBAL* dib,          \
                                  void* user, CrdeProgress cb, std::int16_t) {                     \
        return Guard([&] {                                                                         \
            return Decode(FormatNamed(info).read, data, size, depth, dither, option, dib, user,    \
                          cb);                                                                     \
        });                                                                                        \
    }
#define CRDE_STREAM_READER_Drawing(name, info)                                                     \
    CRDE_EXPORT std::int16_t name(const void* data, std::int32_t size, std::int16_t depth,         \
                                  std::int16_t dither, HGLOBAL* bitmap, HGLOBAL* palette,          \
                                  void* user, CrdeProgress cb, std::int16_t) {                     \
        return Guard([&] {                                                                         \
            return ReadDrawing(FormatNamed(info).read, data, size, depth, dither, bitmap, palette, \
                               user, cb);                                                          \
        });                                                                                        \
    }

// ---- Readers of files: every kind but drawings takes the option ----

#define CRDE_FILE_READER_ANY(name, decoder)                                                        \
    CRDE_EXPORT std::int16_t name(const char* file, std::int16_t depth, std::int16_t dither,       \
                                  std::int16_t option, HGLOBAL* dib, void* user, CrdeProgress cb,  \
                                  std::int16_t) {                                                  \
        return Guard(                                                                              \
            [&] { return ReadFileAs(decoder, file, depth, dither, option, dib, user, cb); });      \
    }
#define CRDE_FILE_READER_Jpeg(name, info) CRDE_FILE_READER_ANY(name, FormatNamed(info).read)
#define CRDE_FILE_READER_Palette(name, info) CRDE_FILE_READER_ANY(name, FormatNamed(info).read)
#define CRDE_FILE_READER_Plain(name, info) CRDE_FILE_READER_ANY(name, FormatNamed(info).read)
#define CRDE_FILE_READER_Page(name, info) CRDE_FILE_READER_ANY(name, FormatNamed(info).read)
#define CRDE_FILE_READER_Drawing(name, info)                                                       \
    CRDE_EXPORT std::int16_t name(const char* file, std::int16_t depth, std::int16_t dither,       \
                                  HGLOBAL* bitmap, HGLOBAL* palette, void* user, CrdeProgress cb,  \
                                  std::int16_t) {                                                  \
        return Guard([&] {                                                                         \
            Bytes bytes;                                                                           \
            if (!LoadFile(file, bytes))                                                            \
                return kErrCannotOpen;                                                             \
            return ReadDrawing(FormatNamed(info).read, bytes.data(),                               \
                               static_cast<std::int32_t>(bytes.size()), depth, dither, bitmap,     \
                               palette, user, cb);                                                 \
        });                                                                                        \
    }

#define CRDE_READERS(Stem, info, fuzz, fuzzMax, fuzzMode, streamReader, readKind, readLabel,       \
                     fileReader, fileWriter, streamWriter, writeKind, writeLabel, depthRule)       \
    CRDE_STREAM_READER_##readKind(streamReader, info) CRDE_FILE_READER_##readKind(fileReader, info)

VLMOR_FORMATS(CRDE_READERS)
CRDE_FILE_READER_ANY(readanyfiledib, DecodeAny)

// ---- A vector picture rendered again for a zoomed view or a printer ----

CRDE_EXPORT std::int16_t rdscaledstreamdib(const void* data, std::int32_t size, std::int16_t depth,
                                           std::int16_t dither, std::int32_t permille, HGLOBAL* dib,
                                           void* user, CrdeProgress cb) {
    return Guard(
        [&] { return Decode(ReadScaled, data, size, depth, dither, permille, dib, user, cb); });
}

// ---- Stream information ----

CRDE_EXPORT std::int16_t streaminfo(const void* data, std::int32_t size, char* format,
                                    std::int16_t* width, std::int16_t* height, std::int16_t* bits,
                                    std::int16_t* extraA, std::int16_t* extraB, char* compression,
                                    std::int16_t) {
    return Guard([&] {
        StreamFacts f;
        const std::int16_t code =
            size > 0 ? StreamInfo(static_cast<const std::uint8_t*>(data), std::size_t(size), &f)
                     : kErrBadArgument;
        return Facts(code, f, format, width, height, bits, extraA, extraB, compression);
    });
}
CRDE_EXPORT std::int16_t getinfostream(const void* data, std::int32_t size, std::int16_t page,
                                       std::int16_t* width, std::int16_t* height,
                                       std::int16_t* compression, std::int32_t*,
                                       std::int16_t* pages, std::int16_t* bits) {
    return Guard([&] {
        const std::int16_t code =
            size > 0 ? TiffFacts(static_cast<const std::uint8_t*>(data), std::size_t(size), page,
                                 width, height, compression, pages, bits)
                     : kErrBadArgument;
        return static_cast<std::int16_t>(code == kOk ? 0 : code);
    });
}
CRDE_EXPORT std::int16_t getdxfinfostream(const void* data, std::int32_t size, std::int16_t* width,
                                          std::int16_t* height, std::int16_t* bits) {
    return Guard([&] {
        DxfInfo info;
        const std::int16_t code =
            size > 0 ? DxfSize(static_cast<const std::uint8_t*>(data), std::size_t(size), &info)
                     : kErrBadArgument;
        if (code == kOk) {
            if (width)
                *width = static_cast<std::int16_t>(info.width);
            if (height)
                *height = static_cast<std::int16_t>(info.height);
            if (bits)
                *bits = 8;
        }
        return code;
    });
}

CRDE_EXPORT std::int16_t fileinfo(const char* file, char* format, std::int16_t* width,
                                  std::int16_t* height, std::int16_t* bits, std::int16_t* extraA,
                                  std::int16_t* extraB, char* compression, std::int16_t) {
    return Guard([&] {
        Bytes bytes;
        if (!LoadFile(file, bytes))
            return kErrCannotOpen;
        StreamFacts f;
        return Facts(StreamInfo(bytes.data(), bytes.size(), &f), f, format, width, height, bits,
                     extraA, extraB, compression);
    });
}
CRDE_EXPORT std::int16_t getinfo(const char* file, std::int16_t page, std::int16_t* width,
                                 std::int16_t* height, std::int16_t* compression, std::int32_t*,
                                 std::int16_t* pages, std::int16_t* bits) {
    return Guard([&] {
        Bytes bytes;
        if (!LoadFile(file, bytes))
            return kErrCannotOpen;
        const std::int16_t code =
            TiffFacts(bytes.data(), bytes.size(), page, width, height, compression, pages, bits);
        return static_cast<std::int16_t>(code == kOk ? 0 : code);
    });
}
CRDE_EXPORT std::int16_t getdxfinfo(const char* file, std::int16_t* width, std::int16_t* height,
                                    std::int16_t* bits) {
    return Guard([&] {
        Bytes bytes;
        if (!LoadFile(file, bytes))
            return kErrCannotOpen;
        return getdxfinfostream(bytes.data(), static_cast<std::int32_t>(bytes.size()), width,
                                height, bits);
    });
}
