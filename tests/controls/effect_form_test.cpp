// SPDX-License-Identifier: MIT
// The "Filters and Effects" window: what the view hands in and takes back, and the window's
// operations and preview on real pictures through the effects engine.
#include "controls/effects/effect_form.h"
#include "controls/imageview/db_multi_image.h"
#include "imaging/dib/dib.h"
#include "imaging/dib/dib_convert.h"
#include "imaging/undo_ring.h"
#include "tests/controls/image_view_fixture.h"

#include <QDoubleSpinBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

using controls::TEffectForm;

namespace {

QImage Halves(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(40, 80, 120));
    for (int y = 0; y < h; ++y)
        for (int x = w / 2; x < w; ++x)
            image.setPixel(x, y, qRgb(200, 0, 0));
    return image;
}

QImage Shown(const controls::TPDBMultiImage& view) {
    return view.Picture.Bitmap().Handle().convertToFormat(QImage::Format_RGB32);
}

QImage ImageOf(HGLOBAL dib) {
    imaging::TBitmap bitmap;
    EXPECT_EQ(imaging::DibHandleToBitmap(dib, bitmap), 1);
    return bitmap.Handle().convertToFormat(QImage::Format_RGB32);
}

HGLOBAL DibOf(const QImage& image) {
    imaging::TBitmap bitmap;
    bitmap.SetHandle(image);
    HGLOBAL dib = nullptr;
    imaging::BitmapToDib(&bitmap, &dib);
    return dib;
}

// Runs `inside` on the window once it is open and modal; the timer looks until then.
void WhileOpen(std::function<void(TEffectForm&)> inside) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, inside] {
        TEffectForm* form = TEffectForm::Current();
        if (!form || !form->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        inside(*form);
    });
    timer->start(5);
}

class EffectWindow : public ImageViewFixture {};

} // namespace

TEST_F(EffectWindow, CancelKeepsThePictureAndTheSettingsButTheUndoCopyStays) {
    Bind({Encoded(Halves(8, 4), "PNG")}, {100, 100}, [](controls::TPDBMultiImage& v) {
        v.FXDelay = 40;
        v.FXColRowThick = 7;
        v.FXMethod = imaging::FXDiagonal;
    });
    imaging::TBitmap drained;
    while (imaging::UndoRing::Shared().UndoAvailable())
        imaging::UndoRing::Shared().Pop(drained);
    bool seen = false;
    WhileOpen([&](TEffectForm& form) {
        seen = true;
        EXPECT_EQ(form.windowTitle(), "Filters and Effects");
        EXPECT_EQ(form.FXDelay(), 40);
        EXPECT_EQ(form.FXColRowThick(), 7);
        int checked = 0;
        for (auto* choice : form.findChildren<QRadioButton*>())
            checked += choice->isChecked();
        EXPECT_EQ(checked, 1);
        EXPECT_TRUE(form.TransitionChoice(imaging::FXDiagonal)->isChecked());
        EXPECT_EQ(ImageOf(form.Dib()), Halves(8, 4)) << "the window gets the picture";
        form.ApplyEffect(imaging::Effect::MirrorLeftRight);
        form.SetFXDelay(3);
        form.reject();
    });
    view->ShowEffects();
    EXPECT_TRUE(seen);
    EXPECT_EQ(TEffectForm::Current(), nullptr);
    EXPECT_EQ(Shown(*view), Halves(8, 4));
    EXPECT_EQ(view->FXDelay, 40);
    EXPECT_EQ(view->FXMethod, imaging::FXDiagonal);
    EXPECT_TRUE(imaging::UndoRing::Shared().UndoAvailable());
    EXPECT_EQ(platform::Screen::Cursor(), platform::crDefault);
}

TEST_F(EffectWindow, OkTakesThePictureWithItsTonesAndTheTransitionSettings) {
    Bind({Encoded(Halves(8, 4), "PNG")}, {100, 100});
    WhileOpen([&](TEffectForm& form) {
        EXPECT_EQ(platform::Screen::Cursor(), platform::crDefault)
            << "the wait cursor is lifted while the window is open";
        form.findChild<QPushButton*>("Mirror")->click();
        form.findChild<QSlider*>("Brightness")->setValue(20);
        form.TransitionChoice(imaging::FXRectangles)->setChecked(true);
        form.SetFXDelay(10);
        form.SetFXColRowThick(9);
        // The preview follows the slider: a small picture is shown at its own size.
        EXPECT_EQ(form.PreviewImage().pixel(0, 0), qRgb(220, 20, 20));
        form.accept();
    });
    view->ShowEffects();
    const QImage shown = Shown(*view);
    EXPECT_EQ(shown.pixel(0, 0), qRgb(220, 20, 20)) << "mirrored, then brightened";
    EXPECT_EQ(shown.pixel(7, 3), qRgb(60, 100, 140));
    EXPECT_EQ(view->FXMethod, imaging::FXRectangles);
    EXPECT_EQ(view->FXDelay, 10);
    EXPECT_EQ(view->FXColRowThick, 9);
    view->UndoImage();
    EXPECT_EQ(Shown(*view), Halves(8, 4)) << "undo brings back the picture before the window";
}

TEST_F(EffectWindow, AMonochromePictureArrivesAtOneBit) {
    QImage mono = Halves(16, 4).convertToFormat(QImage::Format_Mono);
    Bind({Encoded(mono, "BMP")}, {100, 100},
         [](controls::TPDBMultiImage& v) { v.ImageReadRes = imaging::lMonoChrome; });
    int bits = 0;
    WhileOpen([&](TEffectForm& form) {
        bits = imaging::DibBitCount(form.Dib());
        form.reject();
    });
    view->ShowEffects();
    EXPECT_EQ(bits, 1);
}

TEST(EffectForm, OperationsResetAndAPreviewSizedToTheWindow) {
    FakeDialogs dialogs;
    imaging::EngineBinding::Instance().Start();
    {
        TEffectForm form(nullptr);
        EXPECT_FALSE(form.findChild<QPushButton*>("Blur")->isEnabled()) << "no picture";
        form.SetDib(DibOf(Halves(1200, 900)));
        EXPECT_TRUE(form.findChild<QPushButton*>("Blur")->isEnabled());
        // Only a fitted copy is worked on for the preview.
        EXPECT_LE(form.PreviewImage().width(), 360);
        EXPECT_LE(form.PreviewImage().height(), 270);
        EXPECT_EQ(form.PreviewImage().width() * 3, form.PreviewImage().height() * 4);

        form.ReduceColours(2, 0);
        EXPECT_EQ(imaging::DibBitCount(form.Dib()), 1);
        form.ResetPicture();
        EXPECT_EQ(imaging::DibBitCount(form.Dib()), 24);
        EXPECT_EQ(ImageOf(form.Dib()).pixel(1199, 0), qRgb(200, 0, 0));

        form.RotatePicture(90);
        QImage turned = ImageOf(form.Dib());
        EXPECT_EQ(turned.size(), QSize(900, 1200));
        EXPECT_EQ(turned.pixel(0, 0), qRgb(200, 0, 0)) << "anticlockwise: the right half on top";
        form.InvertPicture();
        EXPECT_EQ(ImageOf(form.Dib()).pixel(0, 0), qRgb(55, 255, 255));

        form.SetTones(0, 0, 2.0);
        EXPECT_EQ(form.findChild<QSlider*>("Gamma")->value(), 200);
        const QRgb toned = ImageOf(form.Dib()).pixel(0, 0);
        EXPECT_EQ(qRed(toned), 118); // 255 * sqrt(55 / 255)
        EXPECT_EQ(form.PreviewImage().pixel(0, 0), toned);

        // A transition preview paints the picture in and leaves it shown.
        form.SetTransition(imaging::FXHorizontal);
        form.SetFXDelay(0);
        form.PreviewTransition();
        EXPECT_EQ(form.PreviewImage().pixel(0, 0), toned);
        EXPECT_TRUE(form.findChild<QPushButton*>("Rotate")->isEnabled());
    }
    imaging::EngineBinding::Instance().End();
}

TEST(EffectRowsInTheWindow, EveryRowHasItsControlOnItsTabWithItsLabelAndRange) {
    TEffectForm form(nullptr);
    auto* tabs = form.findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    auto tabOf = [tabs](QWidget* w) {
        while (w && tabs->indexOf(w) < 0)
            w = w->parentWidget();
        return w ? tabs->indexOf(w) : -1;
    };
    for (const imaging::EffectRow& row : imaging::EffectRows()) {
        SCOPED_TRACE(row.Name);
        const QString name = QString::fromLatin1(row.Name);
        QWidget* control = nullptr;
        if (row.Does == imaging::EffectRow::Action::Tone) {
            auto* slider = form.findChild<QSlider*>(name);
            ASSERT_NE(slider, nullptr);
            EXPECT_EQ(slider->minimum(), row.Low);
            EXPECT_EQ(slider->maximum(), row.High);
            EXPECT_EQ(slider->value(), row.Initial);
            control = slider;
        } else {
            auto* button = form.findChild<QPushButton*>(name);
            ASSERT_NE(button, nullptr);
            EXPECT_EQ(button->text(), QString::fromUtf8(row.Label));
            control = button;
            auto* value = form.findChild<QDoubleSpinBox*>(name + "Value");
            EXPECT_EQ(value != nullptr, row.TakesValue());
            if (value) {
                EXPECT_EQ(value->minimum(), row.Low);
                EXPECT_EQ(value->maximum(), row.High);
                EXPECT_EQ(value->value(), row.Initial);
            }
        }
        EXPECT_EQ(tabOf(control), int(row.Page));
    }
}
