// SPDX-License-Identifier: MIT
#include "engines/crde2000/pcd.h"
#include "engines/shared/codes.h"
#include "engines/shared/dib_block.h"
#include "imaging/engine/engine_binding.h"
#include "tests/engines/picture_tools.h"
#include "tests/support/fake_dialogs.h"
#include "tools/image/image_tool.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <cmath>
#include <gtest/gtest.h>

namespace {

// Pearson correlation of one channel (0 red, 1 green, 2 blue) of two pictures of one size.
double Correlation(const QImage& a, const QImage& b, int channel) {
    auto value = [channel](QRgb c) {
        return double(channel == 0 ? qRed(c) : channel == 1 ? qGreen(c) : qBlue(c));
    };
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    const double n = double(a.width()) * a.height();
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const double u = value(a.pixel(x, y)), v = value(b.pixel(x, y));
            sa += u;
            sb += v;
            saa += u * u;
            sbb += v * v;
            sab += u * v;
        }
    const double cov = sab / n - (sa / n) * (sb / n);
    const double va = saa / n - (sa / n) * (sa / n), vb = sbb / n - (sb / n) * (sb / n);
    return va > 0 && vb > 0 ? cov / std::sqrt(va * vb) : 0;
}

class ImageTool : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        imaging::EngineBinding::Instance().Start();
    }
    void TearDown() override { imaging::EngineBinding::Instance().End(); }

    int Run(const QStringList& args) {
        output.clear();
        errors.clear();
        QTextStream out(&output), err(&errors);
        return tools::RunImageTool(args, out, err);
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    // The width and height the tool reports for a file.
    QString Size(const QString& file) {
        if (Run({"info", file}) != 0)
            return "unreadable: " + errors;
        const QStringList lines = output.split('\n');
        return lines.value(1) + " " + lines.value(2);
    }

    QTemporaryDir dir;
    QString output, errors;
    FakeDialogs dialogs;
};

TEST_F(ImageTool, ConvertsEveryReadableFormatToEveryWritableOne) {
    QImage picture(30, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            picture.setPixel(x, y, qRgb(x * 8, y * 12, 90));
    ASSERT_TRUE(picture.save(Path("seed.png")));
    const QStringList writable{"bmp", "pcx", "gif", "tif", "tga", "eps", "png", "jpg"};
    QStringList sources;
    for (const QString& ext : writable) {
        ASSERT_EQ(Run({"convert", Path("seed.png"), Path("source." + ext)}), 0)
            << errors.toStdString();
        sources << Path("source." + ext);
    }
    // A drawing and a Photo CD pack, the two formats the engine reads but does not write.
    QFile dxf(Path("source.dxf"));
    ASSERT_TRUE(dxf.open(QIODevice::WriteOnly));
    dxf.write(
        "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n0\n20\n0\n11\n60\n21\n40\n0\nENDSEC\n0\nEOF\n");
    dxf.close();
    sources << Path("source.dxf");
    {
        crde::NewDib dib;
        ASSERT_EQ(dib.Create(30, 20, 24, 0), crde::kOk);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x) {
                const QRgb c = picture.pixel(x, y);
                std::uint8_t* p = dib.Row(y) + 3 * x;
                p[0] = std::uint8_t(qBlue(c));
                p[1] = std::uint8_t(qGreen(c));
                p[2] = std::uint8_t(qRed(c));
            }
        HGLOBAL block = dib.Release();
        crde::Bytes pack;
        {
            crde::DibView view(block);
            ASSERT_EQ(crde::WritePcd(view, pack), crde::kOk);
        }
        GlobalFree(block);
        QFile pcd(Path("source.pcd"));
        ASSERT_TRUE(pcd.open(QIODevice::WriteOnly));
        pcd.write(reinterpret_cast<const char*>(pack.data()), qsizetype(pack.size()));
    }
    sources << Path("source.pcd");
    // A pack written by ImageMagick. Its YCC mapping is not the published Photo YCC matrix our
    // reader uses (its own round trip is off by several levels too), so the colours differ by
    // a mapping; the picture's layout (resolution, row pairs, chroma order) must agree: every
    // channel of our decoding follows ImageMagick's closely.
    ASSERT_TRUE(picture_tools::Convert(
        {Path("seed.png"), "-resize", "768x512!", "PCD:" + Path("magick.pcd")}));
    sources << Path("magick.pcd");
    {
        ASSERT_EQ(Run({"convert", Path("magick.pcd"), Path("magick.png")}), 0)
            << errors.toStdString();
        const QImage ours = picture_tools::ImageMagickPixels(Path("magick.png"));
        const QImage theirs = picture_tools::ImageMagickPixels(Path("magick.pcd"));
        ASSERT_EQ(ours.size(), theirs.size());
        for (int channel = 0; channel < 3; ++channel)
            EXPECT_GT(Correlation(ours, theirs, channel), 0.97) << "channel " << channel;
    }

    // ImageMagick reads every output (Ghostscript the EPS). The PNG of each source is the reference
    // for its other outputs (lossless ones must match it to the pixel, GIF and JPEG come close);
    // the PNG itself must show the seed's pixels when the source kept them.
    const QStringList lossless{"bmp", "pcx", "tif", "tga", "png"};
    for (const QString& source : sources) {
        const QString expected = source.endsWith(".dxf")   ? "width: 640 height: 428"
                                 : source.endsWith(".pcd") ? "width: 768 height: 512"
                                                           : "width: 30 height: 20";
        QImage reference;
        for (const QString& ext : QStringList{"png"} + writable) {
            SCOPED_TRACE(QString("%1 to %2").arg(source, ext).toStdString());
            const QString target = Path("out." + ext);
            QFile::remove(target);
            ASSERT_EQ(Run({"convert", source, target}), 0) << errors.toStdString();
            EXPECT_EQ(Size(target), expected);
            const QImage pixels = ext == "eps" ? picture_tools::GhostscriptPixels(target)
                                               : picture_tools::ImageMagickPixels(target);
            ASSERT_FALSE(pixels.isNull());
            if (reference.isNull()) {
                reference = pixels;
                const QString kind = QFileInfo(source).suffix();
                if (lossless.contains(kind)) {
                    EXPECT_EQ(picture_tools::Compare(reference,
                                                     picture.convertToFormat(reference.format()))
                                  .pixels,
                              0)
                        << "the seed's pixels";
                }
                EXPECT_GT(reference.convertToFormat(QImage::Format_Indexed8).colorCount(), 1)
                    << "no blank picture";
                continue;
            }
            const picture_tools::Difference d = picture_tools::Compare(pixels, reference);
            ASSERT_FALSE(d.sizeDiffers);
            if (lossless.contains(ext))
                EXPECT_EQ(d.pixels, 0);
            else
                EXPECT_LE(d.mean, ext == "gif" ? 6.0 : 4.0) << "largest " << d.largest;
        }
    }
}

TEST_F(ImageTool, OptionsReachTheWriters) {
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(qRgb(250, 250, 250));
    ASSERT_TRUE(picture.save(Path("seed.png")));
    ASSERT_EQ(Run({"convert", Path("seed.png"), Path("g4.tif"), "--compression", "FAXCCITT4"}), 0);
    ASSERT_EQ(Run({"info", Path("g4.tif")}), 0);
    EXPECT_TRUE(output.contains("compression: FAXCCITT4"));
    EXPECT_TRUE(output.contains("bits per pixel: 1"));
    ASSERT_EQ(
        Run({"convert", Path("seed.png"), Path("g4.tif"), "--append", "--compression", "LZW"}), 0);
    ASSERT_EQ(Run({"info", Path("g4.tif")}), 0);
    EXPECT_TRUE(output.contains("pages: 2"));
    ASSERT_EQ(
        Run({"convert", Path("seed.png"), Path("grey.jpg"), "--depth", "8", "--quality", "40"}), 0);
    ASSERT_EQ(Run({"info", Path("grey.jpg")}), 0);
    EXPECT_TRUE(output.contains("bits per pixel: 8"));
    ASSERT_EQ(Run({"convert", Path("seed.png"), Path("i.png"), "--interlace", "--depth", "4"}), 0);
    ASSERT_EQ(Run({"info", Path("i.png")}), 0);
    EXPECT_TRUE(output.contains("bits per pixel: 4"));
    EXPECT_TRUE(output.contains("extra: 1 3")); // Adam7, palette
}

TEST_F(ImageTool, BadInputGivesAMessageAndAStatus) {
    EXPECT_EQ(Run({}), 2);
    EXPECT_TRUE(errors.startsWith("usage: vlmor-image"));
    EXPECT_EQ(Run({"convert", Path("x.png"), Path("y.doc")}), 2);
    EXPECT_TRUE(errors.contains("names no format"));
    EXPECT_EQ(Run({"convert", Path("x.png"), Path("y.bmp"), "--depth", "5"}), 2);
    QFile junk(Path("junk.bin"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(100, 'x'));
    junk.close();
    EXPECT_EQ(Run({"info", Path("junk.bin")}), 1);
    EXPECT_TRUE(errors.contains("The data is not a picture of this format"))
        << errors.toStdString();
    EXPECT_EQ(Run({"info", Path("missing.png")}), 1);
    EXPECT_TRUE(errors.contains("Cannot open file")) << errors.toStdString();
}

} // namespace
