// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

namespace data {
class TDataSet;
class TField;
} // namespace data

namespace bench {

/// Writes a catalogue table of `records` pictures with varied descriptions and blobs of
/// `blobBytes` each, and a category table beside it. Returns the descriptions written.
QStringList WriteBenchCatalogue(const QString& dir, int records, int blobBytes);

/// Writes what `vlmor-catalog build` makes the same catalogue from: a folder "pictures" with
/// one file a record, "manifest.csv" and "categories.txt". False when a file cannot be written.
bool WriteBenchSources(const QString& dir, int records, int blobBytes);

/// Walks every visible record as a list fill would: the position marked, the links suspended,
/// `field` read at each record, then back to the mark. Returns the records walked.
int WalkVisible(data::TDataSet& records, const data::TField& field);

/// The resident set size of this process in bytes.
long long ResidentBytes();

} // namespace bench
