#pragma once

// The system's proxy configuration on this platform, in the texts the
// original platform's preconfigured settings gave: a proxy list and a bypass
// list (see ProxyRules_p.h). Internal to the library.

#include <QString>

#include <optional>

namespace tessera::detail {

struct SystemProxy {
    QString proxyList; ///< empty: connect directly
    QString bypassList;
};

/// The desktop's proxy settings where the desktop keeps them and they name a
/// proxy or none (GNOME's org.gnome.system.proxy read with gsettings, KDE's
/// kioslaverc), else the environment (http_proxy, https_proxy, ftp_proxy and
/// no_proxy, each before its upper-case form). Empty when
/// the desktop has settings that cannot be read.
std::optional<SystemProxy> querySystemProxy();

} // namespace tessera::detail
