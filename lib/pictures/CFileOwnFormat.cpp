#include "lib/pictures/CFileOwnFormat.h"

#include "lib/pictures/PictureFile.h"
#include "lib/pictures/PictureInfo.h"
#include "lib/pictures/PictureKind.h"
#include "lib/pictures/PicturesLogging_p.h"
#include "lib/pictures/modBitmapWorks.h"

#include <new>

namespace tessera {

CFileOwnFormat::CFileOwnFormat(crvPictureTypeEx kind, HeaderCheck acceptsHeader, Decoder decode)
    : m_kind(kind)
    , m_acceptsHeader(acceptsHeader)
    , m_decode(decode)
{ }

bool CFileOwnFormat::Verify(const QString &FileName)
{
    const std::optional<QByteArray> head = readFileHead(FileName, PictureHeadBytes);
    return head && m_acceptsHeader(*head);
}

std::optional<StdPicture> CFileOwnFormat::LoadPicture(const QString &FileName, PictureInfo *Info)
{
    if (Info)
        Info->ResetInfo();
    if (!Verify(FileName))
        return std::nullopt;
    const PictureFile file(FileName);
    if (!file.isValid())
        return std::nullopt;
    DecodeResult decoded;
    try {
        decoded = m_decode(file.bytes());
    } catch (const std::bad_alloc &) {
        decoded = DecodeResult::failed("there is not enough memory for the picture");
    }
    if (!decoded.bitmap) {
        qCDebug(lcPictures) << FileName << "is no" << pictureTypeName(m_kind) << "picture:" << decoded.failure;
        return std::nullopt;
    }
    const PictureInfo::Record record {decoded.bitmap->Width, decoded.bitmap->Height, decoded.bitmap->BPP};
    StdPicture picture = CreatePictureFromBits(std::move(*decoded.bitmap));
    if (Info)
        Info->SetInfo(record, m_kind);
    return picture;
}

} // namespace tessera
