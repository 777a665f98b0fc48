// csBase64Encode: the base64 body of every mail, so it must keep up with
// pictures of tens of megabytes.
#include "platform/RuntimeError.h"
#include "support/csText.h"

#include <QtEndian>

#include <array>
#include <cstring>
#include <sys/mman.h>

namespace cs {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The two characters of every 12-bit value, so that one look-up encodes
// half a group of three bytes.
constexpr std::array<std::array<char, 2>, 4096> kPairs = [] {
    std::array<std::array<char, 2>, 4096> table {};
    for (int i = 0; i < 4096; ++i)
        table[i] = {kAlphabet[i >> 6], kAlphabet[i & 63]};
    return table;
}();

constexpr qsizetype kMimeLineBytes = 57; // 76 characters

// Six bytes (two groups) to eight characters: one unaligned 64-bit load
// whose top 48 bits, in big-endian order, are the six bytes. The caller
// guarantees eight readable bytes.
inline char *encodeSix(const uchar *in, char *out)
{
    const quint64 bits = qFromBigEndian<quint64>(in);
    std::memcpy(out + 0, kPairs[(bits >> 52) & 0xFFF].data(), 2);
    std::memcpy(out + 2, kPairs[(bits >> 40) & 0xFFF].data(), 2);
    std::memcpy(out + 4, kPairs[(bits >> 28) & 0xFFF].data(), 2);
    std::memcpy(out + 6, kPairs[(bits >> 16) & 0xFFF].data(), 2);
    return out + 8;
}

inline char *encodeThree(const uchar *in, char *out)
{
    const quint32 bits = (quint32(in[0]) << 16) | (quint32(in[1]) << 8) | in[2];
    std::memcpy(out + 0, kPairs[bits >> 12].data(), 2);
    std::memcpy(out + 2, kPairs[bits & 0xFFF].data(), 2);
    return out + 4;
}

// Any number of bytes, the last group padded with "=". Uses the 64-bit
// load only while eight bytes remain, so it never reads past \a end.
char *encodeRun(const uchar *in, const uchar *end, char *out)
{
    while (end - in >= 8) {
        out = encodeSix(in, out);
        in += 6;
    }
    while (end - in >= 3) {
        out = encodeThree(in, out);
        in += 3;
    }
    if (end - in == 1) {
        const quint32 bits = quint32(in[0]) << 4;
        out[0] = kAlphabet[bits >> 6];
        out[1] = kAlphabet[bits & 63];
        out[2] = '=';
        out[3] = '=';
        out += 4;
    } else if (end - in == 2) {
        const quint32 bits = ((quint32(in[0]) << 8) | in[1]) << 2;
        out[0] = kAlphabet[bits >> 12];
        out[1] = kAlphabet[(bits >> 6) & 63];
        out[2] = kAlphabet[bits & 63];
        out[3] = '=';
        out += 4;
    }
    return out;
}

// One full MIME line of 57 bytes: nine double groups (the last load reads
// bytes 48 to 55, still inside the line) and one single group.
inline char *encodeMimeLine(const uchar *in, char *out)
{
    for (int i = 0; i < 9; ++i)
        out = encodeSix(in + 6 * i, out);
    return encodeThree(in + 54, out);
}

// Asks the kernel to back a large output buffer with huge pages. Faulting
// in tens of megabytes page by page costs several times more than encoding
// them; with 2 MB pages that cost nearly vanishes. Only the whole huge pages
// inside the buffer are advised; a refusal changes nothing but the speed.
void adviseHugePages(char *data, qsizetype size)
{
    constexpr quintptr hugePage = 2 * 1024 * 1024;
    if (size < qsizetype(4 * hugePage))
        return;
    const quintptr begin = (quintptr(data) + hugePage - 1) & ~(hugePage - 1);
    const quintptr end = (quintptr(data) + quintptr(size)) & ~(hugePage - 1);
    madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
}

} // namespace

QByteArray csBase64Encode(const QByteArray &data, qint32 options)
{
    if (options != 0 && options != 15)
        throw tessera::RuntimeError(tessera::RuntimeError::InvalidProcedureCall);
    const qsizetype characters = (data.size() + 2) / 3 * 4;
    const auto *in = reinterpret_cast<const uchar *>(data.constData());
    const uchar *const end = in + data.size();
    const qsizetype lines = options == 0 ? 1 : (data.size() + kMimeLineBytes - 1) / kMimeLineBytes;
    QByteArray text(characters + 2 * qMax<qsizetype>(lines - 1, 0), Qt::Uninitialized);
    char *out = text.data();
    adviseHugePages(out, text.size());
    if (options == 0) {
        encodeRun(in, end, out);
        return text;
    }
    // Every line but the last is full and followed by CR LF.
    for (qsizetype line = 1; line < lines; ++line) {
        out = encodeMimeLine(in, out);
        in += kMimeLineBytes;
        *out++ = '\r';
        *out++ = '\n';
    }
    out = encodeRun(in, end, out);
    Q_ASSERT(out == text.constData() + text.size());
    return text;
}

} // namespace cs
