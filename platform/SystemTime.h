#pragma once

#include "platform/PlatformExport.h"

#include <QDateTime>
#include <QString>

namespace tessera {

/// The original platform's system-time record. DayOfWeek counts from
/// 0 = Sunday; Month from 1 = January.
struct TESSERA_PLATFORM_EXPORT SystemTime {
    quint16 Year = 0;
    quint16 Month = 0;
    quint16 DayOfWeek = 0;
    quint16 Day = 0;
    quint16 Hour = 0;
    quint16 Minute = 0;
    quint16 Second = 0;
    quint16 Milliseconds = 0;

    /// The fields of \a when as they read in its own time spec, with the
    /// weekday of its date; no conversion to UTC. An invalid date-time gives
    /// an all-zero record.
    static SystemTime fromDateTime(const QDateTime &when);
};

/// The RFC 1123 date that the platform's InternetTimeFromSystemTimeA writes,
/// for example "Sun, 12 Dec 2010 05:16:16 GMT": English names, two-digit day,
/// four-digit year, 24-hour time, and always the suffix "GMT" whatever zone
/// the record was taken in (the fields are written as given).
///
/// Returns an empty text, as the failing platform call leaves its buffer,
/// when a field cannot be written in that form: a month outside 1..12, a
/// weekday outside 0..6, a day outside 1..31, a year above 9999, or an hour,
/// minute or second out of range.
TESSERA_PLATFORM_EXPORT QString InternetTimeFromSystemTime(const SystemTime &time);

} // namespace tessera
