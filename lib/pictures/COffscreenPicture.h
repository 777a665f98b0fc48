#pragma once

#include "platform/StdPicture.h"

#include <QImage>

namespace tessera {

/// An offscreen surface of the screen's kind (32-bit words without alpha)
/// filled with one colour, that the second picture loader draws on.
class COffscreenPicture
{
public:
    /// A \a width × \a height surface filled with \a backColor, an OLE colour
    /// (cs::csTranslateColor). Raises 5 for a width or height below 1 and
    /// -2147221435 "Can't create compatible bitmap." when the surface cannot
    /// be allocated.
    COffscreenPicture(qint32 width, qint32 height, quint32 backColor);

    /// The surface to draw on: what a device context stood for.
    QImage *hDC() { return &m_bitmap; }
    /// A picture holding a copy of the surface. Raises -2147221435 "Can't
    /// create compatible bitmap." when the copy cannot be allocated.
    StdPicture Picture() const;

private:
    QImage m_bitmap;
};

} // namespace tessera
