// crvSort's quicksort against std::sort on the same data in the same run:
// a million random 32-bit integers and a million random texts, and for each
// kind also an already sorted and an all-equal input of the same size, and
// both with their first element moved to the end, which the one-pass check
// for sorted input lets through to the partitioning. Prints how many times
// std::sort's time each of ours takes (goal: 1.5 or less).
#include "bench/TimeKeepingReporter.h"
#include "lib/data/crvSort.h"

#include <QRandomGenerator>
#include <QString>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kCount = 1000000;

std::vector<qint32> randomLongs()
{
    QRandomGenerator random(2024);
    std::vector<qint32> values(kCount);
    for (qint32 &v : values)
        v = qint32(random.generate());
    return values;
}

std::vector<QString> randomTexts()
{
    // Words of 5 to 20 letters, as names and captions are.
    QRandomGenerator random(2025);
    std::vector<QString> values(kCount);
    for (QString &v : values) {
        const int length = int(random.bounded(5, 21));
        v.resize(length);
        for (QChar &c : v)
            c = QChar(char16_t(u'a' + random.bounded(26)));
    }
    return values;
}

template <typename T> std::vector<T> sortedCopy(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values;
}

template <typename T> std::vector<T> firstMovedToEnd(std::vector<T> values)
{
    std::rotate(values.begin(), values.begin() + 1, values.end());
    return values;
}

template <typename T> void ourQuickSort(tessera::BoundedArray<T> &array);
template <> void ourQuickSort(tessera::BoundedArray<qint32> &array)
{
    tessera::crvSort::global().QuickSort_ByLong(array);
}
template <> void ourQuickSort(tessera::BoundedArray<QString> &array)
{
    tessera::crvSort::global().QuickSort_ByString(array);
}

// Both sides sort a copy of the same input in a buffer of their own that is
// allocated once, so that neither pays for page faults or gets luckier memory
// than the other; the copying is not timed.
template <typename T> void sortWithCrvSort(benchmark::State &state, const std::vector<T> *input)
{
    tessera::BoundedArray<T> array(1, int(input->size()));
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(input->begin(), input->end(), array.elements().begin());
        state.ResumeTiming();
        ourQuickSort(array);
        state.PauseTiming();
        if (!std::is_sorted(array.elements().begin(), array.elements().end()))
            state.SkipWithError("not sorted");
        state.ResumeTiming();
    }
}

template <typename T> void sortWithStd(benchmark::State &state, const std::vector<T> *input)
{
    std::vector<T> values(input->size());
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(input->begin(), input->end(), values.begin());
        state.ResumeTiming();
        std::sort(values.begin(), values.end());
        benchmark::DoNotOptimize(values.data());
    }
}

struct Pair {
    std::string ours;
    std::string peer;
};

template <typename T>
void registerPair(std::vector<Pair> &pairs, const char *ours, const std::string &input, const std::vector<T> *data)
{
    const std::string oursName = std::string(ours) + "/" + input;
    const std::string peerName = "std::sort/" + input;
    benchmark::RegisterBenchmark(oursName.c_str(), sortWithCrvSort<T>, data)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(peerName.c_str(), sortWithStd<T>, data)->Unit(benchmark::kMillisecond);
    pairs.push_back({oursName, peerName});
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);

    const std::vector<qint32> longs = randomLongs();
    const std::vector<qint32> sortedLongs = sortedCopy(longs);
    const std::vector<qint32> equalLongs(kCount, 42);
    std::vector<qint32> equalLongsButLast = equalLongs;
    equalLongsButLast.back() = 41;
    const std::vector<qint32> nearlySortedLongs = firstMovedToEnd(sortedLongs);
    const std::vector<QString> texts = randomTexts();
    const std::vector<QString> sortedTexts = sortedCopy(texts);
    const std::vector<QString> equalTexts(kCount, QStringLiteral("the same caption"));
    std::vector<QString> equalTextsButLast = equalTexts;
    equalTextsButLast.back() = QStringLiteral("a different caption");
    const std::vector<QString> nearlySortedTexts = firstMovedToEnd(sortedTexts);

    std::vector<Pair> pairs;
    registerPair(pairs, "QuickSort_ByLong", "random", &longs);
    registerPair(pairs, "QuickSort_ByLong", "sorted", &sortedLongs);
    registerPair(pairs, "QuickSort_ByLong", "equal", &equalLongs);
    registerPair(pairs, "QuickSort_ByLong", "sorted, first at end", &nearlySortedLongs);
    registerPair(pairs, "QuickSort_ByLong", "equal, last smaller", &equalLongsButLast);
    registerPair(pairs, "QuickSort_ByString", "random texts", &texts);
    registerPair(pairs, "QuickSort_ByString", "sorted texts", &sortedTexts);
    registerPair(pairs, "QuickSort_ByString", "equal texts", &equalTexts);
    registerPair(pairs, "QuickSort_ByString", "sorted texts, first at end", &nearlySortedTexts);
    registerPair(pairs, "QuickSort_ByString", "equal texts, last smaller", &equalTextsButLast);

    TimeKeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nCPU time of crvSort's quicksort / CPU time of std::sort, %d elements (goal: 1.5 or less)\n", kCount);
    for (const Pair &pair : pairs) {
        const auto ours = reporter.cpuTime.find(pair.ours);
        const auto peer = reporter.cpuTime.find(pair.peer);
        if (ours == reporter.cpuTime.end() || peer == reporter.cpuTime.end() || peer->second <= 0)
            continue;
        std::printf("  %-44s %8.1f ms  std::sort %8.1f ms  ratio %.2f\n", pair.ours.c_str(), ours->second, peer->second,
                    ours->second / peer->second);
    }
    benchmark::Shutdown();
    return 0;
}
