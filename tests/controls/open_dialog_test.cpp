// SPDX-License-Identifier: MIT
// The toolbar's open dialog, driven as a person would: the preview of the file under the
// cursor (decoded as the view decodes it), the page chooser of a multi-page TIFF, and the
// Open button loading the chosen page into the view.
#include "controls/imagetoolbar/file_preview.h"
#include "controls/imagetoolbar/image_toolbar.h"
#include "controls/imagetoolbar/media_dialogs.h"
#include "tests/controls/image_view_fixture.h"
#include "tests/engines/picture_tools.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using namespace controls;

namespace {

class OpenDialog : public ImageViewFixture {
protected:
    void SetUp() override {
        ImageViewFixture::SetUp();
        // Three pages of three colours, a PCX (which the toolkit cannot read) and a text file.
        ASSERT_TRUE(picture_tools::Convert(
            {"-size", "60x40", "xc:#c81e1e", "xc:#1ec81e", "xc:#1e1ec8", Path("pages.tif")}));
        ASSERT_TRUE(picture_tools::Convert({"-size", "30x50", "xc:#d2b41e", Path("one.pcx")}));
        ASSERT_TRUE(picture_tools::WriteAll(Path("notes.txt"), "no picture here"));
        // A check that fails inside the dialog must not leave it waiting for a person.
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            if (QWidget* w = QApplication::activeModalWidget())
                w->close();
        });
        watchdog.start(20000);
    }
    QString Path(const char* name) const { return files.filePath(QString::fromLatin1(name)); }
    // Selects a file in the dialog; the folder's listing arrives while events run, and the
    // preview follows the current file. Waits (up to two seconds) until `shown` holds.
    static bool Select(QFileDialog* dialog, const QString& file,
                       const std::function<bool()>& shown) {
        dialog->selectFile(file);
        return QTest::qWaitFor(shown, 2000);
    }

    // The colour in the middle of what the preview shows (0 when it shows no picture).
    static QRgb Shown(const QFileDialog* dialog) {
        const auto* preview = dialog->findChild<QLabel*>(QStringLiteral("Preview"));
        const QImage image = preview->pixmap().toImage();
        return image.isNull() ? 0
                              : image.pixel(image.width() / 2, image.height() / 2) | 0xFF000000u;
    }

    QTemporaryDir files;
    QTimer watchdog;
};

} // namespace

TEST_F(OpenDialog, ThePreviewFollowsTheFileAndTheTiffPageChooser) {
    TMMOpenDialog open;
    bool driven = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* page = dialog->findChild<QSpinBox*>(QStringLiteral("TiffPage"));
        ASSERT_NE(page, nullptr);
        dialog->setDirectory(files.path());
        EXPECT_TRUE(Select(dialog, Path("pages.tif"), [&] {
            return Shown(dialog) == qRgb(200, 30, 30);
        })) << "the first page";
        EXPECT_TRUE(page->isEnabled());
        EXPECT_EQ(page->maximum(), 3);
        page->setValue(3);
        EXPECT_EQ(Shown(dialog), qRgb(30, 30, 200)) << "the third page";

        EXPECT_TRUE(Select(dialog, Path("one.pcx"), [&] {
            return Shown(dialog) == qRgb(210, 180, 30);
        })) << "decoded by our engine";
        EXPECT_FALSE(page->isEnabled());
        EXPECT_EQ(page->value(), 1);

        auto* preview = dialog->findChild<QLabel*>(QStringLiteral("Preview"));
        EXPECT_TRUE(Select(dialog, Path("notes.txt"),
                           [&] { return preview->text() == QLatin1String("no preview"); }));
        EXPECT_EQ(Shown(dialog), 0u);

        EXPECT_TRUE(Select(dialog, Path("pages.tif"), [&] { return page->isEnabled(); }));
        page->setValue(2);
        driven = true;
        static_cast<QDialog*>(dialog)->accept(); // the Open button
    });
    ASSERT_TRUE(open.Execute(nullptr));
    EXPECT_TRUE(driven);
    EXPECT_EQ(open.FileName, Path("pages.tif"));
    EXPECT_EQ(open.TiffSelectedPage, 1) << "pages count from 0";

    // Cancelled: nothing chosen.
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_FALSE(open.Execute(nullptr));
}

TEST_F(OpenDialog, TheToolbarsOpenLoadsThePageChosen) {
    // The record in editing takes the file opened.
    Bind({Encoded(Solid({40, 30}, qRgb(0, 0, 0)), "PNG")}, {200, 150});
    table.Edit();
    TILDBMultiImageToolBar bar;
    bar.SetDBMultiImage(view.get());
    TMMOpenDialog open;
    bar.MMOpenDialog = &open;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setDirectory(files.path());
        auto* page = dialog->findChild<QSpinBox*>(QStringLiteral("TiffPage"));
        ASSERT_TRUE(Select(dialog, Path("pages.tif"), [&] { return page->isEnabled(); }));
        page->setValue(3);
        static_cast<QDialog*>(dialog)->accept(); // the Open button
    });
    bar.ButtonAction(bar.Buttons(ibdbiOpen), ibdbiOpen);
    EXPECT_EQ(view->TiffPage, 2);
    ASSERT_EQ(view->Picture.Size(), QSize(60, 40));
    EXPECT_EQ(view->Picture.Bitmap().Handle().pixel(30, 20) | 0xFF000000u, qRgb(30, 30, 200));
}

TEST(FilePreviewOf, LargePicturesAreFittedAndOddPagesClamped) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("wide.tif"));
    ASSERT_TRUE(picture_tools::Convert({"-size", "800x200", "xc:#204060", file}));
    const FilePreview shown = PreviewFile(file, 7, {160, 120});
    EXPECT_EQ(shown.pages, 1);
    EXPECT_EQ(shown.picture.size(), QSize(160, 40));
    EXPECT_TRUE(
        PreviewFile(dir.filePath(QStringLiteral("missing.png")), 0, {160, 120}).picture.isNull());
}
