#pragma once

#include "platform/RuntimeError.h"

namespace tessera {

/// \a value as a 16-bit integer, as the platform's CInt narrows: raises the
/// overflow error 6 outside -32768..32767.
inline qint16 toInteger16(qint32 value)
{
    if (value < -32768 || value > 32767)
        throw RuntimeError(RuntimeError::Overflow);
    return qint16(value);
}

} // namespace tessera
