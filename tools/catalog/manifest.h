// SPDX-License-Identifier: MIT
#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <string>
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

/// Reads one manifest line (its number given): true with an entry, false for a line that holds
/// none (blank, a comment, the header line where `headerAllowed`) or, with `fault` set, a bad one.
bool ParseManifestLine(QString line, int number, bool headerAllowed, ManifestEntry& entry,
                       QString& fault);

/// Reads a manifest file line by line, so a long manifest is never all in memory at once.
class ManifestReader {
public:
    bool Open(const QString& path);
    /// The next entry; false at the end. Bad lines on the way add their messages to `faults`.
    bool Next(ManifestEntry& entry, QStringList& faults);

private:
    QFile file_;
    int line_ = 0;
    bool any_ = false; // an entry or a fault was read: no header line from now on
};

/// Checks entries against the catalogue's rules as they come: file names of at most 12
/// characters, descriptions of at most 255, a known category (compared by its lower case),
/// each file once.
class EntryChecker {
public:
    explicit EntryChecker(const QStringList& categories);
    void Check(const ManifestEntry& entry);
    /// One message per fault, naming the line, in line order (a file listed twice last on its
    /// line).
    QStringList Faults();

private:
    QStringList known_;
    std::vector<std::pair<int, QString>> faults_;
    struct Name {
        std::string upper; // what two names are compared by
        std::string file;  // as the manifest spells it
        int line;
    };
    std::vector<Name> names_;
};

/// The same for entries all in memory.
QStringList CheckEntries(const std::vector<ManifestEntry>& entries, const QStringList& categories);

} // namespace catalog
