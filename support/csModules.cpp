#include "support/csModules.h"

#include "support/csSystem.h"

#include <QFileInfo>

#include <dlfcn.h>
#include <link.h>

namespace cs {

namespace {

struct ModuleSearch {
    quintptr handle = 0;
    QString fileName;
    bool found = false;
};

// The lowest address of a module's loadable segments, page-aligned as its
// first mapping is.
quintptr loadAddress(const dl_phdr_info *info)
{
    quintptr lowest = ~quintptr(0);
    for (ElfW(Half) i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr) &segment = info->dlpi_phdr[i];
        if (segment.p_type == PT_LOAD)
            lowest = std::min<quintptr>(lowest, segment.p_vaddr);
    }
    if (lowest == ~quintptr(0))
        return 0;
    const quintptr page = quintptr(getpagesize());
    return (info->dlpi_addr + lowest) & ~(page - 1);
}

int matchModule(dl_phdr_info *info, size_t, void *data)
{
    auto *search = static_cast<ModuleSearch *>(data);
    if (loadAddress(info) != search->handle)
        return 0;
    search->found = true;
    // The executable itself is listed with an empty name.
    if (info->dlpi_name && *info->dlpi_name)
        search->fileName = QString::fromLocal8Bit(info->dlpi_name);
    return 1;
}

} // namespace

quintptr csGetModuleHandleOf(const void *address)
{
    Dl_info info {};
    if (!address || dladdr(address, &info) == 0 || !info.dli_fbase)
        return 0;
    return reinterpret_cast<quintptr>(info.dli_fbase);
}

QString csGetModulePrettyFileName(quintptr module)
{
    if (module == 0)
        return csGetEXEModulePrettyFileName();
    ModuleSearch search;
    search.handle = module;
    dl_iterate_phdr(matchModule, &search);
    if (!search.found)
        return {};
    if (search.fileName.isEmpty())
        return csGetEXEModulePrettyFileName();
    const QFileInfo file(search.fileName);
    const QString canonical = file.canonicalFilePath();
    return canonical.isEmpty() ? file.absoluteFilePath() : canonical;
}

} // namespace cs
