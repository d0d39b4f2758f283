// SPDX-License-Identifier: MIT
// The image view's clipboard: the picture offered as PNG, BMP and the toolkit's image type,
// each decoding to the picture; a vector picture as SVG, PNG and its own bytes; paste and cut
// with their editing rules on an editable copy.
#include "controls/imageview/db_multi_image.h"
#include "data/field.h"
#include "imaging/error_invalid.h"
#include "imaging/metafile/metafile_export.h"
#include "imaging/undo_ring.h"
#include "tests/controls/image_view_fixture.h"
#include "tests/engines/picture_tools.h"
#include "tests/support/qt_printers.h"
#include "tools/samples/collection.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QSvgRenderer>
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

namespace {

QByteArray SampleOf(samples::SampleFormat format) {
    for (const samples::Sample& s : samples::Collection())
        if (s.Format == format)
            return samples::Encode(s);
    return {};
}

// A picture with its transparency laid over white, as a page shows it.
QImage OnWhite(const QImage& picture) {
    QImage out(picture.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter painter(&out);
    painter.drawImage(0, 0, picture);
    return out;
}

} // namespace

TEST_F(Clipboard, AVectorPictureIsOfferedAsVectorsABitmapAndItsOwnBytes) {
    const QByteArray wmf = SampleOf(samples::SampleFormat::Wmf);
    const QByteArray emf = SampleOf(samples::SampleFormat::Emf);
    ASSERT_FALSE(wmf.isEmpty());
    ASSERT_FALSE(emf.isEmpty());
    Bind({wmf, emf}, {300, 300});
    for (const auto& [bytes, own] : {std::pair{wmf, "image/wmf"}, std::pair{emf, "image/emf"}}) {
        SCOPED_TRACE(own);
        if (bytes == emf) {
            table.GoNext();
            Deliver();
        }
        ASSERT_TRUE(view->Picture.HasMetafile());
        ASSERT_EQ(view->Picture.Metafile().Bytes(), bytes);
        view->CopyToClipboard(); // a vector picture shown is copied, not refused
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        ASSERT_NE(mime, nullptr);
        const QString alias = QString::fromLatin1(own).replace("image/", "image/x-");
        for (const QString& type : {QStringLiteral("image/svg+xml"), QStringLiteral("image/png"),
                                    QString::fromLatin1(own), alias})
            EXPECT_TRUE(mime->hasFormat(type)) << type.toStdString();
        EXPECT_EQ(mime->data(own), bytes) << "its own bytes as they are stored";
        EXPECT_EQ(mime->data(alias), bytes);

        // The SVG, drawn by another renderer, is the picture our player draws.
        const imaging::Metafile& picture = view->Picture.Metafile();
        const QSize natural = picture.Size();
        QSvgRenderer svg(mime->data("image/svg+xml"));
        ASSERT_TRUE(svg.isValid());
        EXPECT_EQ(svg.defaultSize(), natural);
        QImage rendered(natural, QImage::Format_ARGB32_Premultiplied);
        rendered.fill(Qt::transparent);
        {
            QPainter painter(&rendered);
            painter.setRenderHint(QPainter::Antialiasing);
            svg.render(&painter);
        }
        const picture_tools::Difference drawn = picture_tools::Compare(
            OnWhite(rendered), OnWhite(imaging::metafile_export::Image(picture, 1.0)));
        EXPECT_LT(drawn.mean, 3.0) << "differing pixels: " << drawn.pixels;

        // The bitmap: twice the size at least, transparent where nothing is drawn.
        const QImage png = QImage::fromData(mime->data("image/png"), "PNG");
        ASSERT_FALSE(png.isNull());
        EXPECT_GE(png.width(), 2 * natural.width());
        EXPECT_GE(png.height(), 2 * natural.height());
        ASSERT_TRUE(png.hasAlphaChannel());
        // Where the other renderer leaves the picture clear, so does the bitmap.
        QImage clearOf(png.size(), QImage::Format_ARGB32_Premultiplied);
        clearOf.fill(Qt::transparent);
        {
            QPainter painter(&clearOf);
            svg.render(&painter);
        }
        int clear = 0, agree = 0, solid = 0;
        for (int y = 0; y < png.height(); y += 3)
            for (int x = 0; x < png.width(); x += 3) {
                const bool none = qAlpha(clearOf.pixel(x, y)) == 0;
                clear += none;
                agree += none == (qAlpha(png.pixel(x, y)) == 0);
                solid += qAlpha(png.pixel(x, y)) == 255;
            }
        const int looked = ((png.width() + 2) / 3) * ((png.height() + 2) / 3);
        EXPECT_GT(agree, looked * 97 / 100) << clear << " clear of " << looked;
        EXPECT_GT(solid, 0);
        EXPECT_EQ(qvariant_cast<QImage>(mime->imageData()).size(), png.size());
    }
}
