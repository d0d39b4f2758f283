// SPDX-License-Identifier: MIT
// EPS and DXF pictures drawn again at the scale they are shown or printed at: the scaled
// picture first, then, on the workers, lines one pixel (or their own width) wide at zoom 4 and
// on paper; an edited picture stays as it is.
#include "controls/imageview/db_multi_image.h"
#include "imaging/decoding/decoder.h"
#include "platform/ui/printer.h"
#include "tests/controls/image_view_fixture.h"
#include "tests/engines/picture_tools.h"

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A cross in a 100 x 100 box, black lines at x = 1 and y = 99: near the picture's top left,
// so they show at zoom 4 in a small view.
QByteArray Cross() {
    return QByteArray("0\nSECTION\n2\nENTITIES\n"
                      "0\nLINE\n10\n0\n20\n99\n11\n100\n21\n99\n"
                      "0\nLINE\n10\n1\n20\n0\n11\n1\n21\n100\n0\nENDSEC\n0\nEOF\n");
}

// A quarter-point line across a 100 x 50 point picture, 8 points from its top.
QByteArray ThinLineEps() {
    return QByteArray("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 50\n"
                      "0.25 setlinewidth 0 42.1 moveto 100 42.1 lineto stroke showpage\n");
}

// The dark pixels down column `x`, and across row `y`, inside the view's frame.
int DarkDown(const QImage& image, int x) {
    int n = 0;
    for (int y = 2; y < image.height() - 2; ++y)
        n += qGray(image.pixel(x, y)) < 128;
    return n;
}
int DarkAcross(const QImage& image, int y) {
    int n = 0;
    for (int x = 2; x < image.width() - 2; ++x)
        n += qGray(image.pixel(x, y)) < 128;
    return n;
}

class SharpRendering : public ImageViewFixture {
protected:
    void Show(const QByteArray& picture) {
        Bind({picture}, {200, 150}, [](controls::TPDBMultiImage& v) {
            v.SetColor(platform::clWhite);
            v.SetStretchRatio(false);
            v.SetCenter(false);
        });
        view->SetDecoder(&decoder);
    }
    // Grabs until the line down column `x` is at most `width` pixels thick.
    bool ThinsTo(int x, int width) {
        return QTest::qWaitFor([&] { return DarkDown(Grab(), x) <= width; }, 15000);
    }
    imaging::Decoder decoder{1};
};

} // namespace

TEST_F(SharpRendering, ADxfAtZoomFourShowsItsScaledPixelsThenLinesOnePixelWide) {
    Show(Cross());
    ASSERT_EQ(view->BlobInfo().BlobFormat, "DXF");
    EXPECT_EQ(DarkDown(Grab(), 100), 1) << "at its own size";
    view->ZoomIn(2.0);
    view->ZoomIn(2.0);
    EXPECT_EQ(DarkDown(Grab(), 100), 4) << "meanwhile, its pixels scaled four times";
    ASSERT_TRUE(ThinsTo(100, 1)) << "drawn again: " << DarkDown(Grab(), 100);
    const QImage shown = Grab();
    EXPECT_EQ(DarkAcross(shown, 100), 1) << "the vertical line too";
    EXPECT_EQ(DarkDown(shown, 100), 1);

    // Each new zoom shows the scaled pixels first, then its own rendering.
    view->ZoomOut(0.5);
    EXPECT_EQ(DarkDown(Grab(), 100), 2) << "zoom 2";
    ASSERT_TRUE(ThinsTo(100, 1));
    EXPECT_EQ(DarkAcross(Grab(), 100), 1);
}

TEST_F(SharpRendering, AnEpsAtZoomFourIsRenderedAgainAtItsOwnLineWidth) {
    Show(ThinLineEps());
    ASSERT_EQ(view->BlobInfo().BlobFormat, "EPS");
    view->ZoomIn(2.0);
    view->ZoomIn(2.0);
    EXPECT_EQ(DarkDown(Grab(), 100), 4);
    EXPECT_TRUE(ThinsTo(100, 2)) << "a quarter point at 288 dpi: " << DarkDown(Grab(), 100);
    EXPECT_GE(DarkDown(Grab(), 100), 1);
}

TEST_F(SharpRendering, AnEditedPictureKeepsItsOwnPixels) {
    Show(Cross());
    view->InvertImage();
    view->ZoomIn(2.0);
    view->ZoomIn(2.0);
    // Inverted, the line is the one light band of the column.
    auto light = [](const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            n += qGray(image.pixel(100, y)) >= 128;
        return n;
    };
    EXPECT_EQ(light(Grab()), 4);
    QTest::qWait(2 * controls::SharpRendering::kSettleMs);
    decoder.WaitIdle();
    QCoreApplication::processEvents();
    EXPECT_EQ(light(Grab()), 4) << "not drawn again from the record";
}

TEST_F(SharpRendering, OnPaperADxfIsDrawnAtThePapersResolution) {
    const QString pdf = dir.filePath("sharp.pdf");
    QPrinter& device = platform::Printer().Device();
    device.setOutputFormat(QPrinter::PdfFormat);
    device.setOutputFileName(pdf);
    device.setPageSize(QPageSize(QPageSize::A4));
    Show(Cross());
    controls::PrintPlacement fit;
    fit.How = controls::PrintPlacement::Size::FitPage;
    view->PrintPlaced(fit);
    // The embedded picture is as wide as the page's paint area at 300 dpi.
    const int paper = device.pageLayout().paintRectPixels(300).width();
    picture_tools::Run("pdfimages", {"-png", pdf, dir.filePath("sharp")});
    const QImage embedded = QImage(dir.filePath("sharp-000.png"));
    ASSERT_FALSE(embedded.isNull());
    EXPECT_NEAR(embedded.width(), paper, 3);
    EXPECT_EQ(DarkDown(embedded, embedded.width() / 2), 1)
        << "one dot of the paper, where the scaled picture gives " << paper / 640.0;
    EXPECT_EQ(DarkAcross(embedded, embedded.height() / 2), 1);
}
