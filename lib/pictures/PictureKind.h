#pragma once

#include "lib/pictures/crvPictureTypeEx.h"

#include <QByteArrayView>

namespace tessera {

/// How many of a file's first bytes sniffPictureKind looks at.
constexpr qsizetype PictureHeadBytes = 128;

/// The kind of picture a file holds, told from its first bytes (never from
/// its name): the signatures of BMP ("BM"), JPEG, GIF ("GIF" in any case),
/// PNG, TIFF (both byte orders), icons and cursors; Photoshop, PCX and Targa
/// files by the same header checks their decoders make. crvPteUnknown for
/// anything else, metafiles included (no reader here draws them).
crvPictureTypeEx sniffPictureKind(QByteArrayView head);

} // namespace tessera
