// SPDX-License-Identifier: MIT
#include "tests/support/catalogue_fixture.h"

CatalogueFixture::CatalogueFixture() = default;

std::vector<catalog::CatalogueRecord> CatalogueFixture::Records(int count,
                                                                const QStringList& categories) {
    std::vector<catalog::CatalogueRecord> records;
    for (int i = 0; i < count; ++i) {
        const QString category = categories[i % categories.size()];
        records.push_back({QStringLiteral("PIC%1.BMP").arg(i, 3, 10, QLatin1Char('0')),
                           QStringLiteral("Picture %1 of the %2 kind").arg(i).arg(category),
                           category, QByteArray("BM") + QByteArray::number(i)});
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
