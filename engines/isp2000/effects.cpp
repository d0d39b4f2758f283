// SPDX-License-Identifier: MIT
#include "engines/isp2000/effects.h"

#include "engines/isp2000/quarter_turn.h"
#include "engines/shared/codes.h"
#include "engines/shared/depth.h"
#include "engines/shared/dib_block.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <vector>

namespace isp {

using engine::DibView;
using engine::NewDib;

namespace {

// Eight bytes at a time (the compiler does not vectorise byte loops at our optimisation
// level), the rest byte by byte.
void FlipBytes(std::uint8_t* p, std::size_t n) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t v;
        std::memcpy(&v, p + i, 8);
        v = ~v;
        std::memcpy(p + i, &v, 8);
    }
    for (; i < n; ++i)
        p[i] ^= 0xFFu;
}

// Bytes 0 to 2 of each 4-byte pixel in memory (blue, green, red), whatever the machine's
// byte order; two pixels at a time.
constexpr std::uint32_t kFirstThreeBytes =
    std::endian::native == std::endian::little ? 0x00FFFFFFu : 0xFFFFFF00u;
constexpr std::uint64_t kTwoPixels = std::uint64_t(kFirstThreeBytes) << 32 | kFirstThreeBytes;

void FlipThreeOfFour(std::uint8_t* p, std::size_t pixels) {
    std::size_t i = 0;
    for (; i + 2 <= pixels; i += 2) {
        std::uint64_t v;
        std::memcpy(&v, p + 4 * i, 8);
        v ^= kTwoPixels;
        std::memcpy(p + 4 * i, &v, 8);
    }
    if (i < pixels) {
        std::uint32_t v;
        std::memcpy(&v, p + 4 * i, 4);
        v ^= kFirstThreeBytes;
        std::memcpy(p + 4 * i, &v, 4);
    }
}

} // namespace

bool Invert(HGLOBAL dib) {
    auto* base = static_cast<std::uint8_t*>(GlobalLock(dib));
    if (!base)
        return false;
    bool ok;
    {
        DibView view(static_cast<const void*>(base));
        ok = view.Valid() && view.Compression() == 0;
        if (ok && view.Bits() <= 8) {
            for (int i = 0; i < view.Colours(); ++i) {
                auto* c = const_cast<std::uint8_t*>(view.Colour(i));
                c[0] = static_cast<std::uint8_t>(~c[0]);
                c[1] = static_cast<std::uint8_t>(~c[1]);
                c[2] = static_cast<std::uint8_t>(~c[2]);
            }
        } else if (ok) {
            // Every pixel byte of 16-bit pictures flips too: their channels are bit fields.
            // 32-bit pixels keep their fourth byte. Plain loops the compiler vectorises.
            const std::size_t row = std::size_t(view.Width()) * view.Bits() / 8;
            const bool keepFourth = view.Bits() == 32;
            for (std::int64_t y = 0; y < view.Height(); ++y) {
                auto* p = const_cast<std::uint8_t*>(view.Row(y));
                if (keepFourth)
                    FlipThreeOfFour(p, row / 4);
                else
                    FlipBytes(p, row);
            }
        }
    }
    GlobalUnlock(dib);
    return ok;
}

namespace {

// A turn by quarters (1 anticlockwise on screen, y growing downwards; 2 a half turn; 3
// clockwise) of any depth into a new 24-bit picture.
void QuarterTurn(const DibView& view, int quarters, const NewDib& out) {
    const std::int64_t sw = view.Width(), sh = view.Height();
    std::vector<std::uint8_t> converted;
    std::vector<const std::uint8_t*> rows(static_cast<std::size_t>(sh));
    if (view.Bits() == 24) {
        for (std::int64_t y = 0; y < sh; ++y)
            rows[std::size_t(y)] = view.Row(y);
    } else {
        converted.resize(static_cast<std::size_t>(sw * sh * 3));
        for (std::int64_t y = 0; y < sh; ++y) {
            view.RowBgr(y, converted.data() + y * sw * 3);
            rows[std::size_t(y)] = converted.data() + y * sw * 3;
        }
    }
    if (quarters != 2) {
        QuarterTurn24(rows.data(), sw, sh, quarters, out.Row(0),
                      static_cast<std::int64_t>(out.Stride()));
        return;
    }
    // A half turn: each destination row is one source row read backwards.
    for (std::int64_t y = 0; y < sh; ++y) {
        std::uint8_t* d = out.Row(y);
        const std::uint8_t* p = rows[std::size_t(sh - 1 - y)] + 3 * (sw - 1);
        for (std::int64_t x = 0; x < sw; ++x, d += 3, p -= 3)
            std::memcpy(d, p, 3);
    }
}

} // namespace

HGLOBAL Crop(HGLOBAL dib, std::int64_t left, std::int64_t top, std::int64_t right,
             std::int64_t bottom) {
    DibView view(dib);
    if (!view.Valid() || view.Compression() != 0)
        return nullptr;
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min(right, view.Width());
    bottom = std::min(bottom, view.Height());
    if (right <= left || bottom <= top)
        return nullptr;
    NewDib out;
    if (out.Create(right - left, bottom - top, 24, 0, true) != engine::kOk)
        return nullptr;
    std::vector<std::uint8_t> row(3 * static_cast<std::size_t>(view.Width()));
    for (std::int64_t y = top; y < bottom; ++y) {
        view.RowBgr(y, row.data());
        std::memcpy(out.Row(y - top), row.data() + 3 * left, 3 * std::size_t(right - left));
    }
    return out.Release();
}

HGLOBAL Rotate(HGLOBAL dib, double degrees, std::uint32_t background, int* width, int* height) {
    DibView view(dib);
    if (!view.Valid() || view.Compression() != 0 || !std::isfinite(degrees))
        return nullptr;
    const std::int64_t sw = view.Width(), sh = view.Height();
    double turn = std::fmod(degrees, 360.0);
    if (turn < 0)
        turn += 360;
    const bool quarter = std::fabs(std::remainder(turn, 90.0)) < 1e-9;
    const int quarters = quarter ? static_cast<int>(std::lround(turn / 90)) % 4 : -1;
    if (quarters == 0) {
        HGLOBAL copy = nullptr;
        if (view.Bits() == 24)
            engine::CopyBlock(view, &copy);
        else if (engine::Promote(view, 24, &copy) != engine::kOk)
            copy = nullptr;
        if (copy) {
            *width = static_cast<int>(sw);
            *height = static_cast<int>(sh);
        }
        return copy;
    }
    if (quarter) {
        // Top-down, so the caller's bitmap can show the turned rows where they lie.
        NewDib out;
        if (out.Create(quarters % 2 ? sh : sw, quarters % 2 ? sw : sh, 24, 0, true) != engine::kOk)
            return nullptr;
        QuarterTurn(view, quarters, out);
        *width = static_cast<int>(out.Width());
        *height = static_cast<int>(out.Height());
        return out.Release();
    }
    std::vector<std::uint8_t> src(static_cast<std::size_t>(sw * sh * 3));
    for (std::int64_t y = 0; y < sh; ++y)
        view.RowBgr(y, src.data() + y * sw * 3);
    const double rad = turn * M_PI / 180;
    const double c = std::cos(rad), s = std::sin(rad);
    const auto dw =
        static_cast<std::int64_t>(std::ceil(std::fabs(sw * c) + std::fabs(sh * s) - 1e-9));
    const auto dh =
        static_cast<std::int64_t>(std::ceil(std::fabs(sw * s) + std::fabs(sh * c) - 1e-9));
    NewDib out;
    if (out.Create(dw, dh, 24, 0) != engine::kOk)
        return nullptr;
    const std::uint8_t bg[3] = {std::uint8_t(background >> 16), std::uint8_t(background >> 8),
                                std::uint8_t(background)};
    auto at = [&](std::int64_t x, std::int64_t y) { return &src[std::size_t((y * sw + x) * 3)]; };
    for (std::int64_t y = 0; y < dh; ++y) {
        std::uint8_t* row = out.Row(y);
        for (std::int64_t x = 0; x < dw; ++x) {
            std::uint8_t* d = row + 3 * x;
            // Where this pixel's centre comes from in the source.
            const double dx = x + 0.5 - dw / 2.0, dy = y + 0.5 - dh / 2.0;
            const double fx = dx * c - dy * s + sw / 2.0 - 0.5;
            const double fy = dx * s + dy * c + sh / 2.0 - 0.5;
            if (fx < -0.5 || fy < -0.5 || fx > sw - 0.5 || fy > sh - 0.5) {
                std::memcpy(d, bg, 3);
                continue;
            }
            const std::int64_t x0 =
                std::clamp<std::int64_t>(std::int64_t(std::floor(fx)), 0, sw - 1);
            const std::int64_t y0 =
                std::clamp<std::int64_t>(std::int64_t(std::floor(fy)), 0, sh - 1);
            const std::int64_t x1 = std::min(x0 + 1, sw - 1), y1 = std::min(y0 + 1, sh - 1);
            const double ax = std::clamp(fx - x0, 0.0, 1.0), ay = std::clamp(fy - y0, 0.0, 1.0);
            for (int k = 0; k < 3; ++k) {
                const double top = at(x0, y0)[k] * (1 - ax) + at(x1, y0)[k] * ax;
                const double bottom = at(x0, y1)[k] * (1 - ax) + at(x1, y1)[k] * ax;
                d[k] = static_cast<std::uint8_t>(std::lround(top * (1 - ay) + bottom * ay));
            }
        }
    }
    *width = static_cast<int>(dw);
    *height = static_cast<int>(dh);
    return out.Release();
}

HGLOBAL Reduce(HGLOBAL dib, int bits, bool dither, colour::Method method,
               const colour::Progress& progress) {
    DibView view(dib);
    if (!view.Valid() || view.Compression() != 0)
        return nullptr;
    if (bits == 0)
        bits = 4;
    if (bits == 2)
        bits = 1;
    if (bits != 1 && bits != 4 && bits != 8)
        return nullptr;
    HGLOBAL out = nullptr;
    if (view.Bits() <= bits && method != colour::Method::Greyscale)
        engine::CopyBlock(view, &out);
    else
        engine::Reduce(view, bits, dither, method, progress, &out);
    return out;
}

} // namespace isp
