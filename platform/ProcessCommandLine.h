#pragma once

#include "platform/PlatformExport.h"

#include <QByteArray>

namespace tessera {

/// The running process's command line as one text, the way programs of the
/// original platform receive it (GetCommandLineW): the program path as it was
/// started, then every argument, separated by single spaces; an argument that
/// is empty or contains a space or a tab is wrapped in double quotes.
///
/// Returns the text as that platform's buffer holds it: UTF-16LE code units
/// ending with a NUL unit (read it with cs::csGetStringFromPointerW). When the
/// process's arguments cannot be read, the buffer holds only the NUL.
TESSERA_PLATFORM_EXPORT QByteArray processCommandLine();

} // namespace tessera
