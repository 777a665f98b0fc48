#include "app/mail/NewFileWriter.h"

#include "app/mail/FileAccessError_p.h"
#include "platform/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillon {

namespace {

using tessera::RuntimeError;

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

int openTemporary(const QString &folder, QString *name)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    int error = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString candidate = folder + QLatin1String("/.quillon-");
        for (int i = 0; i < 8; ++i)
            candidate += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
        candidate += QLatin1String(".tmp");
        // 0666 less the umask, the permissions the message file should have.
        const int fd = ::open(QFile::encodeName(candidate).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            *name = candidate;
            return fd;
        }
        error = errno;
        if (error != EEXIST && error != EINTR)
            break;
    }
    *name = folder;
    return -error;
}

} // namespace

NewFileWriter::NewFileWriter(const QString &path)
    : m_path(path)
{
    const int fd = openTemporary(QFileInfo(path).path(), &m_temporary);
    if (fd < 0)
        raiseFileAccessErrno(m_path, -fd);
    m_fd = fd;
}

NewFileWriter::~NewFileWriter()
{
    if (m_fd >= 0)
        ::close(m_fd);
    if (!m_committed)
        ::unlink(QFile::encodeName(m_temporary).constData());
}

void NewFileWriter::write(const QByteArray &data)
{
    const char *next = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, next, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            raiseFileAccessErrno(m_path, errno);
        next += written;
        left -= written;
    }
}

void NewFileWriter::flushToDisk()
{
    // A full disk on some file systems (network ones, those that allocate
    // late) shows only here or at close.
    if (::fsync(m_fd) != 0)
        raiseFileAccessErrno(m_path, errno);
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && errno != EINTR)
        raiseFileAccessErrno(m_path, errno);
}

void NewFileWriter::commitReplacing()
{
    flushToDisk();
    if (::rename(QFile::encodeName(m_temporary).constData(), QFile::encodeName(m_path).constData()) != 0)
        raiseFileAccessErrno(m_path, errno);
    m_committed = true;
    tessera::WholeFile::syncFolder(QFileInfo(m_path).absolutePath());
}

QString NewFileWriter::commitNew(const std::function<QString()> &nextPath)
{
    flushToDisk();
    const QByteArray from = QFile::encodeName(m_temporary);
    for (;;) {
        const int error = renameNoReplace(from, QFile::encodeName(m_path));
        if (error == 0)
            break;
        if (error != EEXIST)
            raiseFileAccessErrno(m_path, error);
        m_path = nextPath();
    }
    m_committed = true;
    tessera::WholeFile::syncFolder(QFileInfo(m_path).absolutePath());
    return m_path;
}

} // namespace quillon
