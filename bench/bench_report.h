// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Console output of Google Benchmark plus a summary table of medians and ratios at the end.

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace gk::bench {

struct Measured {
    double realMs = 0;                      // median real time per iteration, milliseconds
    std::map<std::string, double> counters; // of the median run
    bool failed = false;
    std::string error;
};

class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    using Summary = std::function<void(const SummaryReporter&)>;
    SummaryReporter(OutputOptions options, Summary summary)
        : ConsoleReporter(options), summary_(std::move(summary)) {}

    void ReportRuns(const std::vector<Run>& reports) override;
    void Finalize() override;

    // The measurement of "Function/args", e.g. "BM_Load/events:4096"; null when not run.
    const Measured* find(const std::string& name) const;

  private:
    Summary summary_;
    std::map<std::string, Measured> results_;
    std::map<std::string, std::vector<Run>> iterations_;
};

// Runs the registered benchmarks with the given defaults before the user's own flags (later
// flags win), through a SummaryReporter; colours only on a terminal.
int runBenchmarks(int argc, char** argv, const std::vector<std::string>& defaults,
                  SummaryReporter::Summary summary);

// "12.34 ms" or "-" for a missing measurement.
std::string ms(const Measured* m);
// "1.23x" or "-".
std::string ratio(const Measured* a, const Measured* b);
// "ok" / "MISSED" / "-" for a ratio target.
std::string verdict(const Measured* a, const Measured* b, double target);

} // namespace gk::bench
