// bench_settings: crvCorvidSettings::LoadSetting and SaveSetting on a hive
// holding 10 000 values of one program version, as a program reads and
// writes its settings. Prints both rates and fails when loads fall below the
// 20 000 per second that a settings-heavy window needs to open at once.
#include "bench/ScratchHives.h"
#include "bench/TimeKeepingReporter.h"
#include "lib/system/crvCorvidSettings.h"
#include "platform/Registry.h"

#include <QStringList>

#include <benchmark/benchmark.h>
#include <cstdio>

using namespace tessera;

namespace {

constexpr int ValueCount = 10000;
constexpr double RequiredLoadsPerSecond = 20000;
const QString Title = QStringLiteral("Bench App");

const QStringList &valueNames()
{
    static const QStringList names = [] {
        QStringList list;
        for (int i = 0; i < ValueCount; ++i)
            list << QStringLiteral("Setting %1").arg(i);
        return list;
    }();
    return names;
}

bool fillHive()
{
    crvCorvidSettings settings;
    Registry::Transaction transaction; // one commit instead of 10 000
    for (int i = 0; i < ValueCount; ++i) {
        if (!settings.SaveSetting(QString(), valueNames().at(i), rtString, QStringLiteral("value %1").arg(i), Title, 1,
                                  0))
            return false;
    }
    return transaction.commit() == 0;
}

void BM_LoadSetting(benchmark::State &state)
{
    crvCorvidSettings settings;
    int i = 0;
    for (auto _ : state) {
        bool found = false;
        const QVariant value = settings.LoadSetting(QString(), valueNames().at(i++ % ValueCount), rtString, Title, 1, 0,
                                                    {}, true, &found);
        if (!found) {
            state.SkipWithError("a stored value was not found");
            break;
        }
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_LoadSetting)->MinTime(2.0)->UseRealTime();

void BM_SaveSetting(benchmark::State &state)
{
    crvCorvidSettings settings;
    const QString text = QStringLiteral("a new value of moderate length");
    int i = 0;
    for (auto _ : state) {
        if (!settings.SaveSetting(QString(), valueNames().at(i++ % ValueCount), rtString, text, Title, 1, 0)) {
            state.SkipWithError("a save failed");
            break;
        }
    }
}
BENCHMARK(BM_SaveSetting)->MinTime(2.0)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    TimeKeepingReporter reporter;
    if (!runOnScratchHives(&argc, argv, fillHive, &reporter))
        return 2;
    const double loads = reporter.perSecond("BM_LoadSetting");
    std::printf("LoadSetting per second: %.0f (required: %.0f)\n", loads, RequiredLoadsPerSecond);
    std::printf("SaveSetting per second: %.0f\n", reporter.perSecond("BM_SaveSetting"));
    return loads >= RequiredLoadsPerSecond ? 0 : 1;
}
