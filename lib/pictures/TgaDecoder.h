#pragma once

#include "lib/pictures/DecodedBitmap.h"

#include <QByteArrayView>

namespace tessera {

/// The fields of a Targa header that decoding uses, already checked.
struct TgaHeader {
    quint8 ImageType = 0; // 2 uncompressed, 10 run-length encoded
    quint8 PixelDepth = 0; // 16, 24 or 32
    qint16 Width = 0;
    qint16 Height = 0;
    bool TopDown = false; // bit 5 of the image descriptor
    qint64 PixelOffset = 0; // after the header, the identification field and any colour map
};

/// Reads the 18-byte Targa header at the start of \a file (little-endian)
/// and checks it: image type 2 or 10 (true colour), 16, 24 or 32 bits per
/// pixel, width and height 1..32767 as signed 16-bit numbers, a width whose
/// rows fit in 32767 bytes (10922 pixels, 8191 for uncompressed 32-bit
/// data). Returns the reason when the header is refused. Sniffing and
/// decoding share it.
const char *readTgaHeader(QByteArrayView file, TgaHeader *header);

/// Decodes a whole true-colour Targa file into a 24-bit bitmap: rows
/// bottom-up or top-down, raw or in run-length packets that may cross rows;
/// 16-bit pixels give each colour's five bits in the top of its byte; alpha
/// is dropped. Fails on data that end early, a packet past the last pixel
/// and pictures over the size limits.
DecodeResult DecodeTga(QByteArrayView file);

} // namespace tessera
