#pragma once

#include "platform/PlatformExport.h"

#include <QString>

namespace tessera {

/// Unique temporary file names, as the original platform's GetTempFileName
/// gives them: the file is created empty, so the name stays reserved until
/// the caller deletes it.
class TESSERA_PLATFORM_EXPORT TempFileName
{
public:
    TempFileName() = delete;

    /// Creates a new empty file named \a prefix + six random letters or
    /// digits + ".tmp" in \a folder (the system's temporary folder when
    /// empty) and returns its full path. Returns an empty text when the file
    /// cannot be created: the folder is missing or not writable, or the
    /// prefix contains "/".
    static QString create(const QString &folder, const QString &prefix);
};

} // namespace tessera
