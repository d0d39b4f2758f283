// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/codec.h"

#include <string>

namespace crde {

/// What the stream-information call reports about a picture's bytes.
struct StreamFacts {
    std::string format; // "BMP", "PNG", "GIF", "PCX", "TGA", "EPS", "JPEG", "PCD", "DXF", "TIFF"
    std::string compression; // e.g. "NONE", "RLE8", "LZW", "DEFLATE", "BASELINE"
    std::int64_t width = 0, height = 0;
    int bits = 0;
    int extraA = 0; // PNG/GIF: interlaced; JPEG: components; TIFF: pages
    int extraB = 0; // PNG: colour type; TIFF: compression code
};

/// Recognises the format by its leading bytes and reads the facts from its header only.
std::int16_t StreamInfo(const std::uint8_t* data, std::size_t size, StreamFacts* facts);

/// A TIFF compression code's name for stream information.
std::string TiffCompressionText(int code);

} // namespace crde
