#include "lib/pictures/PsdDecoder.h"

#include "lib/pictures/ByteReader_p.h"
#include "lib/pictures/InterleavedWriter_p.h"

#include <algorithm>

namespace tessera {

namespace {

constexpr qsizetype HeaderBytes = 26;
constexpr quint32 Signature = 0x38425053; // "8BPS"
constexpr quint16 CompressionRaw = 0;
constexpr quint16 CompressionPackBits = 1;

// The byte of a 24-bit pixel that each file channel fills: channel 0 (red)
// byte 2, green 1, blue 0; channel 3 (alpha) has none. A channel is read
// only when its slot number is below the document's channel count.
constexpr int ChannelSlot[4] = {2, 1, 0, 3};
constexpr int AlphaSlot = 3;

// A 4-byte number that must fit in 31 bits; nullopt when it does not.
std::optional<qint32> readLong(ByteReader &r)
{
    const quint32 value = r.u32be();
    return value > 0x7FFFFFFF ? std::nullopt : std::optional<qint32>(qint32(value));
}

// A 2-byte number, held as a signed 16-bit one; nullopt above 32767.
std::optional<qint16> readWord(ByteReader &r)
{
    const quint16 value = r.u16be();
    return value > 32767 ? std::nullopt : std::optional<qint16>(qint16(value));
}

template <typename Writer> const char *unpackChannel(const uchar *&in, const uchar *end, Writer &out, qint64 pixels)
{
    // The count is compared before each packet only, so a channel's last
    // packet may run on; the writer refuses it when it runs past its slack.
    while (out.written() < pixels) {
        if (in == end)
            return "the data end inside a channel";
        const uchar control = *in++;
        if (control == 128)
            continue;
        if (control > 128) {
            if (in == end)
                return "the data end inside a channel";
            if (!out.fill(*in++, 257 - control))
                return "a packet goes past the end of its channel";
            continue;
        }
        const qint64 count = control + 1;
        if (end - in < count)
            return "the data end inside a channel";
        if (!out.copy(in, count))
            return "a packet goes past the end of its channel";
        in += count;
    }
    return nullptr;
}

} // namespace

const char *readPsdHeader(QByteArrayView file, PsdHeader *header)
{
    if (file.size() < HeaderBytes)
        return "the file is shorter than a Photoshop header";
    ByteReader r(file);
    if (r.u32be() != Signature)
        return "not a Photoshop document";
    const std::optional<qint16> version = readWord(r);
    r.skip(6);
    const std::optional<qint16> channels = readWord(r);
    const std::optional<qint32> rows = readLong(r);
    const std::optional<qint32> columns = readLong(r);
    const std::optional<qint16> depth = readWord(r);
    const std::optional<qint16> mode = readWord(r);
    if (!version || !channels || !depth || !mode)
        return "a header field is above 32767";
    if (!rows || !columns)
        return "a number of the header is 2^31 or more";
    if (*version != 1)
        return "only version 1 documents are read";
    if (*channels > 16)
        return "more than 16 channels";
    if (*channels == 0)
        return "a document without channels";
    if (*depth != 8)
        return "only 8 bits per channel are read";
    if (*mode != 3)
        return "only RGB documents are read";
    if (*rows == 0 || *columns == 0)
        return "the width or the height is 0 or less";

    header->Channels = *channels;
    header->Rows = *rows;
    header->Columns = *columns;
    return nullptr;
}

DecodeResult DecodePsd(QByteArrayView file)
{
    PsdHeader h;
    if (const char *why = readPsdHeader(file, &h))
        return DecodeResult::failed(why);
    // Rows and columns may each be near 2^31: their product must be known
    // to be small before it is multiplied further.
    if (const char *why = refusedSize(h.Columns, h.Rows))
        return DecodeResult::failed(why);
    ByteReader r(file, HeaderBytes);
    for (int section = 0; section < 3; ++section) { // colour-mode data, image resources, layers
        const std::optional<qint32> length = readLong(r);
        if (!length)
            return DecodeResult::failed("a section length is 2^31 or more");
        r.skip(*length);
    }
    const std::optional<qint16> compression = readWord(r);
    if (!r.ok())
        return DecodeResult::failed("the file ends before its image data");
    if (compression != CompressionRaw && compression != CompressionPackBits)
        return DecodeResult::failed("only raw and PackBits image data are read");

    const QByteArrayView data = file.sliced(r.pos());
    const qint64 pixels = qint64(h.Rows) * h.Columns;
    const qint64 channelsRead = std::min<qint64>(h.Channels, 4);
    const qint64 table = qint64(h.Rows) * h.Channels * 2; // byte counts of the rows, not needed
    if (compression == CompressionRaw
            ? data.size() < channelsRead * pixels
            : data.size() < table || !canExpandTo(data.size() - table, channelsRead * pixels, 2, 128))
        return DecodeResult::failed("the data are too short for the picture");

    DecodedBitmap b;
    if (const char *why = allocateBits(b, h.Columns, h.Rows, 24))
        return DecodeResult::failed(why);
    auto *bits = reinterpret_cast<uchar *>(b.Bits.data());
    const qsizetype stride = DibStride(h.Columns, 24);
    const auto *in = reinterpret_cast<const uchar *>(data.data());
    const uchar *const end = in + data.size();
    if (compression == CompressionPackBits)
        in += table;

    for (const int slot : ChannelSlot) {
        if (slot >= h.Channels)
            continue;
        auto rowStart
            = [bits, stride, slot](qint64 row) { return slot == AlphaSlot ? nullptr : bits + row * stride + slot; };
        // The original's plane buffer kept three spare bytes after the last
        // pixel: room for one more pixel of a colour, none of alpha.
        InterleavedWriter out(h.Columns, h.Columns, h.Rows, slot == AlphaSlot ? 0 : 1, rowStart);
        if (compression == CompressionRaw) {
            out.copy(in, pixels);
            in += pixels;
        } else if (const char *why = unpackChannel(in, end, out, pixels)) {
            return DecodeResult::failed(why);
        }
    }
    return {std::move(b), nullptr};
}

} // namespace tessera
