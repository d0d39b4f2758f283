// SPDX-License-Identifier: MIT
// vlmor-samples OUTDIR: draws the sample collection into OUTDIR/pictures and writes
// OUTDIR/manifest.csv and OUTDIR/categories.txt for the catalogue builder.
#include "tools/samples/collection.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

namespace {

QString CsvField(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv); // fonts need the GUI side
    QTextStream err(stderr);
    if (app.arguments().size() != 2) {
        err << "usage: vlmor-samples OUTDIR\n";
        return 2;
    }
    const QDir out(app.arguments()[1]);
    if (!QDir().mkpath(out.filePath(QStringLiteral("pictures")))) {
        err << "cannot create " << out.path() << '\n';
        return 1;
    }
    QByteArray manifest = "file,description,category\n";
    for (const samples::Sample& s : samples::Collection()) {
        const QString name = s.Stem + u'.' + samples::Extension(s.Format);
        const QByteArray bytes = samples::Encode(s);
        const bool none = s.Format == samples::SampleFormat::NoPicture;
        if ((bytes.isEmpty() && !none) ||
            !WriteFile(out.filePath(QStringLiteral("pictures/") + name), bytes)) {
            err << "cannot write " << name << '\n';
            return 1;
        }
        manifest +=
            (CsvField(name) + u',' + CsvField(s.Description) + u',' + s.Category + u'\n').toUtf8();
    }
    const QByteArray categories = samples::Categories().join(u'\n').toUtf8() + '\n';
    if (!WriteFile(out.filePath(QStringLiteral("manifest.csv")), manifest) ||
        !WriteFile(out.filePath(QStringLiteral("categories.txt")), categories)) {
        err << "cannot write the manifest\n";
        return 1;
    }
    return 0;
}
