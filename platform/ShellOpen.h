#pragma once

#include "platform/PlatformExport.h"

#include <QString>

namespace tessera {

/// The shell's "open" verb: hands \a target to the desktop's default handler
/// (QDesktopServices::openUrl), as ShellExecuteA with "open" does.
///
/// \a target is a document path, absolute or relative to the current
/// folder, or an address with a scheme ("https://...", "mailto:..."). An
/// existing file always counts as a path, even when its name contains a
/// colon. Returns true when the handler took it; false for an empty target,
/// a file that does not exist, an address that does not parse, no GUI
/// application in the process, or a handler that failed to start.
TESSERA_PLATFORM_EXPORT bool ShellOpen(const QString &target);

} // namespace tessera
