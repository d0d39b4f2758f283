// SPDX-License-Identifier: MIT
// The image view's edits: loading a file into the blob field with its messages, undo over the
// shared ring, invert and rotate through the effects engine.
#include "controls/imageview/db_multi_image.h"
#include "imaging/dib/dib.h"
#include "imaging/dib/dib_convert.h"
#include "imaging/error_invalid.h"
#include "imaging/undo_ring.h"
#include "tests/controls/image_view_fixture.h"
#include "tests/engines/picture_tools.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

using controls::TPDBMultiImage;

namespace {

QString Message(const std::function<void()>& f) {
    try {
        f();
    } catch (const platform::Exception& e) {
        return e.Message();
    }
    return {};
}

QImage Corners() {
    QImage image(8, 4, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(7, 3, qRgb(0, 0, 255));
    return image;
}

class Editing : public ImageViewFixture {};

} // namespace

TEST_F(Editing, AFileIsLoadedIntoTheFieldWithItsMessagesInOrder) {
    Bind({Encoded(Corners(), "PNG")}, {100, 100});
    const QString png = dir.filePath("new.png"), odd = dir.filePath("new.xyz");
    Solid({20, 10}, qRgb(0, 128, 0)).save(png);
    Solid({20, 10}, qRgb(0, 128, 0)).save(odd, "PNG");
    EXPECT_EQ(Message([&] { view->LoadFromFile(dir.filePath("missing.png")); }),
              "Input filename isn't valid");
    EXPECT_EQ(Message([&] { view->LoadFromFile(odd); }),
              "This format is not supported by this application");
    EXPECT_EQ(Message([&] { view->LoadFromFile(png); }), "Dataset not in edit or insert mode")
        << "the record source's own word";

    Deliver();
    const int before = toolbar.Count(controls::kStateChangedMessage);
    table.Edit();
    view->LoadFromFile(png);
    EXPECT_EQ(view->Picture.Size(), QSize(20, 10)) << "the display follows the field";
    EXPECT_EQ(view->BlobInfo().BlobFormat, "PNG");
    Deliver();
    EXPECT_GT(toolbar.Count(controls::kStateChangedMessage), before);
    table.Post();
    view->SetDataField("FileName");
    EXPECT_EQ(Message([&] { view->LoadFromFile(png); }), "Field is not a blobfield");
}

TEST_F(Editing, InvertRotateAndUndoWorkOnThePicture) {
    Bind({Encoded(Corners(), "PNG")}, {100, 100});
    view->InvertImage();
    QImage shown = view->Picture.Bitmap().Handle().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(QColor(shown.pixel(0, 0)), QColor(0, 255, 255));
    EXPECT_EQ(QColor(shown.pixel(3, 2)), QColor(0, 0, 0));
    view->UndoImage();
    shown = view->Picture.Bitmap().Handle().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown, Corners()) << "undo gives the picture before the inversion";

    view->RotateImage(0, 0, 0, 0, 180);
    shown = view->Picture.Bitmap().Handle().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(QColor(shown.pixel(7, 3)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(shown.pixel(0, 0)), QColor(0, 0, 255));
    view->RotateImage(0, 0, 0, 0, -90);
    EXPECT_EQ(view->Picture.Size(), QSize(4, 8));

    // A rectangle turns that part of the picture: the right half of the corners picture
    // (columns 4 to 7), a quarter turn clockwise, is 4 x 4 with the blue corner at the bottom
    // left. One reaching past the picture is cut at its edges; one outside it fails.
    {
        imaging::TBitmap corners;
        corners.SetHandle(Corners());
        view->Picture.SetBitmap(corners);
    }
    view->RotateImage(4, 0, 8, 4, -90);
    shown = view->Picture.Bitmap().Handle().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(4, 4));
    EXPECT_EQ(QColor(shown.pixel(0, 3)), QColor(0, 0, 255));
    EXPECT_EQ(QColor(shown.pixel(3, 3)), QColor(255, 255, 255));
    view->RotateImage(2, 2, 40, 40, 180);
    EXPECT_EQ(view->Picture.Size(), QSize(2, 2));
    EXPECT_NE(Message([&] { view->RotateImage(10, 10, 20, 20, 90); }), QString())
        << "nothing of the picture is in the rectangle";

    // Nothing shown: the edits say so.
    view->Picture.Clear();
    EXPECT_THROW(view->InvertImage(), imaging::ErrorInvalid);
}

// A picture whose size leaves part tiles and padded rows, in colour, in 256 and 16 colours and
// in two.
QImage TestPattern(int depth) {
    QImage colour(131, 67, QImage::Format_RGB32);
    for (int y = 0; y < colour.height(); ++y)
        for (int x = 0; x < colour.width(); ++x)
            colour.setPixel(x, y, qRgb(x * 2 % 256, y * 3 % 256, (x * y) % 256));
    if (depth == 1)
        return colour.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    if (depth == 4 || depth == 8) {
        QVector<QRgb> table;
        const int entries = depth == 4 ? 16 : 256;
        for (int i = 0; i < entries; ++i)
            table.push_back(
                qRgb(i * 255 / (entries - 1), 255 - i * 255 / (entries - 1), (i * 40) % 256));
        return colour.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither);
    }
    return colour;
}

// The read depth that keeps a picture of `depth` bits as it is stored.
imaging::TLoadResolution ReadResolution(int depth) {
    switch (depth) {
    case 1:
        return imaging::lMonoChrome;
    case 4:
        return imaging::lColor16;
    case 8:
        return imaging::lColor256;
    default:
        return imaging::lColorTrue;
    }
}

// The depth of the DIB the edits hand the engine.
int PictureBits(const TPDBMultiImage& view) {
    HGLOBAL dib = nullptr;
    imaging::BitmapToDib(&view.Picture.Bitmap(), &dib);
    const int bits = imaging::DibBitCount(dib);
    imaging::FreeDib(dib);
    return bits;
}

class EditingAtDepth : public Editing, public ::testing::WithParamInterface<int> {};

TEST_P(EditingAtDepth, TurnsAndInversionAreExactAcrossTiles) {
    // The read depth is set, so the picture is held at its own depth whatever the screen's.
    const int depth = GetParam();
    Bind({Encoded(TestPattern(depth), "PNG")}, {100, 100},
         [depth](TPDBMultiImage& v) { v.ImageReadRes = ReadResolution(depth); });
    ASSERT_EQ(PictureBits(*view), depth);
    auto shown = [&] {
        return view->Picture.Bitmap().Handle().convertToFormat(QImage::Format_RGB32);
    };
    const QImage original = shown();
    ASSERT_EQ(original.size(), QSize(131, 67));
    // Each turn against the toolkit's, then turned back (turns keep no undo copy).
    for (int angle : {90, -90, 180}) {
        view->RotateImage(0, 0, 0, 0, angle);
        const picture_tools::Difference d =
            picture_tools::Compare(shown(), original.transformed(QTransform().rotate(-angle)));
        EXPECT_FALSE(d.sizeDiffers) << angle;
        EXPECT_EQ(d.pixels, 0) << angle;
        view->RotateImage(0, 0, 0, 0, -angle);
        EXPECT_EQ(picture_tools::Compare(shown(), original).pixels, 0) << "back from " << angle;
    }
    view->InvertImage();
    QImage inverted = original;
    inverted.invertPixels();
    EXPECT_EQ(picture_tools::Compare(shown(), inverted).pixels, 0);
    view->UndoImage();
    EXPECT_EQ(picture_tools::Compare(shown(), original).pixels, 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, EditingAtDepth, ::testing::Values(24, 8, 4, 1));
