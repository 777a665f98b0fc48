#pragma once

#include "lib/TesseraExport.h"

#include <QImageReader>
#include <QString>

namespace tessera {

/// Result codes of the second picture loader, in the numbering of the
/// platform's GDI+ (0 is success).
enum GdiPlusStatus : qint32 {
    gdipOk = 0,
    gdipGenericError = 1,
    gdipInvalidParameter = 2,
    gdipInvalidPicture = 3,
    gdipWin32Error = 7,
    gdipWrongState = 8,
    gdipFileNotFound = 10,
    gdipUnknownImageFormat = 13,
};

/// The text for a status ("Invalid parameter", ...); "Unknown error "
/// followed by the number for one without a text.
TESSERA_EXPORT QString GetGdiPlusStatusText(qint32 status);

/// The status that stands for a failure of Qt's image reader.
GdiPlusStatus gdiPlusStatusOf(QImageReader::ImageReaderError error);

} // namespace tessera
