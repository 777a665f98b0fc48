#pragma once

// The two sorting algorithms behind crvSort, for any element type and a
// strict "less than" of it. Internal to the library.

#include "support/csSystem.h"

#include <QtGlobal>

#include <utility>

namespace tessera::detail {

/// Stable insertion sort of a[lo..hi]. Elements move, they are not copied;
/// when the comparison raises, the element in hand goes back into the gap, so
/// the range stays a permutation of what it held.
template <typename T, typename Less> void insertionSort(T *a, qint32 lo, qint32 hi, const Less &less)
{
    for (qint32 i = lo + 1; i <= hi; ++i) {
        if (!less(a[i], a[i - 1]))
            continue;
        T v = std::move(a[i]);
        qint32 j = i;
        try {
            do {
                a[j] = std::move(a[j - 1]);
                --j;
            } while (j > lo && less(v, a[j - 1]));
        } catch (...) {
            a[j] = std::move(v);
            throw;
        }
        a[j] = std::move(v);
    }
}

// Below this size a range is finished by insertion sort, which beats further
// partitioning (and its random draws) on a handful of elements.
inline constexpr qint32 quickSortCutoff = 32;

/// The pivot's index for a[lo..hi]: the median of three elements a third of
/// the range apart, the first of them at the random position csGetRnd draws
/// (wrapping round the end). Every element lies in exactly three of these
/// triples, so at least a quarter of the draws give a pivot from the middle
/// half, whatever the input: the expected time stays O(n log n), while
/// sorted and nearly sorted input get pivots close to the true median.
template <typename T, typename Less> qint32 pivotIndex(const T *a, qint32 lo, qint32 hi, const Less &less)
{
    const qint64 length = qint64(hi) - lo + 1;
    const qint64 third = length / 3;
    const auto wrap = [&](qint64 i) { return qint32(i > hi ? i - length : i); };
    qint32 x = cs::csGetRnd(lo, hi);
    qint32 y = wrap(x + third);
    const qint32 z = wrap(y + third);
    if (less(a[y], a[x]))
        std::swap(x, y);
    // Now a[x] <= a[y]; the median is y unless z comes before it.
    if (less(a[z], a[y]))
        return less(a[z], a[x]) ? x : z;
    return y;
}

/// Randomised quicksort of a[lo..hi]: ascending, not stable, expected time
/// O(n log n) on every input and stack depth O(log n).
///
/// The pivot (pivotIndex) is moved to a[hi]. Both scans continue from where
/// they stopped and stop on elements equal to the pivot, so runs of equal
/// elements are split evenly instead of piling up on one side. Only the
/// smaller part is sorted by a recursive call; the larger one is taken by the
/// loop. Every scan is bounded by the range, so even a comparison that is not
/// a consistent order cannot lead outside it.
template <typename T, typename Less> void quickSort(T *a, qint32 lo, qint32 hi, const Less &less)
{
    while (hi - lo >= quickSortCutoff) {
        std::swap(a[pivotIndex(a, lo, hi, less)], a[hi]);
        const T &pivot = a[hi]; // stays in place until the final swap
        qint32 i = lo - 1;
        qint32 j = hi;
        for (;;) {
            while (less(a[++i], pivot)) {
                if (i == hi)
                    break;
            }
            while (less(pivot, a[--j])) {
                if (j == lo)
                    break;
            }
            if (i >= j)
                break;
            std::swap(a[i], a[j]);
        }
        std::swap(a[i], a[hi]);
        // Now a[lo..i-1] <= a[i] <= a[i+1..hi].
        if (i - lo < hi - i) {
            quickSort(a, lo, i - 1, less);
            lo = i + 1;
        } else {
            quickSort(a, i + 1, hi, less);
            hi = i - 1;
        }
    }
    insertionSort(a, lo, hi, less);
}

} // namespace tessera::detail
