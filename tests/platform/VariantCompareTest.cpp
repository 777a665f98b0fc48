#include "platform/VariantCompare.h"

#include "tests/common/RaisedError.h"

#include <QDate>
#include <QDateTime>
#include <QObject>

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using corvid::test::raisedNumber;
using tessera::compareVariants;
using tessera::compareVariantWithNumber;

namespace {

const QVariant Empty;
const QVariant Null = QVariant::fromValue(nullptr);

int sign(int n)
{
    return (n > 0) - (n < 0);
}

struct Case {
    const char *name;
    QVariant a;
    QVariant b;
    int expected; // -1, 0, 1
};

} // namespace

TEST(compareVariants, FollowsThePlatformRules)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"integers", 1, 2, -1},
        {"integer and double", 2, 1.5, 1},
        {"equal integer and double", 3, 3.0, 0},
        {"True is -1", true, -1, 0},
        {"True below False", true, false, -1},
        {"byte and short", QVariant::fromValue<uchar>(200), QVariant::fromValue<short>(-5), 1},
        {"64-bit beyond double precision", qint64(9007199254740993LL), 9007199254740992.0, 1},
        {"unsigned 64-bit above signed", std::numeric_limits<quint64>::max(), std::numeric_limits<qint64>::max(), 1},
        {"texts by code", QStringLiteral("a"), QStringLiteral("b"), -1},
        {"capitals first", QStringLiteral("B"), QStringLiteral("a"), -1},
        {"equal texts", QStringLiteral("abc"), QStringLiteral("abc"), 0},
        {"prefix first", QStringLiteral("ab"), QStringLiteral("abc"), -1},
        {"UTF-16 code units, not code points", QString::fromUtf16(u"\U00010000"), QString::fromUtf16(u"\uFFFF"), -1},
        {"character and text", QChar(u'a'), QStringLiteral("a"), 0},
        {"number below any text", 10, QStringLiteral("9"), -1},
        {"text above any number", QStringLiteral("1"), 5, 1},
        {"number below empty text", 1e300, QString(), -1},
        {"Empty as 0", Empty, 0, 0},
        {"Empty below 1", Empty, 1, -1},
        {"Empty above -1", Empty, -1, 1},
        {"Empty as empty text", Empty, QString(), 0},
        {"Empty below text", Empty, QStringLiteral("a"), -1},
        {"Empty equals Empty", Empty, Empty, 0},
        {"Null equals Null", Null, Null, 0},
        {"Null before Empty", Null, Empty, -1},
        {"Null before numbers", Null, -1e300, -1},
        {"Null before texts", QStringLiteral("a"), Null, 1},
        {"NaN before numbers", nan, -1e300, -1},
        {"NaN equals NaN", nan, nan, 0},
        {"date as day number", QDate(1899, 12, 31), 1, 0},
        {"date and time as day number", QDateTime(QDate(1899, 12, 30), QTime(12, 0)), 0.5, 0},
        {"later date", QDate(2024, 1, 2), QDate(2024, 1, 1), 1},
        {"date below text", QDate(2024, 1, 1), QStringLiteral("2023"), -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sign(compareVariants(c.a, c.b)), c.expected);
        EXPECT_EQ(sign(compareVariants(c.b, c.a)), -c.expected) << "the reverse comparison disagrees";
    }
}

TEST(compareVariants, RaisesForValuesWithoutAValue)
{
    QObject object;
    const QVariant asObject = QVariant::fromValue(&object);
    const QVariant nothing = QVariant::fromValue(static_cast<QObject *>(nullptr));
    const QVariant list = QVariantList {1, 2};
    const QVariant bytes = QByteArray("ab");

    EXPECT_EQ(raisedNumber([&] { compareVariants(asObject, 1); }), 438);
    EXPECT_EQ(raisedNumber([&] { compareVariants(QStringLiteral("a"), asObject); }), 438);
    EXPECT_EQ(raisedNumber([&] { compareVariants(nothing, 1); }), 91);
    EXPECT_EQ(raisedNumber([&] { compareVariants(list, list); }), 13);
    EXPECT_EQ(raisedNumber([&] { compareVariants(Empty, bytes); }), 13);
    EXPECT_EQ(raisedNumber([&] { compareVariants(Null, asObject); }), 438) << "Null does not hide an object";
}

TEST(compareVariantWithNumber, ReadsTextsAsNumbers)
{
    EXPECT_EQ(compareVariantWithNumber(QStringLiteral("10"), 9), std::partial_ordering::greater);
    EXPECT_EQ(compareVariantWithNumber(QStringLiteral(" 2.5 "), 2.5), std::partial_ordering::equivalent);
    EXPECT_EQ(compareVariantWithNumber(QStringLiteral("-1e3"), -999), std::partial_ordering::less);
    EXPECT_EQ(compareVariantWithNumber(Empty, 0), std::partial_ordering::equivalent);
    EXPECT_EQ(compareVariantWithNumber(true, -1), std::partial_ordering::equivalent);
    EXPECT_EQ(compareVariantWithNumber(7, 7), std::partial_ordering::equivalent);
    EXPECT_EQ(compareVariantWithNumber(Null, 0), std::partial_ordering::unordered);

    QObject object;
    EXPECT_EQ(raisedNumber([&] { compareVariantWithNumber(QStringLiteral("abc"), 1); }), 13);
    EXPECT_EQ(raisedNumber([&] { compareVariantWithNumber(QString(), 0); }), 13);
    EXPECT_EQ(raisedNumber([&] { compareVariantWithNumber(QVariant::fromValue(&object), 0); }), 438);
}
