// SPDX-License-Identifier: MIT
// A vector picture out of the program, each figure against an anchor of the same run: Copy of
// a drawing (what is offered on the clipboard) and the SVG made when another program asks for
// it, both against one play of the picture into a bitmap of its size.
#include "bench/bench_report.h"
#include "controls/imageview/db_multi_image.h"
#include "imaging/metafile/metafile.h"
#include "platform/ui/application.h"
#include "tools/samples/collection.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

imaging::Metafile picture;
std::unique_ptr<controls::TPDBMultiImage> view;

// The anchor: the picture played once into a bitmap of its natural size.
void BM_Play(benchmark::State& state) {
    for (auto _ : state) {
        QImage image(picture.Size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        if (!picture.Play(painter, QRectF(QPointF(0, 0), QSizeF(picture.Size()))))
            state.SkipWithError("the picture did not play");
        benchmark::DoNotOptimize(image.constBits());
    }
}

// File > Copy to Clipboard on the drawing shown.
void BM_Copy(benchmark::State& state) {
    for (auto _ : state)
        view->CopyToClipboard();
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasFormat(QStringLiteral("image/svg+xml")))
        state.SkipWithError("no SVG was offered");
}

// Another program asks for the SVG of a fresh copy.
void BM_SvgAsked(benchmark::State& state) {
    qsizetype bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        view->CopyToClipboard();
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        state.ResumeTiming();
        bytes = mime->data(QStringLiteral("image/svg+xml")).size();
    }
    if (bytes < 100)
        state.SkipWithError("the SVG is empty");
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::TApplication app(argc, argv);
    bench::FailOnErrors();
    // The collection's first enhanced metafile.
    for (const samples::Sample& s : samples::Collection())
        if (s.Format == samples::SampleFormat::Emf && picture.Empty())
            picture.Load(samples::Encode(s));
    if (picture.Empty())
        bench::Broken() = true;
    view = std::make_unique<controls::TPDBMultiImage>();
    view->resize(640, 480);
    view->Loaded();
    view->Picture.SetMetafile(picture);

    benchmark::Initialize(&argc, argv);
    bench::Add("vector/play", BM_Play, 1);
    bench::Add("vector/copy", BM_Copy, 1);
    bench::Add("vector/svg_asked", BM_SvgAsked, 1);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    view.reset();

    auto t = [&](const char* name) { return reporter.Time(name); };
    bool ok = true;
    ok &= bench::Report("Copy of a drawing / one play of it", t("vector/copy") / t("vector/play"),
                        1.2, "x");
    ok &= bench::Report("its SVG when asked / one play of it",
                        t("vector/svg_asked") / t("vector/play"), 2, "x");
    return bench::Exit(ok);
}
