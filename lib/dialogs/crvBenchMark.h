#pragma once

#include "lib/TesseraExport.h"

#include <QString>

#include <optional>

namespace tessera {

/// A stopwatch on the millisecond tick counter: FirstMark, the work,
/// LaskMark, then the time as a number or as text.
///
///     crvBenchMark bench;
///     bench.FirstMark();
///     for (int i = 0; i < 1000; ++i)
///         work();
///     bench.LaskMark();
///     qDebug() << bench.toString(1000); // "0.5 ms. / 1,000 (500 ms.)"
class TESSERA_EXPORT crvBenchMark
{
public:
    /// The counter the marks read: the platform's tick counter
    /// (tessera::GetTickCount) unless another is given.
    using TickSource = quint32 (*)();
    explicit crvBenchMark(TickSource ticks = nullptr);

    /// Sounds the default beep, then marks the start.
    void FirstMark();
    /// Marks the end. (The name is the library's own.)
    void LaskMark();
    /// End minus start in milliseconds. The counter wraps every 49.7 days;
    /// a wrap between the marks still gives the time between them.
    /// LaskMark before FirstMark gives a meaningless (negative) value.
    qint32 GetTickDifferenceMS() const;
    /// With \a Iterations above 0, the time of one iteration, " ms. / ",
    /// the count and the whole time in parentheses: "0.5 ms. / 1,000 (500
    /// ms.)"; otherwise the whole time and " ms.". Numbers are written by
    /// csFormatDouble and csFormatLong.
    QString toString(std::optional<qint32> Iterations = {}) const;

private:
    TickSource m_ticks;
    quint32 m_start = 0;
    quint32 m_end = 0;
};

} // namespace tessera
