// SPDX-License-Identifier: MIT
#include "engines/crde2000/gif.h"

#include "engines/shared/codes.h"

#include <gif_lib.h>

#include <cstring>
#include <memory>

namespace crde {

namespace {

int ReadFromMemory(GifFileType* gif, GifByteType* out, int n) {
    auto* in = static_cast<Reader*>(gif->UserData);
    return n < 0 ? 0 : static_cast<int>(in->Take(out, static_cast<std::size_t>(n)));
}

int WriteToMemory(GifFileType* gif, const GifByteType* data, int n) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + n);
    return n;
}

// Sets one pixel of a packed row, replacing what was there (a background, say).
void Pack(std::uint8_t* row, int x, int bits, unsigned v) {
    if (bits == 8) {
        row[x] = static_cast<std::uint8_t>(v);
    } else if (bits == 4) {
        const unsigned shift = (x & 1) ? 0 : 4;
        row[x >> 1] =
            static_cast<std::uint8_t>((row[x >> 1] & ~(0xFu << shift)) | (v & 0xF) << shift);
    } else {
        const auto mask = static_cast<std::uint8_t>(0x80 >> (x & 7));
        row[x >> 3] = static_cast<std::uint8_t>((v & 1) ? row[x >> 3] | mask : row[x >> 3] & ~mask);
    }
}

struct CloseReader {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};

} // namespace

bool IsGif(const std::uint8_t* data, std::size_t size) {
    return data && size >= 6 &&
           (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0);
}

namespace {

// What a graphic control extension says of the block after it.
struct Control {
    bool present = false; // a block after a graphic control is a frame of an animation
    int transparent = -1;
    int delay = 0; // hundredths of a second
};

Control ReadControl(const GifByteType* ext) {
    Control c;
    c.present = true;
    if (ext && ext[0] >= 4) {
        c.delay = ext[2] | ext[3] << 8;
        if (ext[1] & 1)
            c.transparent = ext[4];
    }
    return c;
}

// Reads up to the next image block (true) or the end (false); extensions are skipped but
// graphic controls are kept for the block they precede.
std::int16_t NextBlock(GifFileType* gif, Control* control, bool* found) {
    GifRecordType record;
    *found = false;
    do {
        if (DGifGetRecordType(gif, &record) == GIF_ERROR)
            return kErrTruncated;
        if (record == EXTENSION_RECORD_TYPE) {
            int code;
            GifByteType* ext;
            if (DGifGetExtension(gif, &code, &ext) == GIF_ERROR)
                return kErrTruncated;
            if (code == GRAPHICS_EXT_FUNC_CODE)
                *control = ReadControl(ext);
            while (ext)
                if (DGifGetExtensionNext(gif, &ext) == GIF_ERROR)
                    return kErrTruncated;
        }
    } while (record != IMAGE_DESC_RECORD_TYPE && record != TERMINATE_RECORD_TYPE);
    if (record == IMAGE_DESC_RECORD_TYPE) {
        if (DGifGetImageDesc(gif) == GIF_ERROR)
            return kErrTruncated;
        *found = true;
    }
    return kOk;
}

// Calls `put(y, line)` with the block's rows in picture order, interlaced or not.
template <class Put>
std::int16_t ReadLines(GifFileType* gif, std::vector<GifPixelType>& line, const Put& put) {
    const GifImageDesc& d = gif->Image;
    line.resize(static_cast<std::size_t>(d.Width));
    static const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
    const int passes = d.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass)
        for (int y = d.Interlace ? start[pass] : 0; y < d.Height;
             y += d.Interlace ? step[pass] : 1) {
            if (DGifGetLine(gif, line.data(), d.Width) == GIF_ERROR)
                return kErrTruncated;
            put(y, line);
        }
    return kOk;
}

// Passes over a block's pixel data without decoding it (a block of no pixels).
std::int16_t SkipData(GifFileType* gif) {
    int codeSize = 0;
    GifByteType* block = nullptr;
    if (DGifGetCode(gif, &codeSize, &block) == GIF_ERROR)
        return kErrTruncated;
    while (block)
        if (DGifGetCodeNext(gif, &block) == GIF_ERROR)
            return kErrTruncated;
    return kOk;
}

// A screen without a picture on it: its size in the background colour of its colours, or
// white where it has none (standing in for transparency).
std::int16_t EmptyScreen(const GifFileType* gif, HGLOBAL* dib) {
    if (gif->SWidth <= 0 || gif->SHeight <= 0)
        return kErrBadHeader;
    const ColorMapObject* map = gif->SColorMap;
    NewDib out;
    if (std::int16_t code = out.Create(gif->SWidth, gif->SHeight, 8, 1); code != kOk)
        return code;
    if (map && gif->SBackGroundColor < map->ColorCount) {
        const GifColorType c = map->Colors[gif->SBackGroundColor];
        out.SetColour(0, c.Red, c.Green, c.Blue);
    } else {
        out.SetColour(0, 255, 255, 255);
    }
    *dib = out.Release(); // every pixel is index 0
    return kOk;
}

// The first block went into a palette picture; a second one may bring other colours, so the
// screen becomes true colour with the first block's pixels as they stand.
std::int16_t ToTrueColour(NewDib& indexed, NewDib& rgb) {
    if (std::int16_t code = rgb.Create(indexed.Width(), indexed.Height(), 24, 0); code != kOk)
        return code;
    HGLOBAL handle = indexed.Release();
    {
        const DibView view(handle);
        for (std::int64_t y = 0; y < view.Height(); ++y)
            view.RowBgr(y, rgb.Row(y));
    }
    GlobalFree(handle);
    return kOk;
}

} // namespace

std::int16_t ReadGif(const std::uint8_t* data, std::size_t size, HGLOBAL* dib) {
    *dib = nullptr;
    if (!IsGif(data, size))
        return kErrNotThisFormat;
    Reader in(data, size);
    int error = 0;
    std::unique_ptr<GifFileType, CloseReader> gif(DGifOpen(&in, ReadFromMemory, &error));
    if (!gif)
        return kErrBadHeader;
    // A screen with no block shows the bare screen; so does one whose first frame holds no
    // pixels. Empty blocks outside an animation are passed over.
    Control control;
    bool found = false;
    for (;;) {
        if (std::int16_t code = NextBlock(gif.get(), &control, &found); code != kOk)
            return code;
        if (!found)
            return EmptyScreen(gif.get(), dib);
        if (gif->Image.Width > 0 && gif->Image.Height > 0)
            break;
        if (std::int16_t code = SkipData(gif.get()); code != kOk)
            return code;
        if (control.present)
            return EmptyScreen(gif.get(), dib);
    }
    const GifImageDesc& d = gif->Image;
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
    if (!map || map->ColorCount <= 0 || map->ColorCount > 256)
        return kErrBadHeader;
    // The screen holds the picture; a screen smaller than the picture is widened to it.
    const std::int64_t sw = std::max<std::int64_t>(gif->SWidth, std::int64_t(d.Left) + d.Width);
    const std::int64_t sh = std::max<std::int64_t>(gif->SHeight, std::int64_t(d.Top) + d.Height);
    // Uncovered screen shows the background colour, or the transparent colour's entry when the
    // picture has one (it stands in for transparency, as its pixels do).
    const int first = control.transparent;
    const unsigned fill = first >= 0 ? unsigned(first) : gif->SBackGroundColor;
    const bool framed = sw != d.Width || sh != d.Height;
    std::vector<GifPixelType> line;
    NewDib out, rgb;
    // Draws the current block on the true-colour screen; transparent pixels keep what is below.
    auto drawRgb = [&](const ColorMapObject* colours, int transparent) {
        const int bl = gif->Image.Left, bt = gif->Image.Top;
        return ReadLines(gif.get(), line, [&](int y, const std::vector<GifPixelType>& l) {
            if (bt + y >= sh)
                return;
            std::uint8_t* row = rgb.Row(bt + y);
            for (std::size_t x = 0; x < l.size() && bl + std::int64_t(x) < sw; ++x) {
                const int index = l[x];
                if (index == transparent || index >= colours->ColorCount)
                    continue;
                std::uint8_t* p = row + 3 * (bl + std::int64_t(x));
                p[0] = colours->Colors[index].Blue;
                p[1] = colours->Colors[index].Green;
                p[2] = colours->Colors[index].Red;
            }
        });
    };
    std::int16_t code;
    if (framed && d.ColorMap) {
        // The screen's colours are not the block's: compose in true colour from the start.
        const ColorMapObject* screen = first >= 0 ? map : gif->SColorMap;
        if ((code = rgb.Create(sw, sh, 24, 0)) != kOk)
            return code;
        if (screen && int(fill) < screen->ColorCount) {
            const GifColorType c = screen->Colors[fill];
            for (std::int64_t y = 0; y < sh; ++y)
                for (std::int64_t x = 0; x < sw; ++x) {
                    std::uint8_t* p = rgb.Row(y) + 3 * x;
                    p[0] = c.Blue;
                    p[1] = c.Green;
                    p[2] = c.Red;
                }
        }
        if ((code = drawRgb(map, first)) != kOk)
            return code;
    } else {
        const int bits = map->BitsPerPixel <= 1 ? 1 : map->BitsPerPixel <= 4 ? 4 : 8;
        if ((code = out.Create(sw, sh, bits, 1 << bits)) != kOk)
            return code;
        for (int i = 0; i < map->ColorCount && i < (1 << bits); ++i)
            out.SetColour(i, map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
        if (framed && fill)
            for (std::int64_t y = 0; y < sh; ++y)
                for (std::int64_t x = 0; x < sw; ++x)
                    Pack(out.Row(y), int(x), bits, fill & ((1u << bits) - 1));
        const int left = d.Left, top = d.Top;
        code = ReadLines(gif.get(), line, [&](int y, const std::vector<GifPixelType>& l) {
            std::uint8_t* row = out.Row(top + y);
            for (std::size_t x = 0; x < l.size(); ++x)
                Pack(row, left + int(x), bits, l[x] & ((1u << bits) - 1));
        });
        if (code != kOk)
            return code;
    }
    // Further blocks without a graphic control belong to the same picture (the way GIFs of
    // more than 256 colours are built). A block with one is a frame of an animation, whatever
    // its delay: the picture is the first frame.
    while (!control.present) {
        // A file that ends after a whole block (no trailer) shows what it holds.
        if (NextBlock(gif.get(), &control, &found) != kOk || !found || control.present)
            break;
        const GifImageDesc& b = gif->Image;
        if (b.Width <= 0 || b.Height <= 0) {
            if ((code = SkipData(gif.get())) != kOk)
                return code;
            continue;
        }
        const ColorMapObject* colours = b.ColorMap ? b.ColorMap : gif->SColorMap;
        if (!colours || colours->ColorCount <= 0 || colours->ColorCount > 256)
            return kErrBadHeader;
        if (std::uint64_t(b.Width) * std::uint64_t(b.Height) > kMaxPixels)
            return kErrTooLarge;
        if (rgb.Width() == 0 && (code = ToTrueColour(out, rgb)) != kOk)
            return code;
        if ((code = drawRgb(colours, control.transparent)) != kOk)
            return code;
    }
    *dib = rgb.Width() ? rgb.Release() : out.Release();
    return kOk;
}

std::int16_t WriteGif(const DibView& dib, Bytes& out) {
    if (!dib.Valid() || dib.Compression() != 0 || dib.Bits() > 8 || dib.Width() > 65535 ||
        dib.Height() > 65535)
        return kErrBadArgument;
    out.clear();
    const int bits = dib.Bits();
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToMemory, &error);
    if (!gif)
        return kErrNoMemory;
    ColorMapObject* map = GifMakeMapObject(1 << bits, nullptr);
    bool ok = map != nullptr;
    if (ok) {
        for (int i = 0; i < dib.Colours() && i < (1 << bits); ++i) {
            const std::uint8_t* c = dib.Colour(i);
            map->Colors[i] = {c[2], c[1], c[0]};
        }
        EGifSetGifVersion(gif, true);
        const int w = int(dib.Width()), h = int(dib.Height());
        ok = EGifPutScreenDesc(gif, w, h, bits, 0, map) != GIF_ERROR &&
             EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) != GIF_ERROR;
        std::vector<GifPixelType> line(static_cast<std::size_t>(w));
        for (int y = 0; ok && y < h; ++y) {
            const std::uint8_t* row = dib.Row(y);
            for (int x = 0; x < w; ++x)
                line[x] = bits == 8   ? row[x]
                          : bits == 4 ? ((x & 1) ? row[x >> 1] & 0xF : row[x >> 1] >> 4)
                                      : (row[x >> 3] >> (7 - (x & 7))) & 1;
            ok = EGifPutLine(gif, line.data(), w) != GIF_ERROR;
        }
        GifFreeMapObject(map);
    }
    if (EGifCloseFile(gif, &error) == GIF_ERROR)
        ok = false;
    return ok ? kOk : kErrNoMemory;
}

std::int16_t GifFacts(const Reader& in, StreamFacts* f) {
    if (in.Size() < 13)
        return kErrTruncated;
    f->width = in.U16(6);
    f->height = in.U16(8);
    f->bits = int(in.U8(10) & 7u) + 1;
    f->compression = "LZW";
    return kOk;
}

} // namespace crde
