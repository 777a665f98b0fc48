#pragma once

#include "platform/Registry.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <cstdio>

/// Runs the program's benchmarks on registry hives of their own, never the
/// user's: both hives live in a temporary folder that \a fill writes the
/// benchmarks' values into first. Every benchmark reports to \a reporter.
/// False, after saying why on stderr, when the folder or the values cannot
/// be made.
inline bool runOnScratchHives(int *argc, char **argv, bool (*fill)(), benchmark::BenchmarkReporter *reporter)
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a folder for the benchmark hives\n");
        return false;
    }
    qputenv("TESSERA_USER_HIVE_DIR", dir.filePath(QStringLiteral("user")).toUtf8());
    qputenv("TESSERA_MACHINE_HIVE_DIR", dir.filePath(QStringLiteral("machine")).toUtf8());
    if (!fill()) {
        std::fprintf(stderr, "cannot fill the benchmark hive\n");
        return false;
    }

    benchmark::Initialize(argc, argv);
    benchmark::RunSpecifiedBenchmarks(reporter);
    benchmark::Shutdown();
    tessera::Registry::closeAllHives();
    return true;
}
