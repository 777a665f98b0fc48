#include "platform/HiveFileModes_p.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessera {

namespace {

mode_t folderMode(HiveReaders readers)
{
    return readers == HiveReaders::Owner ? 0700 : 0755;
}

mode_t fileMode(HiveReaders readers)
{
    return readers == HiveReaders::Owner ? 0600 : 0644;
}

// Makes \a folder and its missing parents with exactly \a mode (mkdir would
// apply the umask).
bool makeFolder(const QString &folder, mode_t mode)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return true;
    const QString parent = info.absolutePath();
    if (parent != info.absoluteFilePath() && !makeFolder(parent, mode))
        return false;
    const QByteArray name = QFile::encodeName(info.absoluteFilePath());
    if (::mkdir(name.constData(), mode) != 0)
        return errno == EEXIST && QFileInfo(folder).isDir(); // made by another process meanwhile
    return ::chmod(name.constData(), mode) == 0;
}

// Takes the group's and others' rights from \a path when it is ours.
void tighten(const QString &path, bool folder)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info {
    };
    if (::stat(name.constData(), &info) != 0 || info.st_uid != ::geteuid() || (info.st_mode & 077) == 0)
        return;
    if (folder && (!S_ISDIR(info.st_mode) || (info.st_mode & S_ISVTX)))
        return;
    // A failure leaves the hive usable as it was.
    ::chmod(name.constData(), info.st_mode & 07700);
}

} // namespace

bool makeHiveFile(const QString &fileName, HiveReaders readers)
{
    if (!makeFolder(QFileInfo(fileName).absolutePath(), folderMode(readers)))
        return false;
    const QByteArray name = QFile::encodeName(fileName);
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, fileMode(readers));
    if (fd < 0)
        return errno == EEXIST;
    const bool made = ::fchmod(fd, fileMode(readers)) == 0;
    ::close(fd);
    return made;
}

void tightenPrivateHive(const QString &fileName)
{
    tighten(QFileInfo(fileName).absolutePath(), true);
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        tighten(fileName + QLatin1String(suffix), false);
}

} // namespace tessera
