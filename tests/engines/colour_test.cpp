// SPDX-License-Identifier: MIT
#include "engines/colour/quantize.h"
#include "engines/colour/reduce.h"
#include "engines/dib/dib_layout.h"
#include "engines/shared/codes.h"
#include "engines/shared/depth.h"
#include "engines/shared/dib_block.h"

#include <cstring>
#include <gtest/gtest.h>
#include <set>

namespace {

struct Picture {
    int w, h;
    std::vector<std::uint8_t> bgr;
    colour::BgrView View() const { return {bgr.data(), w * 3, w, h}; }
};

// A smooth two-way colour field: thousands of colours, no two far apart.
Picture Field(int w, int h) {
    Picture p{w, h, std::vector<std::uint8_t>(std::size_t(w) * h * 3)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* q = &p.bgr[(std::size_t(y) * w + x) * 3];
            q[0] = std::uint8_t(x * 255 / (w - 1));
            q[1] = std::uint8_t(y * 255 / (h - 1));
            q[2] = std::uint8_t(255 - (x + y) * 255 / (w + h - 2));
        }
    return p;
}

TEST(Quantizer, ExactColoursOnlyWhenTheyFit) {
    Picture p{3, 1, {1, 2, 3, 1, 2, 3, 9, 9, 9}};
    const auto colours = colour::ExactColours(p.View(), 2);
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[0], (colour::Rgb{3, 2, 1}));
    EXPECT_TRUE(colour::ExactColours(p.View(), 1).empty());
}

TEST(Quantizer, MedianCutSpendsItsColoursWhereThePixelsAre) {
    const Picture field = Field(128, 96);
    for (std::size_t count : {2u, 16u, 256u}) {
        const auto palette = colour::MedianCut(field.View(), count);
        EXPECT_LE(palette.size(), count);
        EXPECT_GE(palette.size(), count * 3 / 4) << count;
        std::set<std::uint32_t> distinct;
        for (const auto& c : palette)
            distinct.insert(std::uint32_t(c.r) << 16 | c.g << 8 | c.b);
        EXPECT_EQ(distinct.size(), palette.size()) << "no colour twice";
    }
}

TEST(Quantizer, NearestIndexFindsTheClosestEntry) {
    colour::NearestIndex nearest({{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 250}});
    EXPECT_EQ(nearest(10, 10, 10), 0);
    EXPECT_EQ(nearest(240, 250, 245), 1);
    EXPECT_EQ(nearest(200, 30, 20), 2);
    EXPECT_EQ(nearest(20, 10, 200), 3);
    EXPECT_EQ(nearest(200, 30, 20), 2) << "a remembered cell gives the same answer";
}

double MeanError(const Picture& p, const std::vector<colour::Rgb>& palette, int bits, bool dither,
                 colour::Method method) {
    const auto stride =
        static_cast<std::size_t>(dib::RowStride(std::uint64_t(p.w), unsigned(bits)));
    std::vector<std::uint8_t> out(stride * p.h, 0);
    EXPECT_TRUE(colour::Reduce(p.View(), palette, bits, dither, method, out.data(),
                               std::ptrdiff_t(stride)));
    double sum = 0;
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x) {
            const std::uint8_t* row = out.data() + stride * y;
            const unsigned i = bits == 8   ? row[x]
                               : bits == 4 ? ((x & 1) ? row[x / 2] & 15 : row[x / 2] >> 4)
                                           : (row[x / 8] >> (7 - x % 8)) & 1;
            const std::uint8_t* s = &p.bgr[(std::size_t(y) * p.w + x) * 3];
            sum += std::abs(palette[i].r - s[2]) + std::abs(palette[i].g - s[1]) +
                   std::abs(palette[i].b - s[0]);
        }
    return sum / (3.0 * p.w * p.h);
}

TEST(Reduction, TwoHundredFiftySixColoursOfAFieldStayClose) {
    const Picture field = Field(128, 96);
    const auto palette = colour::ChoosePalette(field.View(), 8, colour::Method::Floyd);
    EXPECT_LT(MeanError(field, palette, 8, false, colour::Method::Floyd), 6.0);
    // A fixed web palette would be about 13 levels off on average here.
    EXPECT_LT(MeanError(field, colour::ChoosePalette(field.View(), 4, colour::Method::Bayer), 4,
                        false, colour::Method::Bayer),
              25.0);
}

TEST(Reduction, AReaderAskedForEightBitsGivesAPaletteOfThePicture) {
    const Picture field = Field(64, 48);
    engine::NewDib dib;
    ASSERT_EQ(dib.Create(64, 48, 24, 0), engine::kOk);
    for (int y = 0; y < 48; ++y)
        std::memcpy(dib.Row(y), &field.bgr[std::size_t(y) * 64 * 3], 64 * 3);
    HGLOBAL handle = dib.Release();
    ASSERT_EQ(engine::ApplyReadDepth(&handle, 8, true), engine::kOk);
    engine::DibView view(handle);
    EXPECT_EQ(view.Bits(), 8);
    EXPECT_EQ(view.Colours(), 256);
    // The palette follows the picture: no entry is far from some pixel of it.
    int far = 0;
    for (int i = 0; i < view.Colours(); ++i) {
        const std::uint8_t* c = view.Colour(i);
        int best = 1 << 30;
        for (std::size_t k = 0; k < field.bgr.size(); k += 3)
            best =
                std::min(best, std::abs(c[0] - field.bgr[k]) + std::abs(c[1] - field.bgr[k + 1]) +
                                   std::abs(c[2] - field.bgr[k + 2]));
        far += best > 24;
    }
    EXPECT_EQ(far, 0);
    GlobalFree(handle);
}

} // namespace
