#include "lib/pictures/PcxDecoder.h"

#include "lib/pictures/ByteReader_p.h"
#include "lib/pictures/InterleavedWriter_p.h"

#include <algorithm>
#include <cstring>

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

// Three or four planes per line (red, green, blue and one not shown),
// decoded as one stream that runs on across lines.
DecodeResult decodePlanes(const PcxHeader &h, QByteArrayView data)
{
    const qint64 total = qint64(h.Height) * h.ScanLineBytes;
    if (!canExpandTo(data.size(), total, 2, 63))
        return DecodeResult::failed("the data are too short for the picture");
    DecodedBitmap b;
    if (const char *why = allocateBits(b, h.Width, h.Height, h.NPlanes * 8))
        return DecodeResult::failed(why);

    // Plane 0 is red, 1 green, 2 blue: bytes 2, 1 and 0 of a pixel.
    auto *bits = reinterpret_cast<uchar *>(b.Bits.data());
    const qsizetype stride = DibStride(h.Width, 24);
    const qint32 planes = h.NPlanes;
    auto lineStart = [bits, stride, planes](qint64 line) -> uchar * {
        const qint64 plane = line % planes;
        return plane < 3 ? bits + line / planes * stride + (2 - plane) : nullptr;
    };
    InterleavedWriter writer(h.BytesPerLine, h.Width, qint64(h.Height) * planes, 0, lineStart);

    const auto *in = reinterpret_cast<const uchar *>(data.data());
    const uchar *const end = in + data.size();
    while (in != end) {
        if (*in < RunFlag) { // literal bytes go over in one piece
            const uchar *literals = in;
            while (in != end && *in < RunFlag)
                ++in;
            if (!writer.copy(literals, in - literals))
                return DecodeResult::failed("the data go past the end of the picture");
            continue;
        }
        const qint64 count = *in++ & 63;
        if (in == end)
            return DecodeResult::failed("a run ends the data without its value");
        if (!writer.fill(*in++, count))
            return DecodeResult::failed("the data go past the end of the picture");
    }
    if (writer.written() < total)
        return DecodeResult::failed("the data end before the picture does");
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
