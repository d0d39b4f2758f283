// SPDX-License-Identifier: MIT
#include "data/field.h"
#include "data/session.h"
#include "data/table.h"
#include "tests/support/qt_printers.h"
#include "tools/catalog/builder.h"
#include "tools/catalog/manifest.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using catalog::BuildOptions;

namespace {

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A publisher's folder: pictures, a categories file and a manifest to fill in.
class BuilderTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(dir.path()).mkdir("pictures");
        for (const char* name : {"STAR.BMP", "rose.png", "TREE.JPG"}) {
            QImage picture(6, 4, QImage::Format_RGB32);
            picture.fill(Qt::darkGreen);
            ASSERT_TRUE(picture.save(dir.filePath(QString("pictures/") + name),
                                     QByteArray(name).endsWith("png")   ? "PNG"
                                     : QByteArray(name).endsWith("JPG") ? "JPEG"
                                                                        : "BMP"));
        }
        Write(dir.filePath("categories.txt"), "All\nBorder\n# a comment\n\nMisc\n");
        options.Manifest = dir.filePath("manifest.csv");
        options.Pictures = dir.filePath("pictures");
        options.Categories = dir.filePath("categories.txt");
        options.OutDir = dir.filePath("out");
    }

    QStringList Build(const QByteArray& manifest) {
        Write(options.Manifest, manifest);
        return catalog::BuildCatalogue(options).Errors;
    }

    QTemporaryDir dir;
    BuildOptions options;
};

} // namespace

TEST(Manifest, SplitsQuotedFieldsWithCommasAndDoubledQuotes) {
    QStringList fields;
    ASSERT_TRUE(catalog::SplitCsvLine(R"(A.BMP, "Stars, moons and ""comets""" ,misc)", fields));
    EXPECT_EQ(fields, QStringList({"A.BMP", "Stars, moons and \"comets\"", "misc"}));
    EXPECT_FALSE(catalog::SplitCsvLine(R"(A.BMP,"open,misc)", fields));
    const auto manifest =
        catalog::ParseManifest("file,description,category\r\n\r\n# note\nA.BMP,x,misc\n");
    ASSERT_EQ(manifest.Entries.size(), 1u);
    EXPECT_EQ(manifest.Entries[0].Line, 4);
    EXPECT_TRUE(manifest.Errors.isEmpty());
}

TEST_F(BuilderTest, AGoodManifestBuildsBothTablesTheProgramCanRead) {
    ASSERT_EQ(Build("file,description,category\n"
                    "STAR.BMP,\"Gold star border, five points\",Border\n"
                    "ROSE.PNG,Floral border of roses,border\n"
                    "tree.jpg,Oak tree,misc\n"),
              QStringList());
    data::Session().AddPassword("tamsin###");
    data::TTable table;
    table.SetDatabaseName(options.OutDir);
    table.SetTableName("vlmor.db");
    table.Open();
    ASSERT_EQ(table.CountRecords(), 3);
    EXPECT_EQ(table.LookupField("FileName")->AsString(), "STAR.BMP");
    EXPECT_EQ(table.LookupField("Description")->AsString(), "Gold star border, five points");
    EXPECT_EQ(table.LookupField("Category")->AsString(), "border");
    table.GoLast();
    EXPECT_EQ(table.LookupField("FileName")->AsString(), "TREE.JPG"); // stored in upper case
    QFile tree(dir.filePath("pictures/TREE.JPG"));
    ASSERT_TRUE(tree.open(QIODevice::ReadOnly));
    EXPECT_EQ(qobject_cast<data::TBlobField*>(table.LookupField("GraphicFile"))->Value(),
              tree.readAll())
        << "the file's bytes, unchanged";

    data::TTable categories;
    categories.SetTableName(QDir(options.OutDir).filePath("category.db"));
    categories.Open();
    EXPECT_EQ(categories.CountRecords(), 3);
    EXPECT_EQ(categories.LookupField("Category Name")->AsString(), "All");

    QString listing;
    QTextStream out(&listing);
    ASSERT_TRUE(catalog::ListCatalogue(options.OutDir, out));
    EXPECT_TRUE(listing.contains("Categories (3): All, Border, Misc"));
    EXPECT_TRUE(listing.contains("ROSE.PNG"));
    EXPECT_TRUE(listing.contains("3 records"));
}

TEST_F(BuilderTest, BadLinesAreRefusedByNumberAndNothingIsWritten) {
    const QStringList errors = Build("file,description,category\n"
                                     "STAR.BMP,Star,border\n"
                                     "VERYLONGNAME.BMP,Too long a name,border\n"
                                     "ROSE.PNG," +
                                     QByteArray(256, 'x') +
                                     ",border\n"
                                     "TREE.JPG,Tree,garden\n"
                                     "MOON.BMP,Missing picture,misc\n"
                                     "star.bmp,Again,misc\n"
                                     "ONLY.BMP,two fields\n"
                                     "ROSE.PNG,\"open quote,misc\n");
    EXPECT_EQ(errors,
              QStringList({
                  "line 8: expected 3 fields (file, description, category), found 2",
                  "line 9: a quoted field is not closed",
                  "line 3: file name 'VERYLONGNAME.BMP' is longer than 12 characters",
                  "line 4: the description is longer than 255 characters (256)",
                  "line 5: unknown category 'garden'",
                  "line 7: 'star.bmp' is listed twice (first on line 2)",
                  "line 3: picture file 'VERYLONGNAME.BMP' not found in " + options.Pictures,
                  "line 6: picture file 'MOON.BMP' not found in " + options.Pictures,
              }));
    EXPECT_FALSE(QFile::exists(QDir(options.OutDir).filePath("vlmor.db")));

    // The first caption is the all-pictures tab, not a category of its own.
    EXPECT_EQ(Build("STAR.BMP,Star,all\n"), QStringList({"line 1: unknown category 'all'"}));
    EXPECT_EQ(Build("# nothing\n"), QStringList({"the manifest lists no picture"}));
}

// A long manifest is read as it goes, checked then written, and the build says how far it has
// come: every thousand entries and at the end of writing.
TEST_F(BuilderTest, ALongManifestIsBuiltWithItsProgressTold) {
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QByteArray manifest = "\xEF\xBB\xBF"
                          "file,description,category\r\n";
    constexpr int kEntries = 2100;
    for (int i = 0; i < kEntries; ++i) {
        const QString name = QStringLiteral("L%1.BMP").arg(i, 5, 10, QLatin1Char('0'));
        ASSERT_TRUE(picture.save(dir.filePath("pictures/" + name), "BMP"));
        manifest += name.toLatin1() + ",Picture number " + QByteArray::number(i) + ",misc\r\n";
    }
    std::vector<std::tuple<std::string, int, int>> told;
    options.Progress = [&told](const char* stage, int done, int total) {
        told.emplace_back(stage, done, total);
    };
    ASSERT_EQ(Build(manifest), QStringList());
    EXPECT_EQ(told,
              (std::vector<std::tuple<std::string, int, int>>{{"checked", 1000, -1},
                                                              {"checked", 2000, -1},
                                                              {"written", 1000, kEntries},
                                                              {"written", 2000, kEntries},
                                                              {"written", kEntries, kEntries}}));
    data::Session().AddPassword("tamsin###");
    data::TTable table;
    table.SetTableName(QDir(options.OutDir).filePath("vlmor.db"));
    table.Open();
    ASSERT_EQ(table.RecordCount(), kEntries);
    EXPECT_EQ(table.RecordText(kEntries - 1, *table.LookupField("Description")),
              QStringLiteral("Picture number 2099"));
}

TEST_F(BuilderTest, BadCategoriesAreRefused) {
    QStringList errors;
    catalog::ParseCategories("All\nBorder\nborder\nO'Neil\nAVeryLongCategory\n", errors);
    EXPECT_EQ(errors, QStringList({"categories line 3: caption 'border' is listed twice",
                                   "categories line 4: caption 'O'Neil' holds a quote, which no "
                                   "category filter accepts",
                                   "categories line 5: caption 'AVeryLongCategory' is longer than "
                                   "12 characters"}));
    errors.clear();
    catalog::ParseCategories("\n", errors);
    EXPECT_EQ(errors, QStringList({"the categories file lists no category"}));
}

TEST_F(BuilderTest, PicturesAreJudgedByTheirContentNotTheirNames) {
    Write(dir.filePath("pictures/NOTE.BMP"), "Dear reader, this is no picture at all.");
    Write(dir.filePath("pictures/EMPTY.PNG"), "");
    Write(dir.filePath("pictures/CREDIT.TXT"), "belisqor/sm|Thanks/eo|");
    QFile::copy(dir.filePath("pictures/rose.png"), dir.filePath("pictures/ROSE.JPG"));
    const QStringList errors = Build("file,description,category\n"
                                     "NOTE.BMP,Note,misc\n"
                                     "EMPTY.PNG,No picture,misc\n"
                                     "CREDIT.TXT,Credit text,misc\n"
                                     "ROSE.JPG,A PNG under another name,misc\n");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("line 2: 'NOTE.BMP' is no picture the catalogue can show"))
        << errors[0].toStdString();
    EXPECT_FALSE(QFile::exists(QDir(options.OutDir).filePath("vlmor.db")));
    EXPECT_EQ(Build("file,description,category\n"
                    "EMPTY.PNG,No picture,misc\n"
                    "CREDIT.TXT,Credit text,misc\n"
                    "ROSE.JPG,A PNG under another name,misc\n"),
              QStringList());
}
