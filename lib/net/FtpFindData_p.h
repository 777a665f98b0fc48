#pragma once

// One directory entry of an FTP listing, as the original platform's find
// record (WIN32_FIND_DATA) holds it. Internal to the library.

#include <QString>

namespace tessera::detail {

/// The attribute bits of a find record.
namespace FileAttribute {
constexpr quint32 ReadOnly = 1;
constexpr quint32 Directory = 16;
constexpr quint32 Normal = 128; ///< a file with no other attribute
constexpr quint32 ReparsePoint = 1024; ///< here: a symbolic link
} // namespace FileAttribute

struct FtpFindData {
    quint32 FileAttributes = 0;
    /// FILETIME values: 100-nanosecond steps since 1601-01-01 00:00 UTC.
    qint64 CreationTime = 0;
    qint64 LastAccessTime = 0;
    qint64 LastWriteTime = 0;
    quint32 FileSizeHigh = 0;
    quint32 FileSizeLow = 0;
    quint32 Reserved0 = 0;
    quint32 Reserved1 = 0;
    QString FileName;
    QString AlternateFileName;
};

} // namespace tessera::detail
