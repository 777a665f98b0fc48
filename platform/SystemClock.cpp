#include "platform/SystemClock.h"

#include <chrono>

namespace tessera {

using Clock = std::chrono::steady_clock;

// The counter reports raw clock ticks, so the frequency must be a whole
// number of ticks per second.
static_assert(Clock::period::num == 1, "steady_clock ticks must divide a second");

quint32 GetTickCount() noexcept
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
    // Keeping the low 32 bits is exactly the platform's wrap-around.
    return quint32(quint64(ms));
}

qint64 QueryPerformanceCounter() noexcept
{
    return qint64(Clock::now().time_since_epoch().count());
}

qint64 QueryPerformanceFrequency() noexcept
{
    return qint64(Clock::period::den);
}

} // namespace tessera
