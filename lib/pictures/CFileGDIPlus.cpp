#include "lib/pictures/CFileGDIPlus.h"

#include "lib/pictures/CGDIPlusHelper.h"
#include "lib/pictures/CGDIPlusImage.h"
#include "lib/pictures/PictureInfo.h"
#include "platform/RuntimeError.h"

namespace tessera {

CFileGDIPlus::CFileGDIPlus() = default;
CFileGDIPlus::~CFileGDIPlus() = default;

bool CFileGDIPlus::Verify(const QString &)
{
    return true;
}

std::optional<StdPicture> CFileGDIPlus::LoadPicture(const QString &FileName, PictureInfo *Info)
{
    if (Info)
        Info->ResetInfo();
    if (!m_helper)
        m_helper = std::make_unique<CGDIPlusHelper>();
    QSize size;
    QString rawFormat;
    qint32 bitsPerPixel = 0;
    StdPicture picture;
    try {
        picture = m_helper->LoadPicture(FileName, &size, &rawFormat, &bitsPerPixel);
    } catch (const RuntimeError &) {
        return std::nullopt;
    }
    if (Info)
        Info->SetInfo({size.width(), size.height(), bitsPerPixel}, kindOfRawFormat(rawFormat));
    return picture;
}

} // namespace tessera
