#include "lib/pictures/PictureKind.h"

#include "lib/pictures/PcxDecoder.h"
#include "lib/pictures/PsdDecoder.h"
#include "lib/pictures/TgaDecoder.h"

namespace tessera {

namespace {

// An icon directory: reserved 0, the type (1 icon, 2 cursor), at least one
// image.
bool isIconDirectory(QByteArrayView head, char type)
{
    return head.size() >= 6 && head[0] == 0 && head[1] == 0 && head[2] == type && head[3] == 0
        && (head[4] != 0 || head[5] != 0);
}

} // namespace

crvPictureTypeEx sniffPictureKind(QByteArrayView head)
{
    if (head.startsWith("\x89PNG\r\n\x1a\n"))
        return crvPtePNG;
    if (head.size() >= 3 && QByteArrayView(head.first(3)).compare("GIF", Qt::CaseInsensitive) == 0)
        return crvPteGIF;
    if (head.startsWith("\xFF\xD8\xFF"))
        return crvPteJPG;
    if (head.startsWith("BM"))
        return crvPteBMP;
    if (head.startsWith(QByteArrayView("II*\0", 4)) || head.startsWith(QByteArrayView("MM\0*", 4)))
        return crvPteTIFF;
    if (isIconDirectory(head, 1))
        return crvPteICO;
    if (isIconDirectory(head, 2))
        return crvPteCUR;
    if (PsdHeader psd; !readPsdHeader(head, &psd))
        return crvPtePSD;
    if (PcxHeader pcx; !readPcxHeader(head, &pcx))
        return crvPtePCX;
    if (TgaHeader tga; !readTgaHeader(head, &tga))
        return crvPteTGA;
    return crvPteUnknown;
}

} // namespace tessera
