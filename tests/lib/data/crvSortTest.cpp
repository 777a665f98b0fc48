#include "lib/data/crvSort.h"

#include "tests/common/DefaultLocale.h"
#include "tests/common/RaisedError.h"

#include <QLocale>
#include <QObject>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

using corvid::test::DefaultLocale;
using corvid::test::raisedNumber;
using tessera::BoundedArray;
using tessera::Collection;
using tessera::crvSort;

namespace {

template <typename T> using ArraySort = void (crvSort::*)(BoundedArray<T> &);

template <typename T> std::vector<T> sortedWith(ArraySort<T> sort, std::vector<T> values, int lower = 1)
{
    auto array = BoundedArray<T>::fromValues(lower, std::move(values));
    (crvSort::global().*sort)(array);
    EXPECT_EQ(array.LBound(), lower) << "the bounds stay as they were";
    return array.elements();
}

QStringList texts(const std::vector<QString> &values)
{
    return QStringList(values.begin(), values.end());
}

QVariantList itemsOf(const Collection &c)
{
    return c.values();
}

const ArraySort<qint32> longSorts[] = {&crvSort::InsertionSort_ByLong, &crvSort::QuickSort_ByLong};
const ArraySort<QString> binarySorts[] = {&crvSort::InsertionSort_ByString, &crvSort::QuickSort_ByString};
const ArraySort<QString> textSorts[] = {&crvSort::InsertionSort_ByStringText, &crvSort::QuickSort_ByStringText};
const ArraySort<QVariant> variantSorts[] = {&crvSort::InsertionSort, &crvSort::QuickSort};

} // namespace

TEST(crvSort, GlobalObjectIsOnePerThread)
{
    crvSort *here = &crvSort::global();
    EXPECT_EQ(here, &crvSort::global());
    crvSort *there = nullptr;
    std::unique_ptr<QThread> thread(QThread::create([&] { there = &crvSort::global(); }));
    thread->start();
    ASSERT_TRUE(thread->wait(10000));
    EXPECT_NE(there, nullptr);
    EXPECT_NE(there, here);
}

TEST(crvSort, ArrayFormsSortOverTheirOwnBounds)
{
    for (const auto sort : longSorts) {
        EXPECT_EQ(sortedWith(sort, {3, 1, 2}), (std::vector<qint32> {1, 2, 3}));
        EXPECT_EQ(sortedWith(sort, {9, -4, 7, 0, 7}, 5), (std::vector<qint32> {-4, 0, 7, 7, 9}));
        EXPECT_EQ(sortedWith(sort, {2, 1}, -3), (std::vector<qint32> {1, 2}));
        EXPECT_EQ(sortedWith(sort, {42}), (std::vector<qint32> {42}));
        EXPECT_EQ(sortedWith(sort, {}, 5), (std::vector<qint32> {})) << "upper bound below lower bound";
        EXPECT_EQ(sortedWith(sort, {std::numeric_limits<qint32>::max(), std::numeric_limits<qint32>::min(), 0}),
                  (std::vector<qint32> {std::numeric_limits<qint32>::min(), 0, std::numeric_limits<qint32>::max()}));
    }
}

TEST(crvSort, NeverDimensionedArraysRaise9)
{
    crvSort sorter;
    BoundedArray<qint32> longs;
    BoundedArray<QString> strings;
    BoundedArray<QVariant> variants;
    for (const auto sort : longSorts)
        EXPECT_EQ(raisedNumber([&] { (sorter.*sort)(longs); }), 9);
    for (const auto sort : binarySorts)
        EXPECT_EQ(raisedNumber([&] { (sorter.*sort)(strings); }), 9);
    for (const auto sort : textSorts)
        EXPECT_EQ(raisedNumber([&] { (sorter.*sort)(strings); }), 9);
    for (const auto sort : variantSorts)
        EXPECT_EQ(raisedNumber([&] { (sorter.*sort)(variants); }), 9);
    EXPECT_FALSE(longs.isDimensioned());
}

TEST(crvSort, BinaryAndCaseInsensitiveTextOrder)
{
    const std::vector<QString> bBa = {QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("a")};
    EXPECT_EQ(texts(sortedWith(&crvSort::InsertionSort_ByString, bBa)), QStringList({"B", "a", "b"}));
    EXPECT_EQ(texts(sortedWith(&crvSort::QuickSort_ByString, bBa)), QStringList({"B", "a", "b"}));
    EXPECT_EQ(texts(sortedWith(&crvSort::InsertionSort_ByStringText, bBa)), QStringList({"a", "b", "B"}))
        << "b and B compare equal and keep their order";
    const QStringList quick = texts(sortedWith(&crvSort::QuickSort_ByStringText, bBa));
    EXPECT_EQ(quick.first(), QStringLiteral("a"));
    EXPECT_EQ(QStringList(quick.mid(1)).join(QString()).toLower(), QStringLiteral("bb"));

    const std::vector<QString> mixed = {QStringLiteral("C"), QStringLiteral("a"), QStringLiteral("B")};
    for (const auto sort : textSorts)
        EXPECT_EQ(texts(sortedWith(sort, mixed)), QStringList({"a", "B", "C"}));
}

TEST(crvSort, CaseInsensitiveOrderFollowsTheUsersLocale)
{
    const DefaultLocale russian(QLocale(QLocale::Russian, QLocale::Russia));
    const std::vector<QString> words
        = {QStringLiteral("б"), QStringLiteral("А"), QStringLiteral("в"), QStringLiteral("Б"), QStringLiteral("а")};
    EXPECT_EQ(texts(sortedWith(&crvSort::InsertionSort_ByStringText, words)), QStringList({"А", "а", "б", "Б", "в"}));
    const QStringList quick = texts(sortedWith(&crvSort::QuickSort_ByStringText, words));
    ASSERT_EQ(quick.size(), 5);
    EXPECT_EQ(quick.at(0).toLower(), QStringLiteral("а"));
    EXPECT_EQ(quick.at(2).toLower(), QStringLiteral("б"));
    EXPECT_EQ(quick.at(4), QStringLiteral("в"));
}

TEST(crvSort, InsertionSortIsStable)
{
    // Case variants are equal to the case-insensitive order; their original
    // order must survive.
    QRandomGenerator random(7);
    std::vector<QString> values;
    for (int i = 0; i < 400; ++i) {
        QString word;
        for (int k = 0; k < 2; ++k)
            word.append(QChar(u"aAbB"[random.bounded(4)]));
        values.push_back(word);
    }
    std::vector<QString> expected = values;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    EXPECT_EQ(sortedWith(&crvSort::InsertionSort_ByStringText, values), expected);
}

TEST(crvSort, DynamicallyTypedValuesPutNumbersBeforeTexts)
{
    const std::vector<QVariant> values
        = {3, QStringLiteral("b"), 2.5, QStringLiteral("a"), true, qint64(100), QStringLiteral("10")};
    const std::vector<QVariant> expected
        = {true, 2.5, 3, qint64(100), QStringLiteral("10"), QStringLiteral("a"), QStringLiteral("b")};
    for (const auto sort : variantSorts)
        EXPECT_EQ(sortedWith(sort, values), expected);
}

TEST(crvSort, ComparisonErrorsPropagateAndKeepEveryElement)
{
    QObject object;
    const QVariant asObject = QVariant::fromValue(&object);
    QRandomGenerator random(11);
    std::vector<QVariant> values;
    for (int i = 0; i < 300; ++i)
        values.push_back(int(random.bounded(1000)));
    values.insert(values.begin() + 150, asObject);

    for (const auto sort : variantSorts) {
        auto array = BoundedArray<QVariant>::fromValues(0, values);
        EXPECT_EQ(raisedNumber([&] { (crvSort::global().*sort)(array); }), 438);
        // The array may be partly sorted, but it still holds every element once.
        std::vector<int> numbers;
        int objects = 0;
        for (const QVariant &v : array.elements()) {
            if (v == asObject)
                ++objects;
            else
                numbers.push_back(v.toInt());
        }
        EXPECT_EQ(objects, 1);
        std::vector<int> original;
        for (const QVariant &v : values)
            if (v != asObject)
                original.push_back(v.toInt());
        std::sort(numbers.begin(), numbers.end());
        std::sort(original.begin(), original.end());
        EXPECT_EQ(numbers, original);
    }
}

TEST(crvSort, InconsistentComparisonsStillEndWithTheSameElements)
{
    // Empty is 0 against numbers and "" against texts, so Empty < 1 < "" = Empty:
    // no consistent order exists, and the sort must still end safely.
    QRandomGenerator random(3);
    std::vector<QVariant> values;
    for (int i = 0; i < 30000; ++i) {
        switch (random.bounded(3)) {
        case 0:
            values.push_back(QVariant());
            break;
        case 1:
            values.push_back(int(random.bounded(-5, 5)));
            break;
        default:
            values.push_back(QString(QChar(u'a' + random.bounded(3))));
        }
    }
    const auto signature = [](const std::vector<QVariant> &v) {
        QStringList s;
        for (const QVariant &x : v)
            s.append(x.isValid() ? QString::fromLatin1(x.typeName()) + x.toString() : QStringLiteral("Empty"));
        s.sort();
        return s;
    };
    EXPECT_EQ(signature(sortedWith(&crvSort::QuickSort, values)), signature(values));
    values.resize(2000); // the insertion sort is quadratic
    EXPECT_EQ(signature(sortedWith(&crvSort::InsertionSort, values)), signature(values));
}

TEST(crvSort, QuickSortHandlesAdversarialInputs)
{
    // Scans restarted from both ends on every pass would make these quadratic,
    // and recursing into both parts would nest a million calls deep.
    constexpr int n = 1000000;
    const std::vector<std::pair<const char *, std::function<qint32(int)>>> shapes = {
        {"sorted", [](int i) { return i; }},
        {"reversed", [](int i) { return n - i; }},
        {"all equal", [](int) { return 7; }},
        {"organ pipe", [](int i) { return i < n / 2 ? i : n - i; }},
        {"few distinct", [](int i) { return i % 3; }},
        {"sawtooth", [](int i) { return i % 1000; }},
        // Sorted input skips the partitioning; one element out of place at the
        // very end must still reach it.
        {"sorted, first at end", [](int i) { return i == n - 1 ? 0 : i + 1; }},
        {"all equal, last smaller", [](int i) { return i == n - 1 ? 6 : 7; }},
    };
    for (const auto &[name, shape] : shapes) {
        SCOPED_TRACE(name);
        std::vector<qint32> values(n);
        for (int i = 0; i < n; ++i)
            values[size_t(i)] = shape(i);
        std::vector<qint32> expected = values;
        std::sort(expected.begin(), expected.end());
        EXPECT_TRUE(sortedWith(&crvSort::QuickSort_ByLong, values) == expected);
    }
}

TEST(crvSort, QuickSortOfTextsAndVariantsHandlesAdversarialInputs)
{
    constexpr int n = 100000;
    std::vector<QString> equal(n, QStringLiteral("same"));
    EXPECT_TRUE(sortedWith(&crvSort::QuickSort_ByString, equal) == equal);
    EXPECT_TRUE(sortedWith(&crvSort::QuickSort_ByStringText, equal) == equal);

    std::vector<QString> pipe;
    for (int i = 0; i < n; ++i)
        pipe.push_back(QString::number(i < n / 2 ? i : n - i).rightJustified(6, QLatin1Char('0')));
    std::vector<QString> expected = pipe;
    std::sort(expected.begin(), expected.end());
    EXPECT_TRUE(sortedWith(&crvSort::QuickSort_ByString, pipe) == expected);

    std::vector<QVariant> sorted;
    for (int i = 0; i < n; ++i)
        sorted.push_back(i);
    EXPECT_TRUE(sortedWith(&crvSort::QuickSort, sorted) == sorted);
}

TEST(crvSort, QuickSortNeedsOnlyALogarithmicStack)
{
    // A quarter of a megabyte of stack holds a few dozen frames of the sort,
    // not the thousands a partition into one empty and one full part needs.
    std::vector<qint32> values(1000000, 5);
    values[500000] = 4;
    bool sorted = false;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        auto array = BoundedArray<qint32>::fromValues(1, values);
        crvSort::global().QuickSort_ByLong(array);
        sorted = std::is_sorted(array.elements().begin(), array.elements().end());
    }));
    thread->setStackSize(256 * 1024);
    thread->start();
    ASSERT_TRUE(thread->wait(120000));
    EXPECT_TRUE(sorted);
}

TEST(crvSort, QuickSortAgreesWithStdSortOnRandomData)
{
    QRandomGenerator random(2024);
    std::vector<qint32> longs(50000);
    for (qint32 &v : longs)
        v = qint32(random.generate());
    std::vector<qint32> expectedLongs = longs;
    std::sort(expectedLongs.begin(), expectedLongs.end());
    EXPECT_TRUE(sortedWith(&crvSort::QuickSort_ByLong, longs) == expectedLongs);

    std::vector<QString> strings(50000);
    for (QString &s : strings) {
        const int length = int(random.bounded(6));
        for (int k = 0; k < length; ++k)
            s.append(QChar(char16_t(random.bounded(0x41, 0x44))));
    }
    std::vector<QString> expectedStrings = strings;
    std::sort(expectedStrings.begin(), expectedStrings.end());
    EXPECT_TRUE(sortedWith(&crvSort::QuickSort_ByString, strings) == expectedStrings);
}

TEST(crvSort, CollectionFormsSortValuesAndDropKeys)
{
    const auto keyed = [] {
        Collection c;
        c.Add(QStringLiteral("pear"), QStringLiteral("k1"));
        c.Add(QStringLiteral("Apple"), QStringLiteral("k2"));
        c.Add(QStringLiteral("fig"));
        c.Add(QStringLiteral("apple"), QStringLiteral("k3"));
        return c;
    };
    using CollectionSort = void (crvSort::*)(Collection *);
    const std::pair<CollectionSort, QStringList> cases[] = {
        {&crvSort::QuickSortC_ByString, {"Apple", "apple", "fig", "pear"}},
        {&crvSort::InsertionSortC_ByString, {"Apple", "apple", "fig", "pear"}},
        {&crvSort::InsertionSortC_ByStringText, {"Apple", "apple", "fig", "pear"}},
        {&crvSort::InsertionSortC, {"Apple", "apple", "fig", "pear"}},
        {&crvSort::QuickSortC, {"Apple", "apple", "fig", "pear"}},
    };
    for (const auto &[sort, expected] : cases) {
        Collection c = keyed();
        (crvSort::global().*sort)(&c);
        EXPECT_EQ(QVariant(itemsOf(c)).toStringList(), expected);
        EXPECT_FALSE(c.containsKey(QStringLiteral("k1")));
        EXPECT_FALSE(c.containsKey(QStringLiteral("k3")));
    }

    Collection c = keyed();
    crvSort::global().QuickSortC_ByStringText(&c);
    const QStringList result = QVariant(itemsOf(c)).toStringList();
    EXPECT_EQ(result.mid(2), QStringList({"fig", "pear"}));
    EXPECT_EQ(result.first().toLower(), QStringLiteral("apple"));
}

TEST(crvSort, CollectionFormsConvertItems)
{
    Collection c;
    c.Add(QStringLiteral("12"));
    c.Add(3.5);
    c.Add(true);
    c.Add(-7);
    crvSort::global().QuickSortC_ByLong(&c);
    EXPECT_EQ(itemsOf(c), (QVariantList {-7, -1, 4, 12}));
    EXPECT_EQ(c.Item(1).metaType().id(), QMetaType::Int) << "items come back as 32-bit integers";

    Collection d;
    d.Add(10);
    d.Add(QStringLiteral("9"));
    d.Add(true);
    crvSort::global().InsertionSortC_ByString(&d);
    EXPECT_EQ(itemsOf(d), (QVariantList {QStringLiteral("10"), QStringLiteral("9"), QStringLiteral("True")}));
}

TEST(crvSort, CollectionFormsRaiseBeforeAnyChange)
{
    QObject object;
    const auto collection = [&](const QVariant &odd) {
        Collection c;
        c.Add(5, QStringLiteral("five"));
        c.Add(odd);
        c.Add(1, QStringLiteral("one"));
        return c;
    };
    using CollectionSort = void (crvSort::*)(Collection *);
    const std::tuple<CollectionSort, QVariant, qint32> cases[] = {
        {&crvSort::QuickSortC_ByLong, QStringLiteral("not a number"), 13},
        {&crvSort::InsertionSortC_ByLong, QStringLiteral("not a number"), 13},
        {&crvSort::QuickSortC_ByLong, 1e12, 6},
        {&crvSort::QuickSortC_ByString, QVariant::fromValue(nullptr), 13},
        {&crvSort::QuickSortC_ByStringText, QVariant::fromValue(&object), 438},
        {&crvSort::QuickSortC, QVariant::fromValue(&object), 438},
        {&crvSort::InsertionSortC, QVariantList {1}, 13},
    };
    for (const auto &[sort, odd, error] : cases) {
        Collection c = collection(odd);
        EXPECT_EQ(raisedNumber([&] { (crvSort::global().*sort)(&c); }), error);
        EXPECT_EQ(itemsOf(c), itemsOf(collection(odd))) << "the collection is unchanged";
        EXPECT_TRUE(c.containsKey(QStringLiteral("five")));
    }
}

TEST(crvSort, CollectionFormsIgnoreMissingAndEmptyCollections)
{
    Collection empty;
    crvSort sorter;
    sorter.QuickSortC_ByLong(nullptr);
    sorter.QuickSortC(&empty);
    sorter.InsertionSortC_ByString(&empty);
    EXPECT_EQ(empty.Count(), 0);

    Collection one;
    one.Add(QStringLiteral("x"), QStringLiteral("key"));
    sorter.QuickSortC_ByString(&one);
    EXPECT_EQ(itemsOf(one), QVariantList {QStringLiteral("x")});
    EXPECT_FALSE(one.containsKey(QStringLiteral("key"))) << "even a single item loses its key";
}
