// SPDX-License-Identifier: MIT
// The scanner dialogs: built from what the device offers, and the user's choices out.
#include "platform/ui/scanner_dialogs.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <gtest/gtest.h>

using namespace platform;

namespace {

ScanRequest Request() {
    ScanRequest r;
    r.device = "test:0";
    r.modes = {"Gray", "Color"};
    r.mode = 1;
    r.resolutionMin = 1;
    r.resolutionMax = 1200;
    r.resolutionStep = 1;
    r.resolution = 50;
    r.hasArea = true;
    r.areaLimit = QRectF(0, 0, 200, 200);
    r.area = QRectF(0, 0, 80, 100);
    return r;
}

} // namespace

TEST(ScannerDialogs, SettingsComeFromTheRequestAndGoBackChanged) {
    ScanRequest request = Request();
    int previews = 0;
    request.preview = [&](const ScanRequest& asked) {
        ++previews;
        EXPECT_EQ(asked.mode, 0) << "the preview uses the settings as they stand";
        QImage page(20, 20, QImage::Format_RGB32);
        page.fill(Qt::gray);
        return page;
    };
    ScanSettingsDialog dialog(nullptr, request);
    auto* mode = dialog.findChild<QComboBox*>("Mode");
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->count(), 2);
    EXPECT_EQ(mode->currentText(), "Color");
    auto* resolution = dialog.findChild<QDoubleSpinBox*>("Resolution");
    ASSERT_NE(resolution, nullptr);
    EXPECT_EQ(resolution->maximum(), 1200);
    EXPECT_EQ(dialog.ExpectedPixels(), QSize(157, 197)); // 80 x 100 mm at 50 dpi

    mode->setCurrentIndex(0);
    resolution->setValue(254);
    dialog.findChild<QDoubleSpinBox*>("Right")->setValue(20);
    dialog.findChild<QDoubleSpinBox*>("Bottom")->setValue(10);
    const ScanRequest chosen = dialog.Result();
    EXPECT_EQ(chosen.mode, 0);
    EXPECT_EQ(chosen.resolution, 254);
    EXPECT_EQ(chosen.area, QRectF(0, 0, 20, 10));
    EXPECT_EQ(dialog.ExpectedPixels(), QSize(200, 100));
    EXPECT_EQ(dialog.findChild<QLabel*>("PixelSize")->text(), "about 200 \u00D7 100 pixels");
    dialog.Preview();
    EXPECT_EQ(previews, 1);
}

TEST(ScannerDialogs, AListOfResolutionsAndNoAreaMakeTheirOwnControls) {
    ScanRequest request = Request();
    request.resolutions = {75, 150, 300};
    request.resolution = 150;
    request.hasArea = false;
    request.modes.clear();
    request.mode = -1;
    ScanSettingsDialog dialog(nullptr, request);
    EXPECT_EQ(dialog.findChild<QComboBox*>("Mode"), nullptr);
    EXPECT_EQ(dialog.findChild<QDoubleSpinBox*>("Left"), nullptr);
    auto* list = dialog.findChild<QComboBox*>("Resolution");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->currentText(), "150 dpi");
    list->setCurrentIndex(2);
    EXPECT_EQ(dialog.Result().resolution, 300);
    EXPECT_EQ(dialog.Result().mode, -1);
}

TEST(ScannerDialogs, TheChoiceListNamesEachDeviceAndStartsAtTheCurrentOne) {
    ScannerChoiceDialog dialog(nullptr,
                               {{"test:0", "Noname", "frontend-tester", "virtual device"},
                                {"test:1", "Noname", "frontend-tester", "virtual device"}},
                               1);
    ASSERT_EQ(dialog.List()->count(), 2);
    EXPECT_EQ(dialog.List()->item(1)->text(), "Noname frontend-tester (virtual device, test:1)");
    EXPECT_EQ(dialog.Chosen(), 1);
    dialog.List()->setCurrentRow(0);
    EXPECT_EQ(dialog.Chosen(), 0);
}
