// SPDX-License-Identifier: MIT
// The image view's printing into a PDF document, read back by poppler's tools: a picture at
// its own size keeps every pixel, a size stretches it, several pictures share a document when
// the caller opens it, and a metafile goes in as vectors between two corners.
#include "controls/imageview/db_multi_image.h"
#include "engines/crde2000/crde2000.h"
#include "imaging/engine/annotation_calls.h"
#include "platform/ui/printer.h"
#include "tests/controls/image_view_fixture.h"
#include "tests/engines/picture_tools.h"
#include "tests/support/qt_printers.h"
#include "tools/samples/wmf_writer.h"

#include <QCoreApplication>
#include <QMouseEvent>
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

// A placeable metafile of 100 x 100 units at 96 an inch, all of it a red square.
QByteArray RedSquare() {
    samples::WmfWriter w(QRect(0, 0, 100, 100), 96);
    const int red = w.CreateBrush(0, Qt::red);
    const int none = w.CreatePen(5, 0, Qt::black);
    w.Select(red);
    w.Select(none);
    w.Rectangle(QRect(0, 0, 100, 100));
    return w.Finish();
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
    Bind({RedSquare()}, {100, 100});
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

namespace {

// Red grows to the right, green downwards, blue falls along the diagonal: every pixel and
// every corner differ, so a turned, mirrored or row-swapped print cannot pass for it. Smooth,
// so the document's compression (the printer may store pictures as JPEG) keeps it within a
// level or two.
QImage Pattern() {
    QImage image(64, 40, QImage::Format_RGB32);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, qRgb(x * 4, y * 6, 255 - (x + y) * 2));
    return image;
}

// The first picture embedded in the document, as poppler extracts it.
QImage FirstEmbedded(const QString& pdf, const QString& stem) {
    picture_tools::Run("pdfimages", {"-png", "-f", "1", "-l", "1", pdf, stem});
    return QImage(stem + "-000.png").convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST_F(Printing, APatternedPictureComesOutOfTheDocumentPixelForPixel) {
    Bind({Encoded(Pattern(), "PNG")}, {100, 100});
    view->PrintImage(0, 0, 0, 0);
    const QImage printed = FirstEmbedded(pdf, dir.filePath("pattern"));
    const picture_tools::Difference d = picture_tools::Compare(printed, Pattern());
    EXPECT_FALSE(d.sizeDiffers);
    // Within the document's JPEG encoding: two levels on average, a few at the most.
    EXPECT_LE(d.mean, 2.0);
    EXPECT_LE(d.largest, 8);
    // Mirrored, flipped or turned half round it would be far off.
    for (auto [h, v] : {std::pair{true, false}, std::pair{false, true}, std::pair{true, true}})
        EXPECT_GT(picture_tools::Compare(printed, Pattern().mirrored(h, v)).mean, 20.0);
}

TEST_F(Printing, AnnotationsAreBurntIntoThePrintedPictureOnly) {
    Bind({Encoded(Solid({200, 150}, qRgb(255, 255, 255)), "PNG")}, {200, 150},
         [](TPDBMultiImage& v) { v.SetStretchRatio(false); });
    view->SetEditAnnotat(true);
    Deliver();
    imaging::MenuMsg(view.get(), CRDE_ANNO_RECTANGLE);
    auto mouse = [&](QEvent::Type type, QPoint at) {
        QMouseEvent e(type, at, view->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
        QCoreApplication::sendEvent(view.get(), &e);
    };
    mouse(QEvent::MouseButtonPress, {40, 30});
    mouse(QEvent::MouseMove, {80, 60});
    mouse(QEvent::MouseMove, {120, 90});
    mouse(QEvent::MouseButtonRelease, {120, 90});
    Deliver();
    ASSERT_EQ(imaging::IsAnnotation(view.get()), 1);
    view->PrintImage(0, 0, 0, 0);
    const QImage printed = FirstEmbedded(pdf, dir.filePath("annotated"));
    ASSERT_EQ(printed.size(), QSize(200, 150));
    // The line's colour from the annotation settings, red; stored as JPEG by the document.
    auto reddish = [](QRgb c) { return qRed(c) > 150 && qGreen(c) < 80 && qBlue(c) < 80; };
    EXPECT_TRUE(reddish(printed.pixel(80, 30))) << "the rectangle's top edge";
    EXPECT_TRUE(reddish(printed.pixel(40, 60))) << "its left edge";
    EXPECT_TRUE(Near(printed.pixel(80, 60), QColor(255, 255, 255))) << "an outline";
    EXPECT_EQ(view->Picture.Bitmap().Handle().pixel(80, 30), qRgb(255, 255, 255))
        << "the picture itself stays as it was";
}

TEST(PrintPlacement, OwnSizeFitsAndMillimetresKeepTheProportionsTopLeftOrCentred) {
    using controls::PrintPlacement;
    const QSize page(700, 1000); // canvas pixels at 96 an inch
    PrintPlacement p;
    EXPECT_EQ(p.Target({300, 150}, page, 96), QRect(0, 0, 300, 150)) << "the default";
    p.Centred = true;
    EXPECT_EQ(p.Target({300, 150}, page, 96), QRect(200, 425, 300, 150));
    EXPECT_EQ(p.Target({900, 100}, page, 96), QRect(0, 450, 900, 100))
        << "wider than the page: its left edge stays on it";
    p.How = PrintPlacement::Size::FitPage;
    EXPECT_EQ(p.Target({300, 150}, page, 96), QRect(0, 325, 700, 350)) << "enlarged to fit";
    EXPECT_EQ(p.Target({100, 400}, page, 96), QRect(225, 0, 250, 1000));
    p.Centred = false;
    EXPECT_EQ(p.Target({3000, 60}, page, 96), QRect(0, 0, 700, 14));
    p.How = PrintPlacement::Size::Millimetres;
    p.Millimetres = QSizeF(254, 127); // 10 by 5 inches
    EXPECT_EQ(p.Target({100, 100}, page, 96), QRect(0, 0, 480, 480));
    EXPECT_EQ(p.Target({100, 100}, page, 300), QRect(0, 0, 1500, 1500)) << "at the canvas's dpi";
    EXPECT_EQ(p.Target({}, page, 96), QRect()) << "no picture, nothing placed";
}

TEST_F(Printing, APlacedPictureLandsWhereThePlacementSaysWithEveryPixel) {
    QImage small(300, 150, QImage::Format_RGB32);
    small.fill(qRgb(200, 0, 0));
    Bind({Encoded(small, "PNG")}, {100, 100});
    controls::PrintPlacement fit;
    fit.How = controls::PrintPlacement::Size::FitPage;
    fit.Centred = true;
    view->PrintPlaced(fit);
    EXPECT_EQ(EmbeddedImages(pdf), QStringList({"300x150"})) << "its own pixels, scaled on paper";
    const QImage page = Page(pdf, dir.filePath("fit"));
    const QSize paint = platform::Printer().Device().pageLayout().paintRectPixels(96).size();
    const int height = paint.width() / 2; // 2 : 1, as wide as the page
    const int top = origin.y() + (paint.height() - height) / 2;
    EXPECT_TRUE(Near(page.pixel(origin.x() + 3, top + 3), QColor(200, 0, 0)));
    EXPECT_TRUE(
        Near(page.pixel(origin.x() + paint.width() - 4, top + height - 4), QColor(200, 0, 0)));
    EXPECT_TRUE(Near(page.pixel(origin.x() + 3, top - 4), QColor(Qt::white))) << "centred";
    EXPECT_TRUE(Near(page.pixel(origin.x() + 3, top + height + 4), QColor(Qt::white)));
}

TEST_F(Printing, APlacedDrawingIsGivenItsCornersAndStaysVectors) {
    Bind({RedSquare()}, {100, 100});
    controls::PrintPlacement fit;
    fit.How = controls::PrintPlacement::Size::FitPage; // a square as wide as the page
    view->PrintPlaced(fit);
    EXPECT_EQ(EmbeddedImages(pdf), QStringList()) << "no bitmap: vectors";
    const QImage page = Page(pdf, dir.filePath("placed-wmf"));
    const int side = platform::Printer().Device().pageLayout().paintRectPixels(96).width();
    EXPECT_TRUE(Near(page.pixel(origin + QPoint(side - 4, side - 4)), QColor(Qt::red)))
        << "its far corner, not its size taken for one";
    EXPECT_TRUE(Near(page.pixel(origin + QPoint(side / 2, side + 4)), QColor(Qt::white)));
}
