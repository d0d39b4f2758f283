// SPDX-License-Identifier: MIT
// Decoding on worker threads against the machine's own parallel ceiling, in the same run: the
// speed-up of the decoder from one worker to two, on 200 pictures of mixed formats, against the
// speed-up of plain threads calling the engine's C readers directly, from one thread to two. A
// lock around the engine would show as about half of the ceiling.
#include "bench/bench_report.h"
#include "imaging/decoding/decoder.h"
#include "imaging/dib/dib.h"
#include "imaging/engine/engine_binding.h"
#include "imaging/engine/engine_call_support.h"
#include "imaging/engine/engine_calls.h"
#include "platform/ui/application.h"
#include "tools/samples/collection.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

namespace {

using imaging::EngineFormat;

// One picture and the direct call of its reader (looked up before the timing).
struct Picture {
    QByteArray blob;
    std::function<std::int16_t(HGLOBAL*)> read;
};
std::vector<Picture> pictures;

// The reader export of a format, called as the binding calls it (depth 24, no dither).
std::function<std::int16_t(HGLOBAL*)> DirectReader(EngineFormat format, const QByteArray& blob) {
    const imaging::calls::FormatEntry& e = imaging::calls::Entry(format);
    void* entry = nullptr;
    if (!imaging::EngineBinding::Instance().LoadEngineFunction(
            QString::fromLatin1(imaging::EngineBinding::LibraryName), e.read, &entry))
        return nullptr;
    const void* data = blob.constData();
    const auto size = std::int32_t(blob.size());
    using K = imaging::calls::ReadKind;
    switch (e.readKind) {
    case K::Jpeg:
        return [=](HGLOBAL* dib) {
            return reinterpret_cast<CrdeReadJpegStream>(entry)(data, size, 24, 1, 0, dib, nullptr,
                                                               nullptr, nullptr, 0);
        };
    case K::Palette:
        return [=](HGLOBAL* dib) {
            return reinterpret_cast<CrdeReadStreamPal>(entry)(data, size, 24, 0, dib, nullptr,
                                                              nullptr, nullptr, 0);
        };
    case K::Plain:
        return [=](HGLOBAL* dib) {
            return reinterpret_cast<CrdeReadStream>(entry)(data, size, 24, 0, dib, nullptr, nullptr,
                                                           0);
        };
    case K::Page:
        return [=](HGLOBAL* dib) {
            return reinterpret_cast<CrdeReadStreamPage>(entry)(data, size, 24, 0, 0, dib, nullptr,
                                                               nullptr, 0);
        };
    case K::Drawing:
        break;
    }
    return nullptr;
}

// The collection's bitmap formats in turn, 200 pictures.
bool MakePictures() {
    struct Kind {
        samples::SampleFormat format;
        EngineFormat engine;
    };
    const Kind kinds[] = {
        {samples::SampleFormat::Jpg, EngineFormat::Jpeg},
        {samples::SampleFormat::Png, EngineFormat::Png},
        {samples::SampleFormat::Gif, EngineFormat::Gif},
        {samples::SampleFormat::TifLzw, EngineFormat::Tiff},
        {samples::SampleFormat::Bmp24, EngineFormat::Bmp},
        {samples::SampleFormat::Pcx, EngineFormat::Pcx},
        {samples::SampleFormat::Tga, EngineFormat::Tga},
    };
    // Two pictures of each format, in turn.
    std::vector<Picture> one;
    const std::vector<samples::Sample> collection = samples::Collection();
    for (int round = 0; round < 2; ++round)
        for (const Kind& k : kinds) {
            int seen = 0;
            for (const samples::Sample& s : collection)
                if (s.Format == k.format && seen++ == round) {
                    Picture p{samples::Encode(s), nullptr};
                    p.read = DirectReader(k.engine, p.blob);
                    if (!p.read)
                        return false;
                    one.push_back(std::move(p));
                }
        }
    if (one.size() < 7)
        return false;
    const std::size_t count = bench::Smoke() ? 28 : 200;
    while (pictures.size() < count)
        pictures.push_back(one[pictures.size() % one.size()]);
    return true;
}

// Plain threads, each taking the next picture and calling its reader.
void BM_Direct(benchmark::State& state) {
    auto read = [](std::size_t i) {
        HGLOBAL dib = nullptr;
        const bool ok = pictures[i].read(&dib) >= 1;
        imaging::FreeDib(dib);
        return ok;
    };
    for (auto _ : state)
        if (bench::OnPlainThreads(int(state.range(0)), pictures.size(), read) > 0) {
            state.SkipWithError("a direct read failed");
            break;
        }
}

// The decoder with that many workers, every picture submitted at once.
void BM_Decoder(benchmark::State& state) {
    imaging::Decoder decoder(int(state.range(0)));
    for (auto _ : state) {
        // Each result checked and let go as it comes, as the plain threads free each picture.
        std::atomic<int> decoded = 0;
        for (const Picture& p : pictures) {
            imaging::DecodeRequest r;
            r.Blob = p.blob;
            decoder.Submit(std::move(r), 0, [&](const imaging::DecodeJob& job) {
                decoded += job.Wait().What == imaging::DecodeResult::Kind::Picture;
            });
        }
        decoder.WaitIdle(); // one wake-up, as the plain threads' one join
        if (decoded != int(pictures.size())) {
            state.SkipWithError("a decode failed");
            break;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    qputenv("VLMOR_WINDOWS_DIR", settings.path().toLocal8Bit());
    platform::TApplication app(argc, argv);
    bench::FailOnErrors();
    imaging::EngineBinding::Instance().Start();
    if (!MakePictures()) {
        std::fprintf(stderr, "the pictures could not be made or their readers found\n");
        return 1;
    }
    std::printf("%zu pictures of 7 formats, %u cores\n", pictures.size(),
                std::thread::hardware_concurrency());

    benchmark::Initialize(&argc, argv);
    bench::Add("direct/1", BM_Direct, 1)->Arg(1);
    bench::Add("direct/2", BM_Direct, 1)->Arg(2);
    bench::Add("decoder/1", BM_Decoder, 1)->Arg(1);
    bench::Add("decoder/2", BM_Decoder, 1)->Arg(2);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto t = [&](const char* name) { return reporter.Time(name); };
    const double ceiling = t("direct/1") / t("direct/2");
    const double ours = t("decoder/1") / t("decoder/2");
    std::printf("\n%-58s %8.2f x\n", "  plain threads: one / two", ceiling);
    std::printf("%-58s %8.2f x\n", "  decoder: one worker / two", ours);
    // The figure is a speed-up against a speed-up; as a time ratio, at most 1 / 0.9.
    const bool ok = bench::Report("plain threads' speed-up / the decoder's (two workers)",
                                  ceiling / ours, 1 / 0.9, "x");
    return bench::Exit(ok);
}
