#pragma once

#include "lib/pictures/DecodedBitmap.h"

#include <QByteArrayView>

namespace tessera {

/// The fields of a Photoshop header that decoding uses, already checked.
struct PsdHeader {
    qint16 Channels = 0;
    qint32 Rows = 0;
    qint32 Columns = 0;
};

/// Reads the 26-byte header at the start of \a file (big-endian) and checks
/// it: signature "8BPS", version 1, 1 to 16 channels, rows and columns of at
/// least 1 that fit in 31 bits, 8 bits per channel, RGB colour mode; 16-bit
/// fields above 32767 are refused. Returns the reason when the header is
/// refused. Sniffing and decoding share it.
const char *readPsdHeader(QByteArrayView file, PsdHeader *header);

/// Decodes the composite image of an RGB Photoshop document into a 24-bit
/// bitmap. The colour-mode data, image resources and layers are skipped by
/// their lengths; the channels follow raw or in PackBits packets that run on
/// across rows. File channels 0, 1, 2 are red, green and blue; a fourth
/// (alpha) is read and not shown, later ones are not read; with fewer than
/// three channels the missing colours stay 0. Fails on data that end early,
/// a packet past its channel's end, a section length of 2^31 or more, any
/// compression but raw and PackBits, and pictures over the size limits.
DecodeResult DecodePsd(QByteArrayView file);

} // namespace tessera
