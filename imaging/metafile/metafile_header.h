// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QSize>

namespace imaging {

/// What the first bytes of a blob or file say of a metafile.
enum class MetafileKind { None, Enhanced, Placeable };

/// The enhanced test (more than 100 bytes, record type 1, " EMF" at offset 40) and the
/// placeable test (key 0x9AC6CDD7 and the checksum of its first ten 16-bit words).
MetafileKind DetectMetafile(const QByteArray& bytes);

/// The metafile's natural size in screen pixels at `pixelsPerInch`: the placeable header's
/// box in its units per inch, or the enhanced header's frame in hundredths of a millimetre.
/// An empty size when the header does not say.
QSize MetafileSize(const QByteArray& bytes, int pixelsPerInch = 96);

} // namespace imaging
