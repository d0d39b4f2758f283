// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/codec.h"

namespace crde {

bool IsPcx(const std::uint8_t* data, std::size_t size);
/// Run-length PCX with 1 bit, 4 planes of 1 bit, 8 bits (palette at the end) or 3 planes of
/// 8 bits, into a 1, 4, 8 or 24-bit DIB.
std::int16_t ReadPcx(const std::uint8_t* data, std::size_t size, HGLOBAL* dib);
/// The same kinds, chosen by the DIB's depth.
std::int16_t WritePcx(const DibView& dib, Bytes& out);

/// The facts stream information reports, from the header only.
std::int16_t PcxFacts(const Reader& in, StreamFacts* facts);

} // namespace crde
