// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_report.h"

#include <cstdio>
#include <unistd.h>

namespace gk::bench {

void SummaryReporter::ReportRuns(const std::vector<Run>& reports) {
    ConsoleReporter::ReportRuns(reports);
    for (const Run& run : reports) {
        const std::string name =
            run.run_name.function_name +
            (run.run_name.args.empty() ? std::string() : "/" + run.run_name.args);
        Measured& m = results_[name];
        if (run.error_occurred) {
            m.failed = true;
            m.error = run.error_message;
            continue;
        }
        const bool isMedian = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (run.run_type == Run::RT_Aggregate && !isMedian)
            continue;
        if (run.run_type == Run::RT_Iteration)
            iterations_[name].push_back(run);
        // The median aggregate follows the single runs and wins; a benchmark run once has
        // only its single run.
        m.realMs =
            run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
        m.counters.clear();
        for (const auto& [key, counter] : run.counters)
            m.counters[key] = counter.value;
    }
}

void SummaryReporter::Finalize() {
    ConsoleReporter::Finalize();
    std::fflush(stdout);
    if (summary_)
        summary_(*this);
    std::fflush(stdout);
}

const Measured* SummaryReporter::find(const std::string& name) const {
    const auto it = results_.find(name);
    return it == results_.end() ? nullptr : &it->second;
}

int runBenchmarks(int argc, char** argv, const std::vector<std::string>& defaults,
                  SummaryReporter::Summary summary) {
    std::vector<std::string> storage;
    storage.emplace_back(argc > 0 ? argv[0] : "bench");
    storage.insert(storage.end(), defaults.begin(), defaults.end());
    for (int i = 1; i < argc; ++i)
        storage.emplace_back(argv[i]);
    std::vector<char*> args;
    for (std::string& s : storage)
        args.push_back(s.data());
    args.push_back(nullptr);
    int count = static_cast<int>(storage.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    // A reporter of one's own does not follow --benchmark_color, so decide here.
    const bool terminal = ::isatty(STDOUT_FILENO) != 0;
    SummaryReporter reporter(terminal ? benchmark::ConsoleReporter::OO_ColorTabular
                                      : benchmark::ConsoleReporter::OO_Tabular,
                             std::move(summary));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

std::string ms(const Measured* m) {
    if (!m)
        return "-";
    if (m->failed)
        return "error";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f ms", m->realMs);
    return text;
}

std::string ratio(const Measured* a, const Measured* b) {
    if (!a || !b || a->failed || b->failed || b->realMs <= 0)
        return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.2fx", a->realMs / b->realMs);
    return text;
}

std::string verdict(const Measured* a, const Measured* b, double target) {
    if (!a || !b || a->failed || b->failed || b->realMs <= 0)
        return "-";
    return a->realMs / b->realMs <= target ? "ok" : "MISSED";
}

} // namespace gk::bench
