#include "platform/SystemTime.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace tessera;

TEST(SystemTime, FormatsTheRfc1123DateWithoutConvertingTheTime)
{
    SystemTime t;
    t.Year = 2010;
    t.Month = 12;
    t.DayOfWeek = 0;
    t.Day = 12;
    t.Hour = 5;
    t.Minute = 16;
    t.Second = 16;
    t.Milliseconds = 999;
    EXPECT_EQ(InternetTimeFromSystemTime(t), QStringLiteral("Sun, 12 Dec 2010 05:16:16 GMT"));

    const SystemTime early {987, 1, 6, 7, 0, 0, 9, 0};
    EXPECT_EQ(InternetTimeFromSystemTime(early), QStringLiteral("Sat, 07 Jan 0987 00:00:09 GMT"));
}

TEST(SystemTime, NamesEveryWeekdayAndMonthInEnglish)
{
    const QLocale english = QLocale::c();
    for (QDate day(2011, 1, 1); day.year() == 2011; day = day.addDays(1)) {
        const QDateTime when(day, QTime(23, 59, 58), Qt::UTC);
        const QString expected = english.toString(when, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss")) + " GMT";
        ASSERT_EQ(InternetTimeFromSystemTime(SystemTime::fromDateTime(when)), expected);
    }
}

TEST(SystemTime, RecordsThatCannotBeWrittenGiveAnEmptyText)
{
    const SystemTime good {2010, 12, 0, 12, 5, 16, 16, 0};
    ASSERT_FALSE(InternetTimeFromSystemTime(good).isEmpty());
    const struct {
        const char *what;
        SystemTime time;
    } table[] = {
        {"month 0", {2010, 0, 0, 12, 5, 16, 16, 0}},    {"month 13", {2010, 13, 0, 12, 5, 16, 16, 0}},
        {"weekday 7", {2010, 12, 7, 12, 5, 16, 16, 0}}, {"day 0", {2010, 12, 0, 0, 5, 16, 16, 0}},
        {"day 32", {2010, 12, 0, 32, 5, 16, 16, 0}},    {"year 10000", {10000, 12, 0, 12, 5, 16, 16, 0}},
        {"hour 24", {2010, 12, 0, 12, 24, 16, 16, 0}},  {"minute 60", {2010, 12, 0, 12, 5, 60, 16, 0}},
        {"second 60", {2010, 12, 0, 12, 5, 16, 60, 0}},
    };
    for (const auto &row : table)
        EXPECT_TRUE(InternetTimeFromSystemTime(row.time).isEmpty()) << row.what;
}

TEST(SystemTime, TakesTheFieldsOfADateTimeAsTheyRead)
{
    const QDateTime moscow(QDate(2010, 12, 12), QTime(5, 16, 16, 250), Qt::OffsetFromUTC, 3 * 3600);
    const SystemTime t = SystemTime::fromDateTime(moscow);
    EXPECT_EQ(t.Year, 2010);
    EXPECT_EQ(t.Month, 12);
    EXPECT_EQ(t.DayOfWeek, 0); // Sunday
    EXPECT_EQ(t.Day, 12);
    EXPECT_EQ(t.Hour, 5);
    EXPECT_EQ(t.Minute, 16);
    EXPECT_EQ(t.Second, 16);
    EXPECT_EQ(t.Milliseconds, 250);
    EXPECT_EQ(SystemTime::fromDateTime(QDateTime(QDate(2010, 12, 13), QTime(0, 0))).DayOfWeek, 1); // Monday

    const SystemTime none = SystemTime::fromDateTime(QDateTime());
    EXPECT_EQ(none.Year, 0);
    EXPECT_TRUE(InternetTimeFromSystemTime(none).isEmpty());
}
