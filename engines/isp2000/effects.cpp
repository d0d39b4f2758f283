// SPDX-License-Identifier: MIT
#include "engines/isp2000/effects.h"

#include "engines/shared/codes.h"
#include "engines/shared/depth.h"
#include "engines/shared/dib_block.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace isp {

using engine::DibView;
using engine::NewDib;

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
            const std::size_t row = std::size_t(view.Width()) * view.Bits() / 8;
            for (std::int64_t y = 0; y < view.Height(); ++y) {
                auto* p = const_cast<std::uint8_t*>(view.Row(y));
                for (std::size_t i = 0; i < row; ++i)
                    if (view.Bits() != 32 || i % 4 != 3)
                        p[i] = static_cast<std::uint8_t>(~p[i]);
            }
        }
    }
    GlobalUnlock(dib);
    return ok;
}

namespace {

// A quarter turn anticlockwise on screen (y grows downwards), done in square tiles so that
// both the rows read and the rows written stay in the cache.
void QuarterTurn(const DibView& view, int quarters, const NewDib& out) {
    const std::int64_t sw = view.Width(), sh = view.Height();
    const std::int64_t dw = out.Width(), dh = out.Height();
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
    constexpr std::int64_t kTile = 64;
    for (std::int64_t ty = 0; ty < dh; ty += kTile)
        for (std::int64_t tx = 0; tx < dw; tx += kTile) {
            const std::int64_t yEnd = std::min(dh, ty + kTile), xEnd = std::min(dw, tx + kTile);
            for (std::int64_t y = ty; y < yEnd; ++y) {
                std::uint8_t* d = out.Row(y) + 3 * tx;
                for (std::int64_t x = tx; x < xEnd; ++x, d += 3) {
                    std::int64_t sx, sy;
                    if (quarters == 1) {
                        sx = sw - 1 - y;
                        sy = x;
                    } else if (quarters == 2) {
                        sx = sw - 1 - x;
                        sy = sh - 1 - y;
                    } else {
                        sx = y;
                        sy = sh - 1 - x;
                    }
                    const std::uint8_t* p = rows[std::size_t(sy)] + 3 * sx;
                    d[0] = p[0];
                    d[1] = p[1];
                    d[2] = p[2];
                }
            }
        }
}

} // namespace

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
        NewDib out;
        if (out.Create(quarters % 2 ? sh : sw, quarters % 2 ? sw : sh, 24, 0) != engine::kOk)
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
    if (view.Bits() <= bits && method != colour::Method::Grayscale)
        engine::CopyBlock(view, &out);
    else
        engine::Reduce(view, bits, dither, method, progress, &out);
    return out;
}

} // namespace isp
