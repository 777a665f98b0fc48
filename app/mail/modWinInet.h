#pragma once

#include <QDateTime>
#include <QString>

/// The message's Date header.
namespace quillon::modWinInet {

/// \a When as an RFC 822 date with the local zone's offset, the fields as
/// \a When reads them in local time: "Sun, 12 Dec 2010 05:16:16 +0300". The
/// offset is the one in force at \a When, daylight saving included (bias
/// -180 gives +0300, 300 gives -0500, -330 gives +0530). An invalid or
/// unwritable date (a year above 9999) gives "".
QString FormatMailDate(const QDateTime &When);

} // namespace quillon::modWinInet
