#include "platform/WholeFileWriter.h"

#include "platform/WholeFile.h"
#include "platform/Win32Error.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessera {

namespace {

constexpr mode_t NewFileMode = 0666; // less the umask, as for any new file
constexpr int NameAttempts = 16;
// Pieces are gathered up to this size before a write: a download hands them
// over 16 KB at a time, and a system call for each costs more than the copy.
constexpr qsizetype WriteBlock = 256 * 1024;

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

} // namespace

WholeFileWriter::WholeFileWriter(const QString &path, Existing existing, bool readOnly)
    : m_path(path)
    , m_existing(existing)
    , m_readOnly(readOnly)
{ }

WholeFileWriter::~WholeFileWriter()
{
    discard();
}

bool WholeFileWriter::fail(int errnoValue)
{
    m_error = Win32Error::fromErrno(errnoValue, Win32Error::WriteFault);
    m_errorString = m_path + QLatin1String(": ") + qt_error_string(errnoValue);
    discard();
    return false;
}

void WholeFileWriter::discard()
{
    m_pending.clear();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.isEmpty())
        ::unlink(encoded(m_temporary).constData());
    m_temporary.clear();
}

bool WholeFileWriter::open()
{
    if (m_path.isEmpty())
        return fail(ENOENT);
    const QByteArray target = encoded(m_path);
    struct stat info {
    };
    const bool exists = ::stat(target.constData(), &info) == 0;
    if (exists && m_existing == KeepExisting)
        return fail(EEXIST);
    if (exists && S_ISDIR(info.st_mode))
        return fail(EISDIR);
    if (exists && !S_ISREG(info.st_mode)) {
        // A device or a pipe is written to where it is.
        m_direct = true;
        m_fd = ::open(target.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        return m_fd >= 0 || fail(errno);
    }
    const QFileInfo file(m_path);
    const QString prefix = file.absolutePath() + QLatin1String("/.") + file.fileName() + u'.';
    for (int attempt = 0; attempt < NameAttempts; ++attempt) {
        const QString candidate
            = prefix + QString::number(QRandomGenerator::global()->generate(), 36) + QLatin1String(".part");
        m_fd = ::open(encoded(candidate).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, NewFileMode);
        if (m_fd >= 0) {
            m_temporary = candidate;
            return true;
        }
        if (errno != EEXIST)
            break;
    }
    return fail(errno);
}

bool WholeFileWriter::write(const char *data, qsizetype size)
{
    if (m_fd < 0)
        return fail(EBADF);
    if (m_pending.size() + size > WriteBlock) {
        if (!flush())
            return false;
        if (size >= WriteBlock)
            return writeOut(data, size);
    }
    if (m_pending.capacity() < WriteBlock)
        m_pending.reserve(WriteBlock);
    m_pending.append(data, size);
    return true;
}

bool WholeFileWriter::flush()
{
    const bool written = writeOut(m_pending.constData(), m_pending.size());
    m_pending.resize(0); // keeps the room for the next pieces
    return written;
}

bool WholeFileWriter::writeOut(const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : ENOSPC);
        data += n;
        size -= n;
    }
    return true;
}

bool WholeFileWriter::commit()
{
    if (m_fd < 0)
        return fail(EBADF);
    if (!flush())
        return false;
    if (m_direct) {
        const int closed = ::close(m_fd);
        m_fd = -1;
        return closed == 0 || fail(errno);
    }
    if (::fsync(m_fd) != 0)
        return fail(errno);
    if (m_readOnly) {
        struct stat info {
        };
        if (::fstat(m_fd, &info) != 0 || ::fchmod(m_fd, info.st_mode & ~mode_t(0222)) != 0)
            return fail(errno);
    }
    if (::close(m_fd) != 0) {
        m_fd = -1;
        return fail(errno);
    }
    m_fd = -1;
    const QByteArray from = encoded(m_temporary);
    const QByteArray to = encoded(m_path);
    if (m_existing == KeepExisting) {
        // Only a name that is still free is taken; a file that appeared
        // during the transfer stays.
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) != 0) {
            if (errno != EINVAL)
                return fail(errno);
            if (::link(from.constData(), to.constData()) != 0)
                return fail(errno);
            ::unlink(from.constData());
        }
    } else if (::rename(from.constData(), to.constData()) != 0) {
        return fail(errno);
    }
    m_temporary.clear();
    WholeFile::syncFolder(QFileInfo(m_path).absolutePath());
    return true;
}

} // namespace tessera
