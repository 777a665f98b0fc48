#include "lib/pictures/CFileCommon.h"

#include "lib/pictures/ByteReader_p.h"
#include "lib/pictures/PictureFile.h"
#include "lib/pictures/PictureInfo.h"
#include "lib/pictures/PictureKind.h"
#include "lib/pictures/QtImageReading_p.h"

namespace tessera {

namespace {

constexpr quint32 CoreHeaderSize = 12; // the OS/2 bitmap header, with 16-bit fields

// The bits per pixel a BMP file states in its bitmap header; nullopt when the
// header is cut short.
std::optional<qint32> bmpDepth(QByteArrayView head)
{
    ByteReader r(head, 14);
    const quint32 headerSize = r.u32le();
    r.skip(headerSize == CoreHeaderSize ? 6 : 10); // width and height, planes
    const quint16 depth = r.u16le();
    return r.ok() ? std::optional<qint32>(depth) : std::nullopt;
}

qint32 bitmapDepth(crvPictureTypeEx kind, QByteArrayView head, const QImage &image)
{
    switch (kind) {
    case crvPteBMP:
        return bmpDepth(head).value_or(image.depth());
    case crvPteGIF:
        return 8;
    default: // JPEG
        return image.format() == QImage::Format_Grayscale8 ? 8 : 24;
    }
}

} // namespace

bool CFileCommon::Verify(const QString &)
{
    return true;
}

std::optional<StdPicture> CFileCommon::LoadPicture(const QString &FileName, PictureInfo *Info)
{
    if (Info)
        Info->ResetInfo();
    const std::optional<QByteArray> head = readFileHead(FileName, PictureHeadBytes);
    if (!head)
        return std::nullopt;
    const crvPictureTypeEx kind = sniffPictureKind(*head);
    const bool icon = kind == crvPteICO || kind == crvPteCUR;
    if (!icon && kind != crvPteBMP && kind != crvPteJPG && kind != crvPteGIF)
        return std::nullopt;
    const QtImageRead read = readWithQt(FileName, kind);
    if (read.image.isNull())
        return std::nullopt;

    const StdPicture picture(icon ? StdPicture::vbPicTypeIcon : StdPicture::vbPicTypeBitmap, read.image);
    if (Info) {
        Info->SetInfo(
            icon ? PictureInfo::Record {-1, -1, -1}
                 : PictureInfo::Record {read.image.width(), read.image.height(), bitmapDepth(kind, *head, read.image)},
            kind);
    }
    return picture;
}

} // namespace tessera
