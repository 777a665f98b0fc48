#pragma once

#include "lib/pictures/DecodedBitmap.h"
#include "lib/pictures/IFileFormat.h"
#include "lib/pictures/crvPictureTypeEx.h"

#include <QByteArrayView>

namespace tessera {

/// The frame the library's own readers share: Verify() checks the file's
/// header with the decoder's own header check; LoadPicture() resets the
/// PictureInfo, verifies, decodes the whole file and turns the bitmap into a
/// picture (CreatePictureFromBits), reporting its size, the depth the file
/// states and the reader's kind. Every failure is a missing picture.
class CFileOwnFormat : public IFileFormat
{
public:
    using HeaderCheck = bool (*)(QByteArrayView head);
    using Decoder = DecodeResult (*)(QByteArrayView file);

    bool Verify(const QString &FileName) override;
    std::optional<StdPicture> LoadPicture(const QString &FileName, PictureInfo *Info) override;

protected:
    CFileOwnFormat(crvPictureTypeEx kind, HeaderCheck acceptsHeader, Decoder decode);

private:
    crvPictureTypeEx m_kind;
    HeaderCheck m_acceptsHeader;
    Decoder m_decode;
};

} // namespace tessera
