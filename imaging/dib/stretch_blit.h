// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/engine/shared_tables.h"

#include <QImage>
#include <QRect>
#include <QSize>

namespace imaging {

/// A stretched copy of the `from` rectangle of a picture to `to` pixels, the classic way:
/// colour-on-colour samples one source pixel per target pixel (lines that fall between are
/// dropped); black-on-white ANDs every source pixel a shrunk target pixel covers, so thin
/// black lines survive; white-on-black ORs them, so thin white lines survive. Only the visible
/// source rectangle is read: colour-on-colour costs the target's pixels, the combining modes
/// the source rectangle's. The result is 32-bit RGB; an empty rectangle gives an empty image.
QImage StretchBlit(const QImage& picture, const QRect& from, QSize to, StretchMode mode);

} // namespace imaging
