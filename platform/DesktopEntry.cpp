#include "platform/DesktopEntry.h"

#include <algorithm>
#include <iterator>

namespace tessera {

QString DesktopEntry::stringValue(const QString &text)
{
    static constexpr struct {
        char16_t character;
        const char *escape;
    } escapes[] = {{u'\\', "\\\\"}, {u'\n', "\\n"}, {u'\r', "\\r"}, {u'\t', "\\t"}};
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const auto *escape = std::find_if(std::begin(escapes), std::end(escapes),
                                          [c](const auto &e) { return e.character == c.unicode(); });
        if (escape != std::end(escapes))
            out += QLatin1String(escape->escape);
        else
            out += c;
    }
    return out;
}

QString DesktopEntry::execValue(const QStringList &arguments)
{
    QStringList quoted;
    for (const QString &argument : arguments) {
        QString q = QStringLiteral("\"");
        for (const QChar c : argument) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
                q += QLatin1Char('\\');
            else if (c == QLatin1Char('%'))
                q += QLatin1Char('%');
            q += c;
        }
        quoted << q + QLatin1Char('"');
    }
    return stringValue(quoted.join(QLatin1Char(' ')));
}

} // namespace tessera
