// SPDX-License-Identifier: MIT
// The image view's clipboard: the picture offered as PNG, BMP and the toolkit's image type,
// each decoding to the picture; paste and cut with their editing rules on an editable copy.
#include "controls/imageview/db_multi_image.h"
#include "data/field.h"
#include "imaging/error_invalid.h"
#include "imaging/undo_ring.h"
#include "tests/controls/image_view_fixture.h"
#include "tests/support/qt_printers.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

using controls::TPDBMultiImage;

namespace {

QImage Checks(QRgb a, QRgb b) {
    QImage image(16, 12, QImage::Format_RGB32);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, (x / 4 + y / 4) % 2 ? a : b);
    return image;
}

class Clipboard : public ImageViewFixture {};

} // namespace

TEST_F(Clipboard, ACopyIsOfferedInTheFormatsOtherProgramsPaste) {
    const QImage picture = Checks(qRgb(200, 10, 10), qRgb(10, 10, 200));
    Bind({Encoded(picture, "PNG")}, {100, 100});
    view->CopyToClipboard();
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    for (const char* format : {"image/png", "image/bmp"}) {
        SCOPED_TRACE(format);
        ASSERT_TRUE(mime->hasFormat(format));
        const QImage decoded = QImage::fromData(mime->data(format));
        EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32), picture);
    }
    EXPECT_TRUE(mime->hasImage());
    EXPECT_EQ(qvariant_cast<QImage>(mime->imageData()).convertToFormat(QImage::Format_RGB32),
              picture);

    // Nothing shown: the copy says so.
    view->Picture.Clear();
    EXPECT_THROW(view->CopyToClipboard(), imaging::ErrorInvalid);
}

TEST_F(Clipboard, PasteAndCutFollowTheEditingRules) {
    Bind({Encoded(Checks(qRgb(0, 0, 0), qRgb(255, 255, 255)), "PNG")}, {100, 100});
    const QImage pasted = Checks(qRgb(0, 200, 0), qRgb(250, 250, 0));

    // Text alone on the clipboard changes nothing and keeps no undo copy.
    QGuiApplication::clipboard()->setText(QStringLiteral("just words"));
    const bool undoBefore = imaging::UndoRing::Shared().UndoAvailable();
    view->PasteFromClipboard();
    EXPECT_EQ(table.State(), data::TDataSetState::dsBrowse);
    EXPECT_EQ(imaging::UndoRing::Shared().UndoAvailable(), undoBefore);

    // A picture from another program: the record goes into editing and shows it.
    QGuiApplication::clipboard()->setImage(pasted);
    view->PasteFromClipboard();
    EXPECT_EQ(table.State(), data::TDataSetState::dsEdit);
    EXPECT_EQ(view->Picture.Bitmap().Handle().convertToFormat(QImage::Format_RGB32), pasted);
    EXPECT_TRUE(imaging::UndoRing::Shared().UndoAvailable());
    table.Post(); // written back in the view's format
    EXPECT_EQ(view->BlobInfo().BlobFormat, "JPEG");
    EXPECT_EQ(view->Picture.Size(), QSize(16, 12));

    // Cut: copies, and empties the picture only while the record can be edited.
    view->CutToClipboard();
    EXPECT_FALSE(view->Picture.HasGraphic());
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(16, 12));
    table.Cancel();
    EXPECT_EQ(view->Picture.Size(), QSize(16, 12)) << "the stored picture again";
    view->SetReadOnly(true);
    view->CutToClipboard();
    EXPECT_TRUE(view->Picture.HasGraphic()) << "read-only: copied, not removed";
    QGuiApplication::clipboard()->setImage(Checks(qRgb(1, 1, 1), qRgb(2, 2, 2)));
    view->PasteFromClipboard();
    EXPECT_EQ(view->Picture.Size(), QSize(16, 12));
    EXPECT_EQ(table.State(), data::TDataSetState::dsBrowse);
}
