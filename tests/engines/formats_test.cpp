// SPDX-License-Identifier: MIT
// Details of our own readers that the corpus does not reach: stream facts, DXF drawing,
// EPS and DXF drawn again larger, TGA origins, GIF screens.
#include "engines/crde2000/dxf.h"
#include "engines/crde2000/eps.h"
#include "engines/crde2000/gif.h"
#include "engines/crde2000/info.h"
#include "engines/crde2000/tga.h"
#include "engines/crde2000/tiff.h"
#include "engines/shared/codes.h"
#include "engines/shared/dib_block.h"
#include "tests/engines/picture_tools.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

using picture_tools::DibImage;

namespace {

crde::Bytes Text(const std::string& s) {
    return crde::Bytes(s.begin(), s.end());
}

TEST(DxfReader, DrawsEachEntityInItsColourOnWhite) {
    // A 100 x 100 square outline (closed polyline, colour 5), a filled solid (colour 1) in its
    // lower left quarter, an arc (colour 3) over the upper right quarter only.
    const crde::Bytes dxf =
        Text("0\nSECTION\n2\nENTITIES\n"
             "0\nLWPOLYLINE\n62\n5\n70\n1\n10\n0\n20\n0\n10\n100\n20\n0\n10\n100\n20\n100\n10\n0\n2"
             "0\n100\n"
             "0\nSOLID\n62\n1\n10\n10\n20\n10\n11\n40\n21\n10\n12\n10\n22\n40\n13\n40\n23\n40\n"
             "0\nARC\n62\n3\n10\n50\n20\n50\n40\n30\n50\n0\n51\n90\n0\nENDSEC\n0\nEOF\n");
    crde::DxfInfo info;
    ASSERT_EQ(crde::DxfSize(dxf.data(), dxf.size(), &info), crde::kOk);
    EXPECT_EQ(info.width, crde::kDxfLongSide);
    EXPECT_EQ(info.height, crde::kDxfLongSide);
    HGLOBAL dib = nullptr;
    ASSERT_EQ(crde::ReadDxf(dxf.data(), dxf.size(), &dib), crde::kOk);
    const QImage image = DibImage(dib);
    GlobalFree(dib);
    const double s = (crde::kDxfLongSide - 5) / 100.0;
    auto at = [&](double x, double y) {
        return image.pixel(int(x * s + 2.5), int((100 - y) * s + 2.5));
    };
    EXPECT_EQ(at(0, 50), qRgb(0, 0, 255)) << "the closing edge of the square";
    EXPECT_EQ(at(25, 25), qRgb(255, 0, 0)) << "inside the solid";
    EXPECT_EQ(at(60, 60), qRgb(255, 255, 255));
    EXPECT_EQ(at(50 + 30 * 0.7071, 50 + 30 * 0.7071), qRgb(0, 255, 0)) << "the arc at 45 degrees";
    EXPECT_EQ(at(50 - 30 * 0.7071, 50 + 30 * 0.7071), qRgb(255, 255, 255))
        << "no arc at 135 degrees";
}

// The dark rows of column `x` (or the dark columns of row `y`): a line's width in pixels.
int DarkRows(const QImage& image, int x) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        n += qGray(image.pixel(x, y)) < 128;
    return n;
}
int DarkColumns(const QImage& image, int y) {
    int n = 0;
    for (int x = 0; x < image.width(); ++x)
        n += qGray(image.pixel(x, y)) < 128;
    return n;
}

TEST(DxfReader, DrawnLargerKeepsItsLinesOnePixelWideOnAFinerGrid) {
    // A cross in a 100 x 100 box: lines at x = 1 and y = 99, in black.
    const crde::Bytes dxf = Text("0\nSECTION\n2\nENTITIES\n"
                                 "0\nLINE\n10\n0\n20\n99\n11\n100\n21\n99\n"
                                 "0\nLINE\n10\n1\n20\n0\n11\n1\n21\n100\n0\nENDSEC\n0\nEOF\n");
    HGLOBAL dib = nullptr;
    ASSERT_EQ(crde::ReadDxf(dxf.data(), dxf.size(), &dib), crde::kOk);
    const QImage natural = DibImage(dib);
    GlobalFree(dib);
    ASSERT_EQ(crde::ReadDxfAt(dxf.data(), dxf.size(), 4, &dib), crde::kOk);
    const QImage large = DibImage(dib);
    GlobalFree(dib);
    EXPECT_EQ(large.size(), natural.size() * 4) << "the natural grid made four times finer";
    EXPECT_EQ(DarkRows(natural, 300), 1);
    EXPECT_EQ(DarkRows(large, 1200), 1) << "not four rows, as the natural one scaled up";
    EXPECT_EQ(DarkColumns(large, 1200), 1);
    // Each line lies within the four-fold square of its natural pixel.
    int row = 0;
    while (qGray(natural.pixel(300, row)) >= 128)
        ++row;
    int fine = 0;
    while (qGray(large.pixel(1200, fine)) >= 128)
        ++fine;
    EXPECT_GE(fine, 4 * row);
    EXPECT_LT(fine, 4 * row + 4);

    EXPECT_EQ(crde::ReadDxfAt(dxf.data(), dxf.size(), 0.5, &dib), crde::kErrBadArgument);
    EXPECT_EQ(crde::ReadDxfAt(dxf.data(), dxf.size(), 17, &dib), crde::kErrBadArgument);
    EXPECT_EQ(dib, nullptr);
}

TEST(EpsReader, RenderedAgainAtFourTimesTheResolutionItsThinLineStaysThin) {
    // A quarter-point cross, as written by hand and as Ghostscript's eps2write wrote it again
    // (gs -dEPSCrop -sDEVICE=eps2write), with its own prolog and a high-resolution box.
    const std::string text = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100 50\n"
                             "0.25 setlinewidth 0 25.1 moveto 100 25.1 lineto stroke\n"
                             "50.1 0 moveto 50.1 50 lineto stroke showpage\n";
    QFile written(VLMOR_ENGINE_TEST_FILES "/thin-cross-eps2write.eps");
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray other = written.readAll();
    for (const crde::Bytes& eps : {Text(text), crde::Bytes(other.begin(), other.end())}) {
        HGLOBAL dib = nullptr;
        ASSERT_EQ(crde::ReadEps(eps.data(), eps.size(), &dib), crde::kOk);
        const QImage natural = DibImage(dib);
        GlobalFree(dib);
        ASSERT_EQ(crde::ReadEpsAt(eps.data(), eps.size(), 4, &dib), crde::kOk);
        const QImage large = DibImage(dib);
        GlobalFree(dib);
        EXPECT_EQ(natural.size(), QSize(100, 50));
        EXPECT_EQ(large.size(), QSize(400, 200));
        EXPECT_EQ(DarkRows(natural, 20), 1);
        EXPECT_LE(DarkRows(large, 80), 2) << "a quarter point is one or two pixels at 288 dpi";
        EXPECT_GE(DarkRows(large, 80), 1);
        EXPECT_LE(DarkColumns(large, 20), 2);
        EXPECT_EQ(crde::ReadEpsAt(eps.data(), eps.size(), 20, &dib), crde::kErrBadArgument);
    }
}

TEST(DxfReader, RefusesTextWithoutEntities) {
    const crde::Bytes empty = Text("0\nSECTION\n2\nHEADER\n0\nENDSEC\n0\nEOF\n");
    HGLOBAL dib = nullptr;
    EXPECT_EQ(crde::ReadDxf(empty.data(), empty.size(), &dib), crde::kErrBadHeader);
    EXPECT_EQ(crde::ReadDxf(empty.data(), 5, &dib), crde::kErrNotThisFormat);
}

TEST(TgaReader, FollowsTheOriginBits) {
    // 2 x 2 true colour, first stored pixel red; bit 5 set: rows top-down; bit 4: right to left.
    for (int descriptor : {0x00, 0x20, 0x30}) {
        crde::Bytes tga(18, 0);
        tga[2] = 2;
        tga[12] = 2;
        tga[14] = 2;
        tga[16] = 24;
        tga[17] = std::uint8_t(descriptor);
        const std::uint8_t pixels[] = {0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255};
        tga.insert(tga.end(), pixels, pixels + 12);
        HGLOBAL dib = nullptr;
        ASSERT_EQ(crde::ReadTga(tga.data(), tga.size(), &dib), crde::kOk);
        const QImage image = DibImage(dib);
        GlobalFree(dib);
        const QPoint first = descriptor == 0x00   ? QPoint(0, 1)
                             : descriptor == 0x20 ? QPoint(0, 0)
                                                  : QPoint(1, 0);
        EXPECT_EQ(image.pixel(first), qRgb(255, 0, 0)) << descriptor;
    }
}

TEST(StreamInfo, ReportsFormatSizeDepthAndCompressionFromHeaders) {
    const crde::Bytes gif = Text(std::string("GIF89a\x0a\x00\x05\x00\xf1\x00\x00", 13));
    crde::StreamFacts facts;
    ASSERT_EQ(crde::StreamInfo(gif.data(), gif.size(), &facts), crde::kOk);
    EXPECT_EQ(facts.format, "GIF");
    EXPECT_EQ(facts.width, 10);
    EXPECT_EQ(facts.height, 5);
    EXPECT_EQ(facts.bits, 2);
    const crde::Bytes eps = Text("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 10 20 110 70\n");
    ASSERT_EQ(crde::StreamInfo(eps.data(), eps.size(), &facts), crde::kOk);
    EXPECT_EQ(facts.format, "EPS");
    EXPECT_EQ(facts.width, 100);
    EXPECT_EQ(facts.height, 50);
    const crde::Bytes bmp =
        Text(std::string("BM", 2) + std::string(12, '\0') +
             std::string("\x28\0\0\0\x07\0\0\0\xfd\xff\xff\xff\x01\0\x08\0\x01\0\0\0", 20) +
             std::string(20, '\0'));
    ASSERT_EQ(crde::StreamInfo(bmp.data(), bmp.size(), &facts), crde::kOk);
    EXPECT_EQ(facts.height, 3) << "top-down height is reported positive";
    EXPECT_EQ(facts.compression, "RLE8");
    EXPECT_EQ(crde::StreamInfo(gif.data(), 0, &facts), crde::kErrBadArgument);
    const crde::Bytes junk = Text("neither picture nor drawing");
    EXPECT_EQ(crde::StreamInfo(junk.data(), junk.size(), &facts), crde::kErrNotThisFormat);
    EXPECT_EQ(crde::TiffCompressionText(32773), "PACKBITS");
}

TEST(GifReader, PlacesAFramedPictureOnItsScreen) {
    // Our writer's GIF, re-headed as a 6 x 4 screen with background index 1, the 2 x 1
    // picture at (3, 2).
    crde::NewDib two;
    ASSERT_EQ(two.Create(2, 1, 8, 4), crde::kOk);
    two.SetColour(0, 255, 0, 0);
    two.SetColour(1, 0, 0, 255);
    two.Row(0)[0] = 0;
    two.Row(0)[1] = 0;
    HGLOBAL handle = two.Release();
    crde::Bytes gif;
    {
        crde::DibView view(handle);
        ASSERT_EQ(crde::WriteGif(view, gif), crde::kOk);
    }
    GlobalFree(handle);
    gif[6] = 6;
    gif[8] = 4;
    gif[11] = 1;
    for (std::size_t i = 13; i + 9 < gif.size(); ++i)
        if (gif[i] == 0x2C) { // the image descriptor
            gif[i + 1] = 3;
            gif[i + 3] = 2;
            break;
        }
    HGLOBAL dib = nullptr;
    ASSERT_EQ(crde::ReadGif(gif.data(), gif.size(), &dib), crde::kOk);
    const QImage image = DibImage(dib);
    GlobalFree(dib);
    EXPECT_EQ(image.size(), QSize(6, 4));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(3, 2), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(4, 2), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(5, 2), qRgb(0, 0, 255));
}

} // namespace

TEST(DibRows, PaletteRowsComeOutAsTheirColoursAtEveryWidthAndDepth) {
    // Widths 1 to 19 at 1, 4 and 8 bits, indices cycling through more entries than the table
    // holds (those are black), with a guard byte after the row that must stay untouched.
    for (int bits : {1, 4, 8}) {
        const int entries = 1 << bits, used = bits == 1 ? 2 : entries - 3;
        for (std::int64_t w = 1; w < 20; ++w) {
            crde::NewDib dib;
            ASSERT_EQ(dib.Create(w, 2, bits, used), crde::kOk);
            for (int i = 0; i < used; ++i)
                dib.SetColour(i, std::uint8_t(10 + i), std::uint8_t(100 + i),
                              std::uint8_t(200 - i));
            auto index = [&](std::int64_t x, std::int64_t y) {
                return int((x * 7 + y * 3) % entries);
            };
            for (std::int64_t y = 0; y < 2; ++y)
                for (std::int64_t x = 0; x < w; ++x) {
                    std::uint8_t* row = dib.Row(y);
                    const unsigned v = unsigned(index(x, y));
                    if (bits == 8)
                        row[x] = std::uint8_t(v);
                    else if (bits == 4)
                        row[x >> 1] |= std::uint8_t((x & 1) ? v : v << 4);
                    else
                        row[x >> 3] |= std::uint8_t(v << (7 - (x & 7)));
                }
            HGLOBAL handle = dib.Release();
            {
                const engine::DibView view(handle);
                for (std::int64_t y = 0; y < 2; ++y) {
                    std::vector<std::uint8_t> out(std::size_t(3 * w + 1), 0xEE);
                    view.RowBgr(y, out.data());
                    for (std::int64_t x = 0; x < w; ++x) {
                        const int i = index(x, y);
                        const bool known = i < used;
                        SCOPED_TRACE(testing::Message()
                                     << bits << " bits, width " << w << ", x " << x);
                        EXPECT_EQ(out[3 * x], known ? 200 - i : 0);
                        EXPECT_EQ(out[3 * x + 1], known ? 100 + i : 0);
                        EXPECT_EQ(out[3 * x + 2], known ? 10 + i : 0);
                    }
                    EXPECT_EQ(out[std::size_t(3 * w)], 0xEE) << "nothing is written past the row";
                }
            }
            GlobalFree(handle);
        }
    }
}

TEST(TiffExtent, IsTheTiffsOwnLengthWhateverFollowsIt) {
    // Files ImageMagick writes (several strips, pages, either byte order) and ours, each
    // followed by bytes of no meaning; cut short, they are no whole TIFF.
    QTemporaryDir dir;
    const QString source = dir.filePath("src.ppm");
    ASSERT_TRUE(picture_tools::TestPicture(40, 300).save(source, "PPM"));
    std::vector<QByteArray> files;
    for (const QStringList& options :
         {QStringList{"-compress", "LZW"}, QStringList{"-endian", "MSB", "-compress", "None"},
          QStringList{"-compress", "Zip", "-define", "tiff:rows-per-strip=7"}}) {
        const QString out = dir.filePath(QStringLiteral("f%1.tif").arg(files.size()));
        ASSERT_TRUE(
            picture_tools::Convert(QStringList{source, source} + options + QStringList{out}));
        files.push_back(picture_tools::ReadAll(out));
    }
    {
        crde::NewDib dib;
        ASSERT_EQ(dib.Create(33, 17, 24, 0), crde::kOk);
        HGLOBAL handle = dib.Release();
        crde::Bytes ours;
        {
            const engine::DibView view(handle);
            ASSERT_EQ(crde::WriteTiff(view, 5, ours), crde::kOk);
            ASSERT_EQ(crde::WriteTiff(view, 1, ours), crde::kOk);
        }
        GlobalFree(handle);
        files.push_back(
            QByteArray(reinterpret_cast<const char*>(ours.data()), qsizetype(ours.size())));
    }
    for (const QByteArray& file : files) {
        SCOPED_TRACE(file.size());
        QByteArray padded = file + QByteArray(777, '\xA5');
        const auto* p = reinterpret_cast<const std::uint8_t*>(padded.constData());
        EXPECT_EQ(crde::TiffExtent(p, std::size_t(padded.size())), std::size_t(file.size()));
        EXPECT_EQ(crde::TiffExtent(p, std::size_t(file.size() - 1)), 0u) << "cut short";
    }
}
