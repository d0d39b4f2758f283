// SPDX-License-Identifier: MIT
// Run-length pictures whose packets end early or skip cost time in proportion to their bytes
// plus one fill of the picture: each reader against a fill of the same number of bytes in
// fresh picture memory, in the same run.
//   BMP  a 1.7 kB RLE8 file of 16 712 972 x 8 pixels: runs, a delta far to the right, end of
//        line on each row, then the end of the picture
//   TGA  8-bit grey run-length, 65 534 x 2 048: a few packets, then the file ends (refused as
//        cut short, after the picture was made)
//   PCX  8-bit, 65 534 x 2 048: the same, PCX runs
//   BMP at 24 bits: the BMP read at the depth of a true-colour screen (its 8-bit picture made
//        24-bit), against a fill of both pictures
//   TGA whole: the same Targa with run packets of 128 covering every pixel (its bytes are a
//        128th of its pixels)
#include "bench/bench_report.h"
#include "engines/crde2000/bmp.h"
#include "engines/crde2000/pcx.h"
#include "engines/crde2000/tga.h"
#include "engines/shared/codes.h"
#include "engines/shared/depth.h"
#include "engines/shared/dib_block.h"
#include "platform/memory/global_memory.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Sizes; small ones in smoke mode.
std::uint32_t bmpWidth = 16712972, bmpHeight = 8;
std::uint32_t wideWidth = 65534, wideHeight = 2048;

void Put16(Bytes& b, unsigned v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

Bytes SkippingBmp() {
    Bytes rle;
    for (std::uint32_t y = 0; y < bmpHeight; ++y) {
        for (int k = 0; k < 100; ++k)
            rle.insert(rle.end(), {255, std::uint8_t(k)});
        rle.insert(rle.end(), {0, 2, 255, 0}); // a delta 255 to the right
        rle.insert(rle.end(), {0, 0});         // end of line
        if (y + 1 == bmpHeight / 2)
            break; // the rest of the picture is left as it is
    }
    rle.insert(rle.end(), {0, 1}); // end of the picture
    Bytes b{'B', 'M'};
    const std::uint32_t offset = 14 + 40 + 256 * 4;
    Put32(b, offset + std::uint32_t(rle.size()));
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, bmpWidth);
    Put32(b, bmpHeight);
    Put16(b, 1);
    Put16(b, 8);
    Put32(b, 1); // RLE8
    Put32(b, std::uint32_t(rle.size()));
    for (int i = 0; i < 4; ++i)
        Put32(b, 0);
    for (int i = 0; i < 256; ++i)
        Put32(b, std::uint32_t(i) * 0x010101u);
    b.insert(b.end(), rle.begin(), rle.end());
    return b;
}

Bytes GreyTga(bool whole) {
    Bytes b(18, 0);
    b[2] = 11; // grey, run-length
    b[12] = std::uint8_t(wideWidth);
    b[13] = std::uint8_t(wideWidth >> 8);
    b[14] = std::uint8_t(wideHeight);
    b[15] = std::uint8_t(wideHeight >> 8);
    b[16] = 8;
    const std::uint64_t pixels = std::uint64_t(wideWidth) * wideHeight;
    const std::uint64_t packets = whole ? (pixels + 127) / 128 : 850;
    for (std::uint64_t i = 0; i < packets; ++i)
        b.insert(b.end(), {0xFF, std::uint8_t(i)});
    return b;
}

Bytes CutPcx() {
    Bytes b(128, 0);
    b[0] = 10;
    b[1] = 5;
    b[2] = 1;
    b[3] = 8;
    b[8] = std::uint8_t(wideWidth - 1);
    b[9] = std::uint8_t((wideWidth - 1) >> 8);
    b[10] = std::uint8_t(wideHeight - 1);
    b[11] = std::uint8_t((wideHeight - 1) >> 8);
    b[65] = 1;
    const unsigned line = (wideWidth + 1) & ~1u;
    b[66] = std::uint8_t(line);
    b[67] = std::uint8_t(line >> 8);
    for (int i = 0; i < 850; ++i)
        b.insert(b.end(), {0xFF, std::uint8_t(i)});
    // The palette at the end, as 8-bit files have it.
    b.push_back(12);
    for (int i = 0; i < 768; ++i)
        b.push_back(std::uint8_t(i / 3));
    return b;
}

struct Case {
    Bytes file;
    std::int16_t (*read)(const std::uint8_t*, std::size_t, HGLOBAL*);
    std::int16_t expected; // what the reader says of the file
    std::size_t pictureBytes = 0;
    std::size_t convertedBytes = 0; // a second picture the path makes (a depth change), or 0
};
Case bmpCase, tgaCase, pcxCase, tgaWholeCase, bmp24Case;

// The BMP reader followed by the read depth of a true-colour screen, as the view asks.
std::int16_t ReadBmpAt24(const std::uint8_t* data, std::size_t size, HGLOBAL* dib) {
    const std::int16_t code = crde::ReadBmp(data, size, dib);
    return code == engine::kOk ? engine::ApplyReadDepth(dib, 24, false) : code;
}

std::size_t PictureBytes(std::uint64_t width, std::uint64_t height) {
    return std::size_t((width + 3) / 4 * 4 * height);
}

void BM_Reader(benchmark::State& state, const Case* c) {
    for (auto _ : state) {
        HGLOBAL dib = nullptr;
        const std::int16_t code = c->read(c->file.data(), c->file.size(), &dib);
        if (code != c->expected) {
            state.SkipWithError("the reader did not answer as expected");
            GlobalFree(dib);
            break;
        }
        benchmark::DoNotOptimize(dib);
        GlobalFree(dib);
    }
}

// The anchor: one fill of each picture's bytes in fresh picture memory.
void Fill(std::size_t bytes) {
    HGLOBAL block = GlobalAlloc(GHND, bytes);
    auto* p = static_cast<std::uint8_t*>(GlobalLock(block));
    std::memset(p, 0x55, bytes);
    benchmark::DoNotOptimize(p);
    GlobalUnlock(block);
    GlobalFree(block);
}
void BM_Fill(benchmark::State& state, const Case* c) {
    for (auto _ : state) {
        Fill(c->pictureBytes);
        if (c->convertedBytes)
            Fill(c->convertedBytes);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (bench::Smoke()) {
        bmpWidth = 1671297;
        wideHeight = 256;
    }
    bmpCase = {SkippingBmp(), crde::ReadBmp, engine::kOk, PictureBytes(bmpWidth, bmpHeight)};
    tgaCase = {GreyTga(false), crde::ReadTga, engine::kErrTruncated,
               PictureBytes(wideWidth, wideHeight)};
    pcxCase = {CutPcx(), crde::ReadPcx, engine::kErrTruncated, PictureBytes(wideWidth, wideHeight)};
    tgaWholeCase = {GreyTga(true), crde::ReadTga, engine::kOk, PictureBytes(wideWidth, wideHeight)};
    bmp24Case = {bmpCase.file, ReadBmpAt24, engine::kOk, bmpCase.pictureBytes,
                 PictureBytes(3ull * bmpWidth, bmpHeight)};
    std::printf("BMP file: %zu bytes for %u x %u pixels\n", bmpCase.file.size(), bmpWidth,
                bmpHeight);

    const std::pair<const char*, const Case*> cases[] = {{"bmp", &bmpCase},
                                                         {"tga", &tgaCase},
                                                         {"pcx", &pcxCase},
                                                         {"tga_whole", &tgaWholeCase},
                                                         {"bmp24", &bmp24Case}};
    // Memory the process has never used costs more on first touch (the machine backs it then):
    // every path runs once before anything is timed.
    for (const auto& [name, c] : cases) {
        HGLOBAL dib = nullptr;
        c->read(c->file.data(), c->file.size(), &dib);
        GlobalFree(dib);
        Fill(c->pictureBytes + c->convertedBytes);
    }

    benchmark::Initialize(&argc, argv);
    for (const auto& [name, c] : cases) {
        const Case* which = c;
        bench::Add((std::string(name) + "/read").c_str(),
                   [which](benchmark::State& s) { BM_Reader(s, which); }, 1);
        bench::Add((std::string(name) + "/fill").c_str(),
                   [which](benchmark::State& s) { BM_Fill(s, which); }, 1);
    }
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto t = [&](const char* name) { return reporter.Time(name); };
    bool ok = true;
    std::printf("\n");
    ok &= bench::Report("RLE8 BMP that skips and ends early / one fill",
                        t("bmp/read") / t("bmp/fill"), 2, "x");
    ok &= bench::Report("  the same at 24 bits / a fill of the 8- and the 24-bit picture",
                        t("bmp24/read") / t("bmp24/fill"), 2, "x");
    ok &=
        bench::Report("run-length TGA cut short / one fill", t("tga/read") / t("tga/fill"), 2, "x");
    ok &=
        bench::Report("run-length PCX cut short / one fill", t("pcx/read") / t("pcx/fill"), 2, "x");
    ok &= bench::Report("run-length TGA of 128-pixel runs / one fill",
                        t("tga_whole/read") / t("tga_whole/fill"), 2, "x");
    return bench::Exit(ok);
}
