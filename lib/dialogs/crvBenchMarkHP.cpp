#include "lib/dialogs/crvBenchMarkHP.h"

#include "lib/dialogs/BenchMark_p.h"
#include "platform/SystemClock.h"
#include "support/csSystem.h"

namespace tessera {

crvBenchMarkHP::crvBenchMarkHP(CounterSource counter, CounterSource frequency)
    : m_counter(counter ? counter : &QueryPerformanceCounter)
    , m_frequency(frequency ? frequency : &QueryPerformanceFrequency)
{ }

void crvBenchMarkHP::FirstMark()
{
    dialogs::benchMarkBeep();
    m_start = m_counter();
}

void crvBenchMarkHP::LaskMark()
{
    m_end = m_counter();
}

double crvBenchMarkHP::GetTickDifference() const
{
    return cs::csLargeIntegerToDouble(m_end) - cs::csLargeIntegerToDouble(m_start);
}

double crvBenchMarkHP::GetTickDifferenceMS() const
{
    return GetTickDifference() / GetTickFrequencyPerMS();
}

double crvBenchMarkHP::GetTickDifferenceSec() const
{
    return GetTickDifference() / GetTickFrequencyPerSec();
}

double crvBenchMarkHP::GetTickFrequencyPerSec() const
{
    return cs::csLargeIntegerToDouble(m_frequency());
}

double crvBenchMarkHP::GetTickFrequencyPerMS() const
{
    return GetTickFrequencyPerSec() / 1000;
}

QString crvBenchMarkHP::toString(std::optional<qint32> Iterations) const
{
    const double total = GetTickDifferenceMS();
    return dialogs::benchMarkText(total, cs::csFormatInt64(cs::csDoubleToLargeInteger(total)), Iterations);
}

} // namespace tessera
