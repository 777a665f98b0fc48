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
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, double> realTime;
    std::map<std::string, double> cpuTime;
};
