#include "support/csCallFunction.h"

#include "platform/RuntimeError.h"

namespace cs {

qint32 csCallFunction_4_4(quintptr function, qint32 a1, qint32 a2, qint32 a3, qint32 a4)
{
    if (function == 0)
        throw tessera::RuntimeError(tessera::RuntimeError::InvalidProcedureCall);
    using Function4 = qint32 (*)(qint32, qint32, qint32, qint32);
    return reinterpret_cast<Function4>(function)(a1, a2, a3, a4);
}

} // namespace cs
