// SPDX-License-Identifier: MIT
#include "bench/bench_catalogue.h"

#include "data/data_set.h"
#include "data/field.h"
#include "tools/catalog/catalogue_tables.h"

#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>

#include <algorithm>

namespace bench {

namespace {

const char* const kCategories[] = {"background", "border", "header", "letter", "misc", "ornament"};

QString Description(int i) {
    static const char* const adjectives[] = {"Gold",  "Floral", "Navy",  "Tiny",  "Ornate",
                                             "Plain", "Starry", "Green", "Royal", "Faded"};
    static const char* const things[] = {"border",  "star",   "tree", "ribbon", "letter",
                                         "rosette", "banner", "leaf", "crown",  "wreath"};
    static const char* const places[] = {"with corner rosettes", "on a white ground",
                                         "for a greeting card",  "in the old style",
                                         "between two rules",    "with a beaded rim"};
    const unsigned h = static_cast<unsigned>(i) * 2654435761u;
    return QStringLiteral("%1 %2 %3, number %4")
        .arg(QLatin1String(adjectives[h % 10]))
        .arg(QLatin1String(things[(h >> 8) % 10]))
        .arg(QLatin1String(places[(h >> 16) % 6]))
        .arg(i);
}

QString FileName(int i) {
    return QStringLiteral("P%1.BMP").arg(i, 6, 10, QLatin1Char('0'));
}

// A real picture the view can show, a 4 x 4 BMP, padded to the size asked with bytes of its
// own (after the picture, where no reader looks); record i's bytes differ from the others'.
class Picture {
public:
    explicit Picture(int bytes)
        : blob_(std::max(bytes, 128), '\0') {
        const unsigned char header[54] = {
            'B', 'M', 102, 0, 0, 0, 0, 0, 0,  0, 54, 0, 0, 0, 40, 0, 0, 0, 4, 0, 0, 0, 4, 0, 0, 0,
            1,   0,   24,  0, 0, 0, 0, 0, 48, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        std::copy(header, header + 54, blob_.begin());
        for (int p = 54; p < 102; ++p)
            blob_[p] = char(0x80);
    }
    const QByteArray& For(int i) {
        for (int k = 128; k < blob_.size(); k += 64)
            blob_[k] = static_cast<char>(i + k);
        return blob_;
    }

private:
    QByteArray blob_;
};

const QStringList kCaptions = {QStringLiteral("All"),     QStringLiteral("Background"),
                               QStringLiteral("Border"),  QStringLiteral("Header"),
                               QStringLiteral("Letter"),  QStringLiteral("Misc"),
                               QStringLiteral("Ornament")};

} // namespace

QStringList WriteBenchCatalogue(const QString& dir, int records, int blobBytes) {
    QStringList descriptions;
    catalog::CatalogueWriter writer(QDir(dir).filePath(QStringLiteral("vlmor.db")));
    Picture picture(blobBytes);
    for (int i = 0; i < records; ++i) {
        const QString description = Description(i);
        writer.Add({FileName(i), description, QLatin1String(kCategories[i % 6]), picture.For(i)});
        descriptions << description;
    }
    writer.Commit();
    catalog::WriteCategoryTable(QDir(dir).filePath(QStringLiteral("category.db")), kCaptions);
    return descriptions;
}

bool WriteBenchSources(const QString& dir, int records, int blobBytes) {
    QDir folder(dir);
    if (!folder.mkpath(QStringLiteral("pictures")))
        return false;
    QFile manifest(folder.filePath(QStringLiteral("manifest.csv")));
    QFile categories(folder.filePath(QStringLiteral("categories.txt")));
    if (!manifest.open(QIODevice::WriteOnly) || !categories.open(QIODevice::WriteOnly))
        return false;
    categories.write(kCaptions.join(u'\n').toUtf8() + '\n');
    manifest.write("file,description,category\n");
    Picture picture(blobBytes);
    const QString pictures = folder.filePath(QStringLiteral("pictures/"));
    for (int i = 0; i < records; ++i) {
        QFile file(pictures + FileName(i));
        if (!file.open(QIODevice::WriteOnly) || file.write(picture.For(i)) < 0)
            return false;
        manifest.write(QStringLiteral("%1,\"%2\",%3\n")
                           .arg(FileName(i), Description(i), QLatin1String(kCategories[i % 6]))
                           .toUtf8());
    }
    return manifest.flush() && categories.flush();
}

int WalkVisible(data::TDataSet& records, const data::TField& field) {
    const data::TBookmark mark = records.MarkPosition();
    records.SuspendLinks();
    records.GoFirst();
    int walked = 0;
    for (; !records.AtEnd(); records.GoNext(), ++walked)
        benchmark::DoNotOptimize(field.AsString());
    records.GotoMark(mark);
    records.ResumeLinks();
    return walked;
}

long long ResidentBytes() {
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = status.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * 4096 : 0;
}

} // namespace bench
