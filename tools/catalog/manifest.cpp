// SPDX-License-Identifier: MIT
#include "tools/catalog/manifest.h"

#include "data/catalogue_schema.h"
#include "platform/core/text_case.h"

#include <algorithm>

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

bool ParseManifestLine(QString line, int number, bool headerAllowed, ManifestEntry& entry,
                       QString& fault) {
    fault.clear();
    if (line.endsWith(u'\r'))
        line.chop(1);
    if (line.trimmed().isEmpty() || line.trimmed().startsWith(u'#'))
        return false;
    QStringList fields;
    if (!SplitCsvLine(line, fields)) {
        fault = QStringLiteral("line %1: a quoted field is not closed").arg(number);
        return false;
    }
    if (headerAllowed && fields.size() == 3 &&
        fields[0].compare(QStringLiteral("file"), Qt::CaseInsensitive) == 0 &&
        fields[2].compare(QStringLiteral("category"), Qt::CaseInsensitive) == 0)
        return false; // the header line
    if (fields.size() != 3) {
        fault = QStringLiteral("line %1: expected 3 fields (file, description, category), found %2")
                    .arg(number)
                    .arg(fields.size());
        return false;
    }
    entry = {number, fields[0], fields[1], fields[2]};
    return true;
}

ParsedManifest ParseManifest(const QString& text) {
    ParsedManifest manifest;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        ManifestEntry entry;
        QString fault;
        const bool headerAllowed = manifest.Entries.empty() && manifest.Errors.isEmpty();
        if (ParseManifestLine(lines[i], int(i) + 1, headerAllowed, entry, fault))
            manifest.Entries.push_back(std::move(entry));
        else if (!fault.isEmpty())
            manifest.Errors << fault;
    }
    return manifest;
}

bool ManifestReader::Open(const QString& path) {
    file_.close();
    file_.setFileName(path);
    line_ = 0;
    any_ = false;
    return file_.open(QIODevice::ReadOnly);
}

bool ManifestReader::Next(ManifestEntry& entry, QStringList& faults) {
    while (!file_.atEnd()) {
        QByteArray bytes = file_.readLine();
        if (bytes.endsWith('\n'))
            bytes.chop(1);
        QString line = QString::fromUtf8(bytes);
        if (++line_ == 1 && line.startsWith(QChar(0xfeff)))
            line.remove(0, 1);
        QString fault;
        if (ParseManifestLine(line, line_, !any_, entry, fault)) {
            any_ = true;
            return true;
        }
        if (!fault.isEmpty()) {
            any_ = true;
            faults << fault;
        }
    }
    return false;
}

EntryChecker::EntryChecker(const QStringList& categories) {
    for (qsizetype i = 1; i < categories.size(); ++i) // the first tab shows every category
        known_ << platform::LowerCase(categories[i]);
}

void EntryChecker::Check(const ManifestEntry& e) {
    auto fault = [&](const QString& text) {
        faults_.emplace_back(e.Line, QStringLiteral("line %1: %2").arg(e.Line).arg(text));
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
    if (!known_.contains(platform::LowerCase(e.Category)))
        fault(QStringLiteral("unknown category '%1'").arg(e.Category));
    if (!e.File.isEmpty())
        names_.push_back({e.File.toUpper().toStdString(), e.File.toStdString(), e.Line});
}

QStringList EntryChecker::Faults() {
    // Names side by side in order, each group's first line first: every later one is listed
    // twice.
    std::sort(names_.begin(), names_.end(), [](const Name& a, const Name& b) {
        return a.upper != b.upper ? a.upper < b.upper : a.line < b.line;
    });
    std::vector<std::pair<int, QString>> twice;
    for (size_t i = 1, first = 0; i < names_.size(); ++i) {
        if (names_[i].upper != names_[first].upper) {
            first = i;
            continue;
        }
        twice.emplace_back(names_[i].line,
                           QStringLiteral("line %1: '%2' is listed twice (first on line %3)")
                               .arg(names_[i].line)
                               .arg(QString::fromStdString(names_[i].file))
                               .arg(names_[first].line));
    }
    names_.clear();
    faults_.insert(faults_.end(), twice.begin(), twice.end());
    std::stable_sort(faults_.begin(), faults_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList faults;
    for (auto& [line, text] : faults_)
        faults << std::move(text);
    faults_.clear();
    return faults;
}

QStringList CheckEntries(const std::vector<ManifestEntry>& entries, const QStringList& categories) {
    EntryChecker checker(categories);
    for (const ManifestEntry& e : entries)
        checker.Check(e);
    return checker.Faults();
}

} // namespace catalog
