// The sorting templates behind crvSort, with comparisons that the public
// element kinds cannot produce: one that raises part-way through and one
// that is no order at all.
#include "lib/data/SortAlgorithms_p.h"

#include <QRandomGenerator>
#include <QString>

#include <algorithm>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

using namespace tessera::detail;

namespace {

std::vector<QString> randomTexts(int count, quint32 seed)
{
    QRandomGenerator random(seed);
    std::vector<QString> texts;
    for (int i = 0; i < count; ++i)
        texts.push_back(QString::number(random.bounded(1000)));
    return texts;
}

std::vector<QString> sorted(std::vector<QString> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

} // namespace

TEST(SortAlgorithms, ARaisingComparisonLeavesEveryElementInPlace)
{
    // Raise at every possible point of the run, moving elements included.
    const std::vector<QString> input = randomTexts(200, 5);
    for (int failAt = 1; failAt < 3000; failAt += 7) {
        for (const bool quick : {false, true}) {
            SCOPED_TRACE(failAt);
            std::vector<QString> v = input;
            int comparisons = 0;
            const auto less = [&](const QString &a, const QString &b) {
                if (++comparisons == failAt)
                    throw std::runtime_error("comparison failed");
                return a < b;
            };
            try {
                if (quick)
                    quickSort(v.data(), 0, qint32(v.size()) - 1, less);
                else
                    insertionSort(v.data(), 0, qint32(v.size()) - 1, less);
            } catch (const std::runtime_error &) { }
            ASSERT_EQ(sorted(v), sorted(input)) << "an element was lost or doubled";
        }
    }
}

TEST(SortAlgorithms, QuickSortStaysInsideTheRangeWhateverTheComparisonSays)
{
    // A "less than" that answers at random, even for an element and itself.
    QRandomGenerator random(9);
    const auto chaos = [&](const QString &, const QString &) { return random.bounded(2) == 1; };
    const std::vector<QString> input = randomTexts(5000, 6);
    std::vector<QString> v = input;
    quickSort(v.data(), 0, qint32(v.size()) - 1, chaos);
    EXPECT_EQ(sorted(v), sorted(input));
    const auto always = [](const QString &, const QString &) { return true; };
    quickSort(v.data(), 0, qint32(v.size()) - 1, always);
    EXPECT_EQ(sorted(v), sorted(input));
}
