#pragma once

#include "lib/TesseraExport.h"

#include <QDateTime>
#include <QString>

#include <memory>

namespace tessera {

namespace detail {
struct FtpFindData;
}

/// One entry of an FTP listing (crvFTPClient::SearchFiles): the find record
/// of the original platform, read-only. Made only by the client.
class TESSERA_EXPORT FoundedFTPFile
{
public:
    explicit FoundedFTPFile(const detail::FtpFindData &record);
    ~FoundedFTPFile();
    FoundedFTPFile(const FoundedFTPFile &) = delete;
    FoundedFTPFile &operator=(const FoundedFTPFile &) = delete;

    /// The attribute bits; the Attribute... members test one each.
    qint32 FileAttributes() const;
    bool AttributeReadOnly() const; ///< 1
    bool AttributeHidden() const; ///< 2
    bool AttributeSystem() const; ///< 4
    bool AttributeDirectory() const; ///< 16
    bool AttributeArchive() const; ///< 32
    bool AttributeDevice() const; ///< 64
    bool AttributeTemporary() const; ///< 256
    bool AttributeSparseFile() const; ///< 512
    bool AttributeReparsePoint() const; ///< 1024: a symbolic link
    bool AttributeCompressed() const; ///< 2048
    bool AttributeOffline() const; ///< 4096
    bool AttributeNotContentIndexed() const; ///< 8192
    bool AttributeEncrypted() const; ///< 16384

    /// The times in local time, to the second. A listing gives one time;
    /// the other two carry it as well (MLSD's "create" fact excepted).
    QDateTime CreationTime() const;
    QDateTime LastAccessTime() const;
    QDateTime LastWriteTime() const;
    /// The size in bytes from its two 32-bit halves; 0 for a directory.
    double FileSize() const;
    QString FileName() const;
    /// Always empty: FTP servers name no short (8.3) names.
    QString AlternateFileName() const;

private:
    bool attribute(quint32 bit) const;

    std::unique_ptr<detail::FtpFindData> const d;
};

} // namespace tessera
