// SPDX-License-Identifier: MIT
#include "engines/crde2000/pcd.h"

#include "engines/shared/codes.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace crde {

namespace {

constexpr std::size_t kSignatureAt = 0x800;
constexpr std::size_t kSector = 0x800;

struct Base {
    int width, height;
    std::size_t offset;
};
// Where each base image lies in the pack (sectors 4, 23 and 96).
constexpr Base kBases[3] = {
    {192, 128, 4 * kSector}, {384, 256, 23 * kSector}, {768, 512, 96 * kSector}};

std::uint8_t Clamp(double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0l, 255l));
}

} // namespace

bool IsPcd(const std::uint8_t* data, std::size_t size) {
    return data && size >= kSignatureAt + 7 && std::memcmp(data + kSignatureAt, "PCD_IPI", 7) == 0;
}

std::size_t PcdBytesFor(int mode) {
    if (mode < 0 || mode > 2)
        return 0;
    const Base& base = kBases[mode];
    return base.offset + std::size_t(base.width) * std::size_t(base.height) * 3 / 2;
}

std::int16_t ReadPcd(const std::uint8_t* data, std::size_t size, int mode, HGLOBAL* dib) {
    *dib = nullptr;
    if (!IsPcd(data, size))
        return kErrNotThisFormat;
    if (mode < 0 || mode > 2)
        return kErrBadArgument;
    const Base& base = kBases[mode];
    const std::size_t w = std::size_t(base.width), h = std::size_t(base.height);
    // Rows come in pairs: two luma rows, then the two half-width chroma rows they share.
    if (size < PcdBytesFor(mode))
        return kErrTruncated;
    NewDib out;
    if (std::int16_t code = out.Create(base.width, base.height, 24, 0); code != kOk)
        return code;
    const std::uint8_t* p = data + base.offset;
    for (std::size_t pair = 0; pair < h / 2; ++pair, p += w * 3) {
        const std::uint8_t* c1 = p + 2 * w;
        const std::uint8_t* c2 = c1 + w / 2;
        for (int line = 0; line < 2; ++line) {
            const std::uint8_t* y = p + line * w;
            std::uint8_t* row = out.Row(std::int64_t(pair * 2 + line));
            for (std::size_t x = 0; x < w; ++x) {
                const double l = 1.3584 * y[x];
                const double a = 2.2179 * (c1[x / 2] - 156.0);
                const double b = 1.8215 * (c2[x / 2] - 137.0);
                row[3 * x] = Clamp(l + a);
                row[3 * x + 1] = Clamp(l - 0.194 * a - 0.509 * b);
                row[3 * x + 2] = Clamp(l + b);
            }
        }
    }
    *dib = out.Release();
    return kOk;
}

std::int16_t WritePcd(const DibView& dib, Bytes& out) {
    if (!dib.Valid() || dib.Compression() != 0)
        return kErrBadArgument;
    const Base& last = kBases[2];
    out.assign(last.offset + std::size_t(last.width) * last.height * 3 / 2, 0);
    std::memcpy(out.data() + kSignatureAt, "PCD_IPI", 7);
    const std::int64_t sw = dib.Width(), sh = dib.Height();
    std::vector<std::uint8_t> source(static_cast<std::size_t>(sw * sh * 3));
    for (std::int64_t y = 0; y < sh; ++y)
        dib.RowBgr(y, source.data() + y * sw * 3);
    for (const Base& base : kBases) {
        const std::size_t w = std::size_t(base.width), h = std::size_t(base.height);
        // Each target pixel is the mean of the source pixels it covers.
        std::vector<double> l(w * h), a(w * h), b(w * h);
        for (std::size_t y = 0; y < h; ++y)
            for (std::size_t x = 0; x < w; ++x) {
                const std::int64_t x0 = std::int64_t(x) * sw / std::int64_t(w);
                const std::int64_t x1 =
                    std::max(x0 + 1, std::int64_t(x + 1) * sw / std::int64_t(w));
                const std::int64_t y0 = std::int64_t(y) * sh / std::int64_t(h);
                const std::int64_t y1 =
                    std::max(y0 + 1, std::int64_t(y + 1) * sh / std::int64_t(h));
                double r = 0, g = 0, bl = 0;
                for (std::int64_t sy = y0; sy < y1; ++sy)
                    for (std::int64_t sx = x0; sx < x1; ++sx) {
                        const std::uint8_t* p = &source[std::size_t((sy * sw + sx) * 3)];
                        bl += p[0];
                        g += p[1];
                        r += p[2];
                    }
                const double n = double((x1 - x0) * (y1 - y0));
                r /= n;
                g /= n;
                bl /= n;
                const double lum = (g + 0.194 * bl + 0.509 * r) / 1.703;
                l[y * w + x] = lum;
                a[y * w + x] = bl - lum;
                b[y * w + x] = r - lum;
            }
        std::uint8_t* p = out.data() + base.offset;
        for (std::size_t pair = 0; pair < h / 2; ++pair, p += w * 3) {
            for (int line = 0; line < 2; ++line)
                for (std::size_t x = 0; x < w; ++x)
                    p[line * w + x] = Clamp(l[(pair * 2 + line) * w + x] / 1.3584);
            for (std::size_t x = 0; x < w / 2; ++x) {
                double sa = 0, sb = 0;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx) {
                        sa += a[(pair * 2 + dy) * w + 2 * x + dx];
                        sb += b[(pair * 2 + dy) * w + 2 * x + dx];
                    }
                p[2 * w + x] = Clamp(sa / 4 / 2.2179 + 156);
                p[2 * w + w / 2 + x] = Clamp(sb / 4 / 1.8215 + 137);
            }
        }
    }
    return kOk;
}

std::int16_t PcdFacts(const Reader&, StreamFacts* f) {
    // Every pack holds its Base/16, Base/4 and Base images; the facts are of the Base.
    f->width = 768;
    f->height = 512;
    f->bits = 24;
    f->compression = "YCC";
    return kOk;
}

} // namespace crde
