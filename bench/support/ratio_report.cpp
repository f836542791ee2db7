#include "ratio_report.h"

#include <cstdio>
#include <utility>

namespace vestrak::bench {

namespace {

// Seconds, shown in the unit that keeps three or four digits.
std::string Readable(double seconds)
{
    char text[32];
    if (seconds >= 1) {
        std::snprintf(text, sizeof text, "%.3f s", seconds);
    } else if (seconds >= 1e-3) {
        std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
    } else if (seconds >= 1e-6) {
        std::snprintf(text, sizeof text, "%.2f us", seconds * 1e6);
    } else {
        std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
    }
    return text;
}

} // namespace

// Without colours, so the lines of the report stay plain text in a log.
RatioReporter::RatioReporter(std::vector<RatioGoal> goals)
    : ConsoleReporter(OO_Tabular)
    , m_Goals(std::move(goals))
{
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred) {
            continue;
        }
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        const bool single = run.run_type == Run::RT_Iteration;
        // Named without how its time is taken: a figure whose CPU time counts every thread of
        // the process (a load that reads aside) keeps the name its goals give it.
        benchmark::BenchmarkName runName = run.run_name;
        runName.time_type.clear();
        const std::string name = runName.str();
        if (median || (single && !m_FromMedian[name])) {
            m_Seconds[name] = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            m_FromMedian[name] = median;
        }
    }
}

void RatioReporter::Finalize()
{
    ConsoleReporter::Finalize();
    for (const RatioGoal& goal : m_Goals) {
        const auto figure = m_Seconds.find(goal.figure);
        const auto floor = m_Seconds.find(goal.floor);
        if (figure == m_Seconds.end() || floor == m_Seconds.end() || floor->second <= 0) {
            continue;
        }
        const double ratio = figure->second / floor->second;
        std::string verdict = "shown only";
        if (goal.goal > 0) {
            char text[48];
            std::snprintf(
                text, sizeof text, "goal %.1fx: %s", goal.goal, ratio <= goal.goal ? "met" : "NOT MET");
            verdict = text;
        }
        std::printf("RATIO %-48s %10s against %10s  = %6.2fx  (%s)\n", goal.what.c_str(),
            Readable(figure->second).c_str(), Readable(floor->second).c_str(), ratio, verdict.c_str());
    }
    std::fflush(stdout);
}

int RunBenchmarksWithRatios(int argc, char** argv, std::vector<RatioGoal> goals)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter(std::move(goals));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace vestrak::bench
