#pragma once

#include "platform/RuntimeError.h"

#include <functional>

namespace corvid::test {

/// Runs \a f and returns the number of the RuntimeError it raises, or 0 when
/// it raises nothing.
inline qint32 raisedNumber(const std::function<void()> &f)
{
    try {
        f();
    } catch (const tessera::RuntimeError &e) {
        return e.Number();
    }
    return 0;
}

} // namespace corvid::test
