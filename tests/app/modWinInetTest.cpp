#include "app/mail/modWinInet.h"

#include <gtest/gtest.h>
#include <time.h>

namespace {

TEST(FormatMailDate, WritesLocalTimeWithTheZoneInForce)
{
    // POSIX zone rules, so that no zone database is needed.
    const std::tuple<const char *, QDate, const char *> cases[] = {
        {"MSK-3", QDate(2010, 12, 12), "Sun, 12 Dec 2010 05:16:16 +0300"},
        {"EST5", QDate(2010, 12, 12), "Sun, 12 Dec 2010 05:16:16 -0500"},
        {"UTC0", QDate(2010, 12, 12), "Sun, 12 Dec 2010 05:16:16 +0000"},
        {"IST-5:30", QDate(2024, 2, 29), "Thu, 29 Feb 2024 05:16:16 +0530"},
        {"NST3:30NDT,M3.2.0,M11.1.0", QDate(2011, 1, 3), "Mon, 03 Jan 2011 05:16:16 -0330"},
        // Daylight time adds the daylight bias.
        {"EST5EDT,M3.2.0,M11.1.0", QDate(2011, 7, 4), "Mon, 04 Jul 2011 05:16:16 -0400"},
        {"CET-1CEST,M3.5.0,M10.5.0/3", QDate(2011, 7, 4), "Mon, 04 Jul 2011 05:16:16 +0200"},
    };
    const QByteArray oldZone = qgetenv("TZ");
    for (const auto &[zone, date, expected] : cases) {
        qputenv("TZ", zone);
        tzset();
        EXPECT_EQ(quillon::modWinInet::FormatMailDate(QDateTime(date, QTime(5, 16, 16, 789))), QLatin1String(expected))
            << zone;
    }
    oldZone.isNull() ? qunsetenv("TZ") : qputenv("TZ", oldZone);
    tzset();
}

} // namespace
