#include "platform/ProcessTimes.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace tessera;

namespace {

constexpr qint64 Second = 10000000;
constexpr qint64 Boot = 133537872300000000LL; // 2024-03-01 17:20:30 UTC

// A stat line with the command name \a name and utime, stime and starttime.
QByteArray statLine(const QByteArray &name, const QByteArray &user, const QByteArray &kernel, const QByteArray &start)
{
    return "4242 (" + name + ") S 1 4242 4242 0 -1 4194560 1000 0 0 0 " + user + ' ' + kernel + " 0 0 20 0 1 0 " + start
        + " 10000000 500 18446744073709551615 1 1 0 0 0 0 0 0 0 0 0 0 17 3 0 0 0 0 0\n";
}

} // namespace

TEST(ProcessTimes, FromTheStatLine)
{
    const auto times = ProcessTimes::fromStat(statLine("quillon", "250", "100", "5000"), 100, Boot);
    ASSERT_TRUE(times);
    EXPECT_EQ(times->CreationTime, Boot + 50 * Second);
    EXPECT_EQ(times->ExitTime, 0);
    EXPECT_EQ(times->KernelTime, Second);
    EXPECT_EQ(times->UserTime, 25 * Second / 10);

    // A command name may hold blanks and parentheses of its own.
    const auto odd = ProcessTimes::fromStat(statLine("a) (b c", "1", "2", "3"), 1000, Boot);
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->UserTime, Second / 1000);
    EXPECT_EQ(odd->CreationTime, Boot + 3 * Second / 1000);

    struct Broken {
        const char *what;
        QByteArray stat;
        qint64 ticks = 100;
        qint64 boot = Boot;
    };
    const QList<Broken> broken = {
        {"empty", ""},
        {"no command name", "4242 S 1 2 3"},
        {"too few fields", "4242 (x) S 1 2 3 4 5 6 7 8 9 10 11 12"},
        {"user time no number", statLine("x", "2x", "1", "1")},
        {"kernel time negative", statLine("x", "1", "-1", "1")},
        {"start time too large", statLine("x", "1", "1", "9223372036854775807")},
        {"start past the clock's end", statLine("x", "1", "1", "922337203685"), 1,
         std::numeric_limits<qint64>::max() - 5},
        {"no clock ticks", statLine("x", "1", "1", "1"), 0},
        {"boot before 1601", statLine("x", "1", "1", "1"), 100, -1},
    };
    for (const Broken &b : broken) {
        SCOPED_TRACE(b.what);
        EXPECT_FALSE(ProcessTimes::fromStat(b.stat, b.ticks, b.boot));
    }
}

TEST(ProcessTimes, OfThisProcess)
{
    ProcessTimes times;
    ASSERT_TRUE(GetProcessTimes(times));
    const qint64 now = GetSystemTimeAsFileTime();
    EXPECT_LE(times.CreationTime, now);
    EXPECT_GT(times.CreationTime, now - 24LL * 3600 * Second) << "started today";
    EXPECT_EQ(times.ExitTime, 0);
    EXPECT_GE(times.KernelTime, 0);
    EXPECT_GE(times.UserTime, 0);

    EXPECT_EQ(FileTimeToDateTime(116444736000000000LL), QDateTime::fromSecsSinceEpoch(0, Qt::UTC));
    EXPECT_EQ(FileTimeToDateTime(Boot), QDateTime(QDate(2024, 3, 1), QTime(17, 20, 30), Qt::UTC));
    EXPECT_EQ(FileTimeToDateTime(0), QDateTime(QDate(1601, 1, 1), QTime(0, 0), Qt::UTC));
    EXPECT_FALSE(FileTimeToDateTime(-1).isValid());
    EXPECT_LT(qAbs(FileTimeToDateTime(now).msecsTo(QDateTime::currentDateTimeUtc())), 60000);
}
