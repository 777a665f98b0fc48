#pragma once

#include "lib/pictures/IFileFormat.h"

#include <memory>

namespace tessera {

class CGDIPlusHelper;

/// Reader 2 of the chain, the platform's second loader: PNG, TIFF and the
/// kinds of reader 1 (never PCX, Targa or Photoshop), drawn over the
/// button-face colour into a bitmap of the screen's kind (CGDIPlusHelper).
/// Reports the file's size, its own bits per pixel (32 for a PNG with alpha)
/// and the kind of its format. Every failure is swallowed: no picture.
class CFileGDIPlus final : public IFileFormat
{
public:
    CFileGDIPlus();
    ~CFileGDIPlus() override;

    bool Verify(const QString &FileName) override;
    std::optional<StdPicture> LoadPicture(const QString &FileName, PictureInfo *Info) override;

private:
    std::unique_ptr<CGDIPlusHelper> m_helper; // created on first use
};

} // namespace tessera
