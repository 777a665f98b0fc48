#include "support/csMemoryStatus.h"

#include "tests/common/RaisedError.h"

#include <QList>

#include <gtest/gtest.h>

using namespace cs;
using corvid::test::raisedNumber;

namespace {

constexpr quint64 GiB = 1ULL << 30;
constexpr quint64 AddressSpace = 1ULL << 47;

const QByteArray Meminfo = "MemTotal:        8388608 kB\n"
                           "MemFree:          524288 kB\n"
                           "MemAvailable:    3145728 kB\n"
                           "Buffers:           10240 kB\n"
                           "SwapTotal:       2097152 kB\n"
                           "SwapFree:        1572864 kB\n";
const QByteArray Status = "Name:\ttest\nVmPeak:\t 3000000 kB\nVmSize:\t 2097152 kB\nVmRSS:\t   10000 kB\n";

} // namespace

TEST(csMemoryStatus, FiguresOfTheSystemAndTheProcess)
{
    const MEMORYSTATUS status = csMemoryStatusFrom(Meminfo, Status, AddressSpace);
    EXPECT_EQ(status.dwTotalPhys, 8 * GiB);
    EXPECT_EQ(status.dwAvailPhys, 3 * GiB);
    EXPECT_EQ(status.dwMemoryLoad, 63u);
    EXPECT_EQ(status.dwTotalPageFile, 2 * GiB);
    EXPECT_EQ(status.dwAvailPageFile, 1536ULL << 20);
    EXPECT_EQ(status.dwTotalVirtual, AddressSpace);
    EXPECT_EQ(status.dwAvailVirtual, AddressSpace - 2 * GiB);

    // Old kernels say nothing of MemAvailable: what is free stands in.
    QByteArray old = Meminfo;
    old.replace("MemAvailable:    3145728 kB\n", "");
    EXPECT_EQ(csMemoryStatusFrom(old, Status, AddressSpace).dwAvailPhys, 512ULL << 20);
    EXPECT_EQ(csMemoryStatusFrom(old, Status, AddressSpace).dwMemoryLoad, 94u);
    // More reserved than the address space (a limit set below it) leaves none.
    EXPECT_EQ(csMemoryStatusFrom(Meminfo, Status, GiB).dwAvailVirtual, 0u);

    // Figures that are missing or do not read.
    const QList<std::pair<QByteArray, QByteArray>> broken = {
        {"", Status},
        {Meminfo, ""},
        {QByteArray(Meminfo).replace("MemTotal:        8388608", "MemTotal:        0"), Status},
        {QByteArray(Meminfo).replace("MemTotal:        8388608", "MemTotal:        8x"), Status},
        {QByteArray(Meminfo).replace("SwapFree", "SwapLost"), Status},
        {QByteArray(Meminfo).replace("MemTotal:        8388608", "MemTotal: 99999999999999999999"), Status},
        {QByteArray(Meminfo).replace("MemTotal:        8388608", "MemTotal: 18014398509481984"), Status},
        {Meminfo, "VmSize:\n"},
        {Meminfo, "VmSizeX:\t 100 kB\n"},
    };
    for (const auto &[meminfo, processStatus] : broken) {
        SCOPED_TRACE(meminfo.toStdString() + "|" + processStatus.toStdString());
        EXPECT_EQ(raisedNumber([&] { csMemoryStatusFrom(meminfo, processStatus, AddressSpace); }), 75);
    }

    const MEMORYSTATUS now = csGlobalMemoryStatus();
    EXPECT_GT(now.dwTotalPhys, 0u);
    EXPECT_LE(now.dwAvailPhys, now.dwTotalPhys);
    EXPECT_LE(now.dwMemoryLoad, 100u);
    EXPECT_LE(now.dwAvailPageFile, now.dwTotalPageFile);
    EXPECT_LT(now.dwAvailVirtual, now.dwTotalVirtual) << "this process has reserved some";
    EXPECT_GE(now.dwTotalVirtual, 1ULL << 32);
}
