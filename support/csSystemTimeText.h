#pragma once

#include "platform/SystemTime.h"
#include "support/csExport.h"

#include <QString>

// A system-time record as people read it, in the user's locale (QLocale()).
namespace cs {

/// The record's date in the locale's short date format ("08/12/2024",
/// "08.12.2024").
CS_EXPORT QString csSystemTimeToStringDate(const tessera::SystemTime &time);

/// The record's time of day with seconds, in the locale's own order and
/// clock (24-hour or with AM/PM), without a time-zone name: the record
/// carries no zone.
CS_EXPORT QString csSystemTimeToStringTime(const tessera::SystemTime &time);

// Both raise 5 (invalid procedure call) for a record that is no valid date
// or time, as the platform's formatting functions refused it.

} // namespace cs
