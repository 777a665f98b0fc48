#pragma once

#include "support/csExport.h"

#include <QByteArray>
#include <QtGlobal>

// The memory figures of the system and of the calling process, as the
// platform's GlobalMemoryStatus gave them. Here they come from /proc/meminfo
// and /proc/self/status.
namespace cs {

/// Sizes in bytes.
struct MEMORYSTATUS {
    /// The share of physical memory in use, 0 to 100.
    quint32 dwMemoryLoad = 0;
    /// All physical memory, and what is available for new work without
    /// swapping (the kernel's MemAvailable).
    quint64 dwTotalPhys = 0;
    quint64 dwAvailPhys = 0;
    /// The swap space, and the part of it not in use.
    quint64 dwTotalPageFile = 0;
    quint64 dwAvailPageFile = 0;
    /// The process's user address space, and the part of it the process has
    /// not reserved (its mappings, VmSize, are the reserved part).
    quint64 dwTotalVirtual = 0;
    quint64 dwAvailVirtual = 0;
};

/// The figures of this system and process now. Raises 75 (path/file access
/// error) when /proc/meminfo or /proc/self/status cannot be read or lack
/// the figures.
CS_EXPORT MEMORYSTATUS csGlobalMemoryStatus();

/// The same figures from the texts of /proc/meminfo and /proc/self/status
/// ("Name:   value kB" lines) and the size of the process's address space
/// in bytes. Raises 75 when MemTotal, MemFree, SwapTotal, SwapFree or VmSize
/// is missing or unreadable, or MemTotal is 0. Without MemAvailable (old
/// kernels) MemFree stands in for it.
CS_EXPORT MEMORYSTATUS csMemoryStatusFrom(const QByteArray &meminfo, const QByteArray &processStatus,
                                          quint64 addressSpace);

} // namespace cs
