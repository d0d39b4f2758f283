// SPDX-License-Identifier: MIT
// A tab change on the main window with a 100 000-record catalogue (re-filter plus list fill),
// against the data layer's own walk over the same records in the same run, and the number
// of times the list paints for one fill.
#include "app/config.h"
#include "app/data_module.h"
#include "app/main_window.h"
#include "app/process_values.h"
#include "bench/bench_catalogue.h"
#include "bench/bench_report.h"
#include "controls/datalist/data_list.h"
#include "data/catalogue_schema.h"
#include "data/session.h"
#include "platform/ui/application.h"

#include <QEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>

namespace {

constexpr int kRecords = 100000;

struct Fixture {
    TDataModule1* module = nullptr;
    TfMain* window = nullptr;
} fixture;

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// The data layer alone: what a fill walks, with the links suspended, on a table of its own
// over the same file that no control listens to.
void BM_Walk(benchmark::State& state) {
    data::TTable table;
    table.SetTableName(fixture.module->Table1->TablePath());
    table.Open();
    const data::TField* name = table.LookupField(QStringLiteral("FileName"));
    for (auto _ : state) {
        const data::TBookmark mark = table.MarkPosition();
        table.SuspendLinks();
        table.GoFirst();
        while (!table.AtEnd()) {
            benchmark::DoNotOptimize(name->AsString());
            table.GoNext();
        }
        table.GotoMark(mark);
        table.ResumeLinks();
    }
}

// A tab change as the user makes it: to a category, and back to every category.
void BM_TabChange(benchmark::State& state) {
    const int tab = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        fixture.window->TabControl1Change(tab == 0 ? 2 : 0);
        state.ResumeTiming();
        fixture.window->TabControl1Change(tab);
    }
    state.counters["rows"] = fixture.window->DBDataList1->Items().Count();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::TApplication app(argc, argv);
    app.Initialize();
    QTemporaryDir dir;
    std::printf("Generating a %d-record catalogue...\n", kRecords);
    bench::WriteBenchCatalogue(dir.path(), kRecords, 2048);
    data::Session().AddPassword(data::catalogue::kTablePassword);
    InitProcessValues(dir.filePath(QStringLiteral("vlmor")));
    Settings().DataPath = dir.path();
    TDataModule1 module;
    TfMain window;
    window.SetDataModule(&module);
    window.show();
    QCoreApplication::processEvents();
    window.FormActivate();
    fixture = {&module, &window};

    // Paints of the list for one fill, once the window has settled.
    QCoreApplication::processEvents();
    PaintCounter counter;
    window.DBDataList1->viewport()->installEventFilter(&counter);
    window.TabControl1Change(2);
    QCoreApplication::processEvents();
    const int paints = counter.paints;
    window.DBDataList1->viewport()->removeEventFilter(&counter);

    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("walk/all_records", BM_Walk)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("tab_change/to_category", BM_TabChange)
        ->Arg(2)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("tab_change/to_all", BM_TabChange)
        ->Arg(0)
        ->Unit(benchmark::kMillisecond);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    auto& t = reporter.ms;
    bool ok = true;
    std::printf("\n");
    if (t.count("walk/all_records") && t.count("tab_change/to_category/2") &&
        t.count("tab_change/to_all/0")) {
        ok &= bench::Report("tab change to a category / data-layer walk",
                            t["tab_change/to_category/2"] / t["walk/all_records"], 2, "x");
        ok &= bench::Report("tab change to All / data-layer walk",
                            t["tab_change/to_all/0"] / t["walk/all_records"], 2, "x");
    }
    ok &= bench::Report("list paints for one tab change", paints, 1, "");
    return ok ? 0 : 1;
}
