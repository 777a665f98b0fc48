#include "platform/BoundedArray.h"

#include "tests/common/RaisedError.h"

#include <QString>

#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVID_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(CORVID_ASAN)
constexpr bool UnderAddressSanitizer = true;
#else
constexpr bool UnderAddressSanitizer = false;
#endif

using corvid::test::raisedNumber;
using tessera::BoundedArray;

TEST(BoundedArray, NeverDimensionedRaisesNineOnBoundsAndIndex)
{
    BoundedArray<int> a;
    EXPECT_FALSE(a.isDimensioned());
    EXPECT_EQ(raisedNumber([&] { a.LBound(); }), 9);
    EXPECT_EQ(raisedNumber([&] { a.UBound(); }), 9);
    EXPECT_EQ(raisedNumber([&] { a[0]; }), 9);
    EXPECT_EQ(a.size(), 0);
}

TEST(BoundedArray, OwnBoundsDecideTheValidIndexes)
{
    BoundedArray<QString> a(5, 9);
    EXPECT_EQ(a.LBound(), 5);
    EXPECT_EQ(a.UBound(), 9);
    EXPECT_EQ(a.size(), 5);
    a[5] = QStringLiteral("first");
    a[9] = QStringLiteral("last");
    EXPECT_EQ(a.elements().front(), QStringLiteral("first"));
    EXPECT_EQ(a.elements().back(), QStringLiteral("last"));
    EXPECT_EQ(raisedNumber([&] { a[4]; }), 9);
    EXPECT_EQ(raisedNumber([&] { a[10]; }), 9);
}

TEST(BoundedArray, EmptyAndInvalidDimensions)
{
    BoundedArray<int> empty(0, -1);
    EXPECT_TRUE(empty.isDimensioned());
    EXPECT_EQ(empty.UBound(), -1);
    EXPECT_EQ(empty.size(), 0);
    EXPECT_EQ(raisedNumber([] { BoundedArray<int>(3, 1); }), 9);
}

TEST(BoundedArray, ReDimResetsOrPreservesAndEraseForgetsBounds)
{
    BoundedArray<int> a = BoundedArray<int>::fromValues(1, {10, 20, 30});
    EXPECT_EQ(a.UBound(), 3);
    a.ReDim(1, 4, true);
    EXPECT_EQ(a[3], 30);
    EXPECT_EQ(a[4], 0);
    a.ReDim(-2, 0);
    EXPECT_EQ(a[-2], 0);
    EXPECT_EQ(a.size(), 3);
    a.Erase();
    EXPECT_EQ(raisedNumber([&] { a.LBound(); }), 9);
}

TEST(BoundedArray, BoundsAtTheEndsOfTheIntegerRange)
{
    constexpr int Max = std::numeric_limits<int>::max();
    constexpr int Min = std::numeric_limits<int>::min();
    const struct {
        const char *what;
        std::function<BoundedArray<int>()> make;
        int lower, upper;
    } cases[] = {
        {"one element at the top", [] { return BoundedArray<int>(Max, Max); }, Max, Max},
        {"empty at the top", [] { return BoundedArray<int>(Max, Max - 1); }, Max, Max - 1},
        {"two elements up to the top", [] { return BoundedArray<int>(Max - 1, Max); }, Max - 1, Max},
        {"one element at the bottom", [] { return BoundedArray<int>(Min, Min); }, Min, Min},
        {"one value at the top", [] { return BoundedArray<int>::fromValues(Max, {7}); }, Max, Max},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        BoundedArray<int> a = c.make();
        EXPECT_EQ(a.LBound(), c.lower);
        EXPECT_EQ(a.UBound(), c.upper);
        if (a.size() > 0) {
            a[c.upper] = 42;
            EXPECT_EQ(a.elements().back(), 42);
        }
    }

    // Values that would reach past the top, and no values below the bottom,
    // have an upper bound no integer can hold.
    EXPECT_EQ(raisedNumber([] { BoundedArray<int>::fromValues(Max, {1, 2}); }), 6);
    EXPECT_EQ(raisedNumber([] { BoundedArray<int>::fromValues(Min, {}); }), 6);
}

TEST(BoundedArray, BoundsMemoryCannotHoldRaiseSevenAndKeepTheArray)
{
    if (UnderAddressSanitizer)
        GTEST_SKIP() << "AddressSanitizer reports a petabyte request instead of failing it";
    using Block = std::array<char, 1 << 20>; // a megabyte an element: 2^30 of them
    BoundedArray<Block> a(1, 2);
    a[2][0] = 'x';
    for (const bool preserve : {false, true}) {
        SCOPED_TRACE(preserve);
        EXPECT_EQ(raisedNumber([&] { a.ReDim(0, 1 << 30, preserve); }), 7);
        EXPECT_EQ(a.LBound(), 1);
        EXPECT_EQ(a.UBound(), 2);
        EXPECT_EQ(a[2][0], 'x');
    }
}
