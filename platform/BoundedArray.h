#pragma once

#include "platform/RuntimeError.h"

#include <limits>
#include <new>
#include <optional>
#include <vector>

namespace tessera {

/// An array that carries its own lower and upper bound, like the original
/// platform's arrays. A default-constructed array has never been
/// dimensioned: reading its bounds raises 9 (subscript out of range), as does
/// any index outside LBound()..UBound().
///
///     BoundedArray<int> a(5, 7); // three elements, a[5], a[6], a[7]
///     a[6] = 42;
///
/// An upper bound one below the lower bound gives a dimensioned, empty array;
/// anything lower raises 9; bounds that memory cannot hold raise 7.
template <typename T> class BoundedArray
{
public:
    BoundedArray() = default;
    BoundedArray(int lower, int upper) { ReDim(lower, upper); }

    /// Builds an array with the given lower bound holding \a values. Raises
    /// 6 (overflow) when the upper bound would not fit in an int.
    static BoundedArray fromValues(int lower, std::vector<T> values)
    {
        const qint64 upper = qint64(lower) + qint64(values.size()) - 1;
        if (upper > std::numeric_limits<int>::max() || upper < qint64(std::numeric_limits<int>::min()))
            throw RuntimeError(RuntimeError::Overflow);
        BoundedArray a;
        a.m_lower = lower;
        a.m_data = std::move(values);
        return a;
    }

    bool isDimensioned() const noexcept { return m_lower.has_value(); }

    int LBound() const
    {
        requireDimensioned();
        return *m_lower;
    }
    int UBound() const
    {
        requireDimensioned();
        // In 64 bits: an array ending at INT_MAX would overflow on the way.
        return int(qint64(*m_lower) + qint64(m_data.size()) - 1);
    }
    /// Number of elements; 0 for a never-dimensioned array.
    qsizetype size() const noexcept { return qsizetype(m_data.size()); }

    T &operator[](int index) { return m_data[offset(index)]; }
    const T &operator[](int index) const { return m_data[offset(index)]; }

    /// Gives the array new bounds. Without \a preserve every element is reset
    /// to T(); with it, elements at indexes present in both layouts keep their
    /// position relative to the lower bound, as the platform's ReDim Preserve.
    void ReDim(int lower, int upper, bool preserve = false)
    {
        if (qint64(upper) < qint64(lower) - 1)
            throw RuntimeError(RuntimeError::SubscriptOutOfRange);
        const auto count = size_t(qint64(upper) - qint64(lower) + 1);
        try {
            if (preserve) {
                m_data.resize(count);
            } else {
                m_data.assign(count, T());
            }
        } catch (const std::bad_alloc &) {
            // The array keeps its old bounds and elements, as the caller
            // gets the platform's error instead of an ended program.
            throw RuntimeError(RuntimeError::OutOfMemory);
        }
        m_lower = lower;
    }

    /// Returns the array to its never-dimensioned state.
    void Erase()
    {
        m_data.clear();
        m_lower.reset();
    }

    /// The elements from LBound() to UBound(), for algorithms and range-for.
    std::vector<T> &elements() noexcept { return m_data; }
    const std::vector<T> &elements() const noexcept { return m_data; }

private:
    void requireDimensioned() const
    {
        if (!m_lower)
            throw RuntimeError(RuntimeError::SubscriptOutOfRange);
    }
    size_t offset(int index) const
    {
        requireDimensioned();
        const qint64 pos = qint64(index) - *m_lower;
        if (pos < 0 || pos >= qint64(m_data.size()))
            throw RuntimeError(RuntimeError::SubscriptOutOfRange);
        return size_t(pos);
    }

    std::optional<int> m_lower;
    std::vector<T> m_data;
};

} // namespace tessera
