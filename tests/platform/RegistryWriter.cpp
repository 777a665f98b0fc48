// Started by RegistryProcessTest: writes registry values in its own process,
// one transaction per value, into the hives its environment names.
//
//   tessera_registry_writer batch <key> <prefix> <count> <size>
//       prints "ready", waits for a line on standard input, then writes
//       <count> values and exits 0, or prints the failing code and exits 1;
//   tessera_registry_writer endless <key> <prefix> <size>
//       writes values until it is killed, printing "started" after the first.
#include "platform/Registry.h"
#include "tests/platform/RegistryPayload.h"

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

using tessera::HKEY;
using tessera::Registry;

namespace {

bool writeValue(const QString &key, const QString &prefix, int index, int size)
{
    HKEY handle = 0;
    qint32 rc = Registry::RegCreateKeyEx(Registry::HKEY_CURRENT_USER, key, Registry::KEY_SET_VALUE, &handle);
    if (rc == 0) {
        rc = Registry::RegSetValueEx(handle, corvid::test::registryValueName(prefix, index), Registry::REG_BINARY,
                                     corvid::test::registryPayload(index, size));
        Registry::RegCloseKey(handle);
    }
    if (rc != 0)
        std::printf("value %d failed with %d\n", index, int(rc));
    return rc == 0;
}

} // namespace

int main(int argc, char **argv)
{
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QLatin1String("batch") && argc == 6) {
        const QString key = QString::fromLocal8Bit(argv[2]);
        const QString prefix = QString::fromLocal8Bit(argv[3]);
        const int count = std::atoi(argv[4]);
        const int size = std::atoi(argv[5]);
        std::printf("ready\n");
        std::fflush(stdout);
        std::string go;
        std::getline(std::cin, go);
        for (int i = 0; i < count; ++i) {
            if (!writeValue(key, prefix, i, size))
                return 1;
        }
        return 0;
    }
    if (mode == QLatin1String("endless") && argc == 5) {
        const QString key = QString::fromLocal8Bit(argv[2]);
        const QString prefix = QString::fromLocal8Bit(argv[3]);
        const int size = std::atoi(argv[4]);
        for (int i = 0;; ++i) {
            if (!writeValue(key, prefix, i, size))
                return 1;
            if (i == 0) {
                std::printf("started\n");
                std::fflush(stdout);
            }
        }
    }
    std::fprintf(stderr,
                 "usage: tessera_registry_writer batch <key> <prefix> <count> <size>\n"
                 "       tessera_registry_writer endless <key> <prefix> <size>\n");
    return 2;
}
