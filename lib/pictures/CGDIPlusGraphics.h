#pragma once

#include <QPainter>

#include <memory>

namespace tessera {

class CGDIPlusImage;

/// Drawing on a surface for the second picture loader: a QPainter on an
/// offscreen bitmap, standing for a GDI+ graphics object on a device
/// context.
class CGDIPlusGraphics
{
public:
    CGDIPlusGraphics();
    ~CGDIPlusGraphics();

    /// Starts drawing on \a surface, ending any drawing before. Raises the
    /// object error -2147221504 "Can't initialize graphics from device
    /// context. " with the status text when it cannot.
    void CreateFromHDC(QImage *surface);
    /// Ends the drawing, so that the surface holds every stroke.
    void DeleteGraphics();

    /// Draws \a image scaled into the rectangle; returns a status
    /// (GdiPlusStatus), 0 on success.
    qint32 DrawImageRectI(const CGDIPlusImage &image, qint32 x, qint32 y, qint32 width, qint32 height);

private:
    std::unique_ptr<QPainter> m_painter;
};

} // namespace tessera
