#pragma once

#include "platform/PlatformExport.h"

#include <QVariant>

#include <compare>

namespace tessera {

// The original platform's comparison of dynamically typed values, with its
// Empty and Null as described in platform/VariantConvert.h.

/// Compares two dynamically typed values (two Variants) and returns a
/// negative number, 0 or a positive number:
/// - numbers by value (Booleans are numbers, True = -1; dates are day numbers);
/// - texts by UTF-16 code unit, case-sensitive;
/// - a number is less than any text, even one that reads as a number;
/// - Empty counts as 0 against a number, as "" against a text, and equals Empty.
/// The platform leaves Null unordered; here Null equals Null and comes before
/// every other value, so that a sort gives a definite order. A NaN comes
/// before every other number.
/// Like the platform's, the rules are not transitive when Empty meets both
/// numbers and texts (Empty < 1 < "" = Empty).
/// Raises 438 for an object, 91 for Nothing, 13 (type mismatch) for arrays,
/// byte arrays and other values that cannot be compared.
TESSERA_PLATFORM_EXPORT int compareVariants(const QVariant &a, const QVariant &b);

/// Compares a dynamically typed value with a statically typed number (a value
/// against an element of an array of numbers): a text is read as a number
/// (textToNumber) and raises 13 when it is none; Empty counts as 0. A Null
/// value is unordered, as on the platform, where any comparison with Null
/// yields Null. Other values raise as compareVariants does.
TESSERA_PLATFORM_EXPORT std::partial_ordering compareVariantWithNumber(const QVariant &value, double number);

} // namespace tessera
