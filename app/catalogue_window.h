// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

/// What the data module needs of the main window: the search state it filters by and the
/// category tabs it rebuilds. The main window implements it; tests use their own.
class CatalogueWindow {
public:
    virtual ~CatalogueWindow() = default;

    /// The text of the search box, read at the moment of filtering.
    virtual QString SearchText() const = 0;
    /// Whether the search toggle is down.
    virtual bool SearchToggleDown() const = 0;

    virtual void ClearTabs() = 0;
    virtual void AddTab(const QString& caption) = 0;
};
