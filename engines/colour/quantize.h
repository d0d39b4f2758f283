// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace colour {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

/// Rows of 24-bit pixels in blue, green, red order.
struct BgrView {
    const std::uint8_t* base = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;
    const std::uint8_t* Row(int y) const { return base + stride * y; }
};

/// The picture's own colours when it has at most `most` of them (sorted), else empty.
std::vector<Rgb> ExactColours(const BgrView& image, std::size_t most);

/// A palette of at most `count` colours for the picture by median cut over a 15-bit histogram;
/// each colour is the mean of the pixels of its box.
std::vector<Rgb> MedianCut(const BgrView& image, std::size_t count);

/// Nearest palette entry of a colour, memoised per 6-bit cell so that the work grows with the
/// colours met rather than with the pixels.
class NearestIndex {
public:
    explicit NearestIndex(std::vector<Rgb> palette);
    std::uint8_t operator()(int r, int g, int b);
    const std::vector<Rgb>& Palette() const { return palette_; }

private:
    std::uint8_t Search(int r, int g, int b) const;
    std::vector<Rgb> palette_;
    std::vector<std::uint16_t> cells_; // 0xFFFF: not worked out yet
};

} // namespace colour
