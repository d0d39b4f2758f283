// SPDX-License-Identifier: MIT
#include "imaging/engine/shared_tables.h"
#include "platform/core/profile.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace imaging;

namespace {

TEST(SharedTables, TiffCompressionCodesAndNames) {
    EXPECT_EQ(TiffCompressionCode(sNONE), 1);
    EXPECT_EQ(TiffCompressionCode(sFAXCCITT4), 4);
    EXPECT_EQ(TiffCompressionCode(sPACKBITS), 32773);
    EXPECT_EQ(TiffCompressionName(static_cast<std::int16_t>(std::uint16_t(32773))), "PACKBITS");
    EXPECT_EQ(TiffCompressionName(2), "CCITT3");
    EXPECT_EQ(TiffCompressionName(6), "UNKNOWN");
}

TEST(SharedTables, WriteDepthsByExtensionAndResolution) {
    QImage canvas(1, 1, QImage::Format_RGB32); // a 32-bit device shows 24 bits
    EXPECT_EQ(DisplayBitDepth(&canvas), 24);
    QImage mono(1, 1, QImage::Format_Mono);
    EXPECT_EQ(DisplayBitDepth(&mono), 4);
    QImage eight(1, 1, QImage::Format_Indexed8);
    EXPECT_EQ(DisplayBitDepth(&eight), 8);
    EXPECT_EQ(WriteBitsForFormat("jpg", sColor16, &canvas), 24);
    EXPECT_EQ(WriteBitsForFormat("jpg", sJpegGray, &canvas), 1);
    EXPECT_EQ(WriteBitsForFormat("JPG", sJpegGray, &canvas), 8)
        << "upper case takes the general row";
    EXPECT_EQ(WriteBitsForFormat("tga", sColorTrue, &canvas), 24);
    EXPECT_EQ(WriteBitsForFormat("tga", sAutoMatic, &mono), 8);
    EXPECT_EQ(WriteBitsForFormat("dic", sColorTrue, &canvas), 8);
    EXPECT_EQ(WriteBitsForFormat("gif", sColorTrue, &canvas), 8);
    EXPECT_EQ(WriteBitsForFormat("gif", sAutoMatic, &canvas), 8);
    EXPECT_EQ(WriteBitsForFormat("gif", sColorVga, &canvas), 0);
    EXPECT_EQ(WriteBitsForFormat("bmp", sAutoMatic, &eight), 8);
    EXPECT_EQ(WriteBitsForFormat("bmp", sColorTrue, &canvas), 24);
}

TEST(SharedTables, MediaFilterListsOnlyKnownSoundAndVideoTypes) {
    QTemporaryDir dir;
    qputenv("VLMOR_WINDOWS_DIR", dir.path().toLocal8Bit());
    const QString plain = MediaFilter();
    EXPECT_TRUE(
        plain.startsWith("All Supported Media Formats|*.BMP;*.CMS;*.GIF;*.JPG;*.PCX;*.PNG;"
                         "*.SCM;*.TIF;*.PCD;*.EMF;*.WMF;*.TGA;|Windows Bitmap    (BMP) |*.BMP"));
    EXPECT_TRUE(plain.endsWith("|Targe Image    (TGA) |*.TGA"));
    EXPECT_FALSE(plain.contains("WAV"));
    ASSERT_TRUE(
        platform::WritePrivateProfileString("mci extensions", "WAV", "waveaudio", "win.ini"));
    ASSERT_TRUE(platform::WritePrivateProfileString("mci extensions", "AVI", "none", "win.ini"));
    const QString withSound = MediaFilter();
    EXPECT_TRUE(withSound.contains("*.TGA;*.WAV;|"));
    EXPECT_TRUE(withSound.endsWith("|Targe Image    (TGA) |*.TGA|Wave Sound    (WAV) |*.WAV"));
    EXPECT_FALSE(withSound.contains("AVI"));
    qunsetenv("VLMOR_WINDOWS_DIR");
}

TEST(SharedTables, TiffTagNamesAndWhichAreReadOnly) {
    bool readOnly = false;
    EXPECT_EQ(TiffTagName(256, &readOnly), "IMAGEWIDTH");
    EXPECT_TRUE(readOnly);
    EXPECT_EQ(TiffTagName(270, &readOnly), "IMAGEDESCRIPTION");
    EXPECT_FALSE(readOnly);
    EXPECT_EQ(TiffTagName(33432, &readOnly), "COPYRIGHT");
    EXPECT_FALSE(readOnly);
    EXPECT_EQ(TiffTagName(327, &readOnly), "CLEANFAXDATA");
    EXPECT_TRUE(readOnly);
    EXPECT_EQ(TiffTagName(999, &readOnly), "Unknown");
    EXPECT_FALSE(readOnly);
}

TEST(SharedTables, MetafileStreamsAreRecognisedAndLeftAtTheirStart) {
    QByteArray emf(120, '\0');
    emf[0] = 1;
    emf[40] = ' ';
    emf[41] = 'E';
    emf[42] = 'M';
    emf[43] = 'F';
    QBuffer buffer(&emf);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(7);
    EXPECT_TRUE(IsMetafileStream(buffer));
    EXPECT_EQ(buffer.pos(), 0);
    QByteArray placeable(30, '\0');
    const quint16 key[] = {0xCDD7, 0x9AC6, 0, 0, 0, 100, 50, 1440, 0, 0};
    quint16 sum = 0;
    for (int i = 0; i < 10; ++i) {
        placeable[2 * i] = char(key[i] & 0xFF);
        placeable[2 * i + 1] = char(key[i] >> 8);
        sum ^= key[i];
    }
    placeable[20] = char(sum & 0xFF);
    placeable[21] = char(sum >> 8);
    QBuffer second(&placeable);
    second.open(QIODevice::ReadOnly);
    EXPECT_TRUE(IsMetafileStream(second));
    placeable[20] = char(placeable[20] ^ 1);
    QBuffer broken(&placeable);
    broken.open(QIODevice::ReadOnly);
    EXPECT_FALSE(IsMetafileStream(broken));
}

TEST(SharedTables, StretchModesFollowTheDepthAndBlitMode) {
    StretchMode mode;
    EXPECT_EQ(SetBlitStretchMode(8, sDark, &mode), StretchMode::ColourOnColour);
    EXPECT_EQ(SetBlitStretchMode(1, sLight, &mode), StretchMode::ColourOnColour);
    EXPECT_EQ(SetBlitStretchMode(1, sDark, &mode), StretchMode::BlackOnWhite);
    EXPECT_EQ(SetBlitStretchMode(1, sLightest, &mode), StretchMode::WhiteOnBlack);
    EXPECT_EQ(mode, StretchMode::WhiteOnBlack);
}

TEST(SharedTables, RotatedTextDrawsItsShadowFirstAndNothingWithoutAFont) {
    QImage surface(120, 60, QImage::Format_RGB32);
    surface.fill(Qt::white);
    QPainter painter(&surface);
    QFont font("DejaVu Sans");
    font.setPixelSize(24);
    font.setBold(true);
    DrawRotatedText(10, 10, 0, "HH", Qt::red, true, true, &painter, nullptr, Qt::black);
    painter.end();
    EXPECT_EQ(surface.pixel(20, 25), qRgb(255, 255, 255)) << "no font: nothing drawn";
    painter.begin(&surface);
    DrawRotatedText(10, 10, 0, "HH", Qt::red, true, true, &painter, &font, Qt::black);
    painter.end();
    int black = 0, red = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x) {
            black += surface.pixel(x, y) == qRgb(0, 0, 0);
            red += surface.pixel(x, y) == qRgb(255, 0, 0);
        }
    EXPECT_GT(black, 50);
    EXPECT_GT(red, 10) << "the shadow shows below and right of the text";
    EXPECT_TRUE(AnnotationIniPath().endsWith("/il_anno.ini"));
}

} // namespace
