#include "lib/pictures/COffscreenPicture.h"

#include "platform/RuntimeError.h"
#include "support/csBitmaps.h"
#include "support/csWindows.h"

namespace tessera {

namespace {

constexpr qint32 DeviceContextError = -2147221435; // 0x80040045

[[noreturn]] void raiseNoBitmap()
{
    throw RuntimeError(DeviceContextError, QStringLiteral("Can't create compatible bitmap."));
}

} // namespace

COffscreenPicture::COffscreenPicture(qint32 width, qint32 height, quint32 backColor)
{
    if (width < 1 || height < 1)
        throw RuntimeError(RuntimeError::InvalidProcedureCall);
    m_bitmap = QImage(width, height, QImage::Format_RGB32);
    if (m_bitmap.isNull())
        raiseNoBitmap();
    m_bitmap.fill(cs::csTranslateColor(backColor));
}

StdPicture COffscreenPicture::Picture() const
{
    const QImage copy = cs::csCopyBitmap(m_bitmap);
    if (copy.isNull())
        raiseNoBitmap();
    return cs::csGetBitmapFromHandle(copy);
}

} // namespace tessera
