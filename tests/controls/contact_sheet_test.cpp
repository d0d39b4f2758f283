// SPDX-License-Identifier: MIT
// The contact sheet printed to a PDF file and read back with poppler's tools: the right
// number of pictures a page, with all their pixels, drawings as vectors, the captions and
// the header.
#include "controls/overview/contact_sheet.h"
#include "imaging/decoding/decoder.h"
#include "imaging/engine/engine_binding.h"
#include "tests/engines/picture_tools.h"

#include <QBuffer>
#include <QImage>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString Tool(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

class ContactSheetTest : public ::testing::Test {
protected:
    void SetUp() override { imaging::EngineBinding::Instance().Start(); }
    void TearDown() override { imaging::EngineBinding::Instance().End(); }
    QTemporaryDir dir;
    imaging::Decoder decoder{2};
};

TEST(ContactSheetLayout, CellsFillTheBodyRowByRow) {
    const controls::ContactSheetLayout layout{3, 2};
    EXPECT_EQ(layout.PerPage(), 6);
    EXPECT_EQ(layout.Pages(0), 0);
    EXPECT_EQ(layout.Pages(6), 1);
    EXPECT_EQ(layout.Pages(7), 2);
    const QRectF body(10, 20, 300, 200);
    EXPECT_EQ(layout.Cell(body, 0), QRectF(10, 20, 100, 100));
    EXPECT_EQ(layout.Cell(body, 2), QRectF(210, 20, 100, 100));
    EXPECT_EQ(layout.Cell(body, 4), QRectF(110, 120, 100, 100));
}

TEST_F(ContactSheetTest, PagesHoldTheirPicturesCaptionsAndHeader) {
    // Seven pictures of their own sizes, one record without a picture: two pages of six.
    std::vector<controls::ContactSheetEntry> entries;
    for (int i = 0; i < 7; ++i) {
        QImage picture = picture_tools::TestPicture(60 + 10 * i, 40 + 5 * i);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, i % 2 ? "PNG" : "BMP");
        entries.push_back({QStringLiteral("PICTURE%1.BMP").arg(i),
                           QStringLiteral("Description number %1").arg(i), bytes});
    }
    entries.push_back({"EMPTY.BMP", "No picture here", {}});
    const QString pdf = dir.filePath("sheet.pdf");
    QPdfWriter writer(pdf);
    writer.setResolution(300);
    writer.setPageSize(QPageSize(QPageSize::A4));
    const controls::ContactSheet sheet(decoder, {3, 2}, "Border \u2013 Find: rope");
    std::vector<int> told;
    ASSERT_TRUE(sheet.Print(
        writer, int(entries.size()), [&](int i) { return entries[size_t(i)]; },
        [&](int page, int pages) {
            told.push_back(page * 10 + pages);
            return true;
        }));
    EXPECT_EQ(told, (std::vector<int>{2, 12}));

    // pdfimages: page number in the second column, width and height in the fourth and fifth.
    const QStringList lines =
        Tool("pdfimages", {"-list", pdf}).split(u'\n', Qt::SkipEmptyParts).mid(2);
    std::map<int, int> perPage;
    std::vector<std::pair<int, int>> sizes;
    for (const QString& line : lines) {
        const QStringList c = line.simplified().split(u' ');
        ASSERT_GT(c.size(), 5);
        if (c[2] != "image")
            continue;
        ++perPage[c[0].toInt()];
        sizes.emplace_back(c[3].toInt(), c[4].toInt());
    }
    EXPECT_EQ(perPage, (std::map<int, int>{{1, 6}, {2, 1}}));
    ASSERT_EQ(sizes.size(), 7u);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(sizes[size_t(i)], std::make_pair(60 + 10 * i, 40 + 5 * i)) << "all pixels";

    const QString text = Tool("pdftotext", {"-layout", pdf, "-"});
    for (const auto& entry : entries) {
        EXPECT_TRUE(text.contains(entry.FileName)) << entry.FileName.toStdString();
        EXPECT_TRUE(text.contains(entry.Description)) << entry.Description.toStdString();
    }
    EXPECT_EQ(text.count("Border \u2013 Find: rope"), 2);
    EXPECT_TRUE(text.contains("Page 1 of 2"));
    EXPECT_TRUE(text.contains("Page 2 of 2"));
    EXPECT_TRUE(text.contains("No picture"));
}

TEST_F(ContactSheetTest, DrawingsArePrintedAsVectorsAndAStoppedJobSaysSo) {
    // A placeable WMF from the bundled collection: on paper it is paths, not an image.
    const QByteArray wmf =
        picture_tools::ReadAll(QStringLiteral(VLMOR_SAMPLES_DIR "/pictures/BALLOON1.WMF"));
    ASSERT_FALSE(wmf.isEmpty());
    const QString pdf = dir.filePath("drawing.pdf");
    {
        QPdfWriter writer(pdf);
        const controls::ContactSheet sheet(decoder, {1, 1}, "Misc");
        ASSERT_TRUE(sheet.Print(writer, 1, [&](int) {
            return controls::ContactSheetEntry{"BALLOON1.WMF", "Balloons", wmf};
        }));
    }
    EXPECT_EQ(Tool("pdfimages", {"-list", pdf}).split(u'\n', Qt::SkipEmptyParts).size(), 2)
        << "only the list's header: no image";
    // Rendered, the page shows the balloons' red.
    const QString png = dir.filePath("drawing");
    Tool("pdftoppm", {"-r", "30", "-png", "-singlefile", pdf, png});
    const QImage page(png + ".png");
    ASSERT_FALSE(page.isNull());
    int red = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb p = page.pixel(x, y);
            red += qRed(p) > 180 && qGreen(p) < 90 && qBlue(p) < 90;
        }
    EXPECT_GT(red, 50);

    QPdfWriter stopped(dir.filePath("stopped.pdf"));
    const controls::ContactSheet sheet(decoder, {2, 2}, "All");
    EXPECT_FALSE(sheet.Print(
        stopped, 9, [&](int) { return controls::ContactSheetEntry{}; },
        [](int at, int) { return at < 1; }));
}

} // namespace
