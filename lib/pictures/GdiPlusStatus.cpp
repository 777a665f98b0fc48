#include "lib/pictures/GdiPlusStatus.h"

namespace tessera {

QString GetGdiPlusStatusText(qint32 status)
{
    static const char *const texts[] = {
        "Unknown error",           "Generic error",        "Invalid parameter",
        "Invalid picture",         "Object busy",          "Insufficient buffer",
        "Not implemented",         "Win32 error",          "Wrong state",
        "Operation was aborted",   "File not found",       "Value overflow",
        "Accedd denied",           "Unknown image format", "Font family not found",
        "Font style not found",    "Not a TrueType font",  "Unsupported library version",
        "Library not initialized", "Property not found",   "Property not supported",
    };
    if (status >= 0 && status < qint32(std::size(texts)))
        return QString::fromLatin1(texts[status]);
    return QStringLiteral("Unknown error %1").arg(status);
}

GdiPlusStatus gdiPlusStatusOf(QImageReader::ImageReaderError error)
{
    switch (error) {
    case QImageReader::FileNotFoundError:
        return gdipFileNotFound;
    case QImageReader::DeviceError:
        return gdipWin32Error;
    case QImageReader::UnsupportedFormatError:
        return gdipUnknownImageFormat;
    case QImageReader::InvalidDataError:
        return gdipInvalidPicture;
    case QImageReader::UnknownError:
        break;
    }
    return gdipGenericError;
}

} // namespace tessera
