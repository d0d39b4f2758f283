// SPDX-License-Identifier: MIT
#pragma once

// Enhanced metafiles drawn through libEMF's drawing interface, an independent writer of the
// format. Kept apart from Qt: libEMF brings its own Windows-style declarations.

#include <string>
#include <vector>

namespace emf_fixtures {

/// A 160 x 80 pixel frame (50 x 25 mm on libEMF's reference device): a red rectangle at
/// (10, 10)-(70, 40), a blue ellipse in (90, 10)-(150, 70), a green triangle
/// (20, 50) (60, 50) (40, 75) and a yellow closed Bézier path around (120, 40).
std::vector<char> KnownShapes(const std::string& file);

/// Text "Vellamore" in black Liberation Sans of 20 pixels at (10, 20) on a white frame.
std::vector<char> Text(const std::string& file);

/// The same 160 x 80 frame drawn through the device context's state: an anisotropic mapping
/// (window 100 x 50 onto viewport 160 x 80) with a red rectangle over logical (0, 0)-(50, 25);
/// then (mapping back to MM_TEXT) a world transform scaling by 2 and moving by (20, 10) with a
/// blue rectangle over (25, 5)-(30, 10); the same rectangle in green after a move of 15 more
/// logical units down is multiplied in on the left; and, the transform reset, a green
/// rectangle over (140, 60)-(150, 70).
std::vector<char> DeviceState(const std::string& file);

/// The 160 x 80 frame on libEMF's reference device (1024 x 768 pixels on 320 x 240 mm: 3.2
/// pixels a millimetre): a red square of 10 mm in MM_LOMETRIC from the origin, and a blue one of
/// a quarter inch in MM_HIENGLISH moved right by half an inch; then, along the bottom, green
/// squares of 5 mm in MM_HIMETRIC from (0, 15 mm) down, of 0.2 inch in MM_LOENGLISH from
/// (20 mm, 15 mm), of 144 points (0.1 inch: 1440 twips an inch) in MM_TWIPS from (40 mm, 15 mm),
/// and in MM_ISOTROPIC (window 10 x 10 on a viewport of 20 x 40 pixels: 2 pixels a unit both
/// ways) a square of 8 units at (140, 56) pixels.
std::vector<char> MetricModes(const std::string& file);

} // namespace emf_fixtures
