// SPDX-License-Identifier: MIT
#include "controls/dragout/picture_drag.h"

#include "imaging/export/export_naming.h"
#include "imaging/export/picture_export.h"
#include "imaging/formats/format_table.h"
#include "imaging/metafile/metafile_export.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

namespace controls {

namespace {

const QString kPng = QStringLiteral("image/png");
const QString kSvg = QStringLiteral("image/svg+xml");

// The file's name: the record's own when its extension names the picture's format, else
// the record's stem with the format's extension.
QString DragFileName(const QString& recordFileName, const imaging::ExportPlanItem& item) {
    const imaging::PictureFormat* named = imaging::FormatOfFile(recordFileName.trimmed());
    const imaging::PictureFormat* actual =
        imaging::FormatOfFile(QStringLiteral("x.") + item.Extension);
    const QString stem = imaging::ExportNaming::Stem(recordFileName, 1);
    if (named && named == actual)
        return stem + u'.' + QFileInfo(recordFileName.trimmed()).suffix();
    return stem + u'.' + item.Extension.toUpper();
}

} // namespace

QString DragFolder() {
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/vellamore-drag-XXXXXX"));
    return folder.isValid() ? folder.path() : QString();
}

PictureMimeData* PictureMimeData::Make(const QString& recordFileName, const QByteArray& blob) {
    const QByteArray picture = imaging::StoredPicture(blob);
    const imaging::ExportPlanItem item = imaging::PlanExport(picture, {});
    using Kind = imaging::ExportPlanItem::Kind;
    if (item.What != Kind::Picture && item.What != Kind::Vector)
        return nullptr;
    // Each drag its own folder: two records of one name never meet, and a target still
    // reading an earlier drag's file keeps it.
    static int drags = 0;
    const QString root = DragFolder();
    if (root.isEmpty())
        return nullptr;
    const QString folder = QDir(root).filePath(QString::number(++drags));
    QString error;
    const QString path = QDir(folder).filePath(DragFileName(recordFileName, item));
    if (!QDir().mkpath(folder) ||
        imaging::WriteExportBytes(picture, path, true, &error) != imaging::WriteOutcome::Written)
        return nullptr;
    auto* data = new PictureMimeData;
    data->picture_ = picture;
    data->vector_ = item.What == Kind::Vector;
    data->setUrls({QUrl::fromLocalFile(path)});
    return data;
}

QStringList PictureMimeData::formats() const {
    QStringList out = QMimeData::formats();
    out << kPng;
    if (vector_)
        out << kSvg;
    return out;
}

bool PictureMimeData::hasFormat(const QString& mimeType) const {
    return mimeType == kPng || (vector_ && mimeType == kSvg) || QMimeData::hasFormat(mimeType);
}

const imaging::DecodeResult& PictureMimeData::Decoded() const {
    if (!decoded_) {
        imaging::DecodeRequest request;
        request.Blob = picture_;
        result_ = imaging::Decoder::DecodeNow(request);
        decoded_ = true;
    }
    return result_;
}

QVariant PictureMimeData::retrieveData(const QString& mimeType, QMetaType type) const {
    namespace out = imaging::metafile_export;
    if (mimeType == kPng) {
        const imaging::DecodeResult& r = Decoded();
        if (r.What == imaging::DecodeResult::Kind::Drawing)
            return out::PngBytes(out::ExportImage(r.Drawing));
        if (r.What == imaging::DecodeResult::Kind::Picture)
            return out::PngBytes(r.Bitmap.Handle());
        return {};
    }
    if (vector_ && mimeType == kSvg) {
        const imaging::DecodeResult& r = Decoded();
        return r.What == imaging::DecodeResult::Kind::Drawing ? out::Svg(r.Drawing) : QByteArray();
    }
    return QMimeData::retrieveData(mimeType, type);
}

} // namespace controls
