// SPDX-License-Identifier: MIT
#pragma once

#include "platform/core/error_reporter.h"

#include <atomic>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace bench {

/// Smoke mode (VLMOR_BENCH_SMOKE=1, as CI runs the benchmarks): every benchmark once on small
/// data, so they keep building and running; the figures are printed, no target is asserted,
/// but a benchmark that errs, is missing or measures nothing still fails the run.
inline bool Smoke() {
    const char* value = std::getenv("VLMOR_BENCH_SMOKE");
    return value && *value && *value != '0';
}

/// Registers a benchmark in milliseconds: once in smoke mode, else for `minTime` seconds at
/// the least (0: the library's own choice) or `iterations` times.
template <class Function>
benchmark::internal::Benchmark* Add(const char* name, Function function, double minTime = 0,
                                    int iterations = 0) {
    benchmark::internal::Benchmark* b =
        benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond);
    if (Smoke())
        b->Iterations(1);
    else if (iterations > 0)
        b->Iterations(iterations);
    else if (minTime > 0)
        b->MinTime(minTime);
    return b;
}

/// Set when a run erred, a figure's benchmark is missing or took no time, or a figure is not a
/// number: the program then fails whatever its mode.
inline bool& Broken() {
    static bool broken = false;
    return broken;
}

/// Prints the usual table and keeps each benchmark's real time (in its unit) by name.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> ms;
    std::map<std::string, std::string> errors;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) {
                errors[run.benchmark_name()] = run.error_message;
                Broken() = true;
            }
            ms[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
    }
    /// The time of the benchmark registered under `name` (whatever its run options added to
    /// the name). A missing, erred or zero time breaks the run and gives NaN, so no ratio made
    /// of it can pass for met.
    double Time(const std::string& name) const {
        for (const auto& [full, time] : ms)
            if (full == name || full.rfind(name + "/", 0) == 0) {
                if (const auto e = errors.find(full); e != errors.end())
                    return Fail(name, ("erred: " + e->second).c_str());
                if (!(time > 0))
                    return Fail(name, "took no time");
                return time;
            }
        return Fail(name, "did not run");
    }

private:
    static double Fail(const std::string& name, const char* why) {
        std::fprintf(stderr, "benchmark %s %s\n", name.c_str(), why);
        Broken() = true;
        return std::nan("");
    }
};

/// The machine's own ceiling of parallel work: `threads` plain threads, each taking the next
/// of `count` items and doing `work` on it (false: it failed). The number that failed.
template <class Work> int OnPlainThreads(int threads, std::size_t count, Work work) {
    std::atomic<std::size_t> next = 0;
    std::atomic<int> failed = 0;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&] {
            for (std::size_t i; (i = next++) < count;)
                failed += !work(i);
        });
    for (std::thread& w : workers)
        w.join();
    return failed;
}

/// A failure the program would show in a message box is printed and ends the run instead, so
/// no benchmark waits for a reader.
inline void FailOnErrors() {
    platform::SetErrorReporter([](const QString& message) {
        std::fprintf(stderr, "error: %s\n", qPrintable(message));
        std::exit(2);
    });
}

/// The exit status of a benchmark program: a missed target fails it, except in smoke mode; a
/// broken run fails it always.
inline int Exit(bool ok) {
    if (Broken()) {
        std::printf("broken run: a benchmark erred, is missing or measured nothing\n");
        return 1;
    }
    if (Smoke()) {
        std::printf("smoke run: every benchmark ran once, no target asserted\n");
        return 0;
    }
    return ok ? 0 : 1;
}

/// One figure against its target; true when met. A figure that is not a finite number (made
/// of a missing time) breaks the run.
inline bool Report(const char* what, double value, double target, const char* unit) {
    if (!std::isfinite(value))
        Broken() = true;
    const bool ok = std::isfinite(value) && value <= target;
    std::printf("%-58s %8.2f %-3s (target <= %.2f)  %s\n", what, value, unit, target,
                ok ? "met" : "MISSED");
    return ok;
}

/// A count that must come out exactly (a correctness figure, not a speed): a different count
/// breaks the run in every mode.
inline bool Exactly(const char* what, long long value, long long expected) {
    const bool ok = value == expected;
    std::printf("%-58s %8lld     (must be %lld)  %s\n", what, value, expected,
                ok ? "met" : "WRONG");
    if (!ok)
        Broken() = true;
    return ok;
}

} // namespace bench
