// SPDX-License-Identifier: MIT
// File > Print in the real program, through the real print dialog, to a real print queue: a
// private CUPS scheduler with a cups-pdf queue (where CUPS cannot run, the dialog's PDF file
// printer). The PDF is read with poppler's tools: the picture is embedded with every pixel and
// printed at its size on the screen.
#include "tests/e2e/print_session.h"
#include "tests/engines/picture_tools.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString kFirst = QStringLiteral(VLMOR_SAMPLES_DIR "/pictures/BORD01.BMP");

class PrintQueue : public PrintSession {
protected:
    void SetUp() override { LaunchPrinting(QStringLiteral("Print Commands"), extra); }
    QStringList extra; // more of the program's environment
};

// The contact sheet's columns and rows set beforehand, as the dialog's page remembers them. It
// is printed into a PDF file by the dialog's own printer: the queue's PostScript step turns
// the text into shapes pdftotext cannot read back.
class ContactSheetQueue : public PrintQueue {
protected:
    ContactSheetQueue() {
        toPdfFile = true;
        QDir().mkpath(settings.filePath("Vellamore"));
        QFile file(settings.filePath("Vellamore/vlmor.conf"));
        if (file.open(QIODevice::WriteOnly))
            file.write("[ContactSheet]\nColumns=3\nRows=2\n");
        extra = {"XDG_CONFIG_HOME=" + settings.path(), "XDG_CACHE_HOME=" + settings.path()};
    }
    QTemporaryDir settings;
};

} // namespace

TEST_F(PrintQueue, PrintGoesThroughThePrintDialogToTheQueue) {
    const QImage original = picture_tools::ImageMagickPixels(kFirst);
    ASSERT_FALSE(original.isNull());
    Menu("p", "print-menu.png");
    PrintFromDialog(QStringLiteral("BORD01"));
    if (HasFatalFailure())
        return;

    // The job is named after the record's file, and the page holds one picture with all of
    // the picture's pixels.
    ExpectOnePicture(QStringLiteral("BORD01.BMP"), original.size());
    if (HasFatalFailure())
        return;

    // The embedded picture is the picture (the queue's PostScript-to-PDF step stores it as a
    // JPEG, so a level or two off).
    const QString extracted = QDir(dir.path()).filePath(QStringLiteral("embedded"));
    ASSERT_TRUE(picture_tools::Run("pdfimages", {"-png", pdf, extracted}));
    const QImage embedded = QImage(extracted + "-000.png").convertToFormat(QImage::Format_RGB32);
    const picture_tools::Difference kept = picture_tools::Compare(embedded, original);
    EXPECT_FALSE(kept.sizeDiffers);
    EXPECT_LT(kept.mean, 2.0);

    // At the screen's 96 dots an inch the printed picture has its pixel size and lies at the
    // page's top left, inside the printer's margins.
    const QString page = QDir(dir.path()).filePath(QStringLiteral("page"));
    ASSERT_TRUE(picture_tools::Run("pdftoppm", {"-r", "96", "-png", "-singlefile", pdf, page}));
    const QImage printed = QImage(page + ".png").convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(printed.isNull());
    // Where the drawn lines lie, on the page and in the picture (which has a white margin).
    auto inkOf = [](const QImage& image) {
        QRect ink;
        for (int yy = 0; yy < image.height(); ++yy)
            for (int xx = 0; xx < image.width(); ++xx)
                if (qGray(image.pixel(xx, yy)) < 128)
                    ink |= QRect(xx, yy, 1, 1);
        return ink;
    };
    const QRect ink = inkOf(printed), drawn = inkOf(original);
    EXPECT_NEAR(ink.width(), drawn.width(), 1);
    EXPECT_NEAR(ink.height(), drawn.height(), 1);
    const QPoint at = ink.topLeft() - drawn.topLeft();
    EXPECT_GE(at.x(), 0);
    EXPECT_LT(at.x(), 48) << "within half an inch of the page's left edge";
    EXPECT_GE(at.y(), 0);
    EXPECT_LT(at.y(), 48);
}

TEST_F(ContactSheetQueue, TheBorderTabPrintsSixPicturesAPageWithCaptions) {
    Click({173, 80}); // the Border tab: its twenty pictures
    Click({420, 300});
    x.Xdo({"key", "ctrl+g"});
    QThread::msleep(500);
    Menu("n", "contact-sheet-menu.png");
    PrintFromDialog(QStringLiteral("Contact"));
    if (HasFatalFailure())
        return;
    // pdfimages: the page in the first column, the kind in the third.
    const QStringList images =
        QString::fromUtf8(x.Output("pdfimages", {"-list", pdf})).split(u'\n', Qt::SkipEmptyParts);
    std::map<int, int> perPage;
    for (const QString& line : images.mid(2)) {
        const QStringList columns = line.simplified().split(u' ');
        if (columns.size() > 2 && columns[2] == QLatin1String("image"))
            ++perPage[columns[0].toInt()];
    }
    EXPECT_EQ(perPage, (std::map<int, int>{{1, 6}, {2, 6}, {3, 6}, {4, 2}}));
    const QString text = QString::fromUtf8(x.Output("pdftotext", {"-layout", pdf, "-"}));
    for (const char* name : {"BORD01.BMP", "BORD07.TIF", "BORD12.EPS", "BORD20.PCX"})
        EXPECT_TRUE(text.contains(QLatin1String(name))) << name;
    EXPECT_TRUE(text.contains(QLatin1String("Navy double-ruled border")));
    EXPECT_TRUE(text.contains(QLatin1String("Page 4 of 4")));
    EXPECT_GE(text.count(QLatin1String("Border")), 4) << "the tab heads every page";
    // The first page kept beside the screenshots, to be looked at.
    x.Output("pdftoppm", {"-r", "60", "-png", "-singlefile", "-f", "1", pdf,
                          QDir(VLMOR_SHOTS_DIR).filePath("contact-sheet-page1")});
}
