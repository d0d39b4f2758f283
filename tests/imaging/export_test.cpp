// SPDX-License-Identifier: MIT
// Pictures exported into a folder on worker threads: every kind of the collection read back by
// ImageMagick, as stored, fitted, named without clashes, existing files refused, kept or
// replaced, and a stop that leaves nothing half written.
#include "imaging/engine/engine_binding.h"
#include "imaging/export/batch_export.h"
#include "imaging/export/export_naming.h"
#include "tests/engines/picture_tools.h"
#include "tests/support/fake_dialogs.h"
#include "tools/samples/collection.h"

#include <QDir>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace imaging;

namespace {

struct Record {
    QString FileName;
    QByteArray Blob;
};

class Export : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(settings.isValid());
        ASSERT_TRUE(out.isValid());
        qputenv("VLMOR_WINDOWS_DIR", settings.path().toLocal8Bit());
        EngineBinding::Instance().Start();
    }
    void TearDown() override {
        EngineBinding::Instance().End();
        qunsetenv("VLMOR_WINDOWS_DIR");
    }

    static const std::vector<Record>& Collection() {
        static const std::vector<Record> records = [] {
            std::vector<Record> r;
            for (const samples::Sample& s : samples::Collection())
                r.push_back({s.Stem + u'.' + samples::Extension(s.Format), samples::Encode(s)});
            return r;
        }();
        return records;
    }
    static ExportSource Source(const std::vector<Record>& records) {
        return {int(records.size()), [&records](int i) { return records[size_t(i)].FileName; },
                [&records](int i) { return records[size_t(i)].Blob; }};
    }
    ExportSummary Run(const std::vector<Record>& records, ExportOptions options,
                      ExistingFiles existing = ExistingFiles::Refuse,
                      const ExportProgress& progress = {}) {
        BatchExport batch(workers, options, out.path());
        EXPECT_TRUE(batch.Plan(Source(records)));
        return batch.Run(Source(records), existing, progress);
    }
    QString File(const QString& name) const { return QDir(out.path()).filePath(name); }
    QStringList Folder() const { return QDir(out.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir settings, out;
    FakeDialogs dialogs;
    Decoder workers{2};
};

ExportOptions InFormat(const char* loadName) {
    ExportOptions options;
    options.Format = FormatOfLoadName(loadName);
    return options;
}

DecodeResult Decoded(const QByteArray& blob) {
    DecodeRequest request;
    request.Blob = StoredPicture(blob);
    return Decoder::DecodeNow(request);
}

TEST(ExportNames, FollowTheRecordsAndNeverClashInAnyCase) {
    EXPECT_EQ(ExportNaming::Stem(QStringLiteral("ROSE.BMP"), 1), QStringLiteral("ROSE"));
    EXPECT_EQ(ExportNaming::Stem(QStringLiteral("../x\\y.wmf"), 1), QStringLiteral(".._x_y"));
    EXPECT_EQ(ExportNaming::Stem(QStringLiteral("A\tB.PCX"), 1), QStringLiteral("A_B"));
    EXPECT_EQ(ExportNaming::Stem(QStringLiteral("  "), 7), QStringLiteral("record-7"));
    EXPECT_EQ(ExportNaming::Stem(QStringLiteral(".."), 3), QStringLiteral("record-3"));
    ExportNaming naming;
    EXPECT_EQ(naming.Take(QStringLiteral("ROSE"), QStringLiteral("PNG")), "ROSE.png");
    EXPECT_EQ(naming.Take(QStringLiteral("rose"), QStringLiteral("png")), "rose-2.png");
    EXPECT_EQ(naming.Take(QStringLiteral("ROSE"), QStringLiteral("png")), "ROSE-3.png");
    EXPECT_EQ(naming.Take(QStringLiteral("ROSE"), QStringLiteral("svg")), "ROSE.svg");
    EXPECT_EQ(naming.Take(QStringLiteral("ROSE-2"), QStringLiteral("png")), "ROSE-2-2.png");
}

TEST_F(Export, EveryKindOfTheCollectionToPngIsReadBackFileByFile) {
    int messages = 0, empty = 0;
    for (const samples::Sample& s : samples::Collection()) {
        messages += s.Format == samples::SampleFormat::Scm ||
                    s.Format == samples::SampleFormat::Cms ||
                    s.Format == samples::SampleFormat::Rtf;
        empty += s.Format == samples::SampleFormat::NoPicture;
    }
    const ExportSummary summary = Run(Collection(), InFormat("PNG"));
    EXPECT_TRUE(summary.Failures.isEmpty()) << summary.Failures.join('\n').toStdString();
    EXPECT_EQ(summary.Messages, messages);
    EXPECT_EQ(summary.Empty, empty);
    EXPECT_EQ(summary.Written, int(Collection().size()) - messages - empty);
    EXPECT_EQ(Folder().size(), summary.Written) << "no side file is left";

    int pictures = 0, vectors = 0;
    for (const Record& r : Collection()) {
        const DecodeResult want = Decoded(r.Blob);
        const QString stem = ExportNaming::Stem(r.FileName, 0);
        const std::string what = r.FileName.toStdString();
        if (want.What == DecodeResult::Kind::Picture) {
            ++pictures;
            const QImage got = picture_tools::ImageMagickPixels(File(stem + ".png"));
            const QImage decoded = want.Bitmap.Handle().convertToFormat(QImage::Format_RGB32);
            const picture_tools::Difference d = picture_tools::Compare(got, decoded);
            EXPECT_FALSE(d.sizeDiffers) << what;
            EXPECT_EQ(d.pixels, 0) << what << ": the decoded pixels, written without loss";
        } else if (want.What == DecodeResult::Kind::Drawing) {
            ++vectors;
            QSvgRenderer svg(File(stem + ".svg"));
            EXPECT_TRUE(svg.isValid()) << what;
            EXPECT_EQ(svg.defaultSize(), want.Drawing.Size()) << what;
        } else {
            EXPECT_FALSE(QFileInfo::exists(File(stem + ".png"))) << what << " is skipped";
        }
    }
    EXPECT_GE(pictures, 20);
    EXPECT_GE(vectors, 4);
}

TEST_F(Export, AsStoredGivesThePictureBytesAndAFitMakesPicturesSmallerOnly) {
    std::vector<Record> some;
    for (const Record& r : Collection())
        if (r.FileName.startsWith(QStringLiteral("HEADED1")) ||
            r.FileName.endsWith(QStringLiteral(".JPG")) ||
            r.FileName.endsWith(QStringLiteral(".WMF")) ||
            r.FileName.endsWith(QStringLiteral(".EMF")))
            some.push_back(r);
    ASSERT_GE(some.size(), 4u);
    ExportSummary stored = Run(some, {});
    EXPECT_EQ(stored.Written, int(some.size()));
    for (const Record& r : some) {
        const QString ext = r.FileName.startsWith(QStringLiteral("HEADED1"))
                                ? QStringLiteral("bmp")
                                : QFileInfo(r.FileName).suffix().toLower();
        const QByteArray bytes =
            picture_tools::ReadAll(File(ExportNaming::Stem(r.FileName, 0) + u'.' + ext));
        EXPECT_EQ(bytes, StoredPicture(r.Blob)) << r.FileName.toStdString();
    }
    const auto headed = std::find_if(some.begin(), some.end(), [](const Record& r) {
        return r.FileName.startsWith(QStringLiteral("HEADED1"));
    });
    ASSERT_NE(headed, some.end());
    EXPECT_EQ(StoredPicture(headed->Blob).size() + 8, headed->Blob.size())
        << "the headed picture lost its field header";

    // Into 40 x 40 as BMP with the vectors as PNG: every file within it, drawings filling it.
    QTemporaryDir fitted;
    ExportOptions bmp = InFormat("BMP");
    bmp.Vectors = VectorExport::Png;
    bmp.Fit = QSize(40, 40);
    BatchExport batch(workers, bmp, fitted.path());
    ASSERT_TRUE(batch.Plan(Source(Collection())));
    const ExportSummary summary = batch.Run(Source(Collection()), ExistingFiles::Refuse);
    EXPECT_TRUE(summary.Failures.isEmpty()) << summary.Failures.join('\n').toStdString();
    int filled = 0;
    for (const QString& path : batch.Files()) {
        const QStringList dwh = picture_tools::Identify(path).split(u' ');
        ASSERT_EQ(dwh.size(), 3) << path.toStdString();
        const int w = dwh[1].toInt(), h = dwh[2].toInt();
        EXPECT_TRUE(w <= 40 && h <= 40 && w > 0 && h > 0) << path.toStdString();
        if (path.endsWith(QStringLiteral(".png")))
            filled += (w == 40 || h == 40);
    }
    EXPECT_GE(filled, 4) << "vector pictures are drawn to fill the size";
}

TEST_F(Export, ExistingFilesAreRefusedKeptOrReplacedAndAStopLeavesNoHalfFile) {
    const QByteArray bmp = [] {
        for (const Record& r : Collection())
            if (r.FileName.endsWith(QStringLiteral(".BMP")) && StoredPicture(r.Blob) == r.Blob)
                return r.Blob;
        return QByteArray();
    }();
    ASSERT_FALSE(bmp.isEmpty());
    const std::vector<Record> roses{{"ROSE.BMP", bmp}, {"rose.bmp", bmp}, {"ROSE.PCX", bmp}};
    ASSERT_TRUE(picture_tools::WriteAll(File("ROSE.png"), "old"));
    const ExportOptions png = InFormat("PNG");

    ExportSummary refused = Run(roses, png);
    EXPECT_EQ(refused.Refused, QStringList{File("ROSE.png")});
    EXPECT_EQ(refused.Written, 0);
    EXPECT_EQ(Folder(), QStringList{"ROSE.png"}) << "nothing written";

    ExportSummary kept = Run(roses, png, ExistingFiles::Skip);
    EXPECT_EQ(kept.KeptExisting, 1);
    EXPECT_EQ(kept.Written, 2);
    EXPECT_EQ(picture_tools::ReadAll(File("ROSE.png")), "old");
    QStringList names = Folder();
    names.sort();
    EXPECT_EQ(names, (QStringList{"ROSE-3.png", "ROSE.png", "rose-2.png"}));

    ExportSummary replaced = Run(roses, png, ExistingFiles::Replace);
    EXPECT_EQ(replaced.Written, 3);
    EXPECT_EQ(picture_tools::Identify(File("ROSE.png")).split(u' ').size(), 3);

    // A stop after a few: what was written is whole, the rest never started.
    QTemporaryDir many;
    std::vector<Record> lots(60, Record{"P.BMP", bmp});
    BatchExport batch(workers, png, many.path());
    ASSERT_TRUE(batch.Plan(Source(lots)));
    const ExportSummary stopped =
        batch.Run(Source(lots), ExistingFiles::Refuse, [](int done, int) { return done < 3; });
    EXPECT_TRUE(stopped.Cancelled);
    EXPECT_GE(stopped.Written, 3);
    EXPECT_LT(stopped.Written, 60);
    const QStringList left = QDir(many.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left.size(), stopped.Written) << left.join(' ').toStdString();
    for (const QString& name : left)
        EXPECT_EQ(picture_tools::Identify(QDir(many.path()).filePath(name)).split(u' ').size(), 3);
}

} // namespace
