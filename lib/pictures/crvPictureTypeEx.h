#pragma once

#include <QString>

namespace tessera {

/// The kinds of picture file the library tells apart (PictureInfo's
/// PictureType).
enum crvPictureTypeEx : qint32 {
    crvPteNothing = 0,
    crvPteBMP = 1,
    crvPteJPG = 2,
    crvPteGIF = 3,
    crvPteWMF = 4,
    crvPteEMF = 5,
    crvPteICO = 6,
    crvPteCUR = 7,
    crvPtePNG = 8,
    crvPtePSD = 9,
    crvPtePCX = 10,
    crvPteTGA = 11,
    crvPteTIFF = 12,
    crvPteUnknown = 99,
};

/// The kind's name ("Windows bitmap", "Truevision Targa", ...); "Unknown"
/// for a value that is no kind.
QString pictureTypeName(qint32 type);

} // namespace tessera
