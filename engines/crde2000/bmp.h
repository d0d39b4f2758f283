// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/codec.h"
#include "engines/shared/dib_block.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace crde {

/// Whether the bytes start like a BMP file.
bool IsBmp(const std::uint8_t* data, std::size_t size);

/// Decodes a BMP file (Windows and OS/2 headers; 1, 4, 8, 16, 24 and 32 bits; uncompressed,
/// RLE8, RLE4 and bit fields) into a new bottom-up DIB: 1, 4 and 8 bits keep their depth and
/// colour table, 16 and 32 bits become 24. Returns kOk and the unlocked handle, or a failure
/// code and no handle.
std::int16_t ReadBmp(const std::uint8_t* data, std::size_t size, HGLOBAL* dib);

/// The uncompressed DIB of a run-length encoded one (8 or 4 bits).
std::int16_t ExpandRle(const DibView& dib, HGLOBAL* out);

/// An uncompressed BMP file of a 1, 4, 8 or 24-bit DIB.
std::int16_t WriteBmp(const DibView& dib, std::vector<std::uint8_t>& out);

/// The facts stream information reports, from the header only.
std::int16_t BmpFacts(const Reader& in, StreamFacts* facts);

} // namespace crde
