// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/decoding/decoder.h"

#include <QMimeData>

namespace controls {

/// A record's picture dragged into another program: a file of it in a private folder (under
/// the record's file name, in its own format) as `text/uri-list`, a PNG of it, and for a
/// vector picture its SVG. The file is written when the drag starts, since a drop target
/// reads it after the drop; the PNG and the SVG are made when a target asks for them.
class PictureMimeData : public QMimeData {
public:
    /// The drag data of a record; null when it holds no picture to drag (a credit message,
    /// rich text, nothing) or its file cannot be written.
    static PictureMimeData* Make(const QString& recordFileName, const QByteArray& blob);

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    PictureMimeData() = default;
    const imaging::DecodeResult& Decoded() const;

    QByteArray picture_;
    bool vector_ = false;
    mutable bool decoded_ = false;
    mutable imaging::DecodeResult result_;
};

/// The private folder the dragged files go into, made on first use and removed with all it
/// holds when the program ends.
QString DragFolder();

} // namespace controls
