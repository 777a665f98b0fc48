#include "lib/pictures/CGDIPlusImage.h"

#include "lib/pictures/GdiPlusStatus.h"
#include "lib/pictures/PictureFile.h"
#include "lib/pictures/PictureKind.h"
#include "lib/pictures/QtImageReading_p.h"
#include "platform/RuntimeError.h"

namespace tessera {

namespace {

struct RawFormat {
    crvPictureTypeEx kind;
    const char *guid;
};

// In the order the loader's kinds are tested.
constexpr RawFormat RawFormats[] = {
    {crvPteJPG, "{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}"}, {crvPteICO, "{B96B3CB5-0728-11D3-9D7B-0000F81EF32E}"},
    {crvPteBMP, "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}"}, {crvPtePNG, "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}"},
    {crvPteGIF, "{B96B3CB0-0728-11D3-9D7B-0000F81EF32E}"}, {crvPteTIFF, "{B96B3CB1-0728-11D3-9D7B-0000F81EF32E}"},
};

enum PixelFormatValue : qint32 {
    PixelFormat1bppIndexed = 0x00030101,
    PixelFormat4bppIndexed = 0x00030402,
    PixelFormat8bppIndexed = 0x00030803,
    PixelFormat16bppGrayScale = 0x00101004,
    PixelFormat16bppRGB555 = 0x00021005,
    PixelFormat16bppRGB565 = 0x00021006,
    PixelFormat16bppARGB1555 = 0x00061007,
    PixelFormat24bppRGB = 0x00021808,
    PixelFormat32bppRGB = 0x00022009,
    PixelFormat32bppARGB = 0x0026200A,
    PixelFormat32bppPARGB = 0x000E200B,
    PixelFormat48bppRGB = 0x0010300C,
    PixelFormat64bppARGB = 0x0034400D,
    PixelFormat64bppPARGB = 0x01C4400E,
};

// The pixel format the platform's loader gave a file that Qt reads as
// \a format. Qt widens 24-bit colour to 32-bit words without alpha, and
// decodes a GIF's palette indices into colours; the platform did neither.
qint32 pixelFormatOf(crvPictureTypeEx kind, QImage::Format format)
{
    if (kind == crvPteGIF)
        return PixelFormat8bppIndexed;
    switch (format) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return PixelFormat1bppIndexed;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
        return PixelFormat8bppIndexed;
    case QImage::Format_Grayscale16:
        return PixelFormat16bppGrayScale;
    case QImage::Format_RGB555:
        return PixelFormat16bppRGB555;
    case QImage::Format_RGB16:
        return PixelFormat16bppRGB565;
    case QImage::Format_RGB32:
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
    case QImage::Format_RGBX8888:
        return PixelFormat24bppRGB;
    case QImage::Format_ARGB32:
    case QImage::Format_RGBA8888:
        return PixelFormat32bppARGB;
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBA8888_Premultiplied:
        return PixelFormat32bppPARGB;
    case QImage::Format_RGBX64:
        return PixelFormat48bppRGB;
    case QImage::Format_RGBA64:
        return PixelFormat64bppARGB;
    case QImage::Format_RGBA64_Premultiplied:
        return PixelFormat64bppPARGB;
    default:
        return 0;
    }
}

[[noreturn]] void raiseLoadFailure(qint32 status)
{
    throw RuntimeError(RuntimeError::ObjectErrorBase,
                       QStringLiteral("Can't load image from file. ") + GetGdiPlusStatusText(status));
}

} // namespace

QString rawFormatOf(crvPictureTypeEx kind)
{
    for (const RawFormat &f : RawFormats) {
        if (f.kind == kind)
            return QString::fromLatin1(f.guid);
    }
    return {};
}

crvPictureTypeEx kindOfRawFormat(const QString &rawFormat)
{
    for (const RawFormat &f : RawFormats) {
        if (rawFormat == QLatin1StringView(f.guid))
            return f.kind;
    }
    return crvPteUnknown;
}

void CGDIPlusImage::LoadImage(const QString &FileName)
{
    FreeImage();
    const std::optional<QByteArray> head = readFileHead(FileName, PictureHeadBytes);
    if (!head)
        raiseLoadFailure(QFile::exists(FileName) ? gdipWin32Error : gdipFileNotFound);
    const crvPictureTypeEx kind = sniffPictureKind(*head);
    const QString rawFormat = rawFormatOf(kind);
    if (rawFormat.isEmpty())
        raiseLoadFailure(gdipUnknownImageFormat);
    const QtImageRead read = readWithQt(FileName, kind);
    if (read.image.isNull())
        raiseLoadFailure(gdiPlusStatusOf(read.error));
    m_image = read.image;
    m_pixelFormat
        = pixelFormatOf(kind, read.fileFormat != QImage::Format_Invalid ? read.fileFormat : read.image.format());
    m_rawFormat = rawFormat;
}

void CGDIPlusImage::FreeImage()
{
    m_image = QImage();
    m_pixelFormat = 0;
    m_rawFormat.clear();
}

qint32 CGDIPlusImage::BPP() const
{
    switch (m_pixelFormat) {
    case PixelFormat1bppIndexed:
        return 1;
    case PixelFormat4bppIndexed:
        return 4;
    case PixelFormat8bppIndexed:
        return 8;
    case PixelFormat16bppRGB555:
    case PixelFormat16bppRGB565:
    case PixelFormat16bppARGB1555:
    case PixelFormat16bppGrayScale:
        return 16;
    case PixelFormat24bppRGB:
        return 24;
    case PixelFormat32bppRGB:
    case PixelFormat32bppARGB:
    case PixelFormat32bppPARGB:
        return 32;
    case PixelFormat48bppRGB:
        return 48;
    case PixelFormat64bppARGB:
    case PixelFormat64bppPARGB:
        return 64;
    default:
        return 0;
    }
}

} // namespace tessera
