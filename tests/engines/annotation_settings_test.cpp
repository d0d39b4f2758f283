// SPDX-License-Identifier: MIT
// The annotation layer's settings file: what it sets, and what it may not.
#include "engines/crde2000/annotation_settings.h"

#include <gtest/gtest.h>

using crde::AnnotationSettings;

TEST(AnnotationSettings, KeysInAnyCaseSetTheLookAndBadValuesKeepTheDefaults) {
    const AnnotationSettings defaults;
    const AnnotationSettings s = AnnotationSettings::Parse(
        "; a comment\n[other]\nLineWidth=9\n[ANNOTATION]\r\n linecolor = 0, 128 ,255 \r\n"
        "LineWidth=7\nFontName=Liberation Serif\nFontSize=99999999999\nTextColor=1,2\n"
        "HighlightColor=256,0,0\n");
    EXPECT_EQ(s.lineColour, 0x00FF8000u);
    EXPECT_EQ(s.lineWidth, 7) << "only the Annotation section counts";
    EXPECT_EQ(s.fontName, "Liberation Serif");
    EXPECT_EQ(s.fontSize, defaults.fontSize) << "out of range";
    EXPECT_EQ(s.textColour, defaults.textColour) << "two parts are no colour";
    EXPECT_EQ(s.highlightColour, defaults.highlightColour) << "256 is no channel value";
    EXPECT_EQ(AnnotationSettings::Parse("[Annotation]\nLineWidth=0\n").lineWidth,
              defaults.lineWidth);
    EXPECT_EQ(AnnotationSettings::Parse("[Annotation]\nLineWidth=64\n").lineWidth, 64);
    EXPECT_EQ(AnnotationSettings::Parse("[Annotation]\nLineWidth=3x\n").lineWidth,
              defaults.lineWidth);
}
