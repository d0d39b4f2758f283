// SPDX-License-Identifier: MIT
#include "tools/catalog/catalogue_tables.h"

#include "data/catalogue_schema.h"
#include "data/session.h"

namespace catalog {

namespace cat = data::catalogue;

namespace {

QString Varchar(int size) {
    return QStringLiteral("VARCHAR(%1)").arg(size);
}

std::vector<ColumnDef> CatalogueColumns() {
    return {{cat::kFileName, Varchar(cat::kFileNameSize)},
            {cat::kDescription, Varchar(cat::kDescriptionSize)},
            {cat::kCategory, Varchar(cat::kCategorySize)},
            {cat::kGraphicFile, QStringLiteral("BLOB")}};
}

} // namespace

QByteArray TablePassword() {
    return data::TSession::StorePassword(cat::kTablePassword);
}

CatalogueWriter::CatalogueWriter(const QString& path)
    : CatalogueWriter(path, TablePassword()) {}

CatalogueWriter::CatalogueWriter(const QString& path, const QByteArray& password)
    : writer_(path, QStringLiteral("Catalogue"), CatalogueColumns(), password) {}

void CatalogueWriter::Add(const CatalogueRecord& record) {
    writer_.AddRow({record.FileName, record.Description, record.Category, record.Picture});
}

void WriteCategoryTable(const QString& path, const QStringList& names) {
    WriteCategoryTable(path, names, TablePassword());
}

void WriteCategoryTable(const QString& path, const QStringList& names, const QByteArray& password) {
    TableWriter writer(path, QStringLiteral("Category"),
                       {{cat::kCategoryName, Varchar(cat::kCategorySize)}}, password);
    for (const QString& name : names)
        writer.AddRow({name});
    writer.Commit();
}

} // namespace catalog
