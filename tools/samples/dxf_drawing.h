// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

namespace samples {

/// The collection's drawing: a compass rose in DXF (a star outline, rings, arcs between the
/// points, solid arrow heads and the letters N, E, S, W), in several drawing colours.
QByteArray CompassRoseDrawing();

} // namespace samples
