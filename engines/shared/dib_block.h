// SPDX-License-Identifier: MIT
#pragma once

#include "platform/memory/global_memory.h"

#include <cstddef>
#include <cstdint>

namespace engine {

/// A new packed DIB being filled: 40-byte header, colour table, bottom-up rows, all zero.
/// Codecs write rows top-down through Row(); Release() hands out the unlocked handle.
class NewDib {
public:
    NewDib() = default;
    ~NewDib();
    NewDib(const NewDib&) = delete;
    NewDib& operator=(const NewDib&) = delete;

    /// Allocates the block (bits 1, 4, 8 or 24; colours up to 2^bits). Returns kOk,
    /// kErrBadHeader for an empty size, kErrTooLarge past the pixel limit or kErrNoMemory.
    /// A top-down DIB (negative height) keeps its rows in screen order, so a bitmap can show
    /// them where they lie.
    std::int16_t Create(std::int64_t width, std::int64_t height, int bits, int colours,
                        bool topDown = false);

    std::uint8_t* Row(std::int64_t fromTop) const {
        return bits_ +
               stride_ * static_cast<std::size_t>(topDown_ ? fromTop : height_ - 1 - fromTop);
    }
    /// Colour-table entry i as blue, green, red, 0.
    std::uint8_t* Colour(int i) const { return table_ + 4 * i; }
    void SetColour(int i, std::uint8_t r, std::uint8_t g, std::uint8_t b) const;
    std::size_t Stride() const { return stride_; }
    std::int64_t Width() const { return width_; }
    std::int64_t Height() const { return height_; }
    int Bits() const { return bitCount_; }

    HGLOBAL Release();

private:
    HGLOBAL handle_ = nullptr;
    std::uint8_t* table_ = nullptr;
    std::uint8_t* bits_ = nullptr;
    std::size_t stride_ = 0;
    std::int64_t width_ = 0, height_ = 0;
    int bitCount_ = 0;
    bool topDown_ = false;
};

/// A checked reading of a packed DIB in a block (uncompressed, 1/4/8/16/24/32 bits).
class DibView {
public:
    /// From a locked pointer to a block's start, or from a handle (locked while the view
    /// lives). Valid() tells whether the header and the rows fit the block.
    explicit DibView(const void* lockedDib);
    explicit DibView(HGLOBAL dib);
    ~DibView();
    DibView(const DibView&) = delete;
    DibView& operator=(const DibView&) = delete;

    bool Valid() const { return valid_; }
    std::int64_t Width() const { return width_; }
    std::int64_t Height() const { return height_; }
    int Bits() const { return bits_; }
    std::uint32_t Compression() const { return compression_; }
    int Colours() const { return colours_; }
    std::size_t Stride() const { return stride_; }
    const std::uint8_t* Header() const { return base_; }
    std::size_t BlockSize() const { return size_; }
    /// Colour-table entry i as blue, green, red, reserved.
    const std::uint8_t* Colour(int i) const { return base_ + headerSize_ + 4 * i; }
    const std::uint8_t* Row(std::int64_t fromTop) const;
    /// The pixel bytes after the colour table and how many the block holds.
    const std::uint8_t* Pixels() const { return base_ + pixels_; }
    std::size_t PixelBytes() const { return size_ - pixels_; }
    /// The row's pixels as blue, green, red (3 × Width() bytes).
    void RowBgr(std::int64_t fromTop, std::uint8_t* out) const;
    /// Whether every colour-table entry is grey.
    bool GreyTable() const;

private:
    void Parse();
    const std::uint8_t* base_ = nullptr;
    std::size_t size_ = 0;
    HGLOBAL locked_ = nullptr;
    bool valid_ = false;
    std::int64_t width_ = 0, height_ = 0;
    bool topDown_ = false;
    int bits_ = 0;
    std::uint32_t compression_ = 0;
    int colours_ = 0;
    std::size_t headerSize_ = 40;
    std::size_t stride_ = 0;
    std::size_t pixels_ = 0; // offset of the rows
    bool rgb565_ = false;
};

} // namespace engine
