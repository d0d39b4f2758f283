// SPDX-License-Identifier: MIT
#include "imaging/export/picture_export.h"

#include "imaging/engine/engine_calls.h"
#include "imaging/engine/shared_tables.h"
#include "imaging/metafile/metafile_export.h"
#include "imaging/metafile/metafile_header.h"
#include "platform/core/errors.h"
#include "platform/core/side_file.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace imaging {

namespace {

// The side file, written, takes the target's name.
WriteOutcome Commit(platform::SideFile& side, const QString& path, bool replace, QString* error) {
    if (replace) {
        if (side.Commit())
            return WriteOutcome::Written;
    } else {
        const platform::SideFile::Outcome done = side.CommitNew();
        if (done == platform::SideFile::Outcome::Done)
            return WriteOutcome::Written;
        if (done == platform::SideFile::Outcome::Exists)
            return WriteOutcome::Existed;
    }
    *error = QStringLiteral("Cannot write ") + path;
    return WriteOutcome::Failed;
}

WriteOutcome NoSideFile(const QString& path, QString* error) {
    *error = QStringLiteral("Cannot create a file in the folder of ") + path;
    return WriteOutcome::Failed;
}

// The depth a writer is given: the true-colour rule for the formats that have one of their
// own, else the picture's own depth (a one-bit or palette picture stays as small as it is).
int ExportDepth(const QString& extension) {
    static const QStringList own{QStringLiteral("jpg"), QStringLiteral("tga"),
                                 QStringLiteral("gif"), QStringLiteral("dic")};
    return own.contains(extension) ? WriteBitsForFormat(extension, sColorTrue, nullptr) : 0;
}

// The bitmap made no larger than the fit, in proportion.
TBitmap Fitted(const TBitmap& bitmap, QSize fit) {
    const QImage& image = bitmap.Handle();
    if (fit.isEmpty() || (image.width() <= fit.width() && image.height() <= fit.height()))
        return bitmap;
    const QSize size = image.size().scaled(fit, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    const QImage full = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                      : QImage::Format_RGB32);
    TBitmap out;
    out.SetHandle(full.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return out;
}

WriteOutcome WritePicture(const TBitmap& bitmap, const ExportOptions& options, const QString& path,
                          bool replace, QString* error) {
    const PictureFormat& format = *options.Format;
    WriteOptions write;
    write.Depth = ExportDepth(MainExtension(format));
    write.Quality = options.JpegQuality;
    write.Label = path;
    platform::SideFile side(path);
    if (side.Path().isEmpty())
        return NoSideFile(path, error);
    CallState state;
    bool ok = false;
    {
        EngineBinding::CallScope scope(state);
        try {
            ok = WriteBitmapFile(*format.Engine, side.Path(), write, Fitted(bitmap, options.Fit),
                                 nullptr, nullptr);
        } catch (const platform::Exception& e) {
            state.Error = {-1, e.Message()};
        } catch (const std::bad_alloc&) {
            state.Error = {-1, QStringLiteral("Not enough memory to write the picture")};
        }
    }
    if (!ok) {
        *error =
            state.Error.Text.isEmpty() ? QStringLiteral("Cannot write ") + path : state.Error.Text;
        return WriteOutcome::Failed;
    }
    return Commit(side, path, replace, error);
}

QByteArray VectorBytes(const Metafile& picture, const ExportOptions& options) {
    switch (options.Vectors) {
    case VectorExport::Svg:
        return metafile_export::Svg(picture);
    case VectorExport::Png: {
        if (options.Fit.isEmpty())
            return metafile_export::PngBytes(metafile_export::ExportImage(picture));
        const double width = std::max(1, picture.Width()), height = std::max(1, picture.Height());
        const double scale = std::min({options.Fit.width() / width, options.Fit.height() / height,
                                       std::sqrt(16e6 / (width * height))});
        return metafile_export::PngBytes(metafile_export::Image(picture, scale));
    }
    case VectorExport::Own:
        break;
    }
    return picture.Bytes();
}

} // namespace

QByteArray StoredPicture(const QByteArray& blob) {
    const int offset = GraphicHeaderOffset(blob);
    return offset > 0 ? blob.mid(offset) : blob;
}

ExportPlanItem PlanExport(const QByteArray& picture, const ExportOptions& options) {
    ExportPlanItem item;
    if (picture.isEmpty())
        return item;
    // Converted into a format, every bitmap gets that format's extension: the first bytes say
    // all the plan needs (the engine's stream information, which names the bitmap's own
    // format, is left to the decode, whose failure is reported then).
    if (options.Format) {
        const QString early = LoadNameByFirstBytes(picture);
        if (early.isEmpty() || early == QLatin1String("DXF")) {
            item.What = ExportPlanItem::Kind::Picture;
            item.Extension = MainExtension(*options.Format);
            return item;
        }
    }
    BlobInfo info;
    CallState state;
    Detection found;
    {
        EngineBinding::CallScope scope(state);
        try {
            found = DetectBlob(picture, 0, info);
        } catch (const platform::Exception& e) {
            state.Error = {-1, e.Message()};
            found.engineError = true;
        }
    }
    const PictureFormat* stored = FormatOfLoadName(found.loadName);
    if (!stored) {
        item.What = ExportPlanItem::Kind::Failed;
        item.Error = state.Error.Text.isEmpty() ? QStringLiteral("The picture's format is unknown")
                                                : state.Error.Text;
        return item;
    }
    switch (stored->Kind) {
    case PictureKind::Credit:
    case PictureKind::Note:
        item.What = ExportPlanItem::Kind::Message;
        return item;
    case PictureKind::Metafile: {
        item.What = ExportPlanItem::Kind::Vector;
        const VectorExport as = options.Format ? options.Vectors : VectorExport::Own;
        // Detection names both kinds of metafile alike; their first bytes tell them apart.
        const QString own = DetectMetafile(picture) == MetafileKind::Enhanced
                                ? QStringLiteral("emf")
                                : QStringLiteral("wmf");
        item.Extension = as == VectorExport::Svg   ? QStringLiteral("svg")
                         : as == VectorExport::Png ? QStringLiteral("png")
                                                   : own;
        return item;
    }
    case PictureKind::Picture:
    case PictureKind::Drawing:
        item.What = ExportPlanItem::Kind::Picture;
        item.Extension = MainExtension(options.Format ? *options.Format : *stored);
        return item;
    }
    return item;
}

bool NeedsDecode(const ExportPlanItem& item, const ExportOptions& options) {
    if (!options.Format)
        return false;
    return item.What == ExportPlanItem::Kind::Picture ||
           (item.What == ExportPlanItem::Kind::Vector && options.Vectors != VectorExport::Own);
}

WriteOutcome WriteExport(const DecodeResult& decoded, const ExportOptions& options,
                         const QString& path, bool replace, QString* error) {
    switch (decoded.What) {
    case DecodeResult::Kind::Picture:
        if (!options.Format || !options.Format->Engine || !options.Format->EngineWrites) {
            *error = QStringLiteral("No format to write the picture in");
            return WriteOutcome::Failed;
        }
        return WritePicture(decoded.Bitmap, options, path, replace, error);
    case DecodeResult::Kind::Drawing: {
        const QByteArray bytes = VectorBytes(decoded.Drawing, options);
        if (bytes.isEmpty()) {
            *error = QStringLiteral("Not enough memory to draw the picture");
            return WriteOutcome::Failed;
        }
        return WriteExportBytes(bytes, path, replace, error);
    }
    case DecodeResult::Kind::Failed:
        *error = decoded.Error.Text.isEmpty() ? QStringLiteral("The picture cannot be read")
                                              : decoded.Error.Text;
        return WriteOutcome::Failed;
    default:
        *error = QStringLiteral("There is no picture to write");
        return WriteOutcome::Failed;
    }
}

WriteOutcome WriteExportBytes(const QByteArray& bytes, const QString& path, bool replace,
                              QString* error) {
    platform::SideFile side(path);
    if (side.Path().isEmpty())
        return NoSideFile(path, error);
    QFile file(side.Path());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        *error = QStringLiteral("Cannot write ") + path;
        return WriteOutcome::Failed;
    }
    file.close();
    return Commit(side, path, replace, error);
}

} // namespace imaging
