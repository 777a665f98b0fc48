#include "lib/pictures/modBitmapWorks.h"

#include "lib/pictures/CFileCommon.h"
#include "lib/pictures/CFileGDIPlus.h"
#include "lib/pictures/CFilePCX.h"
#include "lib/pictures/CFilePSD.h"
#include "lib/pictures/CFileTGA.h"
#include "lib/pictures/PictureInfo.h"
#include "lib/pictures/PicturesLogging_p.h"
#include "platform/RuntimeError.h"
#include "support/csBitmaps.h"

#include <QFile>

#include <array>
#include <memory>
#include <sys/stat.h>

namespace tessera {

Q_LOGGING_CATEGORY(lcPictures, "tessera.pictures", QtInfoMsg)

namespace {

using ReaderChain = std::array<std::unique_ptr<IFileFormat>, 5>;

ReaderChain &readers()
{
    thread_local ReaderChain chain;
    if (!chain[0])
        chain[0] = std::make_unique<CFileCommon>();
    if (!chain[1])
        chain[1] = std::make_unique<CFileGDIPlus>();
    if (!chain[2])
        chain[2] = std::make_unique<CFilePSD>();
    if (!chain[3])
        chain[3] = std::make_unique<CFilePCX>();
    if (!chain[4])
        chain[4] = std::make_unique<CFileTGA>();
    return chain;
}

void releaseBits(void *bits)
{
    delete static_cast<QByteArray *>(bits);
}

} // namespace

StdPicture LoadWithReaders(const QString &FileName, PictureInfo *Info)
{
    // No reader takes what is not a regular file: opening a named pipe waits
    // for a writer that may never come, and a device may never end.
    struct stat status;
    if (::stat(QFile::encodeName(FileName).constData(), &status) != 0 || !S_ISREG(status.st_mode)) {
        if (Info)
            Info->ResetInfo();
        throw RuntimeError(RuntimeError::InvalidPicture);
    }
    for (const std::unique_ptr<IFileFormat> &reader : readers()) {
        if (!reader->Verify(FileName))
            continue;
        if (std::optional<StdPicture> picture = reader->LoadPicture(FileName, Info))
            return *picture;
    }
    throw RuntimeError(RuntimeError::InvalidPicture);
}

StdPicture CreatePictureFromBits(DecodedBitmap bitmap)
{
    const qint32 layout = bitmap.layoutBits();
    const qint32 stride = DibStride(bitmap.Width, layout);
    if (bitmap.Width <= 0 || bitmap.Height <= 0 || stride == 0 || bitmap.Bits.size() != qint64(stride) * bitmap.Height
        || (layout == 8 && bitmap.Palette.size() != 256))
        throw RuntimeError(RuntimeError::InternalError, QStringLiteral("Can't create compatible bitmap."));

    // The image keeps the decoded bytes alive until its last copy goes.
    auto *bits = new QByteArray(std::move(bitmap.Bits));
    QImage image(reinterpret_cast<uchar *>(bits->data()), bitmap.Width, bitmap.Height, stride,
                 layout == 8 ? QImage::Format_Indexed8 : QImage::Format_BGR888, releaseBits, bits);
    if (layout == 8) {
        QList<QRgb> colours;
        colours.reserve(256);
        for (const quint32 entry : bitmap.Palette)
            colours.append(qRgb(int(entry >> 16 & 0xFF), int(entry >> 8 & 0xFF), int(entry & 0xFF)));
        image.setColorTable(colours);
    }
    return cs::csGetBitmapFromHandle(image);
}

} // namespace tessera
