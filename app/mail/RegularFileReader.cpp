#include "app/mail/RegularFileReader.h"

#include "app/mail/FileAccessError_p.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

QString kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    return QStringLiteral("not a regular file");
}

[[noreturn]] void raiseNotRegular(const QString &path, const QString &kind)
{
    raiseFileAccess(tessera::RuntimeError::PathFileAccessError, path,
                    QLatin1String("This is ") + kind + QLatin1String(", not a regular file."));
}

} // namespace

RegularFileReader::RegularFileReader(const QString &path)
    : m_path(path)
{
    const QByteArray name = QFile::encodeName(path);
    // Looked at before opening: opening a pipe waits for a writer, and
    // opening a device may act on it.
    struct stat info;
    if (::stat(name.constData(), &info) != 0) {
        if (errno == ENOENT)
            raiseFileAccess(tessera::RuntimeError::FileNotFound, path, QStringLiteral("No such file"));
        raiseFileAccessErrno(path, errno);
    }
    if (const QString kind = kindOf(info.st_mode); !kind.isEmpty())
        raiseNotRegular(path, kind);
    // Non-blocking, in case the name was given to a pipe in between; the
    // descriptor is checked again below.
    do {
        m_fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (m_fd < 0 && errno == EINTR);
    if (m_fd < 0)
        raiseFileAccessErrno(path, errno);
    if (::fstat(m_fd, &info) != 0) {
        const int error = errno;
        ::close(m_fd);
        raiseFileAccessErrno(path, error);
    }
    if (const QString kind = kindOf(info.st_mode); !kind.isEmpty()) {
        ::close(m_fd);
        raiseNotRegular(path, kind);
    }
    m_size = info.st_size;
    ::fcntl(m_fd, F_SETFL, ::fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
    ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
}

RegularFileReader::~RegularFileReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QByteArray RegularFileReader::read(qsizetype maxSize)
{
    QByteArray block(maxSize, Qt::Uninitialized);
    qsizetype filled = 0;
    while (filled < maxSize) {
        const ssize_t got = ::read(m_fd, block.data() + filled, size_t(maxSize - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            raiseFileAccessErrno(m_path, errno);
        if (got == 0)
            break;
        filled += got;
    }
    block.truncate(filled);
    return block;
}

QString RegularFileReader::nonRegularKind(const QString &path)
{
    struct stat info;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return kindOf(info.st_mode);
}

} // namespace quillon
