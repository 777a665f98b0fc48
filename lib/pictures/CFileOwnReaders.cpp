#include "lib/pictures/CFilePCX.h"
#include "lib/pictures/CFilePSD.h"
#include "lib/pictures/CFileTGA.h"
#include "lib/pictures/PcxDecoder.h"
#include "lib/pictures/PsdDecoder.h"
#include "lib/pictures/TgaDecoder.h"

namespace tessera {

namespace {

template <typename Header, const char *(*read)(QByteArrayView, Header *)> bool accepts(QByteArrayView head)
{
    Header header;
    return read(head, &header) == nullptr;
}

} // namespace

CFilePCX::CFilePCX()
    : CFileOwnFormat(crvPtePCX, accepts<PcxHeader, readPcxHeader>, DecodePcx)
{ }

CFilePSD::CFilePSD()
    : CFileOwnFormat(crvPtePSD, accepts<PsdHeader, readPsdHeader>, DecodePsd)
{ }

CFileTGA::CFileTGA()
    : CFileOwnFormat(crvPteTGA, accepts<TgaHeader, readTgaHeader>, DecodeTga)
{ }

} // namespace tessera
