// SPDX-License-Identifier: MIT
#include "engines/crde2000/codec.h"

#include <cstring>

namespace crde {

std::size_t Reader::Take(void* out, std::size_t n) {
    const std::size_t got = n < Left() ? n : Left();
    if (got)
        std::memcpy(out, data_ + at_, got);
    at_ += got;
    return got;
}

void Append16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Append32(Bytes& out, std::uint32_t v) {
    Append16(out, v & 0xFFFF);
    Append16(out, v >> 16);
}

} // namespace crde
