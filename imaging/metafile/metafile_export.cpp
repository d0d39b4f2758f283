// SPDX-License-Identifier: MIT
// A vector picture out of the program: the player draws it into an SVG generator (so it stays
// vectors) or into a transparent bitmap; its own bytes go under the type shared-mime-info
// gives it.
#include "imaging/metafile/metafile_export.h"

#include <QBuffer>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace imaging::metafile_export {

QByteArray Svg(const Metafile& picture) {
    if (picture.Empty())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(picture.Size());
    generator.setViewBox(QRect(QPoint(0, 0), picture.Size()));
    generator.setResolution(96);
    {
        QPainter painter(&generator);
        picture.Play(painter, QRectF(QPointF(0, 0), QSizeF(picture.Size())));
    }
    // The generator gives the size in millimetres, which renderers turn into pixels at
    // resolutions of their own (90 or 96 an inch): the size is given in pixels instead.
    const int open = int(bytes.indexOf("<svg"));
    const int close = open < 0 ? -1 : int(bytes.indexOf('>', open));
    if (close > open) {
        QByteArray head = bytes.mid(open, close - open);
        static const QRegularExpression width(QStringLiteral(" width=\"[^\"]*\""));
        static const QRegularExpression height(QStringLiteral(" height=\"[^\"]*\""));
        QString text = QString::fromUtf8(head);
        text.replace(width, QStringLiteral(" width=\"%1\"").arg(picture.Width()));
        text.replace(height, QStringLiteral(" height=\"%1\"").arg(picture.Height()));
        bytes.replace(open, close - open, text.toUtf8());
    }
    return bytes;
}

QImage Image(const Metafile& picture, double scale) {
    if (picture.Empty() || !(scale > 0))
        return {};
    const QSize size(std::max(1, int(picture.Width() * scale + 0.5)),
                     std::max(1, int(picture.Height() * scale + 0.5)));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {};
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    picture.Play(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

QImage ExportImage(const Metafile& picture) {
    // Twice the natural size, and a small picture 512 pixels across at least; 16 million
    // pixels at the most (64 MB), so a picture of a huge frame cannot exhaust the memory of
    // whoever asks (it goes out as its SVG and its bytes as well).
    const double width = std::max(1, picture.Width()), height = std::max(1, picture.Height());
    const double wanted = std::max(2.0, 512.0 / std::max(width, height));
    return Image(picture, std::min(wanted, std::sqrt(16e6 / (width * height))));
}

QByteArray PngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        bytes.clear();
    return bytes;
}

QStringList OwnMimeTypes(const Metafile& picture) {
    switch (picture.Kind()) {
    case MetafileKind::Placeable:
        return {QStringLiteral("image/wmf"), QStringLiteral("image/x-wmf")};
    case MetafileKind::Enhanced:
        return {QStringLiteral("image/emf"), QStringLiteral("image/x-emf")};
    case MetafileKind::None:
        break;
    }
    return {};
}

QString OwnExtension(const Metafile& picture) {
    return picture.Kind() == MetafileKind::Enhanced ? QStringLiteral("EMF") : QStringLiteral("WMF");
}

} // namespace imaging::metafile_export
