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
#include "imaging/dib.h"
#include "imaging/dib_convert.h"
#include "imaging/effects_binding.h"
#include "imaging/engine_calls.h"
#include "platform/core/dialogs.h"

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

constexpr int kWidth = 4000, kHeight = 3000;

crde::Bytes jpeg, pngBytes, tiffLzw, bmp;
HGLOBAL picture = nullptr; // the 24-bit source DIB

// A photograph-like picture: smooth colour fields with fine texture.
HGLOBAL MakePicture() {
    crde::NewDib dib;
    dib.Create(kWidth, kHeight, 24, 0);
    std::uint32_t noise = 12345;
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* row = dib.Row(y);
        for (int x = 0; x < kWidth; ++x) {
            noise = noise * 1664525u + 1013904223u;
            const int n = int(noise >> 28) - 8;
            row[3 * x] = std::uint8_t(std::clamp(128 + int(100 * std::sin(x / 300.0)) + n, 0, 255));
            row[3 * x + 1] =
                std::uint8_t(std::clamp((x + y) * 255 / (kWidth + kHeight) + n, 0, 255));
            row[3 * x + 2] = std::uint8_t(std::clamp(255 - y * 255 / kHeight + n, 0, 255));
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
    std::vector<std::uint8_t> out(std::size_t(kWidth) * kHeight * 3);
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
            JSAMPROW row = out.data() + std::size_t(info.output_scanline) * kWidth * 3;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_LibpngSimplified(benchmark::State& state) {
    std::vector<std::uint8_t> out(std::size_t(kWidth) * kHeight * 3);
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
    std::vector<std::uint8_t> out(std::size_t(kWidth) * kHeight * 3);
    for (auto _ : state) {
        Memory m{&tiffLzw};
        TIFF* t = TIFFClientOpen("bench", "rm", &m, MemRead, MemWrite, MemSeek, MemClose, MemSize,
                                 NoMap, NoUnmap);
        for (int y = 0; y < kHeight; ++y)
            TIFFReadScanline(t, out.data() + std::size_t(y) * kWidth * 3, std::uint32_t(y), 0);
        TIFFClose(t);
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_PlainCopy(benchmark::State& state) {
    const std::size_t bytes = std::size_t(kWidth) * kHeight * 3;
    for (auto _ : state) {
        // A copy of the pixel bytes into a new buffer, as any decoder's output is new.
        std::unique_ptr<std::uint8_t[]> out(new std::uint8_t[bytes]);
        std::memcpy(out.get(), bmp.data() + 54, bytes);
        benchmark::DoNotOptimize(out.get());
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
        std::vector<std::uint8_t> ra(kWidth * 3), rb(kWidth * 3);
        double sum = 0;
        for (int y = 0; y < kHeight; ++y) {
            a.RowBgr(y, ra.data());
            b.RowBgr(y, rb.data());
            for (int i = 0; i < kWidth * 3; ++i)
                sum += std::abs(int(ra[i]) - int(rb[i]));
        }
        reduceError = sum / (double(kWidth) * kHeight * 3);
        GlobalFree(reduced);
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_LibjpegTurbo)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_JpegBinding)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_QtLoader)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_LibpngSimplified)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_PngBinding)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_LibtiffScanlines)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_TiffBinding)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMillisecond)->MinTime(1);
BENCHMARK(BM_BmpBinding)->Unit(benchmark::kMillisecond)->MinTime(1);
BENCHMARK(BM_ReduceFloyd)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    platform::NoDialogs dialogs;
    platform::SetDialogService(&dialogs);
    imaging::EngineBinding::Instance().Start();
    picture = MakePicture();
    {
        crde::DibView view(picture);
        crde::WriteJpeg(view, 85, 0, false, jpeg);
        crde::WritePng(view, false, pngBytes);
        crde::WriteTiff(view, 5, tiffLzw);
        crde::WriteBmp(view, bmp);
    }
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ms = [&](const char* name) { return reporter.ms[name]; };
    bool ok = true;
    ok &= bench::Report("JPEG 4000x3000 via binding / libjpeg-turbo to BGR",
                        ms("BM_JpegBinding/min_time:2.000") / ms("BM_LibjpegTurbo/min_time:2.000"),
                        1.2, "x");
    std::printf("%-58s %8.2f x   (for comparison)\n", "JPEG 4000x3000 Qt's loader / libjpeg-turbo",
                ms("BM_QtLoader/min_time:2.000") / ms("BM_LibjpegTurbo/min_time:2.000"));
    ok &= bench::Report(
        "PNG via binding / libpng simplified read",
        ms("BM_PngBinding/min_time:2.000") / ms("BM_LibpngSimplified/min_time:2.000"), 1.2, "x");
    ok &= bench::Report(
        "LZW TIFF via binding / libtiff scanline read",
        ms("BM_TiffBinding/min_time:2.000") / ms("BM_LibtiffScanlines/min_time:2.000"), 1.2, "x");
    ok &= bench::Report("BMP 24-bit via binding / plain copy of its pixels",
                        ms("BM_BmpBinding/min_time:1.000") / ms("BM_PlainCopy/min_time:1.000"), 2.0,
                        "x");
    std::printf("%-58s %8.0f ms\n", "ReduceDib 24 to 8 bits, Floyd-Steinberg, 12 Mpixel",
                ms("BM_ReduceFloyd/iterations:2"));
    std::printf("%-58s %8.2f levels per channel\n", "  its mean error against the original",
                reduceError);
    GlobalFree(picture);
    imaging::EngineBinding::Instance().End();
    return ok ? 0 : 1;
}
