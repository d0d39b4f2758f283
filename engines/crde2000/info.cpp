// SPDX-License-Identifier: MIT
#include "engines/crde2000/info.h"

#include "engines/crde2000/formats.h"
#include "engines/shared/codes.h"

namespace crde {

std::int16_t StreamInfo(const std::uint8_t* data, std::size_t size, StreamFacts* f) {
    *f = StreamFacts{};
    if (!data || size == 0)
        return kErrBadArgument;
    const Format* format = DetectFormat(data, size);
    if (!format)
        return kErrNotThisFormat;
    f->format = format->name;
    const Reader in(data, size);
    return format->facts(in, f);
}

} // namespace crde
