// SPDX-License-Identifier: MIT
#include "engines/crde2000/info.h"
#include "engines/crde2000/tiff.h"
#include "imaging/decoding/blob_detection.h"
#include "platform/core/text_case.h"
#include "tests/support/qt_printers.h"
#include "tools/samples/collection.h"

#include <QSet>
#include <gtest/gtest.h>
#include <map>

using samples::SampleFormat;

TEST(SampleCollection, HoldsTwentyPicturesInEachCategoryWithUsableNames) {
    const auto all = samples::Collection();
    ASSERT_EQ(all.size(), 130u); // and the drawing and the nine records of other kinds
    EXPECT_EQ(samples::Categories().first(), "All");
    std::map<QString, int> perCategory;
    std::map<SampleFormat, int> perFormat;
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
    const std::map<QString, int> expected = {{"misc", 27},     {"header", 21}, {"letter", 21},
                                             {"ornament", 21}, {"border", 20}, {"background", 20}};
    for (const auto& [category, count] : perCategory)
        EXPECT_EQ(count, expected.at(category)) << category.toStdString();
    // Every kind the engine writes, a Photo CD, a drawing and the seven other kinds.
    EXPECT_EQ(perFormat.size(), 24u);
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
        if (!s.Draw)
            continue; // the kinds that are not drawn as pictures
        const QImage image = s.Draw();
        ASSERT_FALSE(image.isNull());
        QSet<QRgb> colours;
        for (int y = 0; y < image.height() && colours.size() < 3; y += 3)
            for (int x = 0; x < image.width() && colours.size() < 3; x += 3)
                colours.insert(image.pixel(x, y));
        EXPECT_GE(colours.size(), 2) << s.Stem.toStdString();
    }
}

TEST(SampleCollection, EveryFileIsOneTheEngineRecognisesAtThePicturesSize) {
    std::map<SampleFormat, bool> checked;
    for (const auto& s : samples::Collection()) {
        if (s.Format > SampleFormat::Dxf)
            continue; // the other kinds: below
        if (checked[s.Format])
            continue;
        checked[s.Format] = true;
        SCOPED_TRACE(s.Stem.toStdString() + "." + samples::Extension(s.Format).toStdString());
        const QByteArray file = samples::Encode(s);
        ASSERT_FALSE(file.isEmpty());
        const auto* d = reinterpret_cast<const std::uint8_t*>(file.constData());
        crde::StreamFacts facts;
        ASSERT_EQ(crde::StreamInfo(d, std::size_t(file.size()), &facts), 1);
        const QString format = samples::Extension(s.Format);
        EXPECT_EQ(QString::fromStdString(facts.format).left(3), format == "JPG" ? "JPE" : format);
        if (s.Format == SampleFormat::Dxf || s.Format == SampleFormat::Pcd)
            continue;
        const QImage image = s.Draw();
        EXPECT_EQ(facts.width, image.width());
        EXPECT_EQ(facts.height, image.height());
        if (s.Format == SampleFormat::TifPages) {
            crde::TiffInfo info;
            ASSERT_EQ(crde::TiffPageInfo(d, std::size_t(file.size()), 2, &info), 1);
            EXPECT_EQ(info.pages, 3);
        }
        if (s.Format == SampleFormat::TifFax4) {
            EXPECT_EQ(facts.compression, "FAXCCITT4");
        }
    }
    EXPECT_EQ(checked.size(), 17u);
}

TEST(SampleCollection, TheOtherKindsAreWhatTheViewDetects) {
    const std::map<SampleFormat, QString> expected = {
        {SampleFormat::Wmf, "WMF"}, {SampleFormat::Emf, "WMF"}, {SampleFormat::Scm, "SCM"},
        {SampleFormat::Cms, "CMS"}, {SampleFormat::Rtf, "RTF"}, {SampleFormat::HeaderBmp, "BMP"}};
    int seen = 0;
    for (const auto& s : samples::Collection()) {
        const QByteArray file = samples::Encode(s);
        if (s.Format == SampleFormat::NoPicture) {
            EXPECT_TRUE(file.isEmpty());
            ++seen;
            continue;
        }
        const auto kind = expected.find(s.Format);
        if (kind == expected.end())
            continue;
        SCOPED_TRACE(s.Stem.toStdString());
        imaging::BlobInfo info;
        const imaging::Detection found = imaging::DetectBlob(file, 0, info);
        EXPECT_EQ(found.loadName, kind->second);
        EXPECT_FALSE(found.engineError);
        if (s.Format == SampleFormat::HeaderBmp) {
            EXPECT_EQ(imaging::GraphicHeaderOffset(file), 8);
            EXPECT_EQ(info.BlobWidth, s.Draw().width());
        }
        if (kind->second == "WMF") {
            EXPECT_GT(info.BlobWidth, 100) << "a natural size from the metafile's header";
        }
        ++seen;
    }
    EXPECT_EQ(seen, 9);
}
