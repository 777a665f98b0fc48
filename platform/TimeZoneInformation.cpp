#include "platform/TimeZoneInformation.h"

#include <ctime>
#include <optional>

namespace tessera {

namespace {

constexpr qint64 SecondsPerDay = 24 * 60 * 60;
// A year and a day either side, so every season of the calendar year of the
// instant is sampled, whatever day of the year it is.
constexpr qint64 ProbeDays = 366;

struct LocalState {
    qint64 at;
    qint32 offsetMinutes; // east of UTC
    bool daylight;
    int year;
};

std::optional<LocalState> localState(qint64 at)
{
    const time_t t = time_t(at);
    tm local {};
    if (!localtime_r(&t, &local))
        return std::nullopt;
    return LocalState {at, qint32(local.tm_gmtoff / 60), local.tm_isdst > 0, local.tm_year};
}

qint64 distance(qint64 a, qint64 b)
{
    return a > b ? a - b : b - a;
}

} // namespace

quint32 GetTimeZoneInformation(TimeZoneInformation *info, const QDateTime &at)
{
    if (!info || !at.isValid())
        return TimeZoneIdInvalid;
    const auto now = localState(at.toSecsSinceEpoch());
    if (!now)
        return TimeZoneIdInvalid;

    // The C library tells only the offset and the daylight flag of one
    // instant; the other half of the record comes from sampling the days
    // around it. Transitions are never closer than days apart.
    std::optional<LocalState> nearestStandard;
    std::optional<LocalState> nearestDaylightThisYear;
    for (qint64 day = -ProbeDays; day <= ProbeDays; ++day) {
        const auto probe = localState(now->at + day * SecondsPerDay);
        if (!probe)
            continue;
        if (!probe->daylight) {
            if (!nearestStandard || distance(probe->at, now->at) < distance(nearestStandard->at, now->at))
                nearestStandard = probe;
        } else if (probe->year == now->year) {
            if (!nearestDaylightThisYear
                || distance(probe->at, now->at) < distance(nearestDaylightThisYear->at, now->at))
                nearestDaylightThisYear = probe;
        }
    }

    TimeZoneInformation result;
    if (now->daylight) {
        if (!nearestStandard) {
            // Daylight time all year round: no transitions to report.
            result.Bias = -now->offsetMinutes;
            *info = result;
            return TimeZoneIdUnknown;
        }
        result.Bias = -nearestStandard->offsetMinutes;
        result.DaylightBias = -(now->offsetMinutes - nearestStandard->offsetMinutes);
        *info = result;
        return TimeZoneIdDaylight;
    }
    result.Bias = -now->offsetMinutes;
    if (!nearestDaylightThisYear) {
        *info = result;
        return TimeZoneIdUnknown;
    }
    result.DaylightBias = -(nearestDaylightThisYear->offsetMinutes - now->offsetMinutes);
    *info = result;
    return TimeZoneIdStandard;
}

} // namespace tessera
