// SPDX-License-Identifier: MIT
#include "engines/isp2000/filters.h"

#include "engines/shared/codes.h"
#include "engines/shared/depth.h"
#include "engines/shared/dib_block.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace isp {

using engine::DibView;
using engine::NewDib;

namespace {

using Lut = std::array<std::uint8_t, 256>;

bool Usable(const DibView& view) {
    return view.Valid() && view.Compression() == 0;
}

// A copy of the block that may be written: its rows and colour table through a view.
class WritableCopy {
public:
    explicit WritableCopy(const DibView& source) {
        if (engine::CopyBlock(source, &handle_) == engine::kOk)
            view_.emplace(static_cast<HGLOBAL>(handle_));
    }
    ~WritableCopy() {
        view_.reset();
        if (handle_)
            GlobalFree(handle_);
    }
    bool Ok() const { return view_ && view_->Valid(); }
    const DibView& View() const { return *view_; }
    std::uint8_t* Row(std::int64_t y) const { return const_cast<std::uint8_t*>(view_->Row(y)); }
    std::uint8_t* Colour(int i) const { return const_cast<std::uint8_t*>(view_->Colour(i)); }
    HGLOBAL Release() {
        view_.reset();
        return std::exchange(handle_, nullptr);
    }

private:
    HGLOBAL handle_ = nullptr;
    std::optional<DibView> view_;
};

// Every colour through `map` (blue, green, red in place): the colour table of a palette
// picture, else each pixel of a 24-bit copy.
template <class Map> HGLOBAL MapColours(HGLOBAL dib, Map map) {
    DibView view(dib);
    if (!Usable(view))
        return nullptr;
    if (view.Bits() <= 8) {
        WritableCopy copy(view);
        if (!copy.Ok())
            return nullptr;
        for (int i = 0; i < copy.View().Colours(); ++i)
            map(copy.Colour(i));
        return copy.Release();
    }
    NewDib out;
    if (out.Create(view.Width(), view.Height(), 24, 0) != engine::kOk)
        return nullptr;
    for (std::int64_t y = 0; y < view.Height(); ++y) {
        std::uint8_t* row = out.Row(y);
        view.RowBgr(y, row);
        for (std::int64_t x = 0; x < view.Width(); ++x)
            map(row + 3 * x);
    }
    return out.Release();
}

// The picture as 24-bit rows, top down, with `width` * 3 bytes a row.
bool ReadBgr(const DibView& view, std::vector<std::uint8_t>& pixels) {
    const std::size_t row = std::size_t(view.Width()) * 3;
    pixels.resize(row * std::size_t(view.Height()));
    for (std::int64_t y = 0; y < view.Height(); ++y)
        view.RowBgr(y, pixels.data() + row * std::size_t(y));
    return true;
}

HGLOBAL WriteBgr(std::int64_t width, std::int64_t height, const std::vector<std::uint8_t>& pixels) {
    NewDib out;
    if (out.Create(width, height, 24, 0) != engine::kOk)
        return nullptr;
    const std::size_t row = std::size_t(width) * 3;
    for (std::int64_t y = 0; y < height; ++y)
        std::memcpy(out.Row(y), pixels.data() + row * std::size_t(y), row);
    return out.Release();
}

// One box pass along rows (step 3, count width) or columns (step row bytes, count height),
// edges repeated.
void BoxPass(const std::vector<std::uint8_t>& in, std::vector<std::uint8_t>& out,
             std::int64_t width, std::int64_t height, int radius, bool columns) {
    const std::int64_t lines = columns ? width : height, count = columns ? height : width;
    const std::size_t rowBytes = std::size_t(width) * 3;
    const std::size_t step = columns ? rowBytes : 3;
    const int span = 2 * radius + 1;
    for (std::int64_t line = 0; line < lines; ++line) {
        const std::size_t start = columns ? std::size_t(line) * 3 : std::size_t(line) * rowBytes;
        auto at = [&](std::int64_t i) {
            return &in[start + step * std::size_t(std::clamp<std::int64_t>(i, 0, count - 1))];
        };
        for (int k = 0; k < 3; ++k) {
            int sum = 0;
            for (int i = -radius; i <= radius; ++i)
                sum += at(i)[k];
            for (std::int64_t i = 0; i < count; ++i) {
                out[start + step * std::size_t(i) + k] =
                    static_cast<std::uint8_t>((sum + span / 2) / span);
                sum += at(i + radius + 1)[k] - at(i - radius)[k];
            }
        }
    }
}

void BoxBlur(std::vector<std::uint8_t>& pixels, std::int64_t width, std::int64_t height,
             int radius) {
    std::vector<std::uint8_t> tmp(pixels.size());
    BoxPass(pixels, tmp, width, height, radius, false);
    BoxPass(tmp, pixels, width, height, radius, true);
}

// Pixels of 1 or 4 bits read and written by index, for mirroring.
unsigned GetIndex(const std::uint8_t* row, int bits, std::int64_t x) {
    if (bits == 1)
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    return (x & 1) ? row[x >> 1] & 0xFu : row[x >> 1] >> 4;
}

void SetIndex(std::uint8_t* row, int bits, std::int64_t x, unsigned v) {
    if (bits == 1) {
        const auto mask = static_cast<std::uint8_t>(0x80u >> (x & 7));
        row[x >> 3] = static_cast<std::uint8_t>(v ? row[x >> 3] | mask : row[x >> 3] & ~mask);
    } else if (x & 1) {
        row[x >> 1] = static_cast<std::uint8_t>((row[x >> 1] & 0xF0u) | v);
    } else {
        row[x >> 1] = static_cast<std::uint8_t>((row[x >> 1] & 0x0Fu) | v << 4);
    }
}

} // namespace

HGLOBAL Adjust(HGLOBAL dib, int brightness, int contrast, double gamma) {
    if (!(gamma > 0) || !std::isfinite(gamma))
        return nullptr;
    brightness = std::clamp(brightness, -255, 255);
    contrast = std::clamp(contrast, -100, 100);
    Lut lut;
    for (int v = 0; v < 256; ++v) {
        double t = v + brightness;
        t = (t - 127.5) * (100.0 + contrast) / 100.0 + 127.5;
        t = std::clamp(t, 0.0, 255.0);
        t = 255.0 * std::pow(t / 255.0, 1.0 / gamma);
        lut[std::size_t(v)] = static_cast<std::uint8_t>(std::lround(std::clamp(t, 0.0, 255.0)));
    }
    return MapColours(dib, [&lut](std::uint8_t* c) {
        c[0] = lut[c[0]];
        c[1] = lut[c[1]];
        c[2] = lut[c[2]];
    });
}

HGLOBAL Greyscale(HGLOBAL dib) {
    return MapColours(dib, [](std::uint8_t* c) {
        // Integer weights of 0.114, 0.587, 0.299 out of 1000.
        const auto grey =
            static_cast<std::uint8_t>((114 * c[0] + 587 * c[1] + 299 * c[2] + 500) / 1000);
        c[0] = c[1] = c[2] = grey;
    });
}

HGLOBAL Mirror(HGLOBAL dib, bool vertical) {
    DibView view(dib);
    if (!Usable(view))
        return nullptr;
    WritableCopy copy(view);
    if (!copy.Ok())
        return nullptr;
    const std::int64_t w = view.Width(), h = view.Height();
    const int bits = view.Bits();
    if (vertical) {
        std::vector<std::uint8_t> tmp(view.Stride());
        for (std::int64_t y = 0; y < h / 2; ++y) {
            std::memcpy(tmp.data(), copy.Row(y), tmp.size());
            std::memcpy(copy.Row(y), copy.Row(h - 1 - y), tmp.size());
            std::memcpy(copy.Row(h - 1 - y), tmp.data(), tmp.size());
        }
        return copy.Release();
    }
    const std::size_t bytes = std::size_t(bits) / 8;
    for (std::int64_t y = 0; y < h; ++y) {
        std::uint8_t* row = copy.Row(y);
        for (std::int64_t x = 0; x < w / 2; ++x) {
            const std::int64_t o = w - 1 - x;
            if (bits < 8) {
                const unsigned a = GetIndex(row, bits, x), b = GetIndex(row, bits, o);
                SetIndex(row, bits, x, b);
                SetIndex(row, bits, o, a);
            } else {
                std::swap_ranges(row + std::size_t(x) * bytes, row + std::size_t(x + 1) * bytes,
                                 row + std::size_t(o) * bytes);
            }
        }
    }
    return copy.Release();
}

HGLOBAL Blur(HGLOBAL dib, int radius) {
    DibView view(dib);
    if (!Usable(view) || radius < 1 || radius > 32)
        return nullptr;
    std::vector<std::uint8_t> pixels;
    ReadBgr(view, pixels);
    for (int pass = 0; pass < 2; ++pass)
        BoxBlur(pixels, view.Width(), view.Height(), radius);
    return WriteBgr(view.Width(), view.Height(), pixels);
}

HGLOBAL Sharpen(HGLOBAL dib, int amount) {
    DibView view(dib);
    if (!Usable(view) || amount < 1 || amount > 500)
        return nullptr;
    std::vector<std::uint8_t> pixels;
    ReadBgr(view, pixels);
    std::vector<std::uint8_t> mean = pixels;
    BoxBlur(mean, view.Width(), view.Height(), 1);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const int v = pixels[i] + (pixels[i] - mean[i]) * amount / 100;
        pixels[i] = static_cast<std::uint8_t>(std::clamp(v, 0, 255));
    }
    return WriteBgr(view.Width(), view.Height(), pixels);
}

} // namespace isp
