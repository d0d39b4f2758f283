// SPDX-License-Identifier: MIT
// The image view's stretched copies against the toolkit's own in the same run: a fitted paint
// of a 36-megapixel picture into 640 x 480 against QPainter::drawImage without smoothing, and
// a zoomed paint (zoom 4) of a 100-megapixel picture against the same paint of a 1-megapixel
// one: the cost must follow the window, not the picture.
#include "bench/bench_report.h"
#include "imaging/stretch_blit.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

const QSize kView(640, 480);
QImage fitted, huge, small;

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

void BM_FitQt(benchmark::State& state) {
    QImage target(kView, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&target);
        p.drawImage(QRect(QPoint(0, 0), kView), fitted, fitted.rect());
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
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
    fitted = Picture(smoke ? 1200 : 6928, smoke ? 900 : 5196); // 36 megapixels
    huge = Picture(smoke ? 2000 : 11547, smoke ? 1500 : 8660); // 100 megapixels
    small = Picture(1155, 866);                                // 1 megapixel
    benchmark::Initialize(&argc, argv);
    bench::Add("fit/ours", BM_FitOurs, 1);
    bench::Add("fit/qpainter", BM_FitQt, 1);
    bench::Add("zoom4/100mp", BM_ZoomHuge, 1);
    bench::Add("zoom4/1mp", BM_ZoomSmall, 1);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto t = [&](const char* name) { return reporter.Time(name); };
    bool ok = true;
    std::printf("\n");
    ok &= bench::Report("fitted paint of 36 Mpixel / QPainter::drawImage",
                        t("fit/ours") / t("fit/qpainter"), 1.0, "x");
    ok &= bench::Report("zoomed paint of 100 Mpixel / of 1 Mpixel",
                        t("zoom4/100mp") / t("zoom4/1mp"), 1.2, "x");
    return bench::Exit(ok);
}
