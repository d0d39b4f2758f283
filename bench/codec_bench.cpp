// SPDX-License-Identifier: MIT
// Decoding a 4000 x 3000 picture through the binding's bitmap-level readers into a drawable
// bitmap, against the codec library's own decoding of the same bytes in the same run; and
// the Floyd-Steinberg reduction of 12 megapixels to 256 colours with its colour error.
#include "bench/bench_report.h"
#include "engines/crde2000/bmp.h"
#include "engines/crde2000/jpeg.h"
#include "engines/crde2000/png.h"
#include "engines/crde2000/tiff.h"
#include "engines/shared/dib_block.h"
#include "imaging/dib/dib.h"
#include "imaging/dib/dib_convert.h"
#include "imaging/engine/effects_binding.h"
#include "imaging/engine/engine_calls.h"
#include "platform/core/dialogs.h"
#include "platform/memory/global_memory.h"

#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

namespace {

// 4000 x 3000; a small picture in smoke mode.
int pictureWidth = 4000, pictureHeight = 3000;

crde::Bytes jpeg, pngBytes, tiffLzw, bmp;
HGLOBAL picture = nullptr; // the 24-bit source DIB

// A photograph-like picture: smooth colour fields with fine texture.
HGLOBAL MakePicture() {
    crde::NewDib dib;
    dib.Create(pictureWidth, pictureHeight, 24, 0);
    std::uint32_t noise = 12345;
    for (int y = 0; y < pictureHeight; ++y) {
        std::uint8_t* row = dib.Row(y);
        for (int x = 0; x < pictureWidth; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int n = int(noise >> 28) - 8;
            row[3 * x] = std::uint8_t(std::clamp(128 + int(100 * std::sin(x / 300.0)) + n, 0, 255));
            row[3 * x + 1] = std::uint8_t(
                std::clamp((x + y) * 255 / (pictureWidth + pictureHeight) + n, 0, 255));
            row[3 * x + 2] = std::uint8_t(std::clamp(255 - y * 255 / pictureHeight + n, 0, 255));
        }
    }
    return dib.Release();
}

// ---- Anchors: the libraries on their own ----

struct JpegError {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void BM_LibjpegTurbo(benchmark::State& state) {
    std::vector<std::uint8_t> out(std::size_t(pictureWidth) * pictureHeight * 3);
    for (auto _ : state) {
        jpeg_decompress_struct info;
        JpegError err;
        info.err = jpeg_std_error(&err.base);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_EXT_BGR;
        jpeg_start_decompress(&info);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = out.data() + std::size_t(info.output_scanline) * pictureWidth * 3;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_LibpngSimplified(benchmark::State& state) {
    std::vector<std::uint8_t> out(std::size_t(pictureWidth) * pictureHeight * 3);
    for (auto _ : state) {
        png_image image;
        std::memset(&image, 0, sizeof image);
        image.version = PNG_IMAGE_VERSION;
        png_image_begin_read_from_memory(&image, pngBytes.data(), pngBytes.size());
        image.format = PNG_FORMAT_BGR;
        png_image_finish_read(&image, nullptr, out.data(), 0, nullptr);
        benchmark::DoNotOptimize(out.data());
    }
}

struct Memory {
    const crde::Bytes* bytes;
    toff_t at = 0;
};
tmsize_t MemRead(thandle_t h, void* b, tmsize_t n) {
    auto* m = static_cast<Memory*>(h);
    const tmsize_t left = tmsize_t(m->bytes->size() - m->at);
    n = std::min(n, left);
    std::memcpy(b, m->bytes->data() + m->at, std::size_t(n));
    m->at += toff_t(n);
    return n;
}
tmsize_t MemWrite(thandle_t, void*, tmsize_t) {
    return -1;
}
toff_t MemSeek(thandle_t h, toff_t o, int whence) {
    auto* m = static_cast<Memory*>(h);
    m->at = whence == SEEK_SET ? o : whence == SEEK_CUR ? m->at + o : m->bytes->size() + o;
    return m->at;
}
int MemClose(thandle_t) {
    return 0;
}
toff_t MemSize(thandle_t h) {
    return static_cast<Memory*>(h)->bytes->size();
}
int NoMap(thandle_t, void**, toff_t*) {
    return 0;
}
void NoUnmap(thandle_t, void*, toff_t) {}

void BM_LibtiffScanlines(benchmark::State& state) {
    std::vector<std::uint8_t> out(std::size_t(pictureWidth) * pictureHeight * 3);
    for (auto _ : state) {
        Memory m{&tiffLzw};
        TIFF* t = TIFFClientOpen("bench", "rm", &m, MemRead, MemWrite, MemSeek, MemClose, MemSize,
                                 NoMap, NoUnmap);
        for (int y = 0; y < pictureHeight; ++y)
            TIFFReadScanline(t, out.data() + std::size_t(y) * pictureWidth * 3, std::uint32_t(y),
                             0);
        TIFFClose(t);
        benchmark::DoNotOptimize(out.data());
    }
}

// The anchor writes into the same kind of memory the binding's bitmaps live in (large-picture
// memory, fresh each time), so both pay the same page faults.
void BM_PlainCopy(benchmark::State& state) {
    const std::size_t bytes = std::size_t(pictureWidth) * pictureHeight * 3;
    for (auto _ : state) {
        // A copy of the pixel bytes into new memory, as any decoder's output is new.
        auto* out = static_cast<std::uint8_t*>(LargeMemoryAlloc(bytes));
        std::memcpy(out, bmp.data() + 54, bytes);
        benchmark::DoNotOptimize(out);
        LargeMemoryFree(out, bytes);
    }
}

void BM_QtLoader(benchmark::State& state) {
    for (auto _ : state) {
        QImage image;
        image.loadFromData(jpeg.data(), int(jpeg.size()), "JPG");
        benchmark::DoNotOptimize(image.constBits());
    }
}

// ---- Ours: the binding's bitmap-level readers ----

void ReadThroughBinding(benchmark::State& state, imaging::EngineFormat format,
                        const crde::Bytes& bytes) {
    for (auto _ : state) {
        imaging::TBitmap bitmap;
        if (!imaging::ReadStreamToBitmap(format, bytes.data(), std::int32_t(bytes.size()), 24,
                                         false, 0, bitmap, nullptr, nullptr))
            state.SkipWithError("the reader failed");
        benchmark::DoNotOptimize(bitmap.Handle().constBits());
    }
}
void BM_JpegBinding(benchmark::State& s) {
    ReadThroughBinding(s, imaging::EngineFormat::Jpeg, jpeg);
}
void BM_PngBinding(benchmark::State& s) {
    ReadThroughBinding(s, imaging::EngineFormat::Png, pngBytes);
}
void BM_TiffBinding(benchmark::State& s) {
    ReadThroughBinding(s, imaging::EngineFormat::Tiff, tiffLzw);
}
void BM_BmpBinding(benchmark::State& s) {
    ReadThroughBinding(s, imaging::EngineFormat::Bmp, bmp);
}

double reduceError = 0;
void BM_ReduceFloyd(benchmark::State& state) {
    for (auto _ : state) {
        HGLOBAL reduced =
            imaging::ReduceDibColours(picture, 8, true, nullptr, nullptr, imaging::IL_FLOYD);
        state.PauseTiming();
        crde::DibView a(picture), b(reduced);
        std::vector<std::uint8_t> ra(pictureWidth * 3), rb(pictureWidth * 3);
        double sum = 0;
        for (int y = 0; y < pictureHeight; ++y) {
            a.RowBgr(y, ra.data());
            b.RowBgr(y, rb.data());
            for (int i = 0; i < pictureWidth * 3; ++i)
                sum += std::abs(int(ra[i]) - int(rb[i]));
        }
        reduceError = sum / (double(pictureWidth) * pictureHeight * 3);
        GlobalFree(reduced);
        state.ResumeTiming();
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    platform::NoDialogs dialogs;
    platform::SetDialogService(&dialogs);
    imaging::EngineBinding::Instance().Start();
    if (bench::Smoke()) {
        pictureWidth = 400;
        pictureHeight = 300;
    }
    picture = MakePicture();
    {
        crde::DibView view(picture);
        crde::WriteJpeg(view, 85, 0, false, jpeg);
        crde::WritePng(view, false, pngBytes);
        crde::WriteTiff(view, 5, tiffLzw);
        crde::WriteBmp(view, bmp);
    }
    benchmark::Initialize(&argc, argv);
    bench::Add("libjpeg_turbo", BM_LibjpegTurbo, 2);
    bench::Add("jpeg_binding", BM_JpegBinding, 2);
    bench::Add("qt_loader", BM_QtLoader, 2);
    bench::Add("libpng_simplified", BM_LibpngSimplified, 2);
    bench::Add("png_binding", BM_PngBinding, 2);
    bench::Add("libtiff_scanlines", BM_LibtiffScanlines, 2);
    bench::Add("tiff_binding", BM_TiffBinding, 2);
    bench::Add("plain_copy", BM_PlainCopy, 1);
    bench::Add("bmp_binding", BM_BmpBinding, 1);
    bench::Add("reduce_floyd", BM_ReduceFloyd, 0, 2);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ms = [&](const char* name) { return reporter.Time(name); };
    bool ok = true;
    ok &= bench::Report("JPEG 4000x3000 via binding / libjpeg-turbo to BGR",
                        ms("jpeg_binding") / ms("libjpeg_turbo"), 1.2, "x");
    std::printf("%-58s %8.2f x   (for comparison)\n", "JPEG 4000x3000 Qt's loader / libjpeg-turbo",
                ms("qt_loader") / ms("libjpeg_turbo"));
    ok &= bench::Report("PNG via binding / libpng simplified read",
                        ms("png_binding") / ms("libpng_simplified"), 1.2, "x");
    ok &= bench::Report("LZW TIFF via binding / libtiff scanline read",
                        ms("tiff_binding") / ms("libtiff_scanlines"), 1.2, "x");
    ok &= bench::Report("BMP 24-bit via binding / copy into large-picture memory",
                        ms("bmp_binding") / ms("plain_copy"), 2.0, "x");
    std::printf("%-58s %8.0f ms\n", "ReduceDib 24 to 8 bits, Floyd-Steinberg, 12 Mpixel",
                ms("reduce_floyd"));
    std::printf("%-58s %8.2f levels per channel\n", "  its mean error against the original",
                reduceError);
    GlobalFree(picture);
    imaging::EngineBinding::Instance().End();
    return bench::Exit(ok);
}
