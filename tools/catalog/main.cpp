// SPDX-License-Identifier: MIT
// vlmor-catalog: builds a catalogue from picture files and a manifest, or lists one.
#include "platform/core/dialogs.h"
#include "tools/catalog/builder.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

int Usage(QTextStream& err) {
    err << "usage:\n"
           "  vlmor-catalog build --manifest FILE --pictures DIR --categories FILE --out DIR\n"
           "                      [--name CATALOGUE.db]\n"
           "  vlmor-catalog list DIR|CATALOGUE.db\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    platform::NoDialogs dialogs;
    platform::SetDialogService(&dialogs);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QStringLiteral("list"))
        return catalog::ListCatalogue(args[1], out) ? 0 : 1;
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
    const catalog::BuildResult result = catalog::BuildCatalogue(options);
    for (const QString& e : result.Errors)
        err << e << '\n';
    if (!result.Errors.isEmpty())
        return 1;
    out << "built " << options.CatalogueName << " with " << result.Records << " records in "
        << options.OutDir << '\n';
    return 0;
}
