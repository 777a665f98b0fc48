#include "support/csElfImage.h"

#include "support/csCallFunction.h"
#include "support/csModules.h"
#include "support/csToolhelp.h"
#include "tests/common/RaisedError.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/mman.h>

using namespace cs;
using corvid::test::raisedNumber;

namespace {

constexpr quint32 PT_LOAD = 1;
constexpr quint32 PT_PHDR = 6;

struct Segment {
    quint32 type;
    quint64 vaddr;
};

// The start of an ELF file: its header and program headers, of either class
// and byte order, with the fields a case breaks on purpose.
struct ElfSpec {
    bool wide = true;
    bool bigEndian = false;
    quint16 type = 3;
    QList<Segment> segments = {{PT_LOAD, 0}};
    int phentsizeDelta = 0;
    std::optional<quint16> phnum = std::nullopt;
    std::optional<quint64> phoff = std::nullopt;
    qsizetype cutTo = -1;
    int patchAt = -1; // one byte of the identification
    char patch = 0;
};

template <typename T> void put(QByteArray &bytes, qsizetype at, T value, bool bigEndian)
{
    if (bytes.size() < at + qsizetype(sizeof(T)))
        bytes.resize(at + qsizetype(sizeof(T)), '\0');
    uchar *p = reinterpret_cast<uchar *>(bytes.data()) + at;
    bigEndian ? qToBigEndian(value, p) : qToLittleEndian(value, p);
}

QByteArray elf(const ElfSpec &spec)
{
    QByteArray bytes("\x7F"
                     "ELF",
                     4);
    bytes.append(spec.wide ? '\2' : '\1').append(spec.bigEndian ? '\2' : '\1').append('\1');
    bytes.resize(16, '\0');
    const bool be = spec.bigEndian;
    const quint64 headerSize = spec.wide ? 64 : 52;
    const quint16 phentsize = quint16((spec.wide ? 56 : 32) + spec.phentsizeDelta);
    const quint64 phoff = spec.phoff.value_or(headerSize);
    put<quint16>(bytes, 16, spec.type, be);
    if (spec.wide) {
        put<quint64>(bytes, 32, phoff, be);
        put<quint16>(bytes, 54, phentsize, be);
        put<quint16>(bytes, 56, spec.phnum.value_or(quint16(spec.segments.size())), be);
    } else {
        put<quint32>(bytes, 28, quint32(phoff), be);
        put<quint16>(bytes, 42, phentsize, be);
        put<quint16>(bytes, 44, spec.phnum.value_or(quint16(spec.segments.size())), be);
    }
    bytes.resize(qsizetype(headerSize), '\0');
    for (qsizetype i = 0; i < spec.segments.size() && phoff < 4096; ++i) {
        const qsizetype at = qsizetype(phoff) + i * phentsize;
        put<quint32>(bytes, at, spec.segments[i].type, be);
        if (spec.wide)
            put<quint64>(bytes, at + 16, spec.segments[i].vaddr, be);
        else
            put<quint32>(bytes, at + 8, quint32(spec.segments[i].vaddr), be);
        bytes.resize(std::max(bytes.size(), at + phentsize), '\0');
    }
    if (spec.patchAt >= 0)
        bytes[spec.patchAt] = spec.patch;
    if (spec.cutTo >= 0)
        bytes.truncate(spec.cutTo);
    return bytes;
}

} // namespace

TEST(csElfImage, PreferredAddressOfTheFirstLoadSegment)
{
    struct Case {
        const char *what;
        ElfSpec spec;
        std::optional<quint64> expected;
        quint64 pageSize = 4096;
    };
    const QList<Case> cases = {
        // Failure boundaries first: no ELF, no module, cut short, out of bounds.
        {"empty", {.cutTo = 0}, std::nullopt},
        {"identification only", {.cutTo = 15}, std::nullopt},
        {"other magic", {.patchAt = 1, .patch = 'X'}, std::nullopt},
        {"class 3", {.patchAt = 4, .patch = 3}, std::nullopt},
        {"byte order 0", {.patchAt = 5, .patch = 0}, std::nullopt},
        {"version 2", {.patchAt = 6, .patch = 2}, std::nullopt},
        {"relocatable object", {.type = 1}, std::nullopt},
        {"core file", {.type = 4}, std::nullopt},
        {"header cut short", {.cutTo = 63}, std::nullopt},
        {"32-bit header cut short", {.wide = false, .cutTo = 51}, std::nullopt},
        {"program headers cut short", {.segments = {{PT_PHDR, 0}, {PT_LOAD, 0x400000}}, .cutTo = 100}, std::nullopt},
        {"program headers too small", {.phentsizeDelta = -1}, std::nullopt},
        {"no program headers", {.phnum = 0}, std::nullopt},
        {"extended numbering", {.phnum = 0xFFFF}, std::nullopt},
        {"table far out", {.phoff = 1ULL << 40}, std::nullopt},
        {"table past 2^64", {.phoff = ~0ULL - 8}, std::nullopt},
        {"nothing to load", {.segments = {{PT_PHDR, 0x40}}}, std::nullopt},
        {"page size 0", {}, std::nullopt, 0},
        {"page size 3", {}, std::nullopt, 3},
        // What loaders read.
        {"shared object", {}, 0},
        {"program at its address", {.type = 2, .segments = {{PT_LOAD, 0x400000}}}, 0x400000},
        {"first load after the header table",
         {.type = 2, .segments = {{PT_PHDR, 0x400040}, {PT_LOAD, 0x401234}}},
         0x401000},
        {"64 KiB pages", {.type = 2, .segments = {{PT_LOAD, 0x401234}}}, 0x400000, 65536},
        {"only the first load counts", {.segments = {{PT_LOAD, 0x10000000}, {PT_LOAD, 0x10001000}}}, 0x10000000},
        {"larger program headers", {.segments = {{PT_LOAD, 0x20000000}}, .phentsizeDelta = 8}, 0x20000000},
        {"32-bit big-endian",
         {.wide = false, .bigEndian = true, .type = 2, .segments = {{PT_LOAD, 0x10001000}}},
         0x10001000},
        {"64-bit big-endian", {.bigEndian = true, .segments = {{PT_LOAD, 0x7000000000}}}, 0x7000000000},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(csElfPreferredAddress(elf(c.spec), c.pageSize), c.expected);
    }
}

TEST(csElfImage, ModulesOfThisProcessAndOneMovedAway)
{
    // Programs and libraries built as position-independent code ask for no
    // address, so they sit where they asked to be.
    const quintptr support = csGetModuleHandleOf(reinterpret_cast<const void *>(&csElfPreferredAddress));
    EXPECT_EQ(csGetModulePreferredBaseAddr(0, support), support);
    QFile self(QStringLiteral("/proc/self/exe"));
    ASSERT_TRUE(self.open(QIODevice::ReadOnly));
    EXPECT_EQ(csElfPreferredAddress(self.read(4096), 4096), 0u);
    EXPECT_EQ(raisedNumber([] { csGetModulePreferredBaseAddr(0, 4096); }), 5) << "no module there";

    // The test module asks for 0x10000000; with that address taken, the
    // loader puts it elsewhere and its preferred address tells.
    constexpr quintptr Asked = 0x10000000;
    void *taken = ::mmap(reinterpret_cast<void *>(Asked), 1 << 20, PROT_NONE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE, -1, 0);
    if (taken == MAP_FAILED)
        GTEST_SKIP() << "the address 0x10000000 is in use";
    void *module = ::dlopen(CORVID_PREFERRED_BASE_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << ::dlerror();
    void *sum = ::dlsym(module, "corvid_sum4");
    ASSERT_NE(sum, nullptr);
    const quintptr base = csGetModuleHandleOf(sum);
    EXPECT_NE(base, Asked);
    EXPECT_EQ(csGetModulePreferredBaseAddr(0, base), Asked);

    // And a call through the resolved symbol.
    EXPECT_EQ(csCallFunction_4_4(reinterpret_cast<quintptr>(sum), 1, 2, 3, 4), 4321);
    EXPECT_EQ(csCallFunction_4_4(reinterpret_cast<quintptr>(sum), -1, 0, 0, 0), -1);
    EXPECT_EQ(raisedNumber([] { csCallFunction_4_4(0, 1, 2, 3, 4); }), 5);
    ::dlclose(module);
    ::munmap(taken, 1 << 20);
}

TEST(csElfImage, AModuleWhoseFileIsNoElfImage)
{
    // A data file mapped executable counts as a module; reading it fails.
    QTemporaryDir folder;
    QFile data(folder.filePath(QStringLiteral("data.bin")));
    ASSERT_TRUE(data.open(QIODevice::ReadWrite));
    data.write(QByteArray(8192, 'x'));
    data.flush();
    void *mapped = ::mmap(nullptr, 8192, PROT_READ | PROT_EXEC, MAP_PRIVATE, data.handle(), 0);
    data.close();
    if (mapped == MAP_FAILED)
        GTEST_SKIP() << "no executable mapping of a temporary file here (noexec)";
    EXPECT_EQ(raisedNumber([&] { csGetModulePreferredBaseAddr(0, reinterpret_cast<quintptr>(mapped)); }), 321);
    data.remove();
    EXPECT_EQ(raisedNumber([&] { csGetModulePreferredBaseAddr(0, reinterpret_cast<quintptr>(mapped)); }), 53)
        << "the file is gone";
    ::munmap(mapped, 8192);
}
