#pragma once

#include "lib/TesseraExport.h"
#include "lib/net/CVersionCheck.h"
#include "platform/ProcessTimes.h"
#include "support/csMemoryStatus.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace tessera {

/// One line of the about box's module list.
struct AboutModuleEntry {
    QString Name;
    quint64 BaseAddress = 0;
    /// The load address the module asks for; the same as BaseAddress for a
    /// module that sits where it asked to be.
    quint64 PrefferedAddress = 0;
    quint64 BaseSize = 0;
    QString FileName;
};

/// Where the about box takes the facts of its information pages from. Each
/// source may raise tessera::RuntimeError; the box then leaves what it
/// would have filled unchanged. ofThisProcess() reads the running process
/// and system; tests give their own.
struct TESSERA_EXPORT AboutBoxFacts {
    /// The loaded modules, in the order to list them.
    std::function<QList<AboutModuleEntry>()> Modules;
    /// The process's times; nothing when they cannot be read.
    std::function<std::optional<ProcessTimes>()> Times;
    /// The present time as a FILETIME, for the running time.
    std::function<qint64()> Now;
    /// The system's full name (cs::csGetHostOSFullName).
    std::function<QString()> HostOSName;
    std::function<cs::MEMORYSTATUS()> MemoryStatus;
    /// The running program's internal name, which names its version file
    /// for the update check; an empty name offers no update page.
    std::function<QString()> ExeInternalName = ProgramInternalName;
    /// How long (ms) the update check waits for the maker's site.
    qint32 UpdateCheckTimeout = 30000;

    /// The module snapshot of this process (cs::csCreateToolhelp32Snapshot)
    /// with each module's preferred address, the process times from /proc,
    /// the system's name and memory figures, and the program's version record.
    static AboutBoxFacts ofThisProcess();
    /// The running program's internal name; empty for a program without a
    /// version record, which has no version file of its own to check.
    static QString ProgramInternalName();
};

} // namespace tessera
