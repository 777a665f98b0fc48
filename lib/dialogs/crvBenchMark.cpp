#include "lib/dialogs/crvBenchMark.h"

#include "lib/dialogs/BenchMark_p.h"
#include "platform/SystemClock.h"

namespace tessera {

crvBenchMark::crvBenchMark(TickSource ticks)
    : m_ticks(ticks ? ticks : &GetTickCount)
{ }

void crvBenchMark::FirstMark()
{
    dialogs::benchMarkBeep();
    m_start = m_ticks();
}

void crvBenchMark::LaskMark()
{
    m_end = m_ticks();
}

qint32 crvBenchMark::GetTickDifferenceMS() const
{
    // Unsigned subtraction is right across the counter's wrap.
    return qint32(m_end - m_start);
}

QString crvBenchMark::toString(std::optional<qint32> Iterations) const
{
    const qint32 total = GetTickDifferenceMS();
    return dialogs::benchMarkText(total, cs::csFormatLong(total), Iterations);
}

} // namespace tessera
