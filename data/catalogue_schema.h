// SPDX-License-Identifier: MIT
#pragma once

#include "platform/core/text_case.h"

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

/// The main window's search: a record passes when its description holds the search text,
/// both in upper case (`upperSearch` is given so already).
inline bool MatchesSearch(QAnyStringView description, const QString& upperSearch) {
    return platform::UpperCaseContains(description, upperSearch);
}

/// The filter that shows one category's records (its tab caption, any case).
inline QString CategoryFilter(const QString& caption) {
    return QStringLiteral("Category = '") + platform::LowerCase(caption) + u'\'';
}

} // namespace data::catalogue
