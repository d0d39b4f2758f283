// SPDX-License-Identifier: MIT
// The imaging engine's writers to files and to memory, one pair per row of the format list.
#include "engines/crde2000/exports_support.h"
#include "engines/crde2000/format_backends.h"
#include "engines/crde2000/format_rows.h"

using namespace crde;

namespace {

struct JpegOptions {
    int quality, smoothing;
    bool grey;
};
struct TiffOptions {
    int compression;
    Bytes* file; // the pages the new one follows, empty for a new file
};

constexpr Target kTarget_Any = Target::Any, kTarget_UpTo8 = Target::UpTo8,
                 kTarget_Tga = Target::Tga, kTarget_Jpeg = Target::Jpeg;

// CCITT compressions store one bit per pixel.
Target TiffTarget(int compression) {
    return compression >= 2 && compression <= 4 ? Target::OneBit : Target::Any;
}

// Grey when asked for (1 or 8 bits), or at the picture's own depth when its colours are all
// grey; a colour palette picture stays in colour.
JpegOptions JpegOptionsFor(int quality, int smoothing, int depth, HGLOBAL dib) {
    const DibView view(dib);
    const bool grey =
        depth == 1 || depth == 8 || (depth == 0 && view.Bits() <= 8 && view.GreyTable());
    return {quality, smoothing, grey};
}

} // namespace

#define CRDE_PLAIN_ENCODER(Stem)                                                                   \
    [](const DibView& d, const void*, Bytes& out) { return Write##Stem(d, out); }
#define CRDE_FLAG_ENCODER(Stem)                                                                    \
    [](const DibView& d, const void* options, Bytes& out) {                                        \
        return Write##Stem(d, *static_cast<const bool*>(options), out);                            \
    }
#define CRDE_JPEG_ENCODER(Stem)                                                                    \
    [](const DibView& d, const void* options, Bytes& out) {                                        \
        const auto* j = static_cast<const JpegOptions*>(options);                                  \
        return Write##Stem(d, j->quality, j->smoothing, j->grey, out);                             \
    }
#define CRDE_TIFF_ENCODER(Stem)                                                                    \
    [](const DibView& d, const void* options, Bytes& out) {                                        \
        const auto* t = static_cast<const TiffOptions*>(options);                                  \
        const std::int16_t code = Write##Stem(d, t->compression, *t->file);                        \
        out = *t->file;                                                                            \
        return code;                                                                               \
    }

// ---- By write kind: the file writer, then the stream writer ----

#define CRDE_WRITERS_None(Stem, fileWriter, streamWriter, rule)
#define CRDE_WRITERS_DepthFile(Stem, fileWriter, streamWriter, rule)                               \
    CRDE_EXPORT std::int16_t fileWriter(const char* file, std::int16_t depth, HGLOBAL dib,         \
                                        void* user, CrdeProgress cb, std::int16_t) {               \
        return Guard([&] {                                                                         \
            return WriteFileWith(file, dib, kTarget_##rule, depth, nullptr,                        \
                                 CRDE_PLAIN_ENCODER(Stem), user, cb);                              \
        });                                                                                        \
    }
#define CRDE_WRITERS_Depth(Stem, fileWriter, streamWriter, rule)                                   \
    CRDE_WRITERS_DepthFile(Stem, fileWriter, streamWriter, rule) CRDE_EXPORT std::int16_t          \
    streamWriter(void* buffer, std::int32_t* size, std::int16_t depth, HGLOBAL dib, void* user,    \
                 CrdeProgress cb, std::int16_t) {                                                  \
        return Guard([&] {                                                                         \
            return WriteStreamWith(buffer, size, dib, kTarget_##rule, depth, nullptr,              \
                                   CRDE_PLAIN_ENCODER(Stem), user, cb);                            \
        });                                                                                        \
    }
#define CRDE_WRITERS_Png(Stem, fileWriter, streamWriter, rule)                                     \
    CRDE_EXPORT std::int16_t fileWriter(const char* file, std::int16_t depth,                      \
                                        std::int16_t interlaced, HGLOBAL dib, void* user,          \
                                        CrdeProgress cb, std::int16_t) {                           \
        return Guard([&] {                                                                         \
            const bool o = interlaced != 0;                                                        \
            return WriteFileWith(file, dib, kTarget_##rule, depth, &o, CRDE_FLAG_ENCODER(Stem),    \
                                 user, cb);                                                        \
        });                                                                                        \
    }                                                                                              \
    CRDE_EXPORT std::int16_t streamWriter(void* buffer, std::int32_t* size, std::int16_t depth,    \
                                          std::int16_t interlaced, HGLOBAL dib, void* user,        \
                                          CrdeProgress cb, std::int16_t) {                         \
        return Guard([&] {                                                                         \
            const bool o = interlaced != 0;                                                        \
            return WriteStreamWith(buffer, size, dib, kTarget_##rule, depth, &o,                   \
                                   CRDE_FLAG_ENCODER(Stem), user, cb);                             \
        });                                                                                        \
    }
#define CRDE_WRITERS_Tga(Stem, fileWriter, streamWriter, rule)                                     \
    CRDE_EXPORT std::int16_t fileWriter(const char* file, std::int16_t depth, std::int16_t rle,    \
                                        std::int16_t, HGLOBAL dib, void* user, CrdeProgress cb,    \
                                        std::int16_t) {                                            \
        return Guard([&] {                                                                         \
            const bool o = rle != 0;                                                               \
            return WriteFileWith(file, dib, kTarget_##rule, depth, &o, CRDE_FLAG_ENCODER(Stem),    \
                                 user, cb);                                                        \
        });                                                                                        \
    }                                                                                              \
    CRDE_EXPORT std::int16_t streamWriter(void* buffer, std::int32_t* size, std::int16_t depth,    \
                                          std::int16_t rle, std::int16_t, HGLOBAL dib, void* user, \
                                          CrdeProgress cb, std::int16_t) {                         \
        return Guard([&] {                                                                         \
            const bool o = rle != 0;                                                               \
            return WriteStreamWith(buffer, size, dib, kTarget_##rule, depth, &o,                   \
                                   CRDE_FLAG_ENCODER(Stem), user, cb);                             \
        });                                                                                        \
    }
#define CRDE_WRITERS_Jpeg(Stem, fileWriter, streamWriter, rule)                                    \
    CRDE_EXPORT std::int16_t fileWriter(const char* file, std::int16_t quality,                    \
                                        std::int16_t smoothing, std::int16_t depth, HGLOBAL dib,   \
                                        void* user, CrdeProgress cb, std::int16_t) {               \
        return Guard([&] {                                                                         \
            const JpegOptions o = JpegOptionsFor(quality, smoothing, depth, dib);                  \
            return WriteFileWith(file, dib, kTarget_##rule, depth, &o, CRDE_JPEG_ENCODER(Stem),    \
                                 user, cb);                                                        \
        });                                                                                        \
    }                                                                                              \
    CRDE_EXPORT std::int16_t streamWriter(void* buffer, std::int32_t* size, std::int16_t quality,  \
                                          std::int16_t smoothing, std::int16_t depth, HGLOBAL dib, \
                                          void* user, CrdeProgress cb, std::int16_t) {             \
        return Guard([&] {                                                                         \
            const JpegOptions o = JpegOptionsFor(quality, smoothing, depth, dib);                  \
            return WriteStreamWith(buffer, size, dib, kTarget_##rule, depth, &o,                   \
                                   CRDE_JPEG_ENCODER(Stem), user, cb);                             \
        });                                                                                        \
    }
// A TIFF may gain a page: a file's from the file, a buffer's from the TIFF at its start (the
// buffer's size on entry is its capacity; the whole TIFF is written back).
#define CRDE_WRITERS_Tiff(Stem, fileWriter, streamWriter, rule)                                    \
    CRDE_EXPORT std::int16_t fileWriter(const char* file, std::int16_t compression,                \
                                        std::int16_t depth, std::int16_t append, HGLOBAL dib,      \
                                        void* user, CrdeProgress cb, std::int16_t) {               \
        return Guard([&] {                                                                         \
            const int c = static_cast<std::uint16_t>(compression);                                 \
            Bytes existing;                                                                        \
            if (append && file && !LoadFile(file, existing))                                       \
                existing.clear(); /* nothing to append to: a new file */                           \
            const TiffOptions o{c, &existing};                                                     \
            return WriteFileWith(file, dib, TiffTarget(c), depth, &o, CRDE_TIFF_ENCODER(Stem),     \
                                 user, cb);                                                        \
        });                                                                                        \
    }                                                                                              \
    CRDE_EXPORT std::int16_t streamWriter(                                                         \
        void** buffer, std::int32_t* size, std::int16_t compression, std::int16_t depth,           \
        std::int16_t append, HGLOBAL dib, void* user, CrdeProgress cb, std::int16_t) {             \
        return Guard([&] {                                                                         \
            if (!buffer)                                                                           \
                return kErrBadArgument;                                                            \
            const int c = static_cast<std::uint16_t>(compression);                                 \
            Bytes existing;                                                                        \
            if (append && *buffer && size && *size > 0) {                                          \
                const auto* at = static_cast<const std::uint8_t*>(*buffer);                        \
                const std::size_t whole = TiffExtent(at, std::size_t(*size));                      \
                /* A TIFF whose extent cannot be told is not replaced by a new one-page file. */   \
                if (whole == 0 && IsTiff(at, std::size_t(*size)))                                  \
                    return kErrBadHeader;                                                          \
                existing.assign(at, at + whole);                                                   \
            }                                                                                      \
            const TiffOptions o{c, &existing};                                                     \
            return WriteStreamWith(*buffer, size, dib, TiffTarget(c), depth, &o,                   \
                                   CRDE_TIFF_ENCODER(Stem), user, cb);                             \
        });                                                                                        \
    }

#define CRDE_WRITERS(Stem, info, fuzz, fuzzMax, fuzzMode, streamReader, readKind, readLabel,       \
                     fileReader, fileWriter, streamWriter, writeKind, writeLabel, depthRule)       \
    CRDE_WRITERS_##writeKind(Stem, fileWriter, streamWriter, depthRule)

VLMOR_FORMATS(CRDE_WRITERS)
