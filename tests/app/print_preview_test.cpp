// SPDX-License-Identifier: MIT
// Print with its Placement page, Print Preview through the toolkit's real preview dialog, and
// Print Setup's printer choice: the preview's page is the printed PDF's page (pdftoppm).
#include "platform/ui/printer.h"
#include "platform/ui/printer_setup.h"
#include "platform/ui/widget_dialogs.h"
#include "tests/app/main_window_fixture.h"
#include "tests/engines/picture_tools.h"
#include "tests/support/fake_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRadioButton>
#include <QSettings>
#include <QTimer>

namespace {

class PrintPlacing : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        QPrinter& printer = platform::Printer().Device();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
    }
    void TearDown() override {
        QSettings(QStringLiteral("Vellamore"), QStringLiteral("vlmor")).remove("Print");
        MainWindowTest::TearDown();
    }
    // The pixels of a rendering that are the record's colour: their bounding box.
    static QRect Coloured(const QImage& image, QRgb colour) {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (std::abs(qRed(p) - qRed(colour)) < 24 &&
                    std::abs(qGreen(p) - qGreen(colour)) < 24 &&
                    std::abs(qBlue(p) - qBlue(colour)) < 24)
                    box |= QRect(x, y, 1, 1);
            }
        return box;
    }

    FakeDialogs dialogs;
};

} // namespace

TEST_F(PrintPlacing, ThePreviewShowsThePagePrintMakesWithThePlacementChosen) {
    // Print, fitted to the page and centred on its Placement page.
    const QString pdf = fixture.Path("placed.pdf");
    platform::Printer().Device().setOutputFileName(pdf);
    dialogs.printOptions = [](const QList<QWidget*>& pages) {
        ASSERT_EQ(pages.size(), 1);
        EXPECT_EQ(pages[0]->windowTitle(), "Placement");
        EXPECT_TRUE(pages[0]->findChild<QRadioButton*>("rbOwnSize")->isChecked()) << "the default";
        pages[0]->findChild<QRadioButton*>("rbFitPage")->setChecked(true);
        pages[0]->findChild<QCheckBox*>("chkCentred")->setChecked(true);
    };
    dialogs.printAnswers = {true};
    window->Print1->trigger();
    ASSERT_TRUE(QFile::exists(pdf));
    picture_tools::Run("pdftoppm",
                       {"-r", "48", "-png", "-singlefile", pdf, fixture.Path("placed")});
    const QImage printed = QImage(fixture.Path("placed.png")).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(printed.isNull());
    const QRgb colour = qRgb(0, 0, 0); // record 0's colour
    const QRect printedPicture = Coloured(printed, colour);
    ASSERT_FALSE(printedPicture.isEmpty());
    EXPECT_NEAR(printedPicture.center().y(), printed.height() / 2.0, 3) << "centred";

    // The real preview dialog: its page, grabbed, shows the picture in the same place.
    platform::WidgetDialogs widgets;
    platform::SetDialogService(&widgets);
    QImage shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        auto* preview = dialog->findChild<QPrintPreviewWidget*>();
        if (!preview || preview->pageCount() < 1)
            return;
        poll.stop();
        preview->fitInView();
        QTest::qWait(300);
        shown = preview->grab().toImage().convertToFormat(QImage::Format_RGB32);
        dialog->reject();
    });
    poll.start(100);
    window->PrintPreview1->trigger();
    platform::SetDialogService(&dialogs);
    ASSERT_FALSE(shown.isNull()) << "the preview came";
    QImage(shown).save(fixture.Path("preview.png"));

    // The page is the white sheet of the preview; the picture lies on it as on the PDF's.
    const QRect page = Coloured(shown, qRgb(255, 255, 255));
    const QRect picture = Coloured(shown, colour) & page;
    ASSERT_GT(page.width(), 100) << "a page was drawn";
    ASSERT_FALSE(picture.isEmpty());
    const double sx = double(page.width()) / printed.width();
    const double sy = double(page.height()) / printed.height();
    EXPECT_NEAR((picture.left() - page.left()) / sx, printedPicture.left(), 3);
    EXPECT_NEAR((picture.top() - page.top()) / sy, printedPicture.top(), 3);
    EXPECT_NEAR(picture.width() / sx, printedPicture.width(), 4);
    EXPECT_NEAR(picture.height() / sy, printedPicture.height(), 4);
    EXPECT_EQ(dialogs.previews, 0) << "the real dialog, not the stand-in";
}

TEST_F(PrintPlacing, PrintSetupChoosesThePaperAndTheOrientation) {
    QPrinter& printer = platform::Printer().Device();
    platform::PrinterSetup setup(printer, window.get());
    auto* paper = setup.findChild<QComboBox*>("cbPaper");
    ASSERT_NE(paper, nullptr);
    EXPECT_EQ(paper->currentData().toInt(), int(QPageSize::A4)) << "the printer's paper";
    ASSERT_NE(setup.findChild<QComboBox*>("cbPrinter"), nullptr);
    paper->setCurrentIndex(paper->findData(int(QPageSize::A5)));
    setup.findChild<QRadioButton*>("rbLandscape")->setChecked(true);
    setup.Apply(printer);
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A5);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    window->PrintSetup1->trigger();
    EXPECT_EQ(dialogs.setupDialogs, 1) << "the command asks the dialog service";
}
