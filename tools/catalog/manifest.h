// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

namespace catalog {

/// One picture line of a manifest.
struct ManifestEntry {
    int Line = 0;
    QString File;
    QString Description;
    QString Category;
};

/// The result of reading a manifest: entries, or messages that each name their line.
struct ParsedManifest {
    std::vector<ManifestEntry> Entries;
    QStringList Errors;
};

/// Splits one CSV line into fields: commas separate, a field in double quotes may hold
/// commas and doubled quotes. False when a quoted field is not closed.
bool SplitCsvLine(const QString& line, QStringList& fields);

/// Reads a manifest: one picture per line as  file,description,category ; blank lines
/// and lines starting with "#" are skipped, and so is a first line "file,description,category".
ParsedManifest ParseManifest(const QString& text);

/// Checks the entries against the catalogue's rules: file names of at most 12 characters,
/// descriptions of at most 255, a known category (compared by its lower case), each file once.
/// Returns one message per fault, naming the line.
QStringList CheckEntries(const std::vector<ManifestEntry>& entries, const QStringList& categories);

} // namespace catalog
