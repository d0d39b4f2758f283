// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

namespace samples {

/// The collection's vector clip art, written record by record.
QByteArray BalloonsMetafile();  // placeable WMF: balloons on strings, a banner and its text
QByteArray SunflowerMetafile(); // placeable WMF: petals, a hatched centre, leaves, a clip
QByteArray TeapotDrawing();     // EMF: a teapot of curves and paths, steam, its label
QByteArray StarburstDrawing();  // EMF: a star, pie-slice rays and a rounded frame

} // namespace samples
