#pragma once

#include "support/csExport.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

// Module snapshots: the modules (the executable and the shared objects) that
// a process has loaded, as the platform's tool-help functions list them. Here
// they come from the process's memory map, /proc/<pid>/maps.
namespace cs {

/// One module of a snapshot.
struct MODULEENTRY32 {
    quint32 th32ProcessID = 0;
    /// Where the module is loaded: the start of its first mapping, which is
    /// also its handle (csGetModuleHandleOf).
    quintptr modBaseAddr = 0;
    /// From the start of its first mapping to the end of its last.
    quint64 modBaseSize = 0;
    quintptr hModule = 0;
    /// The file name without its folder, and the full path as it was mapped
    /// (a file replaced since then carries the kernel's " (deleted)").
    QString szModule;
    QString szExePath;
};

/// The flag that asks csCreateToolhelp32Snapshot for the modules.
constexpr quint32 TH32CS_SNAPMODULE = 8;

/// A snapshot of the modules of one process, walked with csModule32First and
/// csModule32Next. An invalid snapshot (isValid() false) stands for the
/// platform's invalid handle: the process's map could not be read.
class CS_EXPORT csToolhelp32Snapshot
{
public:
    csToolhelp32Snapshot() = default;
    explicit csToolhelp32Snapshot(std::vector<MODULEENTRY32> modules);

    bool isValid() const { return m_valid; }

    /// The walk behind csModule32First and csModule32Next.
    bool first(MODULEENTRY32 &entry);
    bool next(MODULEENTRY32 &entry);

private:
    std::vector<MODULEENTRY32> m_modules;
    size_t m_next = 0;
    bool m_valid = false;
};

/// A snapshot of process \a processId (0: the calling process). With
/// TH32CS_SNAPMODULE in \a flags it holds the process's modules in the order
/// of their addresses; without it, none. Invalid when the process does not
/// exist or its map may not be read.
CS_EXPORT csToolhelp32Snapshot csCreateToolhelp32Snapshot(quint32 flags, quint32 processId);

/// The first module of \a snapshot into \a entry (starting the walk again),
/// or the next one; false, leaving \a entry alone, when there is none left or
/// the snapshot is invalid.
CS_EXPORT bool csModule32First(csToolhelp32Snapshot &snapshot, MODULEENTRY32 &entry);
CS_EXPORT bool csModule32Next(csToolhelp32Snapshot &snapshot, MODULEENTRY32 &entry);

/// The modules a memory map (the text of /proc/<pid>/maps) shows. A module
/// is a file mapped from its start (offset 0) with at least one executable
/// mapping; the mappings of the same file that follow belong to it, up to the
/// next mapping of another file. Data files, anonymous memory and the
/// kernel's pseudo-entries ("[stack]", "[vdso]") are no modules. Malformed
/// lines are passed over.
CS_EXPORT std::vector<MODULEENTRY32> csModulesFromMaps(const QByteArray &maps, quint32 processId);

/// Asks for the privilege to read other users' processes. Programs here run
/// without it, so the answer is the one such a process gets: false, nothing
/// changed.
CS_EXPORT bool csEnableDebugPrivilege();

} // namespace cs
