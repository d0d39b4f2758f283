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

void Pack(std::uint8_t* row, int x, int bits, unsigned v) {
    if (bits == 8)
        row[x] = static_cast<std::uint8_t>(v);
    else if (bits == 4)
        row[x >> 1] |= static_cast<std::uint8_t>((x & 1) ? v & 0xF : (v & 0xF) << 4);
    else if (v & 1)
        row[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
}

struct CloseReader {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};

} // namespace

bool IsGif(const std::uint8_t* data, std::size_t size) {
    return data && size >= 6 &&
           (std::memcmp(data, "GIF87a", 6) == 0 || std::memcmp(data, "GIF89a", 6) == 0);
}

std::int16_t ReadGif(const std::uint8_t* data, std::size_t size, HGLOBAL* dib) {
    *dib = nullptr;
    if (!IsGif(data, size))
        return kErrNotThisFormat;
    Reader in(data, size);
    int error = 0;
    std::unique_ptr<GifFileType, CloseReader> gif(DGifOpen(&in, ReadFromMemory, &error));
    if (!gif)
        return kErrBadHeader;
    GifRecordType record;
    do {
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR)
            return kErrTruncated;
        if (record == EXTENSION_RECORD_TYPE) {
            int code;
            GifByteType* ext;
            if (DGifGetExtension(gif.get(), &code, &ext) == GIF_ERROR)
                return kErrTruncated;
            while (ext)
                if (DGifGetExtensionNext(gif.get(), &ext) == GIF_ERROR)
                    return kErrTruncated;
        }
    } while (record != IMAGE_DESC_RECORD_TYPE && record != TERMINATE_RECORD_TYPE);
    if (record != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif.get()) == GIF_ERROR)
        return kErrTruncated;
    const GifImageDesc& d = gif->Image;
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
    if (!map || map->ColorCount <= 0 || map->ColorCount > 256 || d.Width <= 0 || d.Height <= 0)
        return kErrBadHeader;
    // The screen holds the picture; a screen smaller than the picture is widened to it.
    const std::int64_t sw = std::max<std::int64_t>(gif->SWidth, std::int64_t(d.Left) + d.Width);
    const std::int64_t sh = std::max<std::int64_t>(gif->SHeight, std::int64_t(d.Top) + d.Height);
    const int bits = map->BitsPerPixel <= 1 ? 1 : map->BitsPerPixel <= 4 ? 4 : 8;
    NewDib out;
    if (std::int16_t code = out.Create(sw, sh, bits, 1 << bits); code != kOk)
        return code;
    for (int i = 0; i < map->ColorCount && i < (1 << bits); ++i)
        out.SetColour(i, map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
    const unsigned background = gif->SBackGroundColor;
    const bool framed = sw != d.Width || sh != d.Height;
    if (framed && background)
        for (std::int64_t y = 0; y < sh; ++y)
            for (std::int64_t x = 0; x < sw; ++x)
                Pack(out.Row(y), int(x), bits, background);
    std::vector<GifPixelType> line(static_cast<std::size_t>(d.Width));
    auto putLine = [&](int y) {
        std::uint8_t* row = out.Row(d.Top + y);
        for (int x = 0; x < d.Width; ++x)
            Pack(row, d.Left + x, bits, line[x] & ((1u << bits) - 1));
    };
    if (d.Interlace) {
        static const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < d.Height; y += step[pass]) {
                if (DGifGetLine(gif.get(), line.data(), d.Width) == GIF_ERROR)
                    return kErrTruncated;
                putLine(y);
            }
    } else {
        for (int y = 0; y < d.Height; ++y) {
            if (DGifGetLine(gif.get(), line.data(), d.Width) == GIF_ERROR)
                return kErrTruncated;
            putLine(y);
        }
    }
    *dib = out.Release();
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
