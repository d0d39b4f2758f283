// SPDX-License-Identifier: MIT
#include "engines/crde2000/png.h"

#include "engines/shared/codes.h"

#include <png.h>

#include <cstring>

namespace crde {

namespace {

void OnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void OnWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep out, png_size_t n) {
    auto* in = static_cast<Reader*>(png_get_io_ptr(png));
    if (in->Take(out, n) != n)
        png_error(png, "truncated");
}

void WriteToMemory(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}
void Flush(png_structp) {}

struct ReadState {
    Reader in;
    NewDib dib;
    std::vector<png_bytep> rows;
    std::int16_t code = kErrTruncated;
};

// Kept apart from the caller so that a long jump only unwinds plain data.
void Decode(png_structp png, png_infop info, ReadState& s) {
    if (setjmp(png_jmpbuf(png)))
        return;
    png_set_sig_bytes(png, 0);
    png_read_info(png, info);
    const png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    const int depth = png_get_bit_depth(png, info);
    const int type = png_get_color_type(png, info);
    if (std::uint64_t(w) * h > kMaxPixels) {
        s.code = kErrTooLarge;
        return;
    }
    int bits = 24, colours = 0;
    png_colorp palette = nullptr;
    int paletteSize = 0;
    if (depth == 16)
        png_set_strip_16(png);
    if (type == PNG_COLOR_TYPE_PALETTE) {
        png_get_PLTE(png, info, &palette, &paletteSize);
        bits = depth == 1 ? 1 : depth <= 4 ? 4 : 8;
        colours = 1 << bits;
    } else if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) {
        bits = depth == 1 && type == PNG_COLOR_TYPE_GRAY ? 1 : 8;
        colours = 1 << bits;
        if (bits == 8 && depth < 8)
            png_set_expand_gray_1_2_4_to_8(png);
        if (type == PNG_COLOR_TYPE_GRAY_ALPHA)
            png_set_strip_alpha(png);
    } else {
        png_set_bgr(png);
        png_set_strip_alpha(png);
    }
    if (bits == 4 && depth == 2)
        png_set_packing(png); // 2-bit indexes to bytes, packed again below
    const int passes = png_set_interlace_handling(png);
    (void)passes;
    png_read_update_info(png, info);
    if ((s.code = s.dib.Create(w, h, bits, colours, true)) != kOk)
        return;
    if (palette)
        for (int i = 0; i < paletteSize && i < colours; ++i)
            s.dib.SetColour(i, palette[i].red, palette[i].green, palette[i].blue);
    else if (bits <= 8)
        for (int i = 0; i < colours; ++i) {
            const auto v = static_cast<std::uint8_t>(i * 255 / (colours - 1));
            s.dib.SetColour(i, v, v, v);
        }
    const bool twoBit = bits == 4 && depth == 2;
    std::vector<std::uint8_t> wide; // 2-bit palettes arrive one index per byte
    if (twoBit)
        wide.resize(std::size_t(w) * h);
    s.code = kErrTruncated; // until every row has arrived
    s.rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y)
        s.rows[y] = twoBit ? wide.data() + std::size_t(y) * w : s.dib.Row(y);
    png_read_image(png, s.rows.data());
    if (twoBit)
        for (png_uint_32 y = 0; y < h; ++y) {
            std::uint8_t* row = s.dib.Row(y);
            for (png_uint_32 x = 0; x < w; ++x)
                row[x >> 1] |=
                    static_cast<std::uint8_t>((x & 1) ? s.rows[y][x] & 0xF : s.rows[y][x] << 4);
        }
    s.code = kOk;
}

} // namespace

bool IsPng(const std::uint8_t* data, std::size_t size) {
    return data && size >= 8 && png_sig_cmp(data, 0, 8) == 0;
}

std::int16_t ReadPng(const std::uint8_t* data, std::size_t size, HGLOBAL* dib) {
    *dib = nullptr;
    if (!IsPng(data, size))
        return kErrNotThisFormat;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!png)
        return kErrNoMemory;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return kErrNoMemory;
    }
    png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
    png_set_chunk_malloc_max(png, 64u << 20);
    ReadState state{Reader(data, size), {}, {}};
    png_set_read_fn(png, &state.in, ReadFromMemory);
    Decode(png, info, state);
    png_destroy_read_struct(&png, &info, nullptr);
    if (state.code == kOk)
        *dib = state.dib.Release();
    return state.code;
}

namespace {

struct WriteState {
    std::vector<png_bytep> rows;
    std::vector<std::uint8_t> swapped;
    bool ok = false;
};

void Encode(png_structp png, png_infop info, const DibView& dib, bool interlaced, WriteState& s) {
    if (setjmp(png_jmpbuf(png)))
        return;
    const auto w = static_cast<png_uint_32>(dib.Width()),
               h = static_cast<png_uint_32>(dib.Height());
    const int bits = dib.Bits();
    png_set_IHDR(png, info, w, h, bits == 24 ? 8 : bits,
                 bits == 24 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_PALETTE,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    if (bits <= 8) {
        for (int i = 0; i < dib.Colours(); ++i) {
            const std::uint8_t* c = dib.Colour(i);
            palette.push_back({c[2], c[1], c[0]});
        }
        if (palette.empty())
            palette.push_back({0, 0, 0});
        png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    }
    png_set_pHYs(png, info, 2953, 2953, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    if (bits == 24)
        png_set_bgr(png);
    s.rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y)
        s.rows[y] = const_cast<png_bytep>(dib.Row(y));
    png_write_image(png, s.rows.data());
    png_write_end(png, info);
    s.ok = true;
}

} // namespace

std::int16_t WritePng(const DibView& dib, bool interlaced, Bytes& out) {
    if (!dib.Valid() || dib.Compression() != 0 || dib.Bits() == 16 || dib.Bits() == 32)
        return kErrBadArgument;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!png)
        return kErrNoMemory;
    png_infop info = png_create_info_struct(png);
    out.clear();
    png_set_write_fn(png, &out, WriteToMemory, Flush);
    WriteState state;
    if (info)
        Encode(png, info, dib, interlaced, state);
    png_destroy_write_struct(&png, &info);
    return state.ok ? kOk : kErrNoMemory;
}

std::int16_t PngFacts(const Reader& in, StreamFacts* f) {
    if (in.Size() < 33)
        return kErrTruncated;
    f->width = in.Be32(16);
    f->height = in.Be32(20);
    const unsigned depth = in.U8(24), type = in.U8(25);
    const unsigned channels = type == 2 ? 3 : type == 4 ? 2 : type == 6 ? 4 : 1;
    f->bits = int(depth * channels);
    f->extraA = int(in.U8(28));
    f->extraB = int(type);
    f->compression = "DEFLATE";
    return kOk;
}

} // namespace crde
