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

int IdleTimeout::onProgress(void *self, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    auto *idle = static_cast<IdleTimeout *>(self);
    if (idle->limitMs <= 0)
        return 0;
    const auto quiet
        = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - idle->lastActivity);
    if (quiet.count() < idle->limitMs)
        return 0;
    idle->expired = true;
    return 1;
}

} // namespace tessera::detail
