#include "support/csFiles.h"

#include "platform/RuntimeError.h"
#include "platform/SpecialFolder.h"
#include "platform/TempFileName.h"

#include <QDir>
#include <QFileInfo>

using tessera::RuntimeError;

namespace cs {

namespace {

constexpr QChar kSlash = QLatin1Char('/');

// The path without the slashes at its end; "/" (or "///") stays "/".
QString withoutTrailingSlashes(const QString &path)
{
    qsizetype end = path.size();
    while (end > 1 && path.at(end - 1) == kSlash)
        --end;
    return path.left(end);
}

} // namespace

QString csBuildFileName(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    if (name.isEmpty())
        return folder;
    QString joined = withoutTrailingSlashes(folder);
    if (!joined.endsWith(kSlash))
        joined += kSlash;
    qsizetype start = 0;
    while (start < name.size() && name.at(start) == kSlash)
        ++start;
    return joined + name.mid(start);
}

QString csGetFileName(const QString &path)
{
    const QString trimmed = withoutTrailingSlashes(path);
    if (trimmed == kSlash)
        return {};
    return trimmed.mid(trimmed.lastIndexOf(kSlash) + 1);
}

QString csGetFilePath(const QString &path)
{
    const QString trimmed = withoutTrailingSlashes(path);
    const qsizetype slash = trimmed.lastIndexOf(kSlash);
    if (slash < 0)
        return {};
    if (trimmed == kSlash)
        return trimmed;
    return withoutTrailingSlashes(trimmed.left(slash + 1));
}

QString csGetFileExtension(const QString &path)
{
    const QString name = csGetFileName(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    // A dot in the first place marks a hidden file, not an extension.
    return dot <= 0 ? QString() : name.mid(dot + 1);
}

QString csGetFullFileName(const QString &path)
{
    if (path.isEmpty())
        throw RuntimeError(RuntimeError::InvalidProcedureCall);
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

QString csGetLongFileName(const QString &path)
{
    return path;
}

bool csIsFileExist(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool csIsDirectoryExist(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

bool csCreateComplexDirectory(const QString &path)
{
    return !path.isEmpty() && QDir().mkpath(path);
}

QString csGetSpecialFolder(qint32 folder)
{
    return tessera::SpecialFolder::path(folder);
}

QString csGetTempFileName2(const QString &folder, const QString &prefix)
{
    if (prefix.contains(kSlash))
        throw RuntimeError(RuntimeError::InvalidProcedureCall);
    const QString name = tessera::TempFileName::create(folder, prefix);
    if (!name.isEmpty())
        return name;
    if (!folder.isEmpty() && !csIsDirectoryExist(folder))
        throw RuntimeError(RuntimeError::PathNotFound);
    throw RuntimeError(RuntimeError::PathFileAccessError);
}

QString csGetPathFromPIDL(const QUrl &item)
{
    if (!item.isLocalFile())
        return {};
    const QString path = item.toLocalFile();
    return path.isEmpty() ? QString() : csGetFullFileName(path);
}

} // namespace cs
