// SPDX-License-Identifier: MIT
#include "imaging/dib/stretch_blit.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace imaging {

namespace {

// Reads source pixels as 0xRRGGBB by column, for the formats the bitmaps here use; any other
// format goes through the toolkit's own pixel access.
class Row {
public:
    Row(const QImage& image, int y)
        : image_(image)
        , line_(image.constScanLine(y))
        , y_(y) {}
    QRgb At(int x) const {
        switch (image_.format()) {
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32:
        case QImage::Format_ARGB32_Premultiplied:
            return reinterpret_cast<const QRgb*>(line_)[x] & 0xFFFFFFu;
        case QImage::Format_BGR888: {
            const uchar* p = line_ + 3 * x;
            return QRgb(p[2]) << 16 | QRgb(p[1]) << 8 | p[0];
        }
        case QImage::Format_RGB888: {
            const uchar* p = line_ + 3 * x;
            return QRgb(p[0]) << 16 | QRgb(p[1]) << 8 | p[2];
        }
        case QImage::Format_Indexed8:
            return Colour(line_[x]);
        case QImage::Format_Mono:
            return Colour((line_[x >> 3] >> (7 - (x & 7))) & 1);
        case QImage::Format_MonoLSB:
            return Colour((line_[x >> 3] >> (x & 7)) & 1);
        default:
            return image_.pixel(x, y_) & 0xFFFFFFu;
        }
    }

private:
    QRgb Colour(int index) const {
        const QList<QRgb>& table = image_.colorTable();
        return index < table.size() ? table[index] & 0xFFFFFFu : 0;
    }
    const QImage& image_;
    const uchar* line_;
    int y_;
};

// The first source index of each target index and one past the last (spans cover every
// source index once when shrinking).
std::vector<int> Starts(int from, int length, int to) {
    std::vector<int> starts(std::size_t(to) + 1);
    for (int i = 0; i <= to; ++i)
        starts[std::size_t(i)] = from + int(std::int64_t(i) * length / to);
    return starts;
}

} // namespace

QImage StretchBlit(const QImage& picture, const QRect& from, QSize to, StretchMode mode) {
    const QRect source = from.intersected(picture.rect());
    if (source.isEmpty() || to.isEmpty() || source != from)
        return source.isEmpty() || to.isEmpty() ? QImage() : StretchBlit(picture, source, to, mode);
    QImage out(to, QImage::Format_RGB32);
    const std::vector<int> xs = Starts(source.x(), source.width(), to.width());
    const std::vector<int> ys = Starts(source.y(), source.height(), to.height());
    // The target pixels whose 24-bit source pixel can be read with four bytes inside its row.
    const int lastWide = (int(picture.bytesPerLine()) - 4) / 3;
    const int wideLoads = int(std::upper_bound(xs.begin(), xs.end() - 1, lastWide) - xs.begin());
    const bool combine = mode != StretchMode::ColourOnColour &&
                         (source.width() > to.width() || source.height() > to.height());
    for (int ty = 0; ty < to.height(); ++ty) {
        auto* target = reinterpret_cast<QRgb*>(out.scanLine(ty));
        if (!combine) {
            const int sy = ys[std::size_t(ty)];
            const uchar* line = picture.constScanLine(sy);
            // The common true-colour layouts without a call per pixel.
            if (picture.format() == QImage::Format_BGR888) {
                int tx = 0;
                if constexpr (std::endian::native == std::endian::little) {
                    // Blue, green, red in one four-byte load, while the fourth byte is still
                    // in the row's memory.
                    for (; tx < wideLoads; ++tx) {
                        std::uint32_t v;
                        std::memcpy(&v, line + 3 * xs[std::size_t(tx)], 4);
                        target[tx] = 0xFF000000u | (v & 0xFFFFFFu);
                    }
                }
                for (; tx < to.width(); ++tx) {
                    const uchar* p = line + 3 * xs[std::size_t(tx)];
                    target[tx] = 0xFF000000u | QRgb(p[2]) << 16 | QRgb(p[1]) << 8 | p[0];
                }
            } else if (picture.format() == QImage::Format_RGB32) {
                const auto* px = reinterpret_cast<const QRgb*>(line);
                for (int tx = 0; tx < to.width(); ++tx)
                    target[tx] = 0xFF000000u | px[xs[std::size_t(tx)]];
            } else {
                const Row row(picture, sy);
                for (int tx = 0; tx < to.width(); ++tx)
                    target[tx] = 0xFF000000u | row.At(xs[std::size_t(tx)]);
            }
            continue;
        }
        // Every source pixel the target pixel covers, ANDed (black wins) or ORed (white wins).
        const bool andThem = mode == StretchMode::BlackOnWhite;
        const int y0 = ys[std::size_t(ty)], y1 = std::max(ys[std::size_t(ty) + 1], y0 + 1);
        for (int tx = 0; tx < to.width(); ++tx)
            target[tx] = andThem ? 0xFFFFFFu : 0u;
        for (int y = y0; y < y1; ++y) {
            const Row row(picture, y);
            for (int tx = 0; tx < to.width(); ++tx) {
                const int x0 = xs[std::size_t(tx)];
                const int x1 = std::max(xs[std::size_t(tx) + 1], x0 + 1);
                QRgb v = target[tx];
                for (int x = x0; x < x1; ++x)
                    v = andThem ? (v & row.At(x)) : (v | row.At(x));
                target[tx] = v;
            }
        }
        for (int tx = 0; tx < to.width(); ++tx)
            target[tx] |= 0xFF000000u;
    }
    return out;
}

} // namespace imaging
