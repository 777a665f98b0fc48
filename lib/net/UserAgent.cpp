#include "lib/net/UserAgent_p.h"
#include "support/csHostOS.h"
#include "support/csText.h"

namespace tessera::detail {

namespace {

// The Latin spellings of А..Я (U+0410..U+042F), in alphabet order; Ё apart.
constexpr const char *UpperSpellings[32]
    = {"A", "B", "V", "G", "D", "E", "J",  "Z",  "I",  "I",  "K", "L", "M", "N", "O",  "P",
       "R", "S", "T", "U", "F", "H", "TS", "CH", "SH", "SH", "'", "Y", "'", "E", "JU", "JA"};
constexpr const char *LowerSpellings[32]
    = {"a", "b", "v", "g", "d", "e", "j",  "z",  "i",  "i",  "k", "l", "m", "n", "o",  "p",
       "r", "s", "t", "u", "f", "h", "ts", "ch", "sh", "sh", "'", "y", "'", "e", "ju", "ja"};

} // namespace

QString latinSpelling(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x0410 && u <= 0x042F)
            out += QLatin1String(UpperSpellings[u - 0x0410]);
        else if (u >= 0x0430 && u <= 0x044F)
            out += QLatin1String(LowerSpellings[u - 0x0430]);
        else if (u == 0x0401)
            out += QLatin1String("JO");
        else if (u == 0x0451)
            out += QLatin1String("jo");
        else
            out += c;
    }
    return out;
}

QString makeUserAgent(const QString &title, qint32 major, qint32 minor, qint32 revision)
{
    return latinSpelling(title) + u' ' + cs::csFormatVersion(major, minor, revision) + QLatin1String(" (")
        + cs::csGetHostOSShortName() + u')';
}

} // namespace tessera::detail
