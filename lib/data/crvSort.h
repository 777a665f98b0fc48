#pragma once

#include "lib/TesseraExport.h"
#include "platform/BoundedArray.h"
#include "platform/Collection.h"

#include <QString>
#include <QVariant>

namespace tessera {

/// Sorts one-dimensional arrays and collections in place, in ascending order.
///
/// Two algorithms, each for four kinds of element: an insertion sort (stable,
/// quadratic time, for small inputs) and a randomised quicksort (not stable,
/// expected O(n log n) time on every input, O(log n) stack). The kinds:
/// - dynamically typed values, compared as the platform compares two
///   Variants (tessera::compareVariants: numbers by value, texts by code, a
///   number before any text);
/// - `ByLong`: 32-bit integers;
/// - `ByString`: texts by UTF-16 code unit, case-sensitive;
/// - `ByStringText`: texts ignoring case, under the user's locale (QCollator),
///   so "b" and "B" are equal and keep their order in the insertion sort.
///
/// Array forms sort the range LBound()..UBound() of the caller's array and
/// raise 9 (subscript out of range) for an array that was never dimensioned;
/// fewer than two elements are left alone. Comparison errors of dynamically
/// typed values (438 for an object, 13 for an array element) propagate; the
/// array then holds the same elements, partly sorted.
///
/// Collection forms (`...C`) do nothing for a null or empty collection.
/// Otherwise they convert every item to the form's element type first (text:
/// tessera::variantToText, 32-bit: tessera::variantToLong); an item that does
/// not convert raises (13 type mismatch, 6 overflow) and leaves the
/// collection unchanged. They then sort and put the items back in order,
/// without their keys.
///
/// crvSort holds no state; global() gives the thread's application object.
///
///     tessera::Collection c; // "pear", "Apple", "fig"
///     tessera::crvSort::global().QuickSortC_ByString(&c); // "Apple", "fig", "pear"
class TESSERA_EXPORT crvSort
{
public:
    /// The application object of the calling thread, for hosts that call
    /// crvSort without creating one.
    static crvSort &global();

    void InsertionSortC(Collection *SortCollection);
    void InsertionSortC_ByString(Collection *SortCollection);
    void InsertionSortC_ByStringText(Collection *SortCollection);
    void InsertionSortC_ByLong(Collection *SortCollection);
    void QuickSortC(Collection *SortCollection);
    void QuickSortC_ByString(Collection *SortCollection);
    void QuickSortC_ByStringText(Collection *SortCollection);
    void QuickSortC_ByLong(Collection *SortCollection);

    void InsertionSort(BoundedArray<QVariant> &SortArray);
    void InsertionSort_ByLong(BoundedArray<qint32> &SortArray);
    void InsertionSort_ByString(BoundedArray<QString> &SortArray);
    void InsertionSort_ByStringText(BoundedArray<QString> &SortArray);
    void QuickSort(BoundedArray<QVariant> &SortArray);
    void QuickSort_ByLong(BoundedArray<qint32> &SortArray);
    void QuickSort_ByString(BoundedArray<QString> &SortArray);
    void QuickSort_ByStringText(BoundedArray<QString> &SortArray);
};

} // namespace tessera
