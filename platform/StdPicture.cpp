#include "platform/StdPicture.h"

namespace tessera {

StdPicture::StdPicture(PictureType type, const QImage &image)
    : m_type(image.isNull() ? vbPicTypeNone : type)
    , m_image(m_type == vbPicTypeNone ? QImage() : image)
{ }

QPixmap StdPicture::pixmap() const
{
    return QPixmap::fromImage(m_image);
}

} // namespace tessera
