// SPDX-License-Identifier: MIT
#include "engines/crde2000/tga.h"

#include "engines/shared/codes.h"

#include <algorithm>
#include <cstring>

namespace crde {

namespace {

// A pixel of `bytes` bytes as blue, green, red.
void Expand(const std::uint8_t* p, unsigned bytes, std::uint8_t* bgr) {
    if (bytes >= 3) {
        std::memcpy(bgr, p, 3);
        return;
    }
    const unsigned v = p[0] | p[1] << 8;
    const unsigned r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
    bgr[0] = static_cast<std::uint8_t>(b << 3 | b >> 2);
    bgr[1] = static_cast<std::uint8_t>(g << 3 | g >> 2);
    bgr[2] = static_cast<std::uint8_t>(r << 3 | r >> 2);
}

} // namespace

bool IsTga(const std::uint8_t* data, std::size_t size) {
    if (!data || size < 18)
        return false;
    const unsigned mapType = data[1], type = data[2], depth = data[16];
    const unsigned w = data[12] | data[13] << 8, h = data[14] | data[15] << 8;
    if (mapType > 1 || w == 0 || h == 0)
        return false;
    switch (type & ~8u) {
    case 1:
        return mapType == 1 && (depth == 8);
    case 2:
        return depth == 15 || depth == 16 || depth == 24 || depth == 32;
    case 3:
        return depth == 8 || depth == 16; // grey, or grey and an alpha byte
    default:
        return false;
    }
}

std::int16_t ReadTga(const std::uint8_t* data, std::size_t size, HGLOBAL* dib) {
    *dib = nullptr;
    if (!IsTga(data, size))
        return kErrNotThisFormat;
    Reader in(data, size);
    const unsigned idLength = data[0], type = data[2] & 7u;
    const bool rle = data[2] & 8u;
    const unsigned mapFirst = in.U16(3), mapLength = in.U16(5), mapDepth = data[7];
    const std::int64_t w = in.U16(12), h = in.U16(14);
    const unsigned depth = data[16], descriptor = data[17];
    const bool topDown = descriptor & 0x20, rightToLeft = descriptor & 0x10;
    const unsigned pixelBytes = (depth + 7) / 8;
    const unsigned mapBytes = (mapDepth + 7) / 8;
    std::size_t at = 18 + idLength;
    const int bits = type == 2 ? 24 : 8;
    NewDib out;
    if (std::int16_t code = out.Create(w, h, bits, bits == 8 ? 256 : 0); code != kOk)
        return code;
    if (data[1] == 1) {
        if (mapBytes < 2 || mapBytes > 4)
            return kErrBadHeader;
        if (std::size_t(mapLength) * mapBytes > size - std::min(size, at))
            return kErrTruncated;
        for (unsigned i = 0; i < mapLength; ++i) {
            std::uint8_t bgr[3];
            Expand(data + at + std::size_t(i) * mapBytes, mapBytes, bgr);
            if (type == 1 && mapFirst + i < 256)
                out.SetColour(int(mapFirst + i), bgr[2], bgr[1], bgr[0]);
        }
        at += std::size_t(mapLength) * mapBytes;
    }
    if (type == 3)
        for (int i = 0; i < 256; ++i)
            out.SetColour(i, std::uint8_t(i), std::uint8_t(i), std::uint8_t(i));
    if (!in.Seek(at))
        return kErrTruncated;
    // Pixels go into each row packet by packet: a run is one pixel stored n times, raw pixels
    // are converted as they lie. Packets may cross rows; one that runs past the picture's end
    // is cut there. Rows stored right to left are turned round once they are whole.
    const unsigned outBytes = bits == 8 ? 1 : 3;
    auto store = [&](const std::uint8_t* p, std::uint8_t* to) {
        if (bits == 8)
            *to = p[0];
        else
            Expand(p, pixelBytes, to);
    };
    std::uint8_t pixel[4] = {};
    std::uint64_t runLeft = 0, rawLeft = rle ? 0 : std::uint64_t(w) * std::uint64_t(h);
    for (std::int64_t line = 0; line < h; ++line) {
        std::uint8_t* row = out.Row(topDown ? line : h - 1 - line);
        std::int64_t i = 0;
        while (i < w) {
            if (runLeft == 0 && rawLeft == 0) {
                const int b = in.Byte();
                if (b < 0)
                    return kErrTruncated;
                if (b & 0x80) {
                    runLeft = (b & 0x7F) + 1;
                    if (in.Take(pixel, pixelBytes) != pixelBytes)
                        return kErrTruncated;
                } else {
                    rawLeft = b + 1;
                }
            }
            std::uint8_t* to = row + outBytes * std::size_t(i);
            if (runLeft) {
                const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(runLeft, w - i));
                store(pixel, to);
                if (outBytes == 1) {
                    std::memset(to, to[0], n);
                } else {
                    // Doubling copies: the filled part is copied onto what follows it.
                    for (std::size_t done = 1; done < n;) {
                        const std::size_t more = std::min(done, n - done);
                        std::memcpy(to + 3 * done, to, 3 * more);
                        done += more;
                    }
                }
                runLeft -= n;
                i += std::int64_t(n);
            } else {
                const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(rawLeft, w - i));
                if (!in.Has(n * pixelBytes))
                    return kErrTruncated;
                const std::uint8_t* p = in.Here();
                if (pixelBytes == outBytes)
                    std::memcpy(to, p, n * outBytes);
                else
                    for (std::size_t k = 0; k < n; ++k)
                        store(p + k * pixelBytes, to + k * outBytes);
                in.Seek(in.At() + n * pixelBytes);
                rawLeft -= n;
                i += std::int64_t(n);
            }
        }
        if (rightToLeft)
            for (std::int64_t l = 0, r = w - 1; l < r; ++l, --r)
                for (unsigned k = 0; k < outBytes; ++k)
                    std::swap(row[outBytes * std::size_t(l) + k],
                              row[outBytes * std::size_t(r) + k]);
    }
    *dib = out.Release();
    return kOk;
}

std::int16_t WriteTga(const DibView& dib, bool rle, Bytes& out) {
    if (!dib.Valid() || dib.Compression() != 0 || (dib.Bits() != 8 && dib.Bits() != 24) ||
        dib.Width() > 65535 || dib.Height() > 65535)
        return kErrBadArgument;
    const bool mapped = dib.Bits() == 8;
    out.assign(18, 0);
    out[1] = mapped ? 1 : 0;
    out[2] = static_cast<std::uint8_t>((mapped ? 1 : 2) | (rle ? 8 : 0));
    if (mapped) {
        out[5] = 0; // 256 entries
        out[6] = 1;
        out[7] = 24;
    }
    out[12] = static_cast<std::uint8_t>(dib.Width());
    out[13] = static_cast<std::uint8_t>(dib.Width() >> 8);
    out[14] = static_cast<std::uint8_t>(dib.Height());
    out[15] = static_cast<std::uint8_t>(dib.Height() >> 8);
    out[16] = mapped ? 8 : 24;
    if (mapped)
        for (int i = 0; i < 256; ++i) {
            const std::uint8_t* c = i < dib.Colours() ? dib.Colour(i) : nullptr;
            for (int k = 0; k < 3; ++k)
                out.push_back(c ? c[k] : 0);
        }
    const unsigned bytes = mapped ? 1 : 3;
    const auto w = static_cast<std::size_t>(dib.Width());
    // Rows bottom-up, the file's natural order.
    for (std::int64_t y = dib.Height() - 1; y >= 0; --y) {
        const std::uint8_t* row = dib.Row(y);
        if (!rle) {
            out.insert(out.end(), row, row + w * bytes);
            continue;
        }
        auto same = [&](std::size_t a, std::size_t b) {
            return std::memcmp(row + a * bytes, row + b * bytes, bytes) == 0;
        };
        for (std::size_t x = 0; x < w;) {
            std::size_t run = 1;
            while (x + run < w && run < 128 && same(x, x + run))
                ++run;
            if (run > 1) {
                out.push_back(static_cast<std::uint8_t>(0x80 | (run - 1)));
                out.insert(out.end(), row + x * bytes, row + (x + 1) * bytes);
                x += run;
                continue;
            }
            std::size_t raw = 1;
            while (x + raw < w && raw < 128 && !(x + raw + 1 < w && same(x + raw, x + raw + 1)))
                ++raw;
            out.push_back(static_cast<std::uint8_t>(raw - 1));
            out.insert(out.end(), row + x * bytes, row + (x + raw) * bytes);
            x += raw;
        }
    }
    return kOk;
}

std::int16_t TgaFacts(const Reader& in, StreamFacts* f) {

    f->width = in.U16(12);
    f->height = in.U16(14);
    f->bits = int(in.U8(16));
    f->compression = (in.U8(2) & 8) ? "RLE" : "NONE";
    return kOk;
}

} // namespace crde
