#pragma once

#include "platform/PlatformExport.h"

#include <QImage>
#include <QMetaType>
#include <QPixmap>

namespace tessera {

/// The platform's picture object, what its picture loader hands out and its
/// picture boxes show: a bitmap or an icon held as a QImage, with the
/// platform's picture type. A default-constructed picture is the empty
/// picture (type vbPicTypeNone, no image, handle 0).
///
/// Pictures are values that share their image, as references to one picture
/// object share it. Handle() stands for the bitmap's handle: two pictures
/// over the same bitmap have the same handle; a copied bitmap has its own.
/// Width() and Height() are in pixels (the original gave HIMETRIC units).
///
///     const QImage bitmap(16, 16, QImage::Format_RGB32);
///     const StdPicture picture(StdPicture::vbPicTypeBitmap, bitmap);
///     picture.Handle() == bitmap.cacheKey(); // true
class TESSERA_PLATFORM_EXPORT StdPicture
{
public:
    enum PictureType : qint32 {
        vbPicTypeNone = 0,
        vbPicTypeBitmap = 1,
        vbPicTypeMetafile = 2,
        vbPicTypeIcon = 3,
        vbPicTypeEMetafile = 4,
    };

    StdPicture() = default;
    /// A picture of \a type over \a image; a null image or the type
    /// vbPicTypeNone gives the empty picture.
    StdPicture(PictureType type, const QImage &image);

    PictureType Type() const { return m_type; }
    qint32 Width() const { return m_image.width(); }
    qint32 Height() const { return m_image.height(); }
    /// The identity of the picture's bitmap (QImage::cacheKey()); 0 for the
    /// empty picture.
    qint64 Handle() const { return m_image.cacheKey(); }
    bool isEmpty() const { return m_type == vbPicTypeNone; }

    /// The picture's pixels; a null image for the empty picture.
    QImage image() const { return m_image; }
    /// The picture as a pixmap for a label or button; needs a QGuiApplication.
    QPixmap pixmap() const;

private:
    PictureType m_type = vbPicTypeNone;
    QImage m_image;
};

} // namespace tessera

Q_DECLARE_METATYPE(tessera::StdPicture)
