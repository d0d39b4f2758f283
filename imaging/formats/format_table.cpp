// SPDX-License-Identifier: MIT
// The program's one table of format facts: the engine's format list, one row a format with the
// program's facts of it, and the program's own formats. The file dialogs' lists keep the order
// their entries have always had: each row says where it stands in each list.
#include "imaging/formats/format_table.h"

#include "engines/crde2000/format_rows.h"

#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace imaging {

namespace {

using K = PictureKind;

// The program's own formats, after the engine's. Places in the lists: {open entries, open
// "all" patterns, toolbar save, main window save}.
const PictureFormat kOwnFormats[] = {
    {.LoadName = "WMF",
     .Kind = K::Metafile,
     .Extensions = "WMF",
     .Label = "Windows Metafile",
     .Loadable = true,
     .Place = {10, 11, 0, 0}},
    {.LoadName = "EMF",
     .Kind = K::Metafile,
     .Extensions = "EMF",
     .Label = "Enhanced Metafile",
     .Place = {11, 10, 0, 0}},
    {.LoadName = "SCM",
     .Kind = K::Credit,
     .Extensions = "SCM",
     .Label = "Scrolling Message",
     .Loadable = true,
     .SavesBlob = true,
     .Place = {7, 7, 9, 0}},
    {.LoadName = "CMS",
     .Kind = K::Credit,
     .Extensions = "CMS",
     .Label = "Credit Message",
     .Loadable = true,
     .SavesBlob = true,
     .Place = {2, 2, 10, 0}},
    {.LoadName = "RTF", .Kind = K::Note, .Extensions = "RTF", .Label = "Rich Text"},
};

// The rows the build read are the rows the engine's enumeration was made from.
#define VLMOR_COUNT_ROW(...) +1
static_assert(std::size(kCrdeFormats) == 0 VLMOR_FORMATS(VLMOR_COUNT_ROW),
              "every row of the format list is read by the build");
#undef VLMOR_COUNT_ROW

// The engine's row as the program holds it.
PictureFormat FromEngine(const CrdeFormatRow& row, int index) {
    return {.LoadName = row.loadName,
            .InfoName = row.info,
            .Engine = EngineFormat(index),
            .Kind = row.drawing ? K::Drawing : K::Picture,
            .Extensions = row.extensions,
            .Label = row.label,
            .Loadable = row.loadable != 0,
            .EngineWrites = row.fileWriter != nullptr,
            .Place = {row.openPlace, row.openAllPlace, row.toolbarSavePlace, row.mainSavePlace}};
}

const std::vector<PictureFormat>& Table() {
    static const std::vector<PictureFormat> table = [] {
        std::vector<PictureFormat> rows;
        int index = 0;
        for (const CrdeFormatRow& row : kCrdeFormats)
            rows.push_back(FromEngine(row, index++));
        rows.insert(rows.end(), std::begin(kOwnFormats), std::end(kOwnFormats));
        return rows;
    }();
    return table;
}

// The extension after the last dot, upper-cased in the letters a to z only (so that no
// other letter turns into one of them).
QString Suffix(const QString& fileName) {
    QString suffix = QFileInfo(fileName).suffix();
    for (QChar& c : suffix)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 'a' + 'A');
    return suffix;
}

// A list's rows in its order.
std::vector<const PictureFormat*> InOrder(FormatList list) {
    std::vector<const PictureFormat*> rows;
    for (const PictureFormat& f : Table())
        if (f.Place[int(list)] > 0)
            rows.push_back(&f);
    std::sort(rows.begin(), rows.end(), [list](const PictureFormat* a, const PictureFormat* b) {
        return a->Place[int(list)] < b->Place[int(list)];
    });
    return rows;
}

} // namespace

std::span<const PictureFormat> PictureFormats() {
    return Table();
}

const PictureFormat* FormatOfLoadName(const QString& loadName) {
    for (const PictureFormat& f : Table())
        if (loadName == QLatin1String(f.LoadName))
            return &f;
    return nullptr;
}

std::optional<PictureKind> KindOfLoadName(const QString& loadName) {
    const PictureFormat* known = FormatOfLoadName(loadName);
    return known ? std::optional(known->Kind) : std::nullopt;
}

const PictureFormat* FormatOfInfoName(const QString& infoName) {
    for (const PictureFormat& f : Table())
        if (f.InfoName && infoName.compare(QLatin1String(f.InfoName), Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

const PictureFormat* FormatOfFile(const QString& fileName) {
    const QString suffix = Suffix(fileName);
    if (suffix.isEmpty())
        return nullptr;
    for (const PictureFormat& f : Table())
        if (Spellings(f).contains(suffix))
            return &f;
    return nullptr;
}

const PictureFormat* FormatOfMainExtension(const QString& fileName) {
    const QString suffix = Suffix(fileName);
    for (const PictureFormat& f : Table())
        if (!suffix.isEmpty() && suffix == Spellings(f).constFirst())
            return &f;
    return nullptr;
}

const PictureFormat& FormatOf(EngineFormat format) {
    for (const PictureFormat& f : Table())
        if (f.Engine == format)
            return f;
    return Table().front(); // unreachable: every engine format has its row
}

QStringList Spellings(const PictureFormat& format) {
    return QString::fromLatin1(format.Extensions).split(u' ', Qt::SkipEmptyParts);
}

QString MainExtension(const PictureFormat& format) {
    return Spellings(format).constFirst().toLower();
}

QStringList LoadableExtensions() {
    QStringList extensions;
    for (const PictureFormat& f : Table())
        if (f.Loadable)
            for (const QString& ext : Spellings(f))
                extensions << u'.' + ext;
    return extensions;
}

QString FilterEntries(FormatList list) {
    QStringList entries;
    for (const PictureFormat* f : InOrder(list)) {
        const QString ext = Spellings(*f).constFirst();
        entries << QStringLiteral("%1    (%2) |*.%2").arg(QLatin1String(f->Label), ext);
    }
    return entries.join(u'|');
}

QString FilterPatterns(FormatList list) {
    QString patterns;
    for (const PictureFormat* f : InOrder(list))
        patterns += QStringLiteral("*.%1;").arg(Spellings(*f).constFirst());
    return patterns;
}

QString WritableExtensions() {
    QStringList names;
    for (const PictureFormat* f : InOrder(FormatList::MainSave))
        if (f->EngineWrites)
            names << Spellings(*f).front();
    return names.join(QStringLiteral(", "));
}

} // namespace imaging
