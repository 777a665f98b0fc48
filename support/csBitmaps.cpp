#include "support/csBitmaps.h"

namespace cs {

tessera::StdPicture csGetBitmapFromHandle(const QImage &bitmap)
{
    return tessera::StdPicture(tessera::StdPicture::vbPicTypeBitmap, bitmap);
}

QImage csCopyBitmap(const QImage &bitmap)
{
    // copy() detaches into new memory; it gives a null image when that
    // memory cannot be had.
    return bitmap.copy();
}

} // namespace cs
