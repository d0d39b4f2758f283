// SPDX-License-Identifier: MIT
#include "engines/crde2000/info.h"

#include "engines/crde2000/bmp.h"
#include "engines/crde2000/codes.h"
#include "engines/crde2000/dxf.h"
#include "engines/crde2000/eps.h"
#include "engines/crde2000/gif.h"
#include "engines/crde2000/jpeg.h"
#include "engines/crde2000/pcd.h"
#include "engines/crde2000/pcx.h"
#include "engines/crde2000/png.h"
#include "engines/crde2000/tga.h"
#include "engines/crde2000/tiff.h"

namespace crde {

namespace {

std::uint32_t Be16(const Reader& in, std::size_t at) {
    return in.U8(at) << 8 | in.U8(at + 1);
}
std::uint32_t Be32(const Reader& in, std::size_t at) {
    return Be16(in, at) << 16 | Be16(in, at + 2);
}

std::int16_t JpegFacts(const Reader& in, StreamFacts* f) {
    std::size_t at = 2;
    while (at + 4 <= in.Size()) {
        if (in.U8(at) != 0xFF)
            return kErrBadHeader;
        const unsigned marker = in.U8(at + 1);
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        const std::size_t length = Be16(in, at + 2);
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 10 > in.Size())
                return kErrTruncated;
            f->height = Be16(in, at + 5);
            f->width = Be16(in, at + 7);
            f->extraA = static_cast<int>(in.U8(at + 9));
            f->bits = int(in.U8(at + 4)) * f->extraA;
            f->compression = marker == 0xC2 || marker == 0xC6 || marker == 0xCA ? "PROGRESSIVE"
                             : marker == 0xC0                                   ? "BASELINE"
                                                                                : "EXTENDED";
            return kOk;
        }
        if (length < 2)
            return kErrBadHeader;
        at += 2 + length;
    }
    return kErrTruncated;
}

} // namespace

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

std::int16_t StreamInfo(const std::uint8_t* data, std::size_t size, StreamFacts* f) {
    *f = StreamFacts{};
    if (!data || size == 0)
        return kErrBadArgument;
    const Reader in(data, size);
    if (IsBmp(data, size)) {
        if (size < 26)
            return kErrTruncated;
        f->format = "BMP";
        const std::uint32_t header = in.U32(14);
        if (header == 12) {
            f->width = in.U16(18);
            f->height = in.U16(20);
            f->bits = static_cast<int>(in.U16(24));
            f->compression = "NONE";
            return kOk;
        }
        if (size < 54)
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
    if (IsPng(data, size)) {
        if (size < 33)
            return kErrTruncated;
        f->format = "PNG";
        f->width = Be32(in, 16);
        f->height = Be32(in, 20);
        const unsigned depth = in.U8(24), type = in.U8(25);
        const unsigned channels = type == 2 ? 3 : type == 4 ? 2 : type == 6 ? 4 : 1;
        f->bits = int(depth * channels);
        f->extraA = int(in.U8(28));
        f->extraB = int(type);
        f->compression = "DEFLATE";
        return kOk;
    }
    if (IsGif(data, size)) {
        if (size < 13)
            return kErrTruncated;
        f->format = "GIF";
        f->width = in.U16(6);
        f->height = in.U16(8);
        f->bits = int(in.U8(10) & 7u) + 1;
        f->compression = "LZW";
        return kOk;
    }
    if (IsJpeg(data, size)) {
        f->format = "JPEG";
        return JpegFacts(in, f);
    }
    if (IsTiff(data, size)) {
        f->format = "TIFF";
        TiffInfo t;
        if (std::int16_t code = TiffPageInfo(data, size, 0, &t); code != kOk)
            return code;
        f->width = t.width;
        f->height = t.height;
        f->bits = t.bits;
        f->extraA = t.pages;
        f->extraB = t.compression;
        f->compression = TiffCompressionText(t.compression);
        return kOk;
    }
    if (IsPcd(data, size)) {
        f->format = "PCD";
        f->width = 768;
        f->height = 512;
        f->bits = 24;
        f->compression = "YCC";
        return kOk;
    }
    if (IsEps(data, size)) {
        f->format = "EPS";
        EpsLayout layout;
        if (!ParseEps(data, size, &layout))
            return kErrBadHeader;
        f->width = layout.right - layout.left;
        f->height = layout.top - layout.bottom;
        f->bits = 24;
        f->compression = "POSTSCRIPT";
        return kOk;
    }
    if (IsPcx(data, size)) {
        f->format = "PCX";
        f->width = std::int64_t(in.U16(8)) - in.U16(4) + 1;
        f->height = std::int64_t(in.U16(10)) - in.U16(6) + 1;
        f->bits = int(in.U8(3) * in.U8(65));
        f->compression = data[2] ? "RLE" : "NONE";
        return kOk;
    }
    if (IsDxf(data, size)) {
        f->format = "DXF";
        DxfInfo d;
        if (std::int16_t code = DxfSize(data, size, &d); code != kOk)
            return code;
        f->width = d.width;
        f->height = d.height;
        f->bits = 8;
        f->compression = "DXF";
        return kOk;
    }
    if (IsTga(data, size)) {
        f->format = "TGA";
        f->width = in.U16(12);
        f->height = in.U16(14);
        f->bits = int(in.U8(16));
        f->compression = (data[2] & 8) ? "RLE" : "NONE";
        return kOk;
    }
    return kErrNotThisFormat;
}

} // namespace crde
