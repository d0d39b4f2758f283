// SPDX-License-Identifier: MIT
#include "platform/ui/tab_control.h"

#include <QVBoxLayout>

namespace platform {

TTabControl::TTabControl(QWidget* parent)
    : QWidget(parent) {
    tabs_ = new QTabBar(this);
    tabs_->setExpanding(false);
    tabs_->setDrawBase(true);
    body_ = new QWidget(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tabs_);
    layout->addWidget(body_, 1);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
        if (programmatic_ == 0 && index >= 0)
            emit Change(index);
    });
}

void TTabControl::SetTabIndex(int index) {
    ++programmatic_;
    tabs_->setCurrentIndex(index);
    --programmatic_;
}

void TTabControl::ClearTabs() {
    ++programmatic_;
    while (tabs_->count() > 0)
        tabs_->removeTab(tabs_->count() - 1);
    --programmatic_;
}

void TTabControl::AddTab(const QString& caption) {
    ++programmatic_;
    tabs_->addTab(caption);
    --programmatic_;
}

} // namespace platform
