// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/palette.h"
#include "platform/memory/global_memory.h"

#include <cstdint>

namespace imaging {

class TBitmap;

/// Colours a colour table holds for a bit count: 2, 16 or 256 for 1, 4 or 8; else 0.
int ColorsForBitCount(int bits);

/// The bits per pixel of the DIB in a handle (0 for none), looked at through a lens.
int DibBitCount(HGLOBAL dib);

/// Drops every lock of a DIB handle.
void UnlockDib(HGLOBAL dib);
/// Drops every lock and frees the handle: the one way to release a DIB handle.
void FreeDib(HGLOBAL dib);

/// A lens over a packed device-independent bitmap in a global memory block: a 40-byte
/// header, the colour table, then rows padded to 4 bytes. It reads the header, makes new
/// DIBs and keeps a palette built from the colour table. An owning object frees its block.
class ILTDib {
public:
    ILTDib() = default;
    ~ILTDib();
    ILTDib(const ILTDib&) = delete;
    ILTDib& operator=(const ILTDib&) = delete;

    bool OwnsDib() const { return FOwnsDib; }
    void SetOwnsDib(bool value) { FOwnsDib = value; }
    /// The locked block's start, or null.
    std::uint8_t* Dib() const { return FDib; }
    /// The handle of the attached block, or null.
    HGLOBAL Handle() const { return handle_; }

    /// Attaches a locked block (or none), releasing an owned one first.
    void SetDib(void* lockedDib);

    // Readers of the header; 0 without a DIB.
    std::uint16_t BitCount() const;
    std::int32_t DibWidth() const;
    std::int32_t DibHeight() const;
    std::uint32_t Compression() const;
    std::int32_t AlignedWidth() const;
    std::uint32_t ColorCount() const;
    std::uint32_t HeaderSize() const;
    /// Header and image size; an image size of 0 is worked out and written into the header.
    std::uint32_t DibSize();
    std::uint8_t* Bits() const;

    /// A palette of the colour table's colours (none for a DIB without one).
    static HPALETTE CreateDibPalette(const std::uint8_t* header);
    HPALETTE GetPalette();
    /// Copies the palette's colours into the colour table and keeps the palette.
    void SetPalette(HPALETTE palette);

    /// A new empty DIB of the given size and depth (1, 2, 4, 8, 16, 24 or 32; 2 is stored as
    /// 1); false for any other depth. Raises ErrorInvalid "Can't allocate memory".
    bool CreateNew(const HPALETTE& palette, std::int32_t width, std::int32_t height, int bits);

    /// Replaces the DIB by the bitmap's pixels at a normalised depth (1, 4, 8, 24; 2 → 1,
    /// 16 → 24, anything else → 4); false when the bitmap has no handle.
    bool FromBitmap(const TBitmap& bitmap, int depth);

    /// A byte copy of the attached block as a new unlocked handle, or none.
    HGLOBAL DuplicateDib() const;
    static HGLOBAL DuplicateHandle(HGLOBAL dib);

private:
    std::uint32_t Field32(int offset) const;

    HPALETTE FPalette;
    std::uint8_t* FDib = nullptr;
    bool FOwnsDib = true;
    HGLOBAL handle_ = nullptr; // the block FDib lies in
    std::size_t size_ = 0;     // its size: header reads stay inside it
};

} // namespace imaging
