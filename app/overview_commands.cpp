// SPDX-License-Identifier: MIT
// The overview mode of the main window: the grid of tiles in place of the list and the picture.
#include "app/main_window.h"
#include "app/overview_panel.h"
#include "controls/datalist/data_list.h"
#include "controls/overview/overview_view.h"
#include "platform/core/error_reporter.h"
#include "platform/ui/panel.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

bool TfMain::InOverview() const {
    return pnlOverview->isVisible();
}

void TfMain::SetOverview(bool on) {
    mnuOverview->setChecked(on);
    if (on == InOverview())
        return;
    // The tabs stay; under them either the grid or the list with the picture.
    pnlLeft->setVisible(!on);
    pnlRight->setVisible(!on);
    pnlOverview->setVisible(on);
    if (on) {
        pnlOverview->Grid()->Refill();
        pnlOverview->Grid()->FollowRecord(pnlOverview->Grid()->CurrentRecord());
        pnlOverview->Grid()->setFocus(Qt::OtherFocusReason);
    } else {
        DBDataList1->setFocus(Qt::OtherFocusReason);
    }
}

void TfMain::mnuOverviewClick() {
    // The check mark has already flipped.
    SetOverview(mnuOverview->isChecked());
}

void TfMain::mnuClearCacheClick() {
    platform::RunGuarded([this] { pnlOverview->ClearCaches(); });
}

void TfMain::OverviewMenu(const QPoint& globalPos) {
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("mnuTile"));
    QAction* show = menu.addAction(QStringLiteral("&Show"));
    QAction* copy = menu.addAction(QStringLiteral("&Copy"));
    QAction* save = menu.addAction(QStringLiteral("Save &As..."));
    menu.setDefaultAction(show);
    QAction* chosen = menu.exec(globalPos);
    // The tile's record is the current one: the main window's commands act on it.
    if (chosen == show)
        SetOverview(false);
    else if (chosen == copy)
        mnuCopyClick();
    else if (chosen == save)
        SaveAs1Click();
}
