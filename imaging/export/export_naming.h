// SPDX-License-Identifier: MIT
#pragma once

#include <QSet>
#include <QString>

namespace imaging {

/// The files of one export get their names here: each named after its record's file name
/// with the written format's extension, a clash with a name given before (in any case, as a
/// folder on another system may not tell them apart) getting "-2", "-3" ...
class ExportNaming {
public:
    /// The stem of a record's file name: its extension dropped, characters a file name cannot
    /// hold replaced by '_'; "record-N" (N from 1) for a record without a name.
    static QString Stem(const QString& recordFileName, int recordNumber);
    /// A new name for the stem and extension (lower case, without the dot).
    QString Take(const QString& stem, const QString& extension);

private:
    QSet<QString> taken_; // lower case
};

} // namespace imaging
