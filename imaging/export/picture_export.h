// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/decoding/decoder.h"
#include "imaging/formats/format_table.h"

#include <QByteArray>
#include <QSize>
#include <QString>

namespace imaging {

/// How a vector picture leaves in an export to a format of the engine.
enum class VectorExport { Svg, Png, Own };

/// What one export writes.
struct ExportOptions {
    /// The engine's writer; null: each picture as stored (its bytes after a field header).
    const PictureFormat* Format = nullptr;
    VectorExport Vectors = VectorExport::Svg;
    /// Fitted into this size in proportion. A bitmap is only ever made smaller; a vector
    /// picture's PNG is drawn to fill it (16 million pixels at the most; without a fit, twice
    /// its natural size, as Copy gives it); an SVG and a picture's own bytes keep their size.
    QSize Fit;
    int JpegQuality = 75;
};

/// What a record's picture is, for its export, learnt from its first bytes.
struct ExportPlanItem {
    enum class Kind {
        Picture, // a bitmap or a drawing the engine reads
        Vector,  // a metafile the program plays
        Message, // a credit message or rich text: skipped
        Nothing, // no picture: skipped
        Failed,  // its format is not known: Error says so
    };
    Kind What = Kind::Nothing;
    /// The extension of the file it becomes, lower case ("png", "svg", "wmf").
    QString Extension;
    QString Error;
};

/// The picture of a record's blob: what follows a record source's field header, if any.
QByteArray StoredPicture(const QByteArray& blob);

/// What exporting this picture (a StoredPicture) with the options gives.
ExportPlanItem PlanExport(const QByteArray& picture, const ExportOptions& options);

/// Whether its export needs the picture decoded; when not, its bytes are written as they are.
bool NeedsDecode(const ExportPlanItem& item, const ExportOptions& options);

/// What became of a file an export wrote.
enum class WriteOutcome {
    Written,
    Existed, // not replacing, and a file of that name was there by then: left as it is
    Failed,  // `error` says why; nothing of an existing file is lost
};

/// Writes a decoded picture into `path` by the options, through a side file that takes the
/// name once it is whole, replacing a file of that name or not. Any thread: engine calls run
/// in a scope of their own.
WriteOutcome WriteExport(const DecodeResult& decoded, const ExportOptions& options,
                         const QString& path, bool replace, QString* error);
/// Writes the bytes into `path` the same way.
WriteOutcome WriteExportBytes(const QByteArray& bytes, const QString& path, bool replace,
                              QString* error);

} // namespace imaging
