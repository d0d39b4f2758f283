// SPDX-License-Identifier: MIT
#include "imaging/dib/dib.h"

#include "engines/dib/dib_layout.h"
#include "imaging/error_invalid.h"
#include "platform/memory/memory_block.h"

#include <cstdlib>

#include <cstring>

namespace imaging {

namespace {

using dib::Get32;
using dib::kHeaderBytes;

std::uint64_t RowBytes(std::int64_t width, int bits) {
    return dib::RowStride(static_cast<std::uint64_t>(width < 0 ? 0 : width), unsigned(bits));
}

} // namespace

int ColorsForBitCount(int bits) {
    return dib::ColoursForBits(bits);
}

int DibBitCount(HGLOBAL dib) {
    const platform::BlockLock locked(dib);
    if (!locked.Memory())
        return 0;
    ILTDib lens;
    lens.SetOwnsDib(false);
    lens.SetDib(locked.Memory());
    const int bits = lens.BitCount();
    lens.SetDib(nullptr);
    return bits;
}

void UnlockDib(HGLOBAL dib) {
    while (dib && GlobalUnlock(dib) != 0) {
    }
}

void FreeDib(HGLOBAL dib) {
    if (!dib)
        return;
    UnlockDib(dib);
    GlobalFree(dib);
}

ILTDib::~ILTDib() {
    SetDib(nullptr);
    FPalette.reset();
}

void ILTDib::SetDib(void* lockedDib) {
    if (FOwnsDib && FDib) {
        FreeDib(handle_);
        FPalette.reset();
    }
    FDib = static_cast<std::uint8_t*>(lockedDib);
    handle_ = GlobalHandle(lockedDib);
    size_ = handle_ ? GlobalSize(handle_) : 0;
    if (!handle_)
        FDib = nullptr; // only blocks of the shared allocator can be looked into safely
}

std::uint32_t ILTDib::Field32(int offset) const {
    if (!FDib || size_ < kHeaderBytes)
        return 0;
    return Get32(FDib + offset);
}

std::uint16_t ILTDib::BitCount() const {
    return FDib && size_ >= kHeaderBytes ? static_cast<std::uint16_t>(FDib[14] | FDib[15] << 8) : 0;
}

std::int32_t ILTDib::DibWidth() const {
    return static_cast<std::int32_t>(Field32(4));
}

std::int32_t ILTDib::DibHeight() const {
    return static_cast<std::int32_t>(Field32(8));
}

std::uint32_t ILTDib::Compression() const {
    return Field32(16);
}

std::int32_t ILTDib::AlignedWidth() const {
    return FDib ? static_cast<std::int32_t>((static_cast<std::uint32_t>(DibWidth()) + 3) & ~3u) : 0;
}

std::uint32_t ILTDib::ColorCount() const {
    if (!FDib || size_ < kHeaderBytes)
        return 0;
    if (const std::uint32_t used = Field32(32))
        return used;
    const int bits = BitCount();
    if (bits == 16 || bits == 24 || bits == 32)
        return 0;
    return bits < 32 ? 1u << bits : 0; // 2 to the power of the bit count
}

std::uint32_t ILTDib::HeaderSize() const {
    return FDib ? kHeaderBytes + 4 * ColorCount() : 0;
}

std::uint32_t ILTDib::DibSize() {
    if (!FDib || size_ < kHeaderBytes)
        return 0;
    std::uint32_t image = Field32(20);
    if (image == 0) {
        // Top-down DIBs store a negative height; their rows count the same.
        const std::int64_t height = std::abs(std::int64_t(DibHeight()));
        image = static_cast<std::uint32_t>(
            height * static_cast<std::int64_t>(RowBytes(DibWidth(), BitCount())));
        dib::Put32(FDib + dib::kImageSize, image);
    }
    return HeaderSize() + image;
}

std::uint8_t* ILTDib::Bits() const {
    if (!FDib)
        return nullptr;
    const std::uint64_t offset = HeaderSize();
    return offset <= size_ ? FDib + offset : nullptr;
}

HPALETTE ILTDib::CreateDibPalette(const std::uint8_t* header) {
    if (!header)
        return nullptr;
    std::uint32_t n = Get32(header + dib::kColoursUsed);
    if (n == 0)
        n = static_cast<std::uint32_t>(ColorsForBitCount(header[14] | header[15] << 8));
    if (n == 0 || n > 256)
        return nullptr; // the platform makes no palette of none or of more than 256
    // This platform has no palette devices, so the colour table is taken as it stands.
    auto palette = std::make_shared<TPalette>();
    palette->Entries.resize(n);
    const std::uint8_t* table = header + kHeaderBytes;
    for (std::uint32_t i = 0; i < n; ++i)
        palette->Entries[i] = {table[4 * i + 2], table[4 * i + 1], table[4 * i], 0};
    return palette;
}

HPALETTE ILTDib::GetPalette() {
    if (!FPalette && FDib && size_ >= HeaderSize())
        FPalette = CreateDibPalette(FDib);
    return FPalette;
}

void ILTDib::SetPalette(HPALETTE palette) {
    if (FDib && palette && size_ >= HeaderSize()) {
        std::uint8_t* table = FDib + kHeaderBytes;
        const std::uint32_t n = ColorCount();
        for (std::uint32_t i = 0; i < n && i < palette->Entries.size(); ++i) {
            table[4 * i] = palette->Entries[i].Blue;
            table[4 * i + 1] = palette->Entries[i].Green;
            table[4 * i + 2] = palette->Entries[i].Red;
        }
    }
    FPalette = std::move(palette);
}

bool ILTDib::CreateNew(const HPALETTE& palette, std::int32_t width, std::int32_t height, int bits) {
    int colours = 0;
    int stored = bits;
    switch (bits) {
    case 1:
    case 2:
        colours = 2;
        stored = 1;
        break;
    case 4:
        colours = 16;
        break;
    case 8:
        colours = 256;
        break;
    case 16:
    case 24:
    case 32:
        break;
    default:
        return false;
    }
    const std::uint64_t row = RowBytes(width, stored);
    const std::uint64_t rows =
        static_cast<std::uint64_t>(height < 0 ? -std::int64_t(height) : height);
    // The header holds the image size in 32 bits; anything larger cannot be described.
    const std::uint64_t limit = 0xFFFFFFFFu - kHeaderBytes - 4u * static_cast<unsigned>(colours);
    const bool fits = rows == 0 || row <= limit / rows;
    const std::uint64_t image = fits ? row * rows : 0;
    HGLOBAL block =
        fits ? GlobalAlloc(GHND, static_cast<std::size_t>(image + kHeaderBytes +
                                                          4u * static_cast<unsigned>(colours)))
             : nullptr;
    if (!block)
        throw ErrorInvalid(QStringLiteral("Can't allocate memory"));
    auto* p = static_cast<std::uint8_t*>(GlobalLock(block));
    dib::WriteHeader(p, width, height, stored, static_cast<std::uint32_t>(colours),
                     static_cast<std::uint32_t>(image));
    if (palette) {
        std::uint8_t* table = p + kHeaderBytes;
        for (int i = 0; i < colours && i < static_cast<int>(palette->Entries.size()); ++i) {
            table[4 * i] = palette->Entries[static_cast<size_t>(i)].Blue;
            table[4 * i + 1] = palette->Entries[static_cast<size_t>(i)].Green;
            table[4 * i + 2] = palette->Entries[static_cast<size_t>(i)].Red;
        }
    }
    SetDib(p);
    return true;
}

HGLOBAL ILTDib::DuplicateHandle(HGLOBAL dib) {
    if (!dib)
        return nullptr;
    const std::size_t size = GlobalSize(dib);
    HGLOBAL copy = GlobalAlloc(GHND, size);
    if (!copy)
        return nullptr;
    const platform::BlockLock from(dib), to(copy);
    if (from.Memory() && to.Memory())
        std::memcpy(to.Memory(), from.Memory(), size);
    return copy;
}

HGLOBAL ILTDib::DuplicateDib() const {
    return DuplicateHandle(handle_);
}

} // namespace imaging
