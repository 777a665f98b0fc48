#pragma once

// How the conversions and comparisons of dynamically typed values see a
// QVariant. Internal to the platform layer.

#include <QStringView>
#include <QVariant>

#include <limits>

namespace tessera::detail {

// A long double holds every 64-bit integer and every double exactly, so
// numbers of mixed kinds compare without rounding.
static_assert(std::numeric_limits<long double>::digits >= 64, "long double must hold a 64-bit integer exactly");

struct VariantValue {
    enum class Kind {
        Empty, // no value at all (an invalid QVariant)
        Null, // QVariant::fromValue(nullptr)
        Number, // Booleans (True = -1), integers, floating point, dates
        Text, // QString or QChar
        Object, // a QObject
        Nothing, // a null QObject pointer
        Other, // arrays, byte arrays and every other type
    };
    Kind kind = Kind::Empty;
    long double number = 0;
    QStringView text; // views into the QVariant, valid while it lives
    bool isSingle = false; // the number came from a float: text keeps 7 digits
    bool isBoolean = false;
    bool isDate = false;
};

VariantValue classifyVariant(const QVariant &value);

// Raises the error the platform raises when a value of this kind is used
// where a number or a text is needed: 91 for Nothing, 438 for an object
// (ours have no default member), 13 for anything else that has no value.
[[noreturn]] void raiseNoValue(const VariantValue &value);

// A text used where a number is needed (textToNumber); raises 13 when it
// reads as none.
double numberOfText(QStringView text);

} // namespace tessera::detail
