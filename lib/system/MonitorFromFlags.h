#pragma once

#include <QtGlobal>

namespace tessera {

/// What the monitor lookups of crvMultiMonitor return when no monitor
/// matches: no monitor, the primary monitor, or the nearest monitor. The
/// values are those of the platform's MONITOR_DEFAULTTO... flags.
enum MonitorFromFlags : qint32 {
    mffDefaultToNull = 0,
    mffDefaultToPrimary = 1,
    mffDefaultToNearest = 2,
};

} // namespace tessera
