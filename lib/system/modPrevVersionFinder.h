#pragma once

#include "lib/TesseraExport.h"
#include "lib/system/RegistryRoot_Const.h"

#include <QString>

namespace tessera {

class crvRegistry;

/// How the settings store finds the settings of an older version of a
/// program, so that they survive an upgrade.
namespace modPrevVersionFinder {

/// Compares two dot-separated version texts: negative, 0 or positive as
/// \a a is below, equal to or above \a b. The text with fewer dots is
/// padded with ".0" parts; each part counts as its decimal value when it
/// holds only the digits 0-9 and fits in a signed 32-bit number, and as 0
/// otherwise (an empty part, "0b"). So "1.10" > "1.9" and "2" = "2.0".
TESSERA_EXPORT int CompareVersions(const QString &a, const QString &b);

/// The name of the newest sub-key of the program's settings key \a appKey
/// ("Software\Sablewing\Corvid\" + title) whose version is below
/// \a currentVersion, spelled as stored
/// (so that it can be opened even with blanks around it); empty when there
/// is none. A name counts when, trimmed of blanks (csTrimEx), it begins with
/// "VERSION " in any case; its version is the rest, trimmed again. Of equal
/// versions the one listed later wins.
TESSERA_EXPORT QString FindPreviousVersionKey(crvRegistry &registry, RegistryRoot_Const root, const QString &appKey,
                                              const QString &currentVersion);

} // namespace modPrevVersionFinder

} // namespace tessera
