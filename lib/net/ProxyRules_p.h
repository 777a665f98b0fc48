#pragma once

// The two texts of a proxy configuration as the original platform wrote
// them, and what they mean for one request. Internal to the library.
//
// A proxy list is blank-separated items, each "scheme=host:port" for one
// scheme or "host:port" for all ("ftp=f:21 http=p:8080"). A bypass list is
// blank- or semicolon-separated host patterns with "*" as wildcard, "<local>"
// for host names without a dot, and IP networks in CIDR form
// ("*.corp <local> 127.0.0.0/8").

#include "lib/TesseraExport.h"

#include <QString>
#include <QStringView>

namespace tessera::detail {

/// The proxy for \a scheme ("http") from a proxy list: the value of the first
/// item that starts with \a scheme + "=" (any letter case) when that is not
/// empty, else the first item without "=", else empty.
TESSERA_EXPORT QString proxyForScheme(const QString &proxyList, QStringView scheme);

/// Whether \a host (a name or an IP address, without port) is one that
/// \a bypassList sends around the proxy. Names compare without regard to
/// letter case.
TESSERA_EXPORT bool bypassesProxy(const QString &bypassList, const QString &host);

} // namespace tessera::detail
