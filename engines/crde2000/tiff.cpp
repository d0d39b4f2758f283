// SPDX-License-Identifier: MIT
#include "engines/crde2000/tiff.h"

#include "engines/shared/codes.h"
#include "engines/shared/dib_block.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <vector>

namespace crde {

namespace {

// libtiff's client procedures over bytes in memory; writing grows the buffer.
struct MemoryFile {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    Bytes* out = nullptr; // set when writing
    std::uint64_t at = 0;
};

tmsize_t Read(thandle_t h, void* buffer, tmsize_t n) {
    auto* f = static_cast<MemoryFile*>(h);
    const std::uint8_t* data = f->out ? f->out->data() : f->data;
    const std::size_t size = f->out ? f->out->size() : f->size;
    if (n <= 0 || f->at >= size)
        return 0;
    const std::size_t got = std::min<std::size_t>(static_cast<std::size_t>(n), size - f->at);
    std::memcpy(buffer, data + f->at, got);
    f->at += got;
    return static_cast<tmsize_t>(got);
}

tmsize_t Write(thandle_t h, void* buffer, tmsize_t n) {
    auto* f = static_cast<MemoryFile*>(h);
    if (!f->out || n < 0)
        return -1;
    const std::uint64_t end = f->at + static_cast<std::uint64_t>(n);
    if (end > f->out->size())
        f->out->resize(static_cast<std::size_t>(end));
    std::memcpy(f->out->data() + f->at, buffer, static_cast<std::size_t>(n));
    f->at = end;
    return n;
}

toff_t Seek(thandle_t h, toff_t offset, int whence) {
    auto* f = static_cast<MemoryFile*>(h);
    const std::uint64_t size = f->out ? f->out->size() : f->size;
    std::uint64_t to = offset;
    if (whence == SEEK_CUR)
        to = f->at + offset;
    else if (whence == SEEK_END)
        to = size + offset;
    if (to > (std::uint64_t(1) << 40))
        return static_cast<toff_t>(-1);
    f->at = to;
    return to;
}

int Close(thandle_t) {
    return 0;
}
toff_t Size(thandle_t h) {
    auto* f = static_cast<MemoryFile*>(h);
    return f->out ? f->out->size() : f->size;
}
int Map(thandle_t, void**, toff_t*) {
    return 0;
}
void Unmap(thandle_t, void*, toff_t) {}

struct CloseTiff {
    void operator()(TIFF* t) const { TIFFClose(t); }
};
using TiffPtr = std::unique_ptr<TIFF, CloseTiff>;

// libtiff's messages are swallowed here, per file: the engine reports through its codes, and
// the process-wide handlers stay as they are (other threads may be opening files meanwhile).
int Quiet(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

TiffPtr Open(MemoryFile& file, const char* mode) {
    struct FreeOptions {
        void operator()(TIFFOpenOptions* o) const { TIFFOpenOptionsFree(o); }
    };
    const std::unique_ptr<TIFFOpenOptions, FreeOptions> options(TIFFOpenOptionsAlloc());
    if (!options)
        return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), Quiet, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), Quiet, nullptr);
    return TiffPtr(TIFFClientOpenExt("memory", mode, &file, Read, Write, Seek, Close, Size, Map,
                                     Unmap, options.get()));
}

template <class T> T Field(TIFF* t, ttag_t tag, T fallback) {
    T value = fallback;
    if (!TIFFGetFieldDefaulted(t, tag, &value))
        return fallback;
    return value;
}

std::int16_t Decode(TIFF* t, HGLOBAL* dib) {
    const auto w = Field<std::uint32_t>(t, TIFFTAG_IMAGEWIDTH, 0);
    const auto h = Field<std::uint32_t>(t, TIFFTAG_IMAGELENGTH, 0);
    const auto bps = Field<std::uint16_t>(t, TIFFTAG_BITSPERSAMPLE, 1);
    const auto spp = Field<std::uint16_t>(t, TIFFTAG_SAMPLESPERPIXEL, 1);
    const auto photometric = Field<std::uint16_t>(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    const auto planar = Field<std::uint16_t>(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    if (w == 0 || h == 0)
        return kErrBadHeader;
    if (std::uint64_t(w) * h > kMaxPixels)
        return kErrTooLarge;
    const bool tiled = TIFFIsTiled(t);
    NewDib out;
    const bool indexed =
        spp == 1 && !tiled && (bps == 1 || bps == 4 || bps == 8) &&
        (photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE ||
         photometric == PHOTOMETRIC_PALETTE);
    if (indexed) {
        const int colours = 1 << bps;
        if (std::int16_t code = out.Create(w, h, bps, colours); code != kOk)
            return code;
        if (photometric == PHOTOMETRIC_PALETTE) {
            std::uint16_t *r, *g, *b;
            if (!TIFFGetField(t, TIFFTAG_COLORMAP, &r, &g, &b))
                return kErrBadHeader;
            // Old writers stored 8-bit maps; they are taken as they stand.
            bool eight = true;
            for (int i = 0; i < colours; ++i)
                eight = eight && r[i] < 256 && g[i] < 256 && b[i] < 256;
            // 16-bit levels scale down as libtiff's own RGBA reading scales them.
            auto level = [eight](std::uint16_t v) {
                return static_cast<std::uint8_t>(eight ? v : v / 257u);
            };
            for (int i = 0; i < colours; ++i)
                out.SetColour(i, level(r[i]), level(g[i]), level(b[i]));
        } else {
            for (int i = 0; i < colours; ++i) {
                int v = i * 255 / (colours - 1);
                if (photometric == PHOTOMETRIC_MINISWHITE)
                    v = 255 - v;
                out.SetColour(i, std::uint8_t(v), std::uint8_t(v), std::uint8_t(v));
            }
        }
        if (static_cast<std::uint64_t>(TIFFScanlineSize64(t)) > out.Stride())
            return kErrBadHeader;
        for (std::uint32_t y = 0; y < h; ++y)
            if (TIFFReadScanline(t, out.Row(y), y, 0) < 0)
                return kErrTruncated;
        *dib = out.Release();
        return kOk;
    }
    if (std::int16_t code = out.Create(w, h, 24, 0, true); code != kOk)
        return code;
    // Plain 8-bit RGB strips are read row by row straight into the picture.
    if (photometric == PHOTOMETRIC_RGB && bps == 8 && spp == 3 && planar == PLANARCONFIG_CONTIG &&
        !tiled && static_cast<std::uint64_t>(TIFFScanlineSize64(t)) == 3ull * w) {
        for (std::uint32_t y = 0; y < h; ++y) {
            std::uint8_t* row = out.Row(y);
            if (TIFFReadScanline(t, row, y, 0) < 0)
                return kErrTruncated;
            for (std::uint32_t x = 0; x < w; ++x)
                std::swap(row[3 * x], row[3 * x + 2]);
        }
        *dib = out.Release();
        return kOk;
    }
    char message[1024];
    if (!TIFFRGBAImageOK(t, message))
        return kErrUnsupported;
    std::vector<std::uint32_t> rgba;
    try {
        rgba.resize(std::size_t(w) * h);
    } catch (const std::bad_alloc&) {
        return kErrNoMemory;
    }
    if (!TIFFReadRGBAImageOriented(t, w, h, rgba.data(), ORIENTATION_TOPLEFT, 0))
        return kErrTruncated;
    for (std::uint32_t y = 0; y < h; ++y) {
        std::uint8_t* row = out.Row(y);
        const std::uint32_t* in = rgba.data() + std::size_t(y) * w;
        for (std::uint32_t x = 0; x < w; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(TIFFGetB(in[x]));
            row[3 * x + 1] = static_cast<std::uint8_t>(TIFFGetG(in[x]));
            row[3 * x + 2] = static_cast<std::uint8_t>(TIFFGetR(in[x]));
        }
    }
    *dib = out.Release();
    return kOk;
}

bool WritePage(TIFF* t, const DibView& dib, int compression) {
    const auto w = static_cast<std::uint32_t>(dib.Width());
    const auto h = static_cast<std::uint32_t>(dib.Height());
    const int bits = dib.Bits();
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, w);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, h);
    TIFFSetField(t, TIFFTAG_COMPRESSION, compression);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_XRESOLUTION, 75.0f);
    TIFFSetField(t, TIFFTAG_YRESOLUTION, 75.0f);
    TIFFSetField(t, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    std::vector<std::uint16_t> map;
    bool invert = false;
    if (bits == 24) {
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    } else {
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, bits);
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 1);
        const std::uint8_t* c0 = dib.Colour(0);
        const std::uint8_t* c1 = dib.Colours() > 1 ? dib.Colour(1) : c0;
        const bool bilevel = bits == 1 && dib.GreyTable() &&
                             ((c0[0] == 0 && c1[0] == 255) || (c0[0] == 255 && c1[0] == 0));
        if (bilevel || compression == COMPRESSION_CCITTRLE ||
            compression == COMPRESSION_CCITTFAX3 || compression == COMPRESSION_CCITTFAX4) {
            // Two-level pages: black is whichever entry is darker.
            invert = (c0[0] + c0[1] + c0[2]) > (c1[0] + c1[1] + c1[2]);
            TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
            invert = !invert; // MINISWHITE stores white as 0
        } else {
            const int colours = 1 << bits;
            map.assign(3 * std::size_t(colours), 0);
            for (int i = 0; i < dib.Colours() && i < colours; ++i) {
                const std::uint8_t* c = dib.Colour(i);
                map[i] = std::uint16_t(c[2] * 257);
                map[colours + i] = std::uint16_t(c[1] * 257);
                map[2 * colours + i] = std::uint16_t(c[0] * 257);
            }
            TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
            TIFFSetField(t, TIFFTAG_COLORMAP, map.data(), map.data() + colours,
                         map.data() + 2 * colours);
        }
    }
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));
    const std::size_t bytes = (std::size_t(w) * bits + 7) / 8;
    std::vector<std::uint8_t> row(std::max<std::size_t>(bytes, dib.Stride()));
    for (std::uint32_t y = 0; y < h; ++y) {
        std::memcpy(row.data(), dib.Row(y), dib.Stride());
        if (bits == 24)
            for (std::uint32_t x = 0; x < w; ++x)
                std::swap(row[3 * x], row[3 * x + 2]);
        if (invert)
            for (std::size_t i = 0; i < bytes; ++i)
                row[i] = static_cast<std::uint8_t>(~row[i]);
        if (TIFFWriteScanline(t, row.data(), y, 0) < 0)
            return false;
    }
    return TIFFWriteDirectory(t) != 0;
}

// Opens a TIFF held in memory for reading at page `page` (from 0); `pages`, when given, gets
// the file's page count even if the page does not exist.
std::int16_t OpenPage(MemoryFile& file, int page, TiffPtr& t, int* pages = nullptr) {
    if (!IsTiff(file.data, file.size))
        return kErrNotThisFormat;
    t = Open(file, "rm");
    if (!t)
        return kErrBadHeader;
    if (pages)
        *pages = TIFFNumberOfDirectories(t.get());
    if (page < 0 || !TIFFSetDirectory(t.get(), static_cast<tdir_t>(page)))
        return kErrBadArgument;
    return kOk;
}

} // namespace

bool IsTiff(const std::uint8_t* data, std::size_t size) {
    return data && size >= 4 &&
           ((data[0] == 'I' && data[1] == 'I' && data[2] == 42 && data[3] == 0) ||
            (data[0] == 'M' && data[1] == 'M' && data[2] == 0 && data[3] == 42));
}

std::int16_t TiffPageInfo(const std::uint8_t* data, std::size_t size, int page, TiffInfo* info) {
    MemoryFile file{data, size};
    TiffPtr t;
    if (std::int16_t code = OpenPage(file, page, t, &info->pages); code != kOk)
        return code;
    info->width = Field<std::uint32_t>(t.get(), TIFFTAG_IMAGEWIDTH, 0);
    info->height = Field<std::uint32_t>(t.get(), TIFFTAG_IMAGELENGTH, 0);
    // Both tags are 16-bit, so a hostile file's product can pass the range of int.
    const std::int64_t bits =
        std::int64_t{Field<std::uint16_t>(t.get(), TIFFTAG_BITSPERSAMPLE, 1)} *
        Field<std::uint16_t>(t.get(), TIFFTAG_SAMPLESPERPIXEL, 1);
    info->bits = static_cast<int>(std::min<std::int64_t>(bits, 32767));
    info->compression = Field<std::uint16_t>(t.get(), TIFFTAG_COMPRESSION, 1);
    return kOk;
}

std::int16_t ReadTiff(const std::uint8_t* data, std::size_t size, int page, HGLOBAL* dib) {
    *dib = nullptr;
    MemoryFile file{data, size};
    TiffPtr t;
    if (std::int16_t code = OpenPage(file, page, t); code != kOk)
        return code;
    return Decode(t.get(), dib);
}

bool TiffCompressionWritable(int code) {
    return code == 1 || code == 2 || code == 3 || code == 4 || code == 5 || code == 32773;
}

std::int16_t WriteTiff(const DibView& dib, int compression, Bytes& file) {
    if (!dib.Valid() || dib.Compression() != 0 || dib.Bits() == 16 || dib.Bits() == 32 ||
        !TiffCompressionWritable(compression))
        return kErrBadArgument;
    if (compression >= 2 && compression <= 4 && dib.Bits() != 1)
        return kErrBadArgument;
    if (!file.empty() && !IsTiff(file.data(), file.size()))
        return kErrNotThisFormat;
    MemoryFile memory{nullptr, 0, &file};
    TiffPtr t = Open(memory, file.empty() ? "w" : "a");
    if (!t)
        return kErrBadHeader;
    return WritePage(t.get(), dib, compression) ? kOk : kErrNoMemory;
}

std::size_t TiffExtent(const std::uint8_t* data, std::size_t size) {
    if (!IsTiff(data, size) || size < 8)
        return 0;
    const bool little = data[0] == 'I';
    auto u16 = [&](std::uint64_t at) -> std::uint32_t {
        if (at + 2 > size)
            return 0;
        return little ? data[at] | data[at + 1] << 8 : data[at] << 8 | data[at + 1];
    };
    auto u32 = [&](std::uint64_t at) -> std::uint32_t {
        return little ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2);
    };
    if (u16(2) != 42)
        return 0; // BigTIFF and others: not this kind
    // Bytes a value of each field type takes (types 1 to 13).
    static const std::uint8_t kTypeBytes[14] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
    std::uint64_t end = 8;
    std::set<std::uint32_t> seen;
    // Values read from arrays in all: a file cannot make the walk longer than its bytes allow.
    std::uint64_t budget = size;
    bool whole = true;
    // Walks a chain of directories from `first`; sub-directories (SubIFDs, EXIF, GPS) are
    // walked in turn, at most four deep.
    std::function<void(std::uint32_t, int)> chain = [&](std::uint32_t first, int depth) {
        for (std::uint32_t ifd = first; ifd != 0 && whole;) {
            if (ifd >= size || depth > 4 || !seen.insert(ifd).second || seen.size() > 65536) {
                whole = false;
                return;
            }
            const std::uint32_t entries = u16(ifd);
            const std::uint64_t ifdEnd = std::uint64_t(ifd) + 2 + 12ull * entries + 4;
            if (ifdEnd > size) {
                whole = false;
                return;
            }
            end = std::max(end, ifdEnd);
            std::vector<std::uint64_t> offsets, counts, children;
            std::uint64_t jpegAt = 0, jpegLength = 0;
            for (std::uint32_t i = 0; i < entries && whole; ++i) {
                const std::uint64_t e = std::uint64_t(ifd) + 2 + 12ull * i;
                const std::uint32_t tag = u16(e), type = u16(e + 2), count = u32(e + 4);
                const std::uint64_t each = type < 14 ? kTypeBytes[type] : 0;
                const std::uint64_t bytes = each * count;
                std::uint64_t at = e + 8; // the values, in the entry when they fit
                if (bytes > 4) {
                    at = u32(e + 8);
                    if (at + bytes > size) {
                        whole = false;
                        return;
                    }
                    end = std::max(end, at + bytes);
                }
                const bool strips = tag == 273 || tag == 324, sizes = tag == 279 || tag == 325;
                const bool sub = tag == 330 || tag == 34665 || tag == 34853;
                if ((strips || sizes || sub) && (type == 3 || type == 4 || type == 13)) {
                    if (count > budget) {
                        whole = false;
                        return;
                    }
                    budget -= count;
                    std::vector<std::uint64_t>& into = strips ? offsets : sizes ? counts : children;
                    for (std::uint32_t k = 0; k < count; ++k)
                        into.push_back(type == 3 ? u16(at + 2ull * k) : u32(at + 4ull * k));
                } else if (tag == 513 && count == 1) {
                    jpegAt = type == 3 ? u16(at) : u32(at);
                } else if (tag == 514 && count == 1) {
                    jpegLength = type == 3 ? u16(at) : u32(at);
                }
            }
            if (offsets.size() != counts.size() || jpegAt + jpegLength > size) {
                whole = false;
                return;
            }
            end = std::max(end, jpegAt + jpegLength);
            for (std::size_t k = 0; k < offsets.size(); ++k) {
                if (offsets[k] + counts[k] > size) {
                    whole = false;
                    return;
                }
                end = std::max(end, offsets[k] + counts[k]);
            }
            for (std::uint64_t child : children)
                chain(std::uint32_t(child), depth + 1);
            ifd = u32(ifdEnd - 4);
        }
    };
    chain(u32(4), 0);
    return whole ? std::size_t(end) : 0;
}

std::string EscapedTagText(const char* value) {
    std::string out;
    for (const char* p = value; *p; ++p) {
        switch (*p) {
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += *p;
        }
    }
    return out;
}

std::int16_t TiffTags(const std::uint8_t* data, std::size_t size, int page, std::string* out) {
    MemoryFile file{data, size};
    TiffPtr t;
    if (std::int16_t code = OpenPage(file, page, t); code != kOk)
        return code;
    std::ostringstream text;
    static const ttag_t numbers[] = {
        TIFFTAG_IMAGEWIDTH,  TIFFTAG_IMAGELENGTH,     TIFFTAG_BITSPERSAMPLE, TIFFTAG_COMPRESSION,
        TIFFTAG_PHOTOMETRIC, TIFFTAG_SAMPLESPERPIXEL, TIFFTAG_ROWSPERSTRIP,  TIFFTAG_PLANARCONFIG};
    for (ttag_t tag : numbers) {
        std::uint32_t v = 0;
        std::uint16_t v16 = 0;
        if (tag == TIFFTAG_IMAGEWIDTH || tag == TIFFTAG_IMAGELENGTH ||
            tag == TIFFTAG_ROWSPERSTRIP) {
            if (TIFFGetField(t.get(), tag, &v))
                text << tag << '=' << v << '\n';
        } else if (TIFFGetField(t.get(), tag, &v16)) {
            text << tag << '=' << v16 << '\n';
        }
    }
    static const ttag_t texts[] = {
        TIFFTAG_DOCUMENTNAME, TIFFTAG_IMAGEDESCRIPTION, TIFFTAG_MAKE,     TIFFTAG_MODEL,
        TIFFTAG_PAGENAME,     TIFFTAG_SOFTWARE,         TIFFTAG_DATETIME, TIFFTAG_ARTIST,
        TIFFTAG_HOSTCOMPUTER, TIFFTAG_COPYRIGHT};
    for (ttag_t tag : texts) {
        const char* value = nullptr;
        if (TIFFGetField(t.get(), tag, &value) && value)
            text << tag << '=' << EscapedTagText(value) << '\n';
    }
    *out = text.str();
    return kOk;
}

namespace {

// Rewrites a file page by page; `replace` gives the DIB for a page or none to keep it, and
// a page it drops is skipped.
template <class Choose>
std::int16_t Rewrite(const std::uint8_t* data, std::size_t size, Choose choose, Bytes& out) {
    TiffInfo info;
    if (std::int16_t code = TiffPageInfo(data, size, 0, &info); code != kOk)
        return code;
    out.clear();
    for (int page = 0; page < info.pages; ++page) {
        TiffInfo pageInfo;
        if (std::int16_t code = TiffPageInfo(data, size, page, &pageInfo); code != kOk)
            return code;
        int compression = TiffCompressionWritable(pageInfo.compression) ? pageInfo.compression : 5;
        HGLOBAL dib = nullptr;
        std::int16_t code = choose(page, &dib, &compression);
        if (code == 0)
            continue; // dropped
        if (code < 0)
            return code;
        if (!dib && (code = ReadTiff(data, size, page, &dib)) != kOk)
            return code;
        {
            DibView view(dib);
            if (compression >= 2 && compression <= 4 && view.Bits() != 1)
                compression = 5;
            code = WriteTiff(view, compression, out);
        }
        GlobalFree(dib);
        if (code != kOk)
            return code;
    }
    return out.empty() ? kErrBadArgument : kOk;
}

// A page to delete or replace must exist: nothing else would change and the caller would be
// told of a success.
std::int16_t CheckPage(const std::uint8_t* data, std::size_t size, int page) {
    TiffInfo info;
    if (std::int16_t code = TiffPageInfo(data, size, 0, &info); code != kOk)
        return code;
    return page >= 0 && page < info.pages ? kOk : kErrNoSuchPage;
}

} // namespace

std::int16_t TiffPack(const std::uint8_t* data, std::size_t size, Bytes& out) {
    return Rewrite(
        data, size, [](int, HGLOBAL*, int*) -> std::int16_t { return 1; }, out);
}

std::int16_t TiffDeletePage(const std::uint8_t* data, std::size_t size, int page, Bytes& out) {
    if (std::int16_t code = CheckPage(data, size, page); code != kOk)
        return code;
    return Rewrite(
        data, size, [page](int p, HGLOBAL*, int*) -> std::int16_t { return p == page ? 0 : 1; },
        out);
}

std::int16_t TiffReplacePage(const std::uint8_t* data, std::size_t size, int page,
                             const DibView& dib, int compression, Bytes& out) {
    if (!dib.Valid() || !TiffCompressionWritable(compression))
        return kErrBadArgument;
    if (std::int16_t code = CheckPage(data, size, page); code != kOk)
        return code;
    return Rewrite(
        data, size,
        [&](int p, HGLOBAL* replacement, int* code) -> std::int16_t {
            if (p != page)
                return 1;
            HGLOBAL copy = GlobalAlloc(GHND, dib.BlockSize());
            if (!copy)
                return kErrNoMemory;
            std::memcpy(GlobalLock(copy), dib.Header(), dib.BlockSize());
            GlobalUnlock(copy);
            *replacement = copy;
            *code = compression;
            return 1;
        },
        out);
}

std::int16_t TiffFacts(const Reader& in, StreamFacts* f) {

    TiffInfo t;
    if (std::int16_t code = TiffPageInfo(in.Here(), in.Size(), 0, &t); code != kOk)
        return code;
    f->width = t.width;
    f->height = t.height;
    f->bits = t.bits;
    f->extraA = t.pages;
    f->extraB = t.compression;
    f->compression = TiffCompressionText(t.compression);
    return kOk;
}

std::string TiffCompressionText(int code) {
    switch (code) {
    case 1:
        return "NONE";
    case 2:
        return "CCITT3";
    case 3:
        return "FAXCCITT3";
    case 4:
        return "FAXCCITT4";
    case 5:
        return "LZW";
    case 7:
        return "JPEG";
    case 8:
    case 32946:
        return "DEFLATE";
    case 32773:
        return "PACKBITS";
    default:
        return "UNKNOWN";
    }
}

} // namespace crde
