// SPDX-License-Identifier: MIT
#include "imaging/dib/dib.h"
#include "imaging/dib/dib_convert.h"
#include "imaging/engine/annotation_calls.h"
#include "imaging/engine/engine_calls.h"
#include "imaging/error_invalid.h"
#include "platform/core/profile.h"
#include "tests/support/fake_dialogs.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace imaging;

namespace {

class Binding : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(settings.isValid());
        qputenv("VLMOR_WINDOWS_DIR", settings.path().toLocal8Bit());
        Engine().Start();
    }
    void TearDown() override {
        Engine().End();
        qunsetenv("VLMOR_WINDOWS_DIR");
    }
    static EngineBinding& Engine() { return EngineBinding::Instance(); }

    QString Write(const QString& name, const QByteArray& bytes) {
        const QString path = settings.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    static QByteArray Encoded(const QImage& image, const char* format) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, format);
        return bytes;
    }

    QTemporaryDir settings;
    FakeDialogs dialogs;
};

QImage Picture() {
    QImage image(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            image.setPixel(x, y, qRgb(x * 6, y * 8, (x + y) * 3));
    return image;
}

TEST_F(Binding, StartsWithTheVersionAndTheScannerSettingsEntry) {
    EXPECT_DOUBLE_EQ(Engine().LibraryVersion(), 5.1);
    EXPECT_FALSE(Engine().EngineLoaded());
    EXPECT_EQ(Engine().LastEngineError().Code, 0);
    EXPECT_EQ(platform::GetPrivateProfileString("Imaging Twain", "App Name", "none", 256,
                                                settings.filePath("iltwain.ini")),
              "imaging_tests");
}

TEST_F(Binding, ReadsAStreamIntoABitmapAndReportsItsInformation) {
    const QByteArray png = Encoded(Picture(), "PNG");
    StreamFacts info;
    ASSERT_TRUE(StreamInfo(png.constData(), std::int32_t(png.size()), &info));
    EXPECT_EQ(info.Format, "PNG");
    EXPECT_EQ(info.Width, 40);
    EXPECT_EQ(info.Height, 30);
    EXPECT_EQ(info.Compression, "DEFLATE");
    EXPECT_TRUE(Engine().EngineLoaded());

    TBitmap bitmap;
    ASSERT_TRUE(ReadStreamToBitmap(EngineFormat::Png, png.constData(), std::int32_t(png.size()), 24,
                                   false, 0, bitmap, nullptr, nullptr));
    EXPECT_EQ(Engine().ProgressText(), "Reading PNG Stream");
    ASSERT_TRUE(bitmap.HandleAllocated());
    EXPECT_EQ(bitmap.Handle().convertToFormat(QImage::Format_RGB32), Picture());
    // The bitmap shows the DIB's pixels where they lie and frees the block with itself.
    EXPECT_EQ(GlobalBlockCount(), 1u);
    bitmap.SetHandle(QImage());
    EXPECT_EQ(GlobalBlockCount(), 0u);
    // A picture at another depth is converted and its DIB freed at once.
    ASSERT_TRUE(ReadStreamToBitmap(EngineFormat::Png, png.constData(), std::int32_t(png.size()), 8,
                                   false, 0, bitmap, nullptr, nullptr));
    EXPECT_EQ(bitmap.Handle().format(), QImage::Format_Indexed8);
    EXPECT_EQ(GlobalBlockCount(), 0u);
}

TEST_F(Binding, AFailedJpegReadUnloadsTheEngineAndKeepsTheCodeAndText) {
    const QByteArray notJpeg("\xff\xd8\xff garbage that is no picture at all");
    HGLOBAL dib = nullptr;
    EXPECT_FALSE(ReadStreamToDib(EngineFormat::Jpeg, notJpeg.constData(),
                                 std::int32_t(notJpeg.size()), 24, false, 0, &dib, nullptr,
                                 nullptr));
    EXPECT_EQ(dib, nullptr);
    EXPECT_FALSE(Engine().EngineLoaded());
    EXPECT_LT(Engine().LastEngineError().Code, 0);
    EXPECT_FALSE(Engine().LastEngineError().Text.isEmpty());
    // The next call loads it again; a failed PNG read leaves it loaded.
    EXPECT_FALSE(ReadStreamToDib(EngineFormat::Png, notJpeg.constData(),
                                 std::int32_t(notJpeg.size()), 24, false, 0, &dib, nullptr,
                                 nullptr));
    EXPECT_TRUE(Engine().EngineLoaded());
    EXPECT_EQ(Engine().LastEngineError().Text, "The data is not a picture of this format");
}

TEST_F(Binding, FileReadersNeedThirtyBytesAndRaiseForMissingFiles) {
    const QByteArray bmp = Encoded(Picture(), "BMP");
    HGLOBAL dib = nullptr;
    Engine().FreeEngine();
    EXPECT_FALSE(ReadFileToDib(EngineFormat::Bmp, Write("short.bmp", bmp.left(29)), 0, false, 0,
                               &dib, nullptr, nullptr));
    EXPECT_FALSE(Engine().EngineLoaded()) << "the engine was called";
    EXPECT_THROW(ReadFileToDib(EngineFormat::Bmp, settings.filePath("missing.bmp"), 0, false, 0,
                               &dib, nullptr, nullptr),
                 platform::Exception);
    ASSERT_TRUE(ReadFileToDib(EngineFormat::Bmp, Write("full.bmp", bmp), 0, false, 0, &dib, nullptr,
                              nullptr));
    EXPECT_EQ(Engine().ProgressText(), "Reading " + settings.filePath("full.bmp"));
    FreeDib(dib);
}

TEST_F(Binding, WritersRefuseEmptyBitmapsAndWriteEveryFormat) {
    TBitmap empty;
    EXPECT_THROW(
        {
            try {
                WriteBitmapFile(EngineFormat::Bmp, settings.filePath("x.bmp"), {}, empty, nullptr,
                                nullptr);
            } catch (const ErrorInvalid& e) {
                EXPECT_EQ(e.Message(), "Input image is empty");
                throw;
            }
        },
        ErrorInvalid);
    TBitmap bitmap;
    bitmap.SetHandle(Picture());
    const EngineFormat formats[] = {EngineFormat::Bmp, EngineFormat::Png, EngineFormat::Tga,
                                    EngineFormat::Pcx, EngineFormat::Gif, EngineFormat::Tiff,
                                    EngineFormat::Eps, EngineFormat::Jpeg};
    for (EngineFormat f : formats) {
        const QString file = settings.filePath(QString("out%1").arg(int(f)));
        WriteOptions options;
        options.Depth = f == EngineFormat::Gif ? 8 : 24;
        ASSERT_TRUE(WriteBitmapFile(f, file, options, bitmap, nullptr, nullptr)) << int(f);
        EXPECT_EQ(Engine().ProgressText(), "Writing " + file);
        StreamFacts info;
        ASSERT_TRUE(FileInfo(file, &info)) << int(f);
        EXPECT_EQ(info.Width, 40) << info.Format.toStdString();
    }
    std::vector<char> buffer(40 * 30 * 4);
    std::int32_t size = std::int32_t(buffer.size());
    ASSERT_TRUE(
        WriteBitmapStream(EngineFormat::Bmp, buffer.data(), &size, {}, bitmap, nullptr, nullptr));
    EXPECT_EQ(Engine().ProgressText(), "Writing BMP Stream");
    EXPECT_EQ(size, 54 + 120 * 30);
    size = 10; // too small: the engine's failure
    EXPECT_FALSE(
        WriteBitmapStream(EngineFormat::Png, buffer.data(), &size, {}, bitmap, nullptr, nullptr));
    EXPECT_EQ(Engine().LastEngineError().Text, "The output buffer is too small");
    EXPECT_EQ(GlobalBlockCount(), 0u);
}

TEST_F(Binding, TiffPagesAppendAndReportTheirCompressionByName) {
    TBitmap bitmap;
    bitmap.SetHandle(Picture());
    const QString file = settings.filePath("pages.tif");
    WriteOptions options;
    options.Compression = 32773;
    ASSERT_TRUE(WriteBitmapFile(EngineFormat::Tiff, file, options, bitmap, nullptr, nullptr));
    options.Append = true;
    options.Compression = 5;
    ASSERT_TRUE(WriteBitmapFile(EngineFormat::Tiff, file, options, bitmap, nullptr, nullptr));
    TiffPageInfo page;
    ASSERT_TRUE(GetInfo(file, 1, &page));
    EXPECT_EQ(page.PageCount, 2);
    EXPECT_EQ(page.Compression, "LZW");
    ASSERT_TRUE(GetInfo(file, 0, &page));
    EXPECT_EQ(page.Compression, "PACKBITS");
    QString width;
    ASSERT_TRUE(ReadTag(file, 0, 256, &width));
    EXPECT_EQ(width, "40");
    ASSERT_TRUE(DeletePage(file, 0));
    ASSERT_TRUE(GetInfo(file, 0, &page));
    EXPECT_EQ(page.PageCount, 1);
    EXPECT_EQ(Engine().ProgressText(), "Reading " + file);
    // A page beyond the last: the last page's facts and the page count, so a caller can
    // lower its page number; getinfo stores no error.
    Engine().SetLastEngineError(0, QString());
    ASSERT_TRUE(GetInfo(file, 5, &page));
    EXPECT_EQ(page.PageCount, 1);
    EXPECT_EQ(Engine().LastEngineError().Code, 0);
}

TEST_F(Binding, MissingLibrariesExportsAndWrongNames) {
    void* entry = nullptr;
    Engine().FreeEngine();
    try {
        Engine().LoadEngineFunction("CRDE9999.DLL", "streaminfo", &entry);
        FAIL() << "no exception";
    } catch (const ErrorInvalid& e) {
        EXPECT_EQ(
            e.Message(),
            "Can't load CRDE9999.DLL. Make sure its located in the application's searchpath.");
    }
    EXPECT_FALSE(Engine().LoadEngineFunction("CRDE2000.DLL", "nosuchexport", &entry));
    EXPECT_TRUE(Engine().EngineLoaded());
    Engine().FreeEngine();
    EXPECT_FALSE(Engine().LoadEngineFunction("ISP2000.DLL", "ReduceDib", &entry));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, "Wrong dll Name in the engine binding");
    EXPECT_FALSE(Engine().EngineLoaded());
}

TEST_F(Binding, ScannerCallsAreRefusedWhileOneRuns) {
    Engine().SetScannerBusy(true);
    EXPECT_FALSE(SelectSource(nullptr));
    HGLOBAL dib = nullptr;
    EXPECT_FALSE(AcquireDibImage(nullptr, 24, false, &dib, nullptr, nullptr));
    EXPECT_TRUE(Engine().ScannerBusy()) << "a refused call leaves the running one's flag";
    EXPECT_FALSE(Engine().ClaimScanner()) << "a claim is refused while the flag is set";
    Engine().SetScannerBusy(false);
    EXPECT_TRUE(Engine().ClaimScanner());
    EXPECT_FALSE(Engine().ClaimScanner()) << "one claim at a time";
    Engine().SetScannerBusy(false);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Binding, DrawingsComeWithTheirPalette) {
    const QByteArray dxf(
        "0\nSECTION\n2\nENTITIES\n0\nLINE\n62\n1\n10\n0\n20\n0\n11\n100\n21\n50\n"
        "0\nCIRCLE\n10\n50\n20\n25\n40\n20\n0\nTEXT\n10\n5\n20\n5\n40\n10\n1\nAB\n0\n"
        "ENDSEC\n0\nEOF\n");
    std::int16_t w = 0, h = 0, bits = 0;
    ASSERT_TRUE(GetDxfInfoStream(dxf.constData(), std::int32_t(dxf.size()), &w, &h, &bits));
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 323);
    TBitmap bitmap;
    ASSERT_TRUE(ReadDxfStream(dxf.constData(), std::int32_t(dxf.size()), 8, false, bitmap, nullptr,
                              nullptr));
    EXPECT_EQ(Engine().ProgressText(), "Reading DXF Blob");
    ASSERT_TRUE(bitmap.Palette());
    EXPECT_EQ(bitmap.Palette()->Entries.size(), 256u);
    const QImage image = bitmap.Handle().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(2, image.height() - 3), qRgb(255, 0, 0)); // the red line's start
    EXPECT_EQ(image.pixel(320, 60), qRgb(255, 255, 255));
    EXPECT_EQ(GlobalBlockCount(), 0u);
}

} // namespace

namespace {

// The binding's names come from the same format list the engine builds its exports from; a
// row whose kinds and names disagree would leave the binding calling an export that is not
// there.
TEST_F(Binding, EveryExportOfTheFormatListIsInTheModule) {
    QStringList missing;
    int looked = 0;
    auto check = [&](const char* name) {
        if (name[0] == '-')
            return;
        ++looked;
        void* entry = nullptr;
        if (!Engine().LoadEngineFunction(QString::fromLatin1(EngineBinding::LibraryName), name,
                                         &entry) ||
            !entry)
            missing << QString::fromLatin1(name);
    };
#define VLMOR_CHECK_ROW(Stem, info, fuzz, fuzzMax, fuzzMode, streamReader, readKind, readLabel,    \
                        fileReader, fileWriter, streamWriter, writeKind, writeLabel, depthRule)    \
    check(#streamReader);                                                                          \
    check(#fileReader);                                                                            \
    check(#fileWriter);                                                                            \
    check(#streamWriter);
    VLMOR_FORMATS(VLMOR_CHECK_ROW)
#undef VLMOR_CHECK_ROW
    EXPECT_TRUE(missing.isEmpty()) << missing.join(u' ').toStdString();
    EXPECT_EQ(looked, 35) << "every reader and writer the list names was looked up";
}

} // namespace

namespace {

// Progress reaches the caller; a caller that stops gets a failure that says so and no DIB.
TEST_F(Binding, ProgressIsReportedAndStoppingCancelsTheRead) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(qRgb(10, 200, 30));
    const QByteArray png = Encoded(image, "PNG");
    struct Seen {
        std::vector<int> steps;
        bool stop = false;
    } seen;
    auto cb = [](std::int16_t progress, void* user) -> std::int16_t {
        auto* s = static_cast<Seen*>(user);
        s->steps.push_back(progress);
        return s->stop ? 0 : 1;
    };
    HGLOBAL dib = nullptr;
    ASSERT_TRUE(ReadStreamToDib(EngineFormat::Png, png.constData(), std::int32_t(png.size()), 24,
                                false, 0, &dib, &seen, cb));
    EXPECT_EQ(seen.steps, (std::vector<int>{0, 100}));
    FreeDib(dib);

    const std::size_t blocks = GlobalBlockCount();
    seen = Seen{{}, true};
    dib = nullptr;
    EXPECT_FALSE(ReadStreamToDib(EngineFormat::Png, png.constData(), std::int32_t(png.size()), 24,
                                 false, 0, &dib, &seen, cb));
    EXPECT_EQ(seen.steps, (std::vector<int>{0}));
    EXPECT_EQ(dib, nullptr);
    EXPECT_EQ(GlobalBlockCount(), blocks);
    EXPECT_EQ(Engine().LastEngineError().Code, -16);
    EXPECT_EQ(Engine().LastEngineError().Text, "Cancelled");
}

} // namespace
