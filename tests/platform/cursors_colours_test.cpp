// SPDX-License-Identifier: MIT
#include "platform/core/cursors.h"
#include "platform/core/system_colours.h"

#include <QGuiApplication>
#include <QPalette>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace platform;

TEST(Cursors, RegistryGivesStandardAndRegisteredCursors) {
    EXPECT_EQ(CursorRegistry::Get(crHourGlass).shape(), Qt::WaitCursor);
    EXPECT_EQ(CursorRegistry::Get(crHandPoint).shape(), Qt::PointingHandCursor);
    EXPECT_EQ(CursorRegistry::Get(12345).shape(), Qt::ArrowCursor);
    EXPECT_FALSE(CursorRegistry::Contains(5));
    CursorRegistry::Set(5, QCursor(Qt::OpenHandCursor));
    EXPECT_TRUE(CursorRegistry::Contains(5));
    EXPECT_EQ(CursorRegistry::Get(5).shape(), Qt::OpenHandCursor);
    EXPECT_FALSE(CursorRegistry::LoadResource(6, "NOSUCHCURSOR"));
}

TEST(Cursors, WaitCursorIsRestoredAlsoOnFailure) {
    ASSERT_EQ(Screen::Cursor(), crDefault);
    try {
        WaitCursor wait;
        EXPECT_EQ(Screen::Cursor(), crHourGlass);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        throw std::runtime_error("engine failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(Screen::Cursor(), crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    // A wait inside another screen cursor goes back to that cursor, not to the default.
    Screen::SetCursor(crCross);
    {
        WaitCursor wait;
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(Screen::Cursor(), crCross);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    Screen::SetCursor(crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(SystemColors, ColoursResolveThroughThePalette) {
    EXPECT_EQ(ColorToQColor(clRed), QColor(255, 0, 0));
    EXPECT_EQ(ColorToQColor(clNavy), QColor(0, 0, 128));
    EXPECT_EQ(ColorToQColor(0x00336699), QColor(0x99, 0x66, 0x33));
    const QPalette palette = QGuiApplication::palette();
    EXPECT_EQ(ColorToQColor(clBtnFace), palette.color(QPalette::Button));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), palette.color(QPalette::Base));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), palette.color(QPalette::Text));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), palette.color(QPalette::Highlight));
}
