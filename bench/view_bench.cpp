// SPDX-License-Identifier: MIT
// The image view's stretched copies against the toolkit's own in the same run: a fitted paint
// of a 36-megapixel picture into 640 x 480 against QPainter::drawImage without smoothing (of
// the same 24-bit picture, and of an RGB32 copy of it, the toolkit's fastest source; the
// outputs must agree pixel for pixel), and
// a zoomed paint (zoom 4) of a 100-megapixel picture against the same paint of a 1-megapixel
// one: the cost must follow the window, not the picture.
#include "bench/bench_report.h"
#include "imaging/dib/stretch_blit.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

const QSize kView(640, 480);
QImage fitted, fitted32, huge, small;

// A picture for the fitted paint: constant over the source span of each target pixel (the
// view takes a span's first pixel, the toolkit the one under the target pixel's centre), so
// both give the same pixels when they map the same spans.
QImage SpanPicture(int w, int h) {
    QImage image(w, h, QImage::Format_BGR888);
    auto span = [](int at, int length, int to) {
        return int((std::int64_t(at) * to + length - 1) / length); // ceil(at * to / length)
    };
    for (int y = 0; y < h; ++y) {
        uchar* row = image.scanLine(y);
        const int ty = span(y + 1, h, kView.height()) - 1;
        for (int x = 0; x < w; ++x) {
            const int tx = span(x + 1, w, kView.width()) - 1;
            row[3 * x] = uchar(tx);
            row[3 * x + 1] = uchar(ty);
            row[3 * x + 2] = uchar(tx ^ ty);
        }
    }
    return image;
}

QImage Picture(int w, int h) {
    QImage image(w, h, QImage::Format_BGR888);
    for (int y = 0; y < h; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = uchar(x);
            row[3 * x + 1] = uchar(y);
            row[3 * x + 2] = uchar(x ^ y);
        }
    }
    return image;
}

void BM_FitOurs(benchmark::State& state) {
    for (auto _ : state) {
        QImage out = imaging::StretchBlit(fitted, fitted.rect(), kView,
                                          imaging::StretchMode::ColourOnColour);
        benchmark::DoNotOptimize(out.constBits());
    }
}

QImage QtFitted(const QImage& source) {
    QImage target(kView, QImage::Format_RGB32);
    QPainter p(&target);
    p.drawImage(QRect(QPoint(0, 0), kView), source, source.rect());
    p.end();
    return target;
}

void FitQt(benchmark::State& state, const QImage& source) {
    QImage target(kView, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&target);
        p.drawImage(QRect(QPoint(0, 0), kView), source, source.rect());
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
void BM_FitQt(benchmark::State& s) {
    FitQt(s, fitted);
}
void BM_FitQt32(benchmark::State& s) {
    FitQt(s, fitted32);
}

// Zoom 4: the visible source is a quarter of the view's size, in the middle of the picture.
void Zoomed(benchmark::State& state, const QImage& picture) {
    const QRect visible(picture.width() / 2, picture.height() / 2, kView.width() / 4,
                        kView.height() / 4);
    for (auto _ : state) {
        QImage out =
            imaging::StretchBlit(picture, visible, kView, imaging::StretchMode::ColourOnColour);
        benchmark::DoNotOptimize(out.constBits());
    }
}
void BM_ZoomHuge(benchmark::State& s) {
    Zoomed(s, huge);
}
void BM_ZoomSmall(benchmark::State& s) {
    Zoomed(s, small);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const bool smoke = bench::Smoke();
    std::printf("Drawing the pictures...\n");
    fitted = SpanPicture(smoke ? 1200 : 6928, smoke ? 900 : 5196); // 36 megapixels
    huge = Picture(smoke ? 2000 : 11547, smoke ? 1500 : 8660);     // 100 megapixels
    small = Picture(1155, 866);                                    // 1 megapixel
    fitted32 = fitted.convertToFormat(QImage::Format_RGB32);
    // The anchors do what the view does: the same pixels come out of all three.
    const QImage ours =
        imaging::StretchBlit(fitted, fitted.rect(), kView, imaging::StretchMode::ColourOnColour)
            .convertToFormat(QImage::Format_RGB32);
    if (ours != QtFitted(fitted) || ours != QtFitted(fitted32)) {
        std::fprintf(stderr, "the fitted paints differ from the toolkit's\n");
        bench::Broken() = true;
    }
    benchmark::Initialize(&argc, argv);
    bench::Add("fit/ours", BM_FitOurs, 1);
    bench::Add("fit/qpainter", BM_FitQt, 1);
    bench::Add("fit/qpainter-rgb32", BM_FitQt32, 1);
    bench::Add("zoom4/100mp", BM_ZoomHuge, 1);
    bench::Add("zoom4/1mp", BM_ZoomSmall, 1);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto t = [&](const char* name) { return reporter.Time(name); };
    bool ok = true;
    std::printf("\n");
    ok &= bench::Report("fitted paint of 36 Mpixel / QPainter::drawImage",
                        t("fit/ours") / t("fit/qpainter"), 1.0, "x");
    ok &= bench::Report("  / QPainter::drawImage of an RGB32 copy",
                        t("fit/ours") / t("fit/qpainter-rgb32"), 1.0, "x");
    ok &= bench::Report("zoomed paint of 100 Mpixel / of 1 Mpixel",
                        t("zoom4/100mp") / t("zoom4/1mp"), 1.2, "x");
    return bench::Exit(ok);
}
