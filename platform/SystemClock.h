#pragma once

#include "platform/PlatformExport.h"

#include <QtGlobal>

namespace tessera {

/// Milliseconds since an arbitrary fixed point (the system start on Linux),
/// in 32 bits: like the original platform's tick counter it wraps to 0 about
/// every 49.7 days, so callers subtract ticks in unsigned arithmetic.
TESSERA_PLATFORM_EXPORT quint32 GetTickCount() noexcept;

/// The high-resolution counter, in units of QueryPerformanceFrequency().
/// It never goes backwards and does not follow changes of the wall clock.
TESSERA_PLATFORM_EXPORT qint64 QueryPerformanceCounter() noexcept;

/// Counts of QueryPerformanceCounter() per second; fixed for the process.
TESSERA_PLATFORM_EXPORT qint64 QueryPerformanceFrequency() noexcept;

} // namespace tessera
