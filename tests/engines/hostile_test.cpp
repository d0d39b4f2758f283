// SPDX-License-Identifier: MIT
// Hostile bytes for every reader: pictures claiming more pixels than the engine allocates,
// and every truncation of real files. A failure is a code, never a crash or a leak.
#include "engines/crde2000/bmp.h"
#include "engines/crde2000/dxf.h"
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

#include <functional>
#include <gtest/gtest.h>

namespace {

using Reader = std::function<std::int16_t(const crde::Bytes&, HGLOBAL*)>;
using Writer = std::function<std::int16_t(const crde::DibView&, crde::Bytes&)>;

crde::Bytes Written(const Writer& write, int bits = 24) {
    crde::NewDib dib;
    EXPECT_EQ(dib.Create(21, 13, 24, 0), crde::kOk);
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 21 * 3; ++x)
            dib.Row(y)[x] = std::uint8_t(x * 7 + y * 31);
    HGLOBAL full = dib.Release(), reduced = nullptr;
    {
        crde::DibView view(full);
        if (bits != 24) {
            EXPECT_EQ(crde::ConvertDepth(view, bits, false, &reduced), crde::kOk);
        }
    }
    crde::Bytes out;
    {
        crde::DibView view(reduced ? reduced : full);
        EXPECT_EQ(write(view, out), crde::kOk);
    }
    GlobalFree(full);
    GlobalFree(reduced);
    return out;
}

void PutBe(crde::Bytes& b, std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        b[at + i] = std::uint8_t(v >> (8 * (bytes - 1 - i)));
}
void PutLe(crde::Bytes& b, std::size_t at, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        b[at + i] = std::uint8_t(v >> (8 * i));
}

std::uint32_t Crc32(const std::uint8_t* p, std::size_t n) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

// A hand-made TIFF header claiming the size, with one strip of a few bytes.
crde::Bytes HugeTiff(std::uint32_t w, std::uint32_t h) {
    crde::Bytes b{'I', 'I', 42, 0, 8, 0, 0, 0};
    const std::uint16_t tags[][2] = {{256, 4}, {257, 4}, {258, 3}, {259, 3}, {262, 3},
                                     {273, 4}, {277, 3}, {278, 4}, {279, 4}};
    const std::uint32_t values[] = {w, h, 8, 1, 1, 200, 1, h, 4};
    b.resize(210, 0);
    PutLe(b, 8, 9, 2);
    for (int i = 0; i < 9; ++i) {
        const std::size_t at = 10 + 12 * std::size_t(i);
        PutLe(b, at, tags[i][0], 2);
        PutLe(b, at + 2, tags[i][1], 2);
        PutLe(b, at + 4, 1, 4);
        PutLe(b, at + 8, values[i], tags[i][1] == 3 ? 2 : 4);
    }
    return b;
}

// An 8-bit run-length BMP: each row two runs and an end of line, then the end of the picture.
crde::Bytes Rle8Bmp(int w, int h) {
    crde::Bytes rle;
    for (int y = 0; y < h; ++y)
        rle.insert(rle.end(),
                   {std::uint8_t(w - 5), std::uint8_t(y), 5, std::uint8_t(255 - y), 0, 0});
    rle.insert(rle.end(), {0, 1});
    const std::size_t pixels = 14 + 40 + 1024;
    crde::Bytes b(pixels + rle.size(), 0);
    b[0] = 'B';
    b[1] = 'M';
    PutLe(b, 2, std::uint32_t(b.size()), 4);
    PutLe(b, 10, std::uint32_t(pixels), 4);
    PutLe(b, 14, 40, 4);
    PutLe(b, 18, std::uint32_t(w), 4);
    PutLe(b, 22, std::uint32_t(h), 4);
    PutLe(b, 26, 1, 2);
    PutLe(b, 28, 8, 2);
    PutLe(b, 30, 1, 4); // RLE8
    PutLe(b, 34, std::uint32_t(rle.size()), 4);
    std::copy(rle.begin(), rle.end(), b.begin() + std::ptrdiff_t(pixels));
    return b;
}

std::int16_t Call(std::int16_t (*read)(const std::uint8_t*, std::size_t, HGLOBAL*),
                  const crde::Bytes& b, HGLOBAL* dib) {
    return read(b.data(), b.size(), dib);
}

class Hostile : public ::testing::Test {
protected:
    void SetUp() override { before = GlobalBlockCount(); }
    void TearDown() override { EXPECT_EQ(GlobalBlockCount(), before) << "a block leaked"; }
    // Every cut of the file fails with a code; only a cut in the last `tail` bytes (trailers
    // after the pixels, such as an end marker) may still decode, and that picture is freed.
    void EveryTruncation(const char* name, const crde::Bytes& file, const Reader& read,
                         std::size_t tail = 16) {
        SCOPED_TRACE(name);
        HGLOBAL dib = nullptr;
        ASSERT_EQ(read(file, &dib), crde::kOk);
        GlobalFree(dib);
        const std::size_t step = std::max<std::size_t>(1, file.size() / 97);
        for (std::size_t cut = 0; cut < file.size(); cut += step) {
            crde::Bytes part(file.begin(), file.begin() + std::ptrdiff_t(cut));
            dib = nullptr;
            const std::int16_t code = read(part, &dib);
            if (code == crde::kOk) {
                GlobalFree(dib);
                EXPECT_GE(cut + tail, file.size())
                    << "a picture cut at " << cut << " of " << file.size() << " reported success";
            } else {
                EXPECT_EQ(dib, nullptr) << cut;
            }
        }
    }
    std::size_t before = 0;
};

TEST_F(Hostile, HugeClaimedSizesFailWithoutAllocating) {
    HGLOBAL dib = nullptr;
    crde::Bytes png =
        Written([](const crde::DibView& d, crde::Bytes& o) { return crde::WritePng(d, false, o); });
    PutBe(png, 16, 100000, 4);
    PutBe(png, 20, 100000, 4);
    PutBe(png, 29, Crc32(png.data() + 12, 17), 4);
    EXPECT_EQ(Call(crde::ReadPng, png, &dib), crde::kErrTooLarge);

    crde::Bytes jpeg = Written(
        [](const crde::DibView& d, crde::Bytes& o) { return crde::WriteJpeg(d, 80, 0, false, o); });
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            PutBe(jpeg, i + 5, 65000, 2);
            PutBe(jpeg, i + 7, 65000, 2);
            break;
        }
    EXPECT_EQ(Call(crde::ReadJpeg, jpeg, &dib), crde::kErrTooLarge);

    crde::Bytes gif = Written(crde::WriteGif, 8);
    PutLe(gif, 6, 65535, 2);
    PutLe(gif, 8, 65535, 2);
    EXPECT_EQ(Call(crde::ReadGif, gif, &dib), crde::kErrTooLarge);

    crde::Bytes pcx = Written(crde::WritePcx);
    PutLe(pcx, 8, 65535, 2);
    PutLe(pcx, 10, 65535, 2);
    EXPECT_EQ(Call(crde::ReadPcx, pcx, &dib), crde::kErrTooLarge);

    crde::Bytes tga =
        Written([](const crde::DibView& d, crde::Bytes& o) { return crde::WriteTga(d, false, o); });
    PutLe(tga, 12, 65535, 2);
    PutLe(tga, 14, 65535, 2);
    EXPECT_EQ(Call(crde::ReadTga, tga, &dib), crde::kErrTooLarge);

    const crde::Bytes tiff = HugeTiff(100000, 100000);
    EXPECT_EQ(crde::ReadTiff(tiff.data(), tiff.size(), 0, &dib), crde::kErrTooLarge);
    crde::TiffInfo info;
    EXPECT_EQ(crde::TiffPageInfo(tiff.data(), tiff.size(), 0, &info), crde::kOk); // facts only
    EXPECT_EQ(info.width, 100000);

    const std::string eps = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 100000 100000\nshowpage\n";
    EXPECT_EQ(crde::ReadEps(reinterpret_cast<const std::uint8_t*>(eps.data()), eps.size(), &dib),
              crde::kErrTooLarge);
    EXPECT_EQ(dib, nullptr);
}

TEST_F(Hostile, EveryTruncationOfEveryFormatFailsCleanly) {
    EveryTruncation("png", Written([](const crde::DibView& d, crde::Bytes& o) {
                        return crde::WritePng(d, true, o);
                    }),
                    [](const crde::Bytes& b, HGLOBAL* d) { return Call(crde::ReadPng, b, d); });
    EveryTruncation("jpeg", Written([](const crde::DibView& d, crde::Bytes& o) {
                        return crde::WriteJpeg(d, 90, 0, false, o);
                    }),
                    [](const crde::Bytes& b, HGLOBAL* d) { return Call(crde::ReadJpeg, b, d); });
    EveryTruncation("gif", Written(crde::WriteGif, 8),
                    [](const crde::Bytes& b, HGLOBAL* d) { return Call(crde::ReadGif, b, d); });
    EveryTruncation("pcx", Written(crde::WritePcx, 4),
                    [](const crde::Bytes& b, HGLOBAL* d) { return Call(crde::ReadPcx, b, d); });
    EveryTruncation("tga", Written([](const crde::DibView& d, crde::Bytes& o) {
                        return crde::WriteTga(d, true, o);
                    }),
                    [](const crde::Bytes& b, HGLOBAL* d) { return Call(crde::ReadTga, b, d); });
    EveryTruncation(
        "tiff",
        Written([](const crde::DibView& d, crde::Bytes& o) { return crde::WriteTiff(d, 5, o); }),
        [](const crde::Bytes& b, HGLOBAL* d) { return crde::ReadTiff(b.data(), b.size(), 0, d); });
    EveryTruncation("bmp", Written(crde::WriteBmp, 8),
                    [](const crde::Bytes& b, HGLOBAL* d) { return Call(crde::ReadBmp, b, d); });
    EveryTruncation(
        "bmp-rle8", Rle8Bmp(21, 13),
        [](const crde::Bytes& b, HGLOBAL* d) { return Call(crde::ReadBmp, b, d); }, 4);
    // A pack holds three resolutions one after another; Base/4 needs the bytes up to its end.
    const crde::Bytes pack = Written(crde::WritePcd);
    EveryTruncation(
        "pcd", pack,
        [](const crde::Bytes& b, HGLOBAL* d) { return crde::ReadPcd(b.data(), b.size(), 1, d); },
        pack.size() - crde::PcdBytesFor(1) + 1);
    const std::string dxf = "0\nSECTION\n2\nENTITIES\n0\nCIRCLE\n10\n5\n20\n5\n40\n4\n0\nTEXT\n10\n"
                            "0\n20\n0\n40\n3\n1\nHI\n0\nENDSEC\n";
    EveryTruncation("dxf", crde::Bytes(dxf.begin(), dxf.end()),
                    [](const crde::Bytes& b, HGLOBAL* d) { return Call(crde::ReadDxf, b, d); });
    // Information never reads past the bytes either.
    crde::StreamFacts facts;
    const crde::Bytes tiff =
        Written([](const crde::DibView& d, crde::Bytes& o) { return crde::WriteTiff(d, 1, o); });
    // A cut header gives a failure code or the true facts, never other ones.
    for (std::size_t cut = 0; cut < 64; ++cut) {
        const std::int16_t code = crde::StreamInfo(tiff.data(), cut, &facts);
        if (code == crde::kOk) {
            EXPECT_EQ(facts.width, 21) << cut;
            EXPECT_EQ(facts.height, 13) << cut;
        } else {
            EXPECT_LT(code, 0) << cut;
        }
        EXPECT_TRUE(cut >= 8 || code != crde::kOk) << "no facts before the header: " << cut;
    }
}

TEST_F(Hostile, PostScriptThatNeverEndsIsStopped) {
    const std::string eps = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n{ 1 pop } loop\n";
    HGLOBAL dib = nullptr;
    EXPECT_EQ(crde::ReadEps(reinterpret_cast<const std::uint8_t*>(eps.data()), eps.size(), &dib),
              crde::kErrUnsupported);
    EXPECT_EQ(dib, nullptr);
}

TEST_F(Hostile, DrawingsWithWildNumbersStayInsideTheirRaster) {
    const std::string dxf =
        "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n1e300\n20\nnan\n11\n-"
        "1e11\n21\n5\n62\n4e11\n70\n-9e11\n0\nARC\n10\n0\n20\n0\n"
        "40\n1e9\n50\n1e308\n51\n-1e308\n0\nLWPOLYLINE\n70\n1\n0\nSOLID\n10\n0\n20\n0\n0\nENDSEC\n";
    HGLOBAL dib = nullptr;
    // The finite coordinates still make a drawing, scaled into the raster's limit.
    ASSERT_EQ(crde::ReadDxf(reinterpret_cast<const std::uint8_t*>(dxf.data()), dxf.size(), &dib),
              crde::kOk);
    {
        crde::DibView view(dib);
        EXPECT_GT(view.Width(), 0);
        EXPECT_LE(view.Width(), crde::kDxfLongSide);
        EXPECT_LE(view.Height(), crde::kDxfLongSide);
    }
    GlobalFree(dib);
    // Numbers that are no coordinates count as 0: such a drawing is a point, drawn small.
    const std::string none = "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnan\n20\nnan\n11\ninf\n21\n"
                             "-inf\n0\nENDSEC\n";
    dib = nullptr;
    ASSERT_EQ(crde::ReadDxf(reinterpret_cast<const std::uint8_t*>(none.data()), none.size(), &dib),
              crde::kOk);
    {
        crde::DibView view(dib);
        EXPECT_LE(view.Width(), 64);
        EXPECT_LE(view.Height(), 64);
    }
    GlobalFree(dib);
}

// Bits per sample and samples per pixel are 16-bit each; their product is reported, clamped.
TEST_F(Hostile, TiffWithWildSampleCountsIsDescribed) {
    crde::Bytes b = HugeTiff(4, 4);
    PutLe(b, 10 + 12 * 2 + 8, 65535, 2); // bits per sample
    PutLe(b, 10 + 12 * 6 + 8, 65535, 2); // samples per pixel
    crde::StreamFacts facts;
    ASSERT_EQ(crde::StreamInfo(b.data(), b.size(), &facts), crde::kOk);
    EXPECT_EQ(facts.format, "TIFF");
    EXPECT_EQ(facts.bits, 32767);
    HGLOBAL dib = nullptr;
    EXPECT_NE(crde::ReadTiff(b.data(), b.size(), 0, &dib), crde::kOk);
    EXPECT_EQ(dib, nullptr);
}

} // namespace
