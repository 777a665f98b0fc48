#include "lib/net/crvGZipArchive.h"

#include "lib/net/ZLibLibrary_p.h"
#include "lib/net/cCRC32.h"
#include "platform/RuntimeError.h"
#include "support/csText.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

namespace tessera {

namespace {

constexpr qsizetype FixedHeaderSize = 10;
constexpr qsizetype TrailerSize = 8;
constexpr quint8 ReservedFlags = gzfReserved1 | gzfReserved2 | gzfReserved3;
// Deflate's best case: 258 bytes from a 2-bit code, about 1032 : 1.
constexpr qint64 MaxExpansion = 1032;
constexpr qint64 ExpansionSlack = 1024;

// What is left of the member, shrinking from both ends as fields are taken.
class Remaining
{
public:
    explicit Remaining(const QByteArray &data)
        : m_data(data.constData())
        , m_size(data.size())
    { }

    qsizetype size() const { return m_size; }
    const char *data() const { return m_data; }
    quint8 byteAt(qsizetype i) const { return quint8(m_data[i]); }

    // Fixed-width little-endian fields read as 0 when the data ends early.
    qint16 front16() const { return m_size < 2 ? 0 : qint16(byteAt(0) | byteAt(1) << 8); }
    qint32 back32() const
    {
        if (m_size < 4)
            return 0;
        const qsizetype i = m_size - 4;
        return qint32(quint32(byteAt(i)) | quint32(byteAt(i + 1)) << 8 | quint32(byteAt(i + 2)) << 16
                      | quint32(byteAt(i + 3)) << 24);
    }
    QByteArray takeFront(qsizetype n)
    {
        n = std::min(n, m_size);
        QByteArray taken(m_data, n);
        cutFront(n);
        return taken;
    }
    void cutFront(qsizetype n)
    {
        n = std::min(n, m_size);
        m_data += n;
        m_size -= n;
    }
    void cutBack(qsizetype n) { m_size -= std::min(n, m_size); }
    // The bytes before the first zero byte, cut with the zero; nothing when
    // there is no zero byte.
    std::optional<QByteArray> takeZeroTerminated()
    {
        const void *zero = std::memchr(m_data, 0, size_t(m_size));
        if (!zero)
            return std::nullopt;
        const qsizetype length = static_cast<const char *>(zero) - m_data;
        QByteArray taken(m_data, length);
        cutFront(length + 1);
        return taken;
    }

private:
    const char *m_data;
    qsizetype m_size;
};

} // namespace

class crvGZipArchive::Private
{
public:
    detail::ZLibLibrary zlib;
    quint8 id1 = 0;
    quint8 id2 = 0;
    quint8 compressionMethod = 0;
    quint8 flags = 0;
    qint32 modificationTime = 0;
    quint8 extraFlags = 0;
    quint8 os = gzosUnknown;
    QByteArray extraData;
    QString fileName;
    QString comment;
    qint16 headerCRC16 = 0;
    qint32 dataLen = 0;
    qint32 dataCRC32 = 0;
    QByteArray uncompressedData;

    gzUncompressErrors decode(const QByteArray &data);
};

crvGZipArchive::crvGZipArchive()
    : d(std::make_unique<Private>())
{ }

crvGZipArchive::~crvGZipArchive() = default;

QString crvGZipArchive::OSCodeToString(gzArchiveOS Code)
{
    static constexpr std::array<const char *, 14> names = {
        "FAT filesystem (MS-DOS, OS/2, NT/Win32)",
        "Amiga",
        "VMS (or OpenVMS)",
        "Unix",
        "VM/CMS",
        "Atari TOS",
        "HPFS filesystem (OS/2, NT)",
        "Macintosh",
        "Z-System",
        "CP/M",
        "TOPS-20",
        "NTFS filesystem (NT)",
        "QDOS",
        "Acorn RISCOS",
    };
    return QString::fromLatin1(Code < names.size() ? names[Code] : "Unknown");
}

QString crvGZipArchive::UncompressErrorCodeToString(gzUncompressErrors Code)
{
    static constexpr std::array<const char16_t *, 8> texts = {
        u"Операция выполнена успешно",
        u"Данные не являются GZip архивом",
        u"CRC32 данных не совпадают с CRC32, указанным в архиве",
        u"Неверное значение длины дополнительных данных",
        u"Неверное значение длины имени файла",
        u"Неверное значение длины комментария",
        u"В архиве используются зарезервированные флаги",
        u"Неверное значение длины даных",
    };
    const qint32 code = Code;
    return QString::fromUtf16(code >= 0 && code < qint32(texts.size()) ? texts[code] : u"Неизвестная ошибка");
}

void crvGZipArchive::Clear()
{
    d->id1 = d->id2 = d->compressionMethod = d->flags = d->extraFlags = 0;
    d->modificationTime = 0;
    d->os = gzosUnknown;
    d->extraData.clear();
    d->fileName.clear();
    d->comment.clear();
    d->headerCRC16 = 0;
    d->dataLen = d->dataCRC32 = 0;
    d->uncompressedData.clear();
}

gzUncompressErrors crvGZipArchive::UncompressData(const QByteArray &Data)
{
    Clear();
    const gzUncompressErrors result = d->decode(Data);
    if (result != gzueSuccess)
        Clear();
    return result;
}

gzUncompressErrors crvGZipArchive::Private::decode(const QByteArray &data)
{
    if (!zlib.isAvailable())
        return gzueLibraryNotAvailable;
    if (data.size() < 2 || quint8(data[0]) != 31 || quint8(data[1]) != 139)
        return gzueNotGZip;
    if (data.size() < FixedHeaderSize)
        throw RuntimeError(RuntimeError::InvalidProcedureCall);

    Remaining r(data);
    id1 = r.byteAt(0);
    id2 = r.byteAt(1);
    compressionMethod = r.byteAt(2);
    flags = r.byteAt(3);
    modificationTime = qint32(quint32(r.byteAt(4)) | quint32(r.byteAt(5)) << 8 | quint32(r.byteAt(6)) << 16
                              | quint32(r.byteAt(7)) << 24);
    extraFlags = r.byteAt(8);
    os = r.byteAt(9);
    r.cutFront(FixedHeaderSize);

    if (flags & ReservedFlags)
        return gzueInvalidFlags;
    if (flags & gzfExtra) {
        const qint16 extraLength = r.front16();
        r.cutFront(2);
        if (extraLength < 1 || extraLength > r.size())
            return gzueInvalidExtraDataLen;
        extraData = r.takeFront(extraLength);
    }
    if (flags & gzfFileName) {
        const std::optional<QByteArray> name = r.takeZeroTerminated();
        if (!name)
            return gzueInvalidFileNameLen;
        fileName = cs::csStrConvW(*name);
    }
    if (flags & gzfComment) {
        const std::optional<QByteArray> text = r.takeZeroTerminated();
        if (!text)
            return gzueInvalidCommentLen;
        comment = cs::csStrConvW(*text);
    }
    if (flags & gzfHCRC) {
        headerCRC16 = r.front16();
        r.cutFront(2);
    }

    // A member cut before its trailer has no length to trust.
    if (r.size() < TrailerSize)
        return gzueInvalidDataLen;
    dataLen = r.back32();
    r.cutBack(4);
    if (dataLen < 0)
        return gzueInvalidDataLen;
    dataCRC32 = r.back32();
    r.cutBack(4);
    // More than deflate can produce from what is there: refuse before
    // allocating the output.
    if (dataLen > MaxExpansion * r.size() + ExpansionSlack)
        return gzueInvalidDataLen;

    std::optional<QByteArray> output = zlib.inflateRaw(QByteArray::fromRawData(r.data(), r.size()), dataLen);
    if (!output || qint32(cCRC32::update(0, output->constData(), output->size())) != dataCRC32)
        return gzueCRCMismatch;
    uncompressedData = std::move(*output);
    return gzueSuccess;
}

quint8 crvGZipArchive::ID1() const
{
    return d->id1;
}

quint8 crvGZipArchive::ID2() const
{
    return d->id2;
}

quint8 crvGZipArchive::CompressionMethod() const
{
    return d->compressionMethod;
}

gzArchiveFlags crvGZipArchive::Flags() const
{
    return gzArchiveFlags(d->flags);
}

qint32 crvGZipArchive::ModificationTime() const
{
    return d->modificationTime;
}

quint8 crvGZipArchive::ExtraFlags() const
{
    return d->extraFlags;
}

gzArchiveOS crvGZipArchive::OS() const
{
    return gzArchiveOS(d->os);
}

QByteArray crvGZipArchive::ExtraData() const
{
    return d->extraData;
}

QString crvGZipArchive::FileName() const
{
    return d->fileName;
}

QString crvGZipArchive::Comment() const
{
    return d->comment;
}

qint16 crvGZipArchive::HeaderCRC16() const
{
    return d->headerCRC16;
}

qint32 crvGZipArchive::DataLen() const
{
    return d->dataLen;
}

qint32 crvGZipArchive::DataCRC32() const
{
    return d->dataCRC32;
}

QByteArray crvGZipArchive::UncompressedData() const
{
    return d->uncompressedData;
}

bool crvGZipArchive::IsLibraryAvailable() const
{
    return d->zlib.isAvailable();
}

} // namespace tessera
