#pragma once

#include <QByteArray>
#include <QFile>

#include <functional>
#include <malloc.h>

/// A line "<field>: <n> kB" of /proc/self/status, in bytes; -1 when missing.
inline qint64 statusBytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return -1;
}

/// The memory \a work adds at its peak, or -1 when it fails or cannot be
/// measured. Memory freed before is first handed back to the system, as the
/// allocator would otherwise keep it resident and the work would reuse it
/// unseen; then the high-water mark is reset to the present resident size
/// (clear_refs 5) and compared with that size afterwards.
inline qint64 peakMemoryOf(const std::function<bool()> &work)
{
    malloc_trim(0);
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (!clearRefs.open(QIODevice::WriteOnly) || clearRefs.write("5") != 1)
        return -1;
    clearRefs.close();
    const qint64 before = statusBytes("VmRSS:");
    if (!work())
        return -1;
    const qint64 peak = statusBytes("VmHWM:");
    return before < 0 || peak < 0 ? -1 : peak - before;
}
