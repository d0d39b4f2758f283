// SPDX-License-Identifier: MIT
// Our readers against files that ImageMagick, netpbm and Ghostscript write, and our writers
// against what those tools read back.
#include "engines/crde2000/bmp.h"
#include "engines/crde2000/eps.h"
#include "engines/crde2000/gif.h"
#include "engines/crde2000/info.h"
#include "engines/crde2000/jpeg.h"
#include "engines/crde2000/pcd.h"
#include "engines/crde2000/pcx.h"
#include "engines/crde2000/png.h"
#include "engines/crde2000/tga.h"
#include "engines/crde2000/tiff.h"
#include "engines/shared/codes.h"
#include "engines/shared/depth.h"
#include "tests/engines/picture_tools.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace picture_tools;

namespace {

// Decodes a file with the reader of its extension.
std::int16_t Decode(const QString& file, int page, HGLOBAL* dib) {
    const QByteArray bytes = ReadAll(file);
    const auto* d = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const auto n = static_cast<std::size_t>(bytes.size());
    const QString ext = QFileInfo(file).suffix();
    if (ext == "tga")
        return crde::ReadTga(d, n, dib);
    if (ext == "pcx")
        return crde::ReadPcx(d, n, dib);
    if (ext == "tif")
        return crde::ReadTiff(d, n, page, dib);
    if (ext == "gif")
        return crde::ReadGif(d, n, dib);
    if (ext == "png")
        return crde::ReadPng(d, n, dib);
    if (ext == "jpg")
        return crde::ReadJpeg(d, n, dib);
    if (ext == "eps")
        return crde::ReadEps(d, n, dib);
    if (ext == "pcd")
        return crde::ReadPcd(d, n, page, dib);
    return crde::ReadBmp(d, n, dib);
}

// A 24-bit DIB of the image, brought to `bits` by the engine's own depth change.
HGLOBAL MakeDib(const QImage& image, int bits) {
    crde::NewDib dib;
    EXPECT_EQ(dib.Create(image.width(), image.height(), 24, 0), crde::kOk);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            std::uint8_t* out = dib.Row(y) + 3 * x;
            out[0] = qBlue(p);
            out[1] = qGreen(p);
            out[2] = qRed(p);
        }
    HGLOBAL full = dib.Release();
    if (bits == 24)
        return full;
    HGLOBAL reduced = nullptr;
    {
        crde::DibView view(full);
        EXPECT_EQ(crde::ConvertDepth(view, bits, false, &reduced), crde::kOk);
    }
    GlobalFree(full);
    return reduced;
}

// An image of at most `colours` colours: stripes of a fixed set.
QImage FewColours(int colours) {
    static const QRgb set[] = {
        qRgb(0, 0, 0),       qRgb(255, 255, 255), qRgb(200, 30, 40), qRgb(20, 160, 60),
        qRgb(0, 0, 255),     qRgb(250, 220, 0),   qRgb(90, 0, 120),  qRgb(0, 128, 128),
        qRgb(128, 128, 128), qRgb(255, 128, 0),   qRgb(60, 60, 200), qRgb(10, 90, 10),
        qRgb(230, 180, 200), qRgb(100, 50, 0),    qRgb(0, 255, 255), qRgb(180, 0, 0)};
    QImage image(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, set[(x / 3 + y * 2) % colours]);
    return image;
}

class Corpus : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        source_ = Path("src.ppm");
        ASSERT_TRUE(TestPicture(48, 32).save(source_, "PPM"));
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }

    // Writes `name` from the source with ImageMagick and the options.
    QString Magick(const QString& name, QStringList options) {
        const QString out = Path(name);
        QStringList args{source_};
        args << options << out;
        EXPECT_TRUE(Convert(args)) << name.toStdString();
        return out;
    }

    // Our decoding of the file against the reference, within the tolerance.
    void ExpectDecodes(const QString& file, const QImage& reference, int largest = 0,
                       double mean = 0, int page = 0) {
        SCOPED_TRACE(QFileInfo(file).fileName().toStdString());
        ASSERT_FALSE(reference.isNull());
        HGLOBAL dib = nullptr;
        ASSERT_EQ(Decode(file, page, &dib), crde::kOk);
        const Difference d = Compare(DibImage(dib), reference);
        GlobalFree(dib);
        EXPECT_FALSE(d.sizeDiffers);
        EXPECT_LE(d.largest, largest);
        EXPECT_LE(d.mean, mean);
    }
    void ExpectDecodesLikeMagick(const QString& file, int largest = 0, double mean = 0) {
        ExpectDecodes(file, ImageMagickPixels(file), largest, mean);
    }

    QTemporaryDir dir_;
    QString source_;
};

TEST_F(Corpus, TargaPlainRunLengthMappedAndGrey) {
    ExpectDecodesLikeMagick(Magick("plain.tga", {}));
    ExpectDecodesLikeMagick(Magick("rle.tga", {"-compress", "RLE"}));
    ExpectDecodesLikeMagick(Magick("mapped.tga", {"-type", "Palette", "-colors", "100"}));
    ExpectDecodesLikeMagick(Magick("grey.tga", {"-type", "Grayscale"}));
    const QString netpbm = Path("netpbm.tga");
    ASSERT_TRUE(picture_tools::Run("ppmtotga", {"-rgb", "-norle", source_}, netpbm));
    ExpectDecodesLikeMagick(netpbm);
}

TEST_F(Corpus, PcxInOneFourEightAndTwentyFourBits) {
    const QString two = Magick("two.ppm", {"-monochrome", "-type", "TrueColor"});
    const QString sixteen = Magick("sixteen.ppm", {"-colors", "16"});
    const QString many = Magick("many.ppm", {"-colors", "200"});
    const struct {
        const char* name;
        QStringList args;
        QString input;
    } cases[] = {{"one.pcx", {}, two},
                 {"four.pcx", {"-planes", "4"}, sixteen},
                 {"eight.pcx", {"-8bit"}, many},
                 {"full.pcx", {"-24bit"}, source_}};
    for (const auto& c : cases) {
        const QString out = Path(c.name);
        ASSERT_TRUE(picture_tools::Run("ppmtopcx", QStringList(c.args) << c.input, out)) << c.name;
        ExpectDecodes(out, NetpbmPcxPixels(out));
    }
    ExpectDecodesLikeMagick(Magick("magick.pcx", {}));
}

TEST_F(Corpus, TiffInEachCompressionStripsTilesAndPages) {
    for (const char* compression : {"None", "LZW", "RLE", "Zip"})
        ExpectDecodesLikeMagick(
            Magick(QString("c_%1.tif").arg(compression), {"-compress", compression}));
    for (const char* fax : {"Group4", "Fax"})
        ExpectDecodesLikeMagick(
            Magick(QString("f_%1.tif").arg(fax), {"-monochrome", "-compress", fax}));
    ExpectDecodesLikeMagick(Magick("jpeg.tif", {"-compress", "JPEG", "-quality", "90"}), 40, 2.5);
    ExpectDecodesLikeMagick(Magick("palette.tif", {"-type", "Palette", "-colors", "60"}));
    ExpectDecodesLikeMagick(Magick("grey.tif", {"-type", "Grayscale", "-compress", "LZW"}));
    ExpectDecodesLikeMagick(Magick("deep.tif", {"-depth", "16"}), 1, 0.5);
    ExpectDecodesLikeMagick(
        Magick("strips.tif", {"-define", "tiff:rows-per-strip=5", "-compress", "LZW"}));
    // ImageMagick's uncompressed tiles have byte counts libtiff refuses; compressed ones are sound.
    ExpectDecodesLikeMagick(Magick(
        "tiles.tif", {"-depth", "8", "-compress", "LZW", "-define", "tiff:tile-geometry=16x16"}));
    const QString multi = Path("multi.tif");
    ASSERT_TRUE(
        Convert({source_, "(", source_, "-negate", ")", "(", source_, "-flip", ")", multi}));
    crde::TiffInfo info;
    const QByteArray bytes = ReadAll(multi);
    ASSERT_EQ(crde::TiffPageInfo(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                 std::size_t(bytes.size()), 2, &info),
              crde::kOk);
    EXPECT_EQ(info.pages, 3);
    for (int page = 0; page < 3; ++page)
        ExpectDecodes(multi, ImageMagickPixels(multi, QString("[%1]").arg(page)), 0, 0, page);
}

TEST_F(Corpus, GifInterlacedAndTransparent) {
    ExpectDecodesLikeMagick(Magick("plain.gif", {}));
    ExpectDecodesLikeMagick(Magick("interlaced.gif", {"-interlace", "GIF"}));
    ExpectDecodesLikeMagick(
        Magick("transparent.gif", {"-colors", "64", "-transparent", "rgb(0,0,255)"}));
    ExpectDecodesLikeMagick(Magick("two.gif", {"-monochrome"}));
}

TEST_F(Corpus, GifAnimationsShowTheFirstFrameAsImageMagickDoes) {
    // ImageMagick writes a graphic control before each frame; with no delay, or with one, the
    // picture is the first frame.
    const QString second = Path("second.ppm");
    ASSERT_TRUE(TestPicture(48, 32).mirrored(true, false).save(second, "PPM"));
    for (const char* delay : {"0", "20"}) {
        const QString file = Path(QStringLiteral("anim-%1.gif").arg(delay));
        ASSERT_TRUE(Convert({"-delay", delay, source_, second, "-loop", "0", file}));
        ExpectDecodes(file, ImageMagickPixels(file, QStringLiteral("[0]")));
    }
}

TEST_F(Corpus, HandLaidGifAndTgaDecodeAsGiflibAndNetpbmDecodeThem) {
    const QString files = QStringLiteral(VLMOR_ENGINE_TEST_FILES);
    // A deferred clear: ImageMagick reads it through giflib's rules.
    ExpectDecodesLikeMagick(files + "/deferred-clear.gif");
    // A grey run-length Targa whose last packet runs past the picture: netpbm cuts it at the
    // end, as we do, and gives the picture it was made from.
    const QString ppm = Path("netpbm.ppm");
    ASSERT_TRUE(picture_tools::Run("tgatoppm", {files + "/grey-run-past-end.tga"}, ppm));
    const QImage original(files + "/grey-run-past-end.pgm");
    ASSERT_FALSE(original.isNull());
    EXPECT_EQ(Compare(QImage(ppm).convertToFormat(QImage::Format_RGB32),
                      original.convertToFormat(QImage::Format_RGB32))
                  .pixels,
              0);
    ExpectDecodes(files + "/grey-run-past-end.tga", original.convertToFormat(QImage::Format_RGB32));
}

TEST_F(Corpus, PngPaletteGreySixteenBitsAndInterlaced) {
    ExpectDecodesLikeMagick(Magick("rgb.png", {}));
    const QString palette = Path("palette.png");
    ASSERT_TRUE(Convert({source_, "-colors", "100", "PNG8:" + palette}));
    ExpectDecodesLikeMagick(palette);
    ExpectDecodesLikeMagick(Magick("grey.png", {"-type", "Grayscale"}));
    ExpectDecodesLikeMagick(Magick("mono.png", {"-monochrome"}));
    const QString deep = Path("deep.png");
    ASSERT_TRUE(Convert({source_, "-depth", "16", "PNG48:" + deep}));
    ExpectDecodesLikeMagick(deep);
    ExpectDecodesLikeMagick(Magick("interlaced.png", {"-interlace", "PNG"}));
    const QString netpbm = Path("netpbm.png");
    ASSERT_TRUE(picture_tools::Run("pnmtopng", {"-interlace", source_}, netpbm));
    ExpectDecodesLikeMagick(netpbm);
}

TEST_F(Corpus, JpegBaselineProgressiveGreyAndCmyk) {
    ExpectDecodesLikeMagick(Magick("baseline.jpg", {"-quality", "90"}), 8, 0.5);
    ExpectDecodesLikeMagick(Magick("progressive.jpg", {"-interlace", "JPEG"}), 8, 0.5);
    ExpectDecodesLikeMagick(Magick("grey.jpg", {"-type", "Grayscale"}), 8, 0.5);
    ExpectDecodesLikeMagick(Magick("cmyk.jpg", {"-colorspace", "CMYK", "-quality", "95"}), 16, 2);
    const QString netpbm = Path("netpbm.jpg");
    ASSERT_TRUE(picture_tools::Run("pnmtojpeg", {"--quality=85", source_}, netpbm));
    ExpectDecodesLikeMagick(netpbm, 8, 0.5);
}

TEST_F(Corpus, EpsRenderedLikeGhostscriptRendersIt) {
    const QString eps = Path("netpbm.eps");
    ASSERT_TRUE(picture_tools::Run(
        "pnmtops", {"-noturn", "-nocenter", "-dpi=72", "-equalpixels", source_}, eps));
    ExpectDecodes(eps, GhostscriptPixels(eps));
    ExpectDecodes(eps, TestPicture(48, 32)); // one point per pixel, so the very pixels

    // Ghostscript's EPS writer adds a high-resolution box, which its renderer crops to: at 103
    // dots per inch the 48 x 32 pixels are 33.55 x 22.37 points, the whole-point box 34 x 23.
    // The information, our picture and Ghostscript's rendering agree on 34 x 22.
    const QString scaled = Path("scaled.eps"), hiRes = Path("hires.eps");
    ASSERT_TRUE(
        picture_tools::Run("pnmtops", {"-noturn", "-nocenter", "-dpi=103", source_}, scaled));
    ASSERT_TRUE(picture_tools::Run("gs", {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE",
                                          "-sDEVICE=eps2write", "-sOutputFile=" + hiRes, scaled}));
    ASSERT_TRUE(ReadAll(hiRes).contains("%%HiResBoundingBox:"));
    const QByteArray bytes = ReadAll(hiRes);
    crde::StreamFacts facts;
    ASSERT_EQ(crde::StreamInfo(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               std::size_t(bytes.size()), &facts),
              crde::kOk);
    const QImage rendered = GhostscriptPixels(hiRes);
    EXPECT_EQ(facts.width, rendered.width());
    EXPECT_EQ(facts.height, rendered.height());
    EXPECT_EQ(rendered.size(), QSize(34, 22));
    ExpectDecodes(hiRes, rendered);
}

// ---- Writers, read back by the independent tools ----

class Writers : public Corpus {
protected:
    using Encode = std::function<std::int16_t(const crde::DibView&, crde::Bytes&)>;
    // Encodes the image at `bits` and checks what ImageMagick (or Ghostscript) reads.
    void ExpectRoundTrip(const QString& name, const QImage& image, int bits, const Encode& encode,
                         int largest = 0, double mean = 0) {
        SCOPED_TRACE(name.toStdString());
        HGLOBAL dib = MakeDib(image, bits);
        crde::Bytes bytes;
        {
            crde::DibView view(dib);
            ASSERT_EQ(encode(view, bytes), crde::kOk);
        }
        const QImage written = DibImage(dib);
        GlobalFree(dib);
        const QString file = Path(name);
        ASSERT_TRUE(WriteAll(file, QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                              qsizetype(bytes.size()))));
        const QImage read = name.endsWith(".eps")   ? GhostscriptPixels(file)
                            : name.endsWith(".pcx") ? NetpbmPcxPixels(file)
                                                    : ImageMagickPixels(file);
        const Difference d = Compare(read, written);
        EXPECT_FALSE(d.sizeDiffers);
        EXPECT_LE(d.largest, largest);
        EXPECT_LE(d.mean, mean);
    }
};

TEST_F(Writers, BmpPcxAndTgaInEveryDepthTheyStore) {
    const QImage full = TestPicture(45, 29), sixteen = FewColours(16), two = FewColours(2);
    for (int bits : {1, 4, 8, 24}) {
        const QImage& image = bits == 1 ? two : bits == 24 ? full : sixteen;
        ExpectRoundTrip(QString("w%1.bmp").arg(bits), image, bits, crde::WriteBmp);
        ExpectRoundTrip(QString("w%1.pcx").arg(bits), image, bits, crde::WritePcx);
    }
    for (bool rle : {false, true}) {
        const auto tga = [rle](const crde::DibView& d, crde::Bytes& out) {
            return crde::WriteTga(d, rle, out);
        };
        ExpectRoundTrip(QString("w8_%1.tga").arg(rle), sixteen, 8, tga);
        ExpectRoundTrip(QString("w24_%1.tga").arg(rle), full, 24, tga);
    }
}

TEST_F(Writers, TiffInEveryCompressionAndAppendedPages) {
    const QImage full = TestPicture(45, 29), two = FewColours(2);
    for (int code : {1, 5, 32773})
        ExpectRoundTrip(QString("w%1.tif").arg(code), full, 24,
                        [code](const crde::DibView& d, crde::Bytes& out) {
                            return crde::WriteTiff(d, code, out);
                        });
    for (int code : {2, 3, 4})
        ExpectRoundTrip(QString("fax%1.tif").arg(code), two, 1,
                        [code](const crde::DibView& d, crde::Bytes& out) {
                            return crde::WriteTiff(d, code, out);
                        });
    ExpectRoundTrip("palette.tif", FewColours(16), 8, [](const crde::DibView& d, crde::Bytes& out) {
        return crde::WriteTiff(d, 5, out);
    });
    // Appending: three pages in one file, each read back as written.
    crde::Bytes file;
    std::vector<QImage> pages;
    for (int i = 0; i < 3; ++i) {
        QImage page = TestPicture(20 + i, 10 + i);
        if (i == 1)
            page.invertPixels();
        HGLOBAL dib = MakeDib(page, 24);
        {
            crde::DibView view(dib);
            ASSERT_EQ(crde::WriteTiff(view, i == 2 ? 32773 : 5, file), crde::kOk);
        }
        pages.push_back(DibImage(dib));
        GlobalFree(dib);
    }
    const QString path = Path("pages.tif");
    ASSERT_TRUE(WriteAll(
        path, QByteArray(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()))));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Compare(ImageMagickPixels(path, QString("[%1]").arg(i)), pages[i]).pixels, 0)
            << i;
    // Deleting the middle page keeps the others.
    crde::Bytes rest;
    ASSERT_EQ(crde::TiffDeletePage(file.data(), file.size(), 1, rest), crde::kOk);
    HGLOBAL second = nullptr;
    ASSERT_EQ(crde::ReadTiff(rest.data(), rest.size(), 1, &second), crde::kOk);
    EXPECT_EQ(Compare(DibImage(second), pages[2]).pixels, 0);
    GlobalFree(second);
}

// Page numbers past the last page fail and leave the file as it was; a tag text with a line
// break cannot pass for another tag. tiffinfo and ImageMagick tell what the file holds.
TEST_F(Writers, TiffPagesPastTheEndFailAndTagTextsStayOnTheirLine) {
    const QString source = Path("described.tif");
    ASSERT_TRUE(Convert({"-size", "5x3", "xc:red", "-set", "comment", "first\n256=9999",
                         "-compress", "LZW", source}));
    const QString twoPages = Path("two.tif");
    ASSERT_TRUE(Convert({"-size", "5x3", "xc:red", "-size", "7x2", "xc:blue", "+adjoin",
                         "-compress", "LZW", Path("page%d.tif")}));
    ASSERT_TRUE(picture_tools::Run("tiffcp", {Path("page0.tif"), Path("page1.tif"), twoPages}));
    const QByteArray bytes = ReadAll(twoPages);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    const auto size = std::size_t(bytes.size());

    crde::Bytes out;
    EXPECT_EQ(crde::TiffDeletePage(data, size, 2, out), crde::kErrNoSuchPage);
    EXPECT_EQ(crde::TiffDeletePage(data, size, -1, out), crde::kErrNoSuchPage);
    HGLOBAL dib = MakeDib(TestPicture(4, 4), 24);
    {
        crde::DibView view(dib);
        EXPECT_EQ(crde::TiffReplacePage(data, size, 5, view, 5, out), crde::kErrNoSuchPage);
        ASSERT_EQ(crde::TiffReplacePage(data, size, 1, view, 5, out), crde::kOk);
    }
    GlobalFree(dib);
    const QString replaced = Path("replaced.tif");
    ASSERT_TRUE(WriteAll(
        replaced, QByteArray(reinterpret_cast<const char*>(out.data()), qsizetype(out.size()))));
    ASSERT_TRUE(
        picture_tools::Run("identify", {"-format", "%w %h\\n", replaced}, Path("sizes.txt")));
    EXPECT_EQ(ReadAll(Path("sizes.txt")), "5 3\n4 4\n");
    ASSERT_EQ(crde::TiffPack(data, size, out), crde::kOk);
    ASSERT_TRUE(WriteAll(
        replaced, QByteArray(reinterpret_cast<const char*>(out.data()), qsizetype(out.size()))));
    ASSERT_TRUE(picture_tools::Run("tiffinfo", {replaced}, Path("info.txt")));
    EXPECT_EQ(ReadAll(Path("info.txt")).count("TIFF Directory"), 2) << "packing keeps both pages";

    // The description holds a line break and a tag number.
    const QByteArray described = ReadAll(source);
    std::string tags;
    ASSERT_EQ(crde::TiffTags(reinterpret_cast<const std::uint8_t*>(described.constData()),
                             std::size_t(described.size()), 0, &tags),
              crde::kOk);
    ASSERT_TRUE(picture_tools::Run("tiffinfo", {source}, Path("described.txt")));
    EXPECT_TRUE(ReadAll(Path("described.txt")).contains("Image Width: 5"));
    EXPECT_NE(tags.find("256=5\n"), std::string::npos) << tags;
    EXPECT_EQ(tags.find("\n256=9999"), std::string::npos) << "no spoofed width line: " << tags;
    EXPECT_NE(tags.find("270=first\\n256=9999\n"), std::string::npos) << tags;
    EXPECT_EQ(crde::EscapedTagText("a\\b\rc"), "a\\\\b\\rc");
}

TEST_F(Writers, GifPngJpegAndEps) {
    const QImage full = TestPicture(45, 29), sixteen = FewColours(16);
    ExpectRoundTrip("w8.gif", sixteen, 8, crde::WriteGif);
    ExpectRoundTrip("w4.gif", sixteen, 4, crde::WriteGif);
    ExpectRoundTrip("w1.gif", FewColours(2), 1, crde::WriteGif);
    for (bool interlaced : {false, true}) {
        const auto png = [interlaced](const crde::DibView& d, crde::Bytes& out) {
            return crde::WritePng(d, interlaced, out);
        };
        ExpectRoundTrip(QString("w24_%1.png").arg(interlaced), full, 24, png);
        ExpectRoundTrip(QString("w8_%1.png").arg(interlaced), sixteen, 8, png);
        ExpectRoundTrip(QString("w1_%1.png").arg(interlaced), FewColours(2), 1, png);
    }
    // JPEG loses detail by design: ours may lose about as much as ImageMagick's own encoder.
    const QString reference = Path("reference.jpg");
    ASSERT_TRUE(full.save(Path("full.ppm"), "PPM"));
    ASSERT_TRUE(Convert({Path("full.ppm"), "-quality", "95", reference}));
    const Difference own =
        Compare(ImageMagickPixels(reference), full.convertToFormat(QImage::Format_RGB32));
    ExpectRoundTrip(
        "w.jpg", full, 24,
        [](const crde::DibView& d, crde::Bytes& out) {
            return crde::WriteJpeg(d, 95, 0, false, out);
        },
        own.largest + 16, own.mean * 1.25 + 0.25);
    ExpectRoundTrip("w.eps", full, 24, crde::WriteEps);
    ExpectRoundTrip("w8.eps", sixteen, 8, crde::WriteEps);
}

TEST(JpegWriter, QualityAndSmoothingChangeTheOutput) {
    HGLOBAL dib = MakeDib(TestPicture(64, 64), 24);
    crde::DibView view(dib);
    crde::Bytes low, high, smooth, grey;
    ASSERT_EQ(crde::WriteJpeg(view, 20, 0, false, low), crde::kOk);
    ASSERT_EQ(crde::WriteJpeg(view, 95, 0, false, high), crde::kOk);
    ASSERT_EQ(crde::WriteJpeg(view, 95, 80, false, smooth), crde::kOk);
    ASSERT_EQ(crde::WriteJpeg(view, 95, 0, true, grey), crde::kOk);
    EXPECT_LT(low.size(), high.size());
    EXPECT_NE(smooth, high);
    HGLOBAL read = nullptr;
    ASSERT_EQ(crde::ReadJpeg(grey.data(), grey.size(), &read), crde::kOk);
    EXPECT_EQ(crde::DibView(read).Bits(), 8);
    GlobalFree(read);
    GlobalFree(dib);
}

TEST(PhotoCd, BaseImagesComeBackNearTheirSourceAtEachResolution) {
    // ImageMagick's Photo CD colour mapping is its own, so the reference is the picture that
    // went in: the pack holds it at three sizes in Photo YCC.
    const QImage source = TestPicture(768, 512);
    HGLOBAL dib = MakeDib(source, 24);
    crde::Bytes pack;
    {
        crde::DibView view(dib);
        ASSERT_EQ(crde::WritePcd(view, pack), crde::kOk);
    }
    GlobalFree(dib);
    ASSERT_TRUE(crde::IsPcd(pack.data(), pack.size()));
    const QSize sizes[] = {{192, 128}, {384, 256}, {768, 512}};
    for (int mode = 0; mode < 3; ++mode) {
        HGLOBAL read = nullptr;
        ASSERT_EQ(crde::ReadPcd(pack.data(), pack.size(), mode, &read), crde::kOk);
        const QImage ours = DibImage(read);
        GlobalFree(read);
        EXPECT_EQ(ours.size(), sizes[mode]);
        const QImage expected =
            source.scaled(sizes[mode], Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_LE(Compare(ours, expected).mean, 12.0) << mode;
    }
    EXPECT_EQ(crde::ReadPcd(pack.data(), 0x30000, 2, &dib), crde::kErrTruncated);
}

} // namespace
