#include "platform/TimeZoneInformation.h"

#include <QTimeZone>

#include <ctime>
#include <gtest/gtest.h>

using namespace tessera;

namespace {

// Switches the process's zone for one test, as a user changing TZ would.
class ScopedTimeZone
{
public:
    explicit ScopedTimeZone(const QByteArray &zone)
        : m_wasSet(qEnvironmentVariableIsSet("TZ"))
        , m_previous(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~ScopedTimeZone()
    {
        if (m_wasSet)
            qputenv("TZ", m_previous);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    bool m_wasSet;
    QByteArray m_previous;
};

QDateTime utc(const char *text)
{
    return QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
}

// The bias the mail Date header uses: Bias, plus DaylightBias in daylight time.
qint32 currentBias(const TimeZoneInformation &info, quint32 result)
{
    return info.Bias + (result == TimeZoneIdDaylight ? info.DaylightBias : 0);
}

} // namespace

TEST(TimeZoneInformation, ReportsBiasesWestPositiveAndTheSeason)
{
    const struct {
        const char *zone;
        const char *at;
        quint32 result;
        qint32 bias;
        qint32 daylightBias;
    } table[] = {
        {"UTC", "2021-07-15T12:00:00Z", TimeZoneIdUnknown, 0, 0},
        {"Europe/Moscow", "2023-01-15T12:00:00Z", TimeZoneIdUnknown, -180, 0},
        {"Europe/Moscow", "2010-01-15T12:00:00Z", TimeZoneIdStandard, -180, -60},
        {"Europe/Moscow", "2010-07-15T12:00:00Z", TimeZoneIdDaylight, -180, -60},
        {"America/New_York", "2021-01-15T12:00:00Z", TimeZoneIdStandard, 300, -60},
        {"America/New_York", "2021-07-15T12:00:00Z", TimeZoneIdDaylight, 300, -60},
        {"America/New_York", "2021-03-14T06:59:59Z", TimeZoneIdStandard, 300, -60},
        {"America/New_York", "2021-03-14T07:00:00Z", TimeZoneIdDaylight, 300, -60},
        {"Asia/Kolkata", "2021-07-15T12:00:00Z", TimeZoneIdUnknown, -330, 0},
        {"Australia/Sydney", "2021-01-15T12:00:00Z", TimeZoneIdDaylight, -600, -60},
        {"Australia/Sydney", "2021-07-15T12:00:00Z", TimeZoneIdStandard, -600, -60},
        {"Australia/Lord_Howe", "2021-01-15T12:00:00Z", TimeZoneIdDaylight, -630, -30},
        {"America/Sao_Paulo", "2018-12-15T12:00:00Z", TimeZoneIdDaylight, 180, -60},
        {"America/Sao_Paulo", "2021-12-15T12:00:00Z", TimeZoneIdUnknown, 180, 0},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(std::string(row.zone) + " at " + row.at);
        const ScopedTimeZone zone(row.zone);
        TimeZoneInformation info;
        info.StandardBias = 99; // must be overwritten
        EXPECT_EQ(GetTimeZoneInformation(&info, utc(row.at)), row.result);
        EXPECT_EQ(info.Bias, row.bias);
        EXPECT_EQ(info.StandardBias, 0);
        EXPECT_EQ(info.DaylightBias, row.daylightBias);
    }
}

// Whatever the zone models (negative daylight saving in Dublin and
// Casablanca, quarter hours in Chatham, changes of the standard offset), the
// bias the Date header takes must be the true offset, as an independent
// reading of the zone database says.
TEST(TimeZoneInformation, CurrentBiasIsTheNegatedUtcOffsetInEveryZone)
{
    const char *zones[] = {"Europe/Dublin", "Africa/Casablanca", "Pacific/Chatham",  "America/St_Johns",
                           "Europe/Moscow", "Australia/Sydney",  "America/Santiago", "Asia/Tehran"};
    for (const char *name : zones) {
        const ScopedTimeZone zone(name);
        const QTimeZone reference(name);
        ASSERT_TRUE(reference.isValid()) << name;
        for (QDateTime at = utc("2010-01-01T00:00:00Z"); at < utc("2024-01-01T00:00:00Z"); at = at.addDays(17)) {
            TimeZoneInformation info;
            const quint32 result = GetTimeZoneInformation(&info, at);
            ASSERT_NE(result, TimeZoneIdInvalid) << name << " " << at.toString(Qt::ISODate).toStdString();
            EXPECT_EQ(currentBias(info, result), -reference.offsetFromUtc(at) / 60)
                << name << " " << at.toString(Qt::ISODate).toStdString() << " result " << result;
        }
    }
}

TEST(TimeZoneInformation, DefaultsToNowAndRejectsBadArguments)
{
    const ScopedTimeZone zone("UTC");
    TimeZoneInformation info;
    info.Bias = 42;
    EXPECT_EQ(GetTimeZoneInformation(&info), TimeZoneIdUnknown);
    EXPECT_EQ(info.Bias, 0);

    EXPECT_EQ(GetTimeZoneInformation(nullptr), TimeZoneIdInvalid);
    info.Bias = 42;
    EXPECT_EQ(GetTimeZoneInformation(&info, QDateTime()), TimeZoneIdInvalid);
    EXPECT_EQ(info.Bias, 42);
}
