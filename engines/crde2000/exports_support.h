// SPDX-License-Identifier: MIT
#pragma once

// What the imaging engine's exports share: the exception guard, progress at start and end,
// decoding into the asked depth, encoding at a writer's depth, files and caller buffers.

#include "engines/crde2000/codec.h"
#include "engines/crde2000/crde2000.h"
#include "engines/shared/codes.h"

#include <string>

#define CRDE_EXPORT extern "C" __attribute__((visibility("default")))

namespace crde {

/// Runs an export's work; nothing escapes: an unexpected failure is kErrInternal.
template <class F> std::int16_t Guard(F f) {
    try {
        return f();
    } catch (...) {
        return kErrInternal;
    }
}

/// Reports the start or the end of an operation; false when the caller asked to stop.
bool Report(CrdeProgress cb, void* user, int percent);

/// A decoder of the format table: `option` is the TIFF page or the Photo CD mode.
using Decoder = std::int16_t (*)(const std::uint8_t*, std::size_t, int option, HGLOBAL*);

/// Decodes the bytes at the asked read depth into a new DIB (none on failure).
std::int16_t Decode(Decoder decode, const void* data, std::int32_t size, int depth, int dither,
                    int option, HGLOBAL* dib, void* user, CrdeProgress cb);
/// The same for a file's bytes.
std::int16_t ReadFileAs(Decoder decode, const char* file, int depth, int dither, int option,
                        HGLOBAL* dib, void* user, CrdeProgress cb);

bool LoadFile(const char* name, Bytes& out);
bool SaveFile(const char* name, const Bytes& bytes);
/// Copies into the caller's buffer of *size bytes; *size becomes the count written.
std::int16_t ToBuffer(const Bytes& bytes, void* buffer, std::int32_t* size);
/// Copies a text with its terminator into a buffer of `capacity` bytes.
std::int16_t CopyText(const std::string& text, char* out, std::int32_t capacity);

/// The depth each writer stores: 0 keeps the picture's own (16 and 32 bits become 24).
enum class Target { Any, UpTo8, Tga, Jpeg, OneBit };
int WriteDepth(Target target, int asked, int own);

/// A writer of the format table with its own options.
using Encoder = std::int16_t (*)(const DibView&, const void* options, Bytes&);
/// Brings the DIB to the writer's depth and encodes it.
std::int16_t Encode(HGLOBAL dib, Target target, int depth, const void* options, Encoder encode,
                    Bytes& out, void* user, CrdeProgress cb);
std::int16_t WriteFileWith(const char* file, HGLOBAL dib, Target target, int depth,
                           const void* options, Encoder encode, void* user, CrdeProgress cb);
std::int16_t WriteStreamWith(void* buffer, std::int32_t* size, HGLOBAL dib, Target target,
                             int depth, const void* options, Encoder encode, void* user,
                             CrdeProgress cb);

/// Copies stream facts into the caller's fixed-size fields.
std::int16_t Facts(std::int16_t code, const StreamFacts& f, char* format, std::int16_t* width,
                   std::int16_t* height, std::int16_t* bits, std::int16_t* extraA,
                   std::int16_t* extraB, char* compression);
/// A TIFF page's facts into the caller's fields.
std::int16_t TiffFacts(const std::uint8_t* data, std::size_t size, int page, std::int16_t* width,
                       std::int16_t* height, std::int16_t* compression, std::int16_t* pages,
                       std::int16_t* bits);
/// A drawing reader's result: the DIB as the "bitmap" and its colour table as a handle.
std::int16_t DrawingResult(std::int16_t code, HGLOBAL dib, HGLOBAL* bitmap, HGLOBAL* palette);

/// Replaces a file by a rewritten TIFF.
template <class Rewrite> std::int16_t RewriteFile(const char* file, Rewrite rewrite) {
    Bytes in, out;
    if (!LoadFile(file, in))
        return kErrCannotOpen;
    std::int16_t code = rewrite(in, out);
    if (code == kOk && !SaveFile(file, out))
        code = kErrCannotWrite;
    return code;
}

} // namespace crde
