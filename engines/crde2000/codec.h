// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/crde2000.h"
#include "engines/shared/dib_block.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace crde {

// The pieces both engines share, named here as the codecs use them.
using namespace engine;

using Bytes = std::vector<std::uint8_t>;

/// The most a vector picture (EPS, DXF) is drawn larger than its natural size when it is
/// rendered again for a zoomed view or a printer.
constexpr double kMaxRenderTimes = CRDE_MAX_SCALE_PERMILLE / 1000.0;

/// A bounds-checked cursor over hostile input bytes.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size)
        : data_(data)
        , size_(data ? size : 0) {}
    std::size_t Size() const { return size_; }
    std::size_t Left() const { return size_ - at_; }
    std::size_t At() const { return at_; }
    bool Seek(std::size_t at) {
        if (at > size_)
            return false;
        at_ = at;
        return true;
    }
    bool Has(std::size_t n) const { return n <= size_ - at_; }
    const std::uint8_t* Here() const { return data_ + at_; }
    /// Copies up to n bytes and moves on; gives how many were copied.
    std::size_t Take(void* out, std::size_t n);
    int Byte() { return at_ < size_ ? data_[at_++] : -1; }
    std::uint32_t U8(std::size_t at) const { return at < size_ ? data_[at] : 0; }
    std::uint32_t U16(std::size_t at) const { return U8(at) | U8(at + 1) << 8; }
    std::uint32_t U32(std::size_t at) const { return U16(at) | U16(at + 2) << 16; }
    std::uint32_t Be16(std::size_t at) const { return U8(at) << 8 | U8(at + 1); }
    std::uint32_t Be32(std::size_t at) const { return Be16(at) << 16 | Be16(at + 2); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

/// What the stream-information call reports about a picture's bytes.
struct StreamFacts {
    std::string format; // "BMP", "PNG", "GIF", "PCX", "TGA", "EPS", "JPEG", "PCD", "DXF", "TIFF"
    std::string compression; // e.g. "NONE", "RLE8", "LZW", "DEFLATE", "BASELINE"
    std::int64_t width = 0, height = 0;
    int bits = 0;
    int extraA = 0; // PNG/GIF: interlaced; JPEG: components; TIFF: pages
    int extraB = 0; // PNG: colour type; TIFF: compression code
};

/// Little-endian appends.
void Append16(Bytes& out, std::uint32_t v);
void Append32(Bytes& out, std::uint32_t v);

} // namespace crde
