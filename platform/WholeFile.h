#pragma once

#include "platform/PlatformExport.h"

#include <QByteArray>
#include <QString>

namespace tessera {

/// Files written whole or not at all: the data go to a temporary file in the
/// same folder, which is flushed and synced to the disk, then renamed over
/// \a path, and the folder is synced so that the new name survives a crash.
/// On any failure the old file (or its absence) stays as it was.
class TESSERA_PLATFORM_EXPORT WholeFile
{
public:
    WholeFile() = delete;

    /// Replaces or creates \a path with \a data; the folder must exist.
    /// Returns false, with the reason in \a errorString, when it cannot.
    static bool write(const QString &path, const QByteArray &data, QString *errorString = nullptr);

    /// Syncs \a folder's entries to the disk, so that a name just given to a
    /// file there survives a crash. Best effort: some file systems cannot
    /// sync a folder, and the file itself is complete by then.
    static void syncFolder(const QString &folder);
};

} // namespace tessera
