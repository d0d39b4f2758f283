// SPDX-License-Identifier: MIT
// The image toolbar: its buttons, layout, hints, states and actions on a real image view.
#include "controls/imagetoolbar/image_toolbar.h"
#include "controls/imagetoolbar/print_options.h"
#include "controls/imagetoolbar/toolbar_button.h"
#include "controls/imagetoolbar/toolbar_glyphs.h"
#include "imaging/error_invalid.h"
#include "imaging/undo_ring.h"
#include "tests/controls/image_view_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace controls;

namespace {

class Toolbar : public ImageViewFixture {
protected:
    void Attach() {
        Bind({Encoded(Solid({40, 30}, qRgb(200, 30, 30)), "PNG")}, {200, 150});
        bar = std::make_unique<TILDBMultiImageToolBar>();
        bar->SetDBMultiImage(view.get());
        bar->show();
    }
    bool Enabled(int kind) const { return bar->Buttons(kind)->isEnabled(); }
    bool Pressed(int kind) const { return bar->Buttons(kind)->isChecked(); }
    std::unique_ptr<TILDBMultiImageToolBar> bar;
};

void Key(QWidget* w, int key) {
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

TEST(ToolbarButtons, TwentyNamedButtonsWithTheirHintsAndGlyphsStartDisabled) {
    TILDBMultiImageToolBar bar;
    EXPECT_EQ(bar.size(), QSize(241, 25));
    EXPECT_EQ(bar.Buttons(0)->objectName(), "ILTB_OPEN");
    EXPECT_EQ(bar.Buttons(19)->objectName(), "ILTB_EFFECTS");
    EXPECT_EQ(bar.Buttons(ibdbiRotate90)->toolTip(), QString::fromUtf8("Rotate 90\u00BA"));
    EXPECT_EQ(bar.Buttons(ibdbiZoomOut)->toolTip(), "Zoom out");
    for (int k = 0; k < kToolbarButtonCount; ++k) {
        SCOPED_TRACE(k);
        EXPECT_FALSE(bar.Buttons(k)->isEnabled());
        EXPECT_EQ(bar.Buttons(k)->Index(), k);
        const QImage glyphs = ToolbarGlyphResource(bar.Buttons(k)->objectName());
        ASSERT_FALSE(glyphs.isNull());
        EXPECT_LE(glyphs.colorCount(), 16) << "a 16-colour bitmap";
        const QString stem = bar.Buttons(k)->objectName().mid(5);
        const QSize expected = stem == "UNDO"                                  ? QSize(30, 14)
                               : stem == "CENTER" || stem.startsWith("ROTATE") ? QSize(28, 14)
                                                                               : QSize(28, 13);
        EXPECT_EQ(glyphs.size(), expected);
        // Something is drawn in both halves, and the two differ.
        const QImage normal = glyphs.copy(0, 0, glyphs.width() / 2, glyphs.height());
        const QImage disabled =
            glyphs.copy(glyphs.width() / 2, 0, glyphs.width() / 2, glyphs.height());
        EXPECT_NE(normal, disabled);
    }
    EXPECT_TRUE(bar.Buttons(ibdbiPanZoom)->isCheckable());
    EXPECT_FALSE(bar.Buttons(ibdbiZoomIn)->isCheckable());
    EXPECT_EQ(ToolbarGlyphResource("ILTB_NOSUCH").isNull(), true);
    EXPECT_EQ(ToolbarGlyphResource("ILTB_SAVE", 2).size(), QSize(56, 26)) << "sharp at density 2";
}

TEST(ToolbarButtons, LayoutSnapsToWholeButtonsOrSpreadsTheLeftOverPixels) {
    TILDBMultiImageToolBar bar;
    bar.SetVisibleButtons({ibdbiZoomIn, ibdbiZoomOut, ibdbiBestFit});
    int w = 100, h = 25;
    bar.ArrangeButtons(w, h);
    EXPECT_EQ(bar.ButtonWidth(), 33);
    EXPECT_EQ(w, 99);
    bar.Align = TToolbarAlign::alTop;
    w = 100;
    bar.resize(100, 25);
    bar.ArrangeButtons(w, h);
    EXPECT_EQ(w, 100);
    EXPECT_EQ(bar.Buttons(ibdbiZoomIn)->width(), 33);
    EXPECT_EQ(bar.Buttons(ibdbiZoomOut)->width(), 34) << "the extra pixel to the middle one";
    EXPECT_EQ(bar.Buttons(ibdbiBestFit)->width(), 33);
    EXPECT_EQ(bar.Buttons(ibdbiBestFit)->x(), 67);
    EXPECT_GT(bar.Buttons(ibdbiOpen)->x(), bar.width()) << "hidden ones lie beyond the edge";
    w = 10;
    h = 5;
    bar.ArrangeButtons(w, h);
    EXPECT_EQ(QSize(w, h), QSize(60, 18)) << "at least 20 x 18 a button";
}

TEST(ToolbarButtons, HintsEqualToTheDefaultsLeaveNoCustomListAndEmptyLinesKeepTheDefault) {
    TILDBMultiImageToolBar bar;
    const QStringList defaults = bar.DefaultHints();
    ASSERT_EQ(defaults.size(), 20);
    bar.SetHints(defaults);
    EXPECT_EQ(bar.Hints(), defaults);
    bar.SetHints({"Open a picture", "", "Print it"});
    EXPECT_EQ(bar.Buttons(ibdbiOpen)->toolTip(), "Open a picture");
    EXPECT_EQ(bar.Buttons(ibdbiSave)->toolTip(), "Save file");
    EXPECT_EQ(bar.Buttons(ibdbiPrint)->toolTip(), "Print it");
    EXPECT_EQ(bar.Hints().size(), 3);
}

TEST_F(Toolbar, StatesFollowTheViewTheClipboardAndTheUndoRing) {
    Attach();
    view->SetStretchRatio(true);
    bar->RefreshButtons();
    EXPECT_TRUE(Enabled(ibdbiOpen));
    EXPECT_TRUE(Enabled(ibdbiBestFit));
    EXPECT_FALSE(Enabled(ibdbiPanZoom));
    EXPECT_FALSE(Enabled(ibdbiZoomIn));
    EXPECT_FALSE(Enabled(ibdbiZoomOut));
    EXPECT_TRUE(Pressed(ibdbiBestFit));
    QGuiApplication::clipboard()->setText("text only");
    imaging::TBitmap drained;
    while (imaging::UndoRing::Shared().UndoAvailable())
        imaging::UndoRing::Shared().Pop(drained);
    bar->RefreshButtons();
    EXPECT_FALSE(Enabled(ibdbiPaste));
    EXPECT_FALSE(Enabled(ibdbiUndo));
    view->CopyToClipboard();
    view->InvertImage(); // pushes the undo copy
    // The view's state message brings the buttons along.
    view->SetStretchRatio(false);
    Deliver();
    EXPECT_TRUE(Enabled(ibdbiPaste));
    EXPECT_TRUE(Enabled(ibdbiUndo));
    EXPECT_TRUE(Enabled(ibdbiZoomIn));
    EXPECT_FALSE(Pressed(ibdbiBestFit));
    view->setEnabled(false);
    bar->RefreshButtons();
    EXPECT_FALSE(Enabled(ibdbiCopy));
    bar->SetDBMultiImage(nullptr);
    EXPECT_FALSE(Enabled(ibdbiBestFit));
}

TEST_F(Toolbar, ClicksRunTheViewsOperationsAndBeforeActionCanRefuse) {
    Attach();
    view->SetStretchRatio(false);
    bar->RefreshButtons();
    std::vector<int> before, after;
    bool allow = false;
    bar->BeforeAction = [&](TILDBMultiImageToolBar*, TILDBMultiImageToolBarBtn b, bool& go) {
        before.push_back(b);
        go = allow;
    };
    bar->AfterAction = [&](TILDBMultiImageToolBar*, TILDBMultiImageToolBarBtn b) {
        after.push_back(b);
    };
    const double zoom = view->ZoomFactor();
    bar->Buttons(ibdbiZoomIn)->click();
    EXPECT_EQ(view->ZoomFactor(), zoom) << "refused";
    EXPECT_TRUE(after.empty());
    allow = true;
    bar->Buttons(ibdbiZoomIn)->click();
    EXPECT_DOUBLE_EQ(view->ZoomFactor(), zoom * 1.1);
    EXPECT_EQ(after, std::vector<int>{ibdbiZoomIn});
    bar->Buttons(ibdbiBestFit)->click();
    EXPECT_TRUE(view->StretchRatio());
    EXPECT_FALSE(Enabled(ibdbiZoomIn)) << "refreshed after the action";
    bar->Buttons(ibdbiRotate90)->click();
    EXPECT_EQ(view->Picture.Size(), QSize(30, 40));
    EXPECT_EQ(platform::Screen::Cursor(), platform::crDefault);
    bar->Buttons(ibdbiPanZoom)->setEnabled(true);
    const bool panning = Pressed(ibdbiPanZoom);
    EXPECT_EQ(panning, !view->AllowRubberBand());
    bar->Buttons(ibdbiPanZoom)->click();
    EXPECT_EQ(view->AllowRubberBand(), panning) << "released: a rubber band; pressed: panning";
    // Scanning needs a window to own its dialogs.
    EXPECT_THROW(bar->ButtonAction(bar->Buttons(ibdbiScan), ibdbiScan), imaging::ErrorInvalid);
}

TEST_F(Toolbar, SaveWritesByExtensionAndTheRawBlobOnlyForItsOwnFormat) {
    Attach();
    TMMSaveDialog save;
    bar->MMSaveDialog = &save;
    const QString png = dir.filePath("a.png"), jpeg = dir.filePath("a.jpeg"),
                  scm = dir.filePath("a.scm");
    dialogs.saveAnswers = {png, jpeg, scm};
    for (int i = 0; i < 3; ++i)
        bar->Buttons(ibdbiSave)->click();
    EXPECT_TRUE(QFile::exists(png));
    EXPECT_FALSE(QFile::exists(jpeg)) << ".jpeg writes nothing";
    EXPECT_FALSE(QFile::exists(scm)) << "the blob is no SCM";
    EXPECT_TRUE(dialogs.boxes.empty());
    bar->MMSaveDialog = nullptr;
    bar->Buttons(ibdbiSave)->click();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text,
              "Toolbar. Assign either a MMSaveDialog or a BeforeAction event to save a file");
}

TEST_F(Toolbar, ArrowsSkipHiddenKindsAndSpaceRunsTheMarkedButton) {
    Attach();
    bar->SetTabStop(true);
    bar->SetVisibleButtons({ibdbiPanZoom, ibdbiZoomIn, ibdbiBestFit});
    view->SetStretchRatio(false);
    bar->RefreshButtons();
    bar->ButtonMouseDown(ibdbiPanZoom);
    Key(bar.get(), Qt::Key_Right);
    EXPECT_EQ(bar->FocusedButton(), ibdbiZoomIn);
    Key(bar.get(), Qt::Key_Right);
    EXPECT_EQ(bar->FocusedButton(), ibdbiBestFit);
    const double zoom = view->ZoomFactor();
    Key(bar.get(), Qt::Key_Left);
    Key(bar.get(), Qt::Key_Space);
    EXPECT_DOUBLE_EQ(view->ZoomFactor(), zoom * 1.1);
    Key(bar.get(), Qt::Key_Left);
    EXPECT_EQ(bar->FocusedButton(), ibdbiPanZoom);
    Key(bar.get(), Qt::Key_Left);
    EXPECT_EQ(bar->FocusedButton(), ibdbiOpen) << "kind 0 even though it is hidden";
}

TEST_F(Toolbar, PrintOptionsHaveTheirGeometryAndCancelPrintsNothing) {
    Attach();
    TPrintDialog print;
    bar->PrintDialog = &print;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* options = qobject_cast<TPrintOptions*>(QApplication::activeModalWidget());
        ASSERT_NE(options, nullptr);
        seen = true;
        EXPECT_EQ(options->windowTitle(), "Print Options");
        EXPECT_EQ(options->height(), 100);
        EXPECT_EQ(options->ImageSize()->geometry().topLeft(), QPoint(10, 15));
        EXPECT_EQ(options->ImageSize()->width(), 90);
        EXPECT_EQ(options->PaperSize()->y(), 15 + options->ImageSize()->height() + 10);
        EXPECT_EQ(options->OkButton()->x(), 120);
        EXPECT_EQ(options->OkButton()->y(), 5);
        EXPECT_EQ(options->width(),
                  options->CancelButton()->x() + options->CancelButton()->width() + 15);
        EXPECT_FALSE(options->ImageSize()->isChecked());
        options->reject();
    });
    view->P_Begin_End_Doc = false;
    bar->Buttons(ibdbiPrint)->click();
    EXPECT_TRUE(seen);
    EXPECT_EQ(dialogs.printDialogs, 0) << "cancelled in the options";
    EXPECT_FALSE(view->P_Begin_End_Doc) << "given back";
}

TEST_F(Toolbar, TheFocusMarkIsDrawnOnTheMarkedButtonWhileTheToolbarHasTheKeyboard) {
    Attach();
    bar->SetTabStop(true);
    bar->SetVisibleButtons({ibdbiPanZoom, ibdbiZoomIn, ibdbiBestFit});
    view->SetStretchRatio(false);
    bar->RefreshButtons();
    bar->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(bar.get()));
    bar->ButtonMouseDown(ibdbiZoomIn);
    ASSERT_TRUE(bar->hasFocus());
    Key(bar.get(), Qt::Key_Right);
    ASSERT_EQ(bar->FocusedButton(), ibdbiBestFit);
    // The dots of the mark's top edge: 3 pixels in (4 while the button is down).
    auto dots = [&](int kind) {
        TILDBMultiImageToolBarButton* b = bar->Buttons(kind);
        const QImage grab = b->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int inset = b->isDown() || b->isChecked() ? 4 : 3;
        const QRgb text = b->palette().color(QPalette::WindowText).rgb();
        int n = 0;
        for (int x = inset; x < grab.width() - inset; ++x)
            n += grab.pixel(x, inset) == text;
        return std::pair(n, grab.width() - 2 * inset);
    };
    const auto [marked, length] = dots(ibdbiBestFit);
    EXPECT_GT(marked, length / 4) << "a dotted line";
    EXPECT_LT(marked, length) << "dotted, not solid";
    EXPECT_EQ(dots(ibdbiZoomIn).first, 0) << "the mark moved on";
    bar->clearFocus();
    ASSERT_FALSE(bar->hasFocus());
    EXPECT_EQ(dots(ibdbiBestFit).first, 0) << "no mark without the keyboard";
}

namespace {

// A picture on the clipboard that counts each time its data is fetched.
class CountingMime : public QMimeData {
public:
    explicit CountingMime(int* fetches)
        : fetches_(fetches) {}
    QStringList formats() const override { return {QStringLiteral("image/png")}; }

protected:
    QVariant retrieveData(const QString&, QMetaType) const override {
        ++*fetches_;
        return {};
    }

private:
    int* fetches_;
};

} // namespace

TEST_F(Toolbar, AStateChangeRepaintsOnlyTheChangedButtonsOnceAndDecodesNoClipboardPicture) {
    Attach();
    int fetches = 0;
    QGuiApplication::clipboard()->setMimeData(new CountingMime(&fetches));
    view->SetStretchRatio(true);
    bar->RefreshButtons();
    QTest::qWait(50);
    ASSERT_TRUE(Enabled(ibdbiPaste)) << "a picture is there";
    ASSERT_FALSE(Enabled(ibdbiZoomIn)) << "the fit is on";

    // Fit off: pan/zoom, zoom in and zoom out come on, best fit comes up.
    const int before = bar->Paints();
    view->SetStretchRatio(false);
    QCoreApplication::sendPostedEvents(bar.get());
    EXPECT_TRUE(Enabled(ibdbiZoomIn)) << "refreshed by the state-changed message";
    EXPECT_EQ(bar->Paints(), before) << "no button painted on its own at once";
    QTest::qWait(50);
    EXPECT_EQ(bar->Paints() - before, 4) << "the four that changed, once each, in one pass";

    // A state-changed message that changes nothing paints nothing.
    const int after = bar->Paints();
    platform::PostMessage(bar.get(), kStateChangedMessage, 0,
                          reinterpret_cast<std::intptr_t>(view.get()));
    QCoreApplication::sendPostedEvents(bar.get());
    QTest::qWait(50);
    EXPECT_EQ(bar->Paints(), after);
    EXPECT_EQ(fetches, 0) << "whether a picture is there is asked of the formats only";
}

TEST(ToolbarRows, OneRowPerKindInOrderWithAGlyphAndAStateRuleThatFitsItsGroup) {
    ASSERT_EQ(TILDBMultiImageToolBar::Rows().size(), std::size_t(kToolbarButtonCount));
    int kind = 0;
    for (const ToolbarButtonRow& row : TILDBMultiImageToolBar::Rows()) {
        SCOPED_TRACE(row.Stem);
        EXPECT_EQ(row.Kind, kind++);
        EXPECT_FALSE(ToolbarGlyphResource(QStringLiteral("ILTB_") + row.Stem).isNull());
        EXPECT_TRUE(row.Run);
        EXPECT_EQ(row.Group != 0, row.Pressed != nullptr) << "only buttons that stay down";
    }
}

TEST_F(Toolbar, BusyActionsRunUnderTheWaitCursorAndAFailureStillSettlesIt) {
    Attach();
    bar->RefreshButtons();
    platform::TCursor during = platform::crDefault;
    view->OnPictureChanged = [&](TPDBMultiImage*) { during = platform::Screen::Cursor(); };
    bar->Buttons(ibdbiInvert)->click();
    EXPECT_EQ(during, platform::crHourGlass);
    EXPECT_EQ(platform::Screen::Cursor(), platform::crDefault);
    // A busy action that fails: the error goes on, the cursor and the buttons are settled.
    view->Picture.Clear();
    EXPECT_THROW(bar->ButtonAction(bar->Buttons(ibdbiCopy), ibdbiCopy), imaging::ErrorInvalid);
    EXPECT_EQ(platform::Screen::Cursor(), platform::crDefault);
}
