#pragma once

#include "support/csExport.h"

#include <QString>

// Names of the host operating system, for people (the about box) and for
// protocol texts (the HTTP user agent).
namespace cs {

/// The system's full name for people: the distribution's PRETTY_NAME from
/// os-release, then the kernel's name, release and machine, as in
/// "Debian GNU/Linux 12 (bookworm), Linux 6.1.0-18-amd64 x86_64". Without an
/// os-release file, the kernel part alone.
CS_EXPORT QString csGetHostOSFullName();

/// A short name for the system that fits a User-Agent comment: the
/// distribution's NAME and VERSION_ID ("Debian GNU/Linux 12"), else the
/// kernel's name and release ("Linux 6.1.0-18-amd64"). Printable ASCII only,
/// and never a parenthesis, so it cannot end the comment it is put in.
CS_EXPORT QString csGetHostOSShortName();

/// The two answers above for a given os-release text and kernel facts, so the
/// rules can be checked without the machine's own files.
struct HostOSFacts {
    QByteArray osRelease; ///< the text of the os-release file; may be empty
    QString kernelName; ///< uname's sysname, e.g. "Linux"
    QString kernelRelease; ///< uname's release
    QString machine; ///< uname's machine, e.g. "x86_64"
};
CS_EXPORT QString csHostOSFullNameFrom(const HostOSFacts &facts);
CS_EXPORT QString csHostOSShortNameFrom(const HostOSFacts &facts);

} // namespace cs
