#include "lib/net/modPasswordCryptor.h"

#include "platform/CodePage.h"
#include "platform/HexDigits.h"
#include "platform/RuntimeError.h"
#include "support/csSystem.h"
#include "support/csText.h"

namespace tessera::modPasswordCryptor {

QString ScramblePassword(const QString &text)
{
    const QByteArray ansi = CodePage::toAnsi(text);
    // toAnsi writes "?" for what the page lacks; a "?" that was not typed
    // marks such a character.
    if (ansi.count('?') != text.count(QLatin1Char('?')))
        throw RuntimeError(RuntimeError::Overflow);
    QString result;
    result.reserve(ansi.size() * 4);
    for (qsizetype i = ansi.size() - 1; i >= 0; --i) {
        result += cs::csHex1(quint8(255 - quint8(ansi[i])));
        result += cs::csHex1(quint8(cs::csGetRnd(0, 255)));
    }
    return result;
}

QString UnscramblePassword(const QString &text)
{
    if (text.size() % 4 != 0)
        return {};
    QByteArray ansi(text.size() / 4, Qt::Uninitialized);
    for (qsizetype group = 0; group < ansi.size(); ++group) {
        const std::optional<quint32> a = hexDigitsValue(QStringView(text).mid(group * 4, 2), 255);
        if (!a)
            return {};
        ansi[ansi.size() - 1 - group] = char(255 - *a);
    }
    return CodePage::fromAnsi(ansi);
}

} // namespace tessera::modPasswordCryptor
