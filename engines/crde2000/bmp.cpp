// SPDX-License-Identifier: MIT
#include "engines/crde2000/bmp.h"

#include "engines/dib/dib_layout.h"
#include "engines/shared/codes.h"
#include "engines/shared/dib_block.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace crde {

namespace {

using dib::kBitFields;
using dib::kRgb;
using dib::kRle4;
using dib::kRle8;

std::uint32_t U16(const std::uint8_t* p) {
    return dib::Get16(p);
}
using dib::Get32;

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
            const int at = 8 - filled - static_cast<int>(width);
            out |= at >= 0 ? v << at : v >> -at;
        }
        return static_cast<std::uint8_t>(out & 0xFF);
    }
};

// Where run-length rows are decoded to: bottom-up rows of the new DIB.
struct Picture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint8_t* rows = nullptr;
    std::uint64_t stride = 0;
};

// Run-length encoded 8- or 4-bit rows; pixels outside the picture are dropped.
bool DecodeRle(const std::uint8_t* p, const std::uint8_t* end, bool four, Picture& pic) {
    std::uint32_t x = 0, y = 0; // y counts rows from the bottom
    auto put = [&](std::uint32_t value) {
        if (x < pic.width && y < pic.height) {
            std::uint8_t* row = pic.rows + y * pic.stride;
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
    // Without an end marker the picture is whole only when its last row has arrived.
    return y >= pic.height || (y + 1 == pic.height && x >= pic.width);
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
    const std::uint32_t offset = Get32(data + 10);
    const std::uint8_t* info = data + 14;
    const std::uint32_t infoSize = Get32(info);
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
        width = static_cast<std::int32_t>(Get32(info + 4));
        height = static_cast<std::int32_t>(Get32(info + 8));
        bits = U16(info + 14);
        compression = Get32(info + 16);
        used = Get32(info + 32);
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
            masks[i] = Get32(m + 4 * i);
    }

    const unsigned outBits = bits <= 8 ? bits : 24;
    const int colours = bits <= 8 ? 1 << bits : 0;
    if (offset >= size)
        return kErrTruncated;
    // True-colour rows are kept top-down, so a bitmap can show them where they lie; run-length
    // rows are decoded bottom-up as they are stored.
    const bool rle = compression == kRle8 || compression == kRle4;
    NewDib out;
    if (std::int16_t code = out.Create(width, static_cast<std::int64_t>(rows), int(outBits),
                                       colours, outBits == 24 && !rle);
        code != kOk)
        return code;
    if (bits <= 8) {
        const std::uint32_t count = used == 0 || used > std::uint32_t(colours) ? colours : used;
        const std::uint8_t* table =
            info + infoSize + (compression == kBitFields && infoSize == 40 ? 12 : 0);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint8_t* e = table + std::size_t(i) * entryBytes;
            if (e < data || e + 3 > end)
                return kErrTruncated;
            std::memcpy(out.Colour(int(i)), e, 3);
        }
    }
    const std::uint8_t* pixels = data + offset;
    const std::uint32_t height32 = static_cast<std::uint32_t>(rows);

    if (compression == kRle8 || compression == kRle4) {
        Picture pic{static_cast<std::uint32_t>(width), height32, out.Row(height32 - 1),
                    out.Stride()};
        if (!DecodeRle(pixels, end, compression == kRle4, pic))
            return kErrTruncated;
    } else {
        const std::uint64_t inStride = dib::RowStride(static_cast<std::uint64_t>(width), bits);
        if (inStride * height32 > static_cast<std::uint64_t>(end - pixels))
            return kErrTruncated;
        const Channel r(masks[0]), g(masks[1]), b(masks[2]);
        for (std::uint32_t y = 0; y < height32; ++y) {
            // y counts rows from the top of the picture.
            const std::uint8_t* in = pixels + (topDown ? y : height32 - 1 - y) * inStride;
            std::uint8_t* row = out.Row(y);
            if (bits <= 8 || bits == 24) {
                std::memcpy(row, in, out.Stride());
                continue;
            }
            for (std::int64_t x = 0; x < width; ++x) {
                const std::uint32_t v = bits == 16 ? U16(in + 2 * x) : Get32(in + 4 * x);
                row[3 * x] = b.Get(v);
                row[3 * x + 1] = g.Get(v);
                row[3 * x + 2] = r.Get(v);
            }
        }
    }
    *dib = out.Release();
    return kOk;
}

std::int16_t ExpandRle(const DibView& dib, HGLOBAL* out) {
    *out = nullptr;
    if (!dib.Valid() || (dib.Compression() != kRle8 && dib.Compression() != kRle4) ||
        dib.Bits() != (dib.Compression() == kRle8 ? 8 : 4))
        return kErrBadArgument;
    NewDib expanded;
    if (std::int16_t code = expanded.Create(dib.Width(), dib.Height(), dib.Bits(), dib.Colours());
        code != kOk)
        return code;
    if (dib.Colours())
        std::memcpy(expanded.Colour(0), dib.Colour(0), 4 * std::size_t(dib.Colours()));
    const auto h = static_cast<std::uint32_t>(dib.Height());
    Picture pic{static_cast<std::uint32_t>(dib.Width()), h, expanded.Row(h - 1), expanded.Stride()};
    if (!DecodeRle(dib.Pixels(), dib.Pixels() + dib.PixelBytes(), dib.Compression() == kRle4, pic))
        return kErrTruncated;
    *out = expanded.Release();
    return kOk;
}

std::int16_t WriteBmp(const DibView& dib, std::vector<std::uint8_t>& out) {
    if (!dib.Valid() || dib.Compression() != 0 || dib.Bits() == 16 || dib.Bits() == 32)
        return kErrBadArgument;
    const std::size_t table = 4 * std::size_t(dib.Colours());
    const std::size_t image = dib.Stride() * static_cast<std::size_t>(dib.Height());
    const std::size_t offset = 14 + 40 + table;
    out.assign(offset + image, 0);
    auto put = [&](std::size_t at, std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    out[0] = 'B';
    out[1] = 'M';
    put(2, static_cast<std::uint32_t>(out.size()), 4);
    put(10, static_cast<std::uint32_t>(offset), 4);
    put(14, 40, 4);
    put(18, static_cast<std::uint32_t>(dib.Width()), 4);
    put(22, static_cast<std::uint32_t>(dib.Height()), 4);
    put(26, 1, 2);
    put(28, static_cast<std::uint32_t>(dib.Bits()), 2);
    put(34, static_cast<std::uint32_t>(image), 4);
    put(38, 2953, 4);
    put(42, 2953, 4);
    put(46, static_cast<std::uint32_t>(dib.Colours()), 4);
    put(50, static_cast<std::uint32_t>(dib.Colours()), 4);
    if (table)
        std::memcpy(out.data() + 54, dib.Colour(0), table);
    for (std::int64_t y = 0; y < dib.Height(); ++y)
        std::memcpy(out.data() + offset + dib.Stride() * static_cast<std::size_t>(y),
                    dib.Row(dib.Height() - 1 - y), dib.Stride());
    return kOk;
}

std::int16_t BmpFacts(const Reader& in, StreamFacts* f) {
    if (in.Size() < 26)
        return kErrTruncated;
    const std::uint32_t header = in.U32(14);
    if (header == 12) {
        f->width = in.U16(18);
        f->height = in.U16(20);
        f->bits = static_cast<int>(in.U16(24));
        f->compression = "NONE";
        return kOk;
    }
    if (in.Size() < 54)
        return kErrTruncated;
    f->width = static_cast<std::int32_t>(in.U32(18));
    const auto h = static_cast<std::int32_t>(in.U32(22));
    f->height = h < 0 ? -std::int64_t(h) : h;
    f->bits = static_cast<int>(in.U16(28));
    static const char* const names[] = {"NONE", "RLE8", "RLE4", "BITFIELDS"};
    const std::uint32_t c = in.U32(30);
    f->compression = c < 4 ? names[c] : "UNKNOWN";
    return kOk;
}

} // namespace crde
