// SPDX-License-Identifier: MIT
// vlmor-catalog: builds a catalogue from picture files and a manifest, lists one, or exports
// its pictures into a folder.
#include "platform/core/command_line.h"
#include "platform/core/dialogs.h"
#include "tools/catalog/builder.h"
#include "tools/catalog/exporter.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

const char* const kUsage =
    "usage:\n"
    "  vlmor-catalog build --manifest FILE --pictures DIR --categories FILE --out DIR\n"
    "                      [--name CATALOGUE.db]\n"
    "  vlmor-catalog list DIR|CATALOGUE.db\n"
    "  vlmor-catalog export PROGRAM_DIR OUT_DIR --format EXT|stored [--vectors "
    "svg|png|own]\n"
    "                      [--category C] [--search TEXT] [--fit WxH]\n"
    "                      [--replace | --skip-existing]\n";

int Usage(QTextStream& err) {
    err << kUsage;
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const platform::ProgramText text{
        "vlmor-catalog",
        "vlmor-catalog: builds a catalogue from picture files and a manifest, lists one, or "
        "exports its pictures into a folder.",
        kUsage};
    if (const auto printed = platform::StandardOptionText(argc, argv, text)) {
        std::fputs(printed->c_str(), stdout);
        return 0;
    }
    // An export draws vector pictures and their text, which needs the toolkit's fonts: a
    // graphical application, without a display unless one is asked for.
    const bool exporting = argc > 1 && std::strcmp(argv[1], "export") == 0;
    if (exporting && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        exporting ? std::make_unique<QGuiApplication>(argc, argv)
                  : std::make_unique<QCoreApplication>(argc, argv);
    platform::NoDialogs dialogs;
    platform::SetDialogService(&dialogs);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 2 && args[0] == QStringLiteral("list"))
        return catalog::ListCatalogue(args[1], out) ? 0 : 1;
    if (!args.isEmpty() && args[0] == QStringLiteral("export")) {
        catalog::ExportRequest request;
        if (const QString wrong = catalog::ParseExportArguments(args.mid(1), request);
            !wrong.isEmpty()) {
            err << wrong << '\n';
            return Usage(err);
        }
        request.ShowProgress = isatty(STDERR_FILENO) == 1;
        return catalog::ExportCatalogue(request, out, err);
    }
    if (args.isEmpty() || args[0] != QStringLiteral("build"))
        return Usage(err);

    catalog::BuildOptions options;
    for (qsizetype i = 1; i < args.size(); i += 2) {
        if (i + 1 >= args.size())
            return Usage(err);
        const QString& key = args[i];
        const QString& value = args[i + 1];
        if (key == QStringLiteral("--manifest"))
            options.Manifest = value;
        else if (key == QStringLiteral("--pictures"))
            options.Pictures = value;
        else if (key == QStringLiteral("--categories"))
            options.Categories = value;
        else if (key == QStringLiteral("--out"))
            options.OutDir = value;
        else if (key == QStringLiteral("--name"))
            options.CatalogueName = value;
        else
            return Usage(err);
    }
    if (options.Manifest.isEmpty() || options.Pictures.isEmpty() || options.Categories.isEmpty() ||
        options.OutDir.isEmpty())
        return Usage(err);
    if (isatty(STDERR_FILENO) == 1)
        options.Progress = [&err](const char* stage, int done, int total) {
            err << '\r' << stage << ' ' << done;
            if (total >= 0)
                err << " of " << total;
            err << " pictures" << Qt::flush;
        };
    const catalog::BuildResult result = catalog::BuildCatalogue(options);
    if (options.Progress)
        err << '\n';
    for (const QString& e : result.Errors)
        err << e << '\n';
    if (!result.Errors.isEmpty())
        return 1;
    out << "built " << options.CatalogueName << " with " << result.Records << " records in "
        << options.OutDir << '\n';
    return 0;
}
