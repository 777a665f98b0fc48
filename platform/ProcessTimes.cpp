#include "platform/ProcessTimes.h"

#include "platform/ByteFields.h"

#include <QByteArrayView>
#include <QFile>

#include <limits>
#include <time.h>
#include <unistd.h>

namespace tessera {

namespace {

// FILETIME counts from 1601; Unix time from 1970.
constexpr qint64 UnixEpochAsFileTime = 116444736000000000LL;
constexpr qint64 FileTimePerSecond = 10000000;

// Fields after the command name in /proc/<pid>/stat: the state is the
// first (field 3 of the whole line).
constexpr int UserTimeField = 11; // field 14, utime
constexpr int KernelTimeField = 12; // field 15, stime
constexpr int StartTimeField = 19; // field 22, starttime

std::optional<qint64> decimal(QByteArrayView digits)
{
    if (digits.isEmpty() || digits.size() > 18)
        return std::nullopt;
    qint64 value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<qint64> ticksToFileTime(std::optional<qint64> ticks, qint64 ticksPerSecond)
{
    if (!ticks || *ticks > std::numeric_limits<qint64>::max() / FileTimePerSecond)
        return std::nullopt;
    return *ticks * FileTimePerSecond / ticksPerSecond;
}

qint64 clockAsFileTime(clockid_t clock)
{
    timespec now {};
    ::clock_gettime(clock, &now);
    return qint64(now.tv_sec) * FileTimePerSecond + now.tv_nsec / 100;
}

} // namespace

std::optional<ProcessTimes> ProcessTimes::fromStat(const QByteArray &stat, qint64 ticksPerSecond, qint64 bootTime)
{
    // The command name may hold blanks and parentheses of its own: the
    // fields start after the last ")".
    const qsizetype nameEnd = stat.lastIndexOf(')');
    if (ticksPerSecond <= 0 || nameEnd < 0)
        return std::nullopt;
    QByteArrayView fields[StartTimeField + 1];
    int count = 0;
    forEachByteField(QByteArrayView(stat).sliced(nameEnd + 1), ' ', [&](QByteArrayView field) {
        fields[count++] = field;
        return count <= StartTimeField;
    });
    if (count <= StartTimeField)
        return std::nullopt;
    const auto user = ticksToFileTime(decimal(fields[UserTimeField]), ticksPerSecond);
    const auto kernel = ticksToFileTime(decimal(fields[KernelTimeField]), ticksPerSecond);
    const auto sinceBoot = ticksToFileTime(decimal(fields[StartTimeField]), ticksPerSecond);
    if (!user || !kernel || !sinceBoot || bootTime < 0 || *sinceBoot > std::numeric_limits<qint64>::max() - bootTime)
        return std::nullopt;
    ProcessTimes times;
    times.CreationTime = bootTime + *sinceBoot;
    times.KernelTime = *kernel;
    times.UserTime = *user;
    return times;
}

bool GetProcessTimes(ProcessTimes &times)
{
    QFile file(QStringLiteral("/proc/self/stat"));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // The process's start counts on the boot-time clock.
    const qint64 bootTime = GetSystemTimeAsFileTime() - clockAsFileTime(CLOCK_BOOTTIME);
    const auto read = ProcessTimes::fromStat(file.readAll(), ::sysconf(_SC_CLK_TCK), bootTime);
    if (!read)
        return false;
    times = *read;
    return true;
}

qint64 GetSystemTimeAsFileTime()
{
    return clockAsFileTime(CLOCK_REALTIME) + UnixEpochAsFileTime;
}

QDateTime FileTimeToDateTime(qint64 fileTime)
{
    if (fileTime < 0)
        return {};
    const qint64 sinceUnixEpoch = fileTime - UnixEpochAsFileTime;
    return QDateTime::fromMSecsSinceEpoch(sinceUnixEpoch / 10000, Qt::UTC);
}

} // namespace tessera
