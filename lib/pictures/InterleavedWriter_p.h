#pragma once

#include <QtGlobal>

#include <algorithm>

namespace tessera {

/// Writes a stream of samples of one colour into 24-bit rows: sample k of
/// line k / lineLength, column k % lineLength goes to one byte of that
/// column's pixel (every third byte from the line's start). Only the first
/// `visible` columns of a line are shown; lines whose start is null (a plane
/// or channel that is not shown) are counted and dropped. Up to `slack`
/// samples past the last line are taken and dropped too.
///
/// LineStart is a callable qint64 -> uchar*, asked once per line.
template <typename LineStart> class InterleavedWriter
{
public:
    InterleavedWriter(qint64 lineLength, qint64 visible, qint64 lineCount, qint64 slack, LineStart lineStart)
        : m_lineLength(lineLength)
        , m_visible(std::min(visible, lineLength))
        , m_lineCount(lineCount)
        , m_limit(lineLength * lineCount + slack)
        , m_lineStart(lineStart)
        , m_dest(lineCount > 0 ? lineStart(0) : nullptr)
    {
        Q_ASSERT(lineLength > 0);
    }

    qint64 written() const { return m_written; }

    /// Writes \a count copies of \a value; false, writing nothing, when they
    /// would go past the end.
    bool fill(uchar value, qint64 count)
    {
        return put(count, [value](uchar *dest, qint64 n, qint64) {
            for (qint64 i = 0; i < n; ++i)
                dest[3 * i] = value;
        });
    }

    /// Writes the \a count samples at \a source; false, writing nothing, when
    /// they would go past the end.
    bool copy(const uchar *source, qint64 count)
    {
        return put(count, [source](uchar *dest, qint64 n, qint64 offset) {
            const uchar *s = source + offset;
            for (qint64 i = 0; i < n; ++i)
                dest[3 * i] = s[i];
        });
    }

private:
    template <typename Store> bool put(qint64 count, Store store)
    {
        if (count > m_limit - m_written)
            return false;
        qint64 done = 0;
        while (done < count && m_line < m_lineCount) {
            const qint64 n = std::min(count - done, m_lineLength - m_column);
            const qint64 shown = std::clamp(m_visible - m_column, qint64(0), n);
            if (m_dest && shown > 0)
                store(m_dest + 3 * m_column, shown, done);
            done += n;
            m_column += n;
            if (m_column == m_lineLength) {
                m_column = 0;
                if (++m_line < m_lineCount)
                    m_dest = m_lineStart(m_line);
            }
        }
        m_written += count; // samples past the last line are the slack, dropped
        return true;
    }

    const qint64 m_lineLength;
    const qint64 m_visible;
    const qint64 m_lineCount;
    const qint64 m_limit;
    LineStart m_lineStart;
    uchar *m_dest;
    qint64 m_line = 0;
    qint64 m_column = 0;
    qint64 m_written = 0;
};

} // namespace tessera
