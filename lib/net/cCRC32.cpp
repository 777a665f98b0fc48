#include "lib/net/cCRC32.h"

#include <array>
#include <cstring>

namespace tessera {

namespace {

constexpr quint32 Polynomial = 0xEDB88320u;
constexpr int Slices = 16;

using Tables = std::array<std::array<quint32, 256>, Slices>;

// Table 0 is the classic byte table; table k advances a byte that lies k
// positions further back, so sixteen bytes are folded in per step
// ("slicing by 16") instead of one.
constexpr Tables makeTables()
{
    Tables t {};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? (c >> 1) ^ Polynomial : c >> 1;
        t[0][n] = c;
    }
    for (quint32 n = 0; n < 256; ++n) {
        for (int k = 1; k < Slices; ++k)
            t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
    }
    return t;
}

constexpr Tables tables = makeTables();

inline quint32 loadLittleEndian(const unsigned char *p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

} // namespace

quint32 cCRC32::update(quint32 crc, const char *data, qsizetype length)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    quint32 c = ~crc;
    while (length >= Slices) {
        const quint32 a = loadLittleEndian(p) ^ c;
        const quint32 b = loadLittleEndian(p + 4);
        const quint32 d = loadLittleEndian(p + 8);
        const quint32 e = loadLittleEndian(p + 12);
        c = tables[15][a & 0xFF] ^ tables[14][(a >> 8) & 0xFF] ^ tables[13][(a >> 16) & 0xFF] ^ tables[12][a >> 24]
            ^ tables[11][b & 0xFF] ^ tables[10][(b >> 8) & 0xFF] ^ tables[9][(b >> 16) & 0xFF] ^ tables[8][b >> 24]
            ^ tables[7][d & 0xFF] ^ tables[6][(d >> 8) & 0xFF] ^ tables[5][(d >> 16) & 0xFF] ^ tables[4][d >> 24]
            ^ tables[3][e & 0xFF] ^ tables[2][(e >> 8) & 0xFF] ^ tables[1][(e >> 16) & 0xFF] ^ tables[0][e >> 24];
        p += Slices;
        length -= Slices;
    }
    while (length-- > 0)
        c = (c >> 8) ^ tables[0][(c ^ *p++) & 0xFF];
    return ~c;
}

qint32 cCRC32::GetByteArrayCrc32(const QByteArray &Buffer) const
{
    return qint32(update(0, Buffer.constData(), Buffer.size()));
}

} // namespace tessera
