#pragma once

#include <QByteArray>
#include <QString>

namespace quillon {

/// A regular file opened for reading in blocks, so that a file of any size
/// passes through a small, fixed amount of memory.
///
/// Only regular files are opened: a named pipe, device, socket or folder is
/// refused at once, without waiting for a writer or for data, since reading
/// one would block the program or never end.
///
/// Failures raise tessera::RuntimeError with source "FileAccess": 53 when
/// the file does not exist, 75 (path/file access error) for anything else,
/// with the path and the system's reason in the description.
class RegularFileReader
{
public:
    explicit RegularFileReader(const QString &path);
    ~RegularFileReader();
    RegularFileReader(const RegularFileReader &) = delete;
    RegularFileReader &operator=(const RegularFileReader &) = delete;

    /// Up to \a maxSize next bytes of the file; fewer only at its end, none
    /// past it.
    QByteArray read(qsizetype maxSize);

    /// The file's size when it was opened.
    qint64 size() const { return m_size; }

    /// What \a path names when that is something other than a regular file
    /// ("a named pipe", "a device", "a socket", "a folder"); empty for a
    /// regular file or a path that names nothing. Symbolic links are
    /// followed.
    static QString nonRegularKind(const QString &path);

private:
    QString m_path;
    int m_fd = -1;
    qint64 m_size = 0;
};

} // namespace quillon
