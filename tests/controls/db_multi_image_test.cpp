// SPDX-License-Identifier: MIT
// The image view as the program uses it: bound to a real catalogue table, decoding each
// record's blob with the real engine, painting on grabs of the widget, driven by keys, mouse
// events and messages.
#include "controls/imageview/db_multi_image.h"
#include "data/data_source.h"
#include "data/field.h"
#include "data/session.h"
#include "data/table.h"
#include "imaging/engine/engine_binding.h"
#include "imaging/error_invalid.h"
#include "platform/core/error_reporter.h"
#include "tests/controls/image_view_fixture.h"
#include "tests/engines/picture_tools.h"
#include "tests/support/catalogue_fixture.h"
#include "tests/support/fake_dialogs.h"
#include "tests/support/qt_printers.h"

#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

using controls::TPDBMultiImage;

namespace {

class ImageView : public ImageViewFixture {};

} // namespace

TEST_F(ImageView, StartsWithThePublishedValuesAndKeepsItsRules) {
    TPDBMultiImage v;
    EXPECT_EQ(v.size(), QSize(105, 105));
    EXPECT_EQ(v.GrabHandCursor(), 5);
    EXPECT_TRUE(v.Scrolling());
    EXPECT_FALSE(v.ShowScrollbars());
    EXPECT_EQ(v.ImageReadRes, imaging::lAutoMatic);
    EXPECT_EQ(v.JPegSaveQuality(), 25);
    EXPECT_EQ(v.JPegSaveSmooth(), 0);
    EXPECT_EQ(v.TiffPage, 1);
    EXPECT_EQ(v.ScrollbarWidth(), 12);
    EXPECT_TRUE(v.Center());
    EXPECT_TRUE(v.AutoDisplay());
    EXPECT_EQ(v.BorderStyle(), controls::bsSingle);
    EXPECT_EQ(v.B_W_CopyFlags, controls::BWFlag(controls::C_DEL));
    EXPECT_EQ(v.ZoomFactor(), 1.0);
    EXPECT_EQ(v.Version(), imaging::EngineBinding::Instance().LibraryVersion());
    EXPECT_EQ(v.focusPolicy(), Qt::StrongFocus);
    EXPECT_TRUE(v.testAttribute(Qt::WA_OpaquePaintEvent));

    for (int q : {0, 101}) {
        v.SetJPegSaveQuality(q);
        EXPECT_EQ(v.JPegSaveQuality(), 25);
        v.SetJPegSaveSmooth(q);
        EXPECT_EQ(v.JPegSaveSmooth(), 5);
    }
    v.SetJPegSaveQuality(100);
    v.SetJPegSaveSmooth(1);
    EXPECT_EQ(v.JPegSaveQuality(), 100);
    EXPECT_EQ(v.JPegSaveSmooth(), 1);

    v.SetStretchRatio(true);
    v.SetStretch(true);
    EXPECT_FALSE(v.StretchRatio());
    v.SetStretchRatio(true);
    EXPECT_FALSE(v.Stretch());

    // Setting Center or StretchRatio tells the toolbar, also when the value stays.
    Recorder bar;
    v.ToolbarWindow = &bar;
    v.SetCenter(true);
    v.SetStretchRatio(true);
    Deliver();
    EXPECT_EQ(bar.Count(controls::kStateChangedMessage), 2);
}

TEST_F(ImageView, EachRecordsPictureIsDecodedAsTheCursorMoves) {
    const QByteArray png = Encoded(Solid({40, 30}, qRgb(200, 0, 0)), "PNG");
    const QByteArray headedBmp =
        WithGraphicHeader(Encoded(Solid({24, 12}, qRgb(0, 0, 200)), "BMP"));
    const QByteArray jpeg = Encoded(Solid({64, 48}, qRgb(0, 160, 0)), "JPEG");
    Bind({png, headedBmp, jpeg});
    // Opening binds the field and then announces the data set: two loads, as each says.
    EXPECT_EQ(finished, 2);
    ASSERT_TRUE(view->Picture.HasBitmapHandle());
    EXPECT_EQ(view->Picture.Size(), QSize(40, 30));
    EXPECT_EQ(view->BlobInfo().BlobFormat, "PNG");
    EXPECT_TRUE(view->PictureLoaded());
    table.GoNext();
    EXPECT_EQ(view->Picture.Size(), QSize(24, 12)) << "the header is stepped over";
    EXPECT_EQ(view->BlobInfo().BlobFormat, "BMP");
    EXPECT_EQ(view->BlobInfo().BlobSize, headedBmp.size());
    EXPECT_EQ(QColor(view->Picture.Bitmap().Handle().pixel(3, 3)), QColor(0, 0, 200));
    table.GoNext();
    EXPECT_EQ(view->Picture.Size(), QSize(64, 48));
    EXPECT_EQ(view->BlobInfo().BlobFormat, "JPEG");
    EXPECT_EQ(finished, 4) << "one load a record";
    Deliver();
    EXPECT_EQ(toolbar.Count(controls::kStateChangedMessage), 4);
    EXPECT_EQ(view->ZoomFactor(), 1.0) << "every load starts at zoom 1";
}

TEST_F(ImageView, NullRichTextAndUnknownBlobsShowNoPicture) {
    const QByteArray rtf("{\\rtf1\\ansi Hello}");
    const QByteArray png = Encoded(Solid({10, 10}, qRgb(1, 2, 3)), "PNG");
    Bind({png, QByteArray(), rtf});
    Deliver();
    const int loads = finished, messages = toolbar.Count(controls::kStateChangedMessage);
    EXPECT_EQ(messages, loads);
    table.GoNext(); // a null blob: emptied, and neither message nor event
    EXPECT_FALSE(view->Picture.HasGraphic());
    EXPECT_TRUE(view->PictureLoaded());
    EXPECT_EQ(finished, loads);
    Deliver();
    EXPECT_EQ(toolbar.Count(controls::kStateChangedMessage), messages);

    table.GoNext();
    EXPECT_EQ(view->BlobInfo().BlobFormat, "RTF");
    EXPECT_EQ(view->BlobInfo().BlobCompression, "RTF");
    EXPECT_FALSE(view->PictureLoaded()) << "rich text shows the placeholder";
    EXPECT_EQ(view->PlaceholderText(), "(GraphicFile)");
    EXPECT_EQ(finished, loads + 1);
}

TEST_F(ImageView, EngineFailuresRaiseOrReachTheHandler) {
    QByteArray cut = Encoded(Solid({300, 200}, qRgb(9, 9, 9)), "BMP");
    cut.truncate(200); // a picture cut inside its pixels
    const QByteArray png = Encoded(Solid({10, 10}, qRgb(1, 2, 3)), "PNG");
    Bind({png, cut});
    // Without a handler the error is raised; the data link's notification reports it.
    view->OnFinishedLoadSave = nullptr;
    std::vector<QString> reported;
    platform::SetErrorReporter([&](const QString& m) { reported.push_back(m); });
    table.GoNext();
    platform::SetErrorReporter({});
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0], "The picture data is cut short");
    EXPECT_FALSE(view->Picture.HasGraphic()) << "a failed decode leaves the picture empty";
    EXPECT_EQ(platform::Screen::Cursor(), platform::crDefault) << "the cursor is back";

    std::int16_t code = 0;
    QString text, ptext;
    view->OnIlibError = [&](TPDBMultiImage*, std::int16_t c, const QString& t, const char* p) {
        code = c;
        text = t;
        ptext = QString::fromLocal8Bit(p);
    };
    view->OnFinishedLoadSave = [this](TPDBMultiImage*) { ++finished; };
    finished = 0;
    table.GoPrior();
    table.GoNext();
    EXPECT_NE(code, 0);
    EXPECT_EQ(text, "The picture data is cut short");
    EXPECT_EQ(ptext, text);
    EXPECT_EQ(finished, 2) << "with a handler the load ends normally";

    view->OnIlibError = nullptr;
    EXPECT_THROW(view->ReportEngineError(), imaging::ErrorInvalid);
}

TEST_F(ImageView, PagesBeyondTheLastAreLoweredAndMonochromeIsDecodedAtOneBit) {
    QTemporaryDir work;
    const QString a = work.filePath("a.png"), b = work.filePath("b.png"),
                  c = work.filePath("c.png");
    Solid({8, 8}, qRgb(255, 0, 0)).save(a);
    Solid({9, 9}, qRgb(0, 255, 0)).save(b);
    Solid({10, 10}, qRgb(0, 0, 255)).save(c);
    const QString tif = work.filePath("three.tif");
    ASSERT_TRUE(picture_tools::Convert({a, b, c, tif}));
    QImage mono(16, 8, QImage::Format_Mono);
    mono.fill(1);
    const QByteArray monoPng = Encoded(mono, "PNG");
    Bind({picture_tools::ReadAll(tif), monoPng, Encoded(Solid({6, 6}, qRgb(10, 200, 30)), "PNG")},
         {200, 150}, [](TPDBMultiImage& v) { v.TiffPage = 5; });
    EXPECT_EQ(view->BlobInfo().TiffPageCount, 3);
    EXPECT_EQ(view->TiffPage, 2) << "pages count from 0: the last page is 2";
    EXPECT_EQ(view->Picture.Size(), QSize(10, 10));

    table.GoNext(); // a one-bit picture at the automatic depth
    EXPECT_EQ(view->Picture.Bitmap().Handle().depth(), 1);
    view->ImageReadRes = imaging::lMonoChrome;
    table.GoNext();
    EXPECT_EQ(view->Picture.Bitmap().Handle().depth(), 1) << "every picture at one bit";
}

TEST_F(ImageView, WithoutAutoDisplayThePlaceholderWaitsForEnter) {
    const QByteArray png = Encoded(Solid({50, 50}, qRgb(250, 0, 0)), "PNG");
    Bind({png, png}, {200, 100}, [](TPDBMultiImage& v) {
        v.SetAutoDisplay(false);
        v.SetColor(platform::clWhite);
    });
    EXPECT_FALSE(view->PictureLoaded());
    QImage shown = Grab();
    // The field's name in round brackets, dark on white, in the middle.
    int dark = 0;
    for (int y = 35; y < 65; ++y)
        for (int x = 40; x < 160; ++x)
            dark += qGray(shown.pixel(x, y)) < 100;
    EXPECT_GT(dark, 30);
    EXPECT_EQ(QColor(shown.pixel(5, 5)), QColor(Qt::white));

    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_TRUE(view->PictureLoaded());
    EXPECT_EQ(finished, 1);
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(finished, 2) << "a second Enter ends without decoding";

    view->SetAutoDisplay(true); // a change to True decodes the current blob
    EXPECT_EQ(finished, 3);
}

TEST_F(ImageView, AFittedPictureIsDrawnCentredWithTheBackgroundAround) {
    const QByteArray png = Encoded(Solid({100, 50}, qRgb(255, 0, 0)), "PNG");
    Bind({png}, {403, 310}, [](TPDBMultiImage& v) {
        v.SetStretchRatio(true);
        v.SetColor(platform::clBlue);
    });
    EXPECT_DOUBLE_EQ(view->ZoomFactor(), 4.03);
    int paintX = -1, paintY = -1, paintW = -1, paintH = -1;
    view->OnPaintArea = [&](TPDBMultiImage*, int x, int y, int w, int h) {
        paintX = x, paintY = y, paintW = w, paintH = h;
    };
    const QImage shown = Grab();
    EXPECT_EQ(paintX, 0);
    EXPECT_EQ(paintY, 54);
    EXPECT_EQ(paintW, 403);
    EXPECT_EQ(paintH, 201);
    EXPECT_EQ(QColor(shown.pixel(200, 53)), QColor(Qt::blue));
    EXPECT_EQ(QColor(shown.pixel(200, 54)), QColor(Qt::red));
    EXPECT_EQ(QColor(shown.pixel(200, 254)), QColor(Qt::red));
    EXPECT_EQ(QColor(shown.pixel(200, 255)), QColor(Qt::blue));
    EXPECT_EQ(QColor(shown.pixel(0, 100)), QColor(Qt::red));
    EXPECT_EQ(QColor(shown.pixel(402, 100)), QColor(Qt::red));

    // A double click or Enter on the loaded picture keeps it fitted (it reset the zoom to 1
    // while the toolbar still showed the fit pressed).
    QTest::mouseDClick(view.get(), Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_DOUBLE_EQ(view->ZoomFactor(), 4.03);
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_DOUBLE_EQ(view->ZoomFactor(), 4.03);
    EXPECT_EQ(QColor(Grab().pixel(200, 54)), QColor(Qt::red));

    view->resize(200, 310); // the fit follows the size
    EXPECT_DOUBLE_EQ(view->ZoomFactor(), 2.0);
    view->SetStretchRatio(false);
    EXPECT_DOUBLE_EQ(view->ZoomFactor(), 1.0) << "the view before fitting comes back";
}

TEST_F(ImageView, AtDoubleDensityTheFittedPictureUsesEveryDevicePixel) {
    // Alternating one-pixel columns, fitted at half size: only a device of twice the
    // density keeps every column.
    QImage stripes(200, 100, QImage::Format_RGB32);
    for (int x = 0; x < 200; ++x)
        for (int y = 0; y < 100; ++y)
            stripes.setPixel(x, y, x % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    Bind({Encoded(stripes, "PNG")}, {100, 50}, [](TPDBMultiImage& v) { v.SetStretchRatio(true); });
    EXPECT_DOUBLE_EQ(view->ZoomFactor(), 0.5);
    QImage dense(200, 100, QImage::Format_RGB32);
    dense.setDevicePixelRatio(2);
    view->render(&dense);
    for (int x = 0; x < 200; ++x)
        ASSERT_EQ(QColor(dense.pixel(x, 50)), QColor(x % 2 ? Qt::black : Qt::white)) << x;
}

TEST_F(ImageView, TheGrabHandPansWithinTheClamps) {
    QImage picture(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            picture.setPixel(x, y, qRgb(x % 256, y % 256, 0));
    Bind({Encoded(picture, "PNG")}, {100, 80});
    ASSERT_FALSE(view->StretchRatio());
    QTest::mousePress(view.get(), Qt::LeftButton, {}, QPoint(50, 40));
    EXPECT_EQ(view->cursor().shape(), Qt::BitmapCursor) << "the grab hand";
    QTest::mouseMove(view.get(), QPoint(30, 30));
    EXPECT_EQ(view->ViewOriginX(), 20);
    EXPECT_EQ(view->ViewOriginY(), 10);
    EXPECT_EQ(QColor(Grab().pixel(0, 0)), QColor(20, 10, 0)) << "the origin is the top left";
    QTest::mouseMove(view.get(), QPoint(-900, -900));
    EXPECT_EQ(view->ViewOriginX(), 300) << "the right edge meets the control's";
    EXPECT_EQ(view->ViewOriginY(), 220);
    QTest::mouseMove(view.get(), QPoint(2000, 2000));
    EXPECT_EQ(view->ViewOriginX(), 0);
    EXPECT_EQ(view->ViewOriginY(), 0);
    QTest::mouseRelease(view.get(), Qt::LeftButton, {}, QPoint(2000, 2000));
    EXPECT_NE(view->cursor().shape(), Qt::BitmapCursor);

    // A picture that fits does not start a drag.
    view->ZoomOut(0.2);
    view->ZoomOut(0.9);
    EXPECT_LT(view->ZoomFactor(), 0.25);
    QTest::mousePress(view.get(), Qt::LeftButton, {}, QPoint(50, 40));
    QTest::mouseMove(view.get(), QPoint(10, 10));
    EXPECT_EQ(view->ViewOriginX(), 0);
    QTest::mouseRelease(view.get(), Qt::LeftButton, {}, QPoint(10, 10));

    // Ctrl + wheel zooms by the toolbar's step.
    view->ResetZoom();
    QWheelEvent wheel(QPointF(10, 10), view->mapToGlobal(QPointF(10, 10)), {}, {0, 120},
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view.get(), &wheel);
    EXPECT_DOUBLE_EQ(view->ZoomFactor(), 1.1);
}

TEST_F(ImageView, CreditMessagesMoveOnTheirTicksAndGiveTheColourBack) {
    const QByteArray scm(
        "belisqor/fc|$FFFFFF/fh|-14/fn|Arial/fs|/ft|0000/bc|$800000/sp|1/sm|Credits/eo|");
    QByteArray cms;
    for (const char* line : {"qorbelis", "$00FFFF", "-14", "Arial", "10", "0000", "$008000", "0",
                             "Produced by", "A", "The Team"})
        cms += QByteArray(line) + "\r\n";
    const QByteArray png = Encoded(Solid({10, 10}, qRgb(1, 2, 3)), "PNG");
    Bind({scm, cms, png}, {200, 100}, [](TPDBMultiImage& v) { v.SetColor(platform::clWhite); });
    ASSERT_TRUE(view->ScmShowing());
    EXPECT_EQ(view->BlobInfo().BlobFormat, "SCM");
    EXPECT_EQ(view->Color(), 0x800000u);
    EXPECT_EQ(view->Credit().Position().x(), 200) << "it starts beyond the right edge";
    for (int i = 0; i < 4; ++i)
        platform::SendMessage(view.get(), controls::kScrollingTickMessage);
    EXPECT_EQ(view->Credit().Position().x(), 198) << "one pixel every speed + 1 ticks";
    platform::SendMessage(view.get(), controls::kRollingTickMessage); // not its kind
    EXPECT_EQ(view->Credit().Position().x(), 198);
    const QImage shown = Grab();
    EXPECT_EQ(QColor(shown.pixel(5, 5)), QColor(0, 0, 128)) << "the message's background";

    table.GoNext();
    ASSERT_TRUE(view->CmsShowing());
    EXPECT_EQ(view->Color(), 0x008000u);
    const int y = view->Credit().Position().y();
    EXPECT_EQ(y, 100);
    platform::SendMessage(view.get(), controls::kRollingTickMessage);
    EXPECT_EQ(view->Credit().Position().y(), 99);
    // Lines of one character are prepared without a division by zero.
    for (int i = 0; i < 400 && view->Credit().LineIndex() < 1; ++i)
        platform::SendMessage(view.get(), controls::kRollingTickMessage);
    EXPECT_EQ(view->Credit().LineIndex(), 1);
    EXPECT_GT(view->Credit().Strip().width(), 1);

    table.GoNext();
    EXPECT_FALSE(view->CmsShowing());
    EXPECT_EQ(view->Color(), platform::clWhite) << "the colour before the message";
}

TEST_F(ImageView, KeysAndMessagesReachTheirOperations) {
    const QByteArray red = Encoded(Solid({12, 12}, qRgb(255, 0, 0)), "PNG");
    Bind({red}, {200, 150}, [](TPDBMultiImage& v) { v.SetReadOnly(true); });
    Recorder annotations;
    view->AnnotationWindow = &annotations;
    QTest::keyClick(view.get(), Qt::Key_A);
    Deliver();
    ASSERT_EQ(annotations.Count(controls::kKeyDownMessage), 1);
    EXPECT_EQ(annotations.firsts.back(), Qt::Key_A);

    // A picture pasted into a read-only view changes nothing; Escape shows the field again.
    QGuiApplication::clipboard()->setImage(Solid({5, 5}, qRgb(0, 0, 255)));
    QTest::keyClick(view.get(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(view->Picture.Size(), QSize(12, 12));
    QTest::keyClick(view.get(), Qt::Key_C, Qt::ControlModifier);
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(12, 12));
    EXPECT_EQ(QColor(copied.pixel(1, 1)), QColor(255, 0, 0));
    finished = 0;
    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_EQ(finished, 1) << "the link announces a change and the picture is decoded again";
    EXPECT_EQ(view->Picture.Size(), QSize(12, 12));
}

namespace {

// A placeable metafile of 96 x 48 units at 96 an inch: one red rectangle over its left half.
QByteArray HalfRedMetafile() {
    QByteArray wmf;
    auto put16 = [&](int v) {
        wmf.append(char(v & 0xFF));
        wmf.append(char((v >> 8) & 0xFF));
    };
    auto put32 = [&](std::uint32_t v) {
        put16(int(v & 0xFFFF));
        put16(int(v >> 16));
    };
    put32(0x9AC6CDD7u);
    put16(0);
    const int box[] = {0, 0, 96, 48};
    for (int v : box)
        put16(v);
    put16(96);
    put32(0);
    std::uint16_t sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= std::uint16_t(std::uint8_t(wmf[i]) | std::uint8_t(wmf[i + 1]) << 8);
    put16(sum);
    put16(1), put16(9), put16(0x300), put32(0), put16(2), put32(0), put16(0); // header
    put32(7), put16(0x02FC), put16(0), put32(0x0000FF), put16(0);             // red solid brush
    put32(4), put16(0x012D), put16(0);                                        // select it
    put32(8), put16(0x02FA), put16(5), put32(0), put32(0);                    // a null pen
    put32(4), put16(0x012D), put16(1);                                        // select it
    put32(7), put16(0x041B), put16(48), put16(48), put16(0), put16(0);        // rectangle
    put32(3), put16(0);                                                       // end
    return wmf;
}

// The first column from the left in row `y` that is not red.
int RedEnds(const QImage& shown, int y) {
    for (int x = 0; x < shown.width(); ++x)
        if (QColor(shown.pixel(x, y)) != QColor(Qt::red))
            return x;
    return shown.width();
}

} // namespace

TEST_F(ImageView, AMetafileFitsZoomsAndPansPlayedAtTheShownScale) {
    Bind({HalfRedMetafile()}, {200, 100}, [](TPDBMultiImage& v) {
        v.SetColor(platform::clWhite);
        v.SetStretchRatio(false);
        v.SetCenter(false);
    });
    ASSERT_TRUE(view->Picture.HasMetafile());
    EXPECT_EQ(view->BlobInfo().BlobFormat, "WMF");
    EXPECT_EQ(view->Picture.Size(), QSize(96, 48));
    QImage shown = Grab();
    EXPECT_EQ(RedEnds(shown, 20), 48) << "natural size at zoom 1";
    EXPECT_EQ(QColor(shown.pixel(40, 60)), QColor(Qt::white));

    // Zoomed in, the drawing is played again: its edge is sharp at the scaled place.
    view->ZoomIn(2.0);
    view->ZoomIn(2.0);
    EXPECT_DOUBLE_EQ(view->ZoomFactor(), 4.0);
    shown = Grab();
    for (int y : {5, 50, 95})
        EXPECT_EQ(RedEnds(shown, y), 192) << y;
    EXPECT_EQ(QColor(shown.pixel(193, 50)), QColor(Qt::white)) << "no blur beside the edge";

    // It overflows: the grab hand pans it, the edge moving by the zoomed step.
    QTest::mousePress(view.get(), Qt::LeftButton, {}, QPoint(100, 50));
    QTest::mouseMove(view.get(), QPoint(60, 50));
    QTest::mouseRelease(view.get(), Qt::LeftButton, {}, QPoint(60, 50));
    EXPECT_EQ(view->ViewOriginX(), 10);
    EXPECT_EQ(RedEnds(Grab(), 50), 152);

    // Fitted: the whole drawing fills the view (the two ratios are equal: 200 / 96).
    view->SetStretchRatio(true);
    EXPECT_DOUBLE_EQ(view->ZoomFactor(), 200.0 / 96);
    shown = Grab();
    EXPECT_EQ(RedEnds(shown, 2), 100);
    EXPECT_EQ(RedEnds(shown, 97), 100);
    EXPECT_EQ(QColor(shown.pixel(199, 99)), QColor(Qt::white));
    view->resize(100, 100); // the fit follows the size, centred when asked
    view->SetCenter(true);
    EXPECT_DOUBLE_EQ(view->ZoomFactor(), 100.0 / 96);
    shown = Grab();
    EXPECT_EQ(QColor(shown.pixel(20, 10)), QColor(Qt::white)) << "above the centred drawing";
    EXPECT_EQ(QColor(shown.pixel(20, 50)), QColor(Qt::red));
    view->SetStretchRatio(false);
    view->SetCenter(false);
    view->resize(200, 100);

    // A bitmap put in the drawing's place (as a paste, a scan or an effect does) while the
    // record's format still says WMF is drawn.
    view->ResetZoom();
    imaging::TBitmap green;
    green.SetHandle(Solid({30, 20}, qRgb(0, 255, 0)));
    view->Picture.SetBitmap(green);
    ASSERT_EQ(view->BlobInfo().BlobFormat, "WMF");
    shown = Grab();
    EXPECT_EQ(QColor(shown.pixel(10, 10)), QColor(Qt::green));
    EXPECT_EQ(QColor(shown.pixel(60, 30)), QColor(Qt::white));
}
