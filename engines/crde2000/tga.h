// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/codec.h"

namespace crde {

/// TGA has no magic bytes; this checks that the header is one a TGA file can have.
bool IsTga(const std::uint8_t* data, std::size_t size);
/// Colour-mapped, true-colour (15/16/24/32 bits) and grey files, plain or run-length, any
/// origin; mapped and grey files become 8 bits, the others 24.
std::int16_t ReadTga(const std::uint8_t* data, std::size_t size, HGLOBAL* dib);
/// 8-bit DIBs as colour-mapped files, 24-bit ones as true colour; run-length when asked.
std::int16_t WriteTga(const DibView& dib, bool rle, Bytes& out);

/// The facts stream information reports, from the header only.
std::int16_t TgaFacts(const Reader& in, StreamFacts* facts);

} // namespace crde
