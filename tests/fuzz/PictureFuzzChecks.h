#pragma once

#include "lib/pictures/DecodedBitmap.h"

#include <QByteArrayView>

#include <cstdint>
#include <cstdlib>

// What every picture decoder's answer must satisfy, whatever the input: a
// bitmap of a positive size within the limits whose Bits and palette fit its
// layout exactly, or a failure with a reason.
namespace corvid::fuzz {

inline void check(bool condition)
{
    if (!condition)
        std::abort();
}

inline void checkDecodeResult(const tessera::DecodeResult &result)
{
    if (!result.bitmap) {
        check(result.failure != nullptr);
        return;
    }
    const tessera::DecodedBitmap &b = *result.bitmap;
    check(b.Width > 0 && b.Height > 0);
    check(qint64(b.Width) * b.Height <= tessera::MaxPicturePixels);
    check(b.Bits.size() == qint64(tessera::DibStride(b.Width, b.layoutBits())) * b.Height);
    check(b.Bits.size() <= tessera::MaxPictureBytes);
    check(b.Palette.size() == (b.layoutBits() == 8 ? 256u : 0u));
}

/// One run of a decoder's fuzz target: the answer must pass
/// checkDecodeResult, and only files whose header passes the format's shared
/// header check may decode.
template <typename Header>
int fuzzDecoder(const uint8_t *data, size_t size, tessera::DecodeResult (*decode)(QByteArrayView),
                const char *(*readHeader)(QByteArrayView, Header *))
{
    const QByteArrayView bytes(data, qsizetype(size));
    const tessera::DecodeResult result = decode(bytes);
    checkDecodeResult(result);
    Header header;
    check(!result.bitmap || readHeader(bytes, &header) == nullptr);
    return 0;
}

} // namespace corvid::fuzz
