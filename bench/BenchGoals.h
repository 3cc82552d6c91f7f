#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace lumivex::bench {

// Collects each benchmark's mean time per iteration so that a program can print ratios between its
// measurement and the reference measured in the same run.
class GoalReporter : public benchmark::ConsoleReporter {
public:
    // No colours: the terminal reset code would otherwise sit in front of the first GOAL line and hide it from grep.
    GoalReporter() : ConsoleReporter(OO_Tabular) {}
    bool ReportContext(const Context& context) override;
    void ReportRuns(const std::vector<Run>& runs) override;
    // Seconds per iteration of the named benchmark (its full name as printed), or 0 when it did not run.
    double seconds(const std::string& name) const;
    // Extra values a benchmark reported through its counters (mean), by counter name.
    double counter(const std::string& benchmarkName, const std::string& counterName) const;

private:
    std::map<std::string, double> m_seconds;
    std::map<std::string, std::map<std::string, double>> m_counters;
};

enum class Op { atLeast, atMost };

// Prints "GOAL <id> <measured><unit> <op> <target><unit> PASS|MISS".
void printGoal(const std::string& id, double measured, Op op, double target, const std::string& unit);

// Runs the registered benchmarks with the reporter; returns it for the GOAL lines.
GoalReporter& runBenchmarks(int argc, char** argv);

} // namespace lumivex::bench
