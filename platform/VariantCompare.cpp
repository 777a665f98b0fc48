#include "platform/VariantCompare.h"

#include "platform/VariantValue_p.h"

#include <cmath>

namespace tessera {

using detail::VariantValue;
using Kind = VariantValue::Kind;

namespace {

int sign(int n)
{
    return (n > 0) - (n < 0);
}

int compareNumbers(long double x, long double y)
{
    const bool xNaN = std::isnan(x);
    const bool yNaN = std::isnan(y);
    if (xNaN || yNaN)
        return int(yNaN) - int(xNaN);
    return int(x > y) - int(x < y);
}

int compareTexts(QStringView x, QStringView y)
{
    return sign(x.compare(y, Qt::CaseSensitive));
}

void requireValue(const VariantValue &v)
{
    if (v.kind == Kind::Object || v.kind == Kind::Nothing || v.kind == Kind::Other)
        detail::raiseNoValue(v);
}

} // namespace

int compareVariants(const QVariant &a, const QVariant &b)
{
    const VariantValue x = detail::classifyVariant(a);
    const VariantValue y = detail::classifyVariant(b);
    requireValue(x);
    requireValue(y);

    if (x.kind == Kind::Null || y.kind == Kind::Null)
        return int(y.kind == Kind::Null) - int(x.kind == Kind::Null);
    if (x.kind == Kind::Empty && y.kind == Kind::Empty)
        return 0;
    if (x.kind == Kind::Text || y.kind == Kind::Text) {
        if (x.kind == Kind::Number)
            return -1;
        if (y.kind == Kind::Number)
            return 1;
        return compareTexts(x.text, y.text); // an Empty side has an empty view
    }
    return compareNumbers(x.number, y.number); // an Empty side counts as 0
}

std::partial_ordering compareVariantWithNumber(const QVariant &value, double number)
{
    const VariantValue v = detail::classifyVariant(value);
    requireValue(v);
    long double n = v.number; // 0 for Empty
    switch (v.kind) {
    case Kind::Null:
        return std::partial_ordering::unordered;
    case Kind::Text:
        n = detail::numberOfText(v.text);
        break;
    default:
        break;
    }
    return n <=> static_cast<long double>(number);
}

} // namespace tessera
