#include "lib/pictures/crvPictureTypeEx.h"

namespace tessera {

QString pictureTypeName(qint32 type)
{
    switch (type) {
    case crvPteNothing:
        return QStringLiteral("Nothing");
    case crvPteBMP:
        return QStringLiteral("Windows bitmap");
    case crvPteJPG:
        return QStringLiteral("JPEG");
    case crvPteGIF:
        return QStringLiteral("CompuServe GIF");
    case crvPteWMF:
        return QStringLiteral("Windows metafile");
    case crvPteEMF:
        return QStringLiteral("Enhanced metafile");
    case crvPteICO:
        return QStringLiteral("Windows icon");
    case crvPteCUR:
        return QStringLiteral("Windows cursor");
    case crvPtePNG:
        return QStringLiteral("Portable network graphics");
    case crvPtePSD:
        return QStringLiteral("Photoshop document");
    case crvPtePCX:
        return QStringLiteral("Zsoft Paintbrush");
    case crvPteTGA:
        return QStringLiteral("Truevision Targa");
    case crvPteTIFF:
        return QStringLiteral("Tagged image file format");
    }
    return QStringLiteral("Unknown");
}

} // namespace tessera
