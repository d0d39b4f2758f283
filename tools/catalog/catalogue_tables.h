// SPDX-License-Identifier: MIT
#pragma once

#include "tools/catalog/table_writer.h"

#include <QStringList>
#include <memory>

namespace catalog {

/// One picture of a catalogue.
struct CatalogueRecord {
    QString FileName;
    QString Description;
    QString Category;
    QByteArray Picture;
};

/// Writes a catalogue table record by record, encrypted with the table password.
/// The picture column is stored last, so reading the text columns never walks a
/// picture's pages.
class CatalogueWriter {
public:
    explicit CatalogueWriter(const QString& path);
    CatalogueWriter(const QString& path, const QByteArray& password);
    void Add(const CatalogueRecord& record);
    void Commit() { writer_.Commit(); }

private:
    TableWriter writer_;
};

/// Writes a category table: one record per name, in the given order.
void WriteCategoryTable(const QString& path, const QStringList& names);
void WriteCategoryTable(const QString& path, const QStringList& names, const QByteArray& password);

/// The table password as the store takes it.
QByteArray TablePassword();

} // namespace catalog
