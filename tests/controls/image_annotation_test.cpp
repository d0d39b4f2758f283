// SPDX-License-Identifier: MIT
// The annotation layer of the imaging engine on the image view: objects drawn with the
// mouse in each tool, following zoom, selected, moved, deleted, burned into the picture,
// with the look from il_anno.ini; checked on grabs.
#include "controls/imageview/db_multi_image.h"
#include "engines/crde2000/crde2000.h"
#include "imaging/engine/annotation_calls.h"
#include "imaging/engine/shared_tables.h"
#include "tests/controls/image_view_fixture.h"

#include <QFile>
#include <QMouseEvent>
#include <gtest/gtest.h>

using controls::TPDBMultiImage;

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;

class Annotations : public ImageViewFixture {
protected:
    // A white 200 x 150 picture shown at zoom 1 in a view of its size, annotation mode on.
    void Open(std::function<void(TPDBMultiImage&)> configure = {}) {
        Bind({Encoded(Solid({200, 150}, kWhite), "PNG")}, {200, 150}, [&](TPDBMultiImage& v) {
            v.SetStretchRatio(false);
            v.OnAnnoDone = [this](TPDBMultiImage*) { ++done; };
            v.OnAnnoClick = [this](TPDBMultiImage*, std::intptr_t object, bool selecting) {
                clicks.push_back({object, selecting});
            };
            if (configure)
                configure(v);
        });
        view->SetEditAnnotat(true);
        Deliver();
    }
    void Tool(int command) { imaging::MenuMsg(view.get(), command); }
    void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QMouseEvent e(type, at, view->mapToGlobal(at), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, {});
        QCoreApplication::sendEvent(view.get(), &e);
    }
    void Drag(QPoint from, QPoint to) {
        Mouse(QEvent::MouseButtonPress, from);
        Mouse(QEvent::MouseMove, (from + to) / 2);
        Mouse(QEvent::MouseMove, to);
        Mouse(QEvent::MouseButtonRelease, to);
        Deliver();
    }
    static int Count(const QImage& image, QRgb colour, QRect area = {}) {
        if (area.isNull())
            area = image.rect();
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += image.pixel(x, y) == colour;
        return n;
    }

    int done = 0;
    std::vector<std::pair<std::intptr_t, bool>> clicks;
};

} // namespace

TEST_F(Annotations, ARectangleIsDrawnWithTheMouseAndFollowsTheZoom) {
    Recorder annotationWindow;
    Open([&](TPDBMultiImage& v) { v.AnnotationWindow = &annotationWindow; });
    EXPECT_TRUE(QFile::exists(imaging::AnnotationIniPath())) << "written with its defaults";
    Tool(CRDE_ANNO_RECTANGLE);
    Drag({40, 30}, {120, 90});
    EXPECT_EQ(imaging::IsAnnotation(view.get()), 1);
    EXPECT_EQ(done, 1);
    // The finished object is announced once, to the annotation window and not to the toolbar.
    EXPECT_EQ(annotationWindow.Count(controls::kAnnotationDoneMessage), 1);
    EXPECT_EQ(toolbar.Count(controls::kAnnotationDoneMessage), 0);
    QImage shown = Grab();
    const QRgb red = qRgb(255, 0, 0);
    EXPECT_EQ(shown.pixel(80, 30), red) << "top edge";
    EXPECT_EQ(shown.pixel(40, 60), red) << "left edge";
    EXPECT_EQ(shown.pixel(120, 60), red) << "right edge";
    EXPECT_EQ(shown.pixel(80, 60), kWhite) << "an outline";
    EXPECT_EQ(shown.pixel(20, 20), kWhite);
    // The picture itself is untouched.
    EXPECT_EQ(view->Picture.Bitmap().Handle().pixel(80, 30) | 0xFF000000u, kWhite);

    // Zoomed in twice: the rectangle's corner at (40, 30) of the picture moves to (80, 60).
    view->ZoomIn(2);
    ASSERT_DOUBLE_EQ(view->ZoomFactor(), 2.0);
    shown = Grab();
    EXPECT_EQ(shown.pixel(120, 60), red) << "top edge, zoomed";
    EXPECT_EQ(shown.pixel(80, 100), red) << "left edge, zoomed";
    EXPECT_EQ(shown.pixel(80, 30), kWhite) << "where the edge was";
}

TEST_F(Annotations, ObjectsAreSelectedMovedAndDeleted) {
    Open();
    Tool(CRDE_ANNO_ELLIPSE);
    Drag({20, 20}, {80, 60});
    Tool(CRDE_ANNO_LINE);
    Drag({100, 100}, {180, 100});
    ASSERT_EQ(imaging::IsAnnotation(view.get()), 2);

    Tool(CRDE_ANNO_SELECT);
    Mouse(QEvent::MouseButtonPress, {140, 100});
    Deliver();
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_NE(clicks[0].first, 0);
    EXPECT_TRUE(clicks[0].second);
    EXPECT_EQ(toolbar.Count(controls::kAnnotationObjectMessage), 0) << "goes to its own window";
    // Dragged 20 down: the line now lies at y 120.
    Mouse(QEvent::MouseMove, {140, 110});
    Mouse(QEvent::MouseMove, {140, 120});
    Mouse(QEvent::MouseButtonRelease, {140, 120});
    Deliver();
    QImage shown = Grab();
    const QRgb red = qRgb(255, 0, 0);
    EXPECT_EQ(shown.pixel(160, 120), red);
    EXPECT_EQ(shown.pixel(160, 100), kWhite);

    // A click on nothing selects nothing and says so.
    Mouse(QEvent::MouseButtonPress, {190, 10});
    Mouse(QEvent::MouseButtonRelease, {190, 10});
    Deliver();
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[1].first, 0);
    EXPECT_FALSE(clicks[1].second);

    // Selected again and deleted; the ellipse stays.
    Mouse(QEvent::MouseButtonPress, {150, 120});
    Mouse(QEvent::MouseButtonRelease, {150, 120});
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QCoreApplication::sendEvent(view.get(), &del); // the key deletes the selected object
    EXPECT_EQ(imaging::IsAnnotation(view.get()), 1);
    shown = Grab();
    EXPECT_EQ(Count(shown, red, QRect(95, 110, 90, 20)), 0);
    EXPECT_GT(Count(shown, red, QRect(15, 15, 70, 50)), 50) << "the ellipse";
    Tool(CRDE_ANNO_DELETE_ALL);
    EXPECT_EQ(imaging::IsAnnotation(view.get()), 0);
    EXPECT_EQ(Count(Grab(), red), 0);
}

TEST_F(Annotations, TheSettingsFileGivesTheLookAndHighlightsKeepDarkPixels) {
    QFile ini(imaging::AnnotationIniPath());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Annotation]\nLineColor=0,128,0\nLineWidth=7\nHighlightColor=0,255,255\n");
    ini.close();
    Open();
    Tool(CRDE_ANNO_ARROW);
    Drag({20, 75}, {150, 75});
    QImage shown = Grab();
    const QRgb green = qRgb(0, 128, 0);
    int thick = 0; // pixels inked across the shaft, the smoothed edges included
    for (int y = 60; y < 90; ++y)
        thick += qRed(shown.pixel(60, y)) < 200;
    EXPECT_GE(thick, 7) << "the width from the settings";
    EXPECT_LE(thick, 8);
    EXPECT_EQ(shown.pixel(60, 75), green);
    EXPECT_GT(Count(shown, green, QRect(130, 55, 20, 15)), 10) << "an arrow head above the tip";

    // A highlighter over black and white: black stays black, white takes the colour.
    view->Picture.SetBitmap([] {
        imaging::TBitmap b;
        QImage half(200, 150, QImage::Format_RGB32);
        half.fill(kWhite);
        for (int y = 0; y < 150; ++y)
            for (int x = 0; x < 100; ++x)
                half.setPixel(x, y, qRgb(0, 0, 0));
        b.SetHandle(half);
        return b;
    }());
    Tool(CRDE_ANNO_HIGHLIGHT);
    Drag({80, 100}, {120, 130});
    shown = Grab();
    EXPECT_EQ(shown.pixel(90, 115), qRgb(0, 0, 0));
    EXPECT_EQ(shown.pixel(110, 115), qRgb(0, 255, 255));
}

TEST_F(Annotations, TextFreehandAndTheDrawEventsWork) {
    std::vector<QString> before, after;
    bool hideText = false;
    Open([&](TPDBMultiImage& v) {
        v.OnBeforeAnnotationDraw = [&](TPDBMultiImage*, int, bool& canDraw, const QString& name) {
            before.push_back(name);
            if (hideText && name.startsWith("Text"))
                canDraw = false;
        };
        v.OnAfterAnnotationDraw = [&](TPDBMultiImage*, const QString& name) {
            after.push_back(name);
        };
    });
    dialogs.promptAnswers = {QStringLiteral("Hello")};
    Tool(CRDE_ANNO_TEXT);
    Mouse(QEvent::MouseButtonPress, {30, 40});
    Mouse(QEvent::MouseButtonRelease, {30, 40});
    ASSERT_EQ(imaging::IsAnnotation(view.get()), 1);
    QImage shown = Grab();
    int inked = 0;
    for (int y = 40; y < 70; ++y)
        for (int x = 30; x < 120; ++x)
            inked += qBlue(shown.pixel(x, y)) > 150 && qRed(shown.pixel(x, y)) < 100;
    EXPECT_GT(inked, 30) << "blue text";
    EXPECT_EQ(Count(shown, kWhite, QRect(0, 80, 200, 70)), 200 * 70);
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(before.back(), "Text 1");
    EXPECT_EQ(after.back(), "Text 1");

    hideText = true;
    EXPECT_EQ(Count(Grab(), kWhite), 200 * 150) << "OnBeforeAnnotationDraw said no";
    hideText = false;

    Tool(CRDE_ANNO_FREEHAND);
    Mouse(QEvent::MouseButtonPress, {20, 100});
    for (int x = 20; x <= 180; x += 10)
        Mouse(QEvent::MouseMove, {x, 100 + (x / 10 % 2) * 20});
    // Switching annotation mode off drops the stroke being drawn.
    view->SetEditAnnotat(false);
    EXPECT_EQ(imaging::IsAnnotation(view.get()), 1);
    EXPECT_EQ(Count(Grab(), qRgb(255, 0, 0)), 0);
}

TEST_F(Annotations, BurnedInOnePixelAPicturePixelWhateverTheZoom) {
    Open();
    Tool(CRDE_ANNO_RECTANGLE);
    Drag({10, 10}, {50, 40});
    view->ZoomIn(2);
    Grab();
    QImage copy = view->Picture.Bitmap().Handle();
    imaging::HardDrawAnnotation(view.get(), &copy);
    EXPECT_EQ(copy.pixel(30, 10), qRgb(255, 0, 0));
    EXPECT_EQ(copy.pixel(10, 25), qRgb(255, 0, 0));
    EXPECT_EQ(copy.pixel(30, 25), kWhite);
    EXPECT_EQ(copy.pixel(60, 60), kWhite);
}
