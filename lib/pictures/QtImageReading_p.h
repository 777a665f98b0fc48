#pragma once

#include "lib/pictures/crvPictureTypeEx.h"

#include <QImage>
#include <QImageReader>

namespace tessera {

/// What Qt's image reader made of a file.
struct QtImageRead {
    QImage image; // null when the file could not be read
    QImage::Format fileFormat = QImage::Format_Invalid; // the file's own format, as far as Qt tells it
    QImageReader::ImageReaderError error = QImageReader::UnknownError;
};

/// Reads \a fileName with Qt's reader for the kind \a kind only (BMP, JPEG,
/// GIF, icon, cursor, PNG, TIFF), never with another reader that its content
/// might suit: the kind is decided from the file's first bytes before Qt
/// sees it. Other kinds give UnsupportedFormatError. Pictures up to 1 GB are
/// allowed (Qt's default limit is raised, never lowered, for the process).
QtImageRead readWithQt(const QString &fileName, crvPictureTypeEx kind);

} // namespace tessera
