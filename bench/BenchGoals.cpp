#include "BenchGoals.h"

#include <cstdio>

namespace lumivex::bench {

bool GoalReporter::ReportContext(const Context& context) { return ConsoleReporter::ReportContext(context); }

void GoalReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred || run.iterations == 0)
            continue;
        // Aggregates (mean/median) are reported as separate runs; keep the mean when repetitions are used.
        if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "mean")
            continue;
        const std::string name = run.run_name.str();
        m_seconds[name] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        for (const auto& [counterName, counter] : run.counters)
            m_counters[name][counterName] = counter.value;
    }
}

double GoalReporter::seconds(const std::string& name) const
{
    const auto it = m_seconds.find(name);
    return it == m_seconds.end() ? 0.0 : it->second;
}

double GoalReporter::counter(const std::string& benchmarkName, const std::string& counterName) const
{
    const auto it = m_counters.find(benchmarkName);
    if (it == m_counters.end())
        return 0.0;
    const auto c = it->second.find(counterName);
    return c == it->second.end() ? 0.0 : c->second;
}

void printGoal(const std::string& id, double measured, Op op, double target, const std::string& unit)
{
    const bool pass = op == Op::atLeast ? measured >= target : measured <= target;
    std::printf("GOAL %s %.2f%s %s %g%s %s\n", id.c_str(), measured, unit.c_str(), op == Op::atLeast ? ">=" : "<=",
                target, unit.c_str(), pass ? "PASS" : "MISS");
    std::fflush(stdout);
}

GoalReporter& runBenchmarks(int argc, char** argv)
{
    static GoalReporter reporter;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter;
}

} // namespace lumivex::bench
