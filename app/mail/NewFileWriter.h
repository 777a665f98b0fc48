#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace quillon {

/// Writes a file whole or not at all: the data goes to a temporary file in
/// the target's folder, which takes the target's name only when everything
/// is written and on the disk (the file and then the folder are synced), so
/// neither a failing write, a full disk nor a power failure leaves half a
/// file under the target's name. A writer that is not committed removes its
/// temporary file.
///
/// Failures raise tessera::RuntimeError 75 (path/file access error) with
/// source "FileAccess" and the path and the system's reason ("No space left
/// on device") in the description.
class NewFileWriter
{
public:
    /// Starts a file that will be named \a path, or a later name in the same
    /// folder (commitNew).
    explicit NewFileWriter(const QString &path);
    ~NewFileWriter();
    NewFileWriter(const NewFileWriter &) = delete;
    NewFileWriter &operator=(const NewFileWriter &) = delete;

    /// Appends \a data.
    void write(const QByteArray &data);

    /// Gives the data the name \a path given at the start, replacing a file
    /// of that name.
    void commitReplacing();

    /// Gives the data the name given at the start unless a file or folder
    /// of that name exists, not even one that appeared meanwhile; then asks
    /// \a nextPath for another name in the same folder, as often as needed.
    /// Returns the name the data took.
    QString commitNew(const std::function<QString()> &nextPath);

    /// The name the data will take (the start's, until commitNew moves on).
    QString path() const { return m_path; }

private:
    void flushToDisk();

    QString m_path;
    QString m_temporary;
    int m_fd = -1;
    bool m_committed = false;
};

} // namespace quillon
