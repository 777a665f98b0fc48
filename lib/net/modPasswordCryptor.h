#pragma once

#include "lib/TesseraExport.h"

#include <QString>

// The scrambled form in which ProxySettings stores its password: four
// hexadecimal digits per character, characters in reverse order; the first
// two digits are 255 minus the character's ANSI (Windows-1251) code, the
// last two a random byte. It hides the password from a casual look, no more.
namespace tessera::modPasswordCryptor {

/// The scrambled form of \a text; empty for an empty text. Raises the
/// overflow error 6 for a character that has no ANSI code, so a password is
/// never stored changed.
TESSERA_EXPORT QString ScramblePassword(const QString &text);

/// The password back from its scrambled form. Empty when the length is not
/// a multiple of 4 or a group's first two characters are not hexadecimal
/// digits (the random pairs are not looked at).
TESSERA_EXPORT QString UnscramblePassword(const QString &text);

} // namespace tessera::modPasswordCryptor
