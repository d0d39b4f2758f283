// SPDX-License-Identifier: MIT
// The main window through the accessibility interfaces assistive tools read: every control a
// person can reach has a name (and the picture the current record's description), the zoom
// keys act on the picture, and a dark palette keeps every fixed text colour readable.
#include "app/main_window.h"
#include "controls/dbcontrols/db_navigator.h"
#include "controls/imagetoolbar/image_toolbar.h"
#include "controls/imageview/db_multi_image.h"
#include "platform/ui/readable_colours.h"
#include "tests/app/main_window_fixture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

// Every focusable object under `root` that the tree offers without a name, by role and class.
void Unnamed(QAccessibleInterface* node, QStringList& out, int depth = 0) {
    if (!node || depth > 40)
        return;
    const QAccessible::State state = node->state();
    if (state.focusable && !state.invisible && node->text(QAccessible::Name).trimmed().isEmpty()) {
        QObject* object = node->object();
        out << QStringLiteral("%1 %2 '%3'")
                   .arg(int(node->role()))
                   .arg(object ? object->metaObject()->className() : "?")
                   .arg(object ? object->objectName() : QString());
    }
    for (int i = 0; i < node->childCount(); ++i)
        Unnamed(node->child(i), out, depth + 1);
}

} // namespace

TEST_F(MainWindowTest, EveryFocusableControlHasAnAccessibleName) {
    QStringList unnamed;
    Unnamed(QAccessible::queryAccessibleInterface(window.get()), unnamed);
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join('\n').toStdString();
}

TEST_F(MainWindowTest, TheControlsAreNamedAndThePictureByItsRecordsDescription) {
    auto name = [](QObject* object) {
        QAccessibleInterface* node = QAccessible::queryAccessibleInterface(object);
        return node ? node->text(QAccessible::Name).toStdString() : std::string();
    };
    EXPECT_EQ(name(window->edFilter), "Search");
    EXPECT_EQ(name(window->ToolFind), "Toggle Search");
    EXPECT_EQ(name(window->DBDataList1), "Pictures");
    const std::vector<std::string> buttons = {"First record", "Prior record", "Next record",
                                              "Last record"};
    for (int b = 0; b < 4; ++b)
        EXPECT_EQ(name(window->DBNavigator1->Button(controls::TNavigateBtn(b))), buttons[b]);
    // The picture toolbar's buttons carry their hints.
    std::vector<std::string> toolbar;
    for (QAbstractButton* b : window->ILDBMultiImageToolBar1->findChildren<QAbstractButton*>())
        if (b->isVisible())
            toolbar.push_back(name(b));
    auto has = [&](const std::string& text) {
        return std::find(toolbar.begin(), toolbar.end(), text) != toolbar.end();
    };
    EXPECT_TRUE(has("Zoom In"));
    EXPECT_TRUE(has("Best Fit Image"));
    EXPECT_FALSE(has("")) << "a button without a name";

    const std::string first = name(window->PDBMultiImage1);
    EXPECT_EQ(first.substr(0, 10), "Picture 0 ") << first;
    window->DBNavigator1->Button(controls::TNavigateBtn::nbNext)->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return name(window->PDBMultiImage1) != first; }));
    EXPECT_EQ(name(window->PDBMultiImage1).substr(0, 10), "Picture 1 ");
}

TEST_F(MainWindowTest, CtrlPlusAndMinusZoomThePictureAndCtrlZeroFitsIt) {
    controls::TPDBMultiImage* view = window->PDBMultiImage1;
    ASSERT_TRUE(view->StretchRatio()) << "fitted at the start";
    view->setFocus();
    const double fitted = view->ZoomFactor(); // the small pictures fit near the largest zoom
    QTest::keyClick(view, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_FALSE(view->StretchRatio()) << "the zoom leaves the fit";
    EXPECT_NEAR(view->ZoomFactor(), fitted * 0.9, 1e-9) << "one step from the fitted zoom";
    QTest::keyClick(view, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_Equal, Qt::ControlModifier); // Plus without Shift
    EXPECT_NEAR(view->ZoomFactor(), fitted * 0.9 * 0.9 * 0.9 * 1.1 * 1.1, 1e-9);
    QTest::keyClick(view, Qt::Key_0, Qt::ControlModifier);
    EXPECT_TRUE(view->StretchRatio());
    EXPECT_NEAR(view->ZoomFactor(), fitted, 1e-9);
}

// Tab from the search box walks every control the keyboard reaches and comes back to it: the
// list follows the box, and whatever has the focus is shown inside the window.
TEST_F(MainWindowTest, TabWalksTheControlsInOrderAndTheFocusedOneIsAlwaysShown) {
    QApplication::setActiveWindow(window.get());
    window->edFilter->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), window->edFilter);
    std::vector<QWidget*> walked{window->edFilter};
    for (int step = 0; step < 60; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr) << "the focus went nowhere after " << step + 1 << " tabs";
        if (focused == window->edFilter)
            break;
        walked.push_back(focused);
        EXPECT_TRUE(focused->isVisible()) << focused->metaObject()->className();
        const QRect inWindow(focused->mapTo(window.get(), QPoint(0, 0)), focused->size());
        EXPECT_TRUE(window->rect().intersects(inWindow))
            << focused->metaObject()->className() << " lies outside the window";
    }
    EXPECT_EQ(QApplication::focusWidget(), window->edFilter) << "Tab comes back round";
    ASSERT_GE(walked.size(), 3u);
    EXPECT_EQ(walked[1], window->DBDataList1) << "the list follows the search box";
    auto reached = [&walked](const QWidget* widget) {
        return std::any_of(walked.begin(), walked.end(), [widget](const QWidget* w) {
            return w == widget || widget->isAncestorOf(w);
        });
    };
    EXPECT_TRUE(reached(window->PDBMultiImage1)) << "the picture takes the focus for its keys";
    EXPECT_TRUE(reached(window->TabControl1)) << "the tabs are reached";
}

namespace {

// The main window under a dark desktop palette.
class DarkPalette : public MainWindowTest {
protected:
    void SetUp() override {
        saved = QApplication::palette();
        QPalette dark;
        const QColor face(45, 45, 48), base(30, 30, 30), text(230, 230, 230);
        for (auto [role, colour] : {std::pair{QPalette::Window, face},
                                    {QPalette::Button, face},
                                    {QPalette::Base, base},
                                    {QPalette::AlternateBase, face},
                                    {QPalette::WindowText, text},
                                    {QPalette::Text, text},
                                    {QPalette::ButtonText, text},
                                    {QPalette::Highlight, QColor(38, 79, 120)},
                                    {QPalette::HighlightedText, QColor(Qt::white)}})
            dark.setColor(role, colour);
        QApplication::setPalette(dark);
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        QApplication::setPalette(saved);
    }
    QPalette saved;
};

// The contrast between a grabbed control's most common colour (its background) and the
// colour that stands out most from it (its text).
double TextContrast(QWidget* widget) {
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    const QRgb background = std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) {
                                return a.second < b.second;
                            })->first;
    double best = 1;
    for (auto& [colour, n] : counts)
        if (n >= 4) // text, not a stray edge pixel
            best = std::max(best, platform::Contrast(QColor(colour), QColor(background)));
    return best;
}

} // namespace

TEST_F(DarkPalette, EveryFixedTextColourKeepsItsContrast) {
    QDir().mkpath(VLMOR_SHOTS_DIR);
    window->grab().save(QStringLiteral(VLMOR_SHOTS_DIR "/dark-palette.png"));
    EXPECT_GE(TextContrast(window->DBTextDescrip), platform::kReadableContrast)
        << "the navy description";
    EXPECT_GE(TextContrast(window->DBTextFile), platform::kReadableContrast) << "the file name";
    EXPECT_GE(TextContrast(window->TabControl1->Tabs()), platform::kReadableContrast)
        << "the black tab captions";
    EXPECT_GE(TextContrast(window->DBDataList1), platform::kReadableContrast) << "the list";
}

TEST(ReadableColours, ContrastAndTheFallbacks) {
    EXPECT_NEAR(platform::Contrast(Qt::black, Qt::white), 21, 1e-9);
    EXPECT_NEAR(platform::Contrast(QColor(0, 0, 128), QColor(0, 0, 128)), 1, 1e-9);
    EXPECT_EQ(platform::ReadableTextOn(Qt::white, QColor(230, 230, 230)), QColor(Qt::black));
    EXPECT_EQ(platform::ReadableTextOn(Qt::white, QColor(20, 20, 90)), QColor(20, 20, 90));
    QPalette p;
    p.setColor(QPalette::WindowText, QColor(0, 0, 128));
    p.setColor(QPalette::Window, QColor(200, 200, 200));
    platform::KeepFixedTextReadable(p, QPalette::WindowText, {QPalette::Window});
    EXPECT_EQ(p.color(QPalette::Window), QColor(200, 200, 200)) << "readable: kept";
    p.setColor(QPalette::Window, QColor(45, 45, 48));
    p.setColor(QPalette::Base, QColor(30, 30, 30));
    platform::KeepFixedTextReadable(p, QPalette::WindowText, {QPalette::Window});
    EXPECT_GE(platform::Contrast(p.color(QPalette::Window), QColor(0, 0, 128)), 4.5);
    EXPECT_EQ(p.color(QPalette::WindowText), QColor(0, 0, 128)) << "the fixed colour stays";
    EXPECT_GE(platform::Contrast(p.color(QPalette::Base), p.color(QPalette::Text)), 4.5)
        << "the rest goes light together";
}
