#pragma once

#include <QByteArray>

#include <optional>
#include <vector>

namespace tessera {

/// What the library's own readers decode a file into, before it becomes a
/// picture (CreatePictureFromBits).
///
/// Bits holds the rows from top to bottom, each DibStride(Width, layout)
/// bytes long with zero padding, where the layout is 8 bits (one palette
/// index per pixel) when BPP is 8 and 24 bits (blue, green, red) for any
/// other BPP. BPP is the depth the file states: a four-plane PCX says 32 and
/// still decodes into 24-bit rows (its fourth plane is not shown).
struct DecodedBitmap {
    qint32 Width = 0;
    qint32 Height = 0;
    qint32 BPP = 0;
    /// 256 entries 0x00RRGGBB (byte 0 blue, 1 green, 2 red) for 8 bits,
    /// empty otherwise.
    std::vector<quint32> Palette;
    QByteArray Bits;

    /// 8 or 24: how Bits is laid out for this BPP.
    qint32 layoutBits() const { return BPP == 8 ? 8 : 24; }
};

/// Bytes per row of a device-independent bitmap: the width rounded up to a
/// multiple of 4 for 8 bits, three times the width rounded up to a multiple
/// of 4 for 24 bits, 0 for any other depth (and for widths whose row would
/// not fit in 32 bits).
qint32 DibStride(qint32 width, qint32 bitsPerPixel);

/// A decoder's answer: the bitmap, or a short reason why there is none
/// ("a run goes past the end of the data").
struct DecodeResult {
    std::optional<DecodedBitmap> bitmap;
    const char *failure = nullptr;

    static DecodeResult failed(const char *reason) { return {std::nullopt, reason}; }
};

/// The largest picture any reader accepts: at most MaxPicturePixels pixels
/// (30 000 × 30 000) and at most MaxPictureBytes bytes of Bits.
constexpr qint64 MaxPicturePixels = qint64(30000) * 30000;
constexpr qint64 MaxPictureBytes = qint64(1) << 30;

/// The reason why a picture of \a width × \a height is refused (a side of 0
/// or less, more pixels than the limit); nullptr when it is not. Decoders
/// ask it before any other arithmetic on the sizes.
const char *refusedSize(qint32 width, qint32 height);

/// Checks \a width × \a height against the limits and, when they are kept,
/// gives \a bitmap its size and zero-filled Bits for \a bpp. Returns the
/// reason when the size is refused (nothing is allocated then).
const char *allocateBits(DecodedBitmap &bitmap, qint32 width, qint32 height, qint32 bpp);

/// True when \a inputBytes of run-length data can expand to \a outputUnits
/// units at all, given that each packet of \a packetBytes input bytes gives
/// at most \a packetUnits units. Decoders ask this before they allocate, so
/// that a few bytes never buy a large picture.
constexpr bool canExpandTo(qint64 inputBytes, qint64 outputUnits, qint64 packetBytes, qint64 packetUnits)
{
    return inputBytes * packetUnits >= outputUnits * packetBytes;
}

} // namespace tessera
