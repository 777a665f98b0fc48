#include "lib/pictures/CGDIPlusHelper.h"

#include "lib/pictures/CGDIPlusGraphics.h"
#include "lib/pictures/CGDIPlusImage.h"
#include "lib/pictures/COffscreenPicture.h"
#include "lib/pictures/GdiPlusStatus.h"
#include "platform/RuntimeError.h"
#include "support/csFiles.h"
#include "support/csText.h"

namespace tessera {

namespace {

constexpr quint32 ButtonFace = 0x8000000F;

} // namespace

StdPicture CGDIPlusHelper::LoadPicture(const QString &FileName, QSize *Size, QString *RawFormat, qint32 *BitsPerPixel)
{
    if (!cs::csIsFileExist(FileName))
        throw RuntimeError(RuntimeError::FileNotFound, QStringLiteral("File not found: '%1'").arg(FileName));
    CGDIPlusImage image;
    image.LoadImage(FileName);
    const qint32 width = image.Width();
    const qint32 height = image.Height();

    COffscreenPicture surface(width, height, ButtonFace);
    CGDIPlusGraphics graphics;
    graphics.CreateFromHDC(surface.hDC());
    if (const qint32 status = graphics.DrawImageRectI(image, 0, 0, width, height)) {
        throw RuntimeError(RuntimeError::ObjectErrorBase,
                           QStringLiteral("Can't draw image. ") + GetGdiPlusStatusText(status));
    }
    graphics.DeleteGraphics();

    *Size = QSize(width, height);
    *RawFormat = cs::csTrimEx(image.RawFormatCLSID().toUpper());
    *BitsPerPixel = image.BPP();
    return surface.Picture();
}

} // namespace tessera
