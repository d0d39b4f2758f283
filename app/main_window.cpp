// SPDX-License-Identifier: MIT
#include "app/main_window.h"

#include "app/about_box.h"
#include "app/data_module.h"
#include "app/help_context.h"
#include "app/overview_panel.h"
#include "app/window_font.h"
#include "controls/datalist/data_list.h"
#include "controls/dbcontrols/db_navigator.h"
#include "controls/dbcontrols/db_text.h"
#include "controls/imageview/db_multi_image.h"
#include "controls/overview/overview_view.h"
#include "platform/core/error_reporter.h"
#include "platform/ui/application.h"
#include "platform/ui/help_viewer.h"
#include "platform/ui/tab_control.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

TfMain::TfMain(QWidget* parent)
    : QMainWindow(parent) {
    setObjectName(QStringLiteral("fMain"));
    setFont(FormFont());
    setBackgroundRole(QPalette::Button); // button face
    BuildControls();
    BuildMenu();
    resize(640, 480);
    CentreOnScreen(this);

    connect(TabControl1, &platform::TTabControl::Change, this, &TfMain::TabControl1Change);
    connect(ToolFind, &QToolButton::clicked, this, &TfMain::ToolFindClick);
    connect(mnuEnableFilter, &QAction::triggered, this, &TfMain::mnuEnableFilterClick);
    connect(ToolHelp, &QToolButton::clicked, this, &TfMain::Contents1Click);
    connect(Contents1, &QAction::triggered, this, &TfMain::Contents1Click);
    connect(SearchforHelpOn1, &QAction::triggered, this, &TfMain::SearchforHelpOn1Click);
    connect(HowtoUseHelp1, &QAction::triggered, this, &TfMain::HowtoUseHelp1Click);
    connect(About1, &QAction::triggered, this, &TfMain::About1Click);
    connect(Exit1, &QAction::triggered, this, &TfMain::Exit1Click);
    connect(SaveAs1, &QAction::triggered, this, &TfMain::SaveAs1Click);
    connect(mnuCopy, &QAction::triggered, this, &TfMain::mnuCopyClick);
    connect(Print1, &QAction::triggered, this, &TfMain::Print1Click);
    connect(PrintPreview1, &QAction::triggered, this, &TfMain::PrintPreview1Click);
    connect(PrintSetup1, &QAction::triggered, this, &TfMain::PrintSetup1Click);
    connect(ToolSave, &QToolButton::clicked, this, &TfMain::SaveAs1Click);
    connect(ToolClip, &QToolButton::clicked, this, &TfMain::mnuCopyClick);
    connect(ToolPrint, &QToolButton::clicked, this, &TfMain::Print1Click);
    connect(mnuOverview, &QAction::triggered, this, &TfMain::mnuOverviewClick);
    connect(mnuClearCache, &QAction::triggered, this, &TfMain::mnuClearCacheClick);
    connect(PrintContactSheet1, &QAction::triggered, this, &TfMain::PrintContactSheet1Click);
    connect(ExportPictures1, &QAction::triggered, this, &TfMain::ExportPictures1Click);
    controls::TOverview* grid = pnlOverview->Grid();
    connect(grid, &controls::TOverview::ShowRequested, this, [this] { SetOverview(false); });
    connect(grid, &controls::TOverview::LeaveRequested, this, [this] { SetOverview(false); });
    connect(grid, &controls::TOverview::ContextMenuAt, this,
            [this](int, const QPoint& at) { OverviewMenu(at); });
    connect(grid, &controls::TOverview::DragAsked, this, &TfMain::DragPicture);
    DBDataList1->OnDragOut = [this](int) { DragCurrentRow(); };
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TfMain::FocusWindowChanged);
    edFilter->installEventFilter(this);
    qApp->installEventFilter(this);
}

TfMain::~TfMain() {
    qApp->removeEventFilter(this);
    delete pnlOverview; // its tiles are decoded by decoder_, which goes with this window
    pnlOverview = nullptr;
    if (PDBMultiImage1) {
        PDBMultiImage1->SetReadAhead(nullptr);
        PDBMultiImage1->SetDecoder(nullptr);
    }
    readAhead_.reset();
}

void TfMain::ReadNeighbours() {
    if (!data_ || !data_->Table1->Active()) {
        readAhead_->Clear();
        return;
    }
    std::vector<imaging::DecodeRequest> wanted;
    for (int offset : {1, -1}) {
        const QByteArray blob = data_->Table1->NeighbourBlob(*data_->Table1GraphicFile, offset);
        if (!blob.isEmpty())
            wanted.push_back(PDBMultiImage1->ReadRequest(blob));
    }
    readAhead_->Want(wanted);
}

void TfMain::SetDataModule(TDataModule1* module) {
    data_ = module;
    data::TDataSource* source = module ? module->DataSource1 : nullptr;
    DBTextFile->SetDataSource(source);
    DBTextDescrip->SetDataSource(source);
    DBDataList1->SetDataField(QStringLiteral("FileName"));
    DBDataList1->SetDataSource(source);
    DBNavigator1->SetDataSource(source);
    PDBMultiImage1->SetDataSource(source);
    pnlOverview->SetDataModule(module);
}

void TfMain::SetAboutBox(TAboutBox* about) {
    about_ = about;
}

QString TfMain::SearchText() const {
    return edFilter->text();
}

bool TfMain::SearchToggleDown() const {
    return ToolFind->isChecked();
}

void TfMain::ClearTabs() {
    TabControl1->ClearTabs();
}

void TfMain::AddTab(const QString& caption) {
    TabControl1->AddTab(caption);
}

// ---- Activation --------------------------------------------------------------------------

void TfMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        // The first show makes the window the program's active window.
        shownOnce_ = true;
        QTimer::singleShot(0, this, &TfMain::FormActivate);
    }
}

// The window becomes the program's active window again when the focus comes back to it
// from another window of the program; coming back from another program does not count. A
// menu, a list's drop-down or a tool tip is part of the window it opens from, not a window
// of its own: a command chosen from the File menu must find the record it was chosen for.
void TfMain::FocusWindowChanged(QWindow* now) {
    if (now && (now->type() == Qt::Popup || now->type() == Qt::ToolTip))
        return;
    const QWindow* mine = windowHandle();
    const QWindow* aboutWindow = about_ ? about_->windowHandle() : nullptr;
    if (now && now == mine && lastFocusWindow_ && lastFocusWindow_ != mine &&
        lastFocusWindow_ != aboutWindow && shownOnce_)
        FormActivate();
    lastFocusWindow_ = now;
}

void TfMain::FormActivate() {
    ++activations_;
    platform::RunGuarded([this] {
        if (!data_)
            return;
        data_->Activate(*this);
        programDir_ = data_->ProgramDirectory();
        pnlOverview->CatalogueOpened();
    });
}

void TfMain::TabControl1Change(int index) {
    platform::RunGuarded([this, index] {
        if (data_)
            data_->CategoryChange(index, TabControl1->Tabs()->tabText(index));
    });
}

// ---- Search ------------------------------------------------------------------------------

void TfMain::Refilter() {
    platform::RunGuarded([this] {
        if (data_)
            data_->Table1->SetFiltered(true);
    });
}

void TfMain::edFilterKeyUp(int key) {
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return;
    ToolFind->setChecked(!edFilter->text().isEmpty());
    mnuEnableFilter->setChecked(ToolFind->isChecked());
    Refilter();
}

void TfMain::ToolFindClick() {
    if (edFilter->text().isEmpty())
        ToolFind->setChecked(false);
    mnuEnableFilter->setChecked(ToolFind->isChecked());
    Refilter();
}

void TfMain::mnuEnableFilterClick() {
    // The menu item's check mark has already flipped.
    if (edFilter->text().isEmpty())
        mnuEnableFilter->setChecked(false);
    ToolFind->setChecked(mnuEnableFilter->isChecked());
    Refilter();
}

// ---- Help, About, Exit -------------------------------------------------------------------

void TfMain::Help(unsigned command, int context) {
    const auto* app = platform::TApplication::Instance();
    platform::WinHelp(app ? app->HelpFile() : QString(), command, static_cast<quintptr>(context));
}

void TfMain::Contents1Click() {
    Help(platform::HELP_FINDER, 0);
}

void TfMain::SearchforHelpOn1Click() {
    Help(platform::HELP_PARTIALKEY, 0);
}

void TfMain::HowtoUseHelp1Click() {
    Help(platform::HELP_HELPONHELP, 0);
}

void TfMain::ContextHelp() {
    int context = 0;
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
        context = HelpContext(menu->activeAction());
    else
        context = EnclosingHelpContext(QApplication::focusWidget());
    if (context > 0)
        Help(platform::HELP_CONTEXT, context);
    else
        Help(platform::HELP_FINDER, 0);
}

void TfMain::About1Click() {
    if (!about_)
        return;
    about_->exec();
    // Closing the About window gives the focus back to this window and activates it again.
    activateWindow();
    FormActivate();
}

void TfMain::Exit1Click() {
    close();
}

bool TfMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease && watched == edFilter) {
        edFilterKeyUp(static_cast<QKeyEvent*>(event)->key());
    } else if (event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        // F1 belongs to this program's windows: the main window and its menus.
        QWidget* target = qobject_cast<QWidget*>(watched);
        if (target && (target->window() == this || qobject_cast<QMenu*>(target))) {
            ContextHelp();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
