// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/codec.h"

namespace crde {

/// Photo CD resolutions: Base/16 (192 × 128), Base/4 (384 × 256), Base (768 × 512).
enum class PcdMode { Base16 = 0, Base4 = 1, Base = 2 };

bool IsPcd(const std::uint8_t* data, std::size_t size);
/// The bytes a pack must hold to read the base image of that mode (0 for another mode).
std::size_t PcdBytesFor(int mode);
/// One of the three base images, converted from Photo YCC to 24-bit RGB.
std::int16_t ReadPcd(const std::uint8_t* data, std::size_t size, int mode, HGLOBAL* dib);
/// A Photo CD image pack holding the three base images of the DIB, each scaled to its size
/// (the picture is stretched to 3:2).
std::int16_t WritePcd(const DibView& dib, Bytes& out);

/// The facts stream information reports, from the header only.
std::int16_t PcdFacts(const Reader& in, StreamFacts* facts);

} // namespace crde
