// SPDX-License-Identifier: MIT
// Hostile bytes from the thumbnails' disk cache: read as a tile or refused, never a crash.
#include "controls/overview/tile_cache.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const auto tile = controls::Tile::FromStored(
        QByteArray(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size)));
    if (tile && !tile->Image.isNull())
        (void)tile->Image.pixel(tile->Image.width() - 1, tile->Image.height() - 1);
    return 0;
}
