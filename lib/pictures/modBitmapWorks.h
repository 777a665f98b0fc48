#pragma once

#include "lib/TesseraExport.h"
#include "lib/pictures/DecodedBitmap.h"
#include "platform/StdPicture.h"

#include <QString>

namespace tessera {

class PictureInfo;

/// The reader chain: the system loader (CFileCommon), the second system
/// loader (CFileGDIPlus), then the library's own Photoshop, PCX and Targa
/// readers. The first reader whose Verify() accepts the file and whose
/// LoadPicture() gives a picture wins. The readers live per thread, created
/// on first use. Raises 481 (invalid picture) when no reader loads the file;
/// errors a reader raises pass through.
TESSERA_EXPORT StdPicture LoadWithReaders(const QString &FileName, PictureInfo *Info);

/// \a bitmap as a picture of the bitmap type, taking over its Bits without a
/// copy: 8-bit bitmaps keep their palette, others are 24-bit. Raises 51
/// ("Can't create compatible bitmap.") when the record does not describe a
/// bitmap (a size of 0 or less, Bits of another length).
TESSERA_EXPORT StdPicture CreatePictureFromBits(DecodedBitmap bitmap);

} // namespace tessera
