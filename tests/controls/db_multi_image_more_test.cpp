// SPDX-License-Identifier: MIT
// The image view's write-back into an editable copy of a catalogue in every format, its
// transitions, scroll bars, rubber band, progress reports and the annotation layer's messages.
#include "controls/imageview/db_multi_image.h"
#include "data/data_source.h"
#include "data/field.h"
#include "data/session.h"
#include "data/table.h"
#include "imaging/engine/engine_binding.h"
#include "platform/ui/panel.h"
#include "tests/controls/image_view_fixture.h"
#include "tests/engines/picture_tools.h"
#include "tests/support/catalogue_fixture.h"
#include "tests/support/fake_dialogs.h"
#include "tests/support/qt_printers.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using controls::TPDBMultiImage;

namespace {

QByteArray Png(QSize size, QRgb colour) {
    return Encoded(Solid(size, colour), "PNG");
}

class ImageViewMore : public ImageViewFixture {};

} // namespace

TEST_F(ImageViewMore, AnEditedPictureIsWrittenBackInEachFormat) {
    Bind({Png({20, 10}, qRgb(10, 20, 30))}, {100, 100});
    ASSERT_TRUE(table.CanModify()) << "tests write into their own copy";
    const struct {
        controls::TBlobUpDate format;
        const char* detected;
    } formats[] = {{controls::bUpdateAsJPG, "JPEG"}, {controls::bUpdateAsBMP, "BMP"},
                   {controls::bUpdateAsGIF, "GIF"},  {controls::bUpdateAsPCX, "PCX"},
                   {controls::bUpdateAsTGA, "TGA"},  {controls::bUpdateAsPNG, "PNG"},
                   {controls::bUpdateAsTIF, "TIFF"}};
    auto* blob = qobject_cast<data::TBlobField*>(table.LookupField("GraphicFile"));
    for (const auto& f : formats) {
        SCOPED_TRACE(f.detected);
        view->BlobUpDate = f.format;
        view->ImageWriteRes = imaging::sColorTrue;
        table.Edit();
        QImage edited(30, 15, QImage::Format_RGB32);
        edited.fill(qRgb(200, 100, 0));
        imaging::TBitmap bitmap;
        bitmap.SetHandle(edited);
        view->Picture.SetBitmap(bitmap); // an edit marks the field modified
        finished = 0;
        table.Post();
        EXPECT_GE(finished, 1);
        // The view decodes what was written: the new picture, in the format asked.
        EXPECT_EQ(view->BlobInfo().BlobFormat, f.detected);
        EXPECT_EQ(view->BlobInfo().BlobWidth, 30);
        EXPECT_EQ(view->Picture.Size(), QSize(30, 15));
    }
    // A view without a picture clears the field.
    table.Edit();
    view->Picture.Clear();
    table.Post();
    EXPECT_TRUE(blob->IsNull());
}

namespace {

// 64 colours in a pattern that shows any turn, mirror or swapped channel.
QImage WriteBackPattern(int width = 30, int height = 15) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb((x % 4) * 85, (y % 4) * 85, ((x + y) / 8 % 4) * 85));
    return image;
}

// The record's picture field as another program decodes it.
QImage FieldAsImageMagickReads(data::TBlobField* blob, const QString& file) {
    if (!picture_tools::WriteAll(file, blob->Value()))
        return {};
    return file.endsWith(".pcx") ? picture_tools::NetpbmPcxPixels(file)
                                 : picture_tools::ImageMagickPixels(file);
}

void SetPicture(TPDBMultiImage& view, const QImage& image) {
    imaging::TBitmap bitmap;
    bitmap.SetHandle(image);
    view.Picture.SetBitmap(bitmap); // an edit marks the field modified
}

} // namespace

TEST_F(ImageViewMore, AWrittenBackPictureIsWhatAnotherProgramDecodesFromTheField) {
    Bind({Png({20, 10}, qRgb(10, 20, 30))}, {100, 100});
    auto* blob = qobject_cast<data::TBlobField*>(table.LookupField("GraphicFile"));
    const struct {
        controls::TBlobUpDate format;
        const char* file;
        bool exact;
    } formats[] = {{controls::bUpdateAsBMP, "f.bmp", true}, {controls::bUpdateAsPNG, "f.png", true},
                   {controls::bUpdateAsTIF, "f.tif", true}, {controls::bUpdateAsTGA, "f.tga", true},
                   {controls::bUpdateAsPCX, "f.pcx", true}, {controls::bUpdateAsGIF, "f.gif", true},
                   {controls::bUpdateAsJPG, "f.jpg", false}};
    view->ImageWriteRes = imaging::sColorTrue;
    view->SetJPegSaveQuality(95);
    for (const auto& f : formats) {
        SCOPED_TRACE(f.file);
        view->BlobUpDate = f.format;
        table.Edit();
        SetPicture(*view, WriteBackPattern());
        table.Post();
        const picture_tools::Difference d = picture_tools::Compare(
            FieldAsImageMagickReads(blob, dir.filePath(f.file)), WriteBackPattern());
        EXPECT_FALSE(d.sizeDiffers);
        if (f.exact)
            EXPECT_EQ(d.pixels, 0);
        else
            EXPECT_LT(d.mean, 8);
    }
}

TEST_F(ImageViewMore, AWriteBackAsTiffAddsAPageToATiffField) {
    Bind({Png({20, 10}, qRgb(10, 20, 30))}, {100, 100});
    auto* blob = qobject_cast<data::TBlobField*>(table.LookupField("GraphicFile"));
    view->BlobUpDate = controls::bUpdateAsTIF;
    view->ImageWriteRes = imaging::sColorTrue;
    view->TiffAppend = true;
    const QImage first = WriteBackPattern(), second = WriteBackPattern().mirrored(true, false);
    table.Edit();
    SetPicture(*view, first); // the field holds a PNG: the TIFF starts anew
    table.Post();
    table.Edit();
    SetPicture(*view, second); // now a TIFF: the page is added
    table.Post();
    const QString file = dir.filePath("pages.tif");
    ASSERT_TRUE(picture_tools::WriteAll(file, blob->Value()));
    const QImage expected[] = {first, second};
    for (int page = 0; page < 2; ++page) {
        const QImage back =
            picture_tools::ImageMagickPixels(file, QStringLiteral("[%1]").arg(page));
        EXPECT_EQ(picture_tools::Compare(back, expected[page]).pixels, 0) << "page " << page;
    }
    EXPECT_TRUE(picture_tools::ImageMagickPixels(file, "[2]").isNull()) << "two pages";
}

TEST_F(ImageViewMore, APictureTooLargeToStoreIsSaidSoAndTheFieldKeepsItsValue) {
    Bind({Png({20, 10}, qRgb(10, 20, 30))}, {100, 100});
    auto* blob = qobject_cast<data::TBlobField*>(table.LookupField("GraphicFile"));
    const QByteArray before = blob->Value();
    QString reported;
    view->OnIlibError = [&](TPDBMultiImage*, std::int16_t, const QString& text, const char*) {
        reported = text;
    };
    view->BlobUpDate = controls::bUpdateAsBMP;
    table.Edit();
    // 2.4 GB of pixels (never touched): more than a record's field can take.
    QImage huge(30000, 20000, QImage::Format_RGB32);
    ASSERT_FALSE(huge.isNull());
    SetPicture(*view, huge);
    table.Post();
    EXPECT_EQ(reported, "The picture is too large to be stored in the record");
    EXPECT_EQ(blob->Value(), before);
}

TEST_F(ImageViewMore, ATransitionBringsThePictureOnAndLeavesItAtTheViewsSize) {
    Bind({Png({20, 20}, qRgb(0, 0, 0)), Png({40, 20}, qRgb(0, 200, 0))}, {120, 90},
         [](TPDBMultiImage& v) {
             v.SetStretchRatio(true);
             v.FXMethod = imaging::FXHorizontal;
             v.FXDelay = 0;
             v.SetColor(platform::clWhite);
         });
    table.GoNext();
    // With StretchRatio the stored picture is the fitted work bitmap of the control's size.
    EXPECT_EQ(view->Picture.Size(), QSize(120, 90));
    EXPECT_FALSE(view->TransitionBitmap().HandleAllocated());
    EXPECT_EQ(view->CentringOffsets(), QPoint(0, 15));
    const QImage picture = view->Picture.Bitmap().Handle();
    EXPECT_EQ(QColor(picture.pixel(60, 45)), QColor(0, 200, 0));
    EXPECT_EQ(QColor(picture.pixel(60, 5)), QColor(Qt::white)) << "the fill around";
    EXPECT_EQ(platform::Screen::Cursor(), platform::crDefault);
}

TEST_F(ImageViewMore, ScrollBarsFollowTheZoomAndMoveTheView) {
    Bind({Png({300, 200}, qRgb(50, 50, 50))}, {100, 80}, [](TPDBMultiImage& v) {
        v.SetShowScrollbars(true);
        v.SetStretchRatio(false);
    });
    view->grab(); // a paint lays the bars out
    QScrollBar* h = view->HorzScrollBar();
    QScrollBar* v = view->VertScrollBar();
    ASSERT_TRUE(h->isVisible());
    EXPECT_EQ(h->geometry(), QRect(1, 68, 87, 12));
    EXPECT_EQ(v->geometry(), QRect(88, 1, 12, 67));
    EXPECT_EQ(view->ScrollCorner()->geometry(), QRect(88, 68, 12, 12));
    EXPECT_EQ(h->maximum(), 300 - 100 + 12);
    h->setValue(50);
    EXPECT_EQ(view->ViewOriginX(), 50);
    v->setValue(30);
    EXPECT_EQ(view->ViewOriginY(), 30);

    // Switching the bars off pulls the origin back where the picture would end inside.
    h->setValue(212);
    EXPECT_EQ(view->ViewOriginX(), 212);
    view->SetShowScrollbars(false);
    EXPECT_FALSE(h->isVisible());
    EXPECT_LT(view->ViewOriginX(), 212);
    EXPECT_GE(view->ViewOriginX(), 0);
    // Fitting hides them.
    view->SetShowScrollbars(true);
    view->SetStretchRatio(true);
    view->grab();
    EXPECT_FALSE(h->isVisible());
}

TEST_F(ImageViewMore, TheRubberBandKeepsTheControlsProportions) {
    Bind({Png({50, 50}, qRgb(9, 9, 9))}, {200, 100},
         [](TPDBMultiImage& v) { v.SetAllowRubberBand(true); });
    int x = 0, y = 0, xx = 0, yy = 0;
    controls::TMouseButton button = controls::mbMiddle;
    view->OnRubberband = [&](TPDBMultiImage*, controls::TMouseButton b, Qt::KeyboardModifiers,
                             int x0, int y0, int x1,
                             int y1) { button = b, x = x0, y = y0, xx = x1, yy = y1; };
    QTest::mousePress(view.get(), Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseMove(view.get(), QPoint(120, 80));
    QTest::mouseRelease(view.get(), Qt::LeftButton, {}, QPoint(120, 80));
    EXPECT_EQ(button, controls::mbLeft);
    EXPECT_EQ(QPoint(x, y), QPoint(20, 10));
    // Down-right along the control's ratio 1:2 over the drag's length: not the mouse position.
    const double d = std::hypot(100.0, 70.0), r = 0.5, hx = d / std::sqrt(r * r + 1);
    EXPECT_EQ(xx, 20 + int(hx));
    EXPECT_EQ(yy, 10 + int(r * hx));
    EXPECT_EQ(view->ViewOriginX(), 0) << "a band does not pan";
    // With the single border the positions are the client area's, inside it.
    view->SetBorderStyle(controls::bsSingle);
    QTest::mousePress(view.get(), Qt::LeftButton, {}, QPoint(21, 11));
    QTest::mouseRelease(view.get(), Qt::LeftButton, {}, QPoint(21, 11));
    EXPECT_EQ(QPoint(x, y), QPoint(20, 10));
    // The right button draws nothing while the band belongs to the left one.
    button = controls::mbMiddle;
    QTest::mousePress(view.get(), Qt::RightButton, {}, QPoint(20, 10));
    QTest::mouseRelease(view.get(), Qt::RightButton, {}, QPoint(60, 60));
    EXPECT_EQ(button, controls::mbMiddle);
}

TEST_F(ImageViewMore, ProgressAndTheAnnotationLayersMessagesReachTheirHandlers) {
    std::vector<QString> messages;
    bool cancelOnce = false;
    Bind({Png({10, 10}, qRgb(1, 1, 1))}, {100, 100}, [&](TPDBMultiImage& v) {
        v.OnProgress = [&](TPDBMultiImage*, std::int16_t, const QString& text, bool& cancel) {
            messages.push_back(text);
            cancel = cancelOnce;
        };
    });
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), "reading png stream") << "the binding's text, lowered";
    cancelOnce = true;
    EXPECT_FALSE(view->ReportProgress(50));
    view->OnProgress = nullptr;
    EXPECT_TRUE(view->ReportProgress(50));

    QObject annotations;
    std::vector<std::pair<unsigned, std::intptr_t>> got;
    struct Filter : QObject {
        std::vector<std::pair<unsigned, std::intptr_t>>* got;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == platform::MessageEvent::EventType()) {
                auto* m = static_cast<platform::MessageEvent*>(e);
                got->push_back({m->Msg, m->WParam});
                return true;
            }
            return false;
        }
    } filter;
    filter.got = &got;
    annotations.installEventFilter(&filter);
    view->AnnotationWindow = &annotations;
    std::intptr_t clicked = 0;
    bool selecting = false;
    view->OnAnnoClick = [&](TPDBMultiImage*, std::intptr_t object, bool s) {
        clicked = object;
        selecting = s;
    };
    platform::SendMessage(view.get(), controls::kAnnotationClickMessage, 1, 77);
    platform::SendMessage(view.get(), controls::kAnnotationClickMessage, 0, 0);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(clicked, 0);
    EXPECT_FALSE(selecting);
    ASSERT_EQ(got.size(), 1u) << "only a click on an object is passed on";
    EXPECT_EQ(got[0], std::make_pair(controls::kAnnotationObjectMessage, std::intptr_t(1)));
}

TEST_F(ImageViewMore, TheOverlayTextAndTheRemovalOfTheSource) {
    Bind({Png({40, 40}, qRgb(255, 255, 255))}, {120, 60}, [](TPDBMultiImage& v) {
        v.SetColor(platform::clWhite);
        v.SetStretchRatio(false);
        v.SetCenter(false);
    });
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(30);
    font.setBold(true);
    view->SetFont(font);
    view->FontColor = Qt::black;
    view->TextShadow = true;
    view->TextShadowColor = platform::clRed;
    view->TextLeft = 60;
    view->TextTop = 10;
    view->SetText(QStringLiteral("I"));
    const QImage shown = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The shadow two pixels right of and below the text: red where only the shadow falls.
    int red = 0, black = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 55; x < 80; ++x) {
            const QColor c = shown.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 60;
            black += c.red() < 60 && c.green() < 60 && c.blue() < 60;
        }
    EXPECT_GT(red, 10);
    EXPECT_GT(black, 30);

    // The source goes away: the view is left without one, and without a failure.
    delete source;
    source = nullptr;
    EXPECT_EQ(view->DataSource(), nullptr);
    view->grab();
}

TEST_F(ImageViewMore, APictureReadAheadIsShownWithTheSameEventsAndNoReplayedProgress) {
    QImage pattern(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            pattern.setPixel(x, y, qRgb(x % 256, y, (x * y) % 256));
    std::vector<int> progress;
    Bind({Png({20, 10}, qRgb(10, 20, 30)), Encoded(pattern, "JPG"), Encoded(pattern, "PNG")},
         {100, 100}, [&](TPDBMultiImage& v) {
             v.OnProgress = [&](TPDBMultiImage*, std::int16_t p, const QString&, bool&) {
                 progress.push_back(p);
             };
         });
    auto* field = static_cast<data::TBlobField*>(table.FindField("GraphicFile"));
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(table.NeighbourBlob(*field, -1).isEmpty()) << "nothing before the first";
    EXPECT_TRUE(table.NeighbourBlob(*field, 3).isEmpty()) << "nothing past the last";
    imaging::Decoder decoder(2);
    imaging::ReadAhead ahead(decoder);
    view->SetReadAhead(&ahead);

    // What moving on shows and sends: the picture, the toolbar's messages, the events.
    struct Seen {
        QImage picture;
        std::vector<unsigned> messages;
        int finished;
        std::vector<int> progress;
    };
    auto move = [&](int record) {
        table.GoFirst();
        Deliver();
        toolbar.messages.clear();
        progress.clear();
        const int before = finished;
        table.StepBy(record);
        Deliver();
        return Seen{view->Picture.Bitmap().Handle().convertToFormat(QImage::Format_RGB32),
                    toolbar.messages, finished - before, progress};
    };
    for (int record : {1, 2}) {
        const Seen cold = move(record);
        ASSERT_FALSE(cold.picture.isNull());
        ASSERT_GT(cold.progress.size(), 1u) << "the engine reports as it reads";
        table.GoFirst();
        Deliver();
        ahead.Want({view->ReadRequest(table.NeighbourBlob(*field, record))});
        decoder.WaitIdle();
        const Seen warm = move(record);
        EXPECT_EQ(ahead.Held(), 0) << "taken";
        EXPECT_EQ(warm.picture, cold.picture) << record;
        EXPECT_EQ(warm.messages, cold.messages) << record;
        EXPECT_EQ(warm.finished, cold.finished);
        EXPECT_EQ(warm.progress, std::vector<int>(warm.progress.size(), 0))
            << "the read's progress is not replayed";
        EXPECT_LT(warm.progress.size(), cold.progress.size());
        // Read ahead at another depth: that is another picture, decoded again with progress.
        table.GoFirst();
        Deliver();
        imaging::DecodeRequest other = view->ReadRequest(table.NeighbourBlob(*field, record));
        other.Depth = other.Depth == 8 ? 24 : 8;
        ahead.Want({other});
        decoder.WaitIdle();
        const Seen again = move(record);
        EXPECT_EQ(again.picture, cold.picture);
        EXPECT_EQ(again.progress, cold.progress);
        ahead.Clear();
    }
    view->SetReadAhead(nullptr);
}
