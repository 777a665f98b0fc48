// libFuzzer target: crvHTTPRequest::GetFormattedCookies on any text (UTF-8).
// Every kept item is "name=value; " with neither part holding ";", and the
// three attributes never survive.
#include "lib/net/crvHTTPRequest.h"
#include "tests/fuzz/FuzzCheck.h"

#include <QString>

#include <cstdint>

using corvid::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString cookies = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString header = tessera::crvHTTPRequest::GetFormattedCookies(cookies);
    if (header.isEmpty())
        return 0;
    check(header.endsWith(QLatin1String("; ")));
    const QStringList items = header.chopped(2).split(QLatin1String("; "));
    for (const QString &item : items) {
        check(item.contains(u'='));
        const QString name = item.left(item.indexOf(u'=')).toLower();
        check(name != QLatin1String("expires") && name != QLatin1String("domain") && name != QLatin1String("path"));
    }
    return 0;
}
