// SPDX-License-Identifier: MIT
#pragma once

#include "data/table.h"

#include <QStringList>

namespace catalog {

/// A built catalogue opened for reading as the program reads it: its tab captions (those with
/// a category record) and its record table.
class CatalogueReader {
public:
    /// `location`: a folder holding the tables ("vlmor.db" in it), or a catalogue table
    /// file. Raises the store's error when a table cannot be opened.
    explicit CatalogueReader(const QString& location);

    const QStringList& Captions() const { return captions_; }
    data::TTable& Records() { return records_; }

private:
    data::TTable categories_, records_;
    QStringList captions_;
};

} // namespace catalog
