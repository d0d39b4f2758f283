// SPDX-License-Identifier: MIT
#include "engines/crde2000/bmp.h"

#include "engines/crde2000/codes.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace crde {

namespace {

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

std::uint32_t U16(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8;
}
std::uint32_t U32(const std::uint8_t* p) {
    return U16(p) | U16(p + 2) << 16;
}

std::uint64_t RowBytes(std::uint64_t width, unsigned bits) {
    return ((width * bits + 31) / 32) * 4;
}

// A channel taken out of a pixel with its bit-field mask, scaled to 8 bits.
struct Channel {
    unsigned shift = 0;
    unsigned width = 0;
    explicit Channel(std::uint32_t mask) {
        if (!mask)
            return;
        while (!(mask & 1u)) {
            mask >>= 1;
            ++shift;
        }
        while (mask & 1u) {
            mask >>= 1;
            ++width;
        }
    }
    std::uint8_t Get(std::uint32_t pixel) const {
        if (width == 0)
            return 0;
        const std::uint32_t v = (pixel >> shift) & ((width >= 32 ? 0u : (1u << width)) - 1u);
        if (width >= 8)
            return static_cast<std::uint8_t>(v >> (width - 8));
        // Narrow channels are widened by repeating their bits (5 bits abcde: abcdeabc).
        std::uint32_t out = v << (8 - width);
        for (int filled = static_cast<int>(width); filled < 8; filled += static_cast<int>(width)) {
            const int shift = 8 - filled - static_cast<int>(width);
            out |= shift >= 0 ? v << shift : v >> -shift;
        }
        return static_cast<std::uint8_t>(out & 0xFF);
    }
};

// The decoded picture before it goes into a global block: bottom-up rows of `bits`.
struct Picture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    unsigned bits = 0;
    std::vector<std::uint8_t> table; // blue, green, red, 0 for each colour
    std::vector<std::uint8_t> rows;
    std::uint64_t stride = 0;
};

// Run-length encoded 8- or 4-bit rows; pixels outside the picture are dropped.
bool DecodeRle(const std::uint8_t* p, const std::uint8_t* end, bool four, Picture& pic) {
    std::uint32_t x = 0, y = 0; // y counts rows from the bottom
    auto put = [&](std::uint32_t value) {
        if (x < pic.width && y < pic.height) {
            std::uint8_t* row = pic.rows.data() + y * pic.stride;
            if (four) {
                const unsigned shift = (x & 1u) ? 0 : 4;
                row[x / 2] = static_cast<std::uint8_t>((row[x / 2] & ~(0xF << shift)) |
                                                       ((value & 0xF) << shift));
            } else {
                row[x] = static_cast<std::uint8_t>(value);
            }
        }
        ++x;
    };
    while (p + 2 <= end) {
        const unsigned count = p[0];
        const unsigned value = p[1];
        p += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i)
                put(four ? ((i & 1u) ? value & 0xF : value >> 4) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of picture
            return true;
        } else if (value == 2) { // delta
            if (p + 2 > end)
                return false;
            x += p[0];
            y += p[1];
            p += 2;
        } else { // an absolute run of `value` pixels, padded to a whole word
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            const std::size_t padded = (bytes + 1) & ~std::size_t(1);
            if (static_cast<std::size_t>(end - p) < bytes)
                return false;
            for (unsigned i = 0; i < value; ++i)
                put(four ? ((i & 1u) ? p[i / 2] & 0xF : p[i / 2] >> 4) : p[i]);
            p += std::min<std::size_t>(padded, static_cast<std::size_t>(end - p));
        }
        if (y >= pic.height)
            return true;
    }
    return true; // a missing end marker ends the picture where the data ends
}

HGLOBAL ToDib(const Picture& pic) {
    const std::uint64_t image = pic.stride * pic.height;
    const std::uint64_t total = 40 + pic.table.size() + image;
    HGLOBAL block = GlobalAlloc(GHND, static_cast<std::size_t>(total));
    if (!block)
        return nullptr;
    auto* d = static_cast<std::uint8_t*>(GlobalLock(block));
    auto put32 = [d](int at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            d[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    put32(0, 40);
    put32(4, pic.width);
    put32(8, pic.height);
    d[12] = 1;
    d[14] = static_cast<std::uint8_t>(pic.bits);
    put32(20, static_cast<std::uint32_t>(image));
    put32(24, 2953);
    put32(28, 2953);
    put32(32, static_cast<std::uint32_t>(pic.table.size() / 4));
    put32(36, static_cast<std::uint32_t>(pic.table.size() / 4));
    if (!pic.table.empty())
        std::memcpy(d + 40, pic.table.data(), pic.table.size());
    if (image)
        std::memcpy(d + 40 + pic.table.size(), pic.rows.data(), static_cast<std::size_t>(image));
    GlobalUnlock(block);
    return block;
}

} // namespace

bool IsBmp(const std::uint8_t* data, std::size_t size) {
    return data && size >= 2 && data[0] == 'B' && data[1] == 'M';
}

std::int16_t ReadBmp(const std::uint8_t* data, std::size_t size, HGLOBAL* dib) {
    if (!dib)
        return kErrBadArgument;
    *dib = nullptr;
    if (!IsBmp(data, size))
        return kErrNotThisFormat;
    if (size < 14 + 12)
        return kErrTruncated;
    const std::uint8_t* const end = data + size;
    const std::uint32_t offset = U32(data + 10);
    const std::uint8_t* info = data + 14;
    const std::uint32_t infoSize = U32(info);
    if (infoSize < 12 || infoSize > size - 14)
        return infoSize < 12 ? kErrBadHeader : kErrTruncated;

    std::int64_t width, height;
    unsigned bits;
    std::uint32_t compression = kRgb, used = 0;
    unsigned entryBytes = 4;
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (infoSize == 12) { // OS/2
        width = U16(info + 4);
        height = static_cast<std::int16_t>(U16(info + 6));
        bits = U16(info + 10);
        entryBytes = 3;
    } else {
        if (infoSize < 40)
            return kErrBadHeader;
        width = static_cast<std::int32_t>(U32(info + 4));
        height = static_cast<std::int32_t>(U32(info + 8));
        bits = U16(info + 14);
        compression = U32(info + 16);
        used = U32(info + 32);
    }
    if (width <= 0 || height == 0 || height == INT32_MIN)
        return kErrBadHeader;
    const bool topDown = height < 0;
    const std::uint64_t rows = static_cast<std::uint64_t>(topDown ? -height : height);
    if (static_cast<std::uint64_t>(width) * rows > kMaxPixels)
        return kErrTooLarge;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return kErrUnsupported;
    if ((compression == kRle8 && bits != 8) || (compression == kRle4 && bits != 4) ||
        (compression == kBitFields && bits != 16 && bits != 32) || compression > kBitFields ||
        ((compression == kRle8 || compression == kRle4) && topDown))
        return kErrUnsupported;
    if (bits == 32 && compression == kRgb) {
        masks[0] = 0x00FF0000;
        masks[1] = 0x0000FF00;
        masks[2] = 0x000000FF;
    }
    if (compression == kBitFields) {
        // The masks follow a 40-byte header, or sit inside a larger one.
        const std::uint8_t* m = info + 40;
        if (m + 12 > end)
            return kErrTruncated;
        for (int i = 0; i < 3; ++i)
            masks[i] = U32(m + 4 * i);
    }

    Picture pic;
    pic.width = static_cast<std::uint32_t>(width);
    pic.height = static_cast<std::uint32_t>(rows);
    pic.bits = bits <= 8 ? bits : 24;
    pic.stride = RowBytes(pic.width, pic.bits);

    if (bits <= 8) {
        const std::uint32_t most = 1u << bits;
        const std::uint32_t count = used == 0 || used > most ? most : used;
        const std::uint8_t* table =
            info + infoSize + (compression == kBitFields && infoSize == 40 ? 12 : 0);
        pic.table.assign(4 * std::size_t(most), 0);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint8_t* e = table + std::size_t(i) * entryBytes;
            if (e + 3 > end)
                return kErrTruncated;
            std::memcpy(&pic.table[4 * i], e, 3);
        }
    }
    if (offset >= size)
        return kErrTruncated;
    const std::uint8_t* pixels = data + offset;
    try {
        pic.rows.assign(static_cast<std::size_t>(pic.stride * pic.height), 0);
    } catch (const std::bad_alloc&) {
        return kErrNoMemory;
    }

    if (compression == kRle8 || compression == kRle4) {
        if (!DecodeRle(pixels, end, compression == kRle4, pic))
            return kErrTruncated;
    } else {
        const std::uint64_t inStride = RowBytes(pic.width, bits);
        if (inStride * pic.height > static_cast<std::uint64_t>(end - pixels))
            return kErrTruncated;
        const Channel r(masks[0]), g(masks[1]), b(masks[2]);
        for (std::uint32_t y = 0; y < pic.height; ++y) {
            const std::uint8_t* in = pixels + (topDown ? pic.height - 1 - y : y) * inStride;
            std::uint8_t* out = pic.rows.data() + y * pic.stride;
            if (bits <= 8 || bits == 24) {
                std::memcpy(out, in, static_cast<std::size_t>(RowBytes(pic.width, bits)));
                continue;
            }
            for (std::uint32_t x = 0; x < pic.width; ++x) {
                const std::uint32_t v = bits == 16 ? U16(in + 2 * x) : U32(in + 4 * x);
                out[3 * x] = b.Get(v);
                out[3 * x + 1] = g.Get(v);
                out[3 * x + 2] = r.Get(v);
            }
        }
    }
    *dib = ToDib(pic);
    return *dib ? kOk : kErrNoMemory;
}

} // namespace crde
