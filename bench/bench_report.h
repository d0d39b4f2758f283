// SPDX-License-Identifier: MIT
#pragma once

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

namespace bench {

/// Prints the usual table and keeps each benchmark's real time (in its unit) by name.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> ms;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            ms[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
};

/// One figure against its target; true when met.
inline bool Report(const char* what, double value, double target, const char* unit) {
    const bool ok = value <= target;
    std::printf("%-58s %8.2f %-3s (target <= %.2f)  %s\n", what, value, unit, target,
                ok ? "met" : "MISSED");
    return ok;
}

} // namespace bench
