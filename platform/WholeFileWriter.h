#pragma once

#include "platform/PlatformExport.h"

#include <QByteArray>
#include <QString>

namespace tessera {

/// A file written in pieces and made whole at the end, or not at all: the
/// pieces go to a temporary file beside the target, which is synced and
/// renamed over it by commit(); anything short of a commit leaves the
/// target as it was. A target that is a device or a pipe (/dev/null, a
/// FIFO) cannot be replaced and is written where it is.
///
/// Failures are the original platform's system error codes (Win32Error:
/// 3 missing folder, 5 denied, 80 the file exists, 112 disk full, ...), with
/// the system's own sentence in errorString(). Small pieces are gathered
/// before they are written, so a failure to write may only show at a later
/// write() or at commit().
class TESSERA_PLATFORM_EXPORT WholeFileWriter
{
public:
    enum Existing { ReplaceExisting, KeepExisting };

    /// \a existing: whether an existing target may be replaced. \a readOnly:
    /// the new file gets no write permission (for anyone).
    explicit WholeFileWriter(const QString &path, Existing existing = ReplaceExisting, bool readOnly = false);
    /// Removes the temporary file unless commit() succeeded.
    ~WholeFileWriter();
    WholeFileWriter(const WholeFileWriter &) = delete;
    WholeFileWriter &operator=(const WholeFileWriter &) = delete;

    /// Creates the temporary file; false when it cannot be made, or when
    /// the target exists and may not be replaced.
    bool open();
    /// Appends \a size bytes; false when they cannot all be written.
    bool write(const char *data, qsizetype size);
    /// Syncs the data, gives the file its name and syncs the folder. False
    /// when the target appeared meanwhile and may not be replaced, or the
    /// data cannot reach the disk; the target is then untouched.
    bool commit();

    qint32 error() const { return m_error; }
    QString errorString() const { return m_errorString; }

private:
    bool fail(int errnoValue);
    void discard();
    bool writeOut(const char *data, qsizetype size);
    bool flush();

    QString m_path;
    QString m_temporary;
    Existing m_existing;
    bool m_readOnly;
    bool m_direct = false;
    int m_fd = -1;
    QByteArray m_pending; // gathered pieces, not yet written
    qint32 m_error = 0;
    QString m_errorString;
};

} // namespace tessera
