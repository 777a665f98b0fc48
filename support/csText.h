#pragma once

#include "support/csExport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Text helpers of the support library. Each returns its answer directly;
// bad arguments raise tessera::RuntimeError 5 (invalid procedure call or
// argument). "ANSI" is the system's single-byte code page, Windows-1251, and
// "OEM" is code page 866 (tessera::CodePage).

namespace cs {

// --- Trimming and cutting -------------------------------------------------

/// The text without leading and trailing blanks: spaces, tabs, CR, LF and
/// NUL characters. The same as csTrimEx2 with the first five flags set.
CS_EXPORT QString csTrimEx(const QString &text);

/// The text without leading and trailing characters of the chosen kinds.
/// Each flag adds one kind: space (U+0020), tab (U+0009), CR (U+000D),
/// LF (U+000A), NUL (U+0000), vertical tab (U+000B), form feed (U+000C),
/// no-break space (U+00A0), the other Unicode space separators (U+0085,
/// U+1680, U+2000-U+200A, U+2028, U+2029, U+202F, U+205F, U+3000), and the
/// invisible zero-width characters (U+200B, U+FEFF).
CS_EXPORT QString csTrimEx2(const QString &text, bool spaces, bool tabs, bool carriageReturns, bool lineFeeds,
                            bool nuls, bool verticalTabs, bool formFeeds, bool noBreakSpaces, bool unicodeSpaces,
                            bool zeroWidth);

/// The text without the CR and LF characters at either end; characters
/// between them, and blanks at the ends, are kept.
CS_EXPORT QString csTrimCRLF(const QString &text);

/// The text without its first (csCutLeft) or last (csCutRight) \a count
/// characters; empty when \a count is the length or more. A negative count
/// raises error 5. The byte-array forms cut bytes.
CS_EXPORT QString csCutLeft(const QString &text, qsizetype count);
CS_EXPORT QByteArray csCutLeft(const QByteArray &data, qsizetype count);
CS_EXPORT QString csCutRight(const QString &text, qsizetype count);
CS_EXPORT QByteArray csCutRight(const QByteArray &data, qsizetype count);

/// The first line of the text: everything before the first CR or LF, or the
/// whole text when it has none.
CS_EXPORT QString csGetLineOnly(const QString &text);

// --- Numbers as text ------------------------------------------------------

/// Upper-case hexadecimal digits, zero-padded to the width of the type:
/// csHex1(10) = "0A", csHex2(0x409) = "0409", csHex4(0xFF) = "000000FF".
CS_EXPORT QString csHex1(quint8 value);
CS_EXPORT QString csHex2(quint16 value);
CS_EXPORT QString csHex4(quint32 value);

/// An address: "0x" and at least eight upper-case hexadecimal digits, more
/// when the value needs them: csHexEx4(0x10000000) = "0x10000000",
/// csHexEx4(0x7F0012345000) = "0x7F0012345000".
CS_EXPORT QString csHexEx4(quint64 value);

/// Decimal integers with their digits grouped by three with ",":
/// csFormatLong(1245184) = "1,245,184", csFormatInt64(-1000) = "-1,000".
CS_EXPORT QString csFormatLong(qint32 value);
CS_EXPORT QString csFormatInt64(qint64 value);

/// A number with up to six decimals, trailing zeros and a trailing "." left
/// out, the integer part grouped as csFormatLong does: 0.5 gives "0.5",
/// 1234.5678901 gives "1,234.56789", 2.0 gives "2". Not-a-number gives
/// "NaN", infinities "Infinity" and "-Infinity".
CS_EXPORT QString csFormatDouble(double value);

/// A size for people: below 1024 in bytes ("0 bytes", "1 byte", "1023
/// bytes"), above in the largest binary unit (KB, MB, GB, TB, PB, EB) that
/// keeps the number at 1 or more, with two decimals below 10, one below 100
/// and none above, cut rather than rounded so that a size never shows
/// larger than it is: "1.00 KB", "15.5 KB", "1023 KB", "2.34 MB".
/// A negative size raises error 5.
CS_EXPORT QString csFormatByteSizeEx(qint64 bytes);

/// Version texts: major as it is, minor with two digits, revision with four:
/// csFormatVersion(1, 0, 39) = "1.00.0039", csFormatVersionShort(1, 0) =
/// "1.00". Larger numbers take more digits (csFormatVersionShort(2, 123) =
/// "2.123"), so the texts stay dot-separated decimal numbers that compare
/// part by part. A negative number raises error 5.
CS_EXPORT QString csFormatVersion(qint32 major, qint32 minor, qint32 revision);
CS_EXPORT QString csFormatVersionShort(qint32 major, qint32 minor);

/// An error number as people read it: decimal, followed by the hexadecimal
/// form when the number is negative or above 65535, where the decimal one is
/// unreadable: 53 gives "53", -2147221504 gives "-2147221504 (0x80040000)",
/// 70000 gives "70000 (0x00011170)".
CS_EXPORT QString csGetErrorNumber(qint32 number);

// --- Code pages and encodings ---------------------------------------------

/// Text to its ANSI bytes; a character without a byte becomes "?".
CS_EXPORT QByteArray csStrConvB(const QString &text);

/// ANSI bytes to text, one character per byte; every byte comes back
/// unchanged through csStrConvB.
CS_EXPORT QString csStrConvW(const QByteArray &bytes);

/// Text to UTF-8 and back. Malformed UTF-8 decodes to U+FFFD.
CS_EXPORT QByteArray csUNICODEToUTF8(const QString &text);
CS_EXPORT QString csUTF8ToUNICODE(const QByteArray &utf8);

/// Text to its OEM (866) bytes; a character without a byte becomes "?".
CS_EXPORT QByteArray csAnsiToOem(const QString &text);

/// Standard base64 (RFC 4648) with "=" padding. \a options chooses the line
/// layout: 15 gives MIME lines (RFC 2045) of 76 characters separated by
/// CR LF, with no line break after the last line; 0 gives one line. Any
/// other value raises error 5. Empty data gives an empty result.
CS_EXPORT QByteArray csBase64Encode(const QByteArray &data, qint32 options);

/// The text in a NUL-terminated buffer: ANSI bytes (A) or UTF-16LE code
/// units (W), up to the first NUL or the end of the buffer. An odd last byte
/// of a UTF-16 buffer is not a code unit and is ignored.
CS_EXPORT QString csGetStringFromPointerA(const QByteArray &buffer);
CS_EXPORT QString csGetStringFromPointerW(const QByteArray &buffer);

/// The texts of a buffer of NUL-terminated ANSI texts that ends with an
/// empty one (two NULs in a row), in order; a buffer without the final
/// double NUL ends at its end. A buffer that starts with NUL holds none.
CS_EXPORT QStringList csGetStringFrom2NullBufferA(const QByteArray &buffer);

} // namespace cs
