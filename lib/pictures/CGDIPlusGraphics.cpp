#include "lib/pictures/CGDIPlusGraphics.h"

#include "lib/pictures/CGDIPlusImage.h"
#include "lib/pictures/GdiPlusStatus.h"
#include "platform/RuntimeError.h"

namespace tessera {

CGDIPlusGraphics::CGDIPlusGraphics() = default;

CGDIPlusGraphics::~CGDIPlusGraphics()
{
    DeleteGraphics();
}

void CGDIPlusGraphics::CreateFromHDC(QImage *surface)
{
    DeleteGraphics();
    auto painter = std::make_unique<QPainter>();
    if (!surface || surface->isNull() || !painter->begin(surface)) {
        throw RuntimeError(RuntimeError::ObjectErrorBase,
                           QStringLiteral("Can't initialize graphics from device context. ")
                               + GetGdiPlusStatusText(gdipInvalidParameter));
    }
    m_painter = std::move(painter);
}

void CGDIPlusGraphics::DeleteGraphics()
{
    if (m_painter)
        m_painter->end();
    m_painter.reset();
}

qint32 CGDIPlusGraphics::DrawImageRectI(const CGDIPlusImage &image, qint32 x, qint32 y, qint32 width, qint32 height)
{
    if (!m_painter)
        return gdipWrongState;
    if (image.Handle().isNull())
        return gdipInvalidParameter;
    m_painter->drawImage(QRect(x, y, width, height), image.Handle());
    return gdipOk;
}

} // namespace tessera
