// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/codec.h"

namespace crde {

/// A DXF drawing: text with a SECTION group near the start.
bool IsDxf(const std::uint8_t* data, std::size_t size);

/// The raster size a drawing is drawn at: its extents scaled so the longer side is
/// kDxfLongSide pixels.
struct DxfInfo {
    std::int64_t width = 0, height = 0;
};
constexpr int kDxfLongSide = 640;
std::int16_t DxfSize(const std::uint8_t* data, std::size_t size, DxfInfo* info);

/// Draws the ENTITIES section (lines, circles, arcs, polylines, solids, text as lines) in
/// the drawing's colour numbers on white into an 8-bit DIB.
std::int16_t ReadDxf(const std::uint8_t* data, std::size_t size, HGLOBAL* dib);
/// The same drawn `times` (1 to kMaxRenderTimes) its natural size, lines still one pixel
/// wide: the drawing shown or printed zoomed in. Pixel (x, y) of the natural raster is the
/// square from (x, y) x times of this one.
std::int16_t ReadDxfAt(const std::uint8_t* data, std::size_t size, double times, HGLOBAL* dib);

/// The facts stream information reports, from the header only.
std::int16_t DxfFacts(const Reader& in, StreamFacts* facts);

} // namespace crde
