// SPDX-License-Identifier: MIT
#include "engines/crde2000/bmp.h"
#include "engines/shared/codes.h"
#include "tests/engines/picture_tools.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace picture_tools;

namespace {

std::int16_t Read(const QByteArray& bytes, HGLOBAL* dib) {
    return crde::ReadBmp(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                         static_cast<std::size_t>(bytes.size()), dib);
}

} // namespace

TEST(BmpReader, DecodesWhatImageMagickWritesToThePixelsItReads) {
    QTemporaryDir dir;
    QImage source(23, 9, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(200, 30, 40), qRgb(0, 0, 255), qRgb(250, 250, 250), qRgb(0, 0, 0),
                            qRgb(40, 160, 60)};
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            source.setPixel(x, y, colours[(x / 3 + y) % 5]);
    ASSERT_TRUE(source.save(dir.filePath("src.ppm")));
    const struct {
        const char* name;
        QStringList options;
        int bits;
    } cases[] = {
        {"rle8", {"-compress", "RLE", "-type", "Palette", "-colors", "200"}, 8},
        {"p4", {"-type", "Palette"}, 4},
        {"b1", {"-monochrome"}, 1},
        {"b24", {"-type", "TrueColor"}, 24},
        {"b16", {"-define", "bmp:subtype=RGB565"}, 24},
        {"b32", {"-type", "TrueColorAlpha", "-define", "bmp:subtype=ARGB8888"}, 24},
    };
    for (const auto& c : cases) {
        const QString file = dir.filePath(QString(c.name) + ".bmp");
        QStringList args{dir.filePath("src.ppm")};
        args << c.options << (c.bits == 24 && QString(c.name) != "b24" ? "BMP:" : "BMP3:") + file;
        ASSERT_TRUE(Convert(args)) << c.name;
        // Raw samples: ImageMagick's own decoding, with no colour management on the way out.
        const QString raw = dir.filePath(QString(c.name) + ".rgb");
        ASSERT_TRUE(Convert({file, "-depth", "8", "RGB:" + raw})) << c.name;
        const QByteArray samples = ReadAll(raw);
        ASSERT_EQ(samples.size(), source.width() * source.height() * 3) << c.name;
        const QImage reference =
            QImage(reinterpret_cast<const uchar*>(samples.constData()), source.width(),
                   source.height(), source.width() * 3, QImage::Format_RGB888)
                .convertToFormat(QImage::Format_RGB32);
        HGLOBAL dib = nullptr;
        ASSERT_EQ(Read(ReadAll(file), &dib), crde::kOk) << c.name;
        const auto* header = static_cast<const std::uint8_t*>(GlobalLock(dib));
        EXPECT_EQ(header[14], c.bits) << c.name;
        GlobalUnlock(dib);
        const QImage ours = DibImage(dib);
        ASSERT_EQ(ours.size(), reference.size()) << c.name;
        int different = 0;
        for (int y = 0; y < ours.height(); ++y)
            for (int x = 0; x < ours.width(); ++x)
                different += (ours.pixel(x, y) & 0xffffff) != (reference.pixel(x, y) & 0xffffff);
        EXPECT_EQ(different, 0) << c.name;
        GlobalFree(dib);
    }
}

TEST(BmpReader, RunLengthFourBitsAndTopDownRows) {
    // A 4 x 2 RLE4 picture: a run of 4 pixels alternating 1 and 2, end of line, an absolute
    // run 3,4,5 then end of picture.
    QByteArray bmp("BM", 2);
    bmp += QByteArray(8, '\0');
    const int offset = 14 + 40 + 16 * 4;
    bmp += char(offset & 0xff);
    bmp += QByteArray(3, '\0');
    QByteArray info(40, '\0');
    info[0] = 40;
    info[4] = 4;
    info[8] = 2;
    info[12] = 1;
    info[14] = 4;
    info[16] = 2; // RLE4
    bmp += info;
    for (int i = 0; i < 16; ++i)
        bmp += QByteArray::fromRawData("\x00\x00\x00\x00", 4)
                   .replace(0, 1, QByteArray(1, char(i * 16)));
    bmp += QByteArray("\x04\x12\x00\x00\x00\x03\x34\x50\x00\x01", 10);
    HGLOBAL dib = nullptr;
    ASSERT_EQ(Read(bmp, &dib), crde::kOk);
    const auto* d = static_cast<const std::uint8_t*>(GlobalLock(dib));
    const std::uint8_t* rows = d + 40 + 64;
    EXPECT_EQ(rows[0], 0x12); // bottom row: 1 2 1 2
    EXPECT_EQ(rows[1], 0x12);
    EXPECT_EQ(rows[4], 0x34); // next row: 3 4 5 0
    EXPECT_EQ(rows[5], 0x50);
    GlobalUnlock(dib);
    GlobalFree(dib);
}

TEST(BmpReader, HostileHeadersFailWithACodeAndAllocateNothing) {
    const std::size_t before = GlobalBlockCount();
    QImage small(3, 3, QImage::Format_RGB32);
    small.fill(Qt::red);
    QByteArray good;
    {
        QTemporaryDir dir;
        small.save(dir.filePath("s.bmp"), "BMP");
        good = ReadAll(dir.filePath("s.bmp"));
    }
    HGLOBAL dib = nullptr;
    ASSERT_EQ(Read(good, &dib), crde::kOk);
    GlobalFree(dib);

    EXPECT_EQ(Read("GIF89a", &dib), crde::kErrNotThisFormat);
    for (qsizetype cut : {qsizetype(2), qsizetype(20), qsizetype(60), good.size() - 1})
        EXPECT_LT(Read(good.left(cut), &dib), 0) << cut;
    QByteArray huge = good;
    huge[18] = huge[19] = huge[20] = '\xff';
    huge[21] = 0x7f; // 2 147 483 647 pixels wide
    huge[22] = huge[23] = huge[24] = '\xff';
    huge[25] = 0x7f;
    EXPECT_EQ(Read(huge, &dib), crde::kErrTooLarge);
    QByteArray bits = good;
    bits[28] = 7;
    EXPECT_EQ(Read(bits, &dib), crde::kErrUnsupported);
    EXPECT_EQ(dib, nullptr);
    EXPECT_EQ(GlobalBlockCount(), before);
    EXPECT_STREQ(crde::CodeText(crde::kErrTooLarge), "The picture is too large");
}
