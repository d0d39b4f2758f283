// SPDX-License-Identifier: MIT
// The image view's edits: loading a file into the blob field with its messages, undo over the
// shared ring, invert and rotate through the effects engine.
#include "controls/imageview/db_multi_image.h"
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

    // Nothing shown: the edits say so.
    view->Picture.Clear();
    EXPECT_THROW(view->InvertImage(), imaging::ErrorInvalid);
}
