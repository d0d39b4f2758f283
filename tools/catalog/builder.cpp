// SPDX-License-Identifier: MIT
#include "tools/catalog/builder.h"

#include "data/catalogue_schema.h"
#include "data/field.h"
#include "data/session.h"
#include "data/table.h"
#include "platform/core/errors.h"
#include "tools/catalog/catalogue_reader.h"
#include "tools/catalog/catalogue_tables.h"
#include "tools/catalog/manifest.h"
#include "tools/catalog/picture_kind.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMultiHash>

namespace catalog {

namespace cat = data::catalogue;

namespace {

bool ReadText(const QString& path, QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xfeff)))
        text.remove(0, 1);
    return true;
}

// Finds an entry's picture file in the folder, matched ignoring case when only that finds it;
// the folder is listed once, at the first name that needs it.
class PictureFinder {
public:
    explicit PictureFinder(const QDir& dir)
        : dir_(dir) {}
    QString Find(const QString& name) {
        if (name.isEmpty())
            return {};
        if (QFileInfo(dir_.filePath(name)).isFile())
            return dir_.filePath(name);
        if (!listed_) {
            listed_ = true;
            for (const QString& entry : dir_.entryList(QDir::Files))
                byLowerCase_.insert(entry.toLower(), entry);
        }
        const auto it = byLowerCase_.constFind(name.toLower());
        return it == byLowerCase_.cend() ? QString() : dir_.filePath(*it);
    }

private:
    QDir dir_;
    bool listed_ = false;
    QMultiHash<QString, QString> byLowerCase_;
};

// Tells the caller how far a stage has come, every so many entries and at its end.
void Tell(const BuildOptions& options, const char* stage, int done, int total) {
    if (options.Progress && (done % 1000 == 0 || done == total))
        options.Progress(stage, done, total);
}

} // namespace

QStringList ParseCategories(const QString& text, QStringList& errors) {
    QStringList captions;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString caption = lines[i].trimmed();
        if (caption.isEmpty() || caption.startsWith(u'#'))
            continue;
        const QString where = QStringLiteral("categories line %1: ").arg(i + 1);
        if (caption.size() > cat::kCategorySize)
            errors << where + QStringLiteral("caption '%1' is longer than %2 characters")
                                  .arg(caption)
                                  .arg(cat::kCategorySize);
        else if (caption.contains(u'\''))
            errors << where + QStringLiteral("caption '%1' holds a quote, which no category "
                                             "filter accepts")
                                  .arg(caption);
        else if (captions.contains(caption, Qt::CaseInsensitive))
            errors << where + QStringLiteral("caption '%1' is listed twice").arg(caption);
        else
            captions << caption;
    }
    if (captions.isEmpty() && errors.isEmpty())
        errors << QStringLiteral("the categories file lists no category");
    return captions;
}

// The manifest is read twice, line by line: once to check every entry and picture, once to
// write them; a million entries are never all in memory at once.
BuildResult BuildCatalogue(const BuildOptions& options) {
    BuildResult result;
    QString categoriesText;
    ManifestReader manifest;
    if (!manifest.Open(options.Manifest))
        result.Errors << QStringLiteral("cannot read the manifest %1").arg(options.Manifest);
    if (!ReadText(options.Categories, categoriesText))
        result.Errors
            << QStringLiteral("cannot read the categories file %1").arg(options.Categories);
    const QDir pictures(options.Pictures);
    if (!pictures.exists())
        result.Errors
            << QStringLiteral("the picture folder %1 does not exist").arg(options.Pictures);
    if (!result.Errors.isEmpty())
        return result;

    const QStringList categories = ParseCategories(categoriesText, result.Errors);
    EntryChecker checker(categories);
    PictureFinder finder(pictures);
    QStringList lineFaults, fileFaults;
    int count = 0;
    for (ManifestEntry e; manifest.Next(e, lineFaults);) {
        checker.Check(e);
        const QString path = finder.Find(e.File);
        if (!e.File.isEmpty() && path.isEmpty())
            fileFaults << QStringLiteral("line %1: picture file '%2' not found in %3")
                              .arg(e.Line)
                              .arg(e.File, options.Pictures);
        // Every file is looked at before anything is written: the kind is told by content.
        if (QFile file(path); !path.isEmpty() && file.open(QIODevice::ReadOnly))
            if (const QString problem = PictureProblem(file.readAll()); !problem.isEmpty())
                fileFaults << QStringLiteral("line %1: '%2' %3").arg(e.Line).arg(e.File, problem);
        Tell(options, "checked", ++count, -1);
    }
    result.Errors << lineFaults << checker.Faults() << fileFaults;
    if (count == 0 && result.Errors.isEmpty())
        result.Errors << QStringLiteral("the manifest lists no picture");
    if (!result.Errors.isEmpty())
        return result;

    if (!QDir().mkpath(options.OutDir)) {
        result.Errors << QStringLiteral("cannot create %1").arg(options.OutDir);
        return result;
    }
    try {
        CatalogueWriter writer(QDir(options.OutDir).filePath(options.CatalogueName));
        if (!manifest.Open(options.Manifest)) {
            result.Errors << QStringLiteral("cannot read the manifest %1").arg(options.Manifest);
            return result;
        }
        QStringList unused;
        int written = 0;
        for (ManifestEntry e; manifest.Next(e, unused);) {
            const QString path = finder.Find(e.File);
            QFile file(path);
            if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
                result.Errors << QStringLiteral("line %1: cannot read %2").arg(e.Line).arg(path);
                return result;
            }
            writer.Add({e.File.toUpper(), e.Description, e.Category.toLower(), file.readAll()});
            Tell(options, "written", ++written, count);
        }
        if (written != count) {
            result.Errors << QStringLiteral("the manifest %1 changed while it was read")
                                 .arg(options.Manifest);
            return result;
        }
        writer.Commit();
        WriteCategoryTable(QDir(options.OutDir).filePath(cat::kCategoryTableFile), categories);
    } catch (const TableWriter::Error& e) {
        result.Errors << QString::fromStdString(e.what());
        return result;
    }
    result.Records = count;
    return result;
}

bool ListCatalogue(const QString& location, QTextStream& out) {
    try {
        CatalogueReader catalogue(location);
        const QStringList& captions = catalogue.Captions();
        out << "Categories (" << captions.size() << "): " << captions.join(QStringLiteral(", "))
            << "\n\n";
        data::TTable& table = catalogue.Records();
        const data::TField* name = table.LookupField(cat::kFileName);
        const data::TField* category = table.LookupField(cat::kCategory);
        const data::TField* description = table.LookupField(cat::kDescription);
        const auto* picture = qobject_cast<data::TBlobField*>(table.LookupField(cat::kGraphicFile));
        out << QStringLiteral("%1 %2 %3  %4\n")
                   .arg(QStringLiteral("FileName"), -12)
                   .arg(QStringLiteral("Category"), -12)
                   .arg(QStringLiteral("Bytes"), 8)
                   .arg(QStringLiteral("Description"));
        const int count = table.CountRecords();
        for (int i = 0; i < count; ++i, table.GoNext()) {
            out << QStringLiteral("%1 %2 %3  %4\n")
                       .arg(name->AsString(), -12)
                       .arg(category->AsString(), -12)
                       .arg(picture ? picture->BlobSize() : 0, 8)
                       .arg(description->AsString());
        }
        out << '\n' << count << " records\n";
    } catch (const platform::Exception& e) {
        out << e.Message() << '\n';
        return false;
    }
    return true;
}

} // namespace catalog
