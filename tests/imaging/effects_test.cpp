// SPDX-License-Identifier: MIT
#include "engines/isp2000/transitions.h"
#include "imaging/dib/dib.h"
#include "imaging/dib/dib_convert.h"
#include "imaging/engine/effects_binding.h"
#include "imaging/undo_ring.h"
#include "tests/support/fake_dialogs.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace imaging;

namespace {

HGLOBAL DibOf(const QImage& image) {
    TBitmap bitmap;
    bitmap.SetHandle(image);
    HGLOBAL dib = nullptr;
    BitmapToDib(&bitmap, &dib);
    return dib;
}

QImage ImageOf(HGLOBAL dib) {
    TBitmap bitmap;
    EXPECT_EQ(DibHandleToBitmap(dib, bitmap), 1);
    return bitmap.Handle().convertToFormat(QImage::Format_RGB32);
}

QImage Gradient(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x * 255 / (w - 1), y * 255 / (h - 1), 128));
    return image;
}

double MeanError(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

class Effects : public ::testing::Test {
protected:
    void SetUp() override { EngineBinding::Instance().Start(); }
    void TearDown() override { EngineBinding::Instance().End(); }
    FakeDialogs dialogs;
};

TEST_F(Effects, ReductionMakesTheDepthAskedWithEveryMethod) {
    const QImage source = Gradient(64, 48);
    HGLOBAL dib = DibOf(source);
    for (int depth : {1, 4, 8})
        for (TSortDither method : {IL_BAYER, IL_BURKES, IL_FLOYD, IL_GRAYSCALE})
            for (bool dither : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << depth << " bits, method " << method << ", dither " << dither);
                HGLOBAL reduced = ReduceDibColours(dib, depth, dither, nullptr, nullptr, method);
                ASSERT_NE(reduced, nullptr);
                EXPECT_EQ(DibBitCount(reduced), depth);
                const QImage result = ImageOf(reduced);
                if (method == IL_GRAYSCALE) {
                    for (int x = 0; x < 64; x += 7)
                        EXPECT_TRUE(qIsGray(result.pixel(x, 20)));
                } else if (depth == 8) {
                    // Ordered dithering adds its pattern; diffusion stays closer.
                    EXPECT_LT(MeanError(result, source), dither && method == IL_BAYER ? 8.0 : 4.0);
                }
                FreeDib(reduced);
            }
    FreeDib(dib);
}

TEST_F(Effects, DepthZeroMeansSixteenColours) {
    HGLOBAL dib = DibOf(Gradient(16, 16));
    HGLOBAL reduced = ReduceDibColours(dib, 0, false, nullptr, nullptr, IL_FLOYD);
    EXPECT_EQ(DibBitCount(reduced), 4);
    TBitmap bitmap;
    ASSERT_EQ(DibToBitmap(dib, 0, false, bitmap, nullptr, nullptr), 1);
    EXPECT_LE(bitmap.Handle().colorCount(), 16);
    FreeDib(reduced);
    FreeDib(dib);
}

TEST_F(Effects, FloydSteinbergSpreadsTheErrorSoAreasKeepTheirMeanColour) {
    // A flat colour between two palette entries: without dithering every pixel takes one
    // neighbour, with diffusion the mean stays near the colour.
    QImage flat(32, 32, QImage::Format_RGB32);
    flat.fill(qRgb(100, 100, 100));
    HGLOBAL dib = DibOf(flat);
    HGLOBAL plain = ReduceDibColours(dib, 1, false, nullptr, nullptr, IL_FLOYD);
    HGLOBAL spread = ReduceDibColours(dib, 1, true, nullptr, nullptr, IL_FLOYD);
    auto meanGrey = [](const QImage& image) {
        double sum = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                sum += qGray(image.pixel(x, y));
        return sum / (image.width() * image.height());
    };
    EXPECT_EQ(meanGrey(ImageOf(plain)), 0);
    EXPECT_NEAR(meanGrey(ImageOf(spread)), 100, 6);
    FreeDib(plain);
    FreeDib(spread);
    FreeDib(dib);
}

TEST_F(Effects, FewColoursSurviveReductionExactly) {
    QImage image(20, 10, QImage::Format_RGB32);
    const QRgb set[] = {qRgb(1, 2, 3), qRgb(200, 10, 10), qRgb(10, 200, 10), qRgb(9, 9, 250)};
    for (int i = 0; i < 200; ++i)
        image.setPixel(i % 20, i / 20, set[i % 4]);
    HGLOBAL dib = DibOf(image);
    HGLOBAL reduced = ReduceDibColours(dib, 4, true, nullptr, nullptr, IL_BURKES);
    EXPECT_EQ(ImageOf(reduced), image);
    FreeDib(reduced);
    FreeDib(dib);
}

TEST_F(Effects, ProgressIsReportedAndCanStopTheReduction) {
    HGLOBAL dib = DibOf(Gradient(64, 256));
    static int calls;
    calls = 0;
    auto stop = [](std::int16_t, void*) -> std::int16_t { return ++calls < 2; };
    EXPECT_EQ(ReduceDibColours(dib, 8, true, nullptr, stop, IL_FLOYD), nullptr);
    EXPECT_EQ(calls, 2);
    FreeDib(dib);
}

TEST_F(Effects, InvertTwiceGivesThePictureBack) {
    const QImage source = Gradient(9, 5);
    HGLOBAL dib = DibOf(source);
    EXPECT_EQ(ILInvertDib(dib), 1);
    EXPECT_EQ(EngineBinding::Instance().ProgressText(), "Inverting Image");
    QImage inverted = source;
    inverted.invertPixels();
    EXPECT_EQ(ImageOf(dib), inverted);
    EXPECT_EQ(ILInvertDib(dib), 1);
    EXPECT_EQ(ImageOf(dib), source);
    FreeDib(dib);
}

TEST_F(Effects, RotationTurnsQuartersExactlyAndFillsCornersWithTheBackground) {
    QImage source(4, 2, QImage::Format_RGB32);
    for (int i = 0; i < 8; ++i)
        source.setPixel(i % 4, i / 4, qRgb(i * 30, 0, 0));
    HGLOBAL dib = DibOf(source);
    QRect rect;
    HGLOBAL turned = ILRotateDib(dib, 90, &rect, Qt::white);
    EXPECT_EQ(rect, QRect(0, 0, 2, 4));
    EXPECT_EQ(ImageOf(turned), source.transformed(QTransform().rotate(-90)));
    FreeDib(turned);
    turned = ILRotateDib(dib, 180, &rect, Qt::white);
    EXPECT_EQ(ImageOf(turned), source.transformed(QTransform().rotate(180)));
    FreeDib(turned);
    FreeDib(dib);

    QImage square(40, 40, QImage::Format_RGB32);
    square.fill(Qt::black);
    dib = DibOf(square);
    turned = ILRotateDib(dib, 45, &rect, QColor(0, 0, 255));
    EXPECT_EQ(rect.width(), 57);
    const QImage diamond = ImageOf(turned);
    EXPECT_EQ(diamond.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(diamond.pixel(28, 28), qRgb(0, 0, 0));
    EXPECT_EQ(EngineBinding::Instance().ProgressText(), "Rotating Image ");
    FreeDib(turned);
    FreeDib(dib);
}

TEST_F(Effects, QuarterTurnsAreExactAtEverySizeAroundTheirBlocks) {
    // Sizes on both sides of the four-pixel blocks, the two pixels kept back at a row's end
    // and the 64-pixel tiles, with pixels that differ in every byte.
    for (const QSize size : {QSize(1, 1), QSize(2, 7), QSize(5, 3), QSize(6, 4), QSize(7, 9),
                             QSize(10, 8), QSize(66, 65), QSize(130, 67)}) {
        QImage source(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                source.setPixel(x, y, qRgb(x * 7 + y, y * 5 + 3 * x, (x ^ y) * 11));
        HGLOBAL dib = DibOf(source);
        for (int angle : {90, -90, 270, 180}) {
            QRect rect;
            HGLOBAL turned = ILRotateDib(dib, angle, &rect, Qt::white);
            ASSERT_NE(turned, nullptr);
            EXPECT_EQ(ImageOf(turned), source.transformed(QTransform().rotate(-angle)))
                << size.width() << " x " << size.height() << " by " << angle;
            FreeDib(turned);
        }
        FreeDib(dib);
    }
}

TEST(Transitions, EveryStepPlanCoversEachPixelOnce) {
    const QSize size(37, 23);
    for (auto kind :
         {isp::Transition::Horizontal, isp::Transition::Vertical, isp::Transition::Diagonals,
          isp::Transition::DiagonalSquares, isp::Transition::Rectangles}) {
        std::vector<int> covered(size.width() * size.height(), 0);
        int steps = 0;
        isp::TransitionSteps(kind, size.width(), size.height(), 4,
                             [&](const std::vector<isp::Cell>& cells) {
                                 ++steps;
                                 for (const isp::Cell& c : cells)
                                     for (int y = c.y; y < c.y + c.height; ++y)
                                         for (int x = c.x; x < c.x + c.width; ++x)
                                             ++covered[y * size.width() + x];
                             });
        EXPECT_GT(steps, 4) << int(kind);
        EXPECT_TRUE(std::all_of(covered.begin(), covered.end(), [](int n) { return n == 1; }))
            << int(kind);
    }
}

TEST_F(Effects, TransitionsPaintTheWholeBitmapAndPresentEachStep) {
    const QImage picture = Gradient(30, 20);
    for (TFXMethod method :
         {FXHorizontal, FXVertical, FXDiagonal, FXDiagonalSquares, FXRectangles}) {
        QImage surface(30, 20, QImage::Format_RGB32);
        surface.fill(Qt::black);
        QPainter painter(&surface);
        int presented = 0, slept = 0;
        TransitionCanvas canvas{&painter, [&] { ++presented; }, [&](int ms) { slept += ms; }};
        TBitmap bitmap;
        bitmap.SetHandle(picture);
        ASSERT_TRUE(FXTransition(method, canvas, bitmap, 3, 2)) << method;
        painter.end();
        EXPECT_EQ(surface, picture) << method;
        EXPECT_GT(presented, 3) << method;
        EXPECT_EQ(slept, 2 * presented) << "the canvas waits the delay after every step";
        EXPECT_EQ(EngineBinding::Instance().ProgressText(), "Transition Image ");
    }
}

TEST_F(Effects, AFaultInsideTheEngineShowsTheCrashMessageAndARefusalDoesNot) {
    // A fault inside the engine's work (here the canvas it calls fails with an exception, which
    // the engine catches) is its crash: the call fails and the user is told so.
    QImage surface(30, 20, QImage::Format_RGB32);
    QPainter painter(&surface);
    TransitionCanvas canvas{&painter, [] { throw std::runtime_error("the screen is gone"); }, {}};
    TBitmap bitmap;
    bitmap.SetHandle(Gradient(30, 20));
    EXPECT_FALSE(FXTransition(FXHorizontal, canvas, bitmap, 3, 0));
    painter.end();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text,
              "An exception error occured in the imaging dll. We recommend to exit the "
              "application and to restart it by clicking its icon!");
    // A refusal of the input is a plain failure: no message.
    EXPECT_EQ(ILRotateDib(nullptr, 90, nullptr, Qt::white), nullptr);
    EXPECT_EQ(dialogs.boxes.size(), 1u);
}

TEST(UndoRing, KeepsFourPicturesNewestFirst) {
    UndoRing ring;
    TBitmap picture;
    ring.Pop(picture);
    EXPECT_FALSE(picture.HandleAllocated()) << "nothing to undo leaves the picture";
    for (int i = 1; i <= 5; ++i) {
        QImage image(i, 1, QImage::Format_RGB32);
        TBitmap b;
        b.SetHandle(image);
        ring.Push(b);
        EXPECT_TRUE(ring.UndoAvailable());
    }
    for (int expected : {5, 4, 3, 2}) {
        ASSERT_TRUE(ring.UndoAvailable());
        ring.Pop(picture);
        EXPECT_EQ(picture.Width(), expected);
    }
    EXPECT_FALSE(ring.UndoAvailable()) << "the first picture fell out";
    ring.Pop(picture);
    EXPECT_EQ(picture.Width(), 2);
}

} // namespace
