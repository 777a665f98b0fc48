#pragma once

#include "support/csExport.h"

#include <QString>
#include <QtGlobal>

// Modules of the running process: the executable and the shared libraries
// mapped into it. A module's handle is the address it is loaded at (the start
// of its first mapping), as the platform's module handles were.
namespace cs {

/// The handle of the module whose mapping holds \a address (a function or
/// object of that module), or 0 when no loaded module holds it. A library
/// finds its own file with csGetModulePrettyFileName(csGetModuleHandleOf(&f))
/// for any function f of its own.
CS_EXPORT quintptr csGetModuleHandleOf(const void *address);

/// The display form of the file of module \a module: absolute and canonical
/// (symbolic links resolved), as csGetEXEModulePrettyFileName gives the
/// executable's. 0 stands for the running program's executable. Empty when no
/// module is loaded at \a module.
CS_EXPORT QString csGetModulePrettyFileName(quintptr module);

} // namespace cs
