#pragma once

#include "platform/PlatformExport.h"

#include <QDateTime>

namespace tessera {

/// The time-zone record of the original platform, reduced to its biases. All
/// values are minutes, positive west of UTC: UTC = local time + bias.
///
/// In standard time the current bias is Bias; in daylight time it is
/// Bias + DaylightBias. StandardBias is always 0 here, as it is for nearly
/// every zone on that platform.
struct TimeZoneInformation {
    qint32 Bias = 0;
    qint32 StandardBias = 0;
    qint32 DaylightBias = 0;
};

/// Results of GetTimeZoneInformation().
enum TimeZoneId : quint32 {
    TimeZoneIdUnknown = 0, ///< the zone keeps no daylight time in this year
    TimeZoneIdStandard = 1, ///< standard time now; the zone has daylight time this year
    TimeZoneIdDaylight = 2, ///< daylight time now
    TimeZoneIdInvalid = 0xFFFFFFFF, ///< the instant could not be converted; \a info is left alone
};

/// Fills \a info for the process's zone (TZ, read at the last tzset()) as
/// the platform would report it at the instant \a at, and says whether that
/// instant is standard or daylight time.
///
/// The standard offset is the offset of the nearest standard-time instant
/// within a year around \a at, so a southern-hemisphere summer finds the
/// winter's offset. A zone without daylight time in the calendar year of
/// \a at reports TimeZoneIdUnknown with DaylightBias 0, as the platform does;
/// so does a zone that keeps daylight time all year round (Bias is then its
/// current offset). A zone whose "daylight" time is its winter time (negative
/// daylight saving) still satisfies Bias + DaylightBias = -(UTC offset).
TESSERA_PLATFORM_EXPORT quint32 GetTimeZoneInformation(TimeZoneInformation *info,
                                                       const QDateTime &at = QDateTime::currentDateTimeUtc());

} // namespace tessera
