// Helper process of the named-mutex tests: creates the named mutex given as
// its last argument, prints the last error on a line of its own, and holds
// the mutex until it reads a line or the end of its input (or is killed).
// With --wait it first prints "ready" and waits for a line, so that a test
// can let several holders create the same name at one moment.
#include "platform/NamedMutex.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

int main(int argc, char **argv)
{
    const bool wait = argc == 3 && std::strcmp(argv[1], "--wait") == 0;
    if (argc != 2 && !wait) {
        std::fprintf(stderr, "usage: %s [--wait] <mutex name>\n", argv[0]);
        return 2;
    }
    std::string line;
    if (wait) {
        std::printf("ready\n");
        std::fflush(stdout);
        std::getline(std::cin, line);
    }
    const tessera::NamedMutex mutex(QString::fromUtf8(argv[argc - 1]));
    std::printf("%d\n", int(mutex.lastError()));
    std::fflush(stdout);
    std::getline(std::cin, line);
    return 0;
}
