// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QImage>

namespace samples {

/// Encodes a picture as an uncompressed BMP file of 1, 4, 8 or 24 bits a pixel.
/// For 1, 4 and 8 bits the picture is first reduced to at most 2, 16 or 256 colours.
QByteArray EncodeBmp(const QImage& image, int bitsPerPixel);

/// The sixteen colours of the classic 4-bit palette.
QList<QRgb> SixteenColours();

} // namespace samples
