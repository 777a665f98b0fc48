#include "app/batch/modPictureFiles.h"

#include "lib/data/crvSort.h"
#include "platform/Collection.h"
#include "platform/RuntimeError.h"
#include "support/csFiles.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace quillon::modPictureFiles {

namespace {

struct DirCloser {
    void operator()(DIR *dir) const { ::closedir(dir); }
};

[[noreturn]] void raise(qint32 number, const QString &folder, int error)
{
    throw tessera::RuntimeError(number, folder + QLatin1String(": ") + QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

bool IsPictureFile(const QString &FileName)
{
    static const QStringList extensions = {
        QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("jpe"),
        QStringLiteral("jfif"), QStringLiteral("gif"),  QStringLiteral("png"),
        QStringLiteral("bmp"),  QStringLiteral("dib"),  QStringLiteral("rle"),
    };
    const QString extension = cs::csGetFileExtension(FileName).toLower();
    return !extension.isEmpty() && extensions.contains(extension);
}

QStringList ListPictureFiles(const QString &Folder)
{
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(QFile::encodeName(Folder).constData()));
    if (!dir)
        raise(tessera::RuntimeError::PathNotFound, Folder, errno);

    tessera::Collection names;
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir.get());
        if (!entry) {
            if (errno != 0)
                raise(tessera::RuntimeError::PathFileAccessError, Folder, errno);
            break;
        }
        const QString name = QFile::decodeName(entry->d_name);
        if (!IsPictureFile(name))
            continue;
        // Follows links, so a link to a picture counts as the picture.
        struct stat status {
        };
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &status, 0) == 0 && S_ISREG(status.st_mode))
            names.Add(name);
    }
    tessera::crvSort::global().QuickSortC_ByString(&names);

    QStringList sorted;
    sorted.reserve(names.Count());
    for (const QVariant &name : names.values())
        sorted << name.toString();
    return sorted;
}

} // namespace quillon::modPictureFiles
