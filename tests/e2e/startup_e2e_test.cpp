// SPDX-License-Identifier: MIT
#include "app/splash_window.h"
#include "tests/support/xvfb_session.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Share of pixels (0..1) that differ by more than a little between two images.
double DifferentShare(const QImage& a, const QImage& b) {
    if (a.size() != b.size() || a.isNull())
        return 1.0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col)
            n += std::abs(qGray(x.pixel(col, row)) - qGray(y.pixel(col, row))) > 48;
    return double(n) / (x.width() * x.height());
}

TEST(EndToEnd, SplashShowsTheArtworkAndTextsThenTheMainWindowTakesOver) {
    XvfbSession x;
    ASSERT_TRUE(x.Running()) << "Xvfb did not start";
    QTemporaryDir dir;
    const QString program =
        MakeProgramDir(VLMOR_BIN_DIR, dir,
                       "[Config]\nTitle=E2E Catalogue\nQuantity=12,345 Pictures\n"
                       "Line1=Borders and Ornaments\nLine2=For Home and Office\n");
    QDir().mkpath(VLMOR_SHOTS_DIR);
    const QDir shots(VLMOR_SHOTS_DIR);

    auto process = x.Start(program);
    ASSERT_EQ(process->state(), QProcess::Running);
    const auto splash = x.WaitForWindow("Vellamore", 15000);
    ASSERT_TRUE(splash.has_value()) << "no splash window appeared";
    QElapsedTimer sinceSplash;
    sinceSplash.start();
    EXPECT_EQ(splash->size(), QSize(632, 397));
    EXPECT_EQ(splash->topLeft(), QPoint((1024 - 632) / 2, (768 - 397) / 2));

    QThread::msleep(500);
    const QImage shot = x.Screenshot(shots.filePath("splash.png"));
    ASSERT_FALSE(shot.isNull());
    const QImage window = shot.copy(*splash);

    // The artwork's title band shows pixel for pixel (the picture starts 8 pixels down).
    const QImage art(":/artwork/splash.png");
    EXPECT_LT(DifferentShare(window.copy(0, 8, 632, 64), art.copy(0, 0, 632, 64)), 0.001);

    // The labels show the INI's texts: the screen matches a rendering of those texts
    // and not a rendering without them.
    TdlgSplash withTexts;
    withTexts.Panel.SetTexts("12,345 Pictures", "Borders and Ornaments", "For Home and Office");
    const QImage expected = withTexts.grab().toImage();
    TdlgSplash withoutTexts;
    const QImage blank = withoutTexts.grab().toImage();
    for (const char* name : {"lblQuantity", "lblLine1", "lblLine2", "lblCopyright"}) {
        SCOPED_TRACE(name);
        const QRect r = withTexts.findChild<QLabel*>(name)->geometry();
        EXPECT_LT(DifferentShare(window.copy(r), expected.copy(r)), 0.02);
        if (QString(name) != "lblCopyright") {
            EXPECT_GT(DifferentShare(window.copy(r), blank.copy(r)), 0.03);
        }
    }

    const auto main = x.WaitForWindow("E2E Catalogue", 20000);
    ASSERT_TRUE(main.has_value()) << "no main window with the INI's title appeared";
    EXPECT_GE(sinceSplash.elapsed(), 3000); // the splash stayed up for its time
    EXPECT_EQ(main->size(), QSize(640, 480));
    EXPECT_EQ(main->topLeft(), QPoint((1024 - 640) / 2, (768 - 480) / 2));
    EXPECT_FALSE(x.FindWindow("Vellamore").has_value()) << "the splash is still up";

    // The window paints once it is mapped; a slow (sanitizer) build may take a moment.
    QImage face;
    QElapsedTimer painted;
    painted.start();
    for (; painted.elapsed() < 10000; QThread::msleep(250)) {
        face = x.Screenshot(shots.filePath("main.png")).copy(*main);
        if (face.pixelColor(450, 300) != QColor(Qt::black))
            break;
    }
    // Nothing of the splash remains: the picture panel on the right is plain face colour.
    EXPECT_EQ(face.pixelColor(450, 300), face.pixelColor(600, 400));
    EXPECT_NE(face.pixelColor(450, 300), QColor(Qt::black));

    process->terminate();
    process->waitForFinished(5000);
}

TEST(EndToEnd, StartedThroughALinkTheProgramReadsTheIniBesideTheRealFile) {
    XvfbSession x;
    ASSERT_TRUE(x.Running());
    QTemporaryDir dir;
    const QString program = MakeProgramDir(VLMOR_BIN_DIR, dir, "[Config]\nTitle=Real Directory\n");
    QTemporaryDir other;
    QFile wrong(other.filePath("vlmor.ini"));
    ASSERT_TRUE(wrong.open(QIODevice::WriteOnly));
    wrong.write("[Config]\nTitle=Link Directory\n");
    wrong.close();
    ASSERT_TRUE(QFile::link(program, other.filePath("vlmor")));

    auto process = x.Start(other.filePath("vlmor"));
    const auto main = x.WaitForWindow("Real Directory", 20000);
    ASSERT_TRUE(main.has_value());
    EXPECT_EQ(main->size(), QSize(640, 480));
    EXPECT_FALSE(x.FindWindow("Link Directory").has_value());
    process->terminate();
    process->waitForFinished(5000);
}

// Pixels of the description's navy text in a region of a screenshot.
int NavyPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.blue() > 90 && c.red() < 70 && c.green() < 70;
        }
    return n;
}

// Rows of the list with text on them (dark pixels), in a region of a screenshot.
int TextRows(const QImage& list) {
    int rows = 0;
    for (int y = 0; y < list.height(); ++y) {
        int dark = 0;
        for (int x = 0; x < list.width(); ++x)
            dark += qGray(list.pixel(x, y)) < 100;
        rows += dark > 3;
    }
    return rows;
}

TEST(EndToEnd, TheBundledCatalogueCanBeBrowsedAndSearched) {
    XvfbSession x;
    ASSERT_TRUE(x.Running());
    QTemporaryDir dir;
    const QString program =
        MakeProgramDir(VLMOR_BIN_DIR, dir, "[Config]\nTitle=Browse Catalogue\n");
    const QDir shots(VLMOR_SHOTS_DIR);
    auto process = x.Start(program);
    const auto main = x.WaitForWindow("Browse Catalogue", 20000);
    ASSERT_TRUE(main.has_value());
    QThread::msleep(800);
    const QImage all = x.Screenshot(shots.filePath("browse-all.png")).copy(*main);
    // The first record's file name, its navy description and a full list are on screen.
    const QRect description(20, 140, 190, 100);
    const QRect list(20, 310, 170, 110);
    EXPECT_GT(NavyPixels(all.copy(description)), 100);
    EXPECT_GT(TextRows(all.copy(list)), 40);

    // Type a search in the box (it has the focus first), press Enter, then pick the
    // Border tab: only borders whose description holds "star" remain.
    x.Xdo({"mousemove", QString::number(main->x() + 130), QString::number(main->y() + 251), "click",
           "1"});
    x.Xdo({"type", "star"});
    x.Xdo({"key", "Return"});
    x.Xdo({"mousemove", QString::number(main->x() + 175), QString::number(main->y() + 80), "click",
           "1"});
    QThread::msleep(500);
    const QImage border = x.Screenshot(shots.filePath("browse-border-star.png")).copy(*main);
    EXPECT_GT(NavyPixels(border.copy(description)), 100);
    const int rows = TextRows(border.copy(list));
    EXPECT_GT(rows, 0);
    EXPECT_LT(rows, TextRows(all.copy(list)));
    EXPECT_GT(DifferentShare(border.copy(description), all.copy(description)), 0.02);
    process->terminate();
    process->waitForFinished(5000);
}

} // namespace
