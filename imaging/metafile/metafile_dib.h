// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>

namespace imaging {

/// The pixels of a device-independent bitmap inside a metafile record: the header at `header`
/// (`headerBytes` of it available), the bits at `bits` (`bitsBytes` available). Uncompressed
/// 1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up or top-down; a null image for anything
/// damaged, compressed, or over the player's pixel limit. `colourTable` says whether the
/// header is followed by RGB quads (false for palette indices, which draw as greys).
QImage MetafileDibImage(const std::uint8_t* header, std::size_t headerBytes,
                        const std::uint8_t* bits, std::size_t bitsBytes, bool colourTable = true);

/// A packed DIB: header, colour table and bits in one run of bytes.
QImage PackedDibImage(const std::uint8_t* data, std::size_t bytes);

} // namespace imaging
