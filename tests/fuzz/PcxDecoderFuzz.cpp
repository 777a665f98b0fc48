// libFuzzer target: the PCX decoder on any bytes (see PictureFuzzChecks.h for
// what its answers must satisfy).
#include "lib/pictures/PcxDecoder.h"
#include "tests/fuzz/PictureFuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return corvid::fuzz::fuzzDecoder(data, size, tessera::DecodePcx, tessera::readPcxHeader);
}
