#include "lib/data/crvSort.h"

#include "lib/data/SortAlgorithms_p.h"
#include "platform/VariantCompare.h"
#include "platform/VariantConvert.h"

#include <QCollator>

#include <algorithm>
#include <functional>

namespace tessera {

namespace {

bool variantLess(const QVariant &a, const QVariant &b)
{
    return compareVariants(a, b) < 0;
}

// Binary text order: QString's operator< compares UTF-16 code units.
bool textLess(const QString &a, const QString &b)
{
    return a < b;
}

// Case-insensitive order of the user's locale. The collator compares
// case variants as equal (no tie-break), which keeps the insertion sort stable
// across them.
struct CaseInsensitiveLess {
    CaseInsensitiveLess() { collator.setCaseSensitivity(Qt::CaseInsensitive); }
    bool operator()(const QString &a, const QString &b) const { return collator.compare(a, b) < 0; }
    QCollator collator;
};

enum class Algorithm { Insertion, Quick };

template <typename T, typename Less> void sortArray(BoundedArray<T> &array, Algorithm algorithm, const Less &less)
{
    // The bound queries raise 9 for an array that was never dimensioned.
    const qint64 lower = array.LBound();
    const qint64 upper = array.UBound();
    if (upper - lower < 1)
        return;
    T *elements = array.elements().data();
    const auto last = qint32(upper - lower);
    if (algorithm == Algorithm::Insertion)
        detail::insertionSort(elements, 0, last, less);
    // Lists are often sorted again after a small change or none: input that is
    // already in order costs one pass instead of a full partitioning.
    else if (!std::is_sorted(elements, elements + last + 1, less))
        detail::quickSort(elements, 0, last, less);
}

// Converts every item before anything changes, so that a failing item leaves
// the collection as it was.
template <typename T>
void sortCollection(Collection *collection, T (*convert)(const QVariant &), crvSort &sorter,
                    void (crvSort::*sort)(BoundedArray<T> &))
{
    if (!collection || collection->isEmpty())
        return;
    BoundedArray<T> array(1, int(collection->Count()));
    for (int k = 1; k <= array.UBound(); ++k)
        array[k] = convert(collection->Item(k));
    (sorter.*sort)(array);
    collection->Clear();
    for (T &element : array.elements())
        collection->Add(QVariant(std::move(element)));
}

QVariant asIs(const QVariant &value)
{
    return value;
}

} // namespace

crvSort &crvSort::global()
{
    thread_local crvSort instance;
    return instance;
}

void crvSort::InsertionSortC(Collection *SortCollection)
{
    sortCollection(SortCollection, asIs, *this, &crvSort::InsertionSort);
}

void crvSort::InsertionSortC_ByString(Collection *SortCollection)
{
    sortCollection(SortCollection, variantToText, *this, &crvSort::InsertionSort_ByString);
}

void crvSort::InsertionSortC_ByStringText(Collection *SortCollection)
{
    sortCollection(SortCollection, variantToText, *this, &crvSort::InsertionSort_ByStringText);
}

void crvSort::InsertionSortC_ByLong(Collection *SortCollection)
{
    sortCollection(SortCollection, variantToLong, *this, &crvSort::InsertionSort_ByLong);
}

void crvSort::QuickSortC(Collection *SortCollection)
{
    sortCollection(SortCollection, asIs, *this, &crvSort::QuickSort);
}

void crvSort::QuickSortC_ByString(Collection *SortCollection)
{
    sortCollection(SortCollection, variantToText, *this, &crvSort::QuickSort_ByString);
}

void crvSort::QuickSortC_ByStringText(Collection *SortCollection)
{
    sortCollection(SortCollection, variantToText, *this, &crvSort::QuickSort_ByStringText);
}

void crvSort::QuickSortC_ByLong(Collection *SortCollection)
{
    sortCollection(SortCollection, variantToLong, *this, &crvSort::QuickSort_ByLong);
}

void crvSort::InsertionSort(BoundedArray<QVariant> &SortArray)
{
    sortArray(SortArray, Algorithm::Insertion, variantLess);
}

void crvSort::InsertionSort_ByLong(BoundedArray<qint32> &SortArray)
{
    sortArray(SortArray, Algorithm::Insertion, std::less<qint32>());
}

void crvSort::InsertionSort_ByString(BoundedArray<QString> &SortArray)
{
    sortArray(SortArray, Algorithm::Insertion, textLess);
}

void crvSort::InsertionSort_ByStringText(BoundedArray<QString> &SortArray)
{
    sortArray(SortArray, Algorithm::Insertion, CaseInsensitiveLess());
}

void crvSort::QuickSort(BoundedArray<QVariant> &SortArray)
{
    sortArray(SortArray, Algorithm::Quick, variantLess);
}

void crvSort::QuickSort_ByLong(BoundedArray<qint32> &SortArray)
{
    sortArray(SortArray, Algorithm::Quick, std::less<qint32>());
}

void crvSort::QuickSort_ByString(BoundedArray<QString> &SortArray)
{
    sortArray(SortArray, Algorithm::Quick, textLess);
}

void crvSort::QuickSort_ByStringText(BoundedArray<QString> &SortArray)
{
    sortArray(SortArray, Algorithm::Quick, CaseInsensitiveLess());
}

} // namespace tessera
