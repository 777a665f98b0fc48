#pragma once

#include "platform/PlatformExport.h"

#include <QByteArray>
#include <QDateTime>

#include <optional>

namespace tessera {

/// The times the platform's GetProcessTimes reports, as FILETIME values:
/// counts of 100 nanoseconds; a time of day counts from 1601-01-01 00:00 UTC.
struct TESSERA_PLATFORM_EXPORT ProcessTimes {
    qint64 CreationTime = 0; ///< when the process started
    qint64 ExitTime = 0; ///< when it ended; 0 while it runs
    qint64 KernelTime = 0; ///< processor time spent in the kernel
    qint64 UserTime = 0; ///< processor time spent in the program

    /// The times in \a stat, the text of /proc/<pid>/stat, whose clock
    /// ticks are \a ticksPerSecond long and whose start time counts from
    /// \a bootTime (a FILETIME). Nothing when the text does not read or a
    /// value does not fit.
    static std::optional<ProcessTimes> fromStat(const QByteArray &stat, qint64 ticksPerSecond, qint64 bootTime);
};

/// The times of the calling process; false, \a times unchanged, when they
/// cannot be read.
TESSERA_PLATFORM_EXPORT bool GetProcessTimes(ProcessTimes &times);

/// The present time as a FILETIME.
TESSERA_PLATFORM_EXPORT qint64 GetSystemTimeAsFileTime();

/// A FILETIME as a date-time in UTC; invalid for a negative value, which
/// the platform could not convert either.
TESSERA_PLATFORM_EXPORT QDateTime FileTimeToDateTime(qint64 fileTime);

} // namespace tessera
