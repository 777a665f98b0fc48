#pragma once

#include "lib/TesseraExport.h"

#include <QString>

#include <optional>

namespace tessera {

/// A stopwatch on the high-resolution performance counter; used as
/// crvBenchMark, with the times as doubles.
class TESSERA_EXPORT crvBenchMarkHP
{
public:
    /// The counter the marks read and its counts per second: the
    /// platform's (tessera::QueryPerformanceCounter and
    /// QueryPerformanceFrequency) unless others are given.
    using CounterSource = qint64 (*)();
    explicit crvBenchMarkHP(CounterSource counter = nullptr, CounterSource frequency = nullptr);

    /// Sounds the default beep, then marks the start.
    void FirstMark();
    /// Marks the end. (The name is the library's own.)
    void LaskMark();
    /// End minus start in counter ticks.
    double GetTickDifference() const;
    /// The same in milliseconds and in seconds.
    double GetTickDifferenceMS() const;
    double GetTickDifferenceSec() const;
    /// Counter ticks per second and per millisecond.
    double GetTickFrequencyPerSec() const;
    double GetTickFrequencyPerMS() const;
    /// As crvBenchMark::toString, the whole time in milliseconds rounded to
    /// an integer (csFormatInt64).
    QString toString(std::optional<qint32> Iterations = {}) const;

private:
    CounterSource m_counter;
    CounterSource m_frequency;
    qint64 m_start = 0;
    qint64 m_end = 0;
};

} // namespace tessera
