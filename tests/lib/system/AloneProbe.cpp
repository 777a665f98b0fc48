// Helper process of the crvAlone tests: asks one scope (machine, desktop or
// user; "all" for the three in that order) for the identifier given, prints
// the answers (1 alone, 0 not) on one line, and keeps its claims until its
// input ends (or it is killed).
#include "lib/system/crvAlone.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s machine|desktop|user|all <AppGUID>\n", argv[0]);
        return 2;
    }
    const std::string scope = argv[1];
    const QString guid = QString::fromUtf8(argv[2]);
    tessera::crvAlone alone;
    std::string answers;
    const auto ask = [&](const char *name, bool (tessera::crvAlone::*test)(const QString &)) {
        if (scope == name || scope == "all")
            answers += std::string(answers.empty() ? "" : " ") + ((alone.*test)(guid) ? "1" : "0");
    };
    ask("machine", &tessera::crvAlone::IsAlone);
    ask("desktop", &tessera::crvAlone::IsAloneOnDesktop);
    ask("user", &tessera::crvAlone::IsAloneAtUser);
    if (answers.empty()) {
        std::fprintf(stderr, "unknown scope %s\n", argv[1]);
        return 2;
    }
    std::printf("%s\n", answers.c_str());
    std::fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) { }
    return 0;
}
