// SPDX-License-Identifier: MIT
#include "app/about_box.h"
#include "app/splash_window.h"
#include "platform/core/system_colours.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct LabelLayout {
    const char* name;
    QRect geometry;
    int pixelSize;
};

const LabelLayout Labels[] = {
    {"lblQuantity", {112, 80, 417, 33}, 32},
    {"lblCopyright", {112, 296, 417, 25}, 16},
    {"lblLine1", {112, 232, 417, 33}, 24},
    {"lblLine2", {112, 264, 417, 33}, 24},
};

void ExpectCreditPanel(QWidget* window, int imageLeft, const QColor& textBackground) {
    auto* image = window->findChild<QLabel*>("Image1");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->geometry(), QRect(imageLeft, 8, 640, 382));
    const QImage picture(":/artwork/splash.png");
    EXPECT_EQ(picture.size(), QSize(640, 382));
    EXPECT_EQ(picture.depth(), 1); // a two-colour bitmap
    EXPECT_EQ(image->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
              picture.convertToFormat(QImage::Format_RGB32));

    const QList<QLabel*> labels = window->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(labels.size(), 5);
    EXPECT_EQ(labels[0], image); // the picture lies below the labels

    for (const LabelLayout& want : Labels) {
        SCOPED_TRACE(want.name);
        auto* label = window->findChild<QLabel*>(want.name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->geometry(), want.geometry);
        EXPECT_EQ(label->font().family(), "Times New Roman");
        EXPECT_EQ(label->font().pixelSize(), want.pixelSize);
        EXPECT_TRUE(label->font().bold());
        EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        EXPECT_FALSE(label->wordWrap());
        EXPECT_EQ(label->palette().color(QPalette::WindowText),
                  platform::ColorToQColor(platform::clWindowText));
        const bool copyright = QString(want.name) == "lblCopyright";
        EXPECT_EQ(label->autoFillBackground(), !copyright); // the copyright is transparent
        if (!copyright) {
            EXPECT_EQ(label->palette().color(QPalette::Window), textBackground);
        }
    }
    EXPECT_FALSE(window->findChild<QLabel*>("lblCopyright")->text().isEmpty());
}

// Counts pixels that differ between two images of the same size.
int DifferentPixels(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col)
            n += x.pixel(col, row) != y.pixel(col, row);
    return n;
}

TEST(SplashWindow, HasEveryControlWithItsGeometryFontAndColour) {
    TdlgSplash splash;
    EXPECT_EQ(splash.size(), QSize(632, 397));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash.windowTitle(), "Vellamore");
    EXPECT_EQ(splash.font().family(), "MS Sans Serif");
    EXPECT_EQ(splash.font().pixelSize(), 11);
    EXPECT_EQ(splash.palette().color(QPalette::Window), QColor(Qt::white));
    ExpectCreditPanel(&splash, 0, Qt::white);
}

TEST(SplashWindow, PaintsTheArtworkAndTheTexts) {
    TdlgSplash splash;
    splash.ShowAndPaint();
    const QImage blank = splash.grab().toImage();
    splash.Panel.SetTexts("25,000 Pictures", "First line", "Second line");
    const QImage shown = splash.grab().toImage();
    ASSERT_EQ(shown.size(), QSize(632, 397));

    // Outside the labels the window shows the picture pixel for pixel.
    const QImage art = splash.Panel.Image1->pixmap().toImage();
    const QRect titleBand(0, 8, 632, 60); // above every label
    EXPECT_EQ(DifferentPixels(shown.copy(titleBand), art.copy(0, 0, 632, 60)), 0);
    int dark = 0;
    const QImage band = art.copy(0, 0, 632, 60).convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < band.height(); ++y)
        for (int x = 0; x < band.width(); ++x)
            dark += qGray(band.pixel(x, y)) < 128;
    EXPECT_GT(dark, 1000) << "the artwork's title band is empty";

    // Each text label paints its text over a white background.
    for (const char* name : {"lblQuantity", "lblLine1", "lblLine2"}) {
        SCOPED_TRACE(name);
        const QRect r = splash.findChild<QLabel*>(name)->geometry();
        EXPECT_GT(DifferentPixels(shown.copy(r), blank.copy(r)), 50);
        EXPECT_EQ(shown.pixelColor(r.topLeft()), QColor(Qt::white));
    }
    splash.hide();
}

TEST(AboutBox, HasEveryControlAndTheOkButtonCloses) {
    TAboutBox about;
    EXPECT_EQ(about.size(), QSize(632, 439));
    EXPECT_EQ(about.windowTitle(), "About Vellamore");
    EXPECT_EQ(about.minimumSize(), about.maximumSize()); // not resizable
    EXPECT_EQ(about.palette().color(QPalette::Window),
              platform::ColorToQColor(platform::clBtnFace));
    EXPECT_EQ(about.font().family(), "MS Sans Serif");
    ExpectCreditPanel(&about, -8, Qt::white);

    ASSERT_NE(about.BitBtn1, nullptr);
    EXPECT_EQ(about.BitBtn1->geometry(), QRect(272, 400, 97, 33));
    EXPECT_EQ(about.BitBtn1->text(), "OK");
    EXPECT_FALSE(about.BitBtn1->icon().isNull());
    EXPECT_TRUE(about.BitBtn1->isDefault());

    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(about.isVisible());
        EXPECT_EQ(about.focusWidget(), about.BitBtn1); // first in the tab order
        QTest::mouseClick(about.BitBtn1, Qt::LeftButton);
    });
    EXPECT_EQ(about.exec(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());

    QTimer::singleShot(0, [&] { QTest::keyClick(&about, Qt::Key_Return); });
    EXPECT_EQ(about.exec(), QDialog::Accepted);
}

TEST(AboutBox, PictureIsShiftedLeftAndLabelsAreOpaqueWhite) {
    TAboutBox about;
    about.Panel.SetTexts("Q", "L1", "L2");
    about.show();
    const QImage shown = about.grab().toImage();
    const QImage art = about.Panel.Image1->pixmap().toImage();
    // The window's column 0 shows the picture's column 8.
    EXPECT_EQ(DifferentPixels(shown.copy(0, 8, 600, 60), art.copy(8, 0, 600, 60)), 0);
    // Below the picture the button face shows.
    EXPECT_EQ(shown.pixelColor(5, 395), platform::ColorToQColor(platform::clBtnFace));
    EXPECT_EQ(shown.pixelColor(112, 232), QColor(Qt::white));
    about.hide();
}

} // namespace
