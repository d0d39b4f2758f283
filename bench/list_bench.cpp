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

// 100 000 records; a few thousand in smoke mode.
int recordCount = 100000;

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
// over the same file that no control listens to, filtered as the tab filters (range 0: every
// record; else the filter of that tab), so the anchor walks the very records the list lists.
void BM_Walk(benchmark::State& state) {
    data::TTable table;
    table.SetTableName(fixture.module->Table1->TablePath());
    table.Open();
    if (state.range(0) != 0) {
        fixture.window->TabControl1Change(static_cast<int>(state.range(0)));
        table.SetFilter(fixture.module->Table1->Filter());
        table.SetFiltered(true);
        fixture.window->TabControl1Change(0);
    }
    const data::TField* name = table.LookupField(QStringLiteral("FileName"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(bench::WalkVisible(table, *name));
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
    bench::FailOnErrors();
    app.Initialize();
    if (bench::Smoke())
        recordCount = 3000;
    QTemporaryDir dir;
    std::printf("Generating a %d-record catalogue...\n", recordCount);
    bench::WriteBenchCatalogue(dir.path(), recordCount, 2048);
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
    bench::Add("walk/all_records", BM_Walk)->Arg(0);
    bench::Add("walk/category_records", BM_Walk)->Arg(2);
    bench::Add("tab_change/to_category", BM_TabChange)->Arg(2);
    bench::Add("tab_change/to_all", BM_TabChange)->Arg(0);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    auto t = [&](const char* name) { return reporter.Time(name); };
    bool ok = true;
    std::printf("\n");
    ok &= bench::Report("tab change to a category / walk over its records",
                        t("tab_change/to_category") / t("walk/category_records"), 2, "x");
    ok &= bench::Report("tab change to All / walk over every record",
                        t("tab_change/to_all") / t("walk/all_records"), 2, "x");
    ok &= bench::Exactly("list paints for one tab change", paints, 1);
    return bench::Exit(ok);
}
