// SPDX-License-Identifier: MIT
// The main window's picture commands in the real program under Xvfb, as a person uses them:
// Copy, then another program (xclip) reads the clipboard; Save As through the real file
// dialog with a typed name, each file read back by ImageMagick.
#include "tests/engines/picture_tools.h"
#include "tests/support/xvfb_session.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>

namespace {

// The first record of the sample catalogue.
const QString kFirst = QStringLiteral(VLMOR_SAMPLES_DIR "/pictures/BORD01.BMP");

class Commands : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x.Running());
        program = MakeProgramDir(VLMOR_BIN_DIR, dir, "[Config]\nTitle=Picture Commands\n");
        process = x.Start(program);
        main = x.WaitForWindow("Picture Commands", 20000);
        ASSERT_TRUE(main.has_value());
        QThread::msleep(800);
        QDir().mkpath(VLMOR_SHOTS_DIR);
    }
    void TearDown() override {
        if (process) {
            process->terminate();
            process->waitForFinished(5000);
        }
    }
    void Shot(const QString& name) { x.Screenshot(QDir(VLMOR_SHOTS_DIR).filePath(name)); }
    // Save As from the File menu: the file dialog, a typed full name, Return.
    void SaveAs(const QString& file, const QString& shot) {
        Menu("a", {});
        ASSERT_TRUE(x.WaitForWindow("Save Image", 10000).has_value());
        QThread::msleep(500);
        Shot(shot);
        x.Xdo({"key", "ctrl+a"});
        x.Xdo({"type", file});
        x.Xdo({"key", "Return"});
        for (int i = 0; i < 40 && !QFile::exists(file); ++i)
            QThread::msleep(250);
    }
    // A File menu command by its key, the main window clicked first so it has the keyboard.
    void Menu(const char* key, const QString& shot) {
        x.Xdo({"mousemove", QString::number(main->x() + 20), QString::number(main->y() + 10),
               "click", "1"});
        if (!shot.isEmpty())
            Shot(shot);
        x.Xdo({"key", key});
    }

    XvfbSession x;
    QTemporaryDir dir, out;
    QString program;
    std::unique_ptr<QProcess> process;
    std::optional<QRect> main;
};

} // namespace

TEST_F(Commands, CopyReachesAnotherProgramAndSaveAsWritesEachFormat) {
    const QImage original = picture_tools::ImageMagickPixels(kFirst);
    ASSERT_FALSE(original.isNull());

    // File > Copy to Clipboard; xclip lists what the program offers and takes the PNG.
    Menu("c", "commands-copy-menu.png");
    const QByteArray targets =
        x.Output("xclip", {"-selection", "clipboard", "-t", "TARGETS", "-o"});
    EXPECT_TRUE(targets.contains("image/png")) << targets.toStdString();
    EXPECT_TRUE(targets.contains("image/bmp"));
    const QByteArray png =
        x.Output("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"}, 20000);
    QImage pasted;
    ASSERT_TRUE(pasted.loadFromData(png, "PNG"));
    pasted = pasted.convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(pasted.size(), original.size());
    const picture_tools::Difference copied = picture_tools::Compare(pasted, original);
    EXPECT_FALSE(copied.sizeDiffers);
    EXPECT_EQ(copied.pixels, 0) << "the clipboard's PNG has the picture's pixels";

    // Save As in the four formats, names typed into the real dialog.
    const QString bmp = out.filePath("typed.bmp"), jpg = out.filePath("typed.jpg"),
                  pcx = out.filePath("typed.pcx"), tif = out.filePath("typed.tif");
    SaveAs(bmp, "commands-save-dialog.png");
    SaveAs(jpg, "commands-save-jpg.png");
    SaveAs(pcx, "commands-save-pcx.png");
    SaveAs(tif, "commands-save-tif.png");
    Shot("commands-after-save.png");
    const QString size = QStringLiteral("%1 %2").arg(original.width()).arg(original.height());
    EXPECT_EQ(picture_tools::Identify(bmp).section(u' ', 1), size);
    EXPECT_EQ(picture_tools::Compare(picture_tools::ImageMagickPixels(bmp), original).pixels, 0);
    EXPECT_EQ(picture_tools::Identify(jpg).section(u' ', 1), size);
    EXPECT_EQ(picture_tools::Identify(pcx).section(u' ', 1), size);
    EXPECT_EQ(picture_tools::Identify(tif), "1 " + size) << "a TIF is saved monochrome";
}

TEST_F(Commands, TheToolbarZoomsFitsAndCentresThePicture) {
    // The image view's client area and the five buttons in the window.
    const QRect client(221, 138, 415, 338);
    auto view = [&](const QString& name) {
        return x.Screenshot(QDir(VLMOR_SHOTS_DIR).filePath(name))
            .copy(client.translated(main->topLeft()));
    };
    auto click = [&](int button) {
        const int cx = 218 + 83 * button + 41, cy = 114;
        x.Xdo({"mousemove", QString::number(main->x() + cx), QString::number(main->y() + cy),
               "click", "1"});
        QThread::msleep(300);
    };
    auto differs = [](const QImage& a, const QImage& b) {
        return picture_tools::Compare(a, b).pixels > a.width() * a.height() / 100;
    };
    // The screen has changed (or come back) once this holds; a slow (sanitizer) build is
    // given a few seconds to get there.
    auto settles = [&](const QString& name, const std::function<bool(const QImage&)>& done) {
        QImage now = view(name);
        for (int look = 0; look < 20 && !done(now); ++look) {
            QThread::msleep(250);
            now = view(name);
        }
        return now;
    };
    auto changedFrom = [&](const QImage& before, const QString& name) {
        const QImage now = settles(name, [&](const QImage& i) { return differs(before, i); });
        EXPECT_TRUE(differs(before, now)) << name.toStdString();
        return now;
    };
    const QImage fitted = view("toolbar-fitted.png");
    click(3); // best fit off: the picture at zoom 1
    const QImage actual = changedFrom(fitted, "toolbar-zoom1.png");
    click(1); // zoom in
    const QImage larger = changedFrom(actual, "toolbar-zoomin.png");
    click(2); // zoom out
    click(2);
    const QImage smaller = changedFrom(larger, "toolbar-zoomout.png");
    click(4); // centre off and on again moves a picture smaller than the view
    const QImage uncentred = changedFrom(smaller, "toolbar-uncentred.png");
    click(4);
    changedFrom(uncentred, "toolbar-centred.png");
    click(3); // best fit again
    const QImage again =
        settles("toolbar-fitted-again.png", [&](const QImage& i) { return !differs(fitted, i); });
    EXPECT_FALSE(differs(fitted, again));
}

TEST(ScaledCommands, AtTwiceTheDensityTheToolbarGlyphsAreDrawnSharp) {
    XvfbSession x(QSize(1600, 1200));
    ASSERT_TRUE(x.Running());
    QTemporaryDir dir;
    const QString program = MakeProgramDir(VLMOR_BIN_DIR, dir, "[Config]\nTitle=Scaled\n");
    auto process = x.Start(program, {}, {QStringLiteral("QT_SCALE_FACTOR=2")});
    const auto main = x.WaitForWindow("Scaled", 20000);
    ASSERT_TRUE(main.has_value());
    QThread::msleep(1500);
    QDir().mkpath(VLMOR_SHOTS_DIR);
    const QImage shot = x.Screenshot(QDir(VLMOR_SHOTS_DIR).filePath("scaled-2.png"));
    EXPECT_EQ(main->size(), QSize(1280, 960));
    // The best-fit glyph's teal square (8 x 7 glyph pixels, its corners crossed by the arrows)
    // is four times as many screen pixels of the pure colour with no blended edge: drawn at
    // the screen's density, not a smoothed enlargement.
    const QRect bestFit =
        QRect(2 * (218 + 3 * 83), 2 * 94, 2 * 83, 2 * 40).translated(main->topLeft());
    int teal = 0, nearlyTeal = 0;
    for (int y = bestFit.top(); y <= bestFit.bottom(); ++y)
        for (int xx = bestFit.left(); xx <= bestFit.right(); ++xx) {
            const QRgb p = shot.pixel(xx, y);
            teal += p == qRgb(0, 128, 128);
            nearlyTeal += p != qRgb(0, 128, 128) && qRed(p) < 60 && qGreen(p) > 90 &&
                          qGreen(p) < 170 && std::abs(qGreen(p) - qBlue(p)) < 30;
        }
    EXPECT_GT(teal, 4 * 45);
    EXPECT_EQ(nearlyTeal, 0) << "no smoothed edges";
    process->terminate();
    process->waitForFinished(5000);
}
