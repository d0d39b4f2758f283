// SPDX-License-Identifier: MIT
// Pictures that other viewers open, made here byte by byte: grey TGA with alpha, run-length
// packets that run past the picture, GIFs with a deferred clear or built of several blocks,
// and the honest failures (a PNG cut inside its data, a 12-bit JPEG).
#include "engines/crde2000/bmp.h"
#include "engines/crde2000/gif.h"
#include "engines/crde2000/jpeg.h"
#include "engines/crde2000/pcx.h"
#include "engines/crde2000/png.h"
#include "engines/crde2000/tga.h"
#include "engines/shared/codes.h"
#include "engines/shared/dib_block.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Le16(Bytes& b, unsigned v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}

// A decoded picture: its size and each pixel as 0xRRGGBB, read through the DIB's colours.
struct Decoded {
    std::int16_t code = 0;
    std::int64_t width = 0, height = 0;
    std::vector<std::uint32_t> rgb;
    std::uint32_t At(std::int64_t x, std::int64_t y) const {
        return rgb[std::size_t(y * width + x)];
    }
};

template <class Read> Decoded Decode(const Bytes& bytes, Read read) {
    Decoded out;
    HGLOBAL dib = nullptr;
    out.code = read(bytes.data(), bytes.size(), &dib);
    if (out.code != engine::kOk)
        return out;
    {
        engine::DibView view(dib);
        out.width = view.Width();
        out.height = view.Height();
        std::vector<std::uint8_t> row(std::size_t(view.Width()) * 3);
        for (std::int64_t y = 0; y < view.Height(); ++y) {
            view.RowBgr(y, row.data());
            for (std::int64_t x = 0; x < view.Width(); ++x)
                out.rgb.push_back(std::uint32_t(row[3 * x + 2]) << 16 | row[3 * x + 1] << 8 |
                                  row[3 * x]);
        }
    }
    GlobalFree(dib);
    return out;
}

std::uint32_t Grey(unsigned v) {
    return v << 16 | v << 8 | v;
}

// ---- TGA ----

Bytes TgaHeader(unsigned type, unsigned depth, unsigned w, unsigned h, bool topDown) {
    Bytes b(18, 0);
    b[2] = std::uint8_t(type);
    b[12] = std::uint8_t(w);
    b[14] = std::uint8_t(h);
    b[16] = std::uint8_t(depth);
    b[17] = std::uint8_t((topDown ? 0x20 : 0) | (depth == 16 ? 8 : 0)); // 8 alpha bits
    return b;
}

TEST(OtherViewers, GreyTgaWithAlphaInEachOriginAndPacking) {
    // 3 × 2 grey levels with an alpha byte each; the alpha is dropped.
    const unsigned levels[2][3] = {{10, 20, 30}, {40, 50, 60}};
    for (bool topDown : {false, true}) {
        Bytes plain = TgaHeader(3, 16, 3, 2, topDown);
        for (int stored = 0; stored < 2; ++stored) {
            const int y = topDown ? stored : 1 - stored;
            for (int x = 0; x < 3; ++x) {
                plain.push_back(std::uint8_t(levels[y][x]));
                plain.push_back(0x80);
            }
        }
        Bytes rle = TgaHeader(11, 16, 3, 2, topDown);
        for (int stored = 0; stored < 2; ++stored) {
            const int y = topDown ? stored : 1 - stored;
            rle.push_back(0x02); // a raw packet of three pixels
            for (int x = 0; x < 3; ++x) {
                rle.push_back(std::uint8_t(levels[y][x]));
                rle.push_back(0xFF);
            }
        }
        for (const Bytes* file : {&plain, &rle}) {
            SCOPED_TRACE(testing::Message() << "top-down " << topDown << " rle " << (file == &rle));
            const Decoded d = Decode(*file, crde::ReadTga);
            ASSERT_EQ(d.code, engine::kOk);
            ASSERT_EQ(d.width, 3);
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 3; ++x)
                    EXPECT_EQ(d.At(x, y), Grey(levels[y][x])) << x << "," << y;
        }
    }
}

TEST(OtherViewers, TgaPacketsRunningPastThePictureAreCutAtItsEnd) {
    // 4 × 2 true colour, top-down: a run of 3, then a run of 128 that covers the rest and more.
    Bytes b = TgaHeader(10, 24, 4, 2, true);
    for (std::uint8_t v : {0x82, 0x01, 0x02, 0x03, 0xFF, 0x04, 0x05, 0x06})
        b.push_back(v);
    Decoded d = Decode(b, crde::ReadTga);
    ASSERT_EQ(d.code, engine::kOk);
    EXPECT_EQ(d.At(2, 0), 0x030201u);
    EXPECT_EQ(d.At(3, 0), 0x060504u);
    EXPECT_EQ(d.At(3, 1), 0x060504u);

    // A raw packet claiming 128 pixels whose data stops where the picture is full.
    Bytes raw = TgaHeader(10, 24, 2, 1, true);
    raw.push_back(0x7F);
    for (std::uint8_t v : {1, 2, 3, 4, 5, 6})
        raw.push_back(v);
    d = Decode(raw, crde::ReadTga);
    ASSERT_EQ(d.code, engine::kOk);
    EXPECT_EQ(d.At(1, 0), 0x060504u);
}

// ---- PCX and BMP run-length data ----

TEST(OtherViewers, PcxAndBmpRunsPastThePictureDrawWhatFits) {
    // 8-bit PCX, 3 × 2, one line of 4 bytes (padded): a run of 63 fills everything and more.
    Bytes pcx(128, 0);
    pcx[0] = 10;
    pcx[1] = 5;
    pcx[2] = 1;
    pcx[3] = 8;
    pcx[8] = 2;  // xmax
    pcx[10] = 1; // ymax
    pcx[65] = 1;
    pcx[66] = 4;
    pcx.push_back(0xFF); // a run of 63
    pcx.push_back(7);
    pcx.push_back(12);
    for (int i = 0; i < 256; ++i)
        for (int k = 0; k < 3; ++k)
            pcx.push_back(std::uint8_t(i == 7 ? 0x40 * (k + 1) : 0));
    Decoded d = Decode(pcx, crde::ReadPcx);
    ASSERT_EQ(d.code, engine::kOk);
    EXPECT_EQ(d.At(2, 1), 0x4080C0u);

    // An RLE8 BMP, 3 × 2: a run of 9 on the first row (6 pixels past it are dropped, the row
    // does not wrap), then a delta far past the picture's top.
    Bytes bmp{'B', 'M'};
    Bytes info(40, 0);
    info[0] = 40;
    info[4] = 3;
    info[8] = 2;
    info[12] = 1;
    info[14] = 8;
    info[16] = 1; // RLE8
    info[32] = 2;
    Bytes table{0, 0, 0, 0, 0x30, 0x20, 0x10, 0};
    Bytes rle{9, 1, 0, 0, 0, 2, 0, 200, 0, 1};
    const unsigned offset = 14 + 40 + unsigned(table.size());
    Le16(bmp, 0);
    Le16(bmp, 0);
    Le16(bmp, 0);
    Le16(bmp, 0);
    Le16(bmp, offset);
    Le16(bmp, 0);
    bmp.insert(bmp.end(), info.begin(), info.end());
    bmp.insert(bmp.end(), table.begin(), table.end());
    bmp.insert(bmp.end(), rle.begin(), rle.end());
    d = Decode(bmp, crde::ReadBmp);
    ASSERT_EQ(d.code, engine::kOk);
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(d.At(x, 1), 0x102030u) << "bottom row from the run";
        EXPECT_EQ(d.At(x, 0), 0u) << "the run does not wrap into the next row";
    }
}

// ---- GIF ----

// An LZW code stream as GIF stores it. With `deferClear` the table fills to 4096 codes and
// stays full without a clear code (a "deferred clear"); otherwise a clear follows when full.
Bytes Lzw(const std::vector<std::uint8_t>& pixels, int minBits, bool deferClear) {
    const int clear = 1 << minBits, stop = clear + 1;
    std::map<std::pair<int, int>, int> table;
    int next = stop + 1, width = minBits + 1;
    Bytes out;
    std::uint32_t acc = 0;
    int accBits = 0;
    auto emit = [&](int code) {
        acc |= std::uint32_t(code) << accBits;
        accBits += width;
        while (accBits >= 8) {
            out.push_back(std::uint8_t(acc));
            acc >>= 8;
            accBits -= 8;
        }
    };
    emit(clear);
    if (pixels.empty()) {
        emit(stop);
        out.push_back(std::uint8_t(acc));
        return out;
    }
    int prefix = pixels[0];
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        const auto key = std::make_pair(prefix, int(pixels[i]));
        if (auto it = table.find(key); it != table.end()) {
            prefix = it->second;
            continue;
        }
        emit(prefix);
        if (!deferClear && next >= 4095) { // where the common encoders clear
            emit(clear);
            table.clear();
            next = stop + 1;
            width = minBits + 1;
        } else if (next < 4096) {
            table[key] = next++;
            if (next > (1 << width) && width < 12)
                ++width;
        }
        prefix = pixels[i];
    }
    emit(prefix);
    emit(stop);
    if (accBits > 0)
        out.push_back(std::uint8_t(acc));
    return out;
}

void SubBlocks(Bytes& gif, const Bytes& data) {
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t n = std::min<std::size_t>(255, data.size() - at);
        gif.push_back(std::uint8_t(n));
        gif.insert(gif.end(), data.begin() + std::ptrdiff_t(at),
                   data.begin() + std::ptrdiff_t(at + n));
    }
    gif.push_back(0);
}

Bytes GifScreen(unsigned w, unsigned h, bool globalMap, unsigned background) {
    Bytes g{'G', 'I', 'F', '8', '9', 'a'};
    Le16(g, w);
    Le16(g, h);
    g.push_back(globalMap ? 0xF7 : 0x00); // 256 colours
    g.push_back(std::uint8_t(background));
    g.push_back(0);
    if (globalMap)
        for (int i = 0; i < 256; ++i) {
            g.push_back(std::uint8_t(i));
            g.push_back(std::uint8_t(255 - i));
            g.push_back(std::uint8_t(i / 2));
        }
    return g;
}

void GifBlock(Bytes& g, unsigned left, unsigned top, unsigned w, unsigned h,
              const std::vector<std::uint8_t>& pixels, const std::array<std::uint8_t, 3>* tint,
              int transparent = -1) {
    if (transparent >= 0)
        g.insert(g.end(), {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, std::uint8_t(transparent), 0x00});
    g.push_back(0x2C);
    Le16(g, left);
    Le16(g, top);
    Le16(g, w);
    Le16(g, h);
    g.push_back(tint ? 0x81 : 0x00); // a local map of 4 colours
    if (tint)
        for (int i = 0; i < 4; ++i)
            for (int k = 0; k < 3; ++k)
                g.push_back(std::uint8_t((*tint)[k] * i / 3));
    const int minBits = tint ? 2 : 8;
    g.push_back(std::uint8_t(minBits));
    SubBlocks(g, Lzw(pixels, minBits, false));
}

TEST(OtherViewers, GifWithADeferredClearDecodesEveryPixel) {
    // Enough varied pixels to fill the code table several times over.
    const unsigned w = 240, h = 200;
    std::vector<std::uint8_t> pixels(w * h);
    std::uint32_t state = 12345;
    for (auto& p : pixels) {
        state = state * 1103515245u + 12345u;
        p = std::uint8_t((state >> 16) % 61 + (&p - pixels.data()) % 7);
    }
    for (bool defer : {false, true}) {
        SCOPED_TRACE(defer ? "deferred clear" : "clear when full");
        Bytes g = GifScreen(w, h, true, 0);
        g.push_back(0x2C);
        Le16(g, 0);
        Le16(g, 0);
        Le16(g, w);
        Le16(g, h);
        g.push_back(0);
        g.push_back(8);
        SubBlocks(g, Lzw(pixels, 8, defer));
        g.push_back(0x3B);
        const Decoded d = Decode(g, crde::ReadGif);
        ASSERT_EQ(d.code, engine::kOk);
        ASSERT_EQ(d.width, w);
        int wrong = 0;
        for (unsigned i = 0; i < w * h; ++i) {
            const unsigned v = pixels[i];
            wrong += d.rgb[i] != (v << 16 | (255 - v) << 8 | v / 2);
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(OtherViewers, GifBlocksWithoutGraphicControlsAreComposedOnTheScreen) {
    // A 6 × 2 screen: a red block on the left third, a green block in the middle third,
    // nothing on the right third, which shows the background colour. A last block that carries
    // a graphic control (no delay) is a frame of an animation and is not drawn.
    const std::array<std::uint8_t, 3> red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255};
    Bytes g = GifScreen(6, 2, true, 200);
    GifBlock(g, 0, 0, 2, 2, {3, 3, 2, 1}, &red);
    GifBlock(g, 2, 0, 2, 2, {3, 1, 3, 3}, &green);
    GifBlock(g, 4, 0, 2, 2, {3, 3, 3, 3}, &blue, 0);
    g.push_back(0x3B);
    const Decoded d = Decode(g, crde::ReadGif);
    ASSERT_EQ(d.code, engine::kOk);
    ASSERT_EQ(d.width, 6);
    const std::uint32_t background = 200u << 16 | 55u << 8 | 100u;
    EXPECT_EQ(d.At(0, 0), 0xFF0000u);
    EXPECT_EQ(d.At(0, 1), 0xAA0000u); // index 2 of 4: 255 * 2 / 3
    EXPECT_EQ(d.At(1, 1), 0x550000u);
    EXPECT_EQ(d.At(2, 0), 0x00FF00u);
    EXPECT_EQ(d.At(3, 0), 0x005500u);
    for (int x = 4; x < 6; ++x)
        for (int y = 0; y < 2; ++y)
            EXPECT_EQ(d.At(x, y), background) << x << "," << y;
}

TEST(OtherViewers, AnAnimatedGifShowsItsFirstFrameWhateverItsDelays) {
    // Frames after graphic controls with a delay of 10 hundredths, of 0, and a control on the
    // first block only (a transparent index): the first frame in each case.
    const std::array<std::uint8_t, 3> red{255, 0, 0}, green{0, 255, 0};
    for (int delay : {10, 0}) {
        SCOPED_TRACE(delay);
        Bytes g = GifScreen(2, 1, true, 0);
        const std::uint8_t control[] = {0x21, 0xF9, 0x04, 0x00, std::uint8_t(delay), 0, 0, 0};
        g.insert(g.end(), std::begin(control), std::end(control));
        GifBlock(g, 0, 0, 2, 1, {3, 3}, &red);
        g.insert(g.end(), std::begin(control), std::end(control));
        GifBlock(g, 0, 0, 2, 1, {3, 3}, &green);
        g.push_back(0x3B);
        const Decoded d = Decode(g, crde::ReadGif);
        ASSERT_EQ(d.code, engine::kOk);
        EXPECT_EQ(d.At(1, 0), 0xFF0000u);
    }
    Bytes g = GifScreen(2, 1, true, 0);
    GifBlock(g, 0, 0, 2, 1, {0, 3}, &red, 0);
    GifBlock(g, 0, 0, 2, 1, {3, 3}, &green);
    g.push_back(0x3B);
    const Decoded d = Decode(g, crde::ReadGif);
    ASSERT_EQ(d.code, engine::kOk);
    EXPECT_EQ(d.At(1, 0), 0xFF0000u);
    EXPECT_EQ(d.At(0, 0), 0x000000u) << "the second block is not drawn through the first";
}

TEST(OtherViewers, AGifWithoutPixelsShowsItsScreen) {
    // A screen of 5 × 3 with background entry 7 and no block; one whose only block is 0 × 4
    // or 4 × 0; one whose empty block comes before a real one (composed as usual).
    const std::uint32_t background = 7u << 16 | 248u << 8 | 3u;
    auto screenOnly = [&](Bytes g) {
        g.push_back(0x3B);
        const Decoded d = Decode(g, crde::ReadGif);
        ASSERT_EQ(d.code, engine::kOk);
        ASSERT_EQ(d.width, 5);
        ASSERT_EQ(d.height, 3);
        for (std::uint32_t p : d.rgb)
            EXPECT_EQ(p, background);
    };
    screenOnly(GifScreen(5, 3, true, 7));
    for (auto [w, h] : {std::pair{0u, 4u}, std::pair{4u, 0u}}) {
        Bytes g = GifScreen(5, 3, true, 7);
        GifBlock(g, 0, 0, w, h, {}, nullptr);
        screenOnly(g);
    }
    const std::array<std::uint8_t, 3> red{255, 0, 0};
    Bytes g = GifScreen(5, 3, true, 7);
    GifBlock(g, 0, 0, 0, 4, {}, nullptr);
    GifBlock(g, 1, 1, 1, 1, {3}, &red);
    g.push_back(0x3B);
    const Decoded d = Decode(g, crde::ReadGif);
    ASSERT_EQ(d.code, engine::kOk);
    EXPECT_EQ(d.At(1, 1), 0xFF0000u);
    EXPECT_EQ(d.At(0, 0), background);
    // Without a screen size there is nothing to show.
    Bytes none = GifScreen(0, 0, true, 7);
    none.push_back(0x3B);
    EXPECT_EQ(Decode(none, crde::ReadGif).code, engine::kErrBadHeader);
}

TEST(OtherViewers, AGifWithoutItsTrailerShowsItsPicture) {
    const std::array<std::uint8_t, 3> red{255, 0, 0};
    Bytes g = GifScreen(2, 1, true, 0);
    GifBlock(g, 0, 0, 2, 1, {3, 3}, &red);
    const Decoded d = Decode(g, crde::ReadGif);
    ASSERT_EQ(d.code, engine::kOk);
    EXPECT_EQ(d.At(1, 0), 0xFF0000u);
}

// ---- Honest failures ----

TEST(OtherViewers, ATwelveBitJpegSaysWhatItIs) {
    crde::NewDib source;
    ASSERT_EQ(source.Create(8, 8, 24, 0), engine::kOk);
    HGLOBAL handle = source.Release();
    Bytes jpeg;
    {
        engine::DibView view(handle);
        ASSERT_EQ(crde::WriteJpeg(view, 80, 0, false, jpeg), engine::kOk);
    }
    GlobalFree(handle);
    for (std::size_t i = 2; i + 4 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 4] = 12; // the frame's sample precision
            break;
        }
    const Decoded d = Decode(jpeg, crde::ReadJpeg);
    EXPECT_EQ(d.code, engine::kErrTwelveBitJpeg);
    EXPECT_STREQ(engine::CodeText(d.code), "12-bit JPEG samples are not supported");
}

} // namespace
