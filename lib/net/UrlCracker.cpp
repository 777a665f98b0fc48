#include "lib/net/UrlCracker_p.h"

#include <optional>

namespace tessera::detail {

namespace {

constexpr qint32 DefaultPort = 80;

// A port as the platform converts text to a 32-bit number: blanks around an
// optionally signed decimal number.
std::optional<qint32> portNumber(QStringView text)
{
    bool ok = false;
    const qint32 value = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<qint32>(value) : std::nullopt;
}

template <typename T> void put(T *out, const T &value)
{
    if (out)
        *out = value;
}

} // namespace

bool crackUrl(const QString &url, QString *protocol, QString *address, qint32 *port, QString *objectName,
              CrackStyle style)
{
    const qsizetype colon = url.indexOf(u':');
    if (colon < 1)
        return false;
    QString scheme = url.left(colon + 1);
    QStringView rest = QStringView(url).mid(colon + 1);
    while (rest.startsWith(u'/')) {
        scheme += u'/';
        rest = rest.mid(1);
    }
    put(protocol, scheme);

    const qsizetype slash = rest.indexOf(u'/');
    const QStringView host = slash < 0 ? rest : rest.left(slash);
    put(objectName, slash < 0 ? QStringLiteral("/") : rest.mid(slash).toString());
    const qsizetype portColon = host.indexOf(u':');
    if (portColon < 0 || (slash < 0 && style == CrackStyle::Ftp)) {
        put(address, host.toString());
        put(port, DefaultPort);
        return !host.isEmpty();
    }
    if (slash < 0)
        put(address, host.toString()); // stays whole when the port is not a number
    else
        put(address, host.left(portColon).toString());
    const std::optional<qint32> number = portNumber(host.mid(portColon + 1));
    if (!number)
        return false;
    put(port, *number);
    put(address, host.left(portColon).toString());
    return slash >= 0 || portColon > 0;
}

std::optional<QByteArray> urlHost(const QString &address)
{
    if (address.isEmpty())
        return std::nullopt;
    for (const QChar c : address) {
        if (c.unicode() <= 32 || c.unicode() == 127 || QStringView(u"/\\?#@\"<>{}|^`").contains(c))
            return std::nullopt;
    }
    const QByteArray host = address.toUtf8();
    if (host.contains(':') && !host.startsWith('['))
        return '[' + host + ']';
    return host;
}

} // namespace tessera::detail
