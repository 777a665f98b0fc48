// libFuzzer target: the ELF reader of preferred load addresses on any bytes,
// at the common page size and at 64 KiB pages.
#include "support/csElfImage.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const quint64 pageSize : {quint64(4096), quint64(65536)}) {
        if (const std::optional<quint64> address = cs::csElfPreferredAddress(bytes, pageSize)) {
            if (*address % pageSize != 0)
                std::abort();
        }
    }
    return 0;
}
