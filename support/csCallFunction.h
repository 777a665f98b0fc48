#pragma once

#include "support/csExport.h"

#include <QtGlobal>

namespace cs {

/// Calls the function at \a function, one that takes four 32-bit integers
/// and returns one (a symbol resolved with dlsym, say), with \a a1 to \a a4
/// and returns its result. The caller answers for the function's type: a
/// function of another signature is undefined behaviour, as it was on the
/// original platform. Raises 5 (invalid procedure call) for address 0.
CS_EXPORT qint32 csCallFunction_4_4(quintptr function, qint32 a1, qint32 a2, qint32 a3, qint32 a4);

} // namespace cs
