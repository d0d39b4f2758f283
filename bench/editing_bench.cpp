// SPDX-License-Identifier: MIT
// The view's output and edits of a 12-megapixel picture, each against an anchor of the same
// run: SaveAsJPG against libjpeg-turbo compressing the same pixels at the same quality; the
// PNG and BMP another program asks of a copy on the clipboard against QImage::save of the
// same pixels; an inversion and a quarter turn against a copy of the pixels into new memory
// (each edit's result is new memory too), and the engine's own operations on a DIB alone
// against the copy each does the same traffic as (in place: a copy into memory already there;
// into a new DIB: a copy into new memory).
#include "bench/bench_report.h"
#include "bench/view_fixture.h"
#include "data/session.h"
#include "imaging/dib/dib.h"
#include "imaging/dib/dib_convert.h"
#include "imaging/engine/effects_binding.h"
#include "imaging/engine/engine_binding.h"
#include "platform/memory/global_memory.h"
#include "platform/ui/application.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>

namespace {

using namespace bench;

constexpr int kQuality = 75;
Fixture* fixture = nullptr;
QImage picture; // the view's picture as decoded from its record (24-bit rows)

// libjpeg-turbo alone: the picture's rows as they lie in memory, into a file.
void BM_LibJpeg(benchmark::State& state) {
    const QByteArray path = fixture->dir.filePath("anchor.jpg").toLocal8Bit();
    for (auto _ : state) {
        FILE* out = std::fopen(path.constData(), "wb");
        jpeg_compress_struct cinfo{};
        jpeg_error_mgr jerr{};
        cinfo.err = jpeg_std_error(&jerr);
        jpeg_create_compress(&cinfo);
        jpeg_stdio_dest(&cinfo, out);
        cinfo.image_width = JDIMENSION(picture.width());
        cinfo.image_height = JDIMENSION(picture.height());
        cinfo.input_components = picture.depth() / 8;
        cinfo.in_color_space = picture.depth() == 24 ? JCS_EXT_BGR : JCS_EXT_BGRX;
        jpeg_set_defaults(&cinfo);
        jpeg_set_quality(&cinfo, kQuality, TRUE);
        jpeg_start_compress(&cinfo, TRUE);
        while (cinfo.next_scanline < cinfo.image_height) {
            JSAMPROW row = const_cast<JSAMPROW>(picture.constScanLine(int(cinfo.next_scanline)));
            jpeg_write_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_compress(&cinfo);
        jpeg_destroy_compress(&cinfo);
        std::fclose(out);
    }
}

void BM_SaveAsJpg(benchmark::State& state) {
    const QString path = fixture->dir.filePath("saved.jpg");
    for (auto _ : state)
        fixture->view->SaveAsJPG(path);
}

void BM_BitmapToDib(benchmark::State& state) {
    for (auto _ : state) {
        HGLOBAL dib = nullptr;
        imaging::BitmapToDib(&fixture->view->Picture.Bitmap(), &dib);
        imaging::FreeDib(dib);
    }
}

// What another program waits for: the picture copied, then asked for in one format (the
// clipboard encodes it then).
void BM_Pasted(benchmark::State& state, const char* mime) {
    for (auto _ : state) {
        fixture->view->CopyToClipboard();
        const QByteArray bytes = QGuiApplication::clipboard()->mimeData()->data(mime);
        if (bytes.size() < 64) {
            state.SkipWithError("the clipboard gave no picture");
            break;
        }
        benchmark::DoNotOptimize(bytes.constData());
    }
}

// The toolkit writing the same pixels in the same format.
void BM_Saved(benchmark::State& state, const char* format) {
    const QImage shown = fixture->view->Picture.Bitmap().Handle();
    for (auto _ : state) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        shown.save(&buffer, format);
        benchmark::DoNotOptimize(bytes.constData());
    }
}

// A copy of the shown picture's pixels (as the view holds them: 3 bytes a pixel for the
// decoded photograph) into a new block, allocated as the engine's DIBs are (every edit's
// result is new memory too).
void BM_NewCopy(benchmark::State& state) {
    const QImage shown = fixture->view->Picture.Bitmap().Handle();
    const auto bytes = std::size_t(shown.sizeInBytes());
    for (auto _ : state) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
        void* to = GlobalLock(block);
        std::memcpy(to, shown.constBits(), bytes);
        benchmark::DoNotOptimize(to);
        GlobalUnlock(block);
        GlobalFree(block);
    }
}

// The pixels copied into a buffer that is already there: the bare memory traffic.
void BM_PlainCopy(benchmark::State& state) {
    const QImage shown = fixture->view->Picture.Bitmap().Handle();
    QImage copy(shown.size(), shown.format());
    copy.fill(0);
    for (auto _ : state) {
        std::memcpy(copy.bits(), shown.constBits(), std::size_t(shown.sizeInBytes()));
        benchmark::DoNotOptimize(copy.constBits());
    }
}

void BM_Invert(benchmark::State& state) {
    const QRgb before = fixture->view->Picture.Bitmap().Handle().pixel(0, 0);
    for (auto _ : state)
        fixture->view->InvertImage();
    // An even number of inversions gives the picture back; an odd one its negative.
    const QRgb after = fixture->view->Picture.Bitmap().Handle().pixel(0, 0);
    if ((state.iterations() % 2 == 0) != ((after & 0xFFFFFF) == (before & 0xFFFFFF)))
        state.SkipWithError("the picture was not inverted");
}

void BM_Rotate90(benchmark::State& state) {
    for (auto _ : state)
        fixture->view->RotateImage(0, 0, 0, 0, -90);
}

// The engine's operations on a DIB of the picture alone, without the edit frame's copies.
void BM_EngineInvert(benchmark::State& state) {
    HGLOBAL dib = nullptr;
    imaging::BitmapToTopDownDib(&fixture->view->Picture.Bitmap(), &dib);
    for (auto _ : state)
        if (imaging::ILInvertDib(dib) != 1) {
            state.SkipWithError("the engine did not invert");
            break;
        }
    imaging::FreeDib(dib);
}

void BM_EngineRotate90(benchmark::State& state) {
    HGLOBAL dib = nullptr;
    imaging::BitmapToTopDownDib(&fixture->view->Picture.Bitmap(), &dib);
    for (auto _ : state) {
        HGLOBAL turned = imaging::ILRotateDib(dib, -90, nullptr, Qt::white);
        if (!turned) {
            state.SkipWithError("the engine did not turn");
            break;
        }
        imaging::FreeDib(turned);
    }
    imaging::FreeDib(dib);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::TApplication app(argc, argv);
    bench::FailOnErrors();
    const bool smoke = bench::Smoke();
    data::Session().AddPassword("tamsin###");
    imaging::EngineBinding::Instance().Start();

    std::printf("Drawing the picture...\n");
    Fixture records;
    records.Open({Jpeg(Photo(smoke ? 800 : 4000, smoke ? 600 : 3000))}, true);
    fixture = &records;
    records.view->ILUndo = false; // the edits alone, not the undo copies
    records.view->SetJPegSaveQuality(kQuality);
    // What a user has: the record's photograph decoded by the engine.
    picture = records.view->Picture.Bitmap().Handle();
    std::printf("The shown picture: %d x %d, %d bits a pixel\n", picture.width(), picture.height(),
                picture.depth());

    benchmark::Initialize(&argc, argv);
    bench::Add("jpeg/libjpeg", BM_LibJpeg, 2);
    bench::Add("jpeg/SaveAsJPG", BM_SaveAsJpg, 2);
    bench::Add("copy/BitmapToDib", BM_BitmapToDib, 1);
    bench::Add(
        "clipboard/png", [](benchmark::State& st) { BM_Pasted(st, "image/png"); }, 1);
    bench::Add(
        "clipboard/png-save", [](benchmark::State& st) { BM_Saved(st, "PNG"); }, 1);
    bench::Add(
        "clipboard/bmp", [](benchmark::State& st) { BM_Pasted(st, "image/bmp"); }, 1);
    bench::Add(
        "clipboard/bmp-save", [](benchmark::State& st) { BM_Saved(st, "BMP"); }, 1);
    bench::Add("edit/new-copy", BM_NewCopy, 1);
    bench::Add("edit/plain-copy", BM_PlainCopy, 1);
    bench::Add("edit/invert", BM_Invert, 1);
    bench::Add("edit/rotate90", BM_Rotate90, 1);
    bench::Add("engine/invert", BM_EngineInvert, 1);
    bench::Add("engine/rotate90", BM_EngineRotate90, 1);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto t = [&](const char* name) { return reporter.Time(name); };
    bool ok = true;
    std::printf("\n");
    ok &= bench::Report("SaveAsJPG of 12 Mpixel / libjpeg-turbo alone",
                        t("jpeg/SaveAsJPG") / t("jpeg/libjpeg"), 1.15, "x");
    ok &= bench::Report("clipboard PNG another program asks / QImage::save",
                        t("clipboard/png") / t("clipboard/png-save"), 1.2, "x");
    ok &= bench::Report("clipboard BMP another program asks / QImage::save",
                        t("clipboard/bmp") / t("clipboard/bmp-save"), 1.2, "x");
    ok &= bench::Report("invert of 12 Mpixel / a copy of its pixels into new memory",
                        t("edit/invert") / t("edit/new-copy"), 1.5, "x");
    ok &= bench::Report("quarter turn of 12 Mpixel / a copy of its pixels into new memory",
                        t("edit/rotate90") / t("edit/new-copy"), 3.0, "x");
    ok &= bench::Report("engine's invert of a DIB / a copy into memory already there",
                        t("engine/invert") / t("edit/plain-copy"), 1.1, "x");
    ok &= bench::Report("engine's quarter turn of a DIB / a copy into new memory",
                        t("engine/rotate90") / t("edit/new-copy"), 2.0, "x");
    // For comparison, no target: where the edit frame's time goes. It makes a DIB of the
    // picture for the engine (one BitmapToDib) and takes the result back; the rest is the
    // engine's operation.
    std::printf("%-58s %8.2f x\n", "  the frame's DIB of the picture / a copy into new memory",
                t("copy/BitmapToDib") / t("edit/new-copy"));
    std::printf("%-58s %8.2f x\n", "  invert: frame and engine / engine alone",
                t("edit/invert") / t("engine/invert"));
    std::printf("%-58s %8.2f x\n", "  quarter turn: frame and engine / engine alone",
                t("edit/rotate90") / t("engine/rotate90"));
    std::printf("%-58s %8.2f x\n", "invert / a copy into memory already there",
                t("edit/invert") / t("edit/plain-copy"));
    std::printf("%-58s %8.2f x\n", "quarter turn / a copy into memory already there",
                t("edit/rotate90") / t("edit/plain-copy"));
    return bench::Exit(ok);
}
