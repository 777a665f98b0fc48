#pragma once

#include "platform/RuntimeError.h"

#include <QString>

#include <cstring>

namespace quillon {

// The one form of every file failure of the program: the number, then the
// path and the reason in the description.
[[noreturn]] inline void raiseFileAccess(qint32 number, const QString &path, const QString &reason)
{
    throw tessera::RuntimeError(number, path + QLatin1String(": ") + reason, QStringLiteral("FileAccess"));
}

// A failed system call, with the system's own words for errno.
[[noreturn]] inline void raiseFileAccessErrno(const QString &path, int error)
{
    raiseFileAccess(tessera::RuntimeError::PathFileAccessError, path, QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace quillon
