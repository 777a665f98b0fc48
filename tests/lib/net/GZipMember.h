#pragma once

// gzip members made byte by byte for the tests: a real deflate stream from
// zlib, with the header fields and the trailer under the test's control.

#include <QByteArray>

#include <optional>
#include <zlib.h>

namespace corvid::test {

/// Raw deflate data (no zlib or gzip framing) of \a data.
inline QByteArray rawDeflate(const QByteArray &data, int level = 6)
{
    z_stream s {};
    deflateInit2(&s, level, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&s, uLong(data.size()))), '\0');
    s.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    s.avail_in = uInt(data.size());
    s.next_out = reinterpret_cast<Bytef *>(out.data());
    s.avail_out = uInt(out.size());
    deflate(&s, Z_FINISH);
    out.truncate(qsizetype(s.total_out));
    deflateEnd(&s);
    return out;
}

inline void appendLE32(QByteArray &out, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
}

struct GZipFields {
    quint8 flags = 0; ///< extra FLG bits set on top of the fields given below
    quint32 mtime = 0;
    quint8 os = 3;
    std::optional<QByteArray> extra = std::nullopt;
    std::optional<QByteArray> name = std::nullopt;
    std::optional<QByteArray> comment = std::nullopt;
    std::optional<quint16> headerCrc = std::nullopt;
    std::optional<quint32> crc = std::nullopt; ///< the trailer's CRC, the true one when unset
    std::optional<quint32> size = std::nullopt; ///< the trailer's ISIZE, the true one when unset
};

/// A gzip member of \a data with the fields of \a f.
inline QByteArray gzipMember(const QByteArray &data, const GZipFields &f = {})
{
    quint8 flags = f.flags;
    if (f.extra)
        flags |= 4;
    if (f.name)
        flags |= 8;
    if (f.comment)
        flags |= 16;
    if (f.headerCrc)
        flags |= 2;
    QByteArray out;
    out.append(char(0x1F)).append(char(0x8B)).append(char(8)).append(char(flags));
    appendLE32(out, f.mtime);
    out.append(char(0)).append(char(f.os));
    if (f.extra) {
        out.append(char(f.extra->size() & 0xFF)).append(char(f.extra->size() >> 8));
        out.append(*f.extra);
    }
    if (f.name)
        out.append(*f.name).append('\0');
    if (f.comment)
        out.append(*f.comment).append('\0');
    if (f.headerCrc)
        out.append(char(*f.headerCrc & 0xFF)).append(char(*f.headerCrc >> 8));
    out.append(rawDeflate(data));
    const quint32 crc = quint32(crc32(0, reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size())));
    appendLE32(out, f.crc.value_or(crc));
    appendLE32(out, f.size.value_or(quint32(data.size())));
    return out;
}

} // namespace corvid::test
