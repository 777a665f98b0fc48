#include "support/csMemoryStatus.h"

#include "platform/ByteFields.h"
#include "platform/RuntimeError.h"

#include <QByteArrayView>
#include <QFile>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <optional>
#include <sys/resource.h>

namespace cs {

namespace {

constexpr quint64 KiB = 1024;

[[noreturn]] void raiseUnreadable()
{
    throw tessera::RuntimeError(tessera::RuntimeError::PathFileAccessError,
                                QStringLiteral("The memory figures of the system cannot be read."));
}

// The value of the "Name:  value kB" line \a name in bytes; nothing when
// the line is missing or its number does not read.
std::optional<quint64> kibField(QByteArrayView text, QByteArrayView name)
{
    std::optional<quint64> found;
    tessera::forEachByteField(text, '\n', [&](QByteArrayView line) {
        if (!line.startsWith(name) || line.size() == name.size() || line[name.size()] != ':')
            return true;
        line = line.sliced(name.size() + 1).trimmed();
        if (line.endsWith(" kB"))
            line.chop(3);
        if (line.isEmpty() || line.size() > 19)
            return false;
        quint64 value = 0;
        for (const char c : line) {
            if (c < '0' || c > '9')
                return false;
            value = value * 10 + quint64(c - '0');
        }
        if (value <= std::numeric_limits<quint64>::max() / KiB)
            found = value * KiB;
        return false;
    });
    return found;
}

quint64 requiredField(QByteArrayView text, QByteArrayView name)
{
    const std::optional<quint64> value = kibField(text, name);
    if (!value)
        raiseUnreadable();
    return *value;
}

QByteArray readProcFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        raiseUnreadable();
    QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        raiseUnreadable();
    return text;
}

// The user address space ends above the stack, at a power of two (2^47 on
// x86-64, 2^39 to 2^48 on other 64-bit systems), unless a limit is set.
quint64 addressSpaceSize()
{
    const int onTheStack = 0;
    quint64 size = std::bit_ceil(quint64(reinterpret_cast<quintptr>(&onTheStack)));
    rlimit limit {};
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        size = std::min<quint64>(size, limit.rlim_cur);
    return size;
}

} // namespace

MEMORYSTATUS csMemoryStatusFrom(const QByteArray &meminfo, const QByteArray &processStatus, quint64 addressSpace)
{
    MEMORYSTATUS status;
    status.dwTotalPhys = requiredField(meminfo, "MemTotal");
    if (status.dwTotalPhys == 0)
        raiseUnreadable();
    const quint64 free = requiredField(meminfo, "MemFree");
    status.dwAvailPhys = std::min(kibField(meminfo, "MemAvailable").value_or(free), status.dwTotalPhys);
    const double inUse = double(status.dwTotalPhys - status.dwAvailPhys) / double(status.dwTotalPhys);
    status.dwMemoryLoad = quint32(std::lround(inUse * 100));
    status.dwTotalPageFile = requiredField(meminfo, "SwapTotal");
    status.dwAvailPageFile = std::min(requiredField(meminfo, "SwapFree"), status.dwTotalPageFile);
    status.dwTotalVirtual = addressSpace;
    status.dwAvailVirtual = addressSpace - std::min(requiredField(processStatus, "VmSize"), addressSpace);
    return status;
}

MEMORYSTATUS csGlobalMemoryStatus()
{
    return csMemoryStatusFrom(readProcFile(QStringLiteral("/proc/meminfo")),
                              readProcFile(QStringLiteral("/proc/self/status")), addressSpaceSize());
}

} // namespace cs
