// SPDX-License-Identifier: MIT
// Pictures dragged out of the real program under Xvfb into another program (a drop probe):
// the list's current row and an overview tile, each received as its file under the record's
// name, as a PNG of the same pixels and, for a drawing, as an SVG; the files go with the
// program.
#include "imaging/metafile/metafile.h"
#include "imaging/metafile/metafile_export.h"
#include "tests/e2e/main_window_session.h"
#include "tests/engines/picture_tools.h"

#include <QDir>
#include <QFileInfo>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QString Sample(const QString& file) {
    return QStringLiteral(VLMOR_SAMPLES_DIR "/pictures/") + file;
}

class DragOut : public MainWindowSession {
protected:
    void SetUp() override { Launch(QStringLiteral("Drag Out")); }

    // What the probe received from a drag that starts at a point of the main window: held,
    // moved past the drag distance and over the probe in steps, released there.
    struct Received {
        QStringList formats;
        QString file;
        QByteArray bytes;
        QImage png;
        QByteArray svg;
    };
    Received DragFrom(QPoint inWindow, const QString& shot) {
        QTemporaryDir into;
        auto probe = x.Start(QStringLiteral(VLMOR_DROP_PROBE), {into.path(), "850", "40"});
        const std::optional<QRect> target = x.WaitForWindow(QStringLiteral("Drop Probe"), 10000);
        EXPECT_TRUE(target.has_value()) << "the probe's window did not come";
        if (!target)
            return {};
        const QPoint from = main->topLeft() + inWindow, to = target->center();
        auto at = [](QPoint p) {
            return QStringList{QString::number(p.x()), QString::number(p.y())};
        };
        x.Xdo(QStringList{"mousemove"} + at(from) + QStringList{"mousedown", "1"});
        for (int step = 1; step <= 8; ++step) {
            x.Xdo(QStringList{"mousemove"} + at(from + (to - from) * step / 8));
            QThread::msleep(150);
        }
        Shot(shot);
        x.Xdo({"mouseup", "1"});
        EXPECT_TRUE(probe->waitForFinished(20000));
        EXPECT_EQ(probe->exitCode(), 0) << "the probe got a file";
        const QDir got(into.path());
        Received r;
        r.formats = QString::fromUtf8(picture_tools::ReadAll(got.filePath("formats.txt")))
                        .split(u'\n', Qt::SkipEmptyParts);
        r.file = QString::fromUtf8(picture_tools::ReadAll(got.filePath("file.txt")));
        r.bytes = picture_tools::ReadAll(got.filePath("file.bin"));
        r.png = QImage(got.filePath("picture.png"));
        r.svg = picture_tools::ReadAll(got.filePath("picture.svg"));
        return r;
    }
};

TEST_F(DragOut, TheListsRowAndATileGoIntoAnotherProgramAsFilePngAndSvg) {
    // The list's first row, BORD01.BMP: its file as it is stored, and its pixels as a PNG.
    const Received row = DragFrom({50, 297}, "drag-list-row.png");
    EXPECT_TRUE(row.formats.contains("text/uri-list")) << row.formats.join(' ').toStdString();
    EXPECT_TRUE(row.formats.contains("image/png"));
    EXPECT_FALSE(row.formats.contains("image/svg+xml")) << "a bitmap has no SVG";
    EXPECT_TRUE(row.file.endsWith("/BORD01.BMP")) << row.file.toStdString();
    EXPECT_EQ(row.bytes, picture_tools::ReadAll(Sample("BORD01.BMP")));
    const QImage original = picture_tools::ImageMagickPixels(Sample("BORD01.BMP"));
    EXPECT_EQ(
        picture_tools::Compare(row.png.convertToFormat(QImage::Format_RGB32), original).pixels, 0);

    // The overview, found down to the teapot (an EMF): its tile dragged.
    Click({420, 300});
    x.Xdo({"key", "ctrl+g"});
    QThread::msleep(800);
    Click({290, 108});
    x.Xdo({"type", "teapot"});
    QThread::msleep(1500);
    const Received tile = DragFrom({75, 195}, "drag-overview-tile.png");
    EXPECT_TRUE(tile.formats.contains("image/svg+xml")) << tile.formats.join(' ').toStdString();
    EXPECT_TRUE(tile.file.endsWith("/TEAPOT1.EMF")) << tile.file.toStdString();
    const QByteArray emf = picture_tools::ReadAll(Sample("TEAPOT1.EMF"));
    EXPECT_EQ(tile.bytes, emf);
    imaging::Metafile drawing;
    ASSERT_TRUE(drawing.Load(emf));
    QSvgRenderer svg(tile.svg);
    EXPECT_TRUE(svg.isValid());
    EXPECT_EQ(svg.defaultSize(), drawing.Size());
    const QImage ours = imaging::metafile_export::ExportImage(drawing);
    ASSERT_EQ(tile.png.size(), ours.size()) << "twice its natural size";
    const picture_tools::Difference d =
        picture_tools::Compare(tile.png.convertToFormat(QImage::Format_ARGB32),
                               ours.convertToFormat(QImage::Format_ARGB32));
    EXPECT_LE(d.largest, 2) << "our player's own drawing";

    // The dragged files live as long as the program.
    EXPECT_TRUE(QFileInfo::exists(tile.file));
    Menu("x");
    EXPECT_TRUE(process->waitForFinished(10000));
    EXPECT_FALSE(QFileInfo::exists(row.file));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(tile.file).dir().path())) << "nor their folder";
}

} // namespace
