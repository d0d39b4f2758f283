// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/metafile/metafile.h"

#include <QByteArray>
#include <QImage>
#include <QStringList>

namespace imaging {

/// A vector picture as other programs take it: an SVG drawn by our player (still vectors),
/// a bitmap of it (transparent where nothing is drawn), and its own bytes under its type.
namespace metafile_export {

/// The picture as an SVG document of its natural size.
QByteArray Svg(const Metafile& picture);
/// The picture drawn `scale` times its natural size, transparent where nothing is drawn.
QImage Image(const Metafile& picture, double scale);
/// A bitmap of the picture for other programs: twice its natural size, at the least.
QImage ExportImage(const Metafile& picture);
/// A bitmap encoded as PNG; empty when it cannot be.
QByteArray PngBytes(const QImage& image);
/// Its own type and the type's aliases ("image/wmf", "image/x-wmf"); empty for no picture.
QStringList OwnMimeTypes(const Metafile& picture);
/// The extension of its own bytes ("WMF" or "EMF").
QString OwnExtension(const Metafile& picture);

} // namespace metafile_export

} // namespace imaging
