#include "lib/net/CurlSupport_p.h"

#include <mutex>

namespace tessera::detail {

CurlEasy newCurlEasy()
{
    static std::once_flag once;
    static CURLcode globalResult = CURLE_OK;
    std::call_once(once, [] { globalResult = curl_global_init(CURL_GLOBAL_DEFAULT); });
    if (globalResult != CURLE_OK)
        return nullptr;
    return CurlEasy(curl_easy_init());
}

bool appendCurlList(CurlList &list, const char *line)
{
    curl_slist *longer = curl_slist_append(list.get(), line);
    if (!longer)
        return false;
    list.release();
    list.reset(longer);
    return true;
}

} // namespace tessera::detail
