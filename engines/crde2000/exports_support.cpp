// SPDX-License-Identifier: MIT
#include "engines/crde2000/exports_support.h"

#include "engines/crde2000/bmp.h"
#include "engines/crde2000/tiff.h"
#include "engines/shared/depth.h"

#include <cstdio>
#include <cstring>

namespace crde {

bool Report(CrdeProgress cb, void* user, int percent) {
    return !cb || cb(static_cast<std::int16_t>(percent), user) != 0;
}

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
    std::int16_t code = TiffPageInfo(data, size, page, &info);
    // A page beyond the last gives the last page's facts with the page count, so a caller
    // can lower its page number.
    if (code != kOk && page > 0 && info.pages > 0 && page >= info.pages)
        code = TiffPageInfo(data, size, info.pages - 1, &info);
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

} // namespace crde
