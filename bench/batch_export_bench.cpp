// SPDX-License-Identifier: MIT
// Exporting records to PNG files, each figure against an anchor of the same run: the export on
// one worker against the engine's decode and PNG write of the same pictures in a plain loop,
// and its speed-up from one worker to two against the machine's ceiling, plain threads doing
// that loop's work from one thread to two. 10 000 records (100 in smoke mode) of the
// collection's bitmap formats in turn.
#include "bench/bench_report.h"
#include "imaging/engine/engine_binding.h"
#include "imaging/engine/engine_calls.h"
#include "imaging/export/batch_export.h"
#include "platform/ui/application.h"
#include "tools/samples/collection.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

struct Record {
    QString name;
    QByteArray blob;
};
std::vector<Record> records;
QTemporaryDir* out = nullptr;

bool MakeRecords() {
    using F = samples::SampleFormat;
    const F kinds[] = {F::Jpg, F::Png, F::Gif, F::TifLzw, F::Bmp24, F::Pcx, F::Tga};
    std::vector<Record> one;
    for (const samples::Sample& s : samples::Collection())
        for (F k : kinds)
            if (s.Format == k && one.size() < 21)
                one.push_back({s.Stem, samples::Encode(s)});
    if (one.size() < 7)
        return false;
    const std::size_t count = bench::Smoke() ? 100 : 10000;
    for (std::size_t i = 0; i < count; ++i)
        records.push_back(
            {QStringLiteral("P%1.BMP").arg(i, 5, 10, QLatin1Char('0')), one[i % one.size()].blob});
    return true;
}

QString PathOf(std::size_t i) {
    return QDir(out->path()).filePath(QStringLiteral("P%1.png").arg(i, 5, 10, QLatin1Char('0')));
}

// The anchor's work for one record: the engine's decode, then its PNG write into the file.
bool DecodeAndWrite(std::size_t i) {
    imaging::DecodeRequest request;
    request.Blob = records[i].blob;
    const imaging::DecodeResult r = imaging::Decoder::DecodeNow(request);
    if (r.What != imaging::DecodeResult::Kind::Picture)
        return false;
    // The export's own writer: the engine's PNG writer into a side file renamed over the file.
    imaging::ExportOptions png;
    png.Format = imaging::FormatOfLoadName("PNG");
    QString error;
    return imaging::WriteExport(r, png, PathOf(i), true, &error) == imaging::WriteOutcome::Written;
}

// Plain threads, each taking the next record.
void BM_Direct(benchmark::State& state) {
    for (auto _ : state)
        if (bench::OnPlainThreads(int(state.range(0)), records.size(), DecodeAndWrite) > 0) {
            state.SkipWithError("a decode or write failed");
            break;
        }
}

// The export with that many workers: planning, then decoding and writing every record.
void BM_Export(benchmark::State& state) {
    imaging::Decoder decoder(int(state.range(0)));
    const imaging::ExportSource source{int(records.size()),
                                       [](int i) { return records[std::size_t(i)].name; },
                                       [](int i) { return records[std::size_t(i)].blob; }};
    for (auto _ : state) {
        imaging::ExportOptions png;
        png.Format = imaging::FormatOfLoadName("PNG");
        imaging::BatchExport batch(decoder, png, out->path());
        batch.Plan(source);
        const imaging::ExportSummary s = batch.Run(source, imaging::ExistingFiles::Replace);
        if (s.Written != int(records.size())) {
            state.SkipWithError("not every record was written");
            break;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings, folder;
    out = &folder;
    qputenv("VLMOR_WINDOWS_DIR", settings.path().toLocal8Bit());
    platform::TApplication app(argc, argv);
    bench::FailOnErrors();
    imaging::EngineBinding::Instance().Start();
    if (!MakeRecords()) {
        std::fprintf(stderr, "the pictures could not be made\n");
        return 1;
    }
    std::printf("%zu records of 7 formats to PNG, %u cores\n", records.size(),
                std::thread::hardware_concurrency());

    benchmark::Initialize(&argc, argv);
    bench::Add("loop/1", BM_Direct, 0, 1)->Arg(1);
    bench::Add("loop/2", BM_Direct, 0, 1)->Arg(2);
    bench::Add("export/1", BM_Export, 0, 1)->Arg(1);
    bench::Add("export/2", BM_Export, 0, 1)->Arg(2);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto t = [&](const char* name) { return reporter.Time(name); };
    const double ceiling = t("loop/1") / t("loop/2");
    const double ours = t("export/1") / t("export/2");
    std::printf("\n%-58s %8.2f x\n", "  plain threads: one / two", ceiling);
    std::printf("%-58s %8.2f x\n", "  export: one worker / two", ours);
    bool ok = bench::Report("export on one worker / decode + PNG write in a loop",
                            t("export/1") / t("loop/1"), 1.2, "x");
    // A speed-up against a speed-up; as a time ratio, at most 1 / 0.9.
    ok &= bench::Report("plain threads' speed-up / the export's (two workers)", ceiling / ours,
                        1 / 0.9, "x");
    return bench::Exit(ok);
}
