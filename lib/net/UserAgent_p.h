#pragma once

// The User-Agent texts of crvHTTPRequest. Internal to the library.

#include "lib/TesseraExport.h"

#include <QString>

namespace tessera::detail {

/// \a text with every Cyrillic letter spelt in Latin letters ("Привет" gives
/// "Privet"; Ж "J", Й "I", Х "H", Щ "SH", both signs an apostrophe); every
/// other character stays.
TESSERA_EXPORT QString latinSpelling(const QString &text);

/// Latin(title) + " " + the version ("1.00.0039") + " (" + the host system's
/// short name + ")". Raises 5 for a negative version number.
TESSERA_EXPORT QString makeUserAgent(const QString &title, qint32 major, qint32 minor, qint32 revision);

} // namespace tessera::detail
