// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/metafile/metafile_header.h"

#include <QByteArray>
#include <QRectF>
#include <QSize>
#include <QString>

class QPainter;

namespace imaging {

/// A vector picture: the bytes of a placeable WMF or an EMF and its natural size. It is
/// drawn by our own player, record by record, as vectors with the painter, so it stays sharp
/// at every size and on every device.
class Metafile {
public:
    /// Takes the bytes when their header is a metafile's; false (and empty) otherwise.
    bool Load(const QByteArray& bytes, int pixelsPerInch = 96);
    void Clear();

    bool Empty() const { return bytes_.isEmpty(); }
    MetafileKind Kind() const { return kind_; }
    const QByteArray& Bytes() const { return bytes_; }
    /// The natural size in screen pixels.
    QSize Size() const { return size_; }
    int Width() const { return size_.width(); }
    int Height() const { return size_.height(); }

    /// Draws the picture into `target`; false, with `error` set, when the records are damaged
    /// or over the player's limits (what was drawn before that stays).
    bool Play(QPainter& painter, const QRectF& target, QString* error = nullptr) const;

private:
    QByteArray bytes_;
    MetafileKind kind_ = MetafileKind::None;
    QSize size_;
};

} // namespace imaging
