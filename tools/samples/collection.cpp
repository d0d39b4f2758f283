// SPDX-License-Identifier: MIT
#include "tools/samples/collection.h"

#include "tools/samples/bmp_writer.h"

#include <QBuffer>

namespace samples {

QStringList Categories() {
    return {QStringLiteral("All"),     QStringLiteral("Background"), QStringLiteral("Border"),
            QStringLiteral("Header"),  QStringLiteral("Letter"),     QStringLiteral("Misc"),
            QStringLiteral("Ornament")};
}

std::vector<TSample> Collection() {
    std::vector<TSample> all;
    AddBorders(all);
    AddOrnaments(all);
    AddLetters(all);
    AddHeaders(all);
    AddBackgrounds(all);
    AddMisc(all);
    // Every format in turn, so each category holds each of them.
    static const TSampleFormat order[] = {TSampleFormat::Bmp24, TSampleFormat::Png,
                                          TSampleFormat::Bmp8,  TSampleFormat::Jpg,
                                          TSampleFormat::Bmp4,  TSampleFormat::Bmp1};
    for (size_t i = 0; i < all.size(); ++i)
        all[i].Format = order[i % 6];
    return all;
}

QString Extension(TSampleFormat format) {
    switch (format) {
    case TSampleFormat::Png:
        return QStringLiteral("PNG");
    case TSampleFormat::Jpg:
        return QStringLiteral("JPG");
    default:
        return QStringLiteral("BMP");
    }
}

QByteArray Encode(const QImage& image, TSampleFormat format) {
    switch (format) {
    case TSampleFormat::Bmp1:
        return EncodeBmp(image, 1);
    case TSampleFormat::Bmp4:
        return EncodeBmp(image, 4);
    case TSampleFormat::Bmp8:
        return EncodeBmp(image, 8);
    case TSampleFormat::Bmp24:
        return EncodeBmp(image, 24);
    case TSampleFormat::Png:
    case TSampleFormat::Jpg: {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        const bool png = format == TSampleFormat::Png;
        image.save(&buffer, png ? "PNG" : "JPG", png ? -1 : 88);
        return bytes;
    }
    }
    return {};
}

} // namespace samples
