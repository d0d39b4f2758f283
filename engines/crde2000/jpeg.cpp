// SPDX-License-Identifier: MIT
#include "engines/crde2000/jpeg.h"

#include "engines/shared/codes.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

#include <jerror.h>

#include <algorithm>

namespace crde {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    bool cutShort = false;   // the data ended before the last scan line
    bool twelveBits = false; // the samples have a precision this library cannot decode
};

void OnError(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    if (err->base.msg_code == JERR_BAD_PRECISION)
        err->twelveBits = true;
    std::longjmp(err->jump, 1);
}
// The library pads data that ends early with an end marker and says so only in a warning.
void OnMessage(j_common_ptr info, int level) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    if (level < 0 && err->base.msg_code == JWRN_JPEG_EOF)
        err->cutShort = true;
}

struct ReadState {
    jpeg_decompress_struct info{};
    NewDib dib;
    std::vector<std::uint8_t> cmyk;
    std::int16_t code = kErrBadHeader;
};

void Decode(const std::uint8_t* data, std::size_t size, ReadState& s, ErrorManager& err) {
    if (setjmp(err.jump))
        return;
    jpeg_mem_src(&s.info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&s.info, TRUE) != JPEG_HEADER_OK)
        return;
    const std::uint64_t w = s.info.image_width, h = s.info.image_height;
    if (w * h > kMaxPixels) {
        s.code = kErrTooLarge;
        return;
    }
    const J_COLOR_SPACE space = s.info.jpeg_color_space;
    const bool grey = space == JCS_GRAYSCALE;
    const bool cmyk = space == JCS_CMYK || space == JCS_YCCK;
    s.info.out_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_EXT_BGR;
    s.info.dct_method = JDCT_ISLOW;
    if ((s.code = s.dib.Create(std::int64_t(w), std::int64_t(h), grey ? 8 : 24, grey ? 256 : 0,
                               true)) != kOk)
        return;
    s.code = kErrTruncated;
    if (grey)
        for (int i = 0; i < 256; ++i)
            s.dib.SetColour(i, std::uint8_t(i), std::uint8_t(i), std::uint8_t(i));
    jpeg_start_decompress(&s.info);
    if (cmyk)
        s.cmyk.resize(std::size_t(w) * 4);
    // Adobe writes CMYK inverted; plain CMYK is taken as it stands.
    const bool inverted = s.info.saw_Adobe_marker;
    while (s.info.output_scanline < s.info.output_height) {
        const JDIMENSION y = s.info.output_scanline;
        JSAMPROW row = cmyk ? s.cmyk.data() : s.dib.Row(y);
        jpeg_read_scanlines(&s.info, &row, 1);
        if (cmyk) {
            std::uint8_t* out = s.dib.Row(y);
            for (std::uint64_t x = 0; x < w; ++x) {
                const std::uint8_t* p = &s.cmyk[4 * x];
                auto ink = [&](int i) { return inverted ? p[i] : 255 - p[i]; };
                const int k = ink(3);
                out[3 * x] = static_cast<std::uint8_t>((ink(2) * k + 127) / 255);
                out[3 * x + 1] = static_cast<std::uint8_t>((ink(1) * k + 127) / 255);
                out[3 * x + 2] = static_cast<std::uint8_t>((ink(0) * k + 127) / 255);
            }
        }
        if (err.cutShort)
            return; // the rest of the picture never arrived
    }
    jpeg_finish_decompress(&s.info);
    s.code = kOk;
}

struct WriteState {
    jpeg_compress_struct info{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<std::uint8_t> row;
    bool ok = false;
};

void Encode(const DibView& dib, int quality, int smoothing, bool grey, WriteState& s,
            ErrorManager& err) {
    if (setjmp(err.jump))
        return;
    jpeg_mem_dest(&s.info, &s.buffer, &s.size);
    s.info.image_width = static_cast<JDIMENSION>(dib.Width());
    s.info.image_height = static_cast<JDIMENSION>(dib.Height());
    s.info.input_components = grey ? 1 : 3;
    s.info.in_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_set_defaults(&s.info);
    jpeg_set_quality(&s.info, std::clamp(quality, 1, 100), TRUE);
    s.info.smoothing_factor = std::clamp(smoothing, 0, 100);
    // At high quality colour keeps full resolution, as the quality asked for implies.
    if (!grey && quality >= 90)
        for (int c = 0; c < s.info.num_components; ++c)
            s.info.comp_info[c].h_samp_factor = s.info.comp_info[c].v_samp_factor = 1;
    s.info.density_unit = 1;
    s.info.X_density = s.info.Y_density = 75;
    jpeg_start_compress(&s.info, TRUE);
    // 24-bit rows go to the compressor as they lie; other depths through a row of colours.
    const bool direct = !grey && dib.Bits() == 24;
    s.row.resize(static_cast<std::size_t>(dib.Width()) * 3);
    while (s.info.next_scanline < s.info.image_height) {
        if (direct) {
            JSAMPROW row = const_cast<JSAMPROW>(dib.Row(s.info.next_scanline));
            jpeg_write_scanlines(&s.info, &row, 1);
            continue;
        }
        dib.RowBgr(s.info.next_scanline, s.row.data());
        if (grey)
            for (std::size_t x = 0; x < std::size_t(dib.Width()); ++x) {
                const std::uint8_t* p = &s.row[3 * x];
                s.row[x] =
                    static_cast<std::uint8_t>((p[2] * 77 + p[1] * 150 + p[0] * 29 + 128) >> 8);
            }
        JSAMPROW row = s.row.data();
        jpeg_write_scanlines(&s.info, &row, 1);
    }
    jpeg_finish_compress(&s.info);
    s.ok = true;
}

} // namespace

bool IsJpeg(const std::uint8_t* data, std::size_t size) {
    return data && size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

std::int16_t ReadJpeg(const std::uint8_t* data, std::size_t size, HGLOBAL* dib) {
    *dib = nullptr;
    if (!IsJpeg(data, size))
        return kErrNotThisFormat;
    ErrorManager err;
    ReadState s;
    s.info.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnError;
    err.base.emit_message = OnMessage;
    jpeg_create_decompress(&s.info);
    s.info.mem->max_memory_to_use = 512l << 20;
    Decode(data, size, s, err);
    jpeg_destroy_decompress(&s.info);
    if (err.twelveBits)
        s.code = kErrTwelveBitJpeg;
    if (s.code == kOk)
        *dib = s.dib.Release();
    return s.code;
}

std::int16_t WriteJpeg(const DibView& dib, int quality, int smoothing, bool grey, Bytes& out) {
    if (!dib.Valid() || dib.Compression() != 0)
        return kErrBadArgument;
    ErrorManager err;
    WriteState s;
    s.info.err = jpeg_std_error(&err.base);
    err.base.error_exit = OnError;
    err.base.emit_message = OnMessage;
    jpeg_create_compress(&s.info);
    Encode(dib, quality, smoothing, grey, s, err);
    jpeg_destroy_compress(&s.info);
    if (s.ok)
        out.assign(s.buffer, s.buffer + s.size);
    std::free(s.buffer);
    return s.ok ? kOk : kErrNoMemory;
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
        const std::size_t length = in.Be16(at + 2);
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 10 > in.Size())
                return kErrTruncated;
            f->height = in.Be16(at + 5);
            f->width = in.Be16(at + 7);
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

} // namespace crde
