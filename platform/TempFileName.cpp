#include "platform/TempFileName.h"

#include <QDir>
#include <QTemporaryFile>

namespace tessera {

QString TempFileName::create(const QString &folder, const QString &prefix)
{
    if (prefix.contains(QLatin1Char('/')))
        return {};
    const QDir dir(folder.isEmpty() ? QDir::tempPath() : folder);
    // QTemporaryFile creates the file exclusively (O_EXCL), so two callers
    // can never be handed the same name.
    QTemporaryFile file(dir.absoluteFilePath(prefix + QStringLiteral("XXXXXX.tmp")));
    file.setAutoRemove(false);
    if (!file.open())
        return {};
    return QDir::cleanPath(file.fileName());
}

} // namespace tessera
