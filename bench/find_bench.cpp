// SPDX-License-Identifier: MIT
// The find index on a generated 100 000-record catalogue (1 000 in smoke mode), each figure a
// ratio against an anchor measured in the same run:
//   one keystroke's answer (a query with a typo)  vs  a plain case-insensitive substring scan
//                                                      of the same texts for the same words
//   building the index from the texts (two halves  vs  reading the texts from the table
//   on two threads, as the program does)
//   the index's memory                            vs  the bytes of the texts it indexes
#include "bench/bench_catalogue.h"
#include "bench/bench_report.h"
#include "data/catalogue_schema.h"
#include "data/find_index.h"
#include "data/table_file.h"
#include "tools/catalog/catalogue_tables.h"

#define SQLITE_HAS_CODEC 1
#include <sqlcipher/sqlite3.h>

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

int recordCount = 100000;

// What a keystroke asks: two words, one with a letter left out, as a user types them.
const QString kQuery = QStringLiteral("rosete Gold");

struct Fixture {
    QTemporaryDir dir;
    QStringList texts; // file name and description, as the index reads them
    data::FindIndex index;
} fixture;

// The records' texts, read from the table as the program reads them.
QStringList ReadTexts() {
    const QByteArray path = QFile::encodeName(fixture.dir.filePath(QStringLiteral("vlmor.db")));
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    data::KeyDatabase(db, catalog::TablePassword());
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT FileName, Description FROM Catalogue INDEXED BY Catalogue_text "
                       "ORDER BY FileName, Description, Category",
                       -1, &stmt, nullptr);
    QStringList texts;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        auto text = [&](int c) {
            return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                     sqlite3_column_bytes(stmt, c));
        };
        texts << text(0) + u' ' + text(1);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return texts;
}

void BM_ReadTexts(benchmark::State& state) {
    qsizetype read = 0;
    for (auto _ : state)
        read = ReadTexts().size();
    state.counters["records"] = double(read);
    if (read != recordCount)
        state.SkipWithError("the table did not give every record");
}

// As the program builds it when a catalogue opens: in two halves on two threads, appended.
void BM_BuildIndex(benchmark::State& state) {
    for (auto _ : state) {
        const data::FindIndex index = data::FindIndex::BuildInParts(
            std::uint32_t(fixture.texts.size()),
            [](data::FindIndex& into, std::uint32_t r) { into.Add(r, fixture.texts[int(r)]); }, 2);
        benchmark::DoNotOptimize(index.Words());
    }
}

void BM_Keystroke(benchmark::State& state) {
    std::size_t hits = 0;
    for (auto _ : state) {
        hits = fixture.index.Find(kQuery).size();
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = double(hits);
}

// The anchor: every text searched for every query word, without an index.
void BM_SubstringScan(benchmark::State& state) {
    const QStringList words = kQuery.split(u' ');
    int hits = 0;
    for (auto _ : state) {
        hits = 0;
        for (const QString& text : fixture.texts) {
            bool all = true;
            for (const QString& word : words)
                all = all && text.contains(word, Qt::CaseInsensitive);
            hits += all ? 1 : 0;
        }
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = hits;
}

} // namespace

int main(int argc, char** argv) {
    bench::FailOnErrors();
    if (bench::Smoke())
        recordCount = 1000;
    std::printf("Generating a %d-record catalogue...\n", recordCount);
    bench::WriteBenchCatalogue(fixture.dir.path(), recordCount, 128);
    fixture.texts = ReadTexts();
    for (int i = 0; i < fixture.texts.size(); ++i)
        fixture.index.Add(std::uint32_t(i), fixture.texts[i]);
    fixture.index.Finish();
    long long textBytes = 0;
    for (const QString& text : fixture.texts)
        textBytes += text.toUtf8().size();

    benchmark::Initialize(&argc, argv);
    bench::Add("find/read_texts", BM_ReadTexts);
    bench::Add("find/build_index", BM_BuildIndex);
    bench::Add("find/keystroke", BM_Keystroke);
    bench::Add("find/substring_scan", BM_SubstringScan);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    // The typo is forgiven: the index finds what the scan, which needs the word exact, cannot.
    const std::size_t found = fixture.index.Find(kQuery).size();
    std::printf("\n%zu records found for \"%s\" (%zu distinct words indexed)\n", found,
                qPrintable(kQuery), fixture.index.Words());
    if (found == 0)
        bench::Broken() = true;
    auto t = [&](const char* name) { return reporter.Time(name); };
    bool ok = true;
    ok &= bench::Report("one keystroke's answer / substring scan",
                        t("find/keystroke") / t("find/substring_scan"), 0.5, "x");
    ok &= bench::Report("building the index / reading the texts",
                        t("find/build_index") / t("find/read_texts"), 0.5, "x");
    ok &= bench::Report("the index's memory / the texts' bytes",
                        double(fixture.index.MemoryBytes()) / double(textBytes), 3, "x");
    return bench::Exit(ok);
}
