#pragma once

#include "platform/StdPicture.h"
#include "support/csExport.h"

#include <QImage>

// Bitmap helpers of the support library. A bitmap handle is a QImage here:
// copies of a QImage share one bitmap (one cacheKey()), as copies of a
// handle name one bitmap; the null image is the handle 0.
namespace cs {

/// A picture object of the bitmap type that wraps \a bitmap and takes it
/// over: the picture's Handle() is the bitmap's cacheKey(), so the caller can
/// tell that the picture owns the bitmap. A null bitmap gives the empty
/// picture.
CS_EXPORT tessera::StdPicture csGetBitmapFromHandle(const QImage &bitmap);

/// A new bitmap holding a copy of \a bitmap's pixels, with its own handle.
/// The null image (the handle 0) when \a bitmap is null or the copy cannot
/// be allocated.
CS_EXPORT QImage csCopyBitmap(const QImage &bitmap);

} // namespace cs
