// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/image_types.h"

#include <QColor>
#include <QString>

#include <cstdint>

class QFont;
class QIODevice;
class QPaintDevice;
class QPainter;

namespace imaging {

/// The TIFF compression codes: 1, 2, 3, 4, 5 and 32773.
int TiffCompressionCode(TTiffCompression compression);
/// A code's name, the code read as a signed 16-bit value; "UNKNOWN" for others.
QString TiffCompressionName(std::int16_t code);

/// The depth a device shows: 4 up to 4 bits, 8 up to 15 bits, else 24.
int DisplayBitDepth(const QPaintDevice* device);
/// The depth a writer is given for a file extension (compared exactly with "jpg", "tga",
/// "dic", "gif") and a save resolution; `canvas` gives the display depth.
int WriteBitsForFormat(const QString& extension, TSaveResolution resolution,
                       const QPaintDevice* canvas);

/// The open dialog's filter, with the sound and video types the user profile knows.
QString MediaFilter();

/// A TIFF tag's name and whether it is read-only; "Unknown" for numbers not in the table.
QString TiffTagName(int tag, bool* readOnly = nullptr);

/// Whether the stream starts with an enhanced or a placeable metafile; it is left at its
/// start.
bool IsMetafileStream(QIODevice& stream);

/// The stretch modes of a canvas.
enum class StretchMode { ColourOnColour, BlackOnWhite, WhiteOnBlack };
/// The stretch mode for a picture's depth and blit mode.
StretchMode SetBlitStretchMode(int bitsPerPixel, TBlitMode mode, StretchMode* canvasMode);

/// Draws text turned by `angle` degrees at (x, y) (its top left), with an optional shadow
/// 2 pixels down and right; nothing without canvas or font.
void DrawRotatedText(int x, int y, int angle, const QString& text, const QColor& shadowColour,
                     bool transparent, bool shadow, QPainter* canvas, const QFont* font,
                     const QColor& fontColour);

/// The annotation layer's settings file in the Windows folder.
QString AnnotationIniPath();

} // namespace imaging
