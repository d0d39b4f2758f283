// SPDX-License-Identifier: MIT
// Record-source benchmarks on a generated 100 000-record catalogue, each reported as a ratio
// against an anchor measured in the same run:
//   re-filter with the search callback   vs  a plain loop doing the same search in memory
//   opening the table                    vs  a bare SELECT of the same columns
//   walking every record, links suspended (absolute, target under 50 ms)
//   resident memory of the open table with 2 KB and with 200 KB pictures
#include "app/catalogue_window.h"
#include "app/config.h"
#include "app/data_module.h"
#include "app/process_values.h"
#include "bench/bare_select.h"
#include "bench/bench_catalogue.h"
#include "bench/bench_report.h"
#include "data/catalogue_schema.h"
#include "data/data_link.h"
#include "data/session.h"
#include "data/table.h"
#include "platform/core/text_case.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// 100 000 records; a few thousand in smoke mode.
int recordCount = 100000;

struct BenchWindow : CatalogueWindow {
    QString text = QStringLiteral("star");
    bool down = true;
    QString SearchText() const override { return text; }
    bool SearchToggleDown() const override { return down; }
    void ClearTabs() override {}
    void AddTab(const QString&) override {}
};

struct CountingLink : data::TDataLink {
    int changes = 0;
    void NotifyDataSetChange() override { ++changes; }
};

struct Fixture {
    QTemporaryDir dir;
    QStringList descriptions;
    TDataModule1* module = nullptr;
    BenchWindow window;
    CountingLink link;
} fixture;

void BM_RefilterSearchCallback(benchmark::State& state) {
    fixture.window.down = true;
    int visible = 0;
    for (auto _ : state) {
        fixture.module->Table1->SetFiltered(true);
        visible = fixture.module->Table1->CountRecords();
    }
    state.counters["visible"] = visible;
}

void BM_RefilterPlainLoop(benchmark::State& state) {
    int visible = 0;
    for (auto _ : state) {
        const QString text = platform::UpperCase(fixture.window.text);
        visible = 0;
        for (const QString& d : fixture.descriptions)
            visible += platform::UpperCase(d).contains(text) ? 1 : 0;
        benchmark::DoNotOptimize(visible);
    }
    state.counters["visible"] = visible;
}

void BM_OpenTable(benchmark::State& state) {
    data::TTable table;
    table.SetTableName(fixture.dir.filePath(QStringLiteral("vlmor.db")));
    for (auto _ : state) {
        table.Open();
        benchmark::DoNotOptimize(table.CountRecords());
        table.Close();
    }
}

void BM_OpenBareSelect(benchmark::State& state) {
    const QString path = fixture.dir.filePath(QStringLiteral("vlmor.db"));
    for (auto _ : state)
        benchmark::DoNotOptimize(bench::BareSelect(path));
}

// What the list does to fill its rows: mark, suspend, walk every visible record, go back.
void BM_WalkSuspended(benchmark::State& state) {
    data::TTable& table = *fixture.module->Table1;
    fixture.window.down = false;
    table.SetFiltered(true);
    int walked = 0;
    for (auto _ : state) {
        walked = bench::WalkVisible(table, *fixture.module->Table1FileName);
    }
    state.counters["records"] = walked;
    fixture.window.down = true;
}

// Resident memory a fresh process gains by opening a table, walking it and reading some
// pictures; measured in a child so earlier allocations do not blur it.
long long OpenTableGrowth(const QString& dir) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        const long long before = bench::ResidentBytes();
        data::TTable table;
        table.SetTableName(QDir(dir).filePath(QStringLiteral("vlmor.db")));
        table.Open();
        auto* picture =
            qobject_cast<data::TBlobField*>(table.LookupField(QStringLiteral("GraphicFile")));
        long long sum = 0;
        for (int i = 0; !table.AtEnd(); ++i, table.GoNext()) {
            sum += table.Fields()[0]->AsString().size();
            if (i % 200 == 0)
                sum += picture->Value().size();
        }
        const long long growth = bench::ResidentBytes() - before + (sum < 0 ? 1 : 0);
        if (write(pipeEnds[1], &growth, sizeof growth) != sizeof growth)
            _exit(1);
        _exit(0);
    }
    long long growth = -1;
    if (read(pipeEnds[0], &growth, sizeof growth) != sizeof growth)
        growth = -1;
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    waitpid(child, nullptr, 0);
    return growth;
}

} // namespace

int main(int argc, char** argv) {
    if (bench::Smoke())
        recordCount = 3000;
    std::printf("Generating a %d-record catalogue...\n", recordCount);
    fixture.descriptions = bench::WriteBenchCatalogue(fixture.dir.path(), recordCount, 2048);
    data::Session().AddPassword(data::catalogue::kTablePassword);
    InitProcessValues(fixture.dir.filePath(QStringLiteral("vlmor")));
    Settings().DataPath = fixture.dir.path();
    TDataModule1 module;
    fixture.module = &module;
    fixture.link.SetDataSource(module.DataSource1);
    module.Activate(fixture.window);

    benchmark::Initialize(&argc, argv);
    bench::Add("refilter/search_callback", BM_RefilterSearchCallback);
    bench::Add("refilter/plain_loop", BM_RefilterPlainLoop);
    bench::Add("open/table", BM_OpenTable);
    bench::Add("open/bare_select", BM_OpenBareSelect);
    bench::Add("walk/links_suspended", BM_WalkSuspended);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const int memoryRecords = bench::Smoke() ? 200 : 2000;
    std::printf("\nResident memory: generating %d records with 2 KB and with 200 KB pictures...\n",
                memoryRecords);
    QTemporaryDir small, large;
    bench::WriteBenchCatalogue(small.path(), memoryRecords, 2 * 1024);
    bench::WriteBenchCatalogue(large.path(), memoryRecords, 200 * 1024);
    const long long smallGrowth = OpenTableGrowth(small.path());
    const long long largeGrowth = OpenTableGrowth(large.path());
    QFile::remove(QDir(large.path()).filePath(QStringLiteral("vlmor.db")));

    std::printf("\n");
    bool ok = true;
    auto t = [&](const char* name) { return reporter.Time(name); };
    if (t("refilter/plain_loop") > 0 && t("open/bare_select") > 0) {
        ok &= bench::Report("re-filter with the search callback / plain loop",
                            t("refilter/search_callback") / t("refilter/plain_loop"), 1.5, "x");
        ok &= bench::Report("opening the table / bare SELECT",
                            t("open/table") / t("open/bare_select"), 1.5, "x");
        ok &= bench::Report("walking every record with links suspended", t("walk/links_suspended"),
                            50, "ms");
    }
    std::printf("open table growth: %.1f MB with 2 KB pictures, %.1f MB with 200 KB pictures\n",
                smallGrowth / 1048576.0, largeGrowth / 1048576.0);
    ok &= bench::Report("resident memory difference, 200 KB vs 2 KB pictures",
                        std::abs(largeGrowth - smallGrowth) / 1048576.0, 5, "MB");
    return bench::Exit(ok);
}
