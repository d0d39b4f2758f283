// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/codec.h"

namespace crde {

/// PostScript text ("%!PS") or a DOS EPS binary header.
bool IsEps(const std::uint8_t* data, std::size_t size);

/// The PostScript part of an EPS file (behind a DOS EPS header when there is one) and the size
/// of its picture in pixels at 72 dots per inch: the high-resolution bounding box where there
/// is one (as the renderer crops to it), else the bounding box, each side rounded to the
/// nearest pixel; false when there is no usable box.
struct EpsLayout {
    std::size_t start = 0, length = 0;
    std::int64_t width = 0, height = 0;
    double boxWidth = 0, boxHeight = 0; // the box's sides in points, unrounded
};
bool ParseEps(const std::uint8_t* data, std::size_t size, EpsLayout* layout);

/// Renders the file with Ghostscript at 72 dots per inch into a 24-bit DIB.
std::int16_t ReadEps(const std::uint8_t* data, std::size_t size, HGLOBAL* dib);
/// The same rendered at `times` (1 to kMaxRenderTimes) 72 dots per inch: the picture shown or
/// printed zoomed in, its lines at their own width in the finer pixels.
std::int16_t ReadEpsAt(const std::uint8_t* data, std::size_t size, double times, HGLOBAL* dib);
/// An EPS file drawing the DIB one pixel per point: grey pictures as an 8-bit image, all
/// others as 24-bit colour.
std::int16_t WriteEps(const DibView& dib, Bytes& out);

/// The facts stream information reports, from the header only.
std::int16_t EpsFacts(const Reader& in, StreamFacts* facts);

} // namespace crde
