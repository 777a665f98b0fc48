#include "lib/pictures/QtImageReading_p.h"

namespace tessera {

namespace {

constexpr int AllocationLimitMB = 1024; // as much as the library's own readers allow

const char *qtFormat(crvPictureTypeEx kind)
{
    switch (kind) {
    case crvPteBMP:
        return "bmp";
    case crvPteJPG:
        return "jpeg";
    case crvPteGIF:
        return "gif";
    case crvPteICO:
        return "ico";
    case crvPteCUR:
        return "cur";
    case crvPtePNG:
        return "png";
    case crvPteTIFF:
        return "tiff";
    default:
        return nullptr;
    }
}

} // namespace

QtImageRead readWithQt(const QString &fileName, crvPictureTypeEx kind)
{
    QtImageRead result;
    const char *format = qtFormat(kind);
    if (!format) {
        result.error = QImageReader::UnsupportedFormatError;
        return result;
    }
    if (QImageReader::allocationLimit() < AllocationLimitMB)
        QImageReader::setAllocationLimit(AllocationLimitMB);
    QImageReader reader(fileName, format);
    reader.setAutoDetectImageFormat(false);
    result.fileFormat = reader.imageFormat();
    result.image = reader.read();
    result.error = reader.error();
    return result;
}

} // namespace tessera
