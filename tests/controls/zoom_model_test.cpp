// SPDX-License-Identifier: MIT
// The image view's mapping of picture onto window, driven without a widget.
#include "controls/imageview/zoom_model.h"

#include <gtest/gtest.h>

using controls::ZoomModel;

namespace {

ZoomModel View(QSize picture, QSize control) {
    ZoomModel m;
    m.SetPicture(picture, true, true);
    m.SetControlSize(control);
    return m;
}

TEST(ZoomModel, StepsStopBeforeTheirLimits) {
    ZoomModel m = View({100, 80}, {200, 200});
    int steps = 0;
    while (m.ZoomIn(1.1))
        ++steps;
    EXPECT_LT(m.ZoomFactor, 50);
    EXPECT_GE(m.ZoomFactor * 1.1, 50);
    EXPECT_EQ(steps, 41); // 1.1^41 = 49.8; one more would reach 50
    while (m.ZoomOut(0.9)) {
    }
    EXPECT_GT(m.ZoomFactor, 0.075);
    EXPECT_LE(m.ZoomFactor * 0.9, 0.075);

    ZoomModel empty;
    EXPECT_FALSE(empty.ZoomIn(1.1)) << "no graphic, no zoom";
    EXPECT_EQ(empty.ZoomFactor, 1.0);
}

TEST(ZoomModel, ZoomingOutAtTheRightEdgePullsTheOriginBackButNotBelowZero) {
    ZoomModel m = View({1000, 1000}, {200, 100});
    m.ZoomFactor = 2;
    m.ViewOriginX = 900; // the right edge: 100 picture pixels fill the 200 wide control
    m.ViewOriginY = 950;
    ASSERT_TRUE(m.ZoomOut(0.9));
    EXPECT_EQ(m.ViewOriginX, 1000 - int(200 / 1.8)); // 889: no empty strip at the right
    EXPECT_EQ(m.ViewOriginY, 1000 - int(100 / 1.8));
    ZoomModel small = View({50, 50}, {200, 200});
    small.ViewOriginX = 10;
    ASSERT_TRUE(small.ZoomOut(0.9));
    EXPECT_EQ(small.ViewOriginX, 0);
}

TEST(ZoomModel, FitSaveAndRestore) {
    ZoomModel m = View({400, 100}, {200, 200});
    m.ComputeFitZoom();
    EXPECT_DOUBLE_EQ(m.ZoomFactor, 0.5) << "the smaller ratio";
    m.ZoomFactor = 3;
    m.ViewOriginX = 40;
    m.Stretch = true;
    m.SetStretchRatio(true);
    EXPECT_DOUBLE_EQ(m.ZoomFactor, 0.5);
    EXPECT_EQ(m.ViewOriginX, 0);
    EXPECT_FALSE(m.Stretch);
    m.SetControlSize({100, 100}); // a resize: the widget fits again
    m.ComputeFitZoom();
    EXPECT_DOUBLE_EQ(m.ZoomFactor, 0.25);
    m.ResetZoom();
    EXPECT_DOUBLE_EQ(m.ZoomFactor, 0.25) << "fitting keeps its factor";
    m.SetStretchRatio(false);
    EXPECT_DOUBLE_EQ(m.ZoomFactor, 3);
    EXPECT_EQ(m.ViewOriginX, 0) << "ResetZoom cleared the saved origin";
    m.ResetZoom();
    EXPECT_DOUBLE_EQ(m.ZoomFactor, 1);
}

TEST(ZoomModel, PanningStaysInsideThePictureAndMovesAtLeastOnePixel) {
    ZoomModel m = View({1000, 500}, {200, 100});
    m.ZoomFactor = 4;
    EXPECT_TRUE(m.PressLeft({100, 50}));
    EXPECT_FALSE(m.DragTo({150, 50})) << "the origin cannot go below 0";
    EXPECT_EQ(m.ViewOriginX, 0);
    EXPECT_TRUE(m.DragTo({149, 50})) << "one mouse pixel at zoom 4 is still one picture pixel";
    EXPECT_EQ(m.ViewOriginX, 1);
    for (int x = 149; x > -10000; x -= 400)
        m.DragTo({x, 50});
    EXPECT_EQ(m.ViewOriginX, 1000 - 200 / 4) << "the right edge meets the control's edge";
    m.ShowScrollbars = true;
    m.DragTo({-20000, 50});
    EXPECT_EQ(m.ViewOriginX, 1000 - (200 - 12) / 4) << "less the scroll bar when shown";
    m.Release({0, 0});
    EXPECT_FALSE(m.DragTo({5, 5}));

    ZoomModel fits = View({50, 50}, {200, 200});
    EXPECT_FALSE(fits.PressLeft({10, 10})) << "a picture that fits does not pan";
    ZoomModel band = View({1000, 1000}, {100, 100});
    band.AllowRubberBand = true;
    EXPECT_FALSE(band.PressLeft({1, 1})) << "the left button draws the band instead";
}

TEST(ZoomModel, ScrollBarsTheirPlacesRangesAndTheShowScrollbarsPullBack) {
    ZoomModel m = View({1000, 400}, {200, 100});
    EXPECT_FALSE(m.ScrollBars().shown) << "ShowScrollbars off never shows them";
    m.ShowScrollbars = true;
    m.ViewOriginX = 300;
    const controls::ScrollBarLayout l = m.ScrollBars();
    ASSERT_TRUE(l.shown);
    EXPECT_EQ(l.vertical, QRect(188, 1, 12, 87));
    EXPECT_EQ(l.horizontal, QRect(1, 88, 187, 12));
    EXPECT_EQ(l.corner, QRect(188, 88, 12, 12));
    EXPECT_EQ(l.horizontalMaximum, 1000 - 200 + 12);
    EXPECT_EQ(l.horizontalPosition, 300);
    m.ScrollTo(Qt::Horizontal, 500);
    EXPECT_EQ(m.ViewOriginX, 500);

    m.ViewOriginX = 900; // 100 pixels left of a 200-wide control: 100 empty
    m.SetShowScrollbars(false);
    EXPECT_EQ(m.ViewOriginX, 900 - 100 - 1);
    EXPECT_FALSE(m.ShowScrollbars);
}

TEST(ZoomModel, RubberBandKeepsTheControlsRatioInEachQuadrant) {
    ZoomModel m = View({10, 10}, {200, 100}); // height / width = 0.5
    const QPoint start(100, 50);
    const QPoint down = m.RubberBandEnd(start, {140, 90});
    EXPECT_GT(down.x(), 100);
    EXPECT_NEAR(double(down.y() - 50) / (down.x() - 100), 0.5, 0.03);
    const QPoint up = m.RubberBandEnd(start, {60, 10});
    EXPECT_LT(up.x(), 100);
    EXPECT_LT(up.y(), 50);
    EXPECT_NEAR(double(50 - up.y()) / (100 - up.x()), 0.5, 0.03);
    EXPECT_EQ(m.RubberBandEnd(start, start), start) << "no move is right-down of length 0";
    // Straight up counts as left-up (the later rule).
    EXPECT_LE(m.RubberBandEnd(start, {100, 0}).x(), 100);
}

TEST(ZoomModel, WheelZoomKeepsThePointUnderThePointer) {
    ZoomModel m = View({1000, 1000}, {200, 200});
    m.ZoomFactor = 2;
    m.ViewOriginX = 100;
    m.ViewOriginY = 100;
    const double before = m.ViewOriginX + 50 / m.ZoomFactor;
    ASSERT_TRUE(m.WheelZoom(1, {50, 50}));
    EXPECT_DOUBLE_EQ(m.ZoomFactor, 2.2);
    EXPECT_NEAR(m.ViewOriginX + 50 / m.ZoomFactor, before, 1.0);
    m.ZoomFactor = 49;
    EXPECT_FALSE(m.WheelZoom(1, {0, 0})) << "the same limit as the toolbar's step";
}

} // namespace
