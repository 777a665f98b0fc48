#include "lib/pictures/TgaDecoder.h"

#include "lib/pictures/ByteReader_p.h"

#include <algorithm>
#include <cstring>

namespace tessera {

namespace {

constexpr qsizetype HeaderBytes = 18;
constexpr quint8 TypeRaw = 2;
constexpr quint8 TypeRunLength = 10;

// Blue, green, red of one stored pixel.
template <int Depth> inline void convertPixel(const uchar *s, uchar *o)
{
    if constexpr (Depth == 16) {
        const unsigned v = s[0] | s[1] << 8;
        o[0] = uchar((v & 31) << 3);
        o[1] = uchar((v >> 5 & 31) << 3);
        o[2] = uchar((v >> 10 & 31) << 3);
    } else {
        o[0] = s[0];
        o[1] = s[1];
        o[2] = s[2];
    }
}

// Hands out the output pixels in the file's order: row after row, from the
// bottom when the file stores its rows bottom-up.
class RowCursor
{
public:
    RowCursor(DecodedBitmap &b, bool topDown)
        : m_bits(reinterpret_cast<uchar *>(b.Bits.data()))
        , m_stride(DibStride(b.Width, 24))
        , m_width(b.Width)
        , m_height(b.Height)
        , m_topDown(topDown)
    {
        startRow();
    }

    // Room left in the present row, in pixels.
    qint32 left() const { return m_width - m_x; }
    uchar *at() const { return m_row + 3 * m_x; }
    void advance(qint32 pixels)
    {
        m_x += pixels;
        if (m_x == m_width) {
            ++m_y;
            m_x = 0;
            if (m_y < m_height)
                startRow();
        }
    }

private:
    void startRow() { m_row = m_bits + qsizetype(m_topDown ? m_y : m_height - 1 - m_y) * m_stride; }

    uchar *m_bits;
    qsizetype m_stride;
    qint32 m_width;
    qint32 m_height;
    bool m_topDown;
    qint32 m_y = 0;
    qint32 m_x = 0;
    uchar *m_row = nullptr;
};

// \a count stored pixels converted to blue, green, red at \a o.
template <int Depth> inline void convertPixels(const uchar *in, uchar *o, qint32 count)
{
    if constexpr (Depth == 24) {
        std::memcpy(o, in, size_t(count) * 3);
    } else {
        for (qint32 i = 0; i < count; ++i)
            convertPixel<Depth>(in + i * (Depth / 8), o + 3 * i);
    }
}

template <int Depth> void decodeRaw(const uchar *in, RowCursor &out, qint32 width, qint32 height)
{
    for (qint32 y = 0; y < height; ++y, in += qsizetype(width) * (Depth / 8)) {
        convertPixels<Depth>(in, out.at(), width);
        out.advance(width);
    }
}

template <int Depth> const char *decodeRunLength(const uchar *in, const uchar *end, RowCursor &out, qint64 pixels)
{
    constexpr int size = Depth / 8;
    while (pixels > 0) {
        if (in == end)
            return "the data end before the last pixel";
        const uchar packet = *in++;
        const qint32 count = (packet & 127) + 1;
        if (count > pixels)
            return "a packet goes past the last pixel";
        const bool repeat = packet & 128;
        if (end - in < (repeat ? size : qint64(size) * count))
            return "the data end before the last pixel";
        pixels -= count;
        for (qint32 done = 0; done < count;) {
            const qint32 n = std::min(count - done, out.left());
            uchar *o = out.at();
            if (repeat) {
                convertPixel<Depth>(in, o);
                for (qint32 i = 1; i < n; ++i)
                    std::copy_n(o, 3, o + 3 * i);
            } else {
                convertPixels<Depth>(in, o, n);
                in += qsizetype(n) * size;
            }
            out.advance(n);
            done += n;
        }
        if (repeat)
            in += size;
    }
    return nullptr;
}

template <int Depth> const char *decodePixels(const TgaHeader &h, QByteArrayView data, DecodedBitmap &b)
{
    RowCursor out(b, h.TopDown);
    const auto *in = reinterpret_cast<const uchar *>(data.data());
    if (h.ImageType == TypeRaw) {
        decodeRaw<Depth>(in, out, h.Width, h.Height);
        return nullptr;
    }
    return decodeRunLength<Depth>(in, in + data.size(), out, qint64(h.Width) * h.Height);
}

} // namespace

const char *readTgaHeader(QByteArrayView file, TgaHeader *header)
{
    ByteReader r(file);
    const quint8 idLength = r.u8();
    const quint8 colorMapType = r.u8();
    const quint8 imageType = r.u8();
    r.skip(2); // first entry index
    const quint16 colorMapLength = r.u16le();
    const quint8 colorMapEntrySize = r.u8();
    r.skip(4); // origin
    const auto width = qint16(r.u16le());
    const auto height = qint16(r.u16le());
    const quint8 depth = r.u8();
    const quint8 descriptor = r.u8();
    if (!r.ok())
        return "the file is shorter than a Targa header";
    if (imageType != TypeRaw && imageType != TypeRunLength)
        return "only true-colour Targa files are read";
    if (depth != 16 && depth != 24 && depth != 32)
        return "only 16, 24 and 32 bits per pixel are read";
    if (width <= 0 || height <= 0)
        return "the width or the height is 0 or less";
    // The byte length of a row is held in a signed 16-bit number: three
    // bytes per output pixel, and four per stored pixel of raw 32-bit data.
    if (width > 32767 / 3 || (imageType == TypeRaw && depth == 32 && width > 32767 / 4))
        return "a row is longer than 32767 bytes";

    header->ImageType = imageType;
    header->PixelDepth = depth;
    header->Width = width;
    header->Height = height;
    header->TopDown = descriptor & 0x20;
    header->PixelOffset
        = HeaderBytes + idLength + (colorMapType ? qint64(colorMapLength) * ((colorMapEntrySize + 7) / 8) : 0);
    return nullptr;
}

DecodeResult DecodeTga(QByteArrayView file)
{
    TgaHeader h;
    if (const char *why = readTgaHeader(file, &h))
        return DecodeResult::failed(why);
    if (h.PixelOffset > file.size())
        return DecodeResult::failed("the file ends before its pixels");
    const QByteArrayView data = file.sliced(qsizetype(h.PixelOffset));
    const qint64 pixels = qint64(h.Width) * h.Height;
    const qint32 size = h.PixelDepth / 8;
    if (h.ImageType == TypeRaw ? data.size() < pixels * size : !canExpandTo(data.size(), pixels, 1 + size, 128))
        return DecodeResult::failed("the data are too short for the picture");

    DecodedBitmap b;
    if (const char *why = allocateBits(b, h.Width, h.Height, 24))
        return DecodeResult::failed(why);
    const char *why = h.PixelDepth == 16 ? decodePixels<16>(h, data, b)
        : h.PixelDepth == 24             ? decodePixels<24>(h, data, b)
                                         : decodePixels<32>(h, data, b);
    if (why)
        return DecodeResult::failed(why);
    return {std::move(b), nullptr};
}

} // namespace tessera
