// libFuzzer target: the Photoshop decoder on any bytes (see PictureFuzzChecks.h for
// what its answers must satisfy).
#include "lib/pictures/PsdDecoder.h"
#include "tests/fuzz/PictureFuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return corvid::fuzz::fuzzDecoder(data, size, tessera::DecodePsd, tessera::readPsdHeader);
}
