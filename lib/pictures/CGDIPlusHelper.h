#pragma once

#include "platform/StdPicture.h"

#include <QSize>
#include <QString>

namespace tessera {

/// The second picture loader's way of loading a file: the image is drawn
/// over the button-face colour onto a surface of the screen's kind, so
/// transparent parts show that colour, and the surface becomes the picture.
class CGDIPlusHelper
{
public:
    /// Loads \a FileName. Gives the picture's size, the file format's
    /// identifier (CGDIPlusImage::RawFormatCLSID, upper case) and the file's
    /// bits per pixel through the out-parameters. Raises 53 ("File not
    /// found: '<name>'") for a missing file and the object errors of
    /// CGDIPlusImage, COffscreenPicture and CGDIPlusGraphics; -2147221504
    /// "Can't draw image. " with the status text when drawing fails.
    StdPicture LoadPicture(const QString &FileName, QSize *Size, QString *RawFormat, qint32 *BitsPerPixel);
};

} // namespace tessera
