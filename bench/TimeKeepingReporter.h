#pragma once

#include <benchmark/benchmark.h>
#include <map>
#include <string>

/// Shows Google Benchmark's usual table and keeps each benchmark's real and
/// CPU time per iteration, so that a program can print the ratio between our
/// code and a peer measured in the same run.
class TimeKeepingReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
                realTime[run.run_name.function_name] = run.GetAdjustedRealTime();
                cpuTime[run.run_name.function_name] = run.GetAdjustedCPUTime();
                if (run.real_accumulated_time > 0)
                    m_perSecond[run.run_name.function_name] = double(run.iterations) / run.real_accumulated_time;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    /// How many iterations of the benchmark \a name ran per second of
    /// wall-clock time; 0 when it did not run.
    double perSecond(const std::string &name) const
    {
        const auto it = m_perSecond.find(name);
        return it == m_perSecond.end() ? 0 : it->second;
    }

    std::map<std::string, double> realTime;
    std::map<std::string, double> cpuTime;

private:
    std::map<std::string, double> m_perSecond;
};
