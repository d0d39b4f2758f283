// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace imaging {

/// One entry of a logical palette.
struct TPaletteEntry {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    std::uint8_t Flags = 0;
    bool operator==(const TPaletteEntry&) const = default;
};

/// A logical palette (version 0x300 in the classic layout).
struct TPalette {
    std::uint16_t Version = 0x300;
    std::vector<TPaletteEntry> Entries;
};

/// A palette handle: none, or a palette that its holders share.
using HPALETTE = std::shared_ptr<TPalette>;

} // namespace imaging
