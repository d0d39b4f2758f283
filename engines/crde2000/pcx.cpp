// SPDX-License-Identifier: MIT
#include "engines/crde2000/pcx.h"

#include "engines/shared/codes.h"

#include <cstring>

namespace crde {

namespace {

// The standard EGA colours, for 4-plane files whose header palette is empty.
constexpr std::uint8_t kEga[16][3] = {
    {0, 0, 0},     {0, 0, 170},     {0, 170, 0},    {0, 170, 170},  {170, 0, 0},   {170, 0, 170},
    {170, 85, 0},  {170, 170, 170}, {85, 85, 85},   {85, 85, 255},  {85, 255, 85}, {85, 255, 255},
    {255, 85, 85}, {255, 85, 255},  {255, 255, 85}, {255, 255, 255}};

} // namespace

bool IsPcx(const std::uint8_t* data, std::size_t size) {
    return data && size >= 128 && data[0] == 0x0A && data[1] <= 5 && data[2] <= 1 &&
           (data[3] == 1 || data[3] == 2 || data[3] == 4 || data[3] == 8);
}

std::int16_t ReadPcx(const std::uint8_t* data, std::size_t size, HGLOBAL* dib) {
    *dib = nullptr;
    if (!IsPcx(data, size))
        return kErrNotThisFormat;
    Reader in(data, size);
    const bool rle = data[2] == 1;
    const unsigned bpp = data[3], planes = data[65];
    const std::int64_t w = std::int64_t(in.U16(8)) - in.U16(4) + 1;
    const std::int64_t h = std::int64_t(in.U16(10)) - in.U16(6) + 1;
    const std::size_t lineBytes = in.U16(66);
    if (w <= 0 || h <= 0)
        return kErrBadHeader;
    if (std::uint64_t(w) * std::uint64_t(h) > kMaxPixels)
        return kErrTooLarge;
    int bits;
    if (bpp == 1 && planes == 1)
        bits = 1;
    else if (bpp == 1 && planes == 4)
        bits = 4;
    else if (bpp == 8 && planes == 1)
        bits = 8;
    else if (bpp == 8 && planes == 3)
        bits = 24;
    else
        return kErrUnsupported;
    if (lineBytes * 8 < std::size_t(w) * bpp)
        return kErrBadHeader;
    NewDib out;
    if (std::int16_t code = out.Create(w, h, bits, bits == 24 ? 0 : 1 << bits); code != kOk)
        return code;
    if (bits == 8) {
        // 256 colours follow a 12 at the end of the file.
        if (size < 128 + 769 || data[size - 769] != 12)
            return kErrTruncated;
        const std::uint8_t* p = data + size - 768;
        for (int i = 0; i < 256; ++i)
            out.SetColour(i, p[3 * i], p[3 * i + 1], p[3 * i + 2]);
    } else if (bits <= 4) {
        const std::uint8_t* p = data + 16;
        bool empty = true;
        for (int i = 0; i < 48; ++i)
            empty = empty && p[i] == 0;
        for (int i = 0; i < (1 << bits); ++i) {
            if (!empty)
                out.SetColour(i, p[3 * i], p[3 * i + 1], p[3 * i + 2]);
            else if (bits == 4)
                out.SetColour(i, kEga[i][0], kEga[i][1], kEga[i][2]);
            else
                out.SetColour(i, std::uint8_t(i * 255), std::uint8_t(i * 255),
                              std::uint8_t(i * 255));
        }
    }
    in.Seek(128);
    std::vector<std::uint8_t> line(lineBytes * planes);
    // Runs may cross line ends; the decoder carries them over.
    unsigned runLeft = 0;
    std::uint8_t runValue = 0;
    for (std::int64_t y = 0; y < h; ++y) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (!rle) {
                const int b = in.Byte();
                if (b < 0)
                    return kErrTruncated;
                line[i] = static_cast<std::uint8_t>(b);
                continue;
            }
            if (runLeft == 0) {
                const int b = in.Byte();
                if (b < 0)
                    return kErrTruncated;
                if ((b & 0xC0) == 0xC0) {
                    runLeft = b & 0x3F;
                    const int v = in.Byte();
                    if (v < 0)
                        return kErrTruncated;
                    runValue = static_cast<std::uint8_t>(v);
                } else {
                    runLeft = 1;
                    runValue = static_cast<std::uint8_t>(b);
                }
                if (runLeft == 0) {
                    --i; // an empty run holds nothing
                    continue;
                }
            }
            line[i] = runValue;
            --runLeft;
        }
        std::uint8_t* row = out.Row(y);
        if (bits == 1 || bits == 8) {
            std::memcpy(row, line.data(), std::min(out.Stride(), lineBytes));
        } else if (bits == 24) {
            for (std::int64_t x = 0; x < w; ++x) {
                row[3 * x] = line[2 * lineBytes + x];
                row[3 * x + 1] = line[lineBytes + x];
                row[3 * x + 2] = line[x];
            }
        } else {
            for (std::int64_t x = 0; x < w; ++x) {
                unsigned v = 0;
                for (unsigned p = 0; p < 4; ++p)
                    v |= ((line[p * lineBytes + (x >> 3)] >> (7 - (x & 7))) & 1u) << p;
                row[x >> 1] |= static_cast<std::uint8_t>((x & 1) ? v : v << 4);
            }
        }
    }
    *dib = out.Release();
    return kOk;
}

std::int16_t WritePcx(const DibView& dib, Bytes& out) {
    if (!dib.Valid() || dib.Compression() != 0 || dib.Bits() == 16 || dib.Bits() == 32 ||
        dib.Width() > 65535 || dib.Height() > 65535)
        return kErrBadArgument;
    const int bits = dib.Bits();
    const std::int64_t w = dib.Width(), h = dib.Height();
    const unsigned bpp = bits == 1 || bits == 4 ? 1 : 8;
    const unsigned planes = bits == 4 ? 4 : bits == 24 ? 3 : 1;
    std::size_t lineBytes = (std::size_t(w) * bpp + 7) / 8;
    lineBytes += lineBytes & 1; // an even count, as readers expect
    out.assign(128, 0);
    out[0] = 0x0A;
    out[1] = 5;
    out[2] = 1;
    out[3] = static_cast<std::uint8_t>(bpp);
    auto put16 = [&](std::size_t at, std::uint32_t v) {
        out[at] = static_cast<std::uint8_t>(v);
        out[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    put16(8, static_cast<std::uint32_t>(w - 1));
    put16(10, static_cast<std::uint32_t>(h - 1));
    put16(12, 75);
    put16(14, 75);
    if (bits <= 4)
        for (int i = 0; i < dib.Colours() && i < 16; ++i) {
            const std::uint8_t* c = dib.Colour(i);
            out[16 + 3 * i] = c[2];
            out[17 + 3 * i] = c[1];
            out[18 + 3 * i] = c[0];
        }
    out[65] = static_cast<std::uint8_t>(planes);
    put16(66, static_cast<std::uint32_t>(lineBytes));
    put16(68, bits == 8 && dib.GreyTable() ? 2 : 1);
    std::vector<std::uint8_t> line(lineBytes * planes);
    for (std::int64_t y = 0; y < h; ++y) {
        std::fill(line.begin(), line.end(), 0);
        const std::uint8_t* row = dib.Row(y);
        if (bits == 1 || bits == 8) {
            std::memcpy(line.data(), row, (std::size_t(w) * bits + 7) / 8);
        } else if (bits == 24) {
            for (std::int64_t x = 0; x < w; ++x) {
                line[x] = row[3 * x + 2];
                line[lineBytes + x] = row[3 * x + 1];
                line[2 * lineBytes + x] = row[3 * x];
            }
        } else {
            for (std::int64_t x = 0; x < w; ++x) {
                const unsigned v = (x & 1) ? row[x >> 1] & 0xF : row[x >> 1] >> 4;
                for (unsigned p = 0; p < 4; ++p)
                    if (v & (1u << p))
                        line[p * lineBytes + (x >> 3)] |=
                            static_cast<std::uint8_t>(0x80 >> (x & 7));
            }
        }
        // Runs stay within each plane's line.
        for (unsigned p = 0; p < planes; ++p) {
            const std::uint8_t* s = line.data() + p * lineBytes;
            for (std::size_t i = 0; i < lineBytes;) {
                std::size_t run = 1;
                while (i + run < lineBytes && run < 63 && s[i + run] == s[i])
                    ++run;
                if (run > 1 || (s[i] & 0xC0) == 0xC0)
                    out.push_back(static_cast<std::uint8_t>(0xC0 | run));
                out.push_back(s[i]);
                i += run;
            }
        }
    }
    if (bits == 8) {
        out.push_back(12);
        for (int i = 0; i < 256; ++i) {
            const std::uint8_t* c = i < dib.Colours() ? dib.Colour(i) : nullptr;
            out.push_back(c ? c[2] : 0);
            out.push_back(c ? c[1] : 0);
            out.push_back(c ? c[0] : 0);
        }
    }
    return kOk;
}

std::int16_t PcxFacts(const Reader& in, StreamFacts* f) {

    f->width = std::int64_t(in.U16(8)) - in.U16(4) + 1;
    f->height = std::int64_t(in.U16(10)) - in.U16(6) + 1;
    f->bits = int(in.U8(3) * in.U8(65));
    f->compression = in.U8(2) ? "RLE" : "NONE";
    return kOk;
}

} // namespace crde
