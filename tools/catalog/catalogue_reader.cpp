// SPDX-License-Identifier: MIT
#include "tools/catalog/catalogue_reader.h"

#include "data/catalogue_schema.h"
#include "data/field.h"
#include "data/session.h"

#include <QFileInfo>

namespace catalog {

namespace cat = data::catalogue;

CatalogueReader::CatalogueReader(const QString& location) {
    data::Session().AddPassword(cat::kTablePassword);
    const QFileInfo info(location);
    const QString dir = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    const QString catalogue = info.isDir() ? QStringLiteral("vlmor.db") : info.fileName();
    categories_.setObjectName(QStringLiteral("category"));
    categories_.SetDatabaseName(dir);
    categories_.SetTableName(cat::kCategoryTableFile);
    categories_.Open();
    for (categories_.GoFirst(); !categories_.AtEnd(); categories_.GoNext())
        if (categories_.CountRecords() > 0)
            captions_ << categories_.LookupField(cat::kCategoryName)->AsString();
    records_.setObjectName(QStringLiteral("catalogue"));
    records_.SetDatabaseName(dir);
    records_.SetTableName(catalogue);
    records_.Open();
}

} // namespace catalog
