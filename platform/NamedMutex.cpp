#include "platform/NamedMutex.h"

#include "platform/Win32Error.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tessera {

namespace {

constexpr qsizetype MaxEncodedName = 200; // well below NAME_MAX, which counts bytes
constexpr qsizetype HashedNamePrefix = 135; // + "~" + 64 hex digits = 200

qint32 win32FromErrno(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ELOOP: // a symbolic link where the lock file belongs is not ours to follow
        return Win32Error::AccessDenied;
    case ENOENT:
    case ENOTDIR:
        return Win32Error::PathNotFound;
    case ENAMETOOLONG:
        return Win32Error::InvalidName;
    case ENOMEM:
    case ENOSPC:
    case EDQUOT:
    case EMFILE:
    case ENFILE:
        return Win32Error::NotEnoughMemory;
    default:
        return Win32Error::InvalidHandle;
    }
}

// '.' and '~' are escaped although they are safe in file names: so no name
// becomes "." or "..", and "~" marks only the hashed form of long names.
QByteArray encodedFileName(const QString &bareName)
{
    const QByteArray utf8 = bareName.toUtf8();
    const QByteArray encoded = utf8.toPercentEncoding(QByteArray(), QByteArrayLiteral(".~"));
    if (encoded.size() <= MaxEncodedName)
        return encoded;
    return encoded.left(HashedNamePrefix) + '~' + QCryptographicHash::hash(utf8, QCryptographicHash::Sha256).toHex();
}

struct Location {
    QByteArray folder;
    QByteArray fileName;
    bool machineWide = false; // world-writable and sticky, shared by all users
    bool mustOwnFolder = false; // a private folder in a place others can write to
};

qint32 locate(const QString &name, Location *location)
{
    static const QString globalPrefix = QStringLiteral("Global\\");
    static const QString localPrefix = QStringLiteral("Local\\");
    QString bareName = name;
    bool global = false;
    if (name.startsWith(globalPrefix)) {
        global = true;
        bareName = name.mid(globalPrefix.size());
    } else if (name.startsWith(localPrefix)) {
        bareName = name.mid(localPrefix.size());
    }
    if (bareName.isEmpty())
        return Win32Error::InvalidName;
    location->fileName = encodedFileName(bareName);

    const QByteArray overridden = qgetenv("TESSERA_MUTEX_DIR");
    if (!overridden.isEmpty()) {
        location->folder = overridden + (global ? "/Global" : "/Local");
    } else if (global) {
        location->folder = QByteArrayLiteral("/tmp/.sablewing-locks");
        location->machineWide = true;
    } else {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        if (runtime.startsWith('/')) {
            location->folder = runtime + "/sablewing-locks";
        } else {
            location->folder = "/tmp/.sablewing-locks-" + QByteArray::number(uint(::geteuid()));
            location->mustOwnFolder = true;
        }
    }
    return Win32Error::Success;
}

qint32 ensureFolder(const Location &location)
{
    const char *folder = location.folder.constData();
    const mode_t mode = location.machineWide ? mode_t(01777) : mode_t(0700);
    bool created = ::mkdir(folder, mode) == 0;
    if (!created && errno == ENOENT) {
        QDir().mkpath(QFileInfo(QFile::decodeName(location.folder)).path());
        created = ::mkdir(folder, mode) == 0;
    }
    if (!created && errno != EEXIST)
        return win32FromErrno(errno);
    if (created && location.machineWide)
        ::chmod(folder, mode); // the creator's umask must not shut other users out

    struct stat info {
    };
    const int rc = location.mustOwnFolder ? ::lstat(folder, &info) : ::stat(folder, &info);
    if (rc != 0)
        return win32FromErrno(errno);
    if (location.mustOwnFolder && (S_ISLNK(info.st_mode) || info.st_uid != ::geteuid()))
        return Win32Error::AccessDenied;
    if (!S_ISDIR(info.st_mode))
        return Win32Error::PathNotFound;
    return Win32Error::Success;
}

// An exclusive lock on the folder itself, held while a handle probes or
// removes its lock file. flock() converts a lock by dropping the old one
// first, so without the gate two creators could both probe successfully.
class FolderGate
{
public:
    explicit FolderGate(const QByteArray &folder)
        : m_fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (m_fd < 0) {
            m_error = errno;
            return;
        }
        int rc;
        while ((rc = ::flock(m_fd, LOCK_EX)) != 0 && errno == EINTR) { }
        if (rc != 0) {
            m_error = errno;
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~FolderGate()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderGate(const FolderGate &) = delete;
    FolderGate &operator=(const FolderGate &) = delete;

    bool held() const { return m_fd >= 0; }
    int error() const { return m_error; }

private:
    int m_fd;
    int m_error = 0;
};

// Opens the lock file and takes a shared lock on it, first probing with an
// exclusive one. Returns the descriptor with *outcome 0 (new name) or 183
// (held elsewhere), or -1 with *outcome the error. Called under the gate.
int claim(const QByteArray &path, qint32 *outcome)
{
    // O_NONBLOCK: a planted FIFO must not hang the caller; it is rejected below.
    const int fd = ::open(path.constData(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        *outcome = win32FromErrno(errno);
        return -1;
    }
    const auto fail = [fd, outcome](qint32 error) {
        ::close(fd);
        *outcome = error;
        return -1;
    };
    struct stat info {
    };
    if (::fstat(fd, &info) != 0)
        return fail(win32FromErrno(errno));
    if (!S_ISREG(info.st_mode))
        return fail(Win32Error::AccessDenied);

    *outcome = Win32Error::Success;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK)
            return fail(win32FromErrno(errno));
        *outcome = Win32Error::AlreadyExists;
    }
    // Nobody else probes while the gate is held, so the shared lock is
    // granted at once.
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0)
        return fail(win32FromErrno(errno));
    return fd;
}

} // namespace

NamedMutex::NamedMutex(const QString &name)
{
    if (name.isEmpty()) {
        // An unnamed mutex: no other handle can ever refer to it.
        m_valid = true;
        return;
    }
    Location location;
    m_lastError = locate(name, &location);
    if (m_lastError == Win32Error::Success)
        m_lastError = ensureFolder(location);
    if (m_lastError != Win32Error::Success)
        return;

    const FolderGate gate(location.folder);
    if (!gate.held()) {
        m_lastError = win32FromErrno(gate.error());
        return;
    }
    const QByteArray path = location.folder + '/' + location.fileName;
    qint32 outcome = Win32Error::Success;
    const int fd = claim(path, &outcome);
    m_lastError = outcome;
    if (fd < 0)
        return;
    m_fd = fd;
    m_valid = true;
    m_folder = location.folder;
    m_path = path;
}

NamedMutex::~NamedMutex()
{
    close();
}

NamedMutex::NamedMutex(NamedMutex &&other) noexcept
{
    swap(other);
}

NamedMutex &NamedMutex::operator=(NamedMutex &&other) noexcept
{
    if (this != &other) {
        close();
        swap(other);
    }
    return *this;
}

void NamedMutex::swap(NamedMutex &other) noexcept
{
    std::swap(m_fd, other.m_fd);
    std::swap(m_valid, other.m_valid);
    std::swap(m_lastError, other.m_lastError);
    m_folder.swap(other.m_folder);
    m_path.swap(other.m_path);
}

void NamedMutex::close() noexcept
{
    if (m_fd >= 0) {
        // Remove the file when no one else holds the name. Under the gate no
        // creator is between opening the file and locking it, so nobody can
        // be left holding a file that is no longer in the folder.
        const FolderGate gate(m_folder);
        struct stat held {
        };
        struct stat named {
        };
        if (gate.held() && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(m_fd, &held) == 0
            && ::lstat(m_path.constData(), &named) == 0 && held.st_dev == named.st_dev && held.st_ino == named.st_ino)
            ::unlink(m_path.constData());
        ::close(m_fd);
        m_fd = -1;
    }
    m_valid = false;
    m_folder.clear();
    m_path.clear();
}

QString NamedMutex::lockFilePath(const QString &name)
{
    Location location;
    if (name.isEmpty() || locate(name, &location) != Win32Error::Success)
        return {};
    return QFile::decodeName(location.folder + '/' + location.fileName);
}

} // namespace tessera
