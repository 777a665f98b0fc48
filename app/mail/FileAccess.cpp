#include "app/mail/FileAccess.h"

#include "platform/RuntimeError.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

using tessera::RuntimeError;

[[noreturn]] void raise(qint32 number, const QString &path, const QString &reason)
{
    throw RuntimeError(number, path + QLatin1String(": ") + reason, QStringLiteral("FileAccess"));
}

[[noreturn]] void raiseErrno(const QString &path, int error)
{
    raise(RuntimeError::PathFileAccessError, path, QString::fromLocal8Bit(std::strerror(error)));
}

// Gives \a from the name \a to unless \a to exists, atomically where the
// file system allows it. Returns 0 or the errno value; EEXIST when \a to
// exists.
int renameNoReplace(const QByteArray &from, const QByteArray &to)
{
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // The file system does not know RENAME_NOREPLACE (some network file
    // systems): a hard link fails just as well when the name exists.
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return 0;
    }
    if (errno != EPERM && errno != EOPNOTSUPP)
        return errno;
    // Neither (FAT-like file systems on such mounts): look, then rename.
    struct stat existing;
    if (::lstat(to.constData(), &existing) == 0)
        return EEXIST;
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

// A temporary file beside the target, removed again unless it was renamed.
class TemporaryFile
{
public:
    explicit TemporaryFile(const QString &folder)
    {
        static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            QString name = QStringLiteral("/.quillon-");
            for (int i = 0; i < 8; ++i)
                name += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
            m_file.setFileName(folder + name + QLatin1String(".tmp"));
            // NewOnly creates with the usual permissions (0666 less the
            // umask), as the message file should have.
            if (m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
                return;
            if (!m_file.exists())
                break;
        }
        raise(RuntimeError::PathFileAccessError, m_file.fileName(), m_file.errorString());
    }
    ~TemporaryFile()
    {
        if (!m_renamed)
            m_file.remove();
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    QFile &file() { return m_file; }
    void setRenamed() { m_renamed = true; }

private:
    QFile m_file;
    bool m_renamed = false;
};

} // namespace

QByteArray FileAccess::ReadFileRaw(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        raise(RuntimeError::FileNotFound, path, QStringLiteral("No such file"));
    if (!file.open(QIODevice::ReadOnly))
        raise(RuntimeError::PathFileAccessError, path, file.errorString());
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        raise(RuntimeError::PathFileAccessError, path, file.errorString());
    return data;
}

void FileAccess::WriteFileRaw(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit())
        raise(RuntimeError::PathFileAccessError, path, file.errorString());
}

QString FileAccess::ReadFileText(const QString &path)
{
    return QString::fromUtf8(ReadFileRaw(path));
}

void FileAccess::WriteFileText(const QString &path, const QString &text)
{
    WriteFileRaw(path, text.toUtf8());
}

QString FileAccess::WriteNewFileRaw(const std::function<QString()> &nextPath, const QByteArrayList &parts)
{
    QString path = nextPath();
    TemporaryFile temporary(QFileInfo(path).path());
    QFile &file = temporary.file();
    for (const QByteArray &part : parts) {
        if (file.write(part) != part.size())
            raise(RuntimeError::PathFileAccessError, path, file.errorString());
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        raise(RuntimeError::PathFileAccessError, path, file.errorString());

    const QByteArray from = QFile::encodeName(file.fileName());
    for (;;) {
        const int error = renameNoReplace(from, QFile::encodeName(path));
        if (error == 0) {
            temporary.setRenamed();
            return path;
        }
        if (error != EEXIST)
            raiseErrno(path, error);
        path = nextPath();
    }
}

} // namespace quillon
