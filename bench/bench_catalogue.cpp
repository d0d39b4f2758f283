// SPDX-License-Identifier: MIT
#include "bench/bench_catalogue.h"

#include "tools/catalog/catalogue_tables.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace bench {

QStringList WriteBenchCatalogue(const QString& dir, int records, int blobBytes) {
    static const char* const adjectives[] = {"Gold",  "Floral", "Navy",  "Tiny",  "Ornate",
                                             "Plain", "Starry", "Green", "Royal", "Faded"};
    static const char* const things[] = {"border",  "star",   "tree", "ribbon", "letter",
                                         "rosette", "banner", "leaf", "crown",  "wreath"};
    static const char* const places[] = {"with corner rosettes", "on a white ground",
                                         "for a greeting card",  "in the old style",
                                         "between two rules",    "with a beaded rim"};
    static const char* const categories[] = {"background", "border", "header",
                                             "letter",     "misc",   "ornament"};
    QStringList descriptions;
    catalog::CatalogueWriter writer(QDir(dir).filePath(QStringLiteral("vlmor.db")));
    // Each blob is a real picture the view can show, a 4 x 4 BMP, padded to the size asked
    // with bytes of its own (after the picture, where no reader looks).
    QByteArray blob(std::max(blobBytes, 128), '\0');
    const unsigned char header[54] = {'B', 'M', 102, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0,  0,
                                      4,   0,   0,   0, 4, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0,  0, 48, 0,
                                      0,   0,   0,   0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0};
    std::copy(header, header + 54, blob.begin());
    for (int p = 54; p < 102; ++p)
        blob[p] = char(0x80);
    for (int i = 0; i < records; ++i) {
        const unsigned h = static_cast<unsigned>(i) * 2654435761u;
        const QString description = QStringLiteral("%1 %2 %3, number %4")
                                        .arg(QLatin1String(adjectives[h % 10]))
                                        .arg(QLatin1String(things[(h >> 8) % 10]))
                                        .arg(QLatin1String(places[(h >> 16) % 6]))
                                        .arg(i);
        for (int k = 128; k < blob.size(); k += 64)
            blob[k] = static_cast<char>(i + k);
        writer.Add({QStringLiteral("P%1.BMP").arg(i, 6, 10, QLatin1Char('0')), description,
                    QLatin1String(categories[i % 6]), blob});
        descriptions << description;
    }
    writer.Commit();
    catalog::WriteCategoryTable(QDir(dir).filePath(QStringLiteral("category.db")),
                                {QStringLiteral("All"), QStringLiteral("Background"),
                                 QStringLiteral("Border"), QStringLiteral("Header"),
                                 QStringLiteral("Letter"), QStringLiteral("Misc"),
                                 QStringLiteral("Ornament")});
    return descriptions;
}

long long ResidentBytes() {
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = status.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * 4096 : 0;
}

} // namespace bench
