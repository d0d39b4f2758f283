// SPDX-License-Identifier: MIT
// What the image view makes of a blob before decoding it: every kind of content through the
// detection with the real engine, the graphic-field header and the depth rules.
#include "imaging/decoding/blob_detection.h"
#include "imaging/engine/engine_binding.h"
#include "tests/engines/picture_tools.h"
#include "tests/support/fake_dialogs.h"
#include "tests/support/qt_printers.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using imaging::BlobInfo;
using imaging::DetectBlob;

namespace {

class BlobDetection : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("VLMOR_WINDOWS_DIR", dir.path().toLocal8Bit());
        imaging::EngineBinding::Instance().Start();
    }
    void TearDown() override {
        imaging::EngineBinding::Instance().End();
        qunsetenv("VLMOR_WINDOWS_DIR");
    }
    static QByteArray Encoded(const char* format, QSize size = {7, 5}) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(qRgb(200, 30, 90));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, format);
        return bytes;
    }
    static QByteArray WithHeader(const QByteArray& data, std::uint32_t length) {
        QByteArray b(8, '\0');
        b[0] = 1;
        b[3] = 1; // type 0x0100
        for (int i = 0; i < 4; ++i)
            b[4 + i] = char(length >> (8 * i));
        return b + data;
    }
    QTemporaryDir dir;
    FakeDialogs dialogs;
    BlobInfo info;
};

TEST_F(BlobDetection, PicturesAreNamedByTheEngineAndMappedToTheirLoaders) {
    const struct {
        const char* qtFormat;
        const char* format;
        const char* load;
    } kinds[] = {{"PNG", "PNG", "PNG"}, {"JPEG", "JPEG", "JPG"}, {"BMP", "BMP", "BMP"}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.format);
        const QByteArray blob = Encoded(k.qtFormat);
        const imaging::Detection d = DetectBlob(blob, 0, info);
        EXPECT_FALSE(d.engineError);
        EXPECT_EQ(d.loadName, k.load);
        EXPECT_EQ(info.BlobFormat, k.format);
        EXPECT_EQ(info.BlobWidth, 7);
        EXPECT_EQ(info.BlobHeight, 5);
        EXPECT_EQ(info.BlobSize, blob.size());
    }
}

TEST_F(BlobDetection, TheGraphicFieldHeaderCountsOnlyWithItsExactLength) {
    const QByteArray bmp = Encoded("BMP");
    const QByteArray headed = WithHeader(bmp, std::uint32_t(bmp.size()));
    EXPECT_EQ(imaging::GraphicHeaderOffset(headed), 8);
    imaging::Detection d = DetectBlob(headed, 0, info);
    EXPECT_EQ(d.loadName, "BMP");
    EXPECT_EQ(info.BlobWidth, 7);
    EXPECT_EQ(info.BlobSize, headed.size()) << "the size is the blob's";

    // Another length: the header bytes go to the engine as they are, which knows no such file.
    const QByteArray wrong = WithHeader(bmp, std::uint32_t(bmp.size() + 1));
    EXPECT_EQ(imaging::GraphicHeaderOffset(wrong), 0);
    d = DetectBlob(wrong, 0, info);
    EXPECT_TRUE(d.engineError);
    EXPECT_EQ(d.loadName, "-1");
    EXPECT_EQ(info.BlobFormat, "Empty");
}

TEST_F(BlobDetection, TextKindsAreFoundInTheFirst45Bytes) {
    QByteArray scm("\0\0\0\0\0\0\0\0\0\0belisqor/sm|hello/eo|", 30);
    imaging::Detection d = DetectBlob(scm, 0, info);
    EXPECT_EQ(d.loadName, "SCM") << "zero bytes before the marker count as blanks";
    EXPECT_EQ(info.BlobCompression, "MSG");
    EXPECT_EQ(info.BlobWidth, -1);
    EXPECT_EQ(info.BlobSize, scm.size());

    EXPECT_EQ(DetectBlob("qorbelis\n1\n", 0, info).loadName, "CMS");
    EXPECT_EQ(DetectBlob("{\\rtf1\\ansi Hello}", 0, info).loadName, "RTF");
    EXPECT_EQ(info.BlobFormat, "RTF");

    // "SECTION" early in another kind of file makes it a drawing.
    QByteArray png = Encoded("PNG");
    png.insert(16, "SECTION");
    d = DetectBlob(png, 0, info);
    EXPECT_EQ(d.loadName, "DXF");
    EXPECT_EQ(info.BlobCompression, "DXF");

    // A marker past the 45th byte is not seen.
    EXPECT_EQ(DetectBlob(QByteArray(45, ' ') + "belisqor", 0, info).loadName, "-1");
}

TEST_F(BlobDetection, MetafilesEmptyBlobsAndUnknownBytes) {
    // A placeable metafile header: 2 × 1 inches at 1440 units per inch.
    QByteArray wmf(22, '\0');
    auto put16 = [&](int at, int v) {
        wmf[at] = char(v);
        wmf[at + 1] = char(v >> 8);
    };
    put16(0, 0xCDD7);
    put16(2, 0x9AC6);
    put16(10, 2880);
    put16(12, 1440);
    put16(14, 1440);
    int sum = 0;
    for (int at = 0; at < 20; at += 2)
        sum ^= quint8(wmf[at]) | quint8(wmf[at + 1]) << 8;
    put16(20, sum);
    wmf += QByteArray(18, '\0');
    imaging::Detection d = DetectBlob(wmf, 0, info, 96);
    EXPECT_EQ(d.loadName, "WMF");
    EXPECT_EQ(info.BlobWidth, 192);
    EXPECT_EQ(info.BlobHeight, 96);
    EXPECT_EQ(info.BlobBitsPerPixel, -1);

    d = DetectBlob(QByteArray(), 0, info);
    EXPECT_TRUE(d.engineError);
    EXPECT_EQ(imaging::EngineBinding::Instance().LastEngineError().Text,
              "Error allocation Temporary blob memory");

    d = DetectBlob("no picture of any kind here", 0, info);
    EXPECT_TRUE(d.engineError);
    EXPECT_EQ(d.loadName, "-1");
}

TEST_F(BlobDetection, ATiffGivesTheFactsOfTheAskedPageAndItsPageCount) {
    const QString path = dir.filePath("pages.tif");
    ASSERT_TRUE(picture_tools::Convert({"-size", "6x4", "xc:red", "-size", "9x3", "xc:blue",
                                        "-size", "2x2", "xc:lime", "-compress", "LZW", path}));
    const QByteArray tiff = picture_tools::ReadAll(path);
    imaging::Detection d = DetectBlob(tiff, 1, info);
    EXPECT_EQ(d.loadName, "TIF");
    EXPECT_EQ(info.BlobFormat, "TIFF");
    EXPECT_EQ(info.TiffPageCount, 3);
    EXPECT_EQ(info.BlobWidth, 9);
    EXPECT_EQ(info.BlobHeight, 3);
    EXPECT_EQ(info.BlobCompression, "LZW");
}

TEST(BlobRules, ReadDepthsAndTheMonochromeRule) {
    EXPECT_EQ(imaging::ReadDepth(imaging::lColorVga, 24), 0);
    EXPECT_EQ(imaging::ReadDepth(imaging::lMonoChrome, 24), 1);
    EXPECT_EQ(imaging::ReadDepth(imaging::lColor16, 24), 4);
    EXPECT_EQ(imaging::ReadDepth(imaging::lColor256, 24), 8);
    EXPECT_EQ(imaging::ReadDepth(imaging::lColorTrue, 8), 24);
    EXPECT_EQ(imaging::ReadDepth(imaging::lAutoMatic, 4), 4);
    EXPECT_EQ(imaging::ReadDepth(imaging::lAutoMatic, 15), 8);
    EXPECT_EQ(imaging::ReadDepth(imaging::lAutoMatic, 16), 24);
    EXPECT_TRUE(imaging::DecodesMonochrome("BMP", 1));
    EXPECT_FALSE(imaging::DecodesMonochrome("BMP", 4));
    EXPECT_TRUE(imaging::DecodesMonochrome("PNG", 2));
    EXPECT_FALSE(imaging::DecodesMonochrome("GIF", 3)) << "GIF: below 3 bits only";
    EXPECT_TRUE(imaging::DecodesMonochrome("GIF", 2));
}

TEST(BlobRules, ARecordChangeClearsTheInfoButKeepsThePageCount) {
    BlobInfo info;
    info.BlobFormat = "TIFF";
    info.BlobWidth = 5;
    info.BlobSize = 9;
    info.TiffPageCount = 3;
    info.Clear();
    EXPECT_EQ(info.BlobFormat, "");
    EXPECT_EQ(info.BlobWidth, 0);
    EXPECT_EQ(info.BlobSize, 0);
    EXPECT_EQ(info.TiffPageCount, 3);
}

} // namespace
