// libFuzzer target: crvGZipArchive::UncompressData on any bytes. Besides the
// sanitizers, a success must hold exactly the trailer's length and CRC, a
// failure must leave every property cleared, and the only error raised is
// 5 for data that starts like gzip but is shorter than its fixed header.
#include "lib/net/cCRC32.h"
#include "lib/net/crvGZipArchive.h"
#include "platform/RuntimeError.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstdint>

using corvid::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static tessera::crvGZipArchive gz; // loads zlib once
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    tessera::gzUncompressErrors result;
    try {
        result = gz.UncompressData(input);
    } catch (const tessera::RuntimeError &e) {
        check(e.Number() == 5 && size >= 2 && size < 10 && data[0] == 31 && data[1] == 139);
        return 0;
    }
    if (result == tessera::gzueSuccess) {
        check(gz.UncompressedData().size() == gz.DataLen());
        check(tessera::cCRC32().GetByteArrayCrc32(gz.UncompressedData()) == gz.DataCRC32());
        check(gz.ID1() == 31 && gz.ID2() == 139);
        // Deflate cannot expand more than about 1032 : 1.
        check(qint64(gz.DataLen()) <= 1032 * qint64(size) + 1024);
    } else {
        check(result >= 1 && result <= 7);
        check(gz.UncompressedData().isEmpty() && gz.FileName().isEmpty() && gz.OS() == tessera::gzosUnknown
              && gz.DataLen() == 0);
    }
    return 0;
}
