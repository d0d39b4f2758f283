// SPDX-License-Identifier: MIT
#include "platform/text_case.h"
#include "tests/support/qt_printers.h"
#include "tools/samples/bmp_writer.h"
#include "tools/samples/collection.h"

#include <QSet>
#include <gtest/gtest.h>
#include <map>

using samples::TSampleFormat;

TEST(SampleCollection, HoldsTwentyPicturesInEachCategoryWithUsableNames) {
    const auto all = samples::Collection();
    ASSERT_EQ(all.size(), 120u);
    EXPECT_EQ(samples::Categories().first(), "All");
    std::map<QString, int> perCategory;
    std::map<TSampleFormat, int> perFormat;
    QSet<QString> names;
    for (const auto& s : all) {
        ++perCategory[s.Category];
        ++perFormat[s.Format];
        const QString name = s.Stem + '.' + samples::Extension(s.Format);
        EXPECT_LE(name.size(), 12) << name.toStdString();
        EXPECT_FALSE(names.contains(name)) << name.toStdString();
        names.insert(name);
        EXPECT_LE(s.Description.size(), 255);
        EXPECT_TRUE(samples::Categories().contains(s.Category, Qt::CaseInsensitive));
    }
    EXPECT_EQ(perCategory.size(), 6u);
    for (const auto& [category, count] : perCategory)
        EXPECT_EQ(count, 20) << category.toStdString();
    EXPECT_EQ(perFormat.size(), 6u); // BMP in four depths, PNG and JPG
}

TEST(SampleCollection, SearchWordsFindSensibleRecords) {
    const auto all = samples::Collection();
    for (const char* word : {"STAR", "FLORAL", "TREE", "GOLD"}) {
        int hits = 0;
        for (const auto& s : all)
            hits += platform::UpperCase(s.Description).contains(QLatin1String(word)) ? 1 : 0;
        EXPECT_GE(hits, 4) << word;
    }
}

TEST(SampleCollection, EveryPictureShowsSomething) {
    for (const auto& s : samples::Collection()) {
        const QImage image = s.Draw();
        ASSERT_FALSE(image.isNull());
        QSet<QRgb> colours;
        for (int y = 0; y < image.height() && colours.size() < 3; y += 3)
            for (int x = 0; x < image.width() && colours.size() < 3; x += 3)
                colours.insert(image.pixel(x, y));
        EXPECT_GE(colours.size(), 2) << s.Stem.toStdString();
    }
}

TEST(BmpWriter, WritesFilesAnotherReaderDecodesToTheSamePixels) {
    QImage image(37, 11, QImage::Format_RGB32); // odd width: rows need padding
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, samples::SixteenColours()[(x + 3 * y) % 16]);
    for (int bits : {24, 8, 4}) {
        const QImage back = QImage::fromData(samples::EncodeBmp(image, bits), "BMP");
        ASSERT_EQ(back.size(), image.size()) << bits;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ASSERT_EQ(back.pixel(x, y), image.pixel(x, y)) << bits << " at " << x << "," << y;
    }
    // One bit a pixel: black stays black and white stays white.
    QImage bw(19, 5, QImage::Format_RGB32);
    for (int y = 0; y < bw.height(); ++y)
        for (int x = 0; x < bw.width(); ++x)
            bw.setPixel(x, y, (x * y) % 3 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const QByteArray mono = samples::EncodeBmp(bw, 1);
    EXPECT_EQ(static_cast<unsigned char>(mono[28]), 1u); // bits a pixel in the header
    const QImage back = QImage::fromData(mono, "BMP");
    for (int y = 0; y < bw.height(); ++y)
        for (int x = 0; x < bw.width(); ++x)
            ASSERT_EQ(back.pixel(x, y) & 0xffffff, bw.pixel(x, y) & 0xffffff);
}
