// libFuzzer target: CrackURL on any text (UTF-8). Checks that a URL without
// a colon after its first character changes nothing, and that what comes
// back are pieces of the URL in their places.
#include "lib/net/UrlCracker_p.h"
#include "tests/fuzz/FuzzCheck.h"

#include <QString>

#include <cstdint>

using corvid::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString url = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString untouched = QStringLiteral("\x01untouched");
    QString protocol = untouched;
    QString address = untouched;
    QString object = untouched;
    qint32 port = -12345;
    const bool ok = tessera::detail::crackUrl(url, &protocol, &address, &port, &object);
    if (url.indexOf(u':') < 1) {
        check(!ok && protocol == untouched && address == untouched && object == untouched && port == -12345);
        return 0;
    }
    check(url.startsWith(protocol) && protocol.contains(u':'));
    check(object == QLatin1String("/") || (object.startsWith(u'/') && url.endsWith(object)));
    check(!address.contains(u'/'));
    if (ok) {
        check(url.contains(address));
        check(!address.contains(u':'));
    }
    return 0;
}
