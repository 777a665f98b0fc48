#include "platform/VariantConvert.h"

#include "tests/common/DefaultLocale.h"
#include "tests/common/RaisedError.h"

#include <QLocale>
#include <QObject>

#include <gtest/gtest.h>
#include <limits>

using corvid::test::DefaultLocale;
using corvid::test::raisedNumber;
using namespace tessera;

namespace {

const QVariant Null = QVariant::fromValue(nullptr);

} // namespace

TEST(textToNumber, AcceptsOnlyWholeNumbers)
{
    EXPECT_EQ(textToNumber(QStringLiteral("12")), 12.0);
    EXPECT_EQ(textToNumber(QStringLiteral("  -1.5e3\t")), -1500.0);
    EXPECT_EQ(textToNumber(QStringLiteral("+.5")), 0.5);
    for (const char *text : {"", "   ", "abc", "1x", "1 2", "inf", "nan", "1e999"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(textToNumber(QString::fromLatin1(text)).has_value());
    }
}

TEST(textToNumber, AcceptsTheUsersDecimalSeparator)
{
    const DefaultLocale russian(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(textToNumber(QStringLiteral("1,5")), 1.5);
    EXPECT_EQ(textToNumber(QStringLiteral("2.25")), 2.25);
}

TEST(variantToText, GivesThePlatformsTextForms)
{
    const DefaultLocale c(QLocale::c());
    EXPECT_EQ(variantToText(QVariant()), QString());
    EXPECT_EQ(variantToText(true), QStringLiteral("True"));
    EXPECT_EQ(variantToText(false), QStringLiteral("False"));
    EXPECT_EQ(variantToText(42), QStringLiteral("42"));
    EXPECT_EQ(variantToText(QVariant::fromValue<char>(65)), QStringLiteral("65")) << "a char is a number here";
    EXPECT_EQ(variantToText(std::numeric_limits<qint64>::min()), QStringLiteral("-9223372036854775808"));
    EXPECT_EQ(variantToText(std::numeric_limits<quint64>::max()), QStringLiteral("18446744073709551615"));
    EXPECT_EQ(variantToText(0.1), QStringLiteral("0.1"));
    EXPECT_EQ(variantToText(1e20), QStringLiteral("1E+20"));
    EXPECT_EQ(variantToText(123456789012345.0), QStringLiteral("123456789012345"));
    EXPECT_EQ(variantToText(0.1f), QStringLiteral("0.1")) << "a float keeps 7 digits";
    EXPECT_EQ(variantToText(QStringLiteral("x y")), QStringLiteral("x y"));
    EXPECT_EQ(variantToText(QChar(u'Ж')), QStringLiteral("Ж"));
}

TEST(variantToText, UsesTheUsersDecimalSeparator)
{
    const DefaultLocale russian(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(variantToText(1.5), QStringLiteral("1,5"));
}

TEST(variantToText, RaisesForValuesWithoutText)
{
    QObject object;
    EXPECT_EQ(raisedNumber([] { variantToText(Null); }), 13);
    EXPECT_EQ(raisedNumber([] { variantToText(QVariantList {1}); }), 13);
    EXPECT_EQ(raisedNumber([] { variantToText(QByteArray("ab")); }), 13);
    EXPECT_EQ(raisedNumber([&] { variantToText(QVariant::fromValue(&object)); }), 438);
    EXPECT_EQ(raisedNumber([] { variantToText(QVariant::fromValue(static_cast<QObject *>(nullptr))); }), 91);
}

TEST(variantToLong, RoundsHalfToEvenWithinThe32BitRange)
{
    struct {
        QVariant value;
        qint32 expected;
    } const cases[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {2.4999, 2},
        {QStringLiteral(" 7 "), 7},
        {QStringLiteral("2.5"), 2},
        {true, -1},
        {QVariant(), 0},
        {2147483647.4, 2147483647},
        {-2147483648.5, std::numeric_limits<qint32>::min()},
        {QVariant::fromValue<uchar>(255), 255},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(qPrintable(c.value.toString()));
        EXPECT_EQ(variantToLong(c.value), c.expected);
    }
}

TEST(variantToLong, RaisesForTextsThatAreNoNumberAndForOverflow)
{
    EXPECT_EQ(raisedNumber([] { variantToLong(QStringLiteral("x")); }), 13);
    EXPECT_EQ(raisedNumber([] { variantToLong(QString()); }), 13);
    EXPECT_EQ(raisedNumber([] { variantToLong(Null); }), 13);
    EXPECT_EQ(raisedNumber([] { variantToLong(2147483647.5); }), 6);
    EXPECT_EQ(raisedNumber([] { variantToLong(-2147483649.0); }), 6);
    EXPECT_EQ(raisedNumber([] { variantToLong(QStringLiteral("1e10")); }), 6);
    EXPECT_EQ(raisedNumber([] { variantToLong(std::numeric_limits<double>::quiet_NaN()); }), 6);
}
