#pragma once

// Splitting a URL into protocol, address, port and object name, as the
// library's network classes do it. Internal to the library.

#include "lib/TesseraExport.h"

#include <QString>

namespace tessera::detail {

/// "proto://node:8080/a/b" into "proto://", "node", 8080 and "/a/b"; the port
/// is 80 when the URL names none, whatever the protocol, and the object name
/// "/" when the URL has no path. False, with nothing changed, when the URL
/// has no ":" after its first character; false also when the port is not a
/// 32-bit decimal number (the other outputs may then be set), and when a URL
/// without a path names no address. Each output may be null.
TESSERA_EXPORT bool crackUrl(const QString &url, QString *protocol, QString *address, qint32 *port,
                             QString *objectName);

} // namespace tessera::detail
