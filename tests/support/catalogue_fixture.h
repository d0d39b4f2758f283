// SPDX-License-Identifier: MIT
#pragma once

#include "tools/catalog/catalogue_tables.h"

#include <QTemporaryDir>
#include <vector>

/// A temporary directory holding catalogue and category tables made for one test.
class CatalogueFixture {
public:
    CatalogueFixture();

    QString Dir() const { return dir_.path(); }
    QString Path(const QString& name) const { return dir_.filePath(name); }

    /// Records "PIC000.BMP" ... with descriptions naming their number and category, the
    /// categories taken in turn from the list, and a small BMP picture of its own colour each.
    static std::vector<catalog::CatalogueRecord>
    Records(int count, const QStringList& categories = {"border", "letter", "misc"});

    /// Writes a catalogue table and returns its path.
    QString WriteCatalogue(const QString& name,
                           const std::vector<catalog::CatalogueRecord>& records);
    QString WriteCategories(const QString& name, const QStringList& names);

private:
    QTemporaryDir dir_;
};
