// SPDX-License-Identifier: MIT
// The main window's picture commands: Save As with its default name, extension rules and
// the monochrome TIF, Copy, Print and Print Setup through the program's dialogs.
#include "controls/imagetoolbar/image_toolbar.h"
#include "controls/imagetoolbar/toolbar_button.h"
#include "controls/imageview/db_multi_image.h"
#include "platform/core/cursors.h"
#include "platform/ui/printer.h"
#include "tests/app/main_window_fixture.h"
#include "tests/engines/picture_tools.h"
#include "tests/support/fake_dialogs.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

namespace {

class PictureCommands : public MainWindowTest {
protected:
    FakeDialogs dialogs;
};

} // namespace

TEST_F(PictureCommands, SaveAsOffersTheRecordsNameAndWritesByExtension) {
    ASSERT_TRUE(window->SaveAs1->isEnabled());
    ASSERT_TRUE(window->ToolSave->isEnabled());
    const QString out = fixture.Path("out");
    const QString startedIn = QDir::currentPath();
    // Every format the engine writes, by the extension typed in any spelling and case.
    const QStringList written{".tif", ".jpg", ".PCX", ".bmp",  ".png",
                              ".gif", ".tga", ".eps", ".TIFF", ".jpeg"};
    for (const QString& extension : written)
        dialogs.saveAnswers.push_back(out + extension);
    for (int i = 0; i < written.size(); ++i)
        window->SaveAs1->trigger();
    ASSERT_EQ(dialogs.saveRequests.size(), size_t(written.size()));
    const platform::SaveRequest& asked = dialogs.saveRequests[0];
    EXPECT_EQ(asked.caption, "Save Image");
    EXPECT_EQ(asked.fileName, "PIC000") << "the record's file name without its extension";
    EXPECT_EQ(asked.defaultExtension, "TIF");
    EXPECT_FALSE(asked.confirmOverwrite) << "replacing is asked by the command itself";
    EXPECT_TRUE(asked.filter.startsWith("Tagged Image    (TIF) |*.TIF|Jpeg    (JPG) |*.JPG|"
                                        "PaintShop Pro    (PCX) |*.PCX|Windows Bitmap    (BMP) "
                                        "|*.BMP|"))
        << "the four entries first: " << asked.filter.toStdString();
    for (const char* more : {"*.PNG", "*.GIF", "*.TGA", "*.EPS"})
        EXPECT_TRUE(asked.filter.contains(more)) << more;
    EXPECT_EQ(picture_tools::Identify(out + ".tif"), "1 8 6")
        << "a lower-case .tif is written monochrome";
    EXPECT_EQ(picture_tools::Identify(out + ".TIFF"), "1 8 6") << "and so is any TIFF";
    EXPECT_EQ(picture_tools::Identify(out + ".jpg"), "8 8 6");
    EXPECT_EQ(picture_tools::Identify(out + ".jpeg"), "8 8 6");
    for (const char* other : {".PCX", ".bmp", ".png", ".gif", ".tga"})
        EXPECT_EQ(picture_tools::Identify(out + other).section(u' ', 1), "8 6") << other;
    // The files are what their names say, and keep the record's colour: record 0 is black.
    for (const char* other : {".bmp", ".png", ".gif", ".tga"})
        EXPECT_EQ(picture_tools::ImageMagickPixels(out + other).pixel(3, 3), qRgb(0, 0, 0))
            << other;
    EXPECT_TRUE(picture_tools::ReadAll(out + ".png").startsWith("\x89PNG"));
    EXPECT_TRUE(picture_tools::ReadAll(out + ".gif").startsWith("GIF8"));
    const QImage eps = picture_tools::GhostscriptPixels(out + ".eps");
    ASSERT_FALSE(eps.isNull()) << "Ghostscript reads the EPS";
    EXPECT_EQ(eps.pixel(eps.width() / 2, eps.height() / 2) | 0xFF000000u, qRgb(0, 0, 0));
    EXPECT_TRUE(dialogs.boxes.empty()) << "none of them asked or complained";
    EXPECT_EQ(window->PDBMultiImage1->ImageWriteRes, imaging::sAutoMatic) << "after the JPEG";
    EXPECT_EQ(platform::Screen::Cursor(), platform::crDefault);

    // The chosen file's folder became the current directory (a relative DataPath follows it).
    EXPECT_EQ(QFileInfo(QDir::currentPath()).canonicalFilePath(),
              QFileInfo(QFileInfo(out).absolutePath()).canonicalFilePath());

    // Cancelled: nothing happens, the current directory stays.
    QDir::setCurrent(QDir::tempPath());
    window->ToolSave->click();
    EXPECT_EQ(dialogs.saveRequests.size(), size_t(written.size()) + 1);
    EXPECT_EQ(QDir::currentPath(), QDir(QDir::tempPath()).canonicalPath());
    QDir::setCurrent(startedIn);
}

TEST_F(PictureCommands, SaveAsNamesWhatItCannotWriteAndAsksBeforeReplacing) {
    const QString out = fixture.Path("kept");
    // An extension no writer has: the message names the ones there are, nothing is written.
    dialogs.saveAnswers = {out + ".xyz", out + ".wmf"};
    window->SaveAs1->trigger();
    window->SaveAs1->trigger();
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_TRUE(dialogs.boxes[0].text.contains("kept.xyz")) << dialogs.boxes[0].text.toStdString();
    EXPECT_TRUE(dialogs.boxes[0].text.contains("TIF, JPG, PCX, BMP, PNG, GIF, TGA, EPS"))
        << dialogs.boxes[0].text.toStdString();
    EXPECT_FALSE(QFile::exists(out + ".xyz"));
    EXPECT_FALSE(QFile::exists(out + ".wmf"));

    // An existing file: No leaves it byte for byte, Yes replaces it.
    const QByteArray old = "an older file of the user's";
    ASSERT_TRUE(picture_tools::WriteAll(out + ".bmp", old));
    dialogs.boxes.clear();
    dialogs.saveAnswers = {out + ".bmp", out + ".bmp"};
    dialogs.boxAnswers = {platform::IDNO, platform::IDYES};
    window->SaveAs1->trigger();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(dialogs.boxes[0].text.contains("kept.bmp already exists"));
    EXPECT_EQ(dialogs.boxes[0].flags & 0xF, unsigned(platform::MB_YESNO));
    EXPECT_EQ(picture_tools::ReadAll(out + ".bmp"), old);
    window->SaveAs1->trigger();
    EXPECT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(picture_tools::Identify(out + ".bmp").section(u' ', 1), "8 6");
}

TEST_F(PictureCommands, ExportPicturesWritesTheTabIntoAFolderAndAsksOnceAboutExistingFiles) {
    ClickTab(1); // Border: every third record
    ASSERT_EQ(Rows(), 10);
    const QString folder = fixture.Path("export");
    dialogs.optionsAnswer = [&](QWidget* page) {
        EXPECT_EQ(page->windowTitle(), "Export Pictures");
        dialogs.folderAnswers = {folder};
        page->findChild<QPushButton*>("btnBrowse")->click(); // chosen in the folder dialog
        EXPECT_EQ(page->findChild<QLineEdit*>("edFolder")->text(), folder);
        auto* format = page->findChild<QComboBox*>("cbFormat");
        format->setCurrentIndex(format->findData(QStringLiteral("PNG")));
        page->findChild<QCheckBox*>("chkFit")->setChecked(true);
        page->findChild<QSpinBox*>("spnFitWidth")->setValue(4);
        page->findChild<QSpinBox*>("spnFitHeight")->setValue(4);
        return true;
    };
    window->ExportPictures1->trigger();
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(dialogs.boxes[0].text.startsWith("10 pictures were exported to"))
        << dialogs.boxes[0].text.toStdString();
    const QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(files.size(), 10) << files.join(' ').toStdString();
    for (int i = 0; i < 30; i += 3) {
        const QString path =
            QDir(folder).filePath(QStringLiteral("PIC%1.png").arg(i, 3, 10, QLatin1Char('0')));
        const QImage got = picture_tools::ImageMagickPixels(path);
        ASSERT_EQ(got.size(), QSize(4, 3)) << "8 x 6 fitted into 4 x 4: " << path.toStdString();
        EXPECT_EQ(QColor(got.pixel(1, 1)), QColor(qRgb(i * 37 % 256, i * 91 % 256, i * 53 % 256)));
    }

    // Again: one question for all ten; No keeps them and says so.
    ASSERT_TRUE(picture_tools::WriteAll(QDir(folder).filePath("PIC000.png"), "mine"));
    dialogs.boxes.clear();
    dialogs.boxAnswers = {platform::IDNO};
    window->ExportPictures1->trigger();
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_TRUE(dialogs.boxes[0].text.startsWith("10 of the files exist already"));
    EXPECT_EQ(dialogs.boxes[0].flags & 0xF, unsigned(platform::MB_YESNOCANCEL));
    EXPECT_TRUE(dialogs.boxes[1].text.contains("10 existing files kept"))
        << dialogs.boxes[1].text.toStdString();
    EXPECT_EQ(picture_tools::ReadAll(QDir(folder).filePath("PIC000.png")), "mine");
    // Cancelled in the options: nothing is asked or written.
    dialogs.boxes.clear();
    dialogs.optionsAnswer = [](QWidget*) { return false; };
    window->ExportPictures1->trigger();
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(dialogs.optionsDialogs, 3);
}

TEST_F(PictureCommands, CopyPutsThePictureOnTheClipboardAndPrintAsksFirst) {
    window->DBNavigator1->BtnClick(controls::TNavigateBtn::nbNext);
    window->mnuCopy->trigger();
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_TRUE(mime->formats().contains("image/png"));
    const QImage copied = qvariant_cast<QImage>(mime->imageData());
    ASSERT_EQ(copied.size(), QSize(8, 6));
    EXPECT_EQ(copied.pixel(2, 2) | 0xFF000000u, qRgb(37, 91, 53)) << "record 1's colour";

    // The print dialog cancelled prints nothing; confirmed, the picture is printed.
    QPrinter& printer = platform::Printer().Device();
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = fixture.Path("print.pdf");
    printer.setOutputFileName(pdf);
    window->Print1->trigger();
    EXPECT_EQ(dialogs.printDialogs, 1);
    EXPECT_FALSE(QFile::exists(pdf));
    dialogs.printAnswers = {true};
    window->ToolPrint->click();
    EXPECT_EQ(dialogs.printDialogs, 2);
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_EQ(printer.docName(), "PIC001.BMP") << "the job is named after the record's file";
    window->PrintSetup1->trigger();
    EXPECT_EQ(dialogs.setupDialogs, 1);
}

TEST_F(PictureCommands, TheImageToolbarShowsItsFiveButtonsAboveTheView) {
    controls::TILDBMultiImageToolBar* bar = window->ILDBMultiImageToolBar1;
    ASSERT_EQ(bar->DBMultiImage(), window->PDBMultiImage1);
    EXPECT_EQ(bar->parentWidget(), window->pnlTool);
    EXPECT_EQ(bar->geometry(), window->pnlTool->rect()) << "it fills pnlTool";
    int shown = 0;
    for (int k = 0; k < controls::kToolbarButtonCount; ++k)
        shown += bar->Buttons(k)->isVisible();
    EXPECT_EQ(shown, 5);
    for (int k : {controls::ibdbiPanZoom, controls::ibdbiZoomIn, controls::ibdbiZoomOut,
                  controls::ibdbiBestFit, controls::ibdbiCenter})
        EXPECT_TRUE(bar->Buttons(k)->isVisible()) << k;
    // The picture is fitted: zooming waits for the fit to be switched off.
    EXPECT_TRUE(bar->Buttons(controls::ibdbiBestFit)->isChecked());
    EXPECT_FALSE(bar->Buttons(controls::ibdbiZoomIn)->isEnabled());
    bar->Buttons(controls::ibdbiBestFit)->click();
    EXPECT_FALSE(window->PDBMultiImage1->StretchRatio());
    EXPECT_TRUE(bar->Buttons(controls::ibdbiZoomIn)->isEnabled());
    // A state message from the view repaints what changed, not every button.
    QTest::qWait(50);
    const int before = bar->Paints();
    window->PDBMultiImage1->SetCenter(!window->PDBMultiImage1->Center());
    QTest::qWait(100);
    EXPECT_GE(bar->Paints() - before, 1);
    EXPECT_LE(bar->Paints() - before, 2) << "only the button whose state changed repaints";
}
