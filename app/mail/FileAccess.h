#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

#include <functional>

namespace quillon {

/// Whole-file reads and writes of the program. Texts are UTF-8 on disk.
/// Only regular files are read: a named pipe, device, socket or folder is
/// refused at once (RegularFileReader). Writes go to a temporary file in the
/// target's folder that takes the target's name once it is synced to the
/// disk (NewFileWriter), so a target is written whole or not at all: a full
/// disk, a failing write or a power failure leaves the old file (or none)
/// and no temporary file.
///
/// Failures raise tessera::RuntimeError with source "FileAccess": 53 (file
/// not found) when a file to read does not exist, 75 (path/file access
/// error) for any other failure, with the path and the system's reason
/// ("No space left on device") in the description.
class FileAccess
{
public:
    FileAccess() = delete;

    /// The file's whole content.
    static QByteArray ReadFileRaw(const QString &path);
    /// Replaces the file's content with \a data (creating the file).
    static void WriteFileRaw(const QString &path, const QByteArray &data);

    /// The file's whole content decoded from UTF-8.
    static QString ReadFileText(const QString &path);
    /// Replaces the file's content with \a text encoded as UTF-8.
    static void WriteFileText(const QString &path, const QString &text);

    /// Writes \a parts, one after the other, to a new file and returns its
    /// path. The path comes from \a nextPath, which is asked once before
    /// anything is written and again each time the path it gave names an
    /// existing file or folder: an existing file is never replaced, not even
    /// one that appears while the data is being written. All paths must lie
    /// in the folder of the first one. When the write fails nothing is left
    /// behind; the error is raised after \a nextPath was asked at least
    /// once.
    static QString WriteNewFileRaw(const std::function<QString()> &nextPath, const QByteArrayList &parts);
};

} // namespace quillon
