// SPDX-License-Identifier: MIT
// The imaging engine's entry points. Each one catches everything: no exception leaves the
// module; an unexpected failure is reported as kErrInternal.
#include "engines/crde2000/bmp.h"
#include "engines/crde2000/codes.h"
#include "engines/crde2000/crde2000.h"
#include "engines/crde2000/depth.h"
#include "engines/crde2000/dxf.h"
#include "engines/crde2000/eps.h"
#include "engines/crde2000/gif.h"
#include "engines/crde2000/info.h"
#include "engines/crde2000/jpeg.h"
#include "engines/crde2000/pcd.h"
#include "engines/crde2000/pcx.h"
#include "engines/crde2000/png.h"
#include "engines/crde2000/tga.h"
#include "engines/crde2000/tiff.h"

#include <cstdio>
#include <cstring>
#include <string>

#define CRDE_EXPORT extern "C" __attribute__((visibility("default")))

namespace crde {

namespace {

template <class F> std::int16_t Guard(F f) {
    try {
        return f();
    } catch (...) {
        return kErrInternal;
    }
}

// Reports the start and the end of an operation; false when the caller asked to stop.
bool Report(CrdeProgress cb, void* user, int percent) {
    return !cb || cb(static_cast<std::int16_t>(percent), user) != 0;
}

using Decoder = std::int16_t (*)(const std::uint8_t*, std::size_t, int option, HGLOBAL*);

std::int16_t Decode(Decoder decode, const void* data, std::int32_t size, int depth, int dither,
                    int option, HGLOBAL* dib, void* user, CrdeProgress cb) {
    if (!dib)
        return kErrBadArgument;
    *dib = nullptr;
    if (!data || size <= 0)
        return kErrBadArgument;
    if (!Report(cb, user, 0))
        return kErrCancelled;
    HGLOBAL out = nullptr;
    std::int16_t code =
        decode(static_cast<const std::uint8_t*>(data), std::size_t(size), option, &out);
    if (code == kOk && (code = ApplyReadDepth(&out, depth, dither != 0)) == kOk &&
        !Report(cb, user, 100))
        code = kErrCancelled;
    if (code != kOk) {
        GlobalFree(out);
        return code;
    }
    *dib = out;
    return kOk;
}

template <std::int16_t (*Read)(const std::uint8_t*, std::size_t, HGLOBAL*)>
std::int16_t NoOption(const std::uint8_t* d, std::size_t n, int, HGLOBAL* dib) {
    return Read(d, n, dib);
}

bool LoadFile(const char* name, Bytes& out) {
    if (!name)
        return false;
    std::FILE* f = std::fopen(name, "rb");
    if (!f)
        return false;
    out.clear();
    std::uint8_t chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        out.insert(out.end(), chunk, chunk + n);
    std::fclose(f);
    return out.size() <= 0x7FFFFFFF;
}

bool SaveFile(const char* name, const Bytes& bytes) {
    if (!name || std::strlen(name) > 510)
        return false;
    std::FILE* f = std::fopen(name, "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

std::int16_t ToBuffer(const Bytes& bytes, void* buffer, std::int32_t* size) {
    if (!buffer || !size || *size < 0)
        return kErrBadArgument;
    if (bytes.size() > static_cast<std::size_t>(*size))
        return kErrBufferTooSmall;
    std::memcpy(buffer, bytes.data(), bytes.size());
    *size = static_cast<std::int32_t>(bytes.size());
    return kOk;
}

// The depth each writer stores: 0 keeps the picture's own (16 and 32 bits become 24).
enum class Target { Any, UpTo8, Tga, Jpeg, OneBit };

int WriteDepth(Target target, int asked, int own) {
    int bits = asked == 0 ? own : asked;
    if (bits != 1 && bits != 4 && bits != 8)
        bits = 24;
    switch (target) {
    case Target::UpTo8:
        return bits == 24 ? 8 : bits;
    case Target::Tga:
        return bits <= 8 ? 8 : 24;
    case Target::OneBit:
        return 1;
    case Target::Jpeg:
        return asked == 1 || asked == 8 || (asked == 0 && own <= 8) ? 8 : 24;
    default:
        return bits;
    }
}

using Encoder = std::int16_t (*)(const DibView&, const void* options, Bytes&);

// Brings the DIB to the writer's depth and encodes it.
std::int16_t Encode(HGLOBAL dib, Target target, int depth, const void* options, Encoder encode,
                    Bytes& out, void* user, CrdeProgress cb) {
    if (!Report(cb, user, 0))
        return kErrCancelled;
    DibView source(dib);
    if (!source.Valid())
        return kErrBadArgument;
    HGLOBAL expanded = nullptr;
    if (source.Compression() == 1 || source.Compression() == 2)
        if (std::int16_t code = ExpandRle(source, &expanded); code != kOk)
            return code;
    DibView flat(expanded ? expanded : dib);
    const int bits = WriteDepth(target, depth, flat.Bits());
    std::int16_t code;
    if (bits == flat.Bits() && flat.Compression() == 0) {
        code = encode(flat, options, out);
    } else {
        HGLOBAL converted = nullptr;
        code = ConvertDepth(flat, bits, true, &converted);
        if (code == kOk) {
            DibView view(converted);
            code = encode(view, options, out);
        }
        GlobalFree(converted);
    }
    GlobalFree(expanded);
    if (code == kOk && !Report(cb, user, 100))
        code = kErrCancelled;
    return code;
}

struct JpegOptions {
    int quality, smoothing;
    bool grey;
};
struct TgaOptions {
    bool rle;
};
struct PngOptions {
    bool interlaced;
};
struct TiffOptions {
    int compression;
    Bytes* file;
};

std::int16_t EncodeBmp(const DibView& d, const void*, Bytes& out) {
    return WriteBmp(d, out);
}
std::int16_t EncodePcx(const DibView& d, const void*, Bytes& out) {
    return WritePcx(d, out);
}
std::int16_t EncodeGif(const DibView& d, const void*, Bytes& out) {
    return WriteGif(d, out);
}
std::int16_t EncodeEps(const DibView& d, const void*, Bytes& out) {
    return WriteEps(d, out);
}
std::int16_t EncodeTga(const DibView& d, const void* o, Bytes& out) {
    return WriteTga(d, static_cast<const TgaOptions*>(o)->rle, out);
}
std::int16_t EncodePng(const DibView& d, const void* o, Bytes& out) {
    return WritePng(d, static_cast<const PngOptions*>(o)->interlaced, out);
}
std::int16_t EncodeJpeg(const DibView& d, const void* o, Bytes& out) {
    const auto* j = static_cast<const JpegOptions*>(o);
    return WriteJpeg(d, j->quality, j->smoothing, j->grey, out);
}
std::int16_t EncodeTiff(const DibView& d, const void* o, Bytes& out) {
    const auto* t = static_cast<const TiffOptions*>(o);
    std::int16_t code = WriteTiff(d, t->compression, *t->file);
    out = *t->file;
    return code;
}

std::int16_t WriteFileWith(const char* file, HGLOBAL dib, Target target, int depth,
                           const void* options, Encoder encode, void* user, CrdeProgress cb) {
    if (!file || std::strlen(file) > 510)
        return kErrBadArgument;
    Bytes out;
    std::int16_t code = Encode(dib, target, depth, options, encode, out, user, cb);
    if (code == kOk && !SaveFile(file, out))
        code = kErrCannotWrite;
    return code;
}

std::int16_t WriteStreamWith(void* buffer, std::int32_t* size, HGLOBAL dib, Target target,
                             int depth, const void* options, Encoder encode, void* user,
                             CrdeProgress cb) {
    Bytes out;
    std::int16_t code = Encode(dib, target, depth, options, encode, out, user, cb);
    return code == kOk ? ToBuffer(out, buffer, size) : code;
}

Target TiffTarget(int compression) {
    return compression >= 2 && compression <= 4 ? Target::OneBit : Target::Any;
}

// Copies the facts into the caller's fixed-size fields.
std::int16_t Facts(std::int16_t code, const StreamFacts& f, char* format, std::int16_t* width,
                   std::int16_t* height, std::int16_t* bits, std::int16_t* extraA,
                   std::int16_t* extraB, char* compression) {
    if (code != kOk)
        return code;
    auto clamp16 = [](std::int64_t v) {
        return static_cast<std::int16_t>(v > 32767 ? 32767 : v < -32768 ? -32768 : v);
    };
    if (format)
        std::snprintf(format, 6, "%s", f.format.c_str());
    if (compression)
        std::snprintf(compression, 511, "%s", f.compression.c_str());
    if (width)
        *width = clamp16(f.width);
    if (height)
        *height = clamp16(f.height);
    if (bits)
        *bits = clamp16(f.bits);
    if (extraA)
        *extraA = clamp16(f.extraA);
    if (extraB)
        *extraB = clamp16(f.extraB);
    return kOk;
}

std::int16_t TiffFacts(const std::uint8_t* data, std::size_t size, int page, std::int16_t* width,
                       std::int16_t* height, std::int16_t* compression, std::int16_t* pages,
                       std::int16_t* bits) {
    TiffInfo info;
    const std::int16_t code = TiffPageInfo(data, size, page, &info);
    if (code != kOk)
        return code;
    if (width)
        *width = static_cast<std::int16_t>(std::min<std::int64_t>(info.width, 32767));
    if (height)
        *height = static_cast<std::int16_t>(std::min<std::int64_t>(info.height, 32767));
    if (compression)
        *compression = static_cast<std::int16_t>(info.compression);
    if (pages)
        *pages = static_cast<std::int16_t>(std::min(info.pages, 32767));
    if (bits)
        *bits = static_cast<std::int16_t>(info.bits);
    return kOk;
}

std::int16_t DrawingResult(std::int16_t code, HGLOBAL dib, HGLOBAL* bitmap, HGLOBAL* palette) {
    if (code != kOk)
        return code;
    *bitmap = dib;
    if (palette) {
        *palette = nullptr;
        DibView view(dib);
        if (view.Colours()) {
            HGLOBAL table = GlobalAlloc(GHND, 4 * std::size_t(view.Colours()));
            if (table) {
                std::memcpy(GlobalLock(table), view.Colour(0), 4 * std::size_t(view.Colours()));
                GlobalUnlock(table);
            }
            *palette = table;
        }
    }
    return kOk;
}

std::int16_t DecodeDxf(const std::uint8_t* d, std::size_t n, int, HGLOBAL* dib) {
    return ReadDxf(d, n, dib);
}
std::int16_t DecodeTiff(const std::uint8_t* d, std::size_t n, int page, HGLOBAL* dib) {
    return ReadTiff(d, n, page, dib);
}
std::int16_t DecodePcd(const std::uint8_t* d, std::size_t n, int mode, HGLOBAL* dib) {
    return ReadPcd(d, n, mode, dib);
}

// Any format the engine reads, by its leading bytes (for the file readers).
std::int16_t DecodeAny(const std::uint8_t* d, std::size_t n, int option, HGLOBAL* dib) {
    StreamFacts facts;
    if (std::int16_t code = StreamInfo(d, n, &facts); code != kOk)
        return code;
    const std::string& f = facts.format;
    if (f == "BMP")
        return ReadBmp(d, n, dib);
    if (f == "PNG")
        return ReadPng(d, n, dib);
    if (f == "GIF")
        return ReadGif(d, n, dib);
    if (f == "JPEG")
        return ReadJpeg(d, n, dib);
    if (f == "TIFF")
        return ReadTiff(d, n, option, dib);
    if (f == "PCX")
        return ReadPcx(d, n, dib);
    if (f == "TGA")
        return ReadTga(d, n, dib);
    if (f == "EPS")
        return ReadEps(d, n, dib);
    if (f == "PCD")
        return ReadPcd(d, n, option, dib);
    if (f == "DXF")
        return ReadDxf(d, n, dib);
    return kErrNotThisFormat;
}

std::int16_t ReadFileAs(Decoder decode, const char* file, int depth, int dither, int option,
                        HGLOBAL* dib, void* user, CrdeProgress cb) {
    Bytes bytes;
    if (!LoadFile(file, bytes))
        return kErrCannotOpen;
    return Decode(decode, bytes.data(), static_cast<std::int32_t>(bytes.size()), depth, dither,
                  option, dib, user, cb);
}

std::int16_t CopyText(const std::string& text, char* out, std::int32_t capacity) {
    if (!out || capacity <= 0)
        return kErrBadArgument;
    if (text.size() + 1 > static_cast<std::size_t>(capacity))
        return kErrBufferTooSmall;
    std::memcpy(out, text.c_str(), text.size() + 1);
    return kOk;
}

std::int16_t TagValue(const std::uint8_t* data, std::size_t size, int page, std::int32_t tag,
                      char* value, std::int32_t capacity) {
    std::string all;
    if (std::int16_t code = TiffTags(data, size, page, &all); code != kOk)
        return code;
    const std::string key = std::to_string(tag) + "=";
    std::size_t at = 0;
    while (at < all.size()) {
        const std::size_t end = all.find('\n', at);
        const std::string line = all.substr(at, end - at);
        if (line.compare(0, key.size(), key) == 0)
            return CopyText(line.substr(key.size()), value, capacity);
        at = end == std::string::npos ? all.size() : end + 1;
    }
    return kErrNotThisFormat;
}

// Replaces a file by a rewritten TIFF.
template <class Rewrite> std::int16_t RewriteFile(const char* file, Rewrite rewrite) {
    Bytes in, out;
    if (!LoadFile(file, in))
        return kErrCannotOpen;
    std::int16_t code = rewrite(in, out);
    if (code == kOk && !SaveFile(file, out))
        code = kErrCannotWrite;
    return code;
}

HGLOBAL Converted(const void* locked, int bits) {
    DibView view(locked);
    HGLOBAL out = nullptr;
    return Promote(view, bits, &out) == kOk ? out : nullptr;
}

} // namespace

} // namespace crde

using namespace crde;

// ---- Readers from memory ----

CRDE_EXPORT std::int16_t rdjpgstreamdib(const void* data, std::int32_t size, std::int16_t depth,
                                        std::int16_t, std::int16_t dither, HGLOBAL* dib, void*,
                                        void* user, CrdeProgress cb, std::int16_t) {
    return Guard(
        [&] { return Decode(NoOption<ReadJpeg>, data, size, depth, dither, 0, dib, user, cb); });
}
CRDE_EXPORT std::int16_t rdbmpstreamdib(const void* data, std::int32_t size, std::int16_t depth,
                                        std::int16_t dither, HGLOBAL* dib, void*, void* user,
                                        CrdeProgress cb, std::int16_t) {
    return Guard(
        [&] { return Decode(NoOption<ReadBmp>, data, size, depth, dither, 0, dib, user, cb); });
}
CRDE_EXPORT std::int16_t rdpngstreamdib(const void* data, std::int32_t size, std::int16_t depth,
                                        std::int16_t dither, HGLOBAL* dib, void*, void* user,
                                        CrdeProgress cb, std::int16_t) {
    return Guard(
        [&] { return Decode(NoOption<ReadPng>, data, size, depth, dither, 0, dib, user, cb); });
}
CRDE_EXPORT std::int16_t rdpcxstreamdib(const void* data, std::int32_t size, std::int16_t depth,
                                        std::int16_t dither, HGLOBAL* dib, void*, void* user,
                                        CrdeProgress cb, std::int16_t) {
    return Guard(
        [&] { return Decode(NoOption<ReadPcx>, data, size, depth, dither, 0, dib, user, cb); });
}
CRDE_EXPORT std::int16_t rdgifstreamdib(const void* data, std::int32_t size, std::int16_t depth,
                                        std::int16_t dither, HGLOBAL* dib, void*, void* user,
                                        CrdeProgress cb, std::int16_t) {
    return Guard(
        [&] { return Decode(NoOption<ReadGif>, data, size, depth, dither, 0, dib, user, cb); });
}
CRDE_EXPORT std::int16_t readtgafilestreamdib(const void* data, std::int32_t size,
                                              std::int16_t depth, std::int16_t dither, HGLOBAL* dib,
                                              void* user, CrdeProgress cb, std::int16_t) {
    return Guard(
        [&] { return Decode(NoOption<ReadTga>, data, size, depth, dither, 0, dib, user, cb); });
}
CRDE_EXPORT std::int16_t readepsfiledibstream(const void* data, std::int32_t size,
                                              std::int16_t depth, std::int16_t dither, HGLOBAL* dib,
                                              void* user, CrdeProgress cb, std::int16_t) {
    return Guard(
        [&] { return Decode(NoOption<ReadEps>, data, size, depth, dither, 0, dib, user, cb); });
}
CRDE_EXPORT std::int16_t readtiffiledibstream(const void* data, std::int32_t size,
                                              std::int16_t depth, std::int16_t dither,
                                              std::int16_t page, HGLOBAL* dib, void* user,
                                              CrdeProgress cb, std::int16_t) {
    return Guard(
        [&] { return Decode(DecodeTiff, data, size, depth, dither, page, dib, user, cb); });
}
CRDE_EXPORT std::int16_t readpcdfiledibstream(const void* data, std::int32_t size,
                                              std::int16_t depth, std::int16_t dither,
                                              std::int16_t mode, HGLOBAL* dib, void* user,
                                              CrdeProgress cb, std::int16_t) {
    return Guard([&] { return Decode(DecodePcd, data, size, depth, dither, mode, dib, user, cb); });
}
CRDE_EXPORT std::int16_t readdxftoddbstream(const void* data, std::int32_t size, std::int16_t depth,
                                            std::int16_t dither, HGLOBAL* bitmap, HGLOBAL* palette,
                                            void* user, CrdeProgress cb, std::int16_t) {
    return Guard([&] {
        if (!bitmap)
            return kErrBadArgument;
        HGLOBAL dib = nullptr;
        const std::int16_t code = Decode(DecodeDxf, data, size, depth, dither, 0, &dib, user, cb);
        return DrawingResult(code, dib, bitmap, palette);
    });
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

// ---- Writers to files ----

CRDE_EXPORT std::int16_t wrbmpfiledib(const char* file, std::int16_t depth, HGLOBAL dib, void* user,
                                      CrdeProgress cb, std::int16_t) {
    return Guard(
        [&] { return WriteFileWith(file, dib, Target::Any, depth, nullptr, EncodeBmp, user, cb); });
}
CRDE_EXPORT std::int16_t wrpcxfiledib(const char* file, std::int16_t depth, HGLOBAL dib, void* user,
                                      CrdeProgress cb, std::int16_t) {
    return Guard(
        [&] { return WriteFileWith(file, dib, Target::Any, depth, nullptr, EncodePcx, user, cb); });
}
CRDE_EXPORT std::int16_t wrgiffiledib(const char* file, std::int16_t depth, HGLOBAL dib, void* user,
                                      CrdeProgress cb, std::int16_t) {
    return Guard([&] {
        return WriteFileWith(file, dib, Target::UpTo8, depth, nullptr, EncodeGif, user, cb);
    });
}
CRDE_EXPORT std::int16_t writeepsfiledib(const char* file, std::int16_t depth, HGLOBAL dib,
                                         void* user, CrdeProgress cb, std::int16_t) {
    return Guard(
        [&] { return WriteFileWith(file, dib, Target::Any, depth, nullptr, EncodeEps, user, cb); });
}
CRDE_EXPORT std::int16_t writetgafiledib(const char* file, std::int16_t depth, std::int16_t rle,
                                         std::int16_t, HGLOBAL dib, void* user, CrdeProgress cb,
                                         std::int16_t) {
    return Guard([&] {
        const TgaOptions o{rle != 0};
        return WriteFileWith(file, dib, Target::Tga, depth, &o, EncodeTga, user, cb);
    });
}
CRDE_EXPORT std::int16_t wrjpgfiledib(const char* file, std::int16_t quality,
                                      std::int16_t smoothing, std::int16_t depth, HGLOBAL dib,
                                      void* user, CrdeProgress cb, std::int16_t) {
    return Guard([&] {
        const JpegOptions o{quality, smoothing,
                            WriteDepth(Target::Jpeg, depth, DibView(dib).Bits()) == 8};
        return WriteFileWith(file, dib, Target::Jpeg, depth, &o, EncodeJpeg, user, cb);
    });
}
CRDE_EXPORT std::int16_t wrpngfiledib(const char* file, std::int16_t depth, std::int16_t interlaced,
                                      HGLOBAL dib, void* user, CrdeProgress cb, std::int16_t) {
    return Guard([&] {
        const PngOptions o{interlaced != 0};
        return WriteFileWith(file, dib, Target::Any, depth, &o, EncodePng, user, cb);
    });
}
CRDE_EXPORT std::int16_t writetiffiledib(const char* file, std::int16_t compression,
                                         std::int16_t depth, std::int16_t append, HGLOBAL dib,
                                         void* user, CrdeProgress cb, std::int16_t) {
    return Guard([&] {
        const int c = static_cast<std::uint16_t>(compression);
        Bytes existing;
        if (append && file && !LoadFile(file, existing))
            existing.clear(); // nothing to append to: a new file
        const TiffOptions o{c, &existing};
        return WriteFileWith(file, dib, TiffTarget(c), depth, &o, EncodeTiff, user, cb);
    });
}

// ---- Writers to memory ----

CRDE_EXPORT std::int16_t wrbmpstreamdib(void* buffer, std::int32_t* size, std::int16_t depth,
                                        HGLOBAL dib, void* user, CrdeProgress cb, std::int16_t) {
    return Guard([&] {
        return WriteStreamWith(buffer, size, dib, Target::Any, depth, nullptr, EncodeBmp, user, cb);
    });
}
CRDE_EXPORT std::int16_t wrpcxstreamdib(void* buffer, std::int32_t* size, std::int16_t depth,
                                        HGLOBAL dib, void* user, CrdeProgress cb, std::int16_t) {
    return Guard([&] {
        return WriteStreamWith(buffer, size, dib, Target::Any, depth, nullptr, EncodePcx, user, cb);
    });
}
CRDE_EXPORT std::int16_t wrgifstreamdib(void* buffer, std::int32_t* size, std::int16_t depth,
                                        HGLOBAL dib, void* user, CrdeProgress cb, std::int16_t) {
    return Guard([&] {
        return WriteStreamWith(buffer, size, dib, Target::UpTo8, depth, nullptr, EncodeGif, user,
                               cb);
    });
}
CRDE_EXPORT std::int16_t wrjpgstreamdib(void* buffer, std::int32_t* size, std::int16_t quality,
                                        std::int16_t smoothing, std::int16_t depth, HGLOBAL dib,
                                        void* user, CrdeProgress cb, std::int16_t) {
    return Guard([&] {
        const JpegOptions o{quality, smoothing,
                            WriteDepth(Target::Jpeg, depth, DibView(dib).Bits()) == 8};
        return WriteStreamWith(buffer, size, dib, Target::Jpeg, depth, &o, EncodeJpeg, user, cb);
    });
}
CRDE_EXPORT std::int16_t wrpngstreamdib(void* buffer, std::int32_t* size, std::int16_t depth,
                                        std::int16_t interlaced, HGLOBAL dib, void* user,
                                        CrdeProgress cb, std::int16_t) {
    return Guard([&] {
        const PngOptions o{interlaced != 0};
        return WriteStreamWith(buffer, size, dib, Target::Any, depth, &o, EncodePng, user, cb);
    });
}
CRDE_EXPORT std::int16_t writetgafilestreamdib(void* buffer, std::int32_t* size, std::int16_t depth,
                                               std::int16_t rle, std::int16_t, HGLOBAL dib,
                                               void* user, CrdeProgress cb, std::int16_t) {
    return Guard([&] {
        const TgaOptions o{rle != 0};
        return WriteStreamWith(buffer, size, dib, Target::Tga, depth, &o, EncodeTga, user, cb);
    });
}
CRDE_EXPORT std::int16_t writetiffiledibstream(void** buffer, std::int32_t* size,
                                               std::int16_t compression, std::int16_t depth,
                                               std::int16_t, HGLOBAL dib, void* user,
                                               CrdeProgress cb, std::int16_t) {
    return Guard([&] {
        if (!buffer)
            return kErrBadArgument;
        const int c = static_cast<std::uint16_t>(compression);
        Bytes fresh;
        const TiffOptions o{c, &fresh};
        return WriteStreamWith(*buffer, size, dib, TiffTarget(c), depth, &o, EncodeTiff, user, cb);
    });
}

// ---- File readers and information ----

#define CRDE_FILE_READER(name, decoder)                                                            \
    CRDE_EXPORT std::int16_t name(const char* file, std::int16_t depth, std::int16_t dither,       \
                                  std::int16_t option, HGLOBAL* dib, void* user, CrdeProgress cb,  \
                                  std::int16_t) {                                                  \
        return Guard(                                                                              \
            [&] { return ReadFileAs(decoder, file, depth, dither, option, dib, user, cb); });      \
    }
CRDE_FILE_READER(rdjpgfiledib, NoOption<ReadJpeg>)
CRDE_FILE_READER(rdbmpfiledib, NoOption<ReadBmp>)
CRDE_FILE_READER(rdpngfiledib, NoOption<ReadPng>)
CRDE_FILE_READER(rdgiffiledib, NoOption<ReadGif>)
CRDE_FILE_READER(rdpcxfiledib, NoOption<ReadPcx>)
CRDE_FILE_READER(readtgafiledib, NoOption<ReadTga>)
CRDE_FILE_READER(readepsfiledib, NoOption<ReadEps>)
CRDE_FILE_READER(readtiffiledib, DecodeTiff)
CRDE_FILE_READER(readpcdfiledib, DecodePcd)
CRDE_FILE_READER(readanyfiledib, DecodeAny)

CRDE_EXPORT std::int16_t readdxftoddb(const char* file, std::int16_t depth, std::int16_t dither,
                                      HGLOBAL* bitmap, HGLOBAL* palette, void* user,
                                      CrdeProgress cb, std::int16_t) {
    return Guard([&] {
        if (!bitmap)
            return kErrBadArgument;
        HGLOBAL dib = nullptr;
        const std::int16_t code = ReadFileAs(DecodeDxf, file, depth, dither, 0, &dib, user, cb);
        return DrawingResult(code, dib, bitmap, palette);
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

// ---- TIFF pages and tags ----

CRDE_EXPORT std::int16_t readtagstream(const void* data, std::int32_t size, std::int16_t page,
                                       std::int32_t tag, char* value, std::int32_t capacity) {
    return Guard([&] {
        return size > 0 ? TagValue(static_cast<const std::uint8_t*>(data), std::size_t(size), page,
                                   tag, value, capacity)
                        : kErrBadArgument;
    });
}
CRDE_EXPORT std::int16_t readtag(const char* file, std::int16_t page, std::int32_t tag, char* value,
                                 std::int32_t capacity) {
    return Guard([&] {
        Bytes bytes;
        if (!LoadFile(file, bytes))
            return kErrCannotOpen;
        return TagValue(bytes.data(), bytes.size(), page, tag, value, capacity);
    });
}
CRDE_EXPORT std::int16_t returntagsstream(const void* data, std::int32_t size, std::int16_t page,
                                          char* text, std::int32_t capacity) {
    return Guard([&] {
        std::string all;
        std::int16_t code = size > 0 ? TiffTags(static_cast<const std::uint8_t*>(data),
                                                std::size_t(size), page, &all)
                                     : kErrBadArgument;
        return code == kOk ? CopyText(all, text, capacity) : code;
    });
}
CRDE_EXPORT std::int16_t returntags(const char* file, std::int16_t page, char* text,
                                    std::int32_t capacity) {
    return Guard([&] {
        Bytes bytes;
        if (!LoadFile(file, bytes))
            return kErrCannotOpen;
        return returntagsstream(bytes.data(), static_cast<std::int32_t>(bytes.size()), page, text,
                                capacity);
    });
}
CRDE_EXPORT std::int16_t packtiffstream(const void* data, std::int32_t size, void* out,
                                        std::int32_t* outSize) {
    return Guard([&] {
        Bytes packed;
        // Dropping a page number no file has rewrites every page in order.
        std::int16_t code = size > 0 ? TiffDeletePage(static_cast<const std::uint8_t*>(data),
                                                      std::size_t(size), -1, packed)
                                     : kErrBadArgument;
        return code == kOk ? ToBuffer(packed, out, outSize) : code;
    });
}
CRDE_EXPORT std::int16_t packtiff(const char* file) {
    return Guard([&] {
        return RewriteFile(file, [](const Bytes& in, Bytes& out) {
            return TiffDeletePage(in.data(), in.size(), -1, out);
        });
    });
}
CRDE_EXPORT std::int16_t deletepagestream(const void* data, std::int32_t size, std::int16_t page,
                                          void* out, std::int32_t* outSize) {
    return Guard([&] {
        Bytes rest;
        std::int16_t code = size > 0 ? TiffDeletePage(static_cast<const std::uint8_t*>(data),
                                                      std::size_t(size), page, rest)
                                     : kErrBadArgument;
        return code == kOk ? ToBuffer(rest, out, outSize) : code;
    });
}
CRDE_EXPORT std::int16_t deletepage(const char* file, std::int16_t page) {
    return Guard([&] {
        return RewriteFile(file, [page](const Bytes& in, Bytes& out) {
            return TiffDeletePage(in.data(), in.size(), page, out);
        });
    });
}
CRDE_EXPORT std::int16_t writetiffiledibpagereplace(const char* file, std::int16_t page,
                                                    std::int16_t compression, HGLOBAL dib,
                                                    void* user, CrdeProgress cb, std::int16_t) {
    return Guard([&] {
        if (!Report(cb, user, 0))
            return kErrCancelled;
        DibView view(dib);
        return RewriteFile(file, [&](const Bytes& in, Bytes& out) {
            return TiffReplacePage(in.data(), in.size(), page, view,
                                   static_cast<std::uint16_t>(compression), out);
        });
    });
}
CRDE_EXPORT std::int16_t
writetiffiledibpagereplacestream(const void* data, std::int32_t size, std::int16_t page,
                                 std::int16_t compression, HGLOBAL dib, void* out,
                                 std::int32_t* outSize, void* user, CrdeProgress cb, std::int16_t) {
    return Guard([&] {
        if (size <= 0)
            return kErrBadArgument;
        if (!Report(cb, user, 0))
            return kErrCancelled;
        DibView view(dib);
        Bytes result;
        std::int16_t code =
            TiffReplacePage(static_cast<const std::uint8_t*>(data), std::size_t(size), page, view,
                            static_cast<std::uint16_t>(compression), result);
        return code == kOk ? ToBuffer(result, out, outSize) : code;
    });
}

// ---- Depth conversion ----

CRDE_EXPORT HGLOBAL DIB1to4(const void* dib) {
    try {
        return Converted(dib, 4);
    } catch (...) {
        return nullptr;
    }
}
CRDE_EXPORT HGLOBAL DIB1To8(const void* dib) {
    try {
        return Converted(dib, 8);
    } catch (...) {
        return nullptr;
    }
}
CRDE_EXPORT HGLOBAL DIB1To24(const void* dib) {
    try {
        return Converted(dib, 24);
    } catch (...) {
        return nullptr;
    }
}
CRDE_EXPORT HGLOBAL DIB4To8(const void* dib) {
    try {
        return Converted(dib, 8);
    } catch (...) {
        return nullptr;
    }
}
CRDE_EXPORT HGLOBAL DIB4To24(const void* dib) {
    try {
        return Converted(dib, 24);
    } catch (...) {
        return nullptr;
    }
}
CRDE_EXPORT HGLOBAL DIB8To24(const void* dib) {
    try {
        return Converted(dib, 24);
    } catch (...) {
        return nullptr;
    }
}
CRDE_EXPORT HGLOBAL DIB16To24(const void* dib) {
    try {
        return DibView(dib).Bits() == 16 ? Converted(dib, 24) : nullptr;
    } catch (...) {
        return nullptr;
    }
}
CRDE_EXPORT HGLOBAL DIB32To24(const void* dib) {
    try {
        return DibView(dib).Bits() == 32 ? Converted(dib, 24) : nullptr;
    } catch (...) {
        return nullptr;
    }
}
CRDE_EXPORT HGLOBAL CopyDIB(const void* dib) {
    try {
        HGLOBAL block = GlobalHandle(dib);
        const std::size_t size = GlobalSize(block);
        HGLOBAL copy = size ? GlobalAlloc(GHND, size) : nullptr;
        if (copy) {
            std::memcpy(GlobalLock(copy), dib, size);
            GlobalUnlock(copy);
        }
        return copy;
    } catch (...) {
        return nullptr;
    }
}

CRDE_EXPORT std::int16_t DibtoDdb(const void* dib, HGLOBAL* bitmap, HGLOBAL* palette) {
    return Guard([&] {
        if (!bitmap)
            return kErrBadArgument;
        *bitmap = nullptr;
        DibView view(dib);
        if (!view.Valid())
            return kErrBadArgument;
        HGLOBAL flat = nullptr;
        std::int16_t code = view.Compression() == 1 || view.Compression() == 2
                                ? ExpandRle(view, &flat)
                            : (flat = CopyDIB(dib)) ? kOk
                                                    : kErrNoMemory;
        return DrawingResult(code, flat, bitmap, palette);
    });
}

CRDE_EXPORT const char* errortext(std::int16_t code) {
    return CodeText(code);
}
