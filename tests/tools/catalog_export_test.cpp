// SPDX-License-Identifier: MIT
// vlmor-catalog export run as a user runs it, on the bundled sample catalogue: a tab exported
// and read back file by file, the search, existing files refused, kept or replaced, and the
// requests it turns down.
#include "tests/engines/picture_tools.h"
#include "tools/samples/collection.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome {
    int status = -1;
    QString out, err;
};

Outcome Export(const QStringList& args) {
    QProcess tool;
    tool.start(QStringLiteral(VLMOR_CATALOG_TOOL),
               QStringList{"export", QStringLiteral(VLMOR_PROGRAM_DIR)} + args);
    if (!tool.waitForFinished(120000))
        return {};
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput()),
            QString::fromUtf8(tool.readAllStandardError())};
}

// The samples of a category, and how many of them are pictures to write.
struct Expected {
    QStringList pictures, vectors;
    int messages = 0, empty = 0;
};
Expected Samples(const std::function<bool(const samples::Sample&)>& wanted) {
    using F = samples::SampleFormat;
    Expected e;
    for (const samples::Sample& s : samples::Collection()) {
        if (!wanted(s))
            continue;
        if (s.Format == F::Scm || s.Format == F::Cms || s.Format == F::Rtf)
            ++e.messages;
        else if (s.Format == F::NoPicture)
            ++e.empty;
        else if (s.Format == F::Wmf || s.Format == F::Emf)
            e.vectors << s.Stem;
        else
            e.pictures << s.Stem;
    }
    return e;
}

TEST(CatalogExport, ATabGoesIntoAFolderAndIsReadBackFileByFile) {
    QTemporaryDir out;
    const Expected misc = Samples([](auto& s) { return s.Category == "misc"; });
    ASSERT_GE(misc.vectors.size(), 2);
    ASSERT_GE(misc.messages, 1);
    const Outcome done = Export({out.path(), "--format", "png", "--category", "Misc"});
    ASSERT_EQ(done.status, 0) << done.err.toStdString();
    EXPECT_TRUE(done.out.contains(
        QStringLiteral("exported %1 pictures").arg(misc.pictures.size() + misc.vectors.size())))
        << done.out.toStdString();
    EXPECT_TRUE(
        done.out.contains(QStringLiteral("%1 credit messages or rich text, %2 without a picture")
                              .arg(misc.messages)
                              .arg(misc.empty)))
        << done.out.toStdString();
    EXPECT_FALSE(done.err.contains('\r')) << "no progress line without a terminal";
    QStringList files = QDir(out.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(files.size(), misc.pictures.size() + misc.vectors.size())
        << files.join(' ').toStdString();
    for (const QString& stem : misc.pictures + misc.vectors) {
        const QString path = QDir(out.path()).filePath(stem + ".png");
        const QStringList dwh = picture_tools::Identify(path).split(' ');
        ASSERT_EQ(dwh.size(), 3) << "ImageMagick reads " << path.toStdString();
        EXPECT_GT(dwh[1].toInt(), 0);
    }

    // Again: the files exist, so it refuses, lists them and leaves them as they are.
    const QString first = QDir(out.path()).filePath(misc.vectors.front() + ".png");
    ASSERT_TRUE(picture_tools::WriteAll(first, "mine"));
    const Outcome refused = Export({out.path(), "--format", "png", "--category", "misc"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains(first)) << refused.err.toStdString();
    EXPECT_EQ(picture_tools::ReadAll(first), "mine");

    const Outcome kept =
        Export({out.path(), "--format", "png", "--category", "misc", "--skip-existing"});
    EXPECT_EQ(kept.status, 0) << kept.err.toStdString();
    EXPECT_TRUE(kept.out.contains(QStringLiteral("exported 0 pictures"))) << kept.out.toStdString();
    EXPECT_EQ(picture_tools::ReadAll(first), "mine");
    const Outcome replaced =
        Export({out.path(), "--format", "png", "--category", "misc", "--replace"});
    EXPECT_EQ(replaced.status, 0) << replaced.err.toStdString();
    EXPECT_EQ(picture_tools::Identify(first).split(' ').size(), 3);
}

TEST(CatalogExport, TheSearchNarrowsAsTheMainWindowsDoesAndAsStoredKeepsTheBytes) {
    QTemporaryDir out;
    // Within the description, in any case.
    const Expected found =
        Samples([](auto& s) { return s.Description.contains("balloon", Qt::CaseInsensitive); });
    ASSERT_FALSE(found.vectors.isEmpty());
    const Outcome done = Export({out.path(), "--format", "stored", "--search", "BaLLoon"});
    ASSERT_EQ(done.status, 0) << done.err.toStdString();
    QStringList files = QDir(out.path()).entryList(QDir::Files);
    EXPECT_EQ(files.size(), found.pictures.size() + found.vectors.size());
    for (const samples::Sample& s : samples::Collection()) {
        if (!found.vectors.contains(s.Stem))
            continue;
        const QString name = s.Stem + u'.' + samples::Extension(s.Format).toLower();
        EXPECT_EQ(picture_tools::ReadAll(QDir(out.path()).filePath(name)), samples::Encode(s))
            << s.Stem.toStdString();
    }
}

TEST(CatalogExport, RequestsItCannotDoAreTurnedDownWithTheReason) {
    QTemporaryDir out;
    Outcome bad = Export({out.path(), "--format", "xyz"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.err.contains("TIF, JPG, PCX, BMP")) << bad.err.toStdString();
    bad = Export({out.path(), "--format", "stored", "--fit", "10x10"});
    EXPECT_EQ(bad.status, 2);
    bad = Export({out.path(), "--format", "png", "--fit", "ten"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.err.contains("WIDTHxHEIGHT"));
    bad = Export({out.path(), "--format", "png", "--category", "Nowhere"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.err.contains("Border")) << "it names the categories there are";
    bad = Export({out.path(), "--format", "png", "--replace", "--skip-existing"});
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::Files).isEmpty());
}

} // namespace
