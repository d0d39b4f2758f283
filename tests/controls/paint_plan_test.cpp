// SPDX-License-Identifier: MIT
// The rectangles the image view paints with, for each mode of the bitmap path.
#include "controls/imageview/paint_plan.h"

#include <gtest/gtest.h>

using controls::PaintInput;
using controls::PaintPlan;

namespace {

PaintInput Loaded(QSize picture, QSize control) {
    PaintInput in;
    in.control = control;
    in.client = control - QSize(2, 2);
    in.picture = picture;
    in.pictureLoaded = in.hasGraphic = true;
    return in;
}

TEST(PaintPlan, AFittedPictureIsCentredByTheTruncatedHalf) {
    PaintInput in = Loaded({100, 50}, {403, 310});
    in.stretchRatio = true;
    in.zoomFactor = 403.0 / 100; // the smaller of 4.03 and 6.2
    const PaintPlan p = controls::PlanBitmapPaint(in);
    EXPECT_EQ(p.mode, PaintPlan::Mode::Zoomed);
    EXPECT_EQ(p.source, QRect(0, 0, 100, 50));
    EXPECT_EQ(p.target, QRect(0, 54, 403, 201));
    EXPECT_EQ(p.offsetY, 54);
    // The background is everything else, in one region; the picture is not touched.
    EXPECT_FALSE(p.fillAround.intersects(p.target));
    EXPECT_EQ(p.fillAround.united(p.target), QRegion(0, 0, 403, 310));
}

TEST(PaintPlan, NaturalSizeMayHaveNegativeOffsetsAndStretchCoversTheClient) {
    PaintInput in = Loaded({500, 400}, {202, 102});
    in.scrolling = false;
    PaintPlan p = controls::PlanBitmapPaint(in);
    EXPECT_EQ(p.mode, PaintPlan::Mode::Natural);
    EXPECT_EQ(p.target, QRect((200 - 500) / 2, (100 - 400) / 2, 500, 400)); // -150, -150
    in.stretch = true;
    p = controls::PlanBitmapPaint(in);
    EXPECT_EQ(p.mode, PaintPlan::Mode::Stretched);
    EXPECT_EQ(p.target, QRect(0, 0, 200, 100));
    in.pictureLoaded = false;
    EXPECT_EQ(controls::PlanBitmapPaint(in).mode, PaintPlan::Mode::Placeholder);
}

TEST(PaintPlan, TheFourZoomCasesTakeOnlyTheVisibleSource) {
    PaintInput in = Loaded({1000, 60}, {200, 150});
    in.zoomFactor = 2;
    in.viewOriginX = 300;
    in.showScrollbars = true;
    PaintPlan p = controls::PlanBitmapPaint(in); // only the width overflows
    EXPECT_EQ(p.source, QRect(300, 0, (200 - 12) / 2, 60));
    EXPECT_EQ(p.target, QRect(0, (150 - 120) / 2, 188, 120));
    EXPECT_TRUE(p.withScrollBars);
    EXPECT_TRUE(p.fillAround.contains(QPoint(10, 5))) << "above the centred picture";
    EXPECT_FALSE(p.fillAround.contains(QPoint(10, 140))) << "the scroll-bar strip is the bar's";
    EXPECT_FALSE(p.fillAround.contains(QPoint(10, 50))) << "the picture itself";

    in.picture = {50, 1000};
    in.viewOriginX = 0;
    in.viewOriginY = 40;
    p = controls::PlanBitmapPaint(in); // only the height overflows
    EXPECT_EQ(p.source, QRect(0, 40, 50, int((150 - 12) / 2.0)));
    EXPECT_EQ(p.target, QRect((200 - 100) / 2, 0, 100, 138));

    in.picture = {10000, 10000};
    in.zoomFactor = 4;
    in.viewOriginX = in.viewOriginY = 5000;
    p = controls::PlanBitmapPaint(in); // both: the source follows the window, not the picture
    EXPECT_EQ(p.source, QRect(5000, 5000, 47, 34));
    EXPECT_EQ(p.target, QRect(0, 0, 188, 138));
    // The fill around leaves the scroll-bar strip to the bars.
    EXPECT_FALSE(p.fillAround.contains(QPoint(195, 10)));
}

} // namespace
