#include "app/mail/modRFCEncoding.h"

#include "platform/CodePage.h"
#include "support/csText.h"

#include <cstring>

namespace quillon::modRFCEncoding {

namespace {

// Printable ASCII that may stand between the quotes of a parameter as it is.
bool isPlainName(const QString &name)
{
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E || c == QLatin1Char('"') || c == QLatin1Char('\\'))
            return false;
    }
    return true;
}

// RFC 2231 attribute-char: any ASCII except space, controls, "*", "'", "%"
// and the tspecials.
bool isAttributeChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
        || (c != 0 && std::strchr("!#$&+-.^_`{|}~", c) != nullptr);
}

} // namespace

QString EncodeSubject(const QString &Caption)
{
    if (Caption.isEmpty())
        return {};
    QByteArray bytes = tessera::CodePage::toAnsi(Caption);
    QString charset = QStringLiteral("WINDOWS-1251");
    if (tessera::CodePage::fromAnsi(bytes) != Caption) {
        bytes = Caption.toUtf8();
        charset = QStringLiteral("UTF-8");
    }
    QString word = QLatin1String("=?") + charset + QLatin1String("?Q?");
    word.reserve(word.size() + 3 * bytes.size() + 2);
    for (const char byte : std::as_const(bytes))
        word += QLatin1Char('=') + cs::csHex1(quint8(byte));
    return word + QLatin1String("?=");
}

QString NameParameter(const QString &FileName)
{
    if (isPlainName(FileName))
        return QLatin1String("name=\"") + FileName + QLatin1Char('"');
    return QLatin1String("name=\"=?UTF-8?B?") + QLatin1String(FileName.toUtf8().toBase64()) + QLatin1String("?=\"");
}

QString FileNameParameter(const QString &FileName)
{
    if (isPlainName(FileName))
        return QLatin1String("filename=\"") + FileName + QLatin1Char('"');
    QString value = QStringLiteral("filename*=UTF-8''");
    for (const char byte : FileName.toUtf8()) {
        if (isAttributeChar(byte))
            value += QLatin1Char(byte);
        else
            value += QLatin1Char('%') + cs::csHex1(quint8(byte));
    }
    return value;
}

} // namespace quillon::modRFCEncoding
