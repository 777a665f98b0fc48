#include "lib/net/ProxyRules_p.h"

#include <QList>

#include <arpa/inet.h>
#include <array>
#include <cstring>

namespace tessera::detail {

namespace {

QList<QStringView> items(const QString &list)
{
    QList<QStringView> out;
    for (QStringView item : QStringView(list).tokenize(u' ', Qt::SkipEmptyParts)) {
        for (QStringView part : item.tokenize(u';', Qt::SkipEmptyParts))
            out.append(part);
    }
    return out;
}

// An address in network byte order, 4 or 16 bytes; size 0 when \a text is
// not one.
struct Address {
    std::array<unsigned char, 16> bytes {};
    int size = 0;
};

Address parseAddress(QStringView text)
{
    Address a;
    QString bare = text.toString();
    if (bare.startsWith(u'[') && bare.endsWith(u']'))
        bare = bare.mid(1, bare.size() - 2);
    const QByteArray latin = bare.toLatin1();
    if (::inet_pton(AF_INET, latin.constData(), a.bytes.data()) == 1)
        a.size = 4;
    else if (::inet_pton(AF_INET6, latin.constData(), a.bytes.data()) == 1)
        a.size = 16;
    return a;
}

bool inNetwork(const Address &host, QStringView pattern)
{
    const qsizetype slash = pattern.indexOf(u'/');
    if (slash < 0 || host.size == 0)
        return false;
    const Address network = parseAddress(pattern.left(slash));
    bool ok = false;
    const int bits = pattern.mid(slash + 1).toInt(&ok);
    if (!ok || network.size != host.size || bits < 0 || bits > host.size * 8)
        return false;
    const int whole = bits / 8;
    if (std::memcmp(host.bytes.data(), network.bytes.data(), size_t(whole)) != 0)
        return false;
    if (bits % 8 == 0)
        return true;
    const unsigned char mask = static_cast<unsigned char>(0xFF << (8 - bits % 8));
    return (host.bytes[whole] & mask) == (network.bytes[whole] & mask);
}

// Whether \a text matches \a pattern, where "*" stands for any run of
// characters (none included), letter case aside.
bool wildcardMatch(QStringView text, QStringView pattern)
{
    qsizetype t = 0;
    qsizetype p = 0;
    qsizetype starP = -1;
    qsizetype starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern.at(p) == u'*') {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() && pattern.at(p).toCaseFolded() == text.at(t).toCaseFolded()) {
            ++p;
            ++t;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == u'*')
        ++p;
    return p == pattern.size();
}

bool matchesPattern(const QString &host, QStringView pattern)
{
    // "http://name" and "name:port" forms of an entry name the same host.
    if (const qsizetype scheme = pattern.indexOf(u"://"); scheme >= 0)
        pattern = pattern.mid(scheme + 3);
    if (pattern.compare(u"<local>", Qt::CaseInsensitive) == 0)
        return !host.contains(u'.') && !host.contains(u':');
    if (pattern.contains(u'/'))
        return inNetwork(parseAddress(host), pattern);
    if (!pattern.startsWith(u'[') && pattern.count(u':') == 1)
        pattern = pattern.left(pattern.indexOf(u':'));
    if (!pattern.contains(u'*')) {
        if (host.compare(pattern, Qt::CaseInsensitive) == 0)
            return true;
        // One address in two spellings ("::1" and "0:0::1").
        const Address a = parseAddress(host);
        const Address b = parseAddress(pattern);
        return a.size != 0 && a.size == b.size && a.bytes == b.bytes;
    }
    return wildcardMatch(host, pattern);
}

} // namespace

QString proxyForScheme(const QString &proxyList, QStringView scheme)
{
    const QList<QStringView> all = items(proxyList);
    for (QStringView item : all) {
        if (item.size() > scheme.size() && item.at(scheme.size()) == u'='
            && item.left(scheme.size()).compare(scheme, Qt::CaseInsensitive) == 0) {
            if (item.size() > scheme.size() + 1)
                return item.mid(scheme.size() + 1).toString();
            break;
        }
    }
    for (QStringView item : all) {
        if (!item.contains(u'='))
            return item.toString();
    }
    return {};
}

bool bypassesProxy(const QString &bypassList, const QString &host)
{
    for (QStringView pattern : items(bypassList)) {
        if (matchesPattern(host, pattern))
            return true;
    }
    return false;
}

} // namespace tessera::detail
