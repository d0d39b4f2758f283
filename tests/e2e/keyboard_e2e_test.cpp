// SPDX-License-Identifier: MIT
// The real program worked with the keyboard alone, as a person who uses no mouse works it:
// Tab to the search box and search, Tab to the list and pick a record, Tab to the picture and
// zoom it, then copy it, save it and print it from the File menu. No click is made and the
// pointer stays off the window; each step is checked by what another program reads back.
#include "tests/e2e/main_window_screen.h"
#include "tests/e2e/print_session.h"
#include "tests/engines/picture_tools.h"

#include <QDir>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The second record the search "floral" keeps, in record order.
const QString kPicked = QStringLiteral(VLMOR_SAMPLES_DIR "/pictures/BORD10.TGA");

class KeyboardOnly : public PrintSession {
protected:
    void SetUp() override {
        LaunchPrinting(QStringLiteral("Keyboard Only"));
        if (HasFatalFailure())
            return;
        // The pointer goes to the screen's corner, off the window, and the window gets the
        // keyboard as a desktop gives it to a window that opens.
        x.Xdo({"mousemove", "1023", "767"});
        FocusMainWindow();
    }
    void FocusMainWindow() {
        x.Xdo({"search", "--name", "^Keyboard Only$", "windowfocus", "--sync"});
    }
    void Keys(const QStringList& keys) { x.Xdo(QStringList{"key", "--delay", "80"} + keys); }

    // Looks until the view shows `expected` (a slow sanitizer build is given a few seconds).
    bool Shows(const QString& name, const main_window_screen::Fitted& expected) {
        double mismatch = 1;
        for (int look = 0; look < 20 && mismatch >= 0.01; ++look) {
            if (look > 0)
                QThread::msleep(250);
            mismatch = main_window_screen::LeastMismatch(Shot(name), expected, 1);
        }
        return mismatch < 0.01;
    }
};

} // namespace

TEST_F(KeyboardOnly, SearchListViewCopySaveAndPrint) {
    const QImage original = picture_tools::ImageMagickPixels(kPicked);
    ASSERT_FALSE(original.isNull());

    // The window opens with the save button focused: the toolbar's four buttons, the tabs and
    // the search toggle come before the search box. Enter searches.
    Keys({"Tab", "Tab", "Tab", "Tab", "Tab", "Tab"});
    x.Xdo({"type", "--delay", "60", "floral"});
    Keys({"Return"});
    QThread::msleep(800);
    Shot("keyboard-search.png");
    // The list comes next; Down makes the second record current and the view shows it fitted.
    Keys({"Tab", "Down"});
    const main_window_screen::Fitted fitted = main_window_screen::Expected(kPicked);
    ASSERT_FALSE(fitted.image.isNull());
    ASSERT_TRUE(Shows("keyboard-list.png", fitted)) << "BORD10.TGA is current and fitted";

    // The picture comes after the list: Ctrl+Minus zooms out a step from the fit, Ctrl+Plus
    // in a step, Ctrl+0 fits it again.
    using main_window_screen::kControl;
    const double fit = std::min(double(kControl.width()) / original.width(),
                                double(kControl.height()) / original.height());
    Keys({"Tab", "ctrl+minus"});
    EXPECT_TRUE(
        Shows("keyboard-zoom-out.png", main_window_screen::AtZoom(kPicked, fit * 0.9, true)));
    Keys({"ctrl+plus"});
    EXPECT_TRUE(
        Shows("keyboard-zoom-in.png", main_window_screen::AtZoom(kPicked, fit * 0.9 * 1.1, true)));
    Keys({"ctrl+0"});
    EXPECT_TRUE(Shows("keyboard-fitted.png", fitted));

    // File > Copy to Clipboard (Alt+F, C): another program reads the picture.
    Keys({"alt+f", "c"});
    QImage pasted;
    ASSERT_TRUE(pasted.loadFromData(
        x.Output("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"}, 20000), "PNG"));
    EXPECT_EQ(picture_tools::Compare(pasted.convertToFormat(QImage::Format_RGB32), original).pixels,
              0);

    // File > Save As (Alt+F, A): a name typed into the dialog, Enter.
    const QString saved = out.filePath(QStringLiteral("keyboard.bmp"));
    Keys({"alt+f", "a"});
    ASSERT_TRUE(x.WaitForWindow("Save Image", 10000).has_value());
    QThread::msleep(500);
    Keys({"ctrl+a"});
    x.Xdo({"type", saved});
    Keys({"Return"});
    ASSERT_FALSE(WaitForFile(saved).isEmpty()) << "nothing was saved";
    EXPECT_EQ(picture_tools::Compare(picture_tools::ImageMagickPixels(saved), original).pixels, 0);

    // The focus goes back to the main window as a desktop gives it back when a dialog closes.
    // Here it comes from no window (the bare X server gave it to the screen), as from another
    // program, so the window keeps its record.
    FocusMainWindow();

    // File > Print (Alt+F, P): the job carries the record's name, the page the whole picture.
    Keys({"alt+f", "p"});
    PrintFromDialog(QStringLiteral("BORD10"));
    if (HasFatalFailure())
        return;
    ExpectOnePicture(QStringLiteral("BORD10.TGA"), original.size());
    if (HasFatalFailure())
        return;
    Shot("keyboard-printed.png");
}
