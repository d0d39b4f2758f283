// SPDX-License-Identifier: MIT
// File > Print in the real program, through the real print dialog, to a real print queue: a
// private CUPS scheduler with a cups-pdf queue (where CUPS cannot run, the dialog's PDF file
// printer). The PDF is read with poppler's tools: the picture is embedded with every pixel and
// printed at its size on the screen.
#include "tests/e2e/main_window_session.h"
#include "tests/engines/picture_tools.h"
#include "tests/support/cups_session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

#include <iostream>

namespace {

const QString kFirst = QStringLiteral(VLMOR_SAMPLES_DIR "/pictures/BORD01.BMP");

class PrintQueue : public MainWindowSession {
protected:
    void SetUp() override {
        // Where CUPS cannot run (not root, or no cups-pdf), the program sees no scheduler and
        // the same dialog prints to a PDF file; where it can, a scheduler that failed fails.
        ASSERT_TRUE(cups.Running() || !cups.Possible())
            << "the CUPS scheduler failed: " << cups.WhyNot().toStdString();
        if (!cups.Running())
            toFile = QDir(out.path()).filePath(QStringLiteral("printed.pdf"));
        const QString server =
            cups.Running() ? cups.Server() : QDir(out.path()).filePath(QStringLiteral("none"));
        Launch(QStringLiteral("Print Commands"), {"CUPS_SERVER=" + server});
    }
    void TearDown() override {
        MainWindowSession::TearDown();
        if (!pdf.isEmpty())
            QFile::remove(pdf);
    }
    // The file the PDF printer wrote, once its size has settled ("" when none came).
    QString WaitForFile(const QString& file) const {
        qint64 size = -1;
        for (int look = 0; look < 120; ++look) {
            const qint64 now = QFileInfo(file).size();
            if (now > 0 && now == size)
                return file;
            size = now;
            QThread::msleep(250);
        }
        return {};
    }

    CupsSession cups;
    QTemporaryDir out;
    QString toFile, pdf;
};

} // namespace

TEST_F(PrintQueue, PrintGoesThroughThePrintDialogToTheQueue) {
    const QImage original = picture_tools::ImageMagickPixels(kFirst);
    ASSERT_FALSE(original.isNull());
    Menu("p", "print-menu.png");
    const auto dialog = x.WaitForWindow("Print", 10000);
    ASSERT_TRUE(dialog.has_value()) << "the print dialog";
    QThread::msleep(500);
    const QImage shown = x.Screenshot(QDir(VLMOR_SHOTS_DIR).filePath("print-dialog.png"));
    EXPECT_FALSE(shown.copy(*dialog).isNull());
    if (toFile.isEmpty()) {
        x.Xdo({"key", "Return"}); // Print, to the default queue
        pdf = cups.WaitForPdf(QStringLiteral("BORD01"), 30000);
        ASSERT_FALSE(pdf.isEmpty()) << "the queue wrote no PDF";
    } else {
        std::cerr << "No CUPS here (" << cups.WhyNot().toStdString()
                  << "): printing to a PDF file through the same dialog\n";
        // "Print to File (PDF)" is the printer; its output file field is typed into.
        x.Xdo({"mousemove", QString::number(dialog->x() + 190), QString::number(dialog->y() + 118),
               "click", "1"});
        x.Xdo({"key", "ctrl+a"});
        x.Xdo({"type", toFile});
        x.Xdo({"key", "Return"});
        pdf = WaitForFile(toFile);
        ASSERT_FALSE(pdf.isEmpty()) << "no PDF file was printed";
    }

    // The job is named after the record's file, and the page holds one picture with all of
    // the picture's pixels.
    const QString info = QString::fromUtf8(x.Output("pdfinfo", {pdf}));
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Title:\\s+\\(?BORD01\\.BMP"))))
        << info.toStdString();
    const QStringList images =
        QString::fromUtf8(x.Output("pdfimages", {"-list", pdf})).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(images.size(), 3) << "a header of two lines and one picture";
    const QStringList columns = images[2].simplified().split(u' ');
    ASSERT_GT(columns.size(), 4);
    EXPECT_EQ(columns[3], QString::number(original.width()));
    EXPECT_EQ(columns[4], QString::number(original.height()));

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
