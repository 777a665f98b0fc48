#pragma once

#include "platform/PlatformExport.h"

#include <QString>
#include <QVariant>

#include <optional>

namespace tessera {

// The original platform's conversions of dynamically typed values.
//
// An invalid QVariant is the platform's Empty; QVariant::fromValue(nullptr)
// is its Null. Booleans are numbers (True = -1, False = 0); QDate, QTime and
// QDateTime are numbers too, the platform's day count from 30 December 1899.
// A QObject pointer is an object, a null one is Nothing.

/// Reads a text as a number, as the platform does when a text meets a number:
/// blanks around it are ignored; a sign, digits, a decimal separator (the
/// user's or ".") and an exponent are accepted. Returns std::nullopt for any
/// other text, including an empty one and infinities.
TESSERA_PLATFORM_EXPORT std::optional<double> textToNumber(const QString &text);

/// The value as text (the platform's CStr): Empty gives "", Booleans "True" or
/// "False", numbers up to 15 significant digits ("1.5", "1E+20", 7 digits for
/// a float) with the user's decimal separator, dates in the user's short
/// format. Raises 13 (type mismatch) for Null, arrays and other values
/// without a text form, 438 for an object, 91 for Nothing.
TESSERA_PLATFORM_EXPORT QString variantToText(const QVariant &value);

/// The value as a 32-bit integer (the platform's CLng): numbers are rounded
/// half to even, Empty gives 0, a text must read as a number. Raises 13 for a
/// text that does not and for the values variantToText refuses (438 for an
/// object, 91 for Nothing), 6 (overflow) outside the 32-bit range.
TESSERA_PLATFORM_EXPORT qint32 variantToLong(const QVariant &value);

} // namespace tessera
