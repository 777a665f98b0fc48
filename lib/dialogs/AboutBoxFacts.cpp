#include "lib/dialogs/AboutBoxFacts.h"

#include "platform/RuntimeError.h"
#include "support/csElfImage.h"
#include "support/csFiles.h"
#include "support/csHostOS.h"
#include "support/csSystem.h"
#include "support/csToolhelp.h"

namespace tessera {

namespace {

QList<AboutModuleEntry> modulesOfThisProcess()
{
    cs::csEnableDebugPrivilege();
    cs::csToolhelp32Snapshot snapshot = cs::csCreateToolhelp32Snapshot(cs::TH32CS_SNAPMODULE, 0);
    QList<AboutModuleEntry> modules;
    cs::MODULEENTRY32 module;
    for (bool more = cs::csModule32First(snapshot, module); more; more = cs::csModule32Next(snapshot, module)) {
        AboutModuleEntry entry;
        entry.Name = module.szModule;
        entry.BaseAddress = module.modBaseAddr;
        entry.BaseSize = module.modBaseSize;
        entry.FileName = cs::csGetLongFileName(module.szExePath);
        try {
            entry.PrefferedAddress = cs::csGetModulePreferredBaseAddr(0, module.modBaseAddr);
        } catch (const RuntimeError &) {
            // A file that cannot be read tells no other address.
            entry.PrefferedAddress = module.modBaseAddr;
        }
        modules.append(entry);
    }
    return modules;
}

std::optional<ProcessTimes> timesOfThisProcess()
{
    ProcessTimes times;
    if (!GetProcessTimes(times))
        return std::nullopt;
    return times;
}

} // namespace

AboutBoxFacts AboutBoxFacts::ofThisProcess()
{
    return {modulesOfThisProcess, timesOfThisProcess, GetSystemTimeAsFileTime, cs::csGetHostOSFullName,
            cs::csGlobalMemoryStatus};
}

QString AboutBoxFacts::ProgramInternalName()
{
    const QString program = cs::csGetEXEModulePrettyFileName();
    return CVersionCheck::HasVersionRecord(program) ? CVersionCheck::GetExeInternalName(program) : QString();
}

} // namespace tessera
