// SPDX-License-Identifier: MIT
#pragma once

#include "app/catalogue_window.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QToolBar;
class QToolButton;
class QWindow;
class TAboutBox;
class TOverviewPanel;
class TDataModule1;
namespace controls {
class TDBDataList;
class TDBNavigator;
class TDBText;
class TPDBMultiImage;
class TILDBMultiImageToolBar;
} // namespace controls
namespace imaging {
class Decoder;
class ReadAhead;
} // namespace imaging
namespace platform {
class TPanel;
class TTabControl;
} // namespace platform

/// The program's main window: category tabs, the file name and description, the search box
/// and toggle, the list and the navigator on the left, the picture on the right.
class TfMain : public QMainWindow, public CatalogueWindow {
    Q_OBJECT
public:
    explicit TfMain(QWidget* parent = nullptr);
    ~TfMain() override;

    /// Binds the data-aware controls to the module's catalogue source.
    void SetDataModule(TDataModule1* module);
    void SetAboutBox(TAboutBox* about);

    // The search state and the tabs, as the data module reads and rebuilds them.
    QString SearchText() const override;
    bool SearchToggleDown() const override;
    void ClearTabs() override;
    void AddTab(const QString& caption) override;

    /// The copy of the program directory stored at every activation.
    const QString& ProgramDirCopy() const { return programDir_; }
    int Activations() const { return activations_; }

    // Handlers.
    void FormActivate();
    void TabControl1Change(int index);
    void edFilterKeyUp(int key);
    void ToolFindClick();
    void mnuEnableFilterClick();
    void Contents1Click();
    void SearchforHelpOn1Click();
    void HowtoUseHelp1Click();
    void About1Click();
    void Exit1Click();
    // The picture commands (picture_commands.cpp).
    void SaveAs1Click();
    void mnuCopyClick();
    void Print1Click();
    /// The pages Print would make, shown before they are printed.
    void PrintPreview1Click();
    void PrintSetup1Click();
    /// F1: the topic of the highlighted menu item or of the focused control.
    void ContextHelp();
    // The overview mode (overview_commands.cpp).
    /// Shows the grid of tiles under the tabs instead of the list and the picture, or back.
    void SetOverview(bool on);
    bool InOverview() const;
    void mnuOverviewClick();
    void mnuClearCacheClick();
    /// Prints the grid's records (its selection, when several tiles are selected) several to
    /// a page.
    void PrintContactSheet1Click();
    /// A tile's context menu: Show, Copy, Save As for its record (the current one by then).
    void OverviewMenu(const QPoint& globalPos);
    // Dragging pictures out (drag_commands.cpp).
    /// Drags a record's picture into another program (its file, a PNG, an SVG).
    void DragPicture(int record);
    /// The list's current row, pressed and dragged.
    void DragCurrentRow();
    // Exporting pictures (export_commands.cpp).
    /// Writes the pictures of the tab and search (or of the overview's selection) into a folder.
    void ExportPictures1Click();

    // Controls.
    QToolBar* ToolBar1;
    QToolButton* ToolSave;
    QToolButton* ToolClip;
    QToolButton* ToolPrint;
    QToolButton* ToolHelp;
    platform::TTabControl* TabControl1;
    platform::TPanel* pnlLeft;
    platform::TPanel* Panel2;
    controls::TDBText* DBTextFile;
    platform::TPanel* Panel1;
    controls::TDBText* DBTextDescrip;
    platform::TPanel* pnlFind;
    QWidget* ToolBar2; // the search button and box
    QToolButton* ToolFind;
    QLineEdit* edFilter;
    platform::TPanel* pnlList;
    controls::TDBDataList* DBDataList1;
    platform::TPanel* pnlBottom;
    controls::TDBNavigator* DBNavigator1;
    platform::TPanel* pnlRight;
    platform::TPanel* pnlTool;
    controls::TILDBMultiImageToolBar* ILDBMultiImageToolBar1;
    platform::TPanel* pnlImage;
    controls::TPDBMultiImage* PDBMultiImage1;
    QPlainTextEdit* moCategories;

    // Menu.
    QMenu* mnuFile;
    QAction* SaveAs1;
    QAction* mnuCopy;
    QAction* Print1;
    QAction* PrintPreview1;
    QAction* PrintContactSheet1;
    QAction* ExportPictures1;
    QAction* PrintSetup1;
    QAction* Exit1;
    QMenu* mnuSearch;
    QAction* mnuEnableFilter;
    QMenu* mnuView;
    QAction* mnuOverview;
    QAction* mnuClearCache;
    TOverviewPanel* pnlOverview;
    QMenu* Help1;
    QAction* Contents1;
    QAction* SearchforHelpOn1;
    QAction* HowtoUseHelp1;
    QAction* About1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void BuildImageView();
    void BuildImageToolbar();
    void BuildMenu();
    void BuildOverview();
    void Refilter();
    void FocusWindowChanged(QWindow* now);
    void Help(unsigned command, int data);
    /// The current record's picture file name ("" without an open table).
    QString CurrentFileName() const;
    /// Asks for the pictures of the records after and before the current one, so moving to
    /// them shows a picture already decoded.
    void ReadNeighbours();

    TDataModule1* data_ = nullptr;
    QPointer<TAboutBox> about_;
    QString programDir_;
    QPointer<QWindow> lastFocusWindow_;
    bool shownOnce_ = false;
    int activations_ = 0;
    std::unique_ptr<imaging::Decoder> decoder_;
    std::unique_ptr<imaging::ReadAhead> readAhead_; // over decoder_, which outlives it
};
