// SPDX-License-Identifier: MIT
// The program's one table of format facts. The file dialogs' lists keep the order their
// entries have always had: each row says where it stands in each list.
#include "imaging/formats/format_table.h"

#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace imaging {

namespace {

using F = EngineFormat;
using K = PictureKind;

// Places in the lists: {open entries, open "all" patterns, toolbar save, main window save}.
const PictureFormat kFormats[] = {
    {.LoadName = "BMP",
     .InfoName = "BMP",
     .Engine = F::Bmp,
     .Extensions = {"BMP"},
     .Label = "Windows Bitmap",
     .Loadable = true,
     .EngineWrites = true,
     .Place = {1, 1, 1, 4}},
    {.LoadName = "PNG",
     .InfoName = "PNG",
     .Engine = F::Png,
     .Extensions = {"PNG"},
     .Label = "Portable Graphics",
     .Loadable = true,
     .EngineWrites = true,
     .Place = {6, 6, 3, 0}},
    {.LoadName = "GIF",
     .InfoName = "GIF",
     .Engine = F::Gif,
     .Extensions = {"GIF"},
     .Label = "Compuserve Gif",
     .Loadable = true,
     .EngineWrites = true,
     .Place = {3, 3, 6, 0}},
    {.LoadName = "JPG",
     .InfoName = "JPEG",
     .Engine = F::Jpeg,
     .Extensions = {"JPG", "JPEG"},
     .Label = "Jpeg",
     .Loadable = true,
     .EngineWrites = true,
     .Place = {4, 4, 2, 2}},
    {.LoadName = "TIF",
     .InfoName = "TIFF",
     .Engine = F::Tiff,
     .Extensions = {"TIF", "TIFF"},
     .Label = "Tagged Image",
     .Loadable = true,
     .EngineWrites = true,
     .Place = {8, 8, 4, 1}},
    {.LoadName = "PCD",
     .InfoName = "PCD",
     .Engine = F::Pcd,
     .Extensions = {"PCD"},
     .Label = "Kodak Photo CD",
     .Loadable = true,
     .Place = {9, 9, 0, 0}},
    {.LoadName = "EPS",
     .InfoName = "EPS",
     .Engine = F::Eps,
     .Extensions = {"EPS"},
     .Label = "Encapsulated PostScript",
     .Loadable = true,
     .EngineWrites = true,
     .Place = {0, 0, 8, 0}},
    {.LoadName = "PCX",
     .InfoName = "PCX",
     .Engine = F::Pcx,
     .Extensions = {"PCX"},
     .Label = "PaintShop Pro",
     .Loadable = true,
     .EngineWrites = true,
     .Place = {5, 5, 5, 3}},
    {.LoadName = "DXF",
     .InfoName = "DXF",
     .Engine = F::Dxf,
     .Kind = K::Drawing,
     .Extensions = {"DXF"},
     .Label = "Drawing Exchange",
     .Loadable = true},
    {.LoadName = "TGA",
     .InfoName = "TGA",
     .Engine = F::Tga,
     .Extensions = {"TGA"},
     .Label = "Targe Image",
     .Loadable = true,
     .EngineWrites = true,
     .Place = {12, 12, 7, 0}},
    {.LoadName = "WMF",
     .Kind = K::Metafile,
     .Extensions = {"WMF"},
     .Label = "Windows Metafile",
     .Loadable = true,
     .Place = {10, 11, 0, 0}},
    {.LoadName = "EMF",
     .Kind = K::Metafile,
     .Extensions = {"EMF"},
     .Label = "Enhanced Metafile",
     .Place = {11, 10, 0, 0}},
    {.LoadName = "SCM",
     .Kind = K::Credit,
     .Extensions = {"SCM"},
     .Label = "Scrolling Message",
     .Loadable = true,
     .SavesBlob = true,
     .Place = {7, 7, 9, 0}},
    {.LoadName = "CMS",
     .Kind = K::Credit,
     .Extensions = {"CMS"},
     .Label = "Credit Message",
     .Loadable = true,
     .SavesBlob = true,
     .Place = {2, 2, 10, 0}},
    {.LoadName = "RTF", .Kind = K::Note, .Extensions = {"RTF"}, .Label = "Rich Text"},
};

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
    for (const PictureFormat& f : kFormats)
        if (f.Place[int(list)] > 0)
            rows.push_back(&f);
    std::sort(rows.begin(), rows.end(), [list](const PictureFormat* a, const PictureFormat* b) {
        return a->Place[int(list)] < b->Place[int(list)];
    });
    return rows;
}

} // namespace

std::span<const PictureFormat> PictureFormats() {
    return kFormats;
}

const PictureFormat* FormatOfLoadName(const QString& loadName) {
    for (const PictureFormat& f : kFormats)
        if (loadName == QLatin1String(f.LoadName))
            return &f;
    return nullptr;
}

std::optional<PictureKind> KindOfLoadName(const QString& loadName) {
    const PictureFormat* known = FormatOfLoadName(loadName);
    return known ? std::optional(known->Kind) : std::nullopt;
}

const PictureFormat* FormatOfInfoName(const QString& infoName) {
    for (const PictureFormat& f : kFormats)
        if (f.InfoName && infoName.compare(QLatin1String(f.InfoName), Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

const PictureFormat* FormatOfFile(const QString& fileName) {
    const QString suffix = Suffix(fileName);
    if (suffix.isEmpty())
        return nullptr;
    for (const PictureFormat& f : kFormats)
        for (const char* ext : f.Extensions)
            if (ext && suffix == QLatin1String(ext))
                return &f;
    return nullptr;
}

const PictureFormat* FormatOfMainExtension(const QString& fileName) {
    const QString suffix = Suffix(fileName);
    for (const PictureFormat& f : kFormats)
        if (!suffix.isEmpty() && suffix == QLatin1String(f.Extensions[0]))
            return &f;
    return nullptr;
}

const PictureFormat& FormatOf(EngineFormat format) {
    for (const PictureFormat& f : kFormats)
        if (f.Engine == format)
            return f;
    return kFormats[0]; // unreachable: the table test checks every engine format has a row
}

QString MainExtension(const PictureFormat& format) {
    return QString::fromLatin1(format.Extensions[0]).toLower();
}

QStringList LoadableExtensions() {
    QStringList extensions;
    for (const PictureFormat& f : kFormats)
        if (f.Loadable)
            for (const char* ext : f.Extensions)
                if (ext)
                    extensions << u'.' + QString::fromLatin1(ext);
    return extensions;
}

QString FilterEntries(FormatList list) {
    QStringList entries;
    for (const PictureFormat* f : InOrder(list)) {
        const QString ext = QString::fromLatin1(f->Extensions[0]);
        entries << QStringLiteral("%1    (%2) |*.%2").arg(QLatin1String(f->Label), ext);
    }
    return entries.join(u'|');
}

QString FilterPatterns(FormatList list) {
    QString patterns;
    for (const PictureFormat* f : InOrder(list))
        patterns += QStringLiteral("*.%1;").arg(QLatin1String(f->Extensions[0]));
    return patterns;
}

} // namespace imaging
