// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/codec.h"

#include <span>

namespace crde {

/// One picture format of the engine: how its bytes are recognised, what its header tells,
/// how it is decoded and how the fuzz build exercises it. Built from the format list.
struct Format {
    const char* name;     // the stream information's format name
    const char* fuzzName; // the fuzz target's name
    std::size_t fuzzMaxLength;
    bool fuzzDecodes; // false: the fuzz target reads the header facts only
    bool (*is)(const std::uint8_t* data, std::size_t size);
    std::int16_t (*facts)(const Reader& in, StreamFacts* facts);
    /// Decodes into a new DIB; `option` is the TIFF page or the Photo CD mode.
    std::int16_t (*read)(const std::uint8_t* data, std::size_t size, int option, HGLOBAL* dib);
};

/// Every format, in the order their leading bytes are tested.
std::span<const Format> Formats();

/// The first format whose leading bytes match, or null.
const Format* DetectFormat(const std::uint8_t* data, std::size_t size);

/// The format of that stream-information name ("BMP", "TIFF" ...); it must exist.
const Format& FormatNamed(const char* name);

/// The format a fuzz target exercises, by the target's name, or null.
const Format* FormatForFuzzTarget(const char* name);

} // namespace crde
