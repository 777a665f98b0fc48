// libFuzzer target: the parser of response header blocks, on any bytes.
// The status is three digits or nothing, the length a number or nothing.
#include "lib/net/ResponseHead_p.h"
#include "tests/fuzz/FuzzCheck.h"

#include <cstdint>

using corvid::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray block(reinterpret_cast<const char *>(data), qsizetype(size));
    const tessera::detail::ResponseHead head = tessera::detail::parseResponseHead(block);
    check(head.statusCode == 0 || (head.statusCode >= 0 && head.statusCode <= 999 && block.startsWith("HTTP/")));
    check(head.statusCode != 0 || head.statusText.isEmpty());
    check(head.contentLength >= -1);
    qsizetype cookieBytes = 0;
    for (const QByteArray &cookie : head.setCookies)
        cookieBytes += cookie.size();
    check(cookieBytes <= block.size());
    return 0;
}
