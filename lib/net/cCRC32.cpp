#include "lib/net/cCRC32.h"

#include <array>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

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

#if defined(__x86_64__)
// Carry-less multiplication folds 64 bytes at a time, four 128-bit lanes in
// parallel, then reduces the remainder with Barrett's method (Intel's "Fast
// CRC Computation for Generic Polynomials Using PCLMULQDQ", with the
// bit-reflected constants of this polynomial). Takes and returns the working
// register (the complemented CRC); \a length is a multiple of 16, at least 64.
#define CLMUL_TARGET __attribute__((target("pclmul,sse4.1")))

CLMUL_TARGET inline __m128i load(const unsigned char *at)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
}

// x times the constants in k, folded onto next.
CLMUL_TARGET inline __m128i fold(__m128i x, __m128i k, __m128i next)
{
    const __m128i low = _mm_clmulepi64_si128(x, k, 0x00);
    const __m128i high = _mm_clmulepi64_si128(x, k, 0x11);
    return _mm_xor_si128(_mm_xor_si128(high, low), next);
}

CLMUL_TARGET quint32 foldWithClmul(const unsigned char *p, qsizetype length, quint32 c)
{
    alignas(16) static const quint64 k1k2[2] = {0x0154442bd4, 0x01c6e41596};
    alignas(16) static const quint64 k3k4[2] = {0x01751997d0, 0x00ccaa009e};
    alignas(16) static const quint64 k5k0[2] = {0x0163cd6124, 0x0000000000};
    alignas(16) static const quint64 poly[2] = {0x01db710641, 0x01f7011641};
    __m128i x1 = _mm_xor_si128(load(p), _mm_cvtsi32_si128(int(c)));
    __m128i x2 = load(p + 16);
    __m128i x3 = load(p + 32);
    __m128i x4 = load(p + 48);
    p += 64;
    length -= 64;
    __m128i k = _mm_load_si128(reinterpret_cast<const __m128i *>(k1k2));
    while (length >= 64) {
        x1 = fold(x1, k, load(p));
        x2 = fold(x2, k, load(p + 16));
        x3 = fold(x3, k, load(p + 32));
        x4 = fold(x4, k, load(p + 48));
        p += 64;
        length -= 64;
    }
    k = _mm_load_si128(reinterpret_cast<const __m128i *>(k3k4));
    x1 = fold(x1, k, x2);
    x1 = fold(x1, k, x3);
    x1 = fold(x1, k, x4);
    while (length >= 16) {
        x1 = fold(x1, k, load(p));
        p += 16;
        length -= 16;
    }

    // 128 bits to 64.
    const __m128i mask32 = _mm_setr_epi32(~0, 0, ~0, 0);
    __m128i x2b = _mm_clmulepi64_si128(x1, k, 0x10);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), x2b);
    k = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(k5k0));
    x2b = _mm_srli_si128(x1, 4);
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, mask32), k, 0x00), x2b);

    // Barrett reduction to 32 bits.
    k = _mm_load_si128(reinterpret_cast<const __m128i *>(poly));
    x2b = _mm_clmulepi64_si128(_mm_and_si128(x1, mask32), k, 0x10);
    x2b = _mm_clmulepi64_si128(_mm_and_si128(x2b, mask32), k, 0x00);
    x1 = _mm_xor_si128(x1, x2b);
    return quint32(_mm_extract_epi32(x1, 1));
}

#undef CLMUL_TARGET

bool hasClmul()
{
    static const bool has = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
    return has;
}
#endif

} // namespace

quint32 cCRC32::update(quint32 crc, const char *data, qsizetype length)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    quint32 c = ~crc;
#if defined(__x86_64__)
    if (length >= 64 && hasClmul()) {
        const qsizetype folded = length & ~qsizetype(15);
        c = foldWithClmul(p, folded, c);
        p += folded;
        length -= folded;
    }
#endif
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
