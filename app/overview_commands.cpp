// SPDX-License-Identifier: MIT
// The overview mode of the main window: the grid of tiles in place of the list and the picture.
#include "app/data_module.h"
#include "app/main_window.h"
#include "app/overview_panel.h"
#include "controls/datalist/data_list.h"
#include "controls/overview/contact_sheet.h"
#include "controls/overview/overview_view.h"
#include "platform/core/cursors.h"
#include "platform/core/dialogs.h"
#include "platform/core/error_reporter.h"
#include "platform/ui/panel.h"
#include "platform/ui/printer.h"
#include "platform/ui/tab_control.h"

#include <QAction>
#include <QFormLayout>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QSpinBox>
#include <QTabBar>

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
    PrintContactSheet1->setEnabled(on);
    if (on) {
        // Shown, the grid fills itself or follows the current record.
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

namespace {

// The contact sheet's own page of the print dialog: how many pictures across and down.
class ContactSheetOptions : public QWidget {
public:
    ContactSheetOptions() {
        setObjectName(QStringLiteral("ContactSheetOptions"));
        setWindowTitle(QStringLiteral("Contact Sheet"));
        const QSettings settings(QStringLiteral("Vellamore"), QStringLiteral("vlmor"));
        columns = Spin("spnColumns", controls::ContactSheetLayout::kMaxColumns,
                       settings.value(QStringLiteral("ContactSheet/Columns"), 4).toInt());
        rows = Spin("spnRows", controls::ContactSheetLayout::kMaxRows,
                    settings.value(QStringLiteral("ContactSheet/Rows"), 5).toInt());
        auto* form = new QFormLayout(this);
        form->addRow(QStringLiteral("&Columns:"), columns);
        form->addRow(QStringLiteral("&Rows:"), rows);
    }
    controls::ContactSheetLayout Layout() const { return {columns->value(), rows->value()}; }
    void Remember() const {
        QSettings settings(QStringLiteral("Vellamore"), QStringLiteral("vlmor"));
        settings.setValue(QStringLiteral("ContactSheet/Columns"), columns->value());
        settings.setValue(QStringLiteral("ContactSheet/Rows"), rows->value());
    }

private:
    QSpinBox* Spin(const char* name, int most, int value) {
        auto* box = new QSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(1, most);
        box->setValue(value);
        return box;
    }
    QSpinBox* columns;
    QSpinBox* rows;
};

} // namespace

void TfMain::PrintContactSheet1Click() {
    platform::RunGuarded([this] {
        controls::TOverview* grid = pnlOverview->Grid();
        if (!InOverview() || !data_ || !data_->Table1->Active())
            return;
        std::vector<int> records = grid->SelectedRecords();
        if (records.size() < 2)
            records = grid->Model().Records();
        if (records.empty()) {
            platform::Dialogs().MessageBox(this, QStringLiteral("There are no pictures to print."),
                                           windowTitle(), platform::MB_ICONINFORMATION);
            return;
        }
        QString header = TabControl1->Tabs()->tabText(TabControl1->TabIndex());
        const QString find = grid->FindText().trimmed();
        if (!find.isEmpty())
            header += QStringLiteral(" \u2013 Find: ") + find;
        ContactSheetOptions options;
        platform::Printer().Device().setDocName(QStringLiteral("Contact sheet ") + header);
        if (!platform::Dialogs().PrintDialogWithOptions(this, {&options}))
            return;
        options.Remember();
        platform::WaitCursor busy;
        const controls::ContactSheet sheet(*decoder_, options.Layout(), header);
        data::TTable& table = *data_->Table1;
        sheet.Print(platform::Printer().Device(), int(records.size()), [&](int i) {
            const int record = records[size_t(i)];
            return controls::ContactSheetEntry{table.RecordText(record, *data_->Table1FileName),
                                               table.RecordText(record, *data_->Table1Description),
                                               table.RecordBlob(record, *data_->Table1GraphicFile)};
        });
    });
}
