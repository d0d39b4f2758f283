// SPDX-License-Identifier: MIT
#include "imaging/export/picture_export.h"

#include "imaging/engine/engine_calls.h"
#include "imaging/engine/shared_tables.h"
#include "imaging/metafile/metafile_export.h"
#include "imaging/metafile/metafile_header.h"
#include "platform/core/errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>

namespace imaging {

namespace {

// The side file beside the target: hidden, and named after it so two exports into one folder
// never share one.
QString SidePath(const QString& path) {
    const QFileInfo target(path);
    return target.dir().filePath(u'.' + target.fileName() + QStringLiteral(".part"));
}

// Puts the written side file in the target's place; the side file goes when that fails.
bool Commit(const QString& side, const QString& path, QString* error) {
    if (std::rename(QFile::encodeName(side).constData(), QFile::encodeName(path).constData()) == 0)
        return true;
    QFile::remove(side);
    *error = QStringLiteral("Cannot write ") + path;
    return false;
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

bool WritePicture(const TBitmap& bitmap, const ExportOptions& options, const QString& path,
                  QString* error) {
    const PictureFormat& format = *options.Format;
    WriteOptions write;
    write.Depth = ExportDepth(MainExtension(format));
    write.Quality = options.JpegQuality;
    write.Label = path;
    CallState state;
    const QString side = SidePath(path);
    bool ok = false;
    {
        EngineBinding::CallScope scope(state);
        try {
            ok = WriteBitmapFile(*format.Engine, side, write, Fitted(bitmap, options.Fit), nullptr,
                                 nullptr);
        } catch (const platform::Exception& e) {
            state.Error = {-1, e.Message()};
        } catch (const std::bad_alloc&) {
            state.Error = {-1, QStringLiteral("Not enough memory to write the picture")};
        }
    }
    if (!ok) {
        QFile::remove(side);
        *error =
            state.Error.Text.isEmpty() ? QStringLiteral("Cannot write ") + path : state.Error.Text;
        return false;
    }
    return Commit(side, path, error);
}

QByteArray VectorBytes(const Metafile& picture, const ExportOptions& options) {
    switch (options.Vectors) {
    case VectorExport::Svg:
        return metafile_export::Svg(picture);
    case VectorExport::Png: {
        if (options.Fit.isEmpty())
            return metafile_export::PngBytes(metafile_export::ExportImage(picture));
        const double scale = std::min(double(options.Fit.width()) / std::max(1, picture.Width()),
                                      double(options.Fit.height()) / std::max(1, picture.Height()));
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

bool WriteExport(const DecodeResult& decoded, const ExportOptions& options, const QString& path,
                 QString* error) {
    switch (decoded.What) {
    case DecodeResult::Kind::Picture:
        if (!options.Format || !options.Format->Engine || !options.Format->EngineWrites) {
            *error = QStringLiteral("No format to write the picture in");
            return false;
        }
        return WritePicture(decoded.Bitmap, options, path, error);
    case DecodeResult::Kind::Drawing: {
        const QByteArray bytes = VectorBytes(decoded.Drawing, options);
        if (bytes.isEmpty()) {
            *error = QStringLiteral("Not enough memory to draw the picture");
            return false;
        }
        return WriteExportBytes(bytes, path, error);
    }
    case DecodeResult::Kind::Failed:
        *error = decoded.Error.Text.isEmpty() ? QStringLiteral("The picture cannot be read")
                                              : decoded.Error.Text;
        return false;
    default:
        *error = QStringLiteral("There is no picture to write");
        return false;
    }
}

bool WriteExportBytes(const QByteArray& bytes, const QString& path, QString* error) {
    const QString side = SidePath(path);
    QFile file(side);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        file.close();
        QFile::remove(side);
        *error = QStringLiteral("Cannot write ") + path;
        return false;
    }
    file.close();
    return Commit(side, path, error);
}

} // namespace imaging
