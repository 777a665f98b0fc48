#pragma once

#include "lib/pictures/IFileFormat.h"

namespace tessera {

/// Reader 1 of the chain, the system's own picture loader: BMP (DIB, RLE),
/// JPEG, GIF, icons and cursors, through Qt's readers. The kind comes from
/// the file's first bytes. Bitmaps report their size and the depth of the
/// bitmap the system made (a BMP's own depth, 24 for colour and 8 for grey
/// JPEG, 8 for GIF); icons and cursors report -1 for all three. Pixels keep
/// their transparency. Every failure is silent: no picture.
class CFileCommon final : public IFileFormat
{
public:
    bool Verify(const QString &FileName) override;
    std::optional<StdPicture> LoadPicture(const QString &FileName, PictureInfo *Info) override;
};

} // namespace tessera
