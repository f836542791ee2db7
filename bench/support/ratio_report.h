#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

namespace vestrak::bench {

// A figure measured beside its floor in the same run; the goal is the largest ratio allowed, or
// 0 for a ratio that is only shown.
struct RatioGoal {
    std::string what;
    std::string figure;
    std::string floor;
    double goal = 0;
};

// Prints the runs as the console reporter does, then one line per goal: figure, floor, ratio and
// whether the goal is met. Ratios compare CPU times, which other work on a shared machine disturbs
// less than elapsed times; a load that reads its file on a second thread is measured with the CPU
// time of the whole process, both threads. With repetitions the medians are compared.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    explicit RatioReporter(std::vector<RatioGoal> goals);

    void ReportRuns(const std::vector<Run>& runs) override;
    void Finalize() override;

private:
    std::vector<RatioGoal> m_Goals;
    // Seconds per iteration by benchmark name.
    std::map<std::string, double> m_Seconds;
    std::map<std::string, bool> m_FromMedian;
};

// Runs the benchmarks selected on the command line and prints the ratios at the end.
int RunBenchmarksWithRatios(int argc, char** argv, std::vector<RatioGoal> goals);

} // namespace vestrak::bench
