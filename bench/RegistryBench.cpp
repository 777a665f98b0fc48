// bench_registry: settings loads as the settings store does them (open key,
// query the size, query the value, close) on a hive holding 10 000 values.
// Prints the loads per second in wall-clock time and fails below the
// 20 000/s the settings store needs.
#include "bench/ScratchHives.h"
#include "bench/TimeKeepingReporter.h"
#include "platform/Registry.h"

#include <benchmark/benchmark.h>
#include <cstdio>

using tessera::HKEY;
using tessera::Registry;

namespace {

constexpr int ValueCount = 10000;
constexpr double RequiredLoadsPerSecond = 20000;
const QString SettingsKey = QStringLiteral("Software\\Sablewing\\Corvid\\Bench\\Version 1.0");

QString valueName(int i)
{
    return QStringLiteral("Setting %1").arg(i);
}

bool fillHive()
{
    HKEY key = 0;
    if (Registry::RegCreateKeyEx(Registry::HKEY_CURRENT_USER, SettingsKey, Registry::KEY_ALL_ACCESS, &key) != 0)
        return false;
    bool ok = true;
    for (int i = 0; i < ValueCount && ok; ++i)
        ok = Registry::RegSetValueEx(key, valueName(i), Registry::REG_SZ, "value " + QByteArray::number(i) + '\0') == 0;
    Registry::RegCloseKey(key);
    return ok;
}

void BM_LoadSetting(benchmark::State &state)
{
    // Names made up front, so the loop measures the registry and not QString::arg.
    QStringList names;
    for (int i = 0; i < ValueCount; ++i)
        names << valueName(i);
    int i = 0;
    for (auto _ : state) {
        HKEY key = 0;
        quint32 size = 0;
        QByteArray data;
        const QString &name = names.at(i++ % ValueCount);
        if (Registry::RegOpenKeyEx(Registry::HKEY_CURRENT_USER, SettingsKey, Registry::KEY_QUERY_VALUE, &key) != 0
            || Registry::RegQueryValueEx(key, name, nullptr, nullptr, &size) != 0
            || Registry::RegQueryValueEx(key, name, nullptr, &data, &size) != 0 || Registry::RegCloseKey(key) != 0) {
            state.SkipWithError("a load failed");
            break;
        }
        benchmark::DoNotOptimize(data);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LoadSetting)->MinTime(2.0)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    TimeKeepingReporter reporter;
    if (!runOnScratchHives(&argc, argv, fillHive, &reporter))
        return 2;
    const double loads = reporter.perSecond("BM_LoadSetting");
    std::printf("registry loads per second: %.0f (required: %.0f)\n", loads, RequiredLoadsPerSecond);
    return loads >= RequiredLoadsPerSecond ? 0 : 1;
}
