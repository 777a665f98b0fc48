#include "lib/pictures/PcxDecoder.h"

#include "lib/pictures/ByteReader_p.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tessera {

namespace {

constexpr qsizetype HeaderBytes = 128;
constexpr qsizetype PaletteBytes = 769; // the marker 12 and 256 red, green, blue triples
constexpr quint8 PaletteMarker = 12;
constexpr uchar RunFlag = 192;

std::optional<qint16> difference(qint32 last, qint32 first)
{
    const qint32 value = last - first + 1;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return qint16(value);
}

// One plane of palette indices. The palette ends the file and is no part of
// the picture data, so data that end early fail rather than show the
// palette's bytes as pixels.
DecodeResult decodeIndexed(const PcxHeader &h, QByteArrayView file)
{
    if (file.size() < HeaderBytes + PaletteBytes)
        return DecodeResult::failed("the file is too short for a 256-colour palette");
    const auto *palette = reinterpret_cast<const uchar *>(file.data()) + file.size() - PaletteBytes;
    if (palette[0] != PaletteMarker)
        return DecodeResult::failed("the file does not end in a 256-colour palette");
    const QByteArrayView data = file.sliced(HeaderBytes, file.size() - HeaderBytes - PaletteBytes);
    if (!canExpandTo(data.size(), qint64(h.Height) * h.ScanLineBytes, 2, 63))
        return DecodeResult::failed("the data are too short for the picture");

    DecodedBitmap b;
    if (const char *why = allocateBits(b, h.Width, h.Height, 8))
        return DecodeResult::failed(why);
    b.Palette.resize(256);
    for (int i = 0; i < 256; ++i) {
        const uchar *rgb = palette + 1 + 3 * i;
        b.Palette[size_t(i)] = quint32(rgb[0]) << 16 | quint32(rgb[1]) << 8 | rgb[2];
    }

    const qsizetype stride = DibStride(h.Width, 8);
    const qint32 width = h.Width;
    const qint32 lineBytes = h.ScanLineBytes;
    const auto *in = reinterpret_cast<const uchar *>(data.data());
    const uchar *const end = in + data.size();
    auto *bits = reinterpret_cast<uchar *>(b.Bits.data());
    // The read position runs on from line to line; each line takes
    // lineBytes columns, of which those past the width are padding.
    for (qint32 r = 0; r < h.Height; ++r) {
        uchar *row = bits + r * stride;
        qint32 x = 0;
        while (x < lineBytes) {
            if (in == end)
                return DecodeResult::failed("the data end before the picture does");
            const uchar byte = *in++;
            if (byte < RunFlag) {
                if (x < width)
                    row[x] = byte;
                ++x;
                continue;
            }
            if (in == end)
                return DecodeResult::failed("a run ends the data without its value");
            const uchar value = *in++;
            qint32 n = byte & 63;
            if (x + n > lineBytes)
                n = width - x; // a run past the line's end is cut at the picture's edge
            if (n > 0) {
                const qint32 shown = std::min(n, width - x);
                if (shown > 0)
                    std::memset(row + x, value, size_t(shown));
                x += n;
            }
        }
    }
    return {std::move(b), nullptr};
}

// The first run byte from \a in on, or \a last when there is none. Eight
// bytes are tested at a time: a byte is a run byte when its two top bits are
// set, and w & (w << 1) keeps bit 7 of each byte only where bit 6 is set too.
const uchar *literalsEnd(const uchar *in, const uchar *last)
{
    constexpr quint64 TopBits = 0x8080808080808080;
    while (last - in >= 8) {
        quint64 word;
        std::memcpy(&word, in, sizeof word);
        if (word & (word << 1) & TopBits)
            break;
        in += 8;
    }
    while (in != last && *in < RunFlag)
        ++in;
    return in;
}

// The run-length stream of the planar form, unpacked one scan line at a
// time. A run may go on from one line into the next.
class PlaneStream
{
public:
    PlaneStream(QByteArrayView data)
        : m_in(reinterpret_cast<const uchar *>(data.data()))
        , m_end(m_in + data.size())
    { }

    // Fills \a line with the next \a size samples; the reason when the data
    // end first.
    const char *unpack(uchar *line, qsizetype size)
    {
        qsizetype pos = takePending(line, size);
        while (pos < size) {
            if (m_in == m_end)
                return "the data end before the picture does";
            if (*m_in < RunFlag) { // literal bytes go over in one piece
                const uchar *literals = m_in;
                m_in = literalsEnd(m_in, m_in + std::min<qsizetype>(size - pos, m_end - m_in));
                std::memcpy(line + pos, literals, size_t(m_in - literals));
                pos += m_in - literals;
                continue;
            }
            if (const char *why = readRun())
                return why;
            pos += takePending(line + pos, size - pos);
        }
        return nullptr;
    }

    // After the last line: the data must hold no more samples (runs of 0 give
    // none).
    const char *finish()
    {
        while (m_pending == 0 && m_in != m_end && *m_in >= RunFlag) {
            if (const char *why = readRun())
                return why;
        }
        return m_pending == 0 && m_in == m_end ? nullptr : "the data go past the end of the picture";
    }

private:
    const char *readRun()
    {
        m_pending = *m_in++ & 63;
        if (m_in == m_end)
            return "a run ends the data without its value";
        m_value = *m_in++;
        return nullptr;
    }

    qsizetype takePending(uchar *line, qsizetype room)
    {
        const qsizetype n = std::min<qsizetype>(m_pending, room);
        std::memset(line, m_value, size_t(n));
        m_pending -= n;
        return n;
    }

    const uchar *m_in;
    const uchar *m_end;
    qsizetype m_pending = 0; // samples of the present run still to come
    uchar m_value = 0;
};

// Three or four planes per line (red, green, blue and one not shown),
// decoded as one stream that runs on across lines.
DecodeResult decodePlanes(const PcxHeader &h, QByteArrayView data)
{
    if (!canExpandTo(data.size(), qint64(h.Height) * h.ScanLineBytes, 2, 63))
        return DecodeResult::failed("the data are too short for the picture");
    DecodedBitmap b;
    if (const char *why = allocateBits(b, h.Width, h.Height, h.NPlanes * 8))
        return DecodeResult::failed(why);

    PlaneStream stream(data);
    std::vector<uchar> line(size_t(h.ScanLineBytes));
    const uchar *red = line.data();
    const uchar *green = red + h.BytesPerLine;
    const uchar *blue = green + h.BytesPerLine;
    const qsizetype stride = DibStride(h.Width, 24);
    for (qint32 y = 0; y < h.Height; ++y) {
        if (const char *why = stream.unpack(line.data(), h.ScanLineBytes))
            return DecodeResult::failed(why);
        uchar *row = reinterpret_cast<uchar *>(b.Bits.data()) + y * stride;
        for (qint32 x = 0; x < h.Width; ++x, row += 3) {
            row[0] = blue[x];
            row[1] = green[x];
            row[2] = red[x];
        }
    }
    if (const char *why = stream.finish())
        return DecodeResult::failed(why);
    return {std::move(b), nullptr};
}

} // namespace

const char *readPcxHeader(QByteArrayView file, PcxHeader *header)
{
    if (file.size() < HeaderBytes)
        return "the file is shorter than a PCX header";
    ByteReader r(file);
    if (r.u8() != 10)
        return "not a PCX file";
    r.skip(2); // version, encoding
    const quint8 bitsPerPixel = r.u8();
    const quint16 xMin = r.u16le();
    const quint16 yMin = r.u16le();
    const quint16 xMax = r.u16le();
    const quint16 yMax = r.u16le();
    const quint16 hDpi = r.u16le();
    const quint16 vDpi = r.u16le();
    r.skip(48 + 1); // 16-colour map, reserved
    const quint8 planes = r.u8();
    const quint16 lineLength = r.u16le();
    const quint16 paletteInfo = r.u16le();
    // Every 2-byte field is held as a signed 16-bit number.
    for (const quint16 field : {xMin, yMin, xMax, yMax, hDpi, vDpi, lineLength, paletteInfo}) {
        if (field > 32767)
            return "a header field is above 32767";
    }

    const std::optional<qint16> width = difference(xMax, xMin);
    const std::optional<qint16> height = difference(yMax, yMin);
    if (!width || !height)
        return "the width or the height overflows";
    if (*width <= 0 || *height <= 0)
        return "the width or the height is 0 or less";
    if (bitsPerPixel != 8)
        return "only 8 bits per plane are read";
    if (planes != 1 && planes != 3 && planes != 4)
        return "only 1, 3 or 4 planes are read";
    const auto bytesPerLine = qint16(lineLength);
    if (qint32(planes) * bytesPerLine > 32767)
        return "the scan line length overflows";
    if (bytesPerLine < *width)
        return "the lines are shorter than the picture is wide";

    header->NPlanes = planes;
    header->BytesPerLine = bytesPerLine;
    header->Width = *width;
    header->Height = *height;
    header->ScanLineBytes = qint16(planes * bytesPerLine);
    return nullptr;
}

DecodeResult DecodePcx(QByteArrayView file)
{
    PcxHeader h;
    if (const char *why = readPcxHeader(file, &h))
        return DecodeResult::failed(why);
    return h.NPlanes == 1 ? decodeIndexed(h, file) : decodePlanes(h, file.sliced(HeaderBytes));
}

} // namespace tessera
