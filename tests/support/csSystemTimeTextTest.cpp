#include "support/csSystemTimeText.h"

#include "tests/common/DefaultLocale.h"
#include "tests/common/RaisedError.h"

#include <gtest/gtest.h>

using namespace cs;
using corvid::test::raisedNumber;
using tessera::SystemTime;

TEST(csSystemTimeText, DateAndTimeInTheUsersLocale)
{
    SystemTime time;
    time.Year = 2024;
    time.Month = 3;
    time.Day = 1;
    time.Hour = 17;
    time.Minute = 5;
    time.Second = 9;
    struct Case {
        QLocale locale;
        const char *date;
        const char *clock;
    };
    const QList<Case> cases = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "3/1/24", "5:05:09 PM"},
        {QLocale(QLocale::German, QLocale::Germany), "01.03.24", "17:05:09"},
        {QLocale(QLocale::Russian, QLocale::Russia), "01.03.2024", "17:05:09"},
        {QLocale::c(), "1 Mar 2024", "17:05:09"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        const corvid::test::DefaultLocale locale(c.locale);
        EXPECT_EQ(csSystemTimeToStringDate(time).toStdString(), c.date);
        EXPECT_EQ(csSystemTimeToStringTime(time).toStdString(), c.clock);
    }

    SystemTime badDate = time;
    badDate.Month = 13;
    EXPECT_EQ(raisedNumber([&] { csSystemTimeToStringDate(badDate); }), 5);
    EXPECT_EQ(raisedNumber([&] { csSystemTimeToStringDate(SystemTime()); }), 5);
    SystemTime badClock = time;
    badClock.Hour = 24;
    EXPECT_EQ(raisedNumber([&] { csSystemTimeToStringTime(badClock); }), 5);
    EXPECT_EQ(csSystemTimeToStringDate(badClock).isEmpty(), false) << "the date alone is fine";
}
