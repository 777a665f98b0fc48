#include "platform/SystemClock.h"

#include <QElapsedTimer>
#include <QThread>

#include <ctime>
#include <gtest/gtest.h>

using namespace tessera;

namespace {
quint64 monotonicMilliseconds()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return quint64(now.tv_sec) * 1000 + quint64(now.tv_nsec) / 1000000;
}
} // namespace

TEST(SystemClock, TickCountIsTheLow32BitsOfMillisecondsSinceSystemStart)
{
    const quint64 before = monotonicMilliseconds();
    const quint32 tick = GetTickCount();
    const quint64 after = monotonicMilliseconds();
    // Unsigned differences, as callers compute them across a wrap.
    EXPECT_LE(quint32(tick - quint32(before)), quint32(after - before))
        << tick << " not in " << before << ".." << after;
}

TEST(SystemClock, CountersFollowElapsedTime)
{
    QElapsedTimer elapsed;
    elapsed.start();
    const quint32 tickStart = GetTickCount();
    const qint64 counterStart = QueryPerformanceCounter();
    QThread::msleep(60);
    const quint32 ticks = GetTickCount() - tickStart;
    const qint64 counts = QueryPerformanceCounter() - counterStart;
    const qint64 realMs = elapsed.elapsed();

    EXPECT_GE(ticks, 59u);
    EXPECT_LE(ticks, quint32(realMs + 2));

    const qint64 frequency = QueryPerformanceFrequency();
    ASSERT_GT(frequency, 1000);
    EXPECT_EQ(frequency, QueryPerformanceFrequency());
    const double countedMs = double(counts) * 1000.0 / double(frequency);
    EXPECT_GE(countedMs, 59.0);
    EXPECT_LE(countedMs, double(realMs) + 2.0);
}
