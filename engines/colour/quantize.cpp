// SPDX-License-Identifier: MIT
#include "engines/colour/quantize.h"

#include <algorithm>
#include <array>
#include <unordered_set>

namespace colour {

std::vector<Rgb> ExactColours(const BgrView& image, std::size_t most) {
    std::unordered_set<std::uint32_t> seen;
    seen.reserve(most * 2 + 1);
    std::uint32_t last = 0xFFFFFFFFu;
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* p = image.Row(y);
        for (int x = 0; x < image.width; ++x, p += 3) {
            const std::uint32_t c = std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
            if (c == last)
                continue;
            last = c;
            if (seen.insert(c).second && seen.size() > most)
                return {};
        }
    }
    std::vector<std::uint32_t> sorted(seen.begin(), seen.end());
    std::sort(sorted.begin(), sorted.end());
    std::vector<Rgb> out;
    for (std::uint32_t c : sorted)
        out.push_back({std::uint8_t(c >> 16), std::uint8_t(c >> 8), std::uint8_t(c)});
    return out;
}

namespace {

struct Cell {
    std::uint32_t count = 0;
    std::uint64_t r = 0, g = 0, b = 0; // sums of the full 8-bit values
};

struct Box {
    std::array<int, 3> lo{}, hi{}; // inclusive 5-bit bounds per channel (r, g, b)
    std::uint64_t count = 0;
};

int CellIndex(int r, int g, int b) {
    return (r << 10) | (g << 5) | b;
}

// Shrinks a box to the cells it really holds and counts its pixels.
void Fit(Box& box, const std::vector<Cell>& cells) {
    std::array<int, 3> lo{31, 31, 31}, hi{0, 0, 0};
    box.count = 0;
    for (int r = box.lo[0]; r <= box.hi[0]; ++r)
        for (int g = box.lo[1]; g <= box.hi[1]; ++g)
            for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
                const Cell& c = cells[CellIndex(r, g, b)];
                if (!c.count)
                    continue;
                box.count += c.count;
                const int v[3] = {r, g, b};
                for (int i = 0; i < 3; ++i) {
                    lo[i] = std::min(lo[i], v[i]);
                    hi[i] = std::max(hi[i], v[i]);
                }
            }
    if (box.count) {
        box.lo = lo;
        box.hi = hi;
    }
}

} // namespace

std::vector<Rgb> MedianCut(const BgrView& image, std::size_t count) {
    std::vector<Cell> cells(32768);
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* p = image.Row(y);
        for (int x = 0; x < image.width; ++x, p += 3) {
            Cell& c = cells[CellIndex(p[2] >> 3, p[1] >> 3, p[0] >> 3)];
            ++c.count;
            c.r += p[2];
            c.g += p[1];
            c.b += p[0];
        }
    }
    std::vector<Box> boxes(1);
    boxes[0].hi = {31, 31, 31};
    Fit(boxes[0], cells);
    if (!boxes[0].count)
        return {};
    while (boxes.size() < count) {
        // Split the box with the most pixels times its longest side.
        int pick = -1, axis = 0;
        std::uint64_t best = 0;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const Box& b = boxes[i];
            for (int a = 0; a < 3; ++a) {
                const int side = b.hi[a] - b.lo[a];
                const std::uint64_t score = b.count * std::uint64_t(side);
                if (side > 0 && score > best) {
                    best = score;
                    pick = static_cast<int>(i);
                    axis = a;
                }
            }
        }
        if (pick < 0)
            break;
        Box& box = boxes[pick];
        // Pixel counts per slice along the axis; cut at the median.
        std::array<std::uint64_t, 32> slice{};
        for (int r = box.lo[0]; r <= box.hi[0]; ++r)
            for (int g = box.lo[1]; g <= box.hi[1]; ++g)
                for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
                    const int v[3] = {r, g, b};
                    slice[v[axis]] += cells[CellIndex(r, g, b)].count;
                }
        std::uint64_t run = 0;
        int cut = box.lo[axis];
        for (int v = box.lo[axis]; v < box.hi[axis]; ++v) {
            run += slice[v];
            cut = v;
            if (run * 2 >= box.count)
                break;
        }
        Box upper = box;
        upper.lo[axis] = cut + 1;
        box.hi[axis] = cut;
        Fit(box, cells);
        Fit(upper, cells);
        boxes.push_back(upper);
    }
    std::vector<Rgb> palette;
    for (const Box& box : boxes) {
        std::uint64_t n = 0, r = 0, g = 0, b = 0;
        for (int cr = box.lo[0]; cr <= box.hi[0]; ++cr)
            for (int cg = box.lo[1]; cg <= box.hi[1]; ++cg)
                for (int cb = box.lo[2]; cb <= box.hi[2]; ++cb) {
                    const Cell& c = cells[CellIndex(cr, cg, cb)];
                    n += c.count;
                    r += c.r;
                    g += c.g;
                    b += c.b;
                }
        if (n)
            palette.push_back({std::uint8_t((r + n / 2) / n), std::uint8_t((g + n / 2) / n),
                               std::uint8_t((b + n / 2) / n)});
    }
    return palette;
}

NearestIndex::NearestIndex(std::vector<Rgb> palette)
    : palette_(std::move(palette))
    , cells_(std::size_t(1) << 18, 0xFFFF) {}

std::uint8_t NearestIndex::Search(int r, int g, int b) const {
    int best = 0;
    int bestDistance = 1 << 30;
    for (std::size_t i = 0; i < palette_.size(); ++i) {
        const int dr = r - palette_[i].r, dg = g - palette_[i].g, db = b - palette_[i].b;
        // Weighted towards green, as the eye is.
        const int d = 2 * dr * dr + 4 * dg * dg + 3 * db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return static_cast<std::uint8_t>(best);
}

std::uint8_t NearestIndex::operator()(int r, int g, int b) {
    const std::size_t cell = std::size_t(r >> 2) << 12 | std::size_t(g >> 2) << 6 | (b >> 2);
    std::uint16_t& slot = cells_[cell];
    if (slot == 0xFFFF)
        slot = Search((r & ~3) + 2, (g & ~3) + 2, (b & ~3) + 2);
    return static_cast<std::uint8_t>(slot);
}

} // namespace colour
