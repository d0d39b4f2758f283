// SPDX-License-Identifier: MIT
#include "engines/colour/reduce.h"

#include <algorithm>
#include <unordered_map>

namespace colour {

namespace {

int Luma(int r, int g, int b) {
    return (r * 77 + g * 150 + b * 29 + 128) >> 8;
}

void Put(std::uint8_t* row, int x, int bits, std::uint8_t index) {
    switch (bits) {
    case 8:
        row[x] = index;
        break;
    case 4:
        row[x >> 1] |= static_cast<std::uint8_t>((x & 1) ? index & 0xF : index << 4);
        break;
    default:
        if (index & 1)
            row[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
        break;
    }
}

// Error diffusion kernels: (dx, dy, weight) over a divisor.
struct Tap {
    int dx, dy, w;
};
constexpr Tap kFloyd[] = {{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}};
constexpr Tap kBurkes[] = {{1, 0, 8}, {2, 0, 4}, {-2, 1, 2}, {-1, 1, 4},
                           {0, 1, 8}, {1, 1, 4}, {2, 1, 2}};

constexpr int kBayer[8][8] = {{0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
                              {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
                              {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
                              {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};

} // namespace

std::vector<Rgb> ChoosePalette(const BgrView& image, int bits, Method method) {
    const int count = 1 << bits;
    std::vector<Rgb> palette;
    if (method == Method::Greyscale || bits == 1) {
        for (int i = 0; i < count; ++i) {
            const auto v = static_cast<std::uint8_t>(i * 255 / (count - 1));
            palette.push_back({v, v, v});
        }
        return palette;
    }
    palette = ExactColours(image, static_cast<std::size_t>(count));
    if (palette.empty())
        palette = MedianCut(image, static_cast<std::size_t>(count));
    if (palette.empty())
        palette.push_back({0, 0, 0});
    return palette;
}

bool Reduce(const BgrView& image, const std::vector<Rgb>& palette, int bits, bool dither,
            Method method, std::uint8_t* out, std::ptrdiff_t outStride, const Progress& progress) {
    const int w = image.width, h = image.height;
    const bool grey = method == Method::Greyscale;
    auto report = [&](int y) {
        return !progress || (y % 64 != 0) || progress(h ? y * 100 / h : 100);
    };

    // Pictures whose colours all fit are mapped exactly.
    std::unordered_map<std::uint32_t, std::uint8_t> exact;
    if (!grey && palette.size() <= 256) {
        for (std::size_t i = 0; i < palette.size(); ++i)
            exact.emplace(std::uint32_t(palette[i].r) << 16 | std::uint32_t(palette[i].g) << 8 |
                              palette[i].b,
                          static_cast<std::uint8_t>(i));
        bool all = bits > 1;
        for (int y = 0; all && y < h; ++y) {
            const std::uint8_t* p = image.Row(y);
            for (int x = 0; x < w; ++x, p += 3)
                if (!exact.count(std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0])) {
                    all = false;
                    break;
                }
        }
        if (all) {
            for (int y = 0; y < h; ++y) {
                const std::uint8_t* p = image.Row(y);
                std::uint8_t* row = out + outStride * y;
                for (int x = 0; x < w; ++x, p += 3)
                    Put(row, x, bits,
                        exact[std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0]]);
                if (!report(y))
                    return false;
            }
            return true;
        }
    }

    NearestIndex nearest(palette);
    auto source = [&](const std::uint8_t* p, int c[3]) {
        if (grey) {
            c[0] = c[1] = c[2] = Luma(p[2], p[1], p[0]);
        } else {
            c[0] = p[2];
            c[1] = p[1];
            c[2] = p[0];
        }
    };

    if (!dither || method == Method::Bayer) {
        // Ordered dithering offsets each pixel by its threshold, scaled to the palette spacing.
        const int spread = dither ? (bits == 1 ? 255 : bits == 4 ? 64 : 32) : 0;
        for (int y = 0; y < h; ++y) {
            const std::uint8_t* p = image.Row(y);
            std::uint8_t* row = out + outStride * y;
            for (int x = 0; x < w; ++x, p += 3) {
                int c[3];
                source(p, c);
                const int offset = spread ? (kBayer[y & 7][x & 7] * 2 + 1 - 64) * spread / 128 : 0;
                for (int& v : c)
                    v = std::clamp(v + offset, 0, 255);
                Put(row, x, bits, nearest(c[0], c[1], c[2]));
            }
            if (!report(y))
                return false;
        }
        return true;
    }

    const Tap* taps = method == Method::Burkes ? kBurkes : kFloyd;
    const int tapCount = method == Method::Burkes ? 7 : 4;
    const int divisor = method == Method::Burkes ? 32 : 16;
    // Two rows of accumulated error per channel, with a margin of two pixels each side.
    const int span = w + 4;
    std::vector<int> errors(static_cast<std::size_t>(span) * 2 * 3, 0);
    for (int y = 0; y < h; ++y) {
        int* cur = errors.data() + (y & 1) * span * 3;
        int* next = errors.data() + ((y + 1) & 1) * span * 3;
        std::fill(next, next + span * 3, 0);
        const std::uint8_t* p = image.Row(y);
        std::uint8_t* row = out + outStride * y;
        for (int x = 0; x < w; ++x, p += 3) {
            int c[3];
            source(p, c);
            int* e = cur + (x + 2) * 3;
            for (int i = 0; i < 3; ++i)
                c[i] = std::clamp(c[i] + e[i] / divisor, 0, 255);
            const std::uint8_t index = nearest(c[0], c[1], c[2]);
            Put(row, x, bits, index);
            const Rgb& got = palette[index];
            const int err[3] = {c[0] - got.r, c[1] - got.g, c[2] - got.b};
            for (int t = 0; t < tapCount; ++t) {
                int* target = (taps[t].dy ? next : cur) + (x + 2 + taps[t].dx) * 3;
                for (int i = 0; i < 3; ++i)
                    target[i] += err[i] * taps[t].w;
            }
        }
        if (!report(y))
            return false;
    }
    return true;
}

} // namespace colour
