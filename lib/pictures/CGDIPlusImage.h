#pragma once

#include "lib/pictures/crvPictureTypeEx.h"

#include <QImage>
#include <QString>

namespace tessera {

/// One image of the second picture loader: PNG, TIFF, BMP, JPEG, GIF or icon
/// files, read by Qt's reader for the kind their first bytes show.
class CGDIPlusImage
{
public:
    /// The image; null when none is loaded.
    const QImage &Handle() const { return m_image; }

    /// Loads \a FileName, dropping any image held before. Raises the object
    /// error -2147221504 "Can't load image from file. " with the status text
    /// when it cannot be loaded.
    void LoadImage(const QString &FileName);
    void FreeImage();

    qint32 Width() const { return m_image.width(); }
    qint32 Height() const { return m_image.height(); }
    /// The file's pixel format as a GDI+ pixel-format value (0x00021808 for
    /// 24-bit RGB, ...); 0 when none is loaded or the format has no match.
    qint32 PixelFormat() const { return m_pixelFormat; }
    /// The file format's identifier in braces
    /// ("{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}" for PNG); "" when none.
    QString RawFormatCLSID() const { return m_rawFormat; }
    /// Bits per pixel of PixelFormat(); 0 for an unknown format.
    qint32 BPP() const;

private:
    QImage m_image;
    qint32 m_pixelFormat = 0;
    QString m_rawFormat;
};

/// The file format identifiers of the second loader, and the kinds they
/// stand for (crvPteUnknown for any other text). The match is exact.
QString rawFormatOf(crvPictureTypeEx kind);
crvPictureTypeEx kindOfRawFormat(const QString &rawFormat);

} // namespace tessera
