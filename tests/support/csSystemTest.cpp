#include "support/csSystem.h"

#include "tests/common/RaisedError.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <set>

using namespace cs;
using corvid::test::raisedNumber;

TEST(csGetRnd, StaysWithinBothBoundsAndReachesThem)
{
    std::set<qint32> seen;
    for (int i = 0; i < 2000; ++i) {
        const qint32 r = csGetRnd(-3, 3);
        ASSERT_GE(r, -3);
        ASSERT_LE(r, 3);
        seen.insert(r);
    }
    EXPECT_EQ(seen.size(), 7u) << "every value of a small range turns up in 2000 draws";
}

TEST(csGetRnd, HandlesSingleValueAndExtremeRanges)
{
    EXPECT_EQ(csGetRnd(42, 42), 42);
    constexpr qint32 lo = std::numeric_limits<qint32>::min();
    constexpr qint32 hi = std::numeric_limits<qint32>::max();
    EXPECT_EQ(csGetRnd(hi, hi), hi);
    EXPECT_EQ(csGetRnd(lo, lo), lo);
    bool negative = false, positive = false;
    for (int i = 0; i < 200; ++i) {
        const qint32 r = csGetRnd(lo, hi);
        negative |= r < 0;
        positive |= r > 0;
    }
    EXPECT_TRUE(negative && positive) << "the full 32-bit range is used";
}

TEST(csGetRnd, RaisesOnReversedBounds)
{
    EXPECT_EQ(raisedNumber([] { csGetRnd(5, 4); }), 5);
}

TEST(csHost, AnswersAsAModernNTHost)
{
    EXPECT_TRUE(csIsHostWinNT());
    EXPECT_TRUE(csIsHostWin2000_OrHigher());
    EXPECT_FALSE(csIsHostWin9x());
    EXPECT_FALSE(csIsHostWin95());
    EXPECT_FALSE(csIsHostWin98_OrHigher());
    EXPECT_FALSE(csIsHostWinNT351());
    EXPECT_FALSE(csIsHostWinNT40());
    EXPECT_FALSE(csIsInIDE());
}

TEST(csIdentity, UserAndMachineNames)
{
    QProcess id;
    id.start(QStringLiteral("id"), {QStringLiteral("-un")});
    ASSERT_TRUE(id.waitForFinished(10000));
    const QString login = QString::fromLocal8Bit(id.readAllStandardOutput()).trimmed();
    ASSERT_FALSE(login.isEmpty());
    EXPECT_EQ(csGetUserName(), login);

    EXPECT_FALSE(csGetComputerName().isEmpty());
    EXPECT_EQ(csGetFullUserName(false), login);
    EXPECT_EQ(csGetFullUserName(true), csGetComputerName() + QLatin1Char('\\') + login);
}

TEST(csIdentity, ExecutablePaths)
{
    const QString full = csGetEXEModuleFullFileName();
    EXPECT_EQ(full, QCoreApplication::applicationFilePath());
    EXPECT_EQ(QFileInfo(full).fileName(), QStringLiteral("test_support"));

    const QString pretty = csGetEXEModulePrettyFileName();
    const QFileInfo info(pretty);
    EXPECT_TRUE(info.isAbsolute());
    EXPECT_TRUE(info.isFile()) << "usable as a file name: " << pretty.toStdString();
    EXPECT_EQ(pretty, info.canonicalFilePath());
}

TEST(csMakeLong, PacksBothHalvesSignedOrUnsigned)
{
    struct Case {
        qint32 low, high, packed;
    };
    const Case cases[] = {
        {1, 2, 0x00020001},     {-1, 0, 0x0000FFFF},        {0, -1, qint32(0xFFFF0000)},
        {-1, -1, -1},           {65535, 32767, 0x7FFFFFFF}, {-32768, -32768, qint32(0x80008000)},
        {40000, 3, 0x00039C40},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.low << ", " << c.high);
        EXPECT_EQ(csMakeLong(c.low, c.high), c.packed);
        EXPECT_EQ(csLoWord(csMakeLong(c.low, c.high)), c.low & 0xFFFF);
    }
    for (const auto &[low, high] : {std::pair {65536, 0}, {0, -32769}, {-32769, 0}, {0, 70000}}) {
        SCOPED_TRACE(testing::Message() << low << ", " << high);
        EXPECT_EQ(raisedNumber([low, high] { csMakeLong(low, high); }), 6);
    }
}

TEST(csLoWord, KeepsTheLowSixteenBitsUnsigned)
{
    EXPECT_EQ(csLoWord(-1), 65535);
    EXPECT_EQ(csLoWord(0x12345678), 0x5678);
    EXPECT_EQ(csLoWord(-65536), 0);
    EXPECT_EQ(csLoWord(0x8000), 0x8000);
    EXPECT_EQ(csLoWord(700), 700);
    EXPECT_EQ(csLoWord(0x000100CC), 204);
}

TEST(csLargeInteger, ComposesUnsignedHalves)
{
    EXPECT_DOUBLE_EQ(csLargeIntegerToDouble(0u, 1u), 4294967296.0);
    EXPECT_DOUBLE_EQ(csLargeIntegerToDouble(0xFFFFFFFFu, 0u), 4294967295.0);
    EXPECT_DOUBLE_EQ(csLargeIntegerToDouble(5u, 2u), 8589934597.0);
    EXPECT_DOUBLE_EQ(csLargeIntegerToDouble(0xFFFFFFFFu, 0xFFFFFFFFu), 18446744073709551615.0);
    EXPECT_DOUBLE_EQ(csLargeIntegerToDouble(qint64(-3)), -3.0);
}

TEST(csLargeInteger, RoundsDoublesToTheNearest)
{
    EXPECT_EQ(csDoubleToLargeInteger(82500.0), 82500);
    EXPECT_EQ(csDoubleToLargeInteger(8.1 * 10000), 81000) << "a product just below a whole number still lands on it";
    EXPECT_EQ(csDoubleToLargeInteger(2.5), 2);
    EXPECT_EQ(csDoubleToLargeInteger(3.5), 4);
    EXPECT_EQ(csDoubleToLargeInteger(-2.5), -2);
    EXPECT_EQ(csDoubleToLargeInteger(-7.6), -8);
    EXPECT_EQ(csDoubleToLargeInteger(-9223372036854775808.0), std::numeric_limits<qint64>::min());
    EXPECT_EQ(csDoubleToLargeInteger(9.2e18), qint64(9200000000000000000));
}

TEST(csLargeInteger, RaisesOverflowOutsideTheRange)
{
    for (const double bad : {9223372036854775808.0, -9.3e18, 1e300, std::nan(""), HUGE_VAL, -HUGE_VAL}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(raisedNumber([bad] { csDoubleToLargeInteger(bad); }), 6);
    }
}

TEST(csLargeInteger, RoundTrips)
{
    for (const qint64 value :
         {qint64(0), qint64(1), qint64(-1), qint64(123456789012345), qint64(1) << 53, -(qint64(1) << 53)}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(csDoubleToLargeInteger(csLargeIntegerToDouble(value)), value);
        if (value >= 0) {
            const auto low = quint32(quint64(value) & 0xFFFFFFFFu);
            const auto high = quint32(quint64(value) >> 32);
            EXPECT_EQ(csDoubleToLargeInteger(csLargeIntegerToDouble(low, high)), value);
        }
    }
}

namespace {

struct CapturedLog {
    QString category;
    QString message;
};
QList<CapturedLog> g_captured;

void capture(QtMsgType, const QMessageLogContext &context, const QString &message)
{
    g_captured.append({QString::fromLatin1(context.category), message});
}

class csDebugOutput : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_captured.clear();
        m_previous = qInstallMessageHandler(capture);
    }
    void TearDown() override
    {
        qInstallMessageHandler(m_previous);
        QLoggingCategory::setFilterRules(QString());
    }

private:
    QtMessageHandler m_previous = nullptr;
};

} // namespace

TEST_F(csDebugOutput, IsOffUntilEnabled)
{
    csOutputDebugString(QStringLiteral("nobody hears this"));
    csDebugPrint(QStringLiteral("nor this"));
    EXPECT_TRUE(g_captured.isEmpty());
}

TEST_F(csDebugOutput, GoesToTheDeveloperCategoryWhenEnabled)
{
    QLoggingCategory::setFilterRules(QStringLiteral("corvid.support.debugoutput=true"));
    csOutputDebugString(QStringLiteral("RealShowAboutBox() ==> 450\r\n"));
    csDebugPrint(QStringLiteral("second"));
    ASSERT_EQ(g_captured.size(), 2);
    EXPECT_EQ(g_captured[0].category, QStringLiteral("corvid.support.debugoutput"));
    EXPECT_EQ(g_captured[0].message, QStringLiteral("RealShowAboutBox() ==> 450"));
    EXPECT_EQ(g_captured[1].message,
              QStringLiteral("test_support[%1]: second").arg(QCoreApplication::applicationPid()));
}
