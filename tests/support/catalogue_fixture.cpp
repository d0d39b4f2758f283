// SPDX-License-Identifier: MIT
#include "tests/support/catalogue_fixture.h"

#include <QBuffer>
#include <QImage>

namespace {

// A small real picture, a colour of its own for each record, so views decode it.
QByteArray RecordPicture(int i) {
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(qRgb((i * 37) % 256, (i * 91) % 256, (i * 53) % 256));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

} // namespace

CatalogueFixture::CatalogueFixture() = default;

std::vector<catalog::CatalogueRecord> CatalogueFixture::Records(int count,
                                                                const QStringList& categories) {
    std::vector<catalog::CatalogueRecord> records;
    for (int i = 0; i < count; ++i) {
        const QString category = categories[i % categories.size()];
        records.push_back({QStringLiteral("PIC%1.BMP").arg(i, 3, 10, QLatin1Char('0')),
                           QStringLiteral("Picture %1 of the %2 kind").arg(i).arg(category),
                           category, RecordPicture(i)});
    }
    return records;
}

QString CatalogueFixture::WriteCatalogue(const QString& name,
                                         const std::vector<catalog::CatalogueRecord>& records) {
    const QString path = Path(name);
    catalog::CatalogueWriter writer(path);
    for (const auto& record : records)
        writer.Add(record);
    writer.Commit();
    return path;
}

QString CatalogueFixture::WriteCategories(const QString& name, const QStringList& names) {
    const QString path = Path(name);
    catalog::WriteCategoryTable(path, names);
    return path;
}
