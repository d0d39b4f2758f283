// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QRectF>
#include <QString>

class QPainter;

namespace imaging {

/// What a player takes on before it refuses a metafile: hostile files must not hang the view.
struct MetafileLimits {
    static constexpr int Records = 200000;     // records played
    static constexpr int Points = 4000000;     // points of all shapes together
    static constexpr int Objects = 65535;      // entries of the object table
    static constexpr int DibPixels = 64 << 20; // pixels of one bitmap record
};

/// Plays a placeable Windows metafile into `target`: its box fills the target. False with
/// `error` set for damaged or oversized records; what was drawn before them stays.
bool PlayWindowsMetafile(const QByteArray& bytes, QPainter& painter, const QRectF& target,
                         QString* error);
/// Plays an enhanced metafile into `target`: its frame fills the target.
bool PlayEnhancedMetafile(const QByteArray& bytes, QPainter& painter, const QRectF& target,
                          QString* error);

} // namespace imaging
