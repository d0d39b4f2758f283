// SPDX-License-Identifier: MIT
#pragma once

#include "platform/core/error_reporter.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace bench {

/// Smoke mode (VLMOR_BENCH_SMOKE=1, as CI runs the benchmarks): every benchmark once on small
/// data, so they keep building and running; the figures are printed, no target is asserted.
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

/// Prints the usual table and keeps each benchmark's real time (in its unit) by name.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> ms;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            ms[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    /// The time of the benchmark registered under `name` (whatever its run options added to
    /// the name), or 0.
    double Time(const std::string& name) const {
        for (const auto& [full, time] : ms)
            if (full == name || full.rfind(name + "/", 0) == 0)
                return time;
        return 0;
    }
};

/// A failure the program would show in a message box is printed and ends the run instead, so
/// no benchmark waits for a reader.
inline void FailOnErrors() {
    platform::SetErrorReporter([](const QString& message) {
        std::fprintf(stderr, "error: %s\n", qPrintable(message));
        std::exit(2);
    });
}

/// The exit status of a benchmark program: a missed target fails it, except in smoke mode.
inline int Exit(bool ok) {
    if (Smoke()) {
        std::printf("smoke run: every benchmark ran once, no target asserted\n");
        return 0;
    }
    return ok ? 0 : 1;
}

/// One figure against its target; true when met.
inline bool Report(const char* what, double value, double target, const char* unit) {
    const bool ok = value <= target;
    std::printf("%-58s %8.2f %-3s (target <= %.2f)  %s\n", what, value, unit, target,
                ok ? "met" : "MISSED");
    return ok;
}

} // namespace bench
