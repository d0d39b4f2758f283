// SPDX-License-Identifier: MIT
#include "engines/shared/depth.h"

#include "engines/colour/reduce.h"
#include "engines/shared/codes.h"

#include <cstring>
#include <vector>

namespace engine {

namespace {

unsigned IndexAt(const std::uint8_t* row, std::int64_t x, int bits) {
    switch (bits) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4:
        return (x & 1) ? row[x >> 1] & 0xFu : row[x >> 1] >> 4;
    default:
        return row[x];
    }
}

} // namespace

std::int16_t Promote(const DibView& source, int bits, HGLOBAL* out) {
    *out = nullptr;
    if (!source.Valid() || source.Compression() == 1 || source.Compression() == 2)
        return kErrBadArgument;
    const int from = source.Bits();
    // 16 and 32 bits go to 24; palette depths only upwards.
    const bool widening = from == 16 || from == 32 ? bits == 24 : from < bits && from <= 8;
    if (!widening || (bits != 4 && bits != 8 && bits != 24))
        return kErrBadArgument;
    NewDib dib;
    if (std::int16_t code =
            dib.Create(source.Width(), source.Height(), bits, bits == 24 ? 0 : 1 << bits);
        code != kOk)
        return code;
    const std::int64_t w = source.Width();
    if (bits == 24) {
        for (std::int64_t y = 0; y < source.Height(); ++y)
            source.RowBgr(y, dib.Row(y));
        *out = dib.Release();
        return kOk;
    }
    for (int i = 0; i < source.Colours(); ++i)
        std::memcpy(dib.Colour(i), source.Colour(i), 3);
    for (std::int64_t y = 0; y < source.Height(); ++y) {
        const std::uint8_t* in = source.Row(y);
        std::uint8_t* row = dib.Row(y);
        for (std::int64_t x = 0; x < w; ++x) {
            const unsigned v = IndexAt(in, x, from);
            if (bits == 8)
                row[x] = static_cast<std::uint8_t>(v);
            else
                row[x >> 1] |= static_cast<std::uint8_t>((x & 1) ? v : v << 4);
        }
    }
    *out = dib.Release();
    return kOk;
}

std::int16_t ConvertDepth(const DibView& source, int bits, bool dither, HGLOBAL* out) {
    *out = nullptr;
    if (!source.Valid() || source.Compression() == 1 || source.Compression() == 2)
        return kErrBadArgument;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24)
        return kErrBadArgument;
    const int from = source.Bits();
    if (bits > from || (bits == 24 && from > 8))
        return Promote(source, bits, out);
    if (bits == from)
        return CopyBlock(source, out);
    const bool grey = from <= 8 && source.GreyTable();
    return Reduce(source, bits, dither, grey ? colour::Method::Greyscale : colour::Method::Floyd,
                  {}, out);
}

std::int16_t CopyBlock(const DibView& source, HGLOBAL* out) {
    *out = nullptr;
    HGLOBAL copy = GlobalAlloc(GHND, source.BlockSize());
    if (!copy)
        return kErrNoMemory;
    std::memcpy(GlobalLock(copy), source.Header(), source.BlockSize());
    GlobalUnlock(copy);
    *out = copy;
    return kOk;
}

std::int16_t Reduce(const DibView& source, int bits, bool dither, colour::Method method,
                    const colour::Progress& progress, HGLOBAL* out) {
    *out = nullptr;
    if (!source.Valid() || source.Compression() != 0 || (bits != 1 && bits != 4 && bits != 8))
        return kErrBadArgument;
    // Reduction works on 24-bit rows, top-down.
    const std::int64_t w = source.Width(), h = source.Height();
    std::vector<std::uint8_t> bgr;
    try {
        bgr.resize(static_cast<std::size_t>(w * h * 3));
    } catch (const std::bad_alloc&) {
        return kErrNoMemory;
    }
    for (std::int64_t y = 0; y < h; ++y)
        source.RowBgr(y, bgr.data() + y * w * 3);
    const colour::BgrView view{bgr.data(), static_cast<std::ptrdiff_t>(w * 3), int(w), int(h)};
    const std::vector<colour::Rgb> palette = colour::ChoosePalette(view, bits, method);
    NewDib dib;
    if (std::int16_t code = dib.Create(w, h, bits, int(palette.size())); code != kOk)
        return code;
    for (std::size_t i = 0; i < palette.size(); ++i)
        dib.SetColour(int(i), palette[i].r, palette[i].g, palette[i].b);
    // Rows of a bottom-up DIB run backwards from the top row's address.
    if (!colour::Reduce(view, palette, bits, dither, method, dib.Row(0),
                        -static_cast<std::ptrdiff_t>(dib.Stride()), progress))
        return kErrCancelled;
    *out = dib.Release();
    return kOk;
}

std::int16_t ApplyReadDepth(HGLOBAL* dib, int depth, bool dither) {
    if (depth == 0)
        return kOk;
    HGLOBAL converted = nullptr;
    std::int16_t code;
    {
        DibView view(*dib);
        if (view.Bits() == depth)
            return kOk;
        code = ConvertDepth(view, depth, dither, &converted);
    }
    if (code != kOk)
        return code;
    GlobalFree(*dib);
    *dib = converted;
    return kOk;
}

} // namespace engine
