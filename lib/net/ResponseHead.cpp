#include "lib/net/ResponseHead_p.h"

#include <limits>
#include <optional>

namespace tessera::detail {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "HTTP/" digit "." digit SP three digits, the first not 0 [SP text]
void parseStatusLine(QByteArrayView line, ResponseHead &head)
{
    if (line.size() < 12 || !line.startsWith("HTTP/") || !isDigit(line[5]) || line[6] != '.' || !isDigit(line[7])
        || line[8] != ' ' || !isDigit(line[9]) || line[9] == '0' || !isDigit(line[10]) || !isDigit(line[11]))
        return;
    if (line.size() > 12 && line[12] != ' ')
        return;
    head.statusCode = (line[9] - '0') * 100 + (line[10] - '0') * 10 + (line[11] - '0');
    head.statusText = line.size() > 13 ? line.sliced(13).toByteArray() : QByteArray();
}

std::optional<qint64> decimal(QByteArrayView digits)
{
    if (digits.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (const char c : digits) {
        if (!isDigit(c) || value > (std::numeric_limits<qint64>::max() - 9) / 10)
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

ResponseHead parseResponseHead(const QByteArray &block)
{
    ResponseHead head;
    const QByteArrayView all(block);
    for (qsizetype start = 0; start < all.size();) {
        qsizetype end = all.indexOf('\n', start);
        if (end < 0)
            end = all.size();
        QByteArrayView line = all.sliced(start, end - start);
        const bool first = start == 0;
        start = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (first) {
            parseStatusLine(line, head);
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArrayView name = line.first(colon);
        const QByteArrayView value = line.sliced(colon + 1).trimmed();
        if (name.compare("Content-Length", Qt::CaseInsensitive) == 0) {
            if (head.contentLength < 0)
                head.contentLength = decimal(value).value_or(-1);
        } else if (name.compare("Set-Cookie", Qt::CaseInsensitive) == 0) {
            head.setCookies.append(value.toByteArray());
        } else if (name.compare("Location", Qt::CaseInsensitive) == 0) {
            head.hasLocation = true;
        }
    }
    return head;
}

} // namespace tessera::detail
