// SPDX-License-Identifier: MIT
// The image view's printing into a PDF document, read back by poppler's tools: a picture at
// its own size keeps every pixel, a size stretches it, several pictures share a document when
// the caller opens it, and a metafile goes in as vectors between two corners.
#include "controls/imageview/db_multi_image.h"
#include "platform/ui/printer.h"
#include "tests/controls/image_view_fixture.h"
#include "tests/engines/picture_tools.h"
#include "tests/support/qt_printers.h"
#include "tools/samples/wmf_writer.h"

#include <QProcess>
#include <gtest/gtest.h>

using controls::TPDBMultiImage;

namespace {

// The images embedded in a PDF: "width x height" of each.
QStringList EmbeddedImages(const QString& pdf) {
    QProcess p;
    p.start("pdfimages", {"-list", pdf});
    p.waitForFinished(30000);
    QStringList sizes;
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split('\n');
    for (qsizetype i = 2; i < lines.size(); ++i) { // after the two heading lines
        const QStringList f = lines[i].simplified().split(' ');
        if (f.size() > 4)
            sizes << f[3] + "x" + f[4];
    }
    return sizes;
}

// Whether a rendered colour is the expected one, give or take the document's encoding.
bool Near(QRgb c, QColor expected) {
    return std::abs(qRed(c) - expected.red()) <= 4 && std::abs(qGreen(c) - expected.green()) <= 4 &&
           std::abs(qBlue(c) - expected.blue()) <= 4;
}

// The first page rendered at the screen's resolution.
QImage Page(const QString& pdf, const QString& stem) {
    picture_tools::Run("pdftoppm", {"-r", "96", "-png", "-singlefile", pdf, stem});
    return QImage(stem + ".png").convertToFormat(QImage::Format_RGB32);
}

class Printing : public ImageViewFixture {
protected:
    void SetUp() override {
        ImageViewFixture::SetUp();
        pdf = dir.filePath("out.pdf");
        QPrinter& device = platform::Printer().Device();
        device.setOutputFormat(QPrinter::PdfFormat);
        device.setOutputFileName(pdf);
        device.setPageSize(QPageSize(QPageSize::A4));
        // Where the canvas's (0, 0) lies on the page, in the screen's pixels.
        origin = device.pageLayout().paintRectPixels(96).topLeft();
    }
    QString pdf;
    QPoint origin;
};

} // namespace

TEST_F(Printing, APictureAtItsOwnSizeKeepsEveryPixel) {
    QImage wide(3000, 60, QImage::Format_RGB32);
    wide.fill(qRgb(0, 0, 200));
    QImage small(300, 150, QImage::Format_RGB32);
    small.fill(qRgb(200, 0, 0));
    Bind({Encoded(wide, "PNG"), Encoded(small, "PNG")}, {100, 100});
    view->PrintImage(0, 0, 0, 0);
    EXPECT_EQ(EmbeddedImages(pdf), QStringList({"3000x60"}));

    table.GoNext();
    view->PrintImage(0, 0, 500, 0); // one size below 1: the picture's own size
    const QImage page = Page(pdf, dir.filePath("small"));
    ASSERT_FALSE(page.isNull());
    EXPECT_TRUE(Near(page.pixel(origin + QPoint(150, 75)), QColor(200, 0, 0)));
    EXPECT_TRUE(Near(page.pixel(origin + QPoint(296, 146)), QColor(200, 0, 0)));
    EXPECT_TRUE(Near(page.pixel(origin + QPoint(306, 75)), QColor(Qt::white))) << "as on screen";
    EXPECT_TRUE(Near(page.pixel(origin + QPoint(150, 156)), QColor(Qt::white)));

    // Stretched to a size, and two pictures in one document the caller opens.
    view->P_Begin_End_Doc = false;
    ASSERT_TRUE(platform::Printer().BeginDoc());
    view->PrintImage(0, 0, 600, 100);
    table.GoPrior();
    view->PrintImage(0, 200, 300, 20);
    platform::Printer().EndDoc();
    EXPECT_EQ(EmbeddedImages(pdf), QStringList({"300x150", "3000x60"}));
    const QImage both = Page(pdf, dir.filePath("both"));
    EXPECT_TRUE(Near(both.pixel(origin + QPoint(590, 90)), QColor(200, 0, 0)));
    EXPECT_TRUE(Near(both.pixel(origin + QPoint(290, 210)), QColor(0, 0, 200)));
}

TEST_F(Printing, AMetafileIsPrintedAsVectorsBetweenTwoCorners) {
    samples::WmfWriter w(QRect(0, 0, 100, 100), 96);
    const int red = w.CreateBrush(0, Qt::red);
    const int none = w.CreatePen(5, 0, Qt::black);
    w.Select(red);
    w.Select(none);
    w.Rectangle(QRect(0, 0, 100, 100));
    Bind({w.Finish()}, {100, 100});
    ASSERT_TRUE(view->Picture.HasMetafile());
    view->PrintImage(100, 100, 300, 300);
    EXPECT_EQ(EmbeddedImages(pdf), QStringList()) << "no bitmap: vectors";
    const QImage page = Page(pdf, dir.filePath("wmf"));
    EXPECT_TRUE(Near(page.pixel(origin + QPoint(105, 105)), QColor(Qt::red)));
    EXPECT_TRUE(Near(page.pixel(origin + QPoint(295, 295)), QColor(Qt::red)));
    EXPECT_TRUE(Near(page.pixel(origin + QPoint(95, 200)), QColor(Qt::white)));
    EXPECT_TRUE(Near(page.pixel(origin + QPoint(305, 200)), QColor(Qt::white)));
}

TEST_F(Printing, ABitmapInADrawingsPlaceIsPrintedAsABitmap) {
    // A bitmap put where the record's WMF was (a paste, a scan, an effect) is printed.
    samples::WmfWriter w(QRect(0, 0, 100, 100), 96);
    w.Rectangle(QRect(0, 0, 100, 100));
    Bind({w.Finish()}, {100, 100});
    ASSERT_EQ(view->BlobInfo().BlobFormat, "WMF");
    QImage green(40, 20, QImage::Format_RGB32);
    green.fill(qRgb(0, 200, 0));
    imaging::TBitmap bitmap;
    bitmap.SetHandle(green);
    view->Picture.SetBitmap(bitmap);
    view->PrintImage(0, 0, 0, 0);
    EXPECT_EQ(EmbeddedImages(pdf), QStringList({"40x20"}));
    const QImage page = Page(pdf, dir.filePath("bitmap"));
    EXPECT_TRUE(Near(page.pixel(origin + QPoint(20, 10)), QColor(0, 200, 0)));
}
