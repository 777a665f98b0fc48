#pragma once

#include "lib/pictures/DecodedBitmap.h"

#include <QByteArrayView>

namespace tessera {

/// The fields of a PCX header that decoding uses, already checked.
struct PcxHeader {
    quint8 NPlanes = 0;
    qint16 BytesPerLine = 0;
    qint16 Width = 0; // Xmax - Xmin + 1
    qint16 Height = 0; // Ymax - Ymin + 1
    qint16 ScanLineBytes = 0; // NPlanes × BytesPerLine
};

/// Reads the 128-byte PCX header at the start of \a file (little-endian) and
/// checks it: manufacturer 10, every 2-byte field within 0..32767, width and
/// height 1..32767, 8 bits per plane, 1 plane (256 colours) or 3 or 4 planes
/// (red, green, blue and a fourth plane that is not shown), lines at least
/// as long as the picture is wide. Returns the reason when the header is
/// refused. Sniffing and decoding share it.
const char *readPcxHeader(QByteArrayView file, PcxHeader *header);

/// Decodes a whole PCX file: one plane with the 256-colour palette that ends
/// the file gives an 8-bit bitmap; three or four planes a 24-bit one (BPP 24
/// or 32; a fourth plane is not shown). The data are read on from line to
/// line; a run of one plane is cut at the line's end, a run of three or four
/// planes runs on into the next line; bytes past the picture's width are
/// padding. Fails on data that end before the picture, data that go past it
/// (such as a palette after 24-bit data) and pictures over the size limits.
DecodeResult DecodePcx(QByteArrayView file);

} // namespace tessera
