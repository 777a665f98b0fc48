#include "platform/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tessera {

bool WholeFile::write(const QString &path, const QByteArray &data, QString *errorString)
{
    QSaveFile file(path);
    const auto fail = [&](const QString &reason) {
        if (errorString)
            *errorString = reason;
        file.cancelWriting();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.flush())
        return fail(file.errorString());
    if (::fsync(file.handle()) != 0)
        return fail(qt_error_string(errno));
    if (!file.commit())
        return fail(file.errorString());
    syncFolder(QFileInfo(path).absolutePath());
    return true;
}

void WholeFile::syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace tessera
