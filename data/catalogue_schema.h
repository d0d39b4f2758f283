// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// What the program and its catalogue builder agree on about the two tables.
namespace data::catalogue {

/// The password of both tables, given to the session before they open.
inline const QString kTablePassword = QStringLiteral("tamsin###");

inline const QString kFileName = QStringLiteral("FileName");
inline const QString kDescription = QStringLiteral("Description");
inline const QString kGraphicFile = QStringLiteral("GraphicFile");
inline const QString kCategory = QStringLiteral("Category");
inline const QString kCategoryName = QStringLiteral("Category Name");

constexpr int kFileNameSize = 12;
constexpr int kDescriptionSize = 255;
constexpr int kCategorySize = 12;

inline const QString kCategoryTableFile = QStringLiteral("category.db");

} // namespace data::catalogue
