// SPDX-License-Identifier: MIT
// The overview on a generated 100 000-record catalogue (1 000 in smoke mode) whose first records
// hold the sample collection's pictures in their formats, each figure a ratio against an anchor
// measured in the same run:
//   entering the overview, cold: the first screen of tiles    vs  the engine's decode of those
//   looked for in an empty disk cache, decoded, painted           tiles alone, same two workers
//   entering it again with the disk cache warm                vs  the cold figure
//   a scroll step over cached tiles: one screen painted       vs  drawing the same tile images
//                                                                 and captions with QPainter,
//                                                                 beside the same scroll bar
//   tile decoding, one worker to two                          vs  plain threads, one to two
//                                                                 (the machine's ceiling)
//   the overview's own memory a record (1 000 000 records; 10 000 in smoke mode), beyond its
//   caches, and the find index's memory against the bytes of the texts it indexes.
#include "bench/bench_report.h"
#include "controls/overview/overview_view.h"
#include "data/catalogue_schema.h"
#include "data/data_source.h"
#include "data/field.h"
#include "data/find_index.h"
#include "data/session.h"
#include "data/table.h"
#include "data/thumbnail_store.h"
#include "imaging/decoding/decoder.h"
#include "imaging/engine/engine_binding.h"
#include "platform/ui/application.h"
#include "tools/catalog/catalogue_tables.h"
#include "tools/samples/collection.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <malloc.h>
#include <thread>

namespace {

int recordCount = 100000;
int memoryRecords = 1000000;
constexpr QSize kWindow(1000, 700);

struct Fixture {
    QTemporaryDir dir;
    data::TTable table;
    data::TDataSource source;
    std::unique_ptr<imaging::Decoder> decoder;
    QString store;
    std::vector<QByteArray> screenBlobs; // the pictures of the first screen, in grid order
} fixture;

// The collection's bitmap pictures in turn for the first records, a tiny BMP for the rest.
void WriteCatalogue(const QString& path, int records, bool pictures) {
    std::vector<QByteArray> real;
    if (pictures)
        for (const samples::Sample& s : samples::Collection())
            if (s.Draw && s.Format != samples::SampleFormat::Eps &&
                s.Format != samples::SampleFormat::Pcd)
                real.push_back(samples::Encode(s));
    QByteArray tiny(102, '\0');
    const unsigned char header[54] = {'B', 'M', 102, 0, 0,  0, 0, 0, 0, 0, 54, 0,
                                      0,   0,   40,  0, 0,  0, 4, 0, 0, 0, 4,  0,
                                      0,   0,   1,   0, 24, 0, 0, 0, 0, 0, 48, 0};
    std::copy(header, header + 54, tiny.begin());
    catalog::CatalogueWriter writer(path);
    for (int i = 0; i < records; ++i)
        writer.Add({QStringLiteral("P%1.BMP").arg(i, 7, 10, QLatin1Char('0')),
                    QStringLiteral("Picture number %1 of the bench").arg(i), "misc",
                    i < 400 && !real.empty() ? real[size_t(i) % real.size()] : tiny});
    writer.Commit();
}

// The window the grid shows in, made once: entering the overview shows the grid in a window
// that is already on the screen, as the program's main window is.
std::unique_ptr<QWidget> host;

// A grid in the window, not shown yet.
std::unique_ptr<controls::TOverview> MakeGrid() {
    auto grid = std::make_unique<controls::TOverview>(*fixture.decoder, 64 << 20);
    grid->setParent(host.get());
    grid->setGeometry(host->rect());
    return grid;
}

// Until every tile of the screen is in the memory cache and painted (the tile that completes
// the screen has it painted). Between arrivals the GUI thread sleeps in its event loop, as
// the program's does, leaving the cores to the decodes.
void ShowFirstScreen(controls::TOverview& grid) {
    grid.SetDataSource(&fixture.source, "FileName", "Description", "GraphicFile");
    grid.show();
    for (;;) {
        QCoreApplication::processEvents();
        const auto [first, last] = grid.ShownRows();
        bool all = last >= first;
        for (int row = first; all && row <= last; ++row)
            all = grid.Cache().Contains(grid.KeyAt(row));
        if (all)
            break;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QCoreApplication::processEvents(); // whatever paint is still pending
}

// The first screen's pictures decoded by the engine alone, on the same workers.
bool DecodeScreen() {
    const int side = controls::TOverview::kDefaultSide;
    std::vector<std::shared_ptr<imaging::DecodeJob>> jobs;
    for (const QByteArray& blob : fixture.screenBlobs) {
        imaging::DecodeRequest request;
        request.Blob = blob;
        request.RenderSize = QSize(side, side);
        jobs.push_back(fixture.decoder->Submit(std::move(request)));
    }
    bool all = true;
    for (const auto& job : jobs)
        all &= job->Wait().What == imaging::DecodeResult::Kind::Picture;
    return all;
}

// Entering the overview: the figures of each round, the anchor and both entries measured one
// right after the other, so a burst of load on the machine weighs on all three alike; the
// ratios are of the medians.
struct Entering {
    std::vector<double> decode, cold, warm;
} entering;

double Median(std::vector<double> values) {
    if (values.empty())
        return std::nan("");
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void BM_Enter(benchmark::State& state) {
    const auto milliseconds = [](const QElapsedTimer& timer) {
        return double(timer.nsecsElapsed()) / 1e6;
    };
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        if (!DecodeScreen())
            state.SkipWithError("a tile did not decode");
        entering.decode.push_back(milliseconds(timer));
        {
            auto grid = MakeGrid();
            grid->Loader().OpenStore(fixture.store, fixture.table.Key(), "bench", 256 << 20);
            grid->Loader().OpenCatalogue(fixture.table.TablePath(), fixture.table.Key(),
                                         "GraphicFile");
            grid->Loader().ClearCaches();
            grid->Loader().WaitStore();
            timer.start();
            ShowFirstScreen(*grid);
            entering.cold.push_back(milliseconds(timer));
            grid->Loader().Forget();
            fixture.decoder->WaitIdle();
        } // the loader's going writes what it decoded into the disk cache
        {
            // The disk cache opens with the catalogue, before the overview is asked for.
            auto grid = MakeGrid();
            grid->Loader().OpenStore(fixture.store, fixture.table.Key(), "bench", 256 << 20);
            grid->Loader().WaitStore();
            timer.start();
            ShowFirstScreen(*grid);
            entering.warm.push_back(milliseconds(timer));
            if (grid->Loader().Tally().FromStore < int(fixture.screenBlobs.size()))
                state.SkipWithError("the screen did not come from the disk cache");
            grid->Loader().Forget();
            fixture.decoder->WaitIdle();
        }
        state.SetIterationTime(entering.cold.back() / 1000);
    }
    state.counters["decode_ms"] = Median(entering.decode);
    state.counters["cold_ms"] = Median(entering.cold);
    state.counters["warm_ms"] = Median(entering.warm);
}

struct Scrolling {
    std::unique_ptr<controls::TOverview> grid;
    std::vector<int> stops; // the scroll bar's values the steps go through, there and back
} scrolling;

// Ten screens of tiles, all in memory.
void PrepareScrolling() {
    scrolling.grid = MakeGrid();
    controls::TOverview& grid = *scrolling.grid;
    ShowFirstScreen(grid);
    QScrollBar* bar = grid.verticalScrollBar();
    scrolling.stops.push_back(0);
    for (int screen = 0; screen < 10; ++screen) {
        bar->setValue(bar->value() + bar->pageStep());
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        grid.Loader().WaitIdle();
        QCoreApplication::processEvents(); // the screen after it is asked for once it is there
        grid.Loader().WaitIdle();
        scrolling.stops.push_back(bar->value());
    }
    for (int back = int(scrolling.stops.size()) - 2; back > 0; --back)
        scrolling.stops.push_back(scrolling.stops[size_t(back)]);
    bar->setValue(0);
    QCoreApplication::processEvents();
}

void BM_ScrollStep(benchmark::State& state) {
    controls::TOverview& grid = *scrolling.grid;
    QScrollBar* bar = grid.verticalScrollBar();
    const int decodedBefore = grid.Loader().Tally().Decoded;
    size_t stop = 0;
    for (auto _ : state) {
        stop = (stop + 1) % scrolling.stops.size();
        bar->setValue(scrolling.stops[stop]);
        grid.viewport()->repaint();
        QCoreApplication::processEvents();
    }
    if (grid.Loader().Tally().Decoded != decodedBefore)
        state.SkipWithError("a scroll step waited for a decode");
}

// The anchor: a plain window of the grid's size whose paint draws the tile images and
// captions of the same screens with QPainter in a loop, beside a scroll bar moved as the
// grid's is; repainted as the grid is, so both pay the same scroll bar and the same platform
// copy of a window to the screen, and draw the same pictures.
class PlainTiles : public QWidget {
public:
    struct Screen {
        std::vector<std::pair<QRect, QImage>> tiles;
        std::vector<QString> captions;
    };
    std::vector<Screen> screens;
    size_t shown = 0;
    int side = 0;
    QScrollBar bar{Qt::Vertical, this};

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        const QFontMetrics metrics(font());
        const Screen& screen = screens[shown];
        for (size_t i = 0; i < screen.tiles.size(); ++i) {
            const QRect cell = screen.tiles[i].first;
            const QImage& image = screen.tiles[i].second;
            const QSize size = image.deviceIndependentSize().toSize();
            painter.drawImage(QPoint(cell.left() + (cell.width() - size.width()) / 2,
                                     cell.top() + 6 + (side - size.height()) / 2),
                              image);
            const QRect caption(cell.left() + 3, cell.top() + side + 12, cell.width() - 6,
                                metrics.height());
            painter.drawText(
                caption, Qt::AlignCenter,
                metrics.elidedText(screen.captions[i], Qt::ElideMiddle, caption.width()));
        }
    }
};

void BM_PaintLoop(benchmark::State& state) {
    controls::TOverview& grid = *scrolling.grid;
    QScrollBar* gridBar = grid.verticalScrollBar();
    PlainTiles plain;
    plain.setFont(grid.font());
    plain.side = grid.TileSide();
    for (const int value : scrolling.stops) {
        gridBar->setValue(value);
        QCoreApplication::processEvents();
        PlainTiles::Screen screen;
        const auto [first, last] = grid.ShownRows();
        for (int row = first; row <= last; ++row) {
            const controls::Tile* tile = grid.Cache().Find(grid.KeyAt(row));
            QRect cell = grid.visualRect(grid.Model().index(row));
            screen.tiles.emplace_back(cell, tile ? tile->Image : QImage());
            screen.captions.push_back(grid.Model().FileNameAt(row));
        }
        plain.screens.push_back(std::move(screen));
    }
    gridBar->setValue(0);
    plain.resize(grid.size());
    plain.bar.setGeometry(QRect(gridBar->mapTo(&grid, QPoint(0, 0)), gridBar->size()));
    plain.bar.setRange(gridBar->minimum(), gridBar->maximum());
    plain.bar.setPageStep(gridBar->pageStep());
    plain.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        plain.shown = (plain.shown + 1) % plain.screens.size();
        plain.bar.setValue(scrolling.stops[plain.shown]);
        plain.repaint();
        QCoreApplication::processEvents();
    }
}

// Tile decoding through the loader (range: the decoder's workers), the first five screens.
void BM_LoaderTiles(benchmark::State& state) {
    imaging::Decoder decoder(int(state.range(0)));
    for (auto _ : state) {
        auto grid = std::make_unique<controls::TOverview>(decoder, 256 << 20);
        grid->resize(kWindow);
        grid->SetDataSource(&fixture.source, "FileName", "Description", "GraphicFile");
        grid->Refill(); // hidden, it fills when asked
        std::vector<controls::TileLoader::Wanted> wanted;
        for (int row = 0; row < int(fixture.screenBlobs.size()) * 5; ++row)
            wanted.push_back({grid->KeyAt(row), grid->Model().RecordAt(row)});
        grid->Loader().Want(wanted);
        grid->Loader().WaitIdle();
        state.PauseTiming();
        grid.reset();
        state.ResumeTiming();
    }
}

// The machine's ceiling: plain threads decoding the same tiles, one after the other.
void BM_DirectTiles(benchmark::State& state) {
    std::vector<QByteArray> blobs;
    for (int row = 0; row < int(fixture.screenBlobs.size()) * 5; ++row)
        blobs.push_back(fixture.table.RecordBlob(
            row, *static_cast<data::TBlobField*>(fixture.table.FindField("GraphicFile"))));
    for (auto _ : state)
        bench::OnPlainThreads(int(state.range(0)), blobs.size(), [&](std::size_t i) {
            imaging::DecodeRequest request;
            request.Blob = blobs[i];
            request.RenderSize =
                QSize(controls::TOverview::kDefaultSide, controls::TOverview::kDefaultSide);
            benchmark::DoNotOptimize(imaging::Decoder::DecodeNow(request).Rendered);
            return true;
        });
}

// The heap the overview takes for a table of many records: bound, laid out and shown, its
// tiles' bytes left out.
double OverviewBytesARecord(int records, double& indexRatio) {
    QTemporaryDir dir;
    const QString path = dir.filePath("vlmor.db");
    WriteCatalogue(path, records, false);
    data::TTable table;
    table.SetTableName(path);
    table.Open();
    data::TDataSource source;
    source.SetDataSet(&table);
    imaging::Decoder decoder(2);
    const size_t before = mallinfo2().uordblks;
    double perRecord = 0;
    {
        controls::TOverview grid(decoder, 64 << 20);
        grid.resize(kWindow);
        grid.SetDataSource(&source, "FileName", "Description", "GraphicFile");
        grid.show();
        QCoreApplication::processEvents();
        grid.Loader().WaitIdle();
        const size_t after = mallinfo2().uordblks;
        perRecord = (double(after) - double(before) - double(grid.Cache().Bytes())) / records;
    }
    // The find index of the same records.
    const auto* name = table.FindField("FileName");
    const auto* description = table.FindField("Description");
    const data::FindIndex index = data::FindIndex::BuildInParts(
        std::uint32_t(table.RecordCount()),
        [&](data::FindIndex& into, std::uint32_t r) {
            into.Add(r, table.RecordText(int(r), *name));
            into.Add(r, table.RecordText(int(r), *description));
        },
        2);
    double textBytes = 0;
    for (int r = 0; r < table.RecordCount(); ++r)
        textBytes += table.RecordText(r, *name).toUtf8().size() +
                     table.RecordText(r, *description).toUtf8().size();
    indexRatio = double(index.MemoryBytes()) / textBytes;
    return perRecord;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    qputenv("VLMOR_WINDOWS_DIR", settings.path().toLocal8Bit());
    platform::TApplication app(argc, argv);
    bench::FailOnErrors();
    if (bench::Smoke()) {
        recordCount = 1000;
        memoryRecords = 10000;
    }
    imaging::EngineBinding::Instance().Start();
    data::Session().AddPassword(QString::fromLatin1(catalog::TablePassword()));
    std::printf("Generating a %d-record catalogue...\n", recordCount);
    const QString path = fixture.dir.filePath("vlmor.db");
    WriteCatalogue(path, recordCount, true);
    fixture.table.SetTableName(path);
    fixture.table.Open();
    fixture.source.SetDataSet(&fixture.table);
    fixture.decoder = std::make_unique<imaging::Decoder>(2);
    host = std::make_unique<QWidget>();
    host->resize(kWindow);
    host->show();
    QCoreApplication::processEvents();
    fixture.store = fixture.dir.filePath("cache/bench.thumbs.db");
    {
        // How many tiles the first screen holds, and their pictures.
        auto grid = MakeGrid();
        grid->SetDataSource(&fixture.source, "FileName", "Description", "GraphicFile");
        grid->show();
        QCoreApplication::processEvents();
        const auto [first, last] = grid->ShownRows();
        const auto* picture =
            static_cast<data::TBlobField*>(fixture.table.FindField("GraphicFile"));
        for (int row = first; row <= last; ++row)
            fixture.screenBlobs.push_back(
                fixture.table.RecordBlob(grid->Model().RecordAt(row), *picture));
        grid->Loader().Forget();
        fixture.decoder->WaitIdle();
    }
    std::printf("%zu tiles on the first screen of a %d x %d grid\n", fixture.screenBlobs.size(),
                kWindow.width(), kWindow.height());
    if (fixture.screenBlobs.empty())
        bench::Broken() = true;

    benchmark::Initialize(&argc, argv);
    bench::Add("overview/enter", BM_Enter, 4)->UseManualTime();
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrepareScrolling();
    benchmark::ClearRegisteredBenchmarks();
    bench::Add("overview/scroll_step", BM_ScrollStep, 1);
    bench::Add("overview/paint_loop", BM_PaintLoop, 1);
    bench::Add("tiles/loader", BM_LoaderTiles, 1)->Arg(1)->Arg(2);
    bench::Add("tiles/direct", BM_DirectTiles, 1)->Arg(1)->Arg(2);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    scrolling.grid.reset();
    host.reset();

    std::printf("\nMemory: binding the overview to %d records...\n", memoryRecords);
    double indexRatio = 0;
    const double perRecord = OverviewBytesARecord(memoryRecords, indexRatio);

    auto t = [&](const char* name) { return reporter.Time(name); };
    bool ok = true;
    const double entered = t("overview/enter") > 0 ? 1 : std::nan(""); // it ran, and did not err
    ok &= bench::Report("entering, cold: first screen / its tiles' decode",
                        entered * Median(entering.cold) / Median(entering.decode), 1.3, "x");
    ok &= bench::Report("entering, disk cache warm / cold",
                        entered * Median(entering.warm) / Median(entering.cold), 0.2, "x");
    ok &= bench::Report("a scroll step / the same drawing in a loop",
                        t("overview/scroll_step") / t("overview/paint_loop"), 1.2, "x");
    const double ours = t("tiles/loader/1") / t("tiles/loader/2");
    const double ceiling = t("tiles/direct/1") / t("tiles/direct/2");
    std::printf("\n%-58s %8.2f x\n", "  plain threads: one / two", ceiling);
    std::printf("%-58s %8.2f x\n", "  the loader: one worker / two", ours);
    ok &= bench::Report("plain threads' speed-up / the loader's (two workers)", ceiling / ours,
                        1 / 0.9, "x");
    ok &= bench::Report("the overview's own bytes a record", perRecord, 40, "B");
    ok &= bench::Report("the find index's memory / the texts' bytes", indexRatio, 3, "x");
    return bench::Exit(ok);
}
