// SPDX-License-Identifier: MIT
#include "controls/imagetoolbar/file_preview.h"

#include "imaging/decoding/blob_detection.h"
#include "imaging/decoding/picture_decoding.h"
#include "imaging/metafile/metafile.h"

#include <QFile>
#include <QPainter>

#include <algorithm>

namespace controls {

namespace {

// Larger files are not read for a preview: the dialog must stay quick.
constexpr qint64 kPreviewFileLimit = qint64(256) << 20;

QImage Fitted(const QImage& picture, QSize box) {
    if (picture.isNull())
        return {};
    return picture.width() <= box.width() && picture.height() <= box.height()
               ? picture
               : picture.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace

FilePreview PreviewFile(const QString& file, int page, QSize box) {
    FilePreview preview;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly) || f.size() == 0 || f.size() > kPreviewFileLimit)
        return preview;
    const QByteArray bytes = f.readAll();
    imaging::BlobInfo info;
    const QString loadName = imaging::DetectBlob(bytes, std::max(0, page), info).loadName;
    if (loadName == QLatin1String("TIF"))
        preview.pages = std::max<int>(1, info.TiffPageCount);
    if (imaging::DecodesToBitmap(loadName)) {
        imaging::TBitmap bitmap;
        if (imaging::DecodePictureBlob(loadName, bytes, 24, false,
                                       std::clamp(page, 0, preview.pages - 1), bitmap))
            preview.picture = Fitted(bitmap.Handle(), box);
    } else if (loadName == QLatin1String("WMF")) {
        imaging::Metafile metafile;
        if (metafile.Load(bytes) && !metafile.Size().isEmpty()) {
            const QSize size = metafile.Size().scaled(box, Qt::KeepAspectRatio);
            QImage drawn(size, QImage::Format_RGB32);
            drawn.fill(Qt::white);
            QPainter painter(&drawn);
            metafile.Play(painter, QRectF(QPointF(0, 0), size));
            painter.end();
            preview.picture = drawn;
        }
    }
    return preview;
}

} // namespace controls
