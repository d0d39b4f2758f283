// SPDX-License-Identifier: MIT
#include "tools/catalog/exporter.h"

#include "data/catalogue_schema.h"
#include "data/field.h"
#include "imaging/engine/engine_binding.h"
#include "imaging/export/batch_export.h"
#include "platform/core/errors.h"
#include "platform/core/text_case.h"
#include "tools/catalog/catalogue_reader.h"

#include <QRegularExpression>

namespace catalog {

namespace cat = data::catalogue;

QString ParseExportArguments(const QStringList& args, ExportRequest& request) {
    if (args.size() < 2)
        return QStringLiteral("export needs PROGRAM_DIR and OUT_DIR");
    request.Catalogue = args[0];
    request.OutDir = args[1];
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString& key = args[i];
        if (key == QStringLiteral("--replace")) {
            request.Replace = true;
            continue;
        }
        if (key == QStringLiteral("--skip-existing")) {
            request.SkipExisting = true;
            continue;
        }
        if (i + 1 >= args.size())
            return key + QStringLiteral(" needs a value");
        const QString& value = args[++i];
        if (key == QStringLiteral("--format")) {
            request.Format = value;
        } else if (key == QStringLiteral("--vectors")) {
            request.Vectors = value.toLower();
            if (request.Vectors != QStringLiteral("svg") &&
                request.Vectors != QStringLiteral("png") &&
                request.Vectors != QStringLiteral("own"))
                return QStringLiteral("--vectors is svg, png or own");
        } else if (key == QStringLiteral("--category")) {
            request.Category = value;
        } else if (key == QStringLiteral("--search")) {
            request.Search = value;
        } else if (key == QStringLiteral("--fit")) {
            const auto m =
                QRegularExpression(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$")).match(value);
            request.Fit =
                m.hasMatch() ? QSize(m.captured(1).toInt(), m.captured(2).toInt()) : QSize();
            if (request.Fit.isEmpty())
                return QStringLiteral("--fit is WIDTHxHEIGHT in pixels, such as 640x480");
        } else {
            return QStringLiteral("unknown option ") + key;
        }
    }
    if (request.Format.isEmpty())
        return QStringLiteral("export needs --format (") + imaging::WritableExtensions().toLower() +
               QStringLiteral(" or stored)");
    if (request.Replace && request.SkipExisting)
        return QStringLiteral("--replace and --skip-existing exclude each other");
    return {};
}

namespace {

// The options the request names; an empty string or what is wrong with it.
QString OptionsOf(const ExportRequest& request, imaging::ExportOptions& options) {
    if (request.Format.compare(QStringLiteral("stored"), Qt::CaseInsensitive) == 0) {
        if (!request.Fit.isEmpty())
            return QStringLiteral("--fit cannot change pictures exported as stored");
        return {};
    }
    const imaging::PictureFormat* format =
        imaging::FormatOfFile(QStringLiteral("x.") + request.Format);
    if (!format || !format->EngineWrites)
        return QStringLiteral("The program cannot write ") + request.Format +
               QStringLiteral(" files; it writes ") + imaging::WritableExtensions() +
               QStringLiteral(", or stored");
    options.Format = format;
    options.Fit = request.Fit;
    const QString vectors = !request.Vectors.isEmpty() ? request.Vectors
                            : imaging::MainExtension(*format) == QStringLiteral("png")
                                ? QStringLiteral("png")
                                : QStringLiteral("svg");
    options.Vectors = vectors == QStringLiteral("png")   ? imaging::VectorExport::Png
                      : vectors == QStringLiteral("own") ? imaging::VectorExport::Own
                                                         : imaging::VectorExport::Svg;
    return {};
}

} // namespace

int ExportCatalogue(const ExportRequest& request, QTextStream& out, QTextStream& err) {
    imaging::ExportOptions options;
    if (const QString wrong = OptionsOf(request, options); !wrong.isEmpty()) {
        err << wrong << '\n';
        return 2;
    }
    imaging::EngineBinding::Instance().Start();
    struct Ended {
        ~Ended() { imaging::EngineBinding::Instance().End(); }
    } ended;
    try {
        CatalogueReader catalogue(request.Catalogue);
        data::TTable& table = catalogue.Records();
        // The tab's filter and the search, as the main window applies them.
        const QString category = request.Category.trimmed();
        const QStringList& captions = catalogue.Captions();
        if (!category.isEmpty() &&
            (captions.isEmpty() || category.compare(captions.front(), Qt::CaseInsensitive) != 0)) {
            if (!captions.isEmpty() && !captions.contains(category, Qt::CaseInsensitive)) {
                err << "No category " << category << "; the catalogue has "
                    << catalogue.Captions().join(QStringLiteral(", ")) << '\n';
                return 2;
            }
            table.SetFilter(cat::CategoryFilter(category));
        }
        const QString search = platform::UpperCase(request.Search);
        table.SetOnFilterRecord([&search](data::TDataSet& set, bool& accept) {
            accept = cat::MatchesSearch(set.LookupField(cat::kDescription)->AsString(), search);
        });
        table.SetFiltered(true);
        const data::TField* name = table.LookupField(cat::kFileName);
        const auto* picture = qobject_cast<data::TBlobField*>(table.LookupField(cat::kGraphicFile));
        if (!name || !picture) {
            err << "The catalogue has no file names or pictures\n";
            return 1;
        }
        const imaging::ExportSource source{
            table.CountRecords(),
            [&](int i) { return table.RecordText(table.VisibleRecord(i), *name); },
            [&](int i) { return table.RecordBlob(table.VisibleRecord(i), *picture); }};

        const QString stage[] = {QStringLiteral("Reading"), QStringLiteral("Exporting")};
        int pass = 0, shown = -1;
        const imaging::ExportProgress progress = [&](int done, int total) {
            if (request.ShowProgress && done != shown) {
                shown = done;
                err << '\r' << stage[pass] << ' ' << done << " of " << total << Qt::flush;
            }
            return true;
        };
        imaging::Decoder workers;
        imaging::BatchExport batch(workers, options, request.OutDir);
        batch.Plan(source, progress);
        pass = 1;
        shown = -1;
        const imaging::ExportSummary summary =
            batch.Run(source,
                      request.Replace        ? imaging::ExistingFiles::Replace
                      : request.SkipExisting ? imaging::ExistingFiles::Skip
                                             : imaging::ExistingFiles::Refuse,
                      progress);
        if (request.ShowProgress)
            err << '\n';
        if (!summary.Refused.isEmpty()) {
            err << "These files exist already (--replace replaces them, --skip-existing keeps "
                   "them):\n";
            for (const QString& f : summary.Refused)
                err << "  " << f << '\n';
            return 1;
        }
        for (const QString& f : summary.Failures)
            err << f << '\n';
        out << "exported " << summary.Written << " pictures to " << request.OutDir;
        if (const QString skipped = imaging::SkippedText(summary); !skipped.isEmpty())
            out << "; skipped " << skipped;
        if (!summary.Failures.isEmpty())
            out << "; " << summary.Failures.size() << " failed";
        out << '\n';
        return summary.Failures.isEmpty() ? 0 : 1;
    } catch (const platform::Exception& e) {
        err << e.Message() << '\n';
        return 1;
    }
}

} // namespace catalog
