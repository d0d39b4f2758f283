// SPDX-License-Identifier: MIT
// The one table of format facts: the lists the program has always shown come out of it
// exactly, every engine format has its row, and file names find their format by any spelling.
#include "engines/crde2000/format_rows.h"
#include "imaging/engine/shared_tables.h"
#include "imaging/formats/format_table.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace imaging;

TEST(FormatTable, TheFixedListsComeOutExactlyAsTheyHaveAlwaysStood) {
    // The main Save As keeps its four first, then every other format the engine writes.
    const QString mainSave = FilterEntries(FormatList::MainSave);
    EXPECT_TRUE(mainSave.startsWith(
        "Tagged Image    (TIF) |*.TIF|Jpeg    (JPG) |*.JPG|PaintShop Pro    (PCX) |*.PCX|"
        "Windows Bitmap    (BMP) |*.BMP|"))
        << mainSave.toStdString();
    EXPECT_EQ(mainSave.count(u'|'), 15) << "eight entries";
    EXPECT_EQ(WritableExtensions(), "TIF, JPG, PCX, BMP, PNG, GIF, TGA, EPS");
    EXPECT_EQ(
        FilterEntries(FormatList::ToolbarSave),
        "Windows Bitmap    (BMP) |*.BMP|Jpeg    (JPG) |*.JPG|Portable Graphics    (PNG) |*.PNG|"
        "Tagged Image    (TIF) |*.TIF|PaintShop Pro    (PCX) |*.PCX|Compuserve Gif    (GIF) "
        "|*.GIF|Targe Image    (TGA) |*.TGA|Encapsulated PostScript    (EPS) |*.EPS|"
        "Scrolling Message    (SCM) |*.SCM|Credit Message    (CMS) |*.CMS");
    QTemporaryDir dir; // a profile without sound or video types
    qputenv("VLMOR_WINDOWS_DIR", dir.path().toLocal8Bit());
    EXPECT_EQ(MediaFilter(),
              "All Supported Media Formats|*.BMP;*.CMS;*.GIF;*.JPG;*.PCX;*.PNG;*.SCM;*.TIF;*.PCD;"
              "*.EMF;*.WMF;*.TGA;|Windows Bitmap    (BMP) |*.BMP|Credit Message    (CMS) |*.CMS|"
              "Compuserve Gif    (GIF) |*.GIF|Jpeg    (JPG) |*.JPG|PaintShop Pro    (PCX) |*.PCX|"
              "Portable Graphics    (PNG) |*.PNG|Scrolling Message    (SCM) |*.SCM|Tagged Image    "
              "(TIF) |*.TIF|Kodak Photo CD    (PCD) |*.PCD|Windows Metafile    (WMF) |*.WMF|"
              "Enhanced Metafile    (EMF) |*.EMF|Targe Image    (TGA) |*.TGA");
    qunsetenv("VLMOR_WINDOWS_DIR");
    const QStringList loadable = LoadableExtensions();
    EXPECT_EQ(QSet<QString>(loadable.begin(), loadable.end()),
              (QSet<QString>{".WMF", ".JPG", ".JPEG", ".GIF", ".TIF", ".TIFF", ".PCX", ".TGA",
                             ".EPS", ".BMP", ".PNG", ".PCD", ".DXF", ".SCM", ".CMS"}));
    EXPECT_EQ(loadable.size(), 15) << "each spelling once";
}

TEST(FormatTable, EveryEngineFormatHasOneRowThatAgreesWithTheEngine) {
    struct EngineRow {
        EngineFormat format;
        const char* info;
        bool writes;
    };
    // What the engine's list says of each format: its information name and whether it names
    // a file writer ("-" is none).
#define VLMOR_ENGINE_ROW(Stem, info, fuzz, fuzzMax, fuzzMode, streamReader, readKind, readLabel,   \
                         fileReader, fileWriter, streamWriter, writeKind, writeLabel, depthRule)   \
    EngineRow{EngineFormat::Stem, info, #fileWriter[0] != '-'},
    const EngineRow engine[] = {VLMOR_FORMATS(VLMOR_ENGINE_ROW)};
#undef VLMOR_ENGINE_ROW
    for (const EngineRow& e : engine) {
        SCOPED_TRACE(e.info);
        int rows = 0;
        for (const PictureFormat& f : PictureFormats())
            rows += f.Engine == e.format;
        EXPECT_EQ(rows, 1);
        const PictureFormat& row = FormatOf(e.format);
        EXPECT_STREQ(row.InfoName, e.info);
        EXPECT_EQ(row.EngineWrites, e.writes);
        EXPECT_EQ(FormatOfInfoName(QString::fromLatin1(e.info).toLower()), &row);
    }
    // Rows without the engine are the program's own kinds, and write nothing through it.
    QSet<QString> names;
    for (const PictureFormat& f : PictureFormats()) {
        names << QString::fromLatin1(f.LoadName);
        if (!f.Engine) {
            EXPECT_NE(f.Kind, PictureKind::Picture) << f.LoadName;
            EXPECT_FALSE(f.EngineWrites) << f.LoadName;
        }
        EXPECT_TRUE(f.Label && !Spellings(f).isEmpty()) << f.LoadName;
    }
    EXPECT_EQ(names.size(), qsizetype(PictureFormats().size())) << "load names are unique";
}

TEST(FormatTable, FileNamesFindTheirFormatByAnySpellingAndOnlyAsciiCase) {
    EXPECT_EQ(FormatOfFile("a/b/pic.jpeg")->Engine, EngineFormat::Jpeg);
    EXPECT_EQ(FormatOfFile("PIC.TiFf")->Engine, EngineFormat::Tiff);
    EXPECT_EQ(FormatOfFile("x.Jpg")->Engine, EngineFormat::Jpeg);
    EXPECT_EQ(FormatOfFile("balloon.wmf")->Kind, PictureKind::Metafile);
    EXPECT_EQ(FormatOfFile("no-extension"), nullptr);
    EXPECT_EQ(FormatOfFile("dotted.dir/file"), nullptr);
    EXPECT_EQ(FormatOfFile("trailing."), nullptr);
    EXPECT_EQ(FormatOfFile("x.xyz"), nullptr);
    // The main extension alone: what the toolbar and the main window dispatch on.
    EXPECT_EQ(FormatOfMainExtension("a.tif")->Engine, EngineFormat::Tiff);
    EXPECT_EQ(FormatOfMainExtension("a.tiff"), nullptr);
    EXPECT_EQ(FormatOfMainExtension("a.jpeg"), nullptr);
    // Only a to z change case: a dotless i does not become an I.
    EXPECT_EQ(FormatOfMainExtension(QString::fromUtf8("a.t\u0131f")), nullptr);
    EXPECT_EQ(MainExtension(FormatOf(EngineFormat::Jpeg)), "jpg");
    EXPECT_EQ(FormatOfLoadName("RTF")->Kind, PictureKind::Note);
    EXPECT_EQ(FormatOfLoadName("-1"), nullptr);
}

// The names through which a format is known to the engine, its binding and the build: its
// exports and its backend's functions.
struct FormatNames {
    QString stem;
    QStringList exports;
};

TEST(FormatTable, ANewFormatTouchesItsRowAndItsBackendFilesOnly) {
#define VLMOR_NAMES_ROW(Stem, info, fuzz, fuzzMax, fuzzMode, streamReader, readKind, readLabel,    \
                        fileReader, fileWriter, streamWriter, writeKind, writeLabel, depthRule)    \
    FormatNames{#Stem, {#streamReader, #fileReader, #fileWriter, #streamWriter}},
    const FormatNames formats[] = {VLMOR_FORMATS(VLMOR_NAMES_ROW)};
#undef VLMOR_NAMES_ROW
    // Every source file of the program, the engines and the build (the tests, the benchmarks
    // and the sample makers use formats by choice, not because a format needs them).
    const QDir root(QStringLiteral(VLMOR_SOURCE_DIR));
    QMap<QString, QString> sources;
    for (const char* folder : {"engines", "imaging", "controls", "app", "platform", "tools/image",
                               "tools/catalog", "fuzz"}) {
        QDirIterator it(root.filePath(QLatin1String(folder)),
                        {"*.h", "*.c", "*.cpp", "CMakeLists.txt"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            sources.insert(root.relativeFilePath(file.fileName()),
                           QString::fromUtf8(file.readAll()));
        }
    }
    ASSERT_GT(sources.size(), 100);
    auto placesOf = [&](const QString& name) {
        const QRegularExpression word(QStringLiteral("\\b%1\\b").arg(name));
        QStringList places;
        for (auto it = sources.cbegin(); it != sources.cend(); ++it)
            if (it.value().contains(word))
                places << it.key();
        return places;
    };
    for (const FormatNames& f : formats) {
        SCOPED_TRACE(f.stem.toStdString());
        for (const QString& name : f.exports) {
            if (name == u'-')
                continue;
            EXPECT_EQ(placesOf(name), QStringList{"engines/crde2000/format_list.h"})
                << name.toStdString();
        }
        const QString backend = QStringLiteral("engines/crde2000/") + f.stem.toLower();
        const QStringList own{backend + ".cpp", backend + ".h"};
        // The decoder the generated codec table calls. (A format's own features may name its
        // other functions elsewhere, as the TIFF page exports do; a new format needs none.)
        QStringList places = placesOf("Read" + f.stem);
        places.sort();
        QStringList expected = own;
        expected.sort();
        EXPECT_EQ(places, expected);
        // The build finds the backend files from the row.
        const QRegularExpression file(QStringLiteral("\\b%1\\.(cpp|h)\\b").arg(f.stem.toLower()));
        for (auto it = sources.cbegin(); it != sources.cend(); ++it) {
            const bool build = it.key().endsWith("CMakeLists.txt");
            EXPECT_FALSE(build && it.value().contains(file)) << it.key().toStdString();
        }
    }
}
