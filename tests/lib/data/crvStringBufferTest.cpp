#include "lib/data/crvStringBuffer.h"

#include "tests/common/RaisedError.h"

#include <QMetaObject>

#include <gtest/gtest.h>

using corvid::test::raisedNumber;
using tessera::crvStringBuffer;

TEST(crvStringBuffer, PiecesOverwriteTheFillerFromTheFront)
{
    crvStringBuffer b;
    b.Alloc(10);
    b.AddText(QStringLiteral("abc"));
    b.AddText(QStringLiteral("de"));
    EXPECT_EQ(b.Value(), QStringLiteral("abcde     "));
    EXPECT_EQ(b.Size(), 10);
    b.Trim();
    EXPECT_EQ(b.Value(), QStringLiteral("abcde"));
    EXPECT_EQ(b.Size(), 5);
    b.Trim();
    EXPECT_EQ(b.Value(), QStringLiteral("abcde")) << "a full buffer has nothing to trim";
}

TEST(crvStringBuffer, APieceThatReachesTheFillersEndDropsIt)
{
    crvStringBuffer exact;
    exact.Alloc(4);
    exact.AddText(QStringLiteral("abcd"));
    EXPECT_EQ(exact.Value(), QStringLiteral("abcd"));
    EXPECT_EQ(exact.Size(), 4);
    exact.AddText(QStringLiteral("e"));
    EXPECT_EQ(exact.Value(), QStringLiteral("abcde"));
    EXPECT_EQ(exact.Size(), 5);

    crvStringBuffer over;
    over.Alloc(5, QStringLiteral("."));
    over.AddText(QStringLiteral("abc"));
    over.AddText(QStringLiteral("defg"));
    EXPECT_EQ(over.Value(), QStringLiteral("abcdefg")) << "the rest of the filler is gone, not kept behind";
    EXPECT_EQ(over.Size(), 7);
    over.Trim();
    EXPECT_EQ(over.Value(), QStringLiteral("abcdefg"));
}

TEST(crvStringBuffer, WithoutFillerPiecesAreAppended)
{
    crvStringBuffer b;
    EXPECT_EQ(b.Size(), 0);
    b.AddText(QString());
    EXPECT_EQ(b.Value(), QString());
    b.AddText(QStringLiteral("x"));
    EXPECT_EQ(b.Value(), QStringLiteral("x"));
    EXPECT_EQ(b.Size(), 1);

    b.setValue(QStringLiteral("hello"));
    b.AddText(QStringLiteral("!"));
    EXPECT_EQ(b.Value(), QStringLiteral("hello!"));
    EXPECT_EQ(b.Size(), 6);
}

TEST(crvStringBuffer, AllocStartsAgainAtTheFront)
{
    crvStringBuffer b;
    b.setValue(QStringLiteral("old text"));
    b.Alloc(3, QStringLiteral("xyz"));
    EXPECT_EQ(b.Value(), QStringLiteral("xxx")) << "a text gives its first character";
    b.AddText(QStringLiteral("a"));
    EXPECT_EQ(b.Value(), QStringLiteral("axx"));
    b.Alloc(0);
    EXPECT_EQ(b.Value(), QString());
    EXPECT_EQ(b.Size(), 0);
    b.AddText(QStringLiteral("q"));
    EXPECT_EQ(b.Value(), QStringLiteral("q"));
}

TEST(crvStringBuffer, AllocTakesACharacterCode)
{
    crvStringBuffer b;
    b.Alloc(2, 65);
    EXPECT_EQ(b.Value(), QStringLiteral("AA"));
    b.Alloc(1, 0x416);
    EXPECT_EQ(b.Value(), QStringLiteral("Ж"));
    b.Alloc(1, 0xFFFF);
    EXPECT_EQ(b.Value(), QString(QChar(0xFFFF)));
    b.Alloc(1, 66.0);
    EXPECT_EQ(b.Value(), QStringLiteral("B"));
    b.Alloc(2, QChar(u'-'));
    EXPECT_EQ(b.Value(), QStringLiteral("--"));
}

TEST(crvStringBuffer, AllocRefusesBadArgumentsWithoutChange)
{
    crvStringBuffer b;
    b.Alloc(4, QStringLiteral("."));
    b.AddText(QStringLiteral("ab"));
    for (const QVariant &character : {QVariant(QString()), QVariant(-1), QVariant(65536), QVariant(1e300), QVariant(),
                                      QVariant::fromValue(nullptr), QVariant(QVariantList {65}), QVariant(true)}) {
        SCOPED_TRACE(qPrintable(character.toString()));
        EXPECT_EQ(raisedNumber([&] { b.Alloc(3, character); }), 5);
    }
    EXPECT_EQ(raisedNumber([&] { b.Alloc(-1); }), 5);
    EXPECT_EQ(b.Value(), QStringLiteral("ab.."));
    b.AddText(QStringLiteral("c"));
    EXPECT_EQ(b.Value(), QStringLiteral("abc.")) << "the write position is kept too";
}

TEST(crvStringBuffer, AValueReadEarlierDoesNotChangeWithLaterPieces)
{
    crvStringBuffer b;
    b.Alloc(6);
    b.AddText(QStringLiteral("ab"));
    const QString before = b.Value();
    b.AddText(QStringLiteral("cd"));
    EXPECT_EQ(before, QStringLiteral("ab    "));
    EXPECT_EQ(b.Value(), QStringLiteral("abcd  "));
}

TEST(crvStringBuffer, IsReachableByMemberName)
{
    crvStringBuffer b;
    ASSERT_TRUE(QMetaObject::invokeMethod(&b, "Alloc", Q_ARG(qint32, 3), Q_ARG(QVariant, QStringLiteral("*"))));
    ASSERT_TRUE(QMetaObject::invokeMethod(&b, "AddText", Q_ARG(QString, QStringLiteral("a"))));
    EXPECT_EQ(b.property("Value").toString(), QStringLiteral("a**"));
    EXPECT_EQ(b.property("Size").toInt(), 3);
    ASSERT_TRUE(b.setProperty("Value", QStringLiteral("xy")));
    EXPECT_EQ(b.Size(), 2);
}
