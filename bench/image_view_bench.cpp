// SPDX-License-Identifier: MIT
// The image view as users wait for it, each figure against an anchor of the same run: the
// next record's picture on screen against the engine's decode of the same blob alone, cold and
// with the neighbour read ahead (the read ahead done while the user looks, untimed); a
// zoomed paint of a 100-megapixel picture against the same paint of a 1-megapixel one; a
// panning mouse move against one zoomed paint; and the memory a 100-megapixel picture adds
// against the picture's own bytes.
#include "bench/bench_report.h"
#include "bench/view_fixture.h"
#include "controls/imageview/db_multi_image.h"
#include "data/data_source.h"
#include "data/field.h"
#include "data/session.h"
#include "data/table.h"
#include "imaging/decoding/decoder.h"
#include "imaging/decoding/read_ahead.h"
#include "imaging/dib/dib.h"
#include "imaging/engine/engine_binding.h"
#include "imaging/engine/engine_calls.h"
#include "platform/ui/application.h"
#include "tools/catalog/catalogue_tables.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWindow>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <limits>
#include <string>

namespace {

using namespace bench;

// The resident memory of the process, in bytes.
double Resident() {
    std::ifstream statm("/proc/self/statm");
    double size = 0, resident = 0;
    statm >> size >> resident;
    return resident * 4096;
}

// The peak of the resident memory is set back to what is resident now; false when the system
// does not let it be (then no peak can be measured).
bool ResetPeakResident() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return bool(clear);
}

// The highest resident memory since the last reset, in bytes (0 when unknown).
double PeakResident() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes * 1024;
        }
        status.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    return 0;
}

Fixture* next = nullptr;

void BM_NextRecord(benchmark::State& state) {
    bool forward = true;
    for (auto _ : state) {
        forward ? next->table.GoNext() : next->table.GoPrior();
        forward = !forward;
        next->view->repaint();
    }
}

// The same move with the neighbours read ahead while the user looks at the picture.
void BM_NextRecordReadAhead(benchmark::State& state) {
    imaging::Decoder decoder(2);
    imaging::ReadAhead ahead(decoder);
    next->view->SetReadAhead(&ahead);
    auto* field = static_cast<data::TBlobField*>(next->table.FindField("GraphicFile"));
    bool forward = true;
    for (auto _ : state) {
        state.PauseTiming();
        ahead.Want({next->view->ReadRequest(next->table.NeighbourBlob(*field, forward ? 1 : -1))});
        decoder.WaitIdle();
        state.ResumeTiming();
        forward ? next->table.GoNext() : next->table.GoPrior();
        forward = !forward;
        next->view->repaint();
    }
    if (ahead.Held() != 0)
        state.SkipWithError("the picture read ahead was not taken");
    next->view->SetReadAhead(nullptr);
}

void BM_EngineDecode(benchmark::State& state) {
    for (auto _ : state) {
        HGLOBAL dib = nullptr;
        imaging::ReadStreamToDib(imaging::EngineFormat::Jpeg, next->photo.constData(),
                                 std::int32_t(next->photo.size()), 24, false, 0, &dib, nullptr,
                                 nullptr);
        imaging::FreeDib(dib);
    }
}

// A view at zoom 4 over a picture held directly.
std::unique_ptr<controls::TPDBMultiImage> ZoomedView(const QImage& picture) {
    auto view = std::make_unique<controls::TPDBMultiImage>();
    view->resize(kView);
    view->Loaded();
    ShowExposed(view.get());
    imaging::TBitmap bitmap;
    bitmap.SetHandle(picture);
    view->Picture.SetBitmap(bitmap);
    view->ZoomIn(4.0);
    return view;
}

controls::TPDBMultiImage* hugeView = nullptr;
controls::TPDBMultiImage* smallView = nullptr;

void BM_ZoomHuge(benchmark::State& state) {
    for (auto _ : state)
        hugeView->repaint();
}
void BM_ZoomSmall(benchmark::State& state) {
    for (auto _ : state)
        smallView->repaint();
}

void BM_PanMove(benchmark::State& state) {
    // Grab the picture and drag it some way in first, so every measured move moves it.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(600, 400), QPointF(600, 400),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(hugeView, &press);
    QMouseEvent in(QEvent::MouseMove, QPointF(320, 240), QPointF(320, 240), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(hugeView, &in);
    int step = 0;
    for (auto _ : state) {
        const int d = step++ % 2 ? 8 : -8;
        const QPointF at(320 + d, 240 + d);
        QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(hugeView, &move);
    }
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(320, 240), QPointF(320, 240),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(hugeView, &release);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::TApplication app(argc, argv);
    bench::FailOnErrors();
    const bool smoke = bench::Smoke();
    data::Session().AddPassword("tamsin###");
    imaging::EngineBinding::Instance().Start();

    std::printf("Drawing and encoding the pictures...\n");
    Fixture records;
    records.photo = Jpeg(Photo(smoke ? 800 : 4000, smoke ? 600 : 3000));
    records.Open({records.photo, records.photo}, true);
    next = &records;

    // Memory: a record of a small picture, then one of 100 megapixels.
    const int hw = smoke ? 2000 : 11547, hh = smoke ? 1500 : 8660;
    const QImage hugePicture = Photo(hw, hh);
    Fixture memory;
    memory.Open({Jpeg(Photo(64, 48)), Jpeg(hugePicture)}, true);
    memory.view->repaint();
    // The peak while the record is decoded and shown: what the machine must have, not what
    // stays once the decoder's buffers are gone.
    const double before = Resident();
    if (!ResetPeakResident()) {
        std::fprintf(stderr, "the peak resident memory cannot be reset\n");
        bench::Broken() = true;
    }
    memory.table.GoNext();
    memory.view->repaint();
    const double grown = PeakResident() - before;
    const double pictureBytes = double(hw) * hh * 3;

    auto hugeOwner = ZoomedView(hugePicture);
    auto smallOwner = ZoomedView(Photo(1155, 866));
    hugeView = hugeOwner.get();
    smallView = smallOwner.get();

    benchmark::Initialize(&argc, argv);
    bench::Add("next/record", BM_NextRecord, 2);
    bench::Add("next/record-read-ahead", BM_NextRecordReadAhead, 2);
    bench::Add("next/engine-decode", BM_EngineDecode, 2);
    bench::Add("zoom4/100mp", BM_ZoomHuge, 1);
    bench::Add("zoom4/1mp", BM_ZoomSmall, 1);
    bench::Add("pan/move", BM_PanMove, 1);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto t = [&](const char* name) { return reporter.Time(name); };
    bool ok = true;
    std::printf("\n");
    ok &= bench::Report("next record to painted picture / engine decode",
                        t("next/record") / t("next/engine-decode"), 1.25, "x");
    ok &= bench::Report("the same with the neighbour read ahead / engine decode",
                        t("next/record-read-ahead") / t("next/engine-decode"), 0.25, "x");
    ok &= bench::Report("view's zoomed paint of 100 Mpixel / of 1 Mpixel",
                        t("zoom4/100mp") / t("zoom4/1mp"), 1.2, "x");
    ok &= bench::Report("panning mouse move / one zoomed paint", t("pan/move") / t("zoom4/100mp"),
                        1.2, "x");
    ok &= bench::Report("peak resident growth showing 100 Mpixel / picture bytes",
                        grown / pictureBytes, 1.15, "x");
    return bench::Exit(ok);
}
