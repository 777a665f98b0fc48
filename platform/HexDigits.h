#pragma once

#include <QStringView>

#include <optional>

namespace tessera {

/// The number that \a digits write in hexadecimal, as the platform reads
/// "&H" + digits: ASCII hexadecimal digits only, no sign, prefix or blanks
/// (the empty text reads 0). Nothing when another character appears or the
/// value passes \a largest.
inline std::optional<quint32> hexDigitsValue(QStringView digits, quint32 largest)
{
    quint64 value = 0;
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        quint32 digit = 0;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        else if (u >= u'A' && u <= u'F')
            digit = u - u'A' + 10;
        else
            return std::nullopt;
        value = value * 16 + digit;
        if (value > largest)
            return std::nullopt;
    }
    return quint32(value);
}

} // namespace tessera
