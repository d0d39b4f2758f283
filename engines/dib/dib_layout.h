// SPDX-License-Identifier: MIT
#pragma once

// The layout of a packed device-independent bitmap, shared by both engines and the imaging
// layer: the 40-byte header's fields, row strides, colour-table sizes and little-endian bytes.
// Plain C++ without allocation; every reader of hostile bytes checks sizes before using these.

#include <cstddef>
#include <cstdint>

namespace dib {

/// Size of the info header every DIB here starts with.
inline constexpr std::uint32_t kHeaderBytes = 40;
/// 75 dots an inch, the resolution written into new headers.
inline constexpr std::int32_t kPixelsPerMetre = 2953;

/// Offsets of the header's fields.
enum Offset : std::size_t {
    kSize = 0,
    kWidth = 4,
    kHeight = 8,
    kPlanes = 12,
    kBitCount = 14,
    kCompression = 16,
    kImageSize = 20,
    kXPelsPerMeter = 24,
    kYPelsPerMeter = 28,
    kColoursUsed = 32,
    kColoursImportant = 36,
};

/// Compression codes of the header.
enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

inline std::uint16_t Get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline std::uint32_t Get32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
inline void Put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

/// Bytes of one row of `width` pixels at `bits` per pixel, padded to four bytes.
inline constexpr std::uint64_t RowStride(std::uint64_t width, unsigned bits) {
    return ((width * bits + 31) / 32) * 4;
}

/// Colours a full colour table holds for a bit count: 2, 16 or 256 for 1, 4 or 8; else 0.
inline constexpr int ColoursForBits(int bits) {
    return bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
}

/// Entries of the colour table: the header's count when it is given and fits the depth,
/// else the full table of a palette depth; none for true colour without a count.
inline constexpr int TableEntries(int bits, std::uint32_t used) {
    if (bits <= 8)
        return used && used <= (1u << bits) ? int(used) : ColoursForBits(bits);
    return used && used <= 256 ? int(used) : 0;
}

/// Writes a fresh header: one plane, no compression, 75 dots an inch, `colours` entries used.
inline void WriteHeader(std::uint8_t* p, std::int32_t width, std::int32_t height, int bits,
                        std::uint32_t colours, std::uint32_t imageSize) {
    Put32(p + kSize, kHeaderBytes);
    Put32(p + kWidth, static_cast<std::uint32_t>(width));
    Put32(p + kHeight, static_cast<std::uint32_t>(height));
    Put16(p + kPlanes, 1);
    Put16(p + kBitCount, static_cast<std::uint16_t>(bits));
    Put32(p + kCompression, kRgb);
    Put32(p + kImageSize, imageSize);
    Put32(p + kXPelsPerMeter, kPixelsPerMetre);
    Put32(p + kYPelsPerMeter, kPixelsPerMetre);
    Put32(p + kColoursUsed, colours);
    Put32(p + kColoursImportant, colours);
}

} // namespace dib
