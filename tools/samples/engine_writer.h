// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QImage>

#include "tools/samples/collection.h"

namespace samples {

/// The picture's file written by the engine's own writer for that format (reduced to the
/// depth the kind stores: 1, 4 or 8 bits pick their palette from the picture). A multi-page
/// TIFF holds the picture, its mirror image and its negative. Empty on failure.
QByteArray WriteWithEngine(const QImage& image, SampleFormat kind);

} // namespace samples
