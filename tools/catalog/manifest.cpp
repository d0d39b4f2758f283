// SPDX-License-Identifier: MIT
#include "tools/catalog/manifest.h"

#include "data/catalogue_schema.h"
#include "platform/core/text_case.h"

#include <QHash>

namespace catalog {

namespace cat = data::catalogue;

bool SplitCsvLine(const QString& line, QStringList& fields) {
    fields.clear();
    QString field;
    bool quoted = false;
    bool wasQuoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < line.size() && line[i + 1] == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == u',') {
            fields << (wasQuoted ? field : field.trimmed());
            field.clear();
            wasQuoted = false;
        } else if (wasQuoted && c.isSpace()) {
            // blanks between a closing quote and the comma
        } else if (c == u'"' && field.trimmed().isEmpty()) {
            field.clear();
            quoted = wasQuoted = true;
        } else {
            field += c;
        }
    }
    fields << (wasQuoted ? field : field.trimmed());
    return !quoted;
}

ParsedManifest ParseManifest(const QString& text) {
    ParsedManifest manifest;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        const int number = static_cast<int>(i) + 1;
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(u'#'))
            continue;
        QStringList fields;
        if (!SplitCsvLine(line, fields)) {
            manifest.Errors << QStringLiteral("line %1: a quoted field is not closed").arg(number);
            continue;
        }
        if (manifest.Entries.empty() && manifest.Errors.isEmpty() && fields.size() == 3 &&
            fields[0].compare(QStringLiteral("file"), Qt::CaseInsensitive) == 0 &&
            fields[2].compare(QStringLiteral("category"), Qt::CaseInsensitive) == 0)
            continue; // the header line
        if (fields.size() != 3) {
            manifest.Errors << QStringLiteral("line %1: expected 3 fields (file, description, "
                                              "category), found %2")
                                   .arg(number)
                                   .arg(fields.size());
            continue;
        }
        manifest.Entries.push_back({number, fields[0], fields[1], fields[2]});
    }
    return manifest;
}

QStringList CheckEntries(const std::vector<ManifestEntry>& entries, const QStringList& categories) {
    QStringList errors;
    QStringList known;
    for (qsizetype i = 1; i < categories.size(); ++i) // the first tab shows every category
        known << platform::LowerCase(categories[i]);
    QHash<QString, int> seen;
    for (const ManifestEntry& e : entries) {
        auto fault = [&](const QString& text) {
            errors << QStringLiteral("line %1: %2").arg(e.Line).arg(text);
        };
        if (e.File.isEmpty())
            fault(QStringLiteral("no file name"));
        else if (e.File.size() > cat::kFileNameSize)
            fault(QStringLiteral("file name '%1' is longer than %2 characters")
                      .arg(e.File)
                      .arg(cat::kFileNameSize));
        if (e.Description.size() > cat::kDescriptionSize)
            fault(QStringLiteral("the description is longer than %1 characters (%2)")
                      .arg(cat::kDescriptionSize)
                      .arg(e.Description.size()));
        if (!known.contains(platform::LowerCase(e.Category)))
            fault(QStringLiteral("unknown category '%1'").arg(e.Category));
        const QString key = e.File.toUpper();
        if (!e.File.isEmpty()) {
            if (const auto it = seen.constFind(key); it != seen.constEnd())
                fault(
                    QStringLiteral("'%1' is listed twice (first on line %2)").arg(e.File).arg(*it));
            else
                seen.insert(key, e.Line);
        }
    }
    return errors;
}

} // namespace catalog
