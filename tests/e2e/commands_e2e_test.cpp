// SPDX-License-Identifier: MIT
// The main window's picture commands in the real program under Xvfb, as a person uses them:
// Copy, then another program (xclip) reads the clipboard; Save As through the real file
// dialog with a typed name, each file read back by ImageMagick; the image toolbar's zoom, fit,
// centre and grab hand. And a picture another program put on the clipboard pasted into a view.
#include "imaging/metafile/metafile.h"
#include "imaging/metafile/metafile_export.h"
#include "tests/e2e/main_window_screen.h"
#include "tests/e2e/main_window_session.h"
#include "tests/engines/picture_tools.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QSet>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>

namespace {

// The first record of the sample catalogue.
const QString kFirst = QStringLiteral(VLMOR_SAMPLES_DIR "/pictures/BORD01.BMP");

class Commands : public MainWindowSession {
protected:
    void SetUp() override { Launch(QStringLiteral("Picture Commands")); }
    // Save As from the File menu: the file dialog, a typed full name, Return.
    void ChooseInSaveDialog(const QString& file, const QString& shot = {}) {
        Menu("a");
        ASSERT_TRUE(x.WaitForWindow("Save Image", 10000).has_value());
        QThread::msleep(500);
        if (!shot.isEmpty())
            Shot(shot);
        x.Xdo({"key", "ctrl+a"});
        x.Xdo({"type", file});
        x.Xdo({"key", "Return"});
    }
    // The same, waiting for the file to be written whole.
    void SaveAs(const QString& file, const QString& shot) {
        ChooseInSaveDialog(file, shot);
        WaitForFile(file);
    }

    QTemporaryDir out;
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
    EXPECT_LT(picture_tools::Compare(picture_tools::ImageMagickPixels(jpg), original).mean, 8.0)
        << "the JPG at the window's quality of 25";
    EXPECT_EQ(picture_tools::Identify(pcx).section(u' ', 1), size);
    EXPECT_EQ(picture_tools::Compare(picture_tools::NetpbmPcxPixels(pcx), original).pixels, 0);
    EXPECT_EQ(picture_tools::Identify(tif), "1 " + size) << "a TIF is saved monochrome";
    // Monochrome: the navy rules black, the paper white.
    const QImage mono = picture_tools::ImageMagickPixels(tif);
    ASSERT_EQ(mono.size(), original.size());
    int clear = 0, agree = 0; // the rules' blended edge pixels may go either way
    for (int yy = 0; yy < mono.height(); ++yy)
        for (int xx = 0; xx < mono.width(); ++xx) {
            const int grey = qGray(original.pixel(xx, yy));
            if (grey > 96 && grey < 160)
                continue;
            ++clear;
            agree += (qGray(mono.pixel(xx, yy)) < 128) == (grey < 128);
        }
    EXPECT_GT(clear, mono.width() * mono.height() * 9 / 10);
    EXPECT_EQ(agree, clear);

    // The formats beyond the four, by the extension typed, read back by other programs.
    const QString saved = out.filePath("typed.png"), gif = out.filePath("typed.gif"),
                  tga = out.filePath("typed.tga"), eps = out.filePath("typed.eps");
    for (const QString& file : {saved, gif, tga})
        SaveAs(file, "commands-save-more.png");
    SaveAs(eps, "commands-save-eps.png");
    EXPECT_TRUE(picture_tools::ReadAll(saved).startsWith("\x89PNG")) << "a .png writes a PNG";
    EXPECT_EQ(picture_tools::Compare(picture_tools::ImageMagickPixels(saved), original).pixels, 0);
    EXPECT_EQ(picture_tools::Compare(picture_tools::ImageMagickPixels(tga), original).pixels, 0);
    EXPECT_EQ(picture_tools::Identify(gif).section(u' ', 1), size);
    EXPECT_LT(picture_tools::Compare(picture_tools::ImageMagickPixels(gif), original).mean, 8.0)
        << "the GIF in its palette";
    const QImage printed = picture_tools::GhostscriptPixels(eps);
    ASSERT_FALSE(printed.isNull()) << "Ghostscript reads the EPS";

    // An extension no format has: the message names those there are, and nothing is written.
    const QString unknown = out.filePath("typed.xyz");
    ChooseInSaveDialog(unknown);
    QThread::msleep(1500);
    Shot("commands-save-unknown.png");
    x.Xdo({"key", "Return"}); // the message's OK
    QThread::msleep(500);
    EXPECT_FALSE(QFile::exists(unknown));

    // Replacing asks: No leaves the file byte for byte.
    const QByteArray before = picture_tools::ReadAll(bmp);
    ASSERT_TRUE(picture_tools::WriteAll(bmp, "the user's own file"));
    ChooseInSaveDialog(bmp);
    QThread::msleep(1500);
    Shot("commands-save-replace.png");
    x.Xdo({"key", "Escape"}); // No
    QThread::msleep(1000);
    EXPECT_EQ(picture_tools::ReadAll(bmp), QByteArray("the user's own file"));
    EXPECT_FALSE(before.isEmpty());
}

TEST_F(Commands, TheToolbarZoomsFitsCentresAndPansThePicture) {
    using main_window_screen::kClient;
    const main_window_screen::Fitted expected = main_window_screen::Expected(kFirst);
    ASSERT_FALSE(expected.image.isNull());
    auto click = [&](int button) {
        Click(main_window_screen::ToolbarButton(button));
        QThread::msleep(300);
    };
    auto differs = [](const QImage& a, const QImage& b) {
        return picture_tools::Compare(a, b).pixels > a.width() * a.height() / 100;
    };
    // Looks until `done` holds of the view (a slow sanitizer build is given a few seconds).
    auto settles = [&](const QString& name, const std::function<bool(const QImage&)>& done) {
        QImage now = Shot(name).copy(kClient);
        for (int look = 0; look < 20 && !done(now); ++look) {
            QThread::msleep(250);
            now = Shot(name).copy(kClient);
        }
        return now;
    };
    auto changedFrom = [&](const QImage& before, const QString& name) {
        const QImage now = settles(name, [&](const QImage& i) { return differs(before, i); });
        EXPECT_TRUE(differs(before, now)) << name.toStdString();
        return now;
    };
    auto steady = [&](const QString& name) {
        QImage last;
        return settles(name, [&](const QImage& i) {
            const bool same = !last.isNull() && picture_tools::Compare(last, i).pixels == 0;
            last = i;
            return same;
        });
    };
    auto showsTheFittedPicture = [&](const QString& name) {
        double mismatch = 1;
        for (int look = 0; look < 20 && mismatch >= 0.01; ++look) {
            if (look > 0)
                QThread::msleep(250);
            mismatch = main_window_screen::Mismatch(Shot(name), expected);
        }
        return mismatch < 0.01;
    };

    ASSERT_TRUE(showsTheFittedPicture("toolbar-fitted.png"));
    const QImage fitted = Shot("toolbar-fitted.png").copy(kClient);
    // Each step shows the picture at its known factor and place (give or take a pixel).
    auto shows = [&](const QString& name, double factor, bool centred) {
        const main_window_screen::Fitted at = main_window_screen::AtZoom(kFirst, factor, centred);
        double mismatch = 1;
        for (int look = 0; look < 20 && mismatch >= 0.01; ++look) {
            if (look > 0)
                QThread::msleep(250);
            mismatch = main_window_screen::LeastMismatch(Shot(name), at, 1);
        }
        EXPECT_LT(mismatch, 0.01) << name.toStdString();
        return Shot(name).copy(kClient);
    };
    click(3); // best fit off: the picture at zoom 1, centred
    const QImage actual = shows("toolbar-zoom1.png", 1.0, true);
    EXPECT_TRUE(differs(fitted, actual));
    click(1); // zoom in
    shows("toolbar-zoomin.png", 1.1, true);
    click(2); // zoom out
    click(2);
    shows("toolbar-zoomout.png", 1.1 * 0.9 * 0.9, true);
    click(4); // centre off and on again moves a picture smaller than the view
    shows("toolbar-uncentred.png", 1.1 * 0.9 * 0.9, false);
    click(4);
    shows("toolbar-centred.png", 1.1 * 0.9 * 0.9, true);
    click(3); // best fit again
    EXPECT_TRUE(showsTheFittedPicture("toolbar-fitted-again.png"));

    // Best fit off gives back the zoom it had (0.9 x 0.9 x 1.1); six steps in make the
    // picture larger than the view both ways.
    click(3);
    for (int i = 0; i < 6; ++i)
        click(1);
    const QImage zoomed = steady("toolbar-pan-before.png");
    const QPoint from = main->topLeft() + kClient.center();
    const QPoint to = from - QPoint(60, 30);
    auto drag = [&] {
        x.Xdo({"mousemove", QString::number(from.x()), QString::number(from.y()), "mousedown", "1",
               "mousemove", QString::number(to.x()), QString::number(to.y()), "mouseup", "1"});
    };
    // Pan/zoom released: a drag draws a rubber band, which goes with the button. The view
    // takes the focus and shows it with a frame on its client area's edge.
    click(0);
    drag();
    const QImage banded = steady("toolbar-band.png");
    const QRect inside = QRect(QPoint(0, 0), kClient.size()).adjusted(1, 1, -1, -1);
    EXPECT_EQ(picture_tools::Compare(zoomed.copy(inside), banded.copy(inside)).pixels, 0)
        << "the band leaves nothing";
    const QRgb frame = banded.pixel(0, 0);
    int framed = 0;
    for (int i = 0; i < kClient.height(); ++i)
        framed += banded.pixel(0, i) == frame && banded.pixel(kClient.width() - 1, i) == frame;
    for (int i = 0; i < kClient.width(); ++i)
        framed += banded.pixel(i, 0) == frame && banded.pixel(i, kClient.height() - 1) == frame;
    EXPECT_EQ(framed, kClient.width() + kClient.height()) << "the focus frame";
    EXPECT_LT(qGray(frame), 200);
    // Pressed again: the grab hand moves the picture with the pointer, by the pointer's move
    // in whole picture pixels (at 1.58 that is 59.9 and 30, to a pixel of the screen).
    click(0);
    drag();
    const QImage panned = changedFrom(banded, "toolbar-panned.png").copy(inside);
    const QImage before = zoomed.copy(inside);
    auto shiftedMismatch = [&](QPoint by) {
        int off = 0, compared = 0;
        for (int yy = 0; yy + by.y() < before.height(); ++yy)
            for (int xx = 0; xx + by.x() < before.width(); ++xx) {
                const QRgb a = panned.pixel(xx, yy), b = before.pixel(xx + by.x(), yy + by.y());
                if (qGray(a) > 240 && qGray(b) > 240)
                    continue; // paper on both: only the drawn lines count
                ++compared;
                off += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                           std::abs(qBlue(a) - qBlue(b)) >
                       96;
            }
        return compared ? double(off) / compared : 1.0;
    };
    double least = 1;
    for (int dy = 29; dy <= 31; ++dy)
        for (int dx = 59; dx <= 61; ++dx)
            least = std::min(least, shiftedMismatch({dx, dy}));
    EXPECT_LT(least, 0.03);
    EXPECT_GT(shiftedMismatch({0, 0}), 0.5) << "the picture moved";
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

    // The fitted picture is scaled at the screen's density from the picture's own pixels: the
    // view shows the picture's colours and the background, nothing blended from them.
    const QImage original = picture_tools::ImageMagickPixels(kFirst);
    ASSERT_FALSE(original.isNull());
    QSet<QRgb> colours;
    for (int yy = 0; yy < original.height(); ++yy)
        for (int xx = 0; xx < original.width(); ++xx)
            colours.insert(original.pixel(xx, yy) | 0xFF000000u);
    const QRect client(2 * main_window_screen::kClient.topLeft(),
                       2 * main_window_screen::kClient.size());
    const QImage view = shot.copy(client.translated(main->topLeft()).adjusted(2, 2, -2, -2));
    colours.insert(view.pixel(0, 0) | 0xFF000000u); // the background above the picture
    int blended = 0;
    for (int yy = 0; yy < view.height(); ++yy)
        for (int xx = 0; xx < view.width(); ++xx)
            blended += !colours.contains(view.pixel(xx, yy) | 0xFF000000u);
    EXPECT_LT(blended, view.width() * view.height() / 1000) << "the view is sharp";

    // And it is the picture, not a blank view: fitted into the control's size as at the usual
    // density (factor and centring in window pixels), each screen pixel takes the picture pixel
    // it starts on. Compared where it should lie, give or take two screen pixels.
    using main_window_screen::kClient;
    using main_window_screen::kControl;
    const double f = std::min(double(kControl.width()) / original.width(),
                              double(kControl.height()) / original.height());
    const int w = int(original.width() * f), h = int(original.height() * f);
    QImage expected(2 * w, 2 * h, QImage::Format_RGB32);
    for (int yy = 0; yy < expected.height(); ++yy)
        for (int xx = 0; xx < expected.width(); ++xx)
            expected.setPixel(xx, yy,
                              original.pixel(int(std::int64_t(xx) * original.width() / (2 * w)),
                                             int(std::int64_t(yy) * original.height() / (2 * h))));
    const QPoint at = main->topLeft() + 2 * kClient.topLeft() +
                      2 * QPoint((kControl.width() - w) / 2, (kControl.height() - h) / 2);
    double least = 1;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            int off = 0;
            for (int yy = 0; yy < expected.height(); ++yy)
                for (int xx = 0; xx < expected.width(); ++xx) {
                    const QRgb a = shot.pixel(at + QPoint(xx + dx, yy + dy)),
                               b = expected.pixel(xx, yy);
                    off += std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                     std::abs(qBlue(a) - qBlue(b))}) > 48;
                }
            least = std::min(least, double(off) / (expected.width() * expected.height()));
        }
    EXPECT_LT(least, 0.01) << "the fitted picture where it belongs";
    process->terminate();
    process->waitForFinished(5000);
}

TEST(AnotherProgramsPicture, IsPastedIntoTheViewAndTextIsNot) {
    XvfbSession x;
    ASSERT_TRUE(x.Running());
    QTemporaryDir dir;
    const QImage picture = picture_tools::TestPicture(64, 48).convertToFormat(QImage::Format_RGB32);
    const QString png = dir.filePath("from-another-program.png");
    const QString text = dir.filePath("words.txt"), out = dir.filePath("pasted.png");
    ASSERT_TRUE(picture.save(png));
    ASSERT_TRUE(picture_tools::WriteAll(text, "only words"));
    // xclip owns the clipboard (in the background, until the X server goes) and the probe, a
    // view on an editable record, pastes what it offers.
    auto paste = [&](const QStringList& xclip) {
        x.Output("xclip", QStringList{"-selection", "clipboard"} + xclip);
        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), x.Display());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        probe.setProcessEnvironment(env);
        probe.setProcessChannelMode(QProcess::ForwardedChannels);
        probe.start(QStringLiteral(VLMOR_PASTE_PROBE), {out});
        EXPECT_TRUE(probe.waitForFinished(60000));
        return probe.exitCode();
    };
    ASSERT_EQ(paste({"-t", "image/png", "-i", png}), 0) << "a picture was pasted";
    const QImage pasted = QImage(out).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(picture_tools::Compare(pasted, picture).pixels, 0) << "the pixels, not dithered";
    QFile::remove(out);
    EXPECT_EQ(paste({"-i", text}), 1) << "text alone pastes nothing";
    EXPECT_FALSE(QFile::exists(out));
}

TEST_F(Commands, AVectorPictureLeavesAsVectorsABitmapAndItsOwnBytes) {
    // The balloons, found by the search: a WMF the program draws with its own player.
    const QByteArray wmf = picture_tools::ReadAll(VLMOR_SAMPLES_DIR "/pictures/BALLOON1.WMF");
    imaging::Metafile picture;
    ASSERT_TRUE(picture.Load(wmf));
    Click({130, 251});
    x.Xdo({"type", "balloon"});
    x.Xdo({"key", "Return"});
    QThread::msleep(1000);
    Shot("commands-vector.png");

    // File > Copy to Clipboard: another program (xclip) reads the SVG, the PNG and the bytes.
    Menu("c");
    const QByteArray targets =
        x.Output("xclip", {"-selection", "clipboard", "-t", "TARGETS", "-o"});
    for (const char* type : {"image/svg+xml", "image/png", "image/wmf", "image/x-wmf"})
        EXPECT_TRUE(targets.contains(type)) << type << " in " << targets.toStdString();
    EXPECT_EQ(x.Output("xclip", {"-selection", "clipboard", "-t", "image/wmf", "-o"}), wmf);
    QSvgRenderer svg(x.Output("xclip", {"-selection", "clipboard", "-t", "image/svg+xml", "-o"}));
    ASSERT_TRUE(svg.isValid());
    QImage rendered(picture.Size(), QImage::Format_ARGB32_Premultiplied);
    rendered.fill(Qt::white);
    {
        QPainter painter(&rendered);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
    }
    QImage ours(picture.Size(), QImage::Format_ARGB32_Premultiplied);
    ours.fill(Qt::white);
    {
        QPainter painter(&ours);
        painter.drawImage(0, 0, imaging::metafile_export::Image(picture, 1.0));
    }
    EXPECT_LT(picture_tools::Compare(rendered, ours).mean, 3.0)
        << "the SVG drawn by another renderer is the picture";
    QImage png;
    ASSERT_TRUE(png.loadFromData(
        x.Output("xclip", {"-selection", "clipboard", "-t", "image/png", "-o"}, 20000), "PNG"));
    EXPECT_GE(png.width(), 2 * picture.Width());
    EXPECT_TRUE(png.hasAlphaChannel());

    // Save As offers the record's own format, SVG and PNG.
    const QString own = out.filePath("balloons.wmf"), drawn = out.filePath("balloons.svg");
    SaveAs(own, "commands-vector-save.png");
    SaveAs(drawn, "commands-vector-svg.png");
    EXPECT_EQ(picture_tools::ReadAll(own), wmf);
    EXPECT_TRUE(QSvgRenderer(drawn).isValid());
}
