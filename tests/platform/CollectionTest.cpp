#include "platform/Collection.h"

#include "tests/common/RaisedError.h"

#include <gtest/gtest.h>

using corvid::test::raisedNumber;
using tessera::Collection;

namespace {

Collection threeItems()
{
    Collection c;
    c.Add(QStringLiteral("a"));
    c.Add(QStringLiteral("b"), QStringLiteral("Beta"));
    c.Add(3);
    return c;
}

} // namespace

TEST(Collection, IsIndexedFromOne)
{
    const Collection c = threeItems();
    ASSERT_EQ(c.Count(), 3);
    EXPECT_EQ(c.Item(1).toString(), QStringLiteral("a"));
    EXPECT_EQ(c.Item(3).toInt(), 3);
    EXPECT_EQ(raisedNumber([&] { c.Item(0); }), 9);
    EXPECT_EQ(raisedNumber([&] { c.Item(4); }), 9);
}

TEST(Collection, KeysAreCaseInsensitiveAndUnique)
{
    Collection c = threeItems();
    EXPECT_EQ(c.Item(QStringLiteral("BETA")).toString(), QStringLiteral("b"));
    EXPECT_TRUE(c.containsKey(QStringLiteral("beta")));
    EXPECT_EQ(raisedNumber([&] { c.Item(QStringLiteral("gamma")); }), 5);
    EXPECT_EQ(raisedNumber([&] { c.Add(1, QStringLiteral("bEtA")); }), 457);
    EXPECT_EQ(c.Count(), 3) << "a refused add must not change the collection";
}

TEST(Collection, RemoveByIndexAndKeyKeepsOrderAndFreesTheKey)
{
    Collection c = threeItems();
    c.Remove(QStringLiteral("beta"));
    ASSERT_EQ(c.Count(), 2);
    EXPECT_EQ(c.Item(2).toInt(), 3);
    EXPECT_FALSE(c.containsKey(QStringLiteral("Beta")));
    c.Add(QStringLiteral("again"), QStringLiteral("Beta"));
    EXPECT_EQ(c.Item(QStringLiteral("beta")).toString(), QStringLiteral("again"));

    c.Remove(3);
    EXPECT_FALSE(c.containsKey(QStringLiteral("beta"))) << "removing by index must drop the key too";
    EXPECT_EQ(raisedNumber([&] { c.Remove(3); }), 9);
    EXPECT_EQ(raisedNumber([&] { c.Remove(QStringLiteral("nothing")); }), 5);
    EXPECT_EQ(raisedNumber([&] { c.Remove(QString()); }), 5);
}

TEST(Collection, ValuesDropKeysAndClearEmpties)
{
    Collection c = threeItems();
    EXPECT_EQ(c.values(), (QVariantList {QStringLiteral("a"), QStringLiteral("b"), 3}));
    c.Clear();
    EXPECT_TRUE(c.isEmpty());
    EXPECT_FALSE(c.containsKey(QStringLiteral("beta")));
}
