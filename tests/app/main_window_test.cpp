// SPDX-License-Identifier: MIT
#include "app/about_box.h"
#include "app/config.h"
#include "app/data_module.h"
#include "app/main_window.h"
#include "app/process_values.h"
#include "controls/datalist/data_list.h"
#include "controls/dbcontrols/db_navigator.h"
#include "controls/dbcontrols/db_text.h"
#include "data/session.h"
#include "platform/core/errors.h"
#include "platform/ui/application.h"
#include "platform/ui/help_viewer.h"
#include "platform/ui/tab_control.h"
#include "tests/app/main_window_fixture.h"
#include "tests/support/catalogue_fixture.h"
#include "tests/support/fake_dialogs.h"
#include "tests/support/qt_printers.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <gtest/gtest.h>

using controls::TNavigateBtn;

namespace {} // namespace

TEST_F(MainWindowTest, FirstActivationFillsTheTabsTheListAndTheLabels) {
    QTabBar* bar = window->TabControl1->Tabs();
    ASSERT_EQ(bar->count(), 4);
    EXPECT_EQ(bar->tabText(2), "Letter");
    EXPECT_EQ(Rows(), 30);
    EXPECT_EQ(window->DBDataList1->ItemIndex(), 0);
    EXPECT_EQ(FileLabel(), "PIC000.BMP");
    EXPECT_EQ(window->DBTextDescrip->text(), "Picture 0 of the border kind");
    EXPECT_EQ(window->ProgramDirCopy(), fixture.Dir());
    EXPECT_EQ(window->windowTitle(), ""); // the caption is set by start-up from the INI
    EXPECT_EQ(window->size(), QSize(640, 480));
    EXPECT_EQ(window->TabControl1->font().family(), "Arial");
    EXPECT_TRUE(window->TabControl1->font().bold());
    EXPECT_EQ(window->DBTextDescrip->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    // The description is drawn in navy.
    const QImage descrip = window->DBTextDescrip->grab().toImage();
    int navy = 0;
    for (int y = 0; y < descrip.height(); ++y)
        for (int x = 0; x < descrip.width(); ++x) {
            const QColor c = descrip.pixelColor(x, y);
            navy += c.blue() > 90 && c.red() < 70 && c.green() < 70;
        }
    EXPECT_GT(navy, 50);
    EXPECT_FALSE(window->moCategories->isVisible());
    EXPECT_EQ(window->moCategories->toPlainText().split('\n').size(), 7);
}

namespace {
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};
} // namespace

TEST_F(MainWindowTest, AFillPaintsTheListOnce) {
    QCoreApplication::processEvents();
    PaintCounter counter;
    window->DBDataList1->viewport()->installEventFilter(&counter);
    ClickTab(3);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 1);
    EXPECT_EQ(Rows(), 10);
}

TEST_F(MainWindowTest, ATabFiltersTheCatalogueAndRefillsTheList) {
    ClickTab(2);
    EXPECT_EQ(module->Table1->Filter(), "Category = 'letter'");
    EXPECT_EQ(Rows(), 10);
    EXPECT_EQ(window->DBDataList1->Items().Text(0), "PIC001.BMP");
    EXPECT_EQ(FileLabel(), "PIC001.BMP");
    ClickTab(0);
    EXPECT_EQ(module->Table1->Filter(), "");
    EXPECT_EQ(Rows(), 30);
}

TEST_F(MainWindowTest, EnterTheToggleAndTheMenuFollowTheSearchRules) {
    ClickTab(1); // border: records 0, 3, 6, ...
    window->edFilter->setText("1");
    EXPECT_EQ(Rows(), 10); // typing alone never re-filters
    QTest::keyClick(window->edFilter, Qt::Key_Return);
    EXPECT_TRUE(window->ToolFind->isChecked());
    EXPECT_TRUE(window->mnuEnableFilter->isChecked());
    EXPECT_EQ(Rows(), 4); // 12, 15, 18, 21 hold a 1 ("Picture 12 ...")
    EXPECT_EQ(FileLabel(), "PIC012.BMP");

    QTest::mouseClick(window->ToolFind, Qt::LeftButton); // off
    EXPECT_FALSE(window->mnuEnableFilter->isChecked());
    EXPECT_EQ(Rows(), 10);
    window->mnuEnableFilter->trigger(); // on again
    EXPECT_TRUE(window->ToolFind->isChecked());
    EXPECT_EQ(Rows(), 4);

    // Enter in an empty box with the toggle down: toggle up, mark off, the whole category.
    PressEnterIn("");
    EXPECT_FALSE(window->ToolFind->isChecked());
    EXPECT_FALSE(window->mnuEnableFilter->isChecked());
    EXPECT_EQ(Rows(), 10);

    // The menu with an empty box stays unchecked and the toggle up.
    window->mnuEnableFilter->trigger();
    EXPECT_FALSE(window->mnuEnableFilter->isChecked());
    EXPECT_FALSE(window->ToolFind->isChecked());
    // So does the toggle.
    QTest::mouseClick(window->ToolFind, Qt::LeftButton);
    EXPECT_FALSE(window->ToolFind->isChecked());
}

TEST_F(MainWindowTest, ClickingARowMovesTheCursorByTheRowDifference) {
    controls::TDBDataList* list = window->DBDataList1;
    const QRect row2 = list->RowRect(2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row2.center());
    EXPECT_EQ(FileLabel(), "PIC002.BMP");
    EXPECT_EQ(window->DBTextDescrip->text(), "Picture 2 of the misc kind");
    EXPECT_EQ(list->RememberedRow(), 2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row2.center()); // same row again
    EXPECT_EQ(FileLabel(), "PIC002.BMP");
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(FileLabel(), "PIC003.BMP");
    EXPECT_EQ(Rows(), 30); // moves scroll, they do not refill
}

TEST_F(MainWindowTest, TheNavigatorMovesTheCursorAndTheListFollows) {
    controls::TDBNavigator* nav = window->DBNavigator1;
    EXPECT_FALSE(Enabled(TNavigateBtn::nbFirst));
    EXPECT_FALSE(Enabled(TNavigateBtn::nbPrior));
    QTest::mouseClick(nav->Button(TNavigateBtn::nbNext), Qt::LeftButton);
    EXPECT_EQ(window->DBDataList1->ItemIndex(), 1);
    EXPECT_EQ(FileLabel(), "PIC001.BMP");
    EXPECT_TRUE(Enabled(TNavigateBtn::nbPrior));
    QTest::mouseClick(nav->Button(TNavigateBtn::nbLast), Qt::LeftButton);
    EXPECT_EQ(Rows(), 30);
    EXPECT_EQ(window->DBDataList1->ItemIndex(), 29);
    EXPECT_EQ(FileLabel(), "PIC029.BMP");
    EXPECT_FALSE(Enabled(TNavigateBtn::nbNext));
    EXPECT_FALSE(Enabled(TNavigateBtn::nbLast));
    // The last row is scrolled into view.
    controls::TDBDataList* list = window->DBDataList1;
    EXPECT_TRUE(list->viewport()->rect().intersects(list->RowRect(29)));
    QTest::mouseClick(nav->Button(TNavigateBtn::nbPrior), Qt::LeftButton);
    EXPECT_EQ(window->DBDataList1->ItemIndex(), 28);
    QTest::mouseClick(nav->Button(TNavigateBtn::nbFirst), Qt::LeftButton);
    EXPECT_EQ(window->DBDataList1->ItemIndex(), 0);
    EXPECT_FALSE(Enabled(TNavigateBtn::nbFirst));
}

TEST_F(MainWindowTest, ClosingTheAboutBoxActivatesTheWindowAgain) {
    PressEnterIn("2"); // search on over every category
    ClickTab(3);
    const int before = window->Activations();
    QTimer::singleShot(100, about.get(), [this] { about->BitBtn1->click(); });
    window->About1->trigger();
    QTRY_VERIFY(window->Activations() > before);
    EXPECT_EQ(window->TabControl1->Tabs()->count(), 4);
    EXPECT_EQ(module->Table1->Filter(), "");    // every category again
    EXPECT_TRUE(window->ToolFind->isChecked()); // the search survives
    for (int i = 0; i < Rows(); ++i)
        EXPECT_TRUE(window->DBDataList1->Items().Text(i).contains('2'));
    EXPECT_EQ(Rows(), 12); // 2, 12, 20-29
}

TEST_F(MainWindowTest, HelpCommandsOpenTheRightPage) {
    platform::HelpWindow& viewer = platform::HelpViewer();
    window->Contents1->trigger();
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_EQ(viewer.CurrentContext(), 1);
    EXPECT_EQ(viewer.Tabs()->currentIndex(), 0);
    window->SearchforHelpOn1->trigger();
    EXPECT_EQ(viewer.Tabs()->currentIndex(), 1);
    QTest::keyClicks(viewer.IndexKey(), "nav");
    EXPECT_EQ(viewer.IndexList()->currentItem()->text(), "navigator");
    QTest::keyClick(viewer.IndexKey(), Qt::Key_Return);
    EXPECT_EQ(viewer.CurrentContext(), 5);
    window->HowtoUseHelp1->trigger();
    EXPECT_EQ(viewer.CurrentContext(), -1);

    // F1: the focused control's number, or the nearest enclosing one.
    window->activateWindow();
    window->edFilter->setFocus();
    window->ContextHelp();
    EXPECT_EQ(viewer.CurrentContext(), 4);
    EXPECT_EQ(viewer.CurrentTitle(), "Searching the descriptions");
    window->DBDataList1->setFocus();
    window->ContextHelp();
    EXPECT_EQ(viewer.CurrentContext(), 6);
    viewer.hide();
}

TEST_F(MainWindowTest, ADataFieldNamingNoFieldIsReportedForTheList) {
    try {
        window->DBDataList1->SetDataField("Colour");
        FAIL() << "no error";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.Message(), "DBDataList1: Field 'Colour' not found");
    }
    EXPECT_EQ(Rows(), 0);
    window->DBDataList1->SetLines(-5);
    EXPECT_EQ(window->DBDataList1->Lines(), -1);
}

TEST_F(MainWindowTest, ExitClosesTheWindowWithoutAsking) {
    FakeDialogs dialogs;
    window->Exit1->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(window->Exit1->text(), "E&xit");
    EXPECT_EQ(window->mnuEnableFilter->text(), "&Use Search Filter");
    EXPECT_EQ(window->PrintSetup1->text(), "P&rint Setup...");
}

// The window activates again when the focus comes back from another window of the program
// (the help window); focus coming back from another program (no window of ours had it)
// does not count. The toolkit's focus notification is driven as the window system sends it.
TEST_F(MainWindowTest, FocusBackFromTheHelpWindowActivatesButFromAnotherProgramDoesNot) {
    platform::HelpWindow& viewer = platform::HelpViewer();
    window->Contents1->trigger();
    ASSERT_TRUE(viewer.windowHandle());
    QWindow* mine = window->windowHandle();
    ASSERT_TRUE(mine);

    const int before = window->Activations();
    emit qApp->focusWindowChanged(viewer.windowHandle());
    emit qApp->focusWindowChanged(mine);
    EXPECT_EQ(window->Activations(), before + 1) << "back from the help window";

    emit qApp->focusWindowChanged(nullptr); // another program has the focus
    emit qApp->focusWindowChanged(mine);
    EXPECT_EQ(window->Activations(), before + 1) << "back from another program";
    viewer.hide();
}

// A menu takes the keyboard while it is open, but it is part of the window: a command chosen
// from the File menu finds the tab and the record it was chosen for.
TEST_F(MainWindowTest, FocusBackFromAMenuDoesNotActivateTheWindowAgain) {
    ClickTab(1);
    QTest::keyClick(window->DBDataList1, Qt::Key_Down);
    const QString record = FileLabel();
    QWindow* mine = window->windowHandle();
    window->mnuFile->popup(window->mapToGlobal(QPoint(10, 10)));
    QWindow* menu = window->mnuFile->windowHandle();
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->type(), Qt::Popup);
    const int before = window->Activations();
    emit qApp->focusWindowChanged(mine);
    emit qApp->focusWindowChanged(menu);
    window->mnuFile->hide();
    emit qApp->focusWindowChanged(mine);
    EXPECT_EQ(window->Activations(), before) << "back from the File menu";
    EXPECT_EQ(window->TabControl1->Tabs()->currentIndex(), 1);
    EXPECT_EQ(FileLabel(), record);
}
