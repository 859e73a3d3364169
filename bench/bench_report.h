#pragma once
// What every benchmark program shares: run the registered benchmarks with the
// usual console output while keeping each one's best time, and end with the
// one line "ratio: N".

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace demo::bench {

// Best adjusted real time per iteration, in each benchmark's own time unit,
// keyed by its name and, when it has any, "/" and its arguments
// ("BM_FullSweep/1"). Repetitions and repeated registrations keep the minimum.
using BestTimes = std::map<std::string, double>;

class BestTimeReporter : public benchmark::ConsoleReporter {
  public:
    BestTimes best;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;  // not the aggregates
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
            const double time = run.GetAdjustedRealTime();
            auto [it, fresh] = best.emplace(name, time);
            if (!fresh && time < it->second) it->second = time;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

// Runs every registered benchmark (after benchmark::Initialize) and shuts the
// library down; the best time of each.
inline BestTimes runBenchmarks() {
    BestTimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.best;
}

// The closing line of every benchmark program.
inline void printRatio(double ratio, int decimals) {
    std::printf("ratio: %.*f\n", decimals, ratio);
}

}  // namespace demo::bench
