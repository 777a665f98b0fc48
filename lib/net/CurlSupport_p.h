#pragma once

// Owning handles for libcurl's easy interface. Internal to the library.

#include <QtGlobal>

#include <chrono>
#include <curl/curl.h>
#include <memory>

namespace tessera::detail {

struct CurlEasyDeleter {
    void operator()(CURL *handle) const { curl_easy_cleanup(handle); }
};
struct CurlListDeleter {
    void operator()(curl_slist *list) const { curl_slist_free_all(list); }
};
struct CurlUrlDeleter {
    void operator()(CURLU *url) const { curl_url_cleanup(url); }
};

using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;
using CurlList = std::unique_ptr<curl_slist, CurlListDeleter>;
using CurlUrl = std::unique_ptr<CURLU, CurlUrlDeleter>;

/// A new easy handle, libcurl's global state set up first (once per
/// process); null when libcurl cannot make one.
CurlEasy newCurlEasy();

/// Appends \a line to \a list; false when libcurl cannot (out of memory), in
/// which case \a list is unchanged.
bool appendCurlList(CurlList &list, const char *line);

/// Ends a transfer when no byte has moved for a while, in milliseconds:
/// libcurl's own limits count whole seconds or bound the whole transfer.
/// Install onProgress as CURLOPT_XFERINFOFUNCTION with the object as its
/// data (and CURLOPT_NOPROGRESS 0), and touch() whenever bytes move.
struct IdleTimeout {
    qint64 limitMs = 0; ///< 0 or less: no limit
    std::chrono::steady_clock::time_point lastActivity = std::chrono::steady_clock::now();
    bool expired = false;

    void touch() { lastActivity = std::chrono::steady_clock::now(); }
    static int onProgress(void *self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
};

} // namespace tessera::detail
