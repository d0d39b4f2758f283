// SPDX-License-Identifier: MIT
#pragma once

#include <QTabBar>
#include <QWidget>

namespace platform {

/// A row of tabs over one shared body: changing the tab changes what the body shows by
/// the program's own doing, not by switching pages.
class TTabControl : public QWidget {
    Q_OBJECT
public:
    explicit TTabControl(QWidget* parent = nullptr);

    QTabBar* Tabs() const { return tabs_; }
    QWidget* Body() const { return body_; }
    int TabIndex() const { return tabs_->currentIndex(); }
    void SetTabIndex(int index);
    /// Tabs changed by the program do not report a change.
    void ClearTabs();
    void AddTab(const QString& caption);

signals:
    /// The user selected another tab.
    void Change(int index);

private:
    QTabBar* tabs_;
    QWidget* body_;
    int programmatic_ = 0;
};

} // namespace platform
