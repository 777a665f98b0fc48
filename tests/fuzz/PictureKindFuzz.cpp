// libFuzzer target: telling a picture's kind from its first bytes. The
// answer must agree with the own readers' header checks: a file sniffed as
// PCX, Targa or Photoshop passes that format's check, and a file that passes
// the Photoshop check is never taken for anything else (PCX and Targa have
// no signature, so a signature of another kind comes first).
#include "lib/pictures/PcxDecoder.h"
#include "lib/pictures/PictureKind.h"
#include "lib/pictures/PsdDecoder.h"
#include "lib/pictures/TgaDecoder.h"
#include "tests/fuzz/PictureFuzzChecks.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace tessera;
    using corvid::fuzz::check;
    const QByteArrayView head(data, qsizetype(std::min<size_t>(size, PictureHeadBytes)));
    const crvPictureTypeEx kind = sniffPictureKind(head);
    check(kind != crvPteNothing && !pictureTypeName(kind).isEmpty());
    PcxHeader pcx;
    TgaHeader tga;
    PsdHeader psd;
    check(kind != crvPtePCX || readPcxHeader(head, &pcx) == nullptr);
    check(kind != crvPteTGA || readTgaHeader(head, &tga) == nullptr);
    check((kind == crvPtePSD) == (readPsdHeader(head, &psd) == nullptr));
    return 0;
}
