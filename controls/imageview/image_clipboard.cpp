// SPDX-License-Identifier: MIT
// The image view's clipboard: the picture goes out as image data any program can paste (PNG,
// BMP and the toolkit's image type, encoded when asked) and comes in from any picture on the
// clipboard at the read depth.
#include "controls/imageview/db_multi_image.h"

#include "imaging/error_invalid.h"
#include "imaging/metafile/metafile_export.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace controls {

namespace {

// A picture on the clipboard as other programs take it: PNG, BMP and the toolkit's own image
// type, each encoded only when a program asks for it.
class PictureMimeData : public QMimeData {
public:
    explicit PictureMimeData(QImage picture)
        : picture_(std::move(picture)) {}

    QStringList formats() const override {
        return {QStringLiteral("image/png"), QStringLiteral("image/bmp"),
                QStringLiteral("application/x-qt-image")};
    }
    bool hasFormat(const QString& mime) const override { return formats().contains(mime); }

protected:
    QVariant retrieveData(const QString& mime, QMetaType type) const override {
        if (mime == QLatin1String("application/x-qt-image") || type.id() == QMetaType::QImage)
            return picture_;
        const char* format = mime == QLatin1String("image/png")   ? "PNG"
                             : mime == QLatin1String("image/bmp") ? "BMP"
                                                                  : nullptr;
        if (!format)
            return {};
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture_.save(&buffer, format);
        return bytes;
    }

private:
    QImage picture_;
};

// A vector picture on the clipboard: an SVG of it (still vectors), a bitmap of it twice its
// size (transparent where nothing is drawn) and its own bytes under its type. Each is made only
// when a program asks for it, and once.
class VectorMimeData : public QMimeData {
public:
    explicit VectorMimeData(imaging::Metafile picture)
        : picture_(std::move(picture)) {}

    QStringList formats() const override {
        QStringList all{QStringLiteral("image/svg+xml"), QStringLiteral("image/png")};
        all << imaging::metafile_export::OwnMimeTypes(picture_);
        all << QStringLiteral("application/x-qt-image");
        return all;
    }
    bool hasFormat(const QString& mime) const override { return formats().contains(mime); }

protected:
    QVariant retrieveData(const QString& mime, QMetaType type) const override {
        if (mime == QLatin1String("image/svg+xml")) {
            if (svg_.isEmpty())
                svg_ = imaging::metafile_export::Svg(picture_);
            return svg_;
        }
        if (imaging::metafile_export::OwnMimeTypes(picture_).contains(mime))
            return picture_.Bytes();
        const bool image =
            mime == QLatin1String("application/x-qt-image") || type.id() == QMetaType::QImage;
        if (!image && mime != QLatin1String("image/png"))
            return {};
        if (image_.isNull())
            image_ = imaging::metafile_export::ExportImage(picture_);
        if (image)
            return image_;
        if (png_.isEmpty())
            png_ = imaging::metafile_export::PngBytes(image_);
        return png_;
    }

private:
    imaging::Metafile picture_;
    mutable QByteArray svg_, png_;
    mutable QImage image_;
};

} // namespace

void TPDBMultiImage::CopyToClipboard() {
    // A vector picture goes out as vectors, a bitmap of it and its own bytes.
    if (Picture.HasMetafile() && !Picture.Metafile().Empty()) {
        QGuiApplication::clipboard()->setMimeData(new VectorMimeData(Picture.Metafile()));
        return;
    }
    // As a device-independent bitmap would be made of it: nothing to copy is an error.
    if (!Picture.HasBitmapHandle())
        throw imaging::ErrorInvalid(QStringLiteral("Input image is empty"));
    QGuiApplication::clipboard()->setMimeData(new PictureMimeData(Picture.Bitmap().Handle()));
}

void TPDBMultiImage::CutToClipboard() {
    if (!Picture.HasGraphic())
        return;
    CopyToClipboard();
    Edits().PushUndo(edits::Cut);
    if (dataLink_.Edit())
        Picture.Clear();
}

void TPDBMultiImage::PasteFromClipboard() {
    const int depth = ReadDepth(ImageReadRes, DeviceBitsPerPixel());
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasImage())
        return; // text alone changes nothing
    if (!dataLink_.Edit())
        return;
    if (ScmShowing() || CmsShowing())
        ClearPicture(false);
    Edits().PushUndo(edits::Paste);
    const QImage pasted = qvariant_cast<QImage>(mime->imageData());
    if (pasted.isNull() || !document_.Adopt(pasted, depth, ToView()))
        return;
    if (zoom_.StretchRatio())
        ComputeFitZoom();
}

} // namespace controls
