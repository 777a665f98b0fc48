#pragma once

#include <QByteArrayView>

namespace tessera {

/// Reads numbers of stated byte order from bytes of outside origin. A read
/// past the end gives 0 and marks the reader failed, so a parser can read a
/// whole header and test ok() once.
class ByteReader
{
public:
    explicit ByteReader(QByteArrayView data, qsizetype pos = 0)
        : m_data(data)
        , m_pos(pos)
    { }

    bool ok() const { return m_ok; }
    qsizetype pos() const { return m_pos; }

    quint8 u8()
    {
        const uchar *p = take(1);
        return p ? p[0] : 0;
    }
    quint16 u16le()
    {
        const uchar *p = take(2);
        return p ? quint16(p[0] | p[1] << 8) : 0;
    }
    quint16 u16be()
    {
        const uchar *p = take(2);
        return p ? quint16(p[0] << 8 | p[1]) : 0;
    }
    quint32 u32le()
    {
        const uchar *p = take(4);
        return p ? quint32(p[3]) << 24 | quint32(p[2]) << 16 | quint32(p[1]) << 8 | p[0] : 0;
    }
    quint32 u32be()
    {
        const uchar *p = take(4);
        return p ? quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3] : 0;
    }
    void skip(qint64 count) { take(count); }

private:
    const uchar *take(qint64 count)
    {
        if (!m_ok || count < 0 || count > m_data.size() - m_pos) {
            m_ok = false;
            return nullptr;
        }
        const auto *p = reinterpret_cast<const uchar *>(m_data.data()) + m_pos;
        m_pos += qsizetype(count);
        return p;
    }

    QByteArrayView m_data;
    qsizetype m_pos;
    bool m_ok = true;
};

} // namespace tessera
