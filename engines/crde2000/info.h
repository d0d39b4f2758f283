// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/codec.h"

namespace crde {

/// Recognises the format by its leading bytes (in the order of the format table) and reads
/// the facts from its header only.
std::int16_t StreamInfo(const std::uint8_t* data, std::size_t size, StreamFacts* facts);

} // namespace crde
