// libFuzzer target: the readers of /proc texts. The first byte chooses the
// reader (memory map, memory figures, process status line); the rest is the
// text.
#include "platform/ProcessTimes.h"
#include "platform/RuntimeError.h"
#include "support/csMemoryStatus.h"
#include "support/csToolhelp.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray text(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    switch (data[0] % 3) {
    case 0:
        for (const cs::MODULEENTRY32 &module : cs::csModulesFromMaps(text, 1)) {
            if (module.modBaseSize == 0 || module.modBaseAddr + module.modBaseSize <= module.modBaseAddr
                || !module.szExePath.startsWith(QLatin1Char('/')))
                std::abort();
        }
        break;
    case 1: {
        // Both figures from one text: its halves stand for the two files.
        const QByteArray meminfo = text.left(text.size() / 2);
        try {
            const cs::MEMORYSTATUS status = cs::csMemoryStatusFrom(meminfo, text.mid(text.size() / 2), 1ULL << 47);
            if (status.dwAvailPhys > status.dwTotalPhys || status.dwMemoryLoad > 100
                || status.dwAvailPageFile > status.dwTotalPageFile || status.dwAvailVirtual > status.dwTotalVirtual)
                std::abort();
        } catch (const tessera::RuntimeError &error) {
            if (error.Number() != 75)
                std::abort();
        }
        break;
    }
    default:
        if (const auto times = tessera::ProcessTimes::fromStat(text, 100, 133537872300000000LL)) {
            if (times->CreationTime < 0 || times->KernelTime < 0 || times->UserTime < 0)
                std::abort();
        }
        break;
    }
    return 0;
}
