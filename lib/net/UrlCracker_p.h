#pragma once

// Splitting a URL into protocol, address, port and object name, as the
// library's network classes do it. Internal to the library.

#include "lib/TesseraExport.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tessera::detail {

/// How a URL without a path is read: the HTTP client takes a port from it
/// ("proto://node:2121" gives "node" and 2121), the FTP client takes all of
/// it for the address ("node:2121", port 80).
enum class CrackStyle { Http, Ftp };

/// "proto://node:8080/a/b" into "proto://", "node", 8080 and "/a/b"; the port
/// is 80 when the URL names none, whatever the protocol, and the object name
/// "/" when the URL has no path. False, with nothing changed, when the URL
/// has no ":" after its first character; false also when the port is not a
/// 32-bit decimal number (the other outputs may then be set), and when a URL
/// without a path names no address. Each output may be null.
TESSERA_EXPORT bool crackUrl(const QString &url, QString *protocol, QString *address, qint32 *port, QString *objectName,
                             CrackStyle style = CrackStyle::Http);

/// \a address as the host part of a URL ("[::1]" for a bare IPv6 address),
/// or nothing when it cannot be one: empty, or holding blanks, control
/// characters or the characters that end or escape a host part.
TESSERA_EXPORT std::optional<QByteArray> urlHost(const QString &address);

} // namespace tessera::detail
