#pragma once

#include "support/csExport.h"

#include <QString>
#include <QtGlobal>

// System helpers: host facts, user and program identity, error texts, number
// packing and the developer's debug output.
namespace cs {

/// A uniform pseudo-random integer from \a low to \a high, both included.
/// Raises RuntimeError 5 (invalid procedure call) when \a low > \a high.
CS_EXPORT qint32 csGetRnd(qint32 low, qint32 high);

/// Whether the program runs inside its development environment's interpreter.
/// Always false: programs here are always compiled, and a debug build must
/// behave as the shipped one (set its icon, and so on).
CS_EXPORT bool csIsInIDE();

/// Makes the running program known to the desktop by its executable name, as
/// the original registered its path for the shell: writes a hidden desktop
/// entry "<executable name>.desktop" (NoDisplay=true, Exec = the executable's
/// full path) into the user's own applications folder
/// ($XDG_DATA_HOME/applications). An entry that the library did not write is
/// never touched; an entry that is already up to date is not rewritten.
/// Returns true when the entry is in place, false when it cannot be written or
/// belongs to someone else.
CS_EXPORT bool csRegisterAppPath();

/// Host system family, answered as a current NT-family system of the original
/// platform (Windows 2000 or later) would answer: the NT family and the
/// 2000-or-later tests are true; every test for the older 95/98/Me family and
/// for NT 3.51 and NT 4.0 is false. So callers take their modern paths: the
/// monitor functions are present, the long dialog structures and sizable
/// dialogs are used, clipboard text goes as Unicode.
/// csIsHostWin98_OrHigher is a test within the 95/98/Me family (98 or Me).
CS_EXPORT bool csIsHostWin95();
CS_EXPORT bool csIsHostWin98_OrHigher();
CS_EXPORT bool csIsHostWin9x();
CS_EXPORT bool csIsHostWinNT();
CS_EXPORT bool csIsHostWinNT351();
CS_EXPORT bool csIsHostWinNT40();
CS_EXPORT bool csIsHostWin2000_OrHigher();

/// The login name of the user the process runs as (from the password
/// database, else $USER); empty when neither knows it.
CS_EXPORT QString csGetUserName();

/// The user's account name. With \a withDomain, qualified by the machine, as a
/// domain account is: "<computer name>\<login name>", which names one user on
/// one machine; without, the login name alone. (The personal name of the
/// password database is not used: two accounts may share it.)
CS_EXPORT QString csGetFullUserName(bool withDomain);

/// The machine's host name.
CS_EXPORT QString csGetComputerName();

/// The full path of the running program's executable; empty when the system
/// does not tell it.
CS_EXPORT QString csGetEXEModuleFullFileName();

/// The display form of the same path: absolute and canonical (symbolic links
/// resolved), unquoted, so that it can be shown, stored as a command line,
/// opened as a file or used as a program's first argument.
CS_EXPORT QString csGetEXEModulePrettyFileName();

/// The platform's text for a system error code, worded as its message table
/// words it, without a trailing line break ("Access is denied." for 5). Also
/// the COM result codes of the platform (E_FAIL, E_NOTIMPL, ...) and the
/// 0x8007xxxx codes that carry a system error. Empty for unknown codes.
CS_EXPORT QString csGetAPIErrorDescription(qint32 code);

/// The text of a multimedia error code (MMSYSERR_*, WAVERR_*, MIDIERR_* and
/// the common MCIERR_* codes). Empty for unknown codes.
CS_EXPORT QString csGetWinMMErrorDescription(qint32 code);

/// The text of error \a code from the message table of the module
/// \a moduleName ("WinInet.DLL"; matched without regard to case, folder or a
/// ".dll" ending). There are no message tables here, so the library carries
/// the tables of the modules the suite asks about: WinInet's (12001 and up).
/// Empty for any other module or an unknown code.
CS_EXPORT QString csGetModuleErrorDescription(const QString &moduleName, qint32 code);

/// A 32-bit value with \a low in its low and \a high in its high 16 bits.
/// Each half may be given signed (-32768..32767) or unsigned (0..65535);
/// anything else raises the overflow error 6.
CS_EXPORT qint32 csMakeLong(qint32 low, qint32 high);

/// The low 16 bits of \a value, unsigned (0..65535).
CS_EXPORT qint32 csLoWord(qint32 value);

/// A 64-bit integer as a double: from its two unsigned 32-bit halves
/// (high × 2^32 + low), or from the whole value.
CS_EXPORT double csLargeIntegerToDouble(quint32 lowPart, quint32 highPart);
CS_EXPORT double csLargeIntegerToDouble(qint64 value);

/// A double rounded to the nearest 64-bit integer (halves to even, as the
/// platform's conversions round). Raises the overflow error 6 when it is not a
/// number or does not fit.
CS_EXPORT qint64 csDoubleToLargeInteger(double value);

/// Debug output for developers: the text goes to the logging category
/// "corvid.support.debugoutput", which is off unless enabled (for instance
/// with QT_LOGGING_RULES="corvid.support.debugoutput=true"). csOutputDebugString sends
/// the text as it is (one line break at its end dropped); csDebugPrint tags it
/// with the program's name and process id first.
CS_EXPORT void csOutputDebugString(const QString &text);
CS_EXPORT void csDebugPrint(const QString &text);

} // namespace cs
