#pragma once

#include "lib/TesseraExport.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace tessera {

/// The FLG bits of a gzip member.
enum gzArchiveFlags : quint8 {
    gzfText = 1,
    gzfHCRC = 2,
    gzfExtra = 4,
    gzfFileName = 8,
    gzfComment = 16,
    gzfReserved1 = 32,
    gzfReserved2 = 64,
    gzfReserved3 = 128,
};

/// The OS byte of a gzip member. Any byte may be stored; the names cover the
/// values RFC 1952 assigns (the member of value 6 has no prefix).
enum gzArchiveOS : quint8 {
    gzosFATFilesystem = 0,
    gzosAmiga = 1,
    gzosVMS = 2,
    gzosUNIX = 3,
    gzosVM_CMS = 4,
    gzosAtariTOS = 5,
    HPFSFilesystem = 6,
    gzosMacintosh = 7,
    gzosZSystem = 8,
    gzosCPM = 9,
    gzosTOPS20 = 10,
    gzosNTFSFileSystem = 11,
    gzosQDOS = 12,
    gzosAcornRISCOS = 13,
    gzosUnknown = 255,
};

/// Results of crvGZipArchive::UncompressData.
enum gzUncompressErrors : qint32 {
    gzueSuccess = 0,
    gzueNotGZip = 1,
    gzueCRCMismatch = 2,
    gzueInvalidExtraDataLen = 3,
    gzueInvalidFileNameLen = 4,
    gzueInvalidCommentLen = 5,
    gzueInvalidFlags = 6,
    gzueInvalidDataLen = 7,
    gzueLibraryNotAvailable = 8,
};

/// Reads one gzip member (RFC 1952) held in memory: checks and decodes its
/// header, inflates the data with zlib (loaded at run time) and checks it
/// against the stored CRC-32 and length. The properties describe the last
/// successful UncompressData; a failed one clears them.
///
///     crvGZipArchive gz;
///     if (gz.UncompressData(body) == gzueSuccess)
///         use(gz.UncompressedData(), gz.FileName());
///
/// The member's trailer is always its last 8 bytes, so data after the member
/// (or a second member) fails the check. Data that is longer than 1032 times
/// its compressed form plus 1024 bytes cannot come from deflate and is
/// refused (7) before anything is allocated.
class TESSERA_EXPORT crvGZipArchive
{
public:
    crvGZipArchive();
    ~crvGZipArchive();
    crvGZipArchive(const crvGZipArchive &) = delete;
    crvGZipArchive &operator=(const crvGZipArchive &) = delete;

    /// The name of an OS byte; "Unknown" for 255 and every unassigned value.
    static QString OSCodeToString(gzArchiveOS Code);
    /// The Russian text of a result; "Неизвестная ошибка" for 8 and any
    /// value outside 0..7.
    static QString UncompressErrorCodeToString(gzUncompressErrors Code);

    /// Resets every property: 0 and empty, OS 255.
    void Clear();

    /// Decodes \a Data, checking in this order: zlib present (else 8), the
    /// magic bytes 1F 8B (1), reserved flags (6), the extra field's length
    /// (3), the file name's (4) and the comment's (5) terminating zero, the
    /// trailer and data length (7), then the inflated data (2: corrupt,
    /// shorter or longer than the trailer says, or a CRC that differs).
    /// Raises 5 (invalid procedure call) for data that begins with 1F 8B but
    /// is shorter than the 10-byte fixed header.
    gzUncompressErrors UncompressData(const QByteArray &Data);

    quint8 ID1() const;
    quint8 ID2() const;
    quint8 CompressionMethod() const;
    gzArchiveFlags Flags() const;
    qint32 ModificationTime() const;
    quint8 ExtraFlags() const;
    gzArchiveOS OS() const;
    QByteArray ExtraData() const;
    /// The stored name and comment, their bytes read in the system's ANSI
    /// code page.
    QString FileName() const;
    QString Comment() const;
    qint16 HeaderCRC16() const;
    qint32 DataLen() const;
    qint32 DataCRC32() const;
    QByteArray UncompressedData() const;

    /// Whether zlib was found, so that UncompressData can inflate.
    bool IsLibraryAvailable() const;

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
