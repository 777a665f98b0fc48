#include "support/csToolhelp.h"

#include "support/csModules.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <limits>
#include <string>

using namespace cs;

namespace {

struct Module {
    quint64 base;
    quint64 size;
    std::string name;
    std::string path;
    bool operator==(const Module &) const = default;
};

void PrintTo(const Module &m, std::ostream *os)
{
    *os << std::hex << m.base << "+" << m.size << " " << m.name << " " << m.path;
}

std::vector<Module> modulesOf(const QByteArray &maps)
{
    std::vector<Module> found;
    for (const MODULEENTRY32 &entry : csModulesFromMaps(maps, 42)) {
        EXPECT_EQ(entry.th32ProcessID, 42u);
        EXPECT_EQ(entry.hModule, entry.modBaseAddr);
        found.push_back(
            {entry.modBaseAddr, entry.modBaseSize, entry.szModule.toStdString(), entry.szExePath.toStdString()});
    }
    return found;
}

} // namespace

TEST(csToolhelp, ModulesAreTheExecutableFilesOfTheMap)
{
    const QByteArray maps = "55d0c0a00000-55d0c0a02000 r--p 00000000 08:01 1234   /usr/bin/prog\n"
                            "55d0c0a02000-55d0c0a05000 r-xp 00002000 08:01 1234   /usr/bin/prog\n"
                            "55d0c0a05000-55d0c0a06000 r--p 00005000 08:01 1234   /usr/bin/prog\n"
                            "55d0c0a06000-55d0c0a07000 rw-p 00006000 08:01 1234   /usr/bin/prog\n"
                            "55d0c1000000-55d0c1021000 rw-p 00000000 00:00 0      [heap]\n"
                            "7f0000000000-7f0000100000 r--p 00000000 08:01 99     /usr/lib/locale/locale-archive\n"
                            "7f0000200000-7f0000201000 r--p 00000000 08:01 555    /usr/lib/lib space.so\n"
                            "7f0000201000-7f0000202000 r-xp 00001000 08:01 555    /usr/lib/lib space.so\n"
                            "7f0000202000-7f0000203000 rw-p 00000000 00:00 0 \n"
                            "7f0000300000-7f0000301000 r-xp 00000000 08:01 777    /tmp/gone.so (deleted)\n"
                            "7f0000400000-7f0000401000 r-xp 00001000 08:01 888    /usr/lib/tail-only.so\n"
                            "7ffd00000000-7ffd00021000 rw-p 00000000 00:00 0      [stack]\n"
                            "7ffd000ff000-7ffd00100000 r-xp 00000000 00:00 0      [vdso]\n"
                            "ffffffffff600000-ffffffffff601000 --xp 00000000 00:00 0  [vsyscall]";
    EXPECT_EQ(modulesOf(maps),
              (std::vector<Module> {{0x55d0c0a00000, 0x7000, "prog", "/usr/bin/prog"},
                                    {0x7f0000200000, 0x2000, "lib space.so", "/usr/lib/lib space.so"},
                                    {0x7f0000300000, 0x1000, "gone.so (deleted)", "/tmp/gone.so (deleted)"}}));

    // A mapping of the module's file out of address order ends the module
    // rather than give it a size past the address space.
    EXPECT_EQ(modulesOf("7f0000200000-7f0000201000 r-xp 00000000 08:01 555 /lib/a.so\n"
                        "7f0000100000-7f0000101000 r--p 00001000 08:01 555 /lib/a.so\n"
                        "7f0000300000-7f0000302000 r--p 00002000 08:01 555 /lib/a.so"),
              (std::vector<Module> {{0x7f0000200000, 0x1000, "a.so", "/lib/a.so"}}));

    // Lines that do not read are passed over, whatever is wrong with them.
    const char *const broken[] = {
        "zzzz-1000 r-xp 00000000 08:01 1 /a",
        "2000-1000 r-xp 00000000 08:01 1 /a",
        "1000-1000 r-xp 00000000 08:01 1 /a",
        "1000-2000 r-x 00000000 08:01 1 /a",
        "1000-2000 r-xp 0000000g 08:01 1 /a",
        "10000000000000000-10000000000000001 r-xp 00000000 08:01 1 /a",
        "1000-2000 r-xp 00000000 0801 1 /a",
        "1000-2000 r-xp 00000000 08:01",
        "1000-2000 r-xp 00000000 08:01 0 /a",
        "1000 r-xp 00000000 08:01 1 /a",
        "-",
        "",
        "\n\n\n",
    };
    for (const char *line : broken) {
        SCOPED_TRACE(line);
        EXPECT_TRUE(modulesOf(line).empty());
        EXPECT_EQ(modulesOf(QByteArray(line) + "\n3000-4000 r-xp 00000000 08:01 2 /b").size(), 1u);
    }
}

TEST(csToolhelp, SnapshotOfThisProcess)
{
    csToolhelp32Snapshot snapshot = csCreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0);
    ASSERT_TRUE(snapshot.isValid());
    MODULEENTRY32 entry;
    ASSERT_TRUE(csModule32First(snapshot, entry));
    EXPECT_EQ(entry.szExePath, QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath());
    EXPECT_EQ(entry.szModule, QLatin1String("test_support"));
    EXPECT_EQ(entry.th32ProcessID, quint32(QCoreApplication::applicationPid()));

    const quintptr support = csGetModuleHandleOf(reinterpret_cast<const void *>(&csModule32First));
    bool found = false;
    int count = 1;
    while (csModule32Next(snapshot, entry)) {
        ++count;
        if (entry.modBaseAddr == support) {
            found = true;
            EXPECT_EQ(entry.szExePath, csGetModulePrettyFileName(support));
            EXPECT_TRUE(entry.szModule.startsWith(QLatin1String("libcorvidsupport0100.so")));
            EXPECT_GT(entry.modBaseSize, 4096u);
        }
    }
    EXPECT_TRUE(found);
    EXPECT_FALSE(csModule32Next(snapshot, entry)) << "the walk has ended";
    ASSERT_TRUE(csModule32First(snapshot, entry)) << "and starts again";
    EXPECT_EQ(entry.szModule, QLatin1String("test_support"));

    // Another process's map, no process, no module flag.
    csToolhelp32Snapshot own
        = csCreateToolhelp32Snapshot(TH32CS_SNAPMODULE, quint32(QCoreApplication::applicationPid()));
    EXPECT_TRUE(csModule32First(own, entry));
    csToolhelp32Snapshot none = csCreateToolhelp32Snapshot(TH32CS_SNAPMODULE, std::numeric_limits<qint32>::max());
    EXPECT_FALSE(none.isValid());
    EXPECT_FALSE(csModule32First(none, entry));
    csToolhelp32Snapshot threads = csCreateToolhelp32Snapshot(4, 0);
    EXPECT_TRUE(threads.isValid());
    EXPECT_FALSE(csModule32First(threads, entry));

    EXPECT_FALSE(csEnableDebugPrivilege()) << "as a process without the privilege";
}
