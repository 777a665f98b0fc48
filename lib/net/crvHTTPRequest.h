#pragma once

#include "lib/TesseraExport.h"

#include <QByteArray>
#include <QString>
#include <QVariantList>

#include <memory>

class QObject;

namespace tessera {

class IHTTPRequestCallback;
class ProxySettings;

/// Results of crvHTTPRequest::Execute, named after the step of the original
/// platform's sequence that failed.
enum htprExecuteError : qint32 {
    htprSuccess = 0,
    htprInternetOpenFailed = 1, ///< the session: user agent or proxy settings refused
    htprInternetConnectFailed = 2, ///< the address cannot form a request
    htprHttpOpenRequestFailed = 3, ///< the verb or referrer cannot form a request
    htprHttpSendRequestFailed = 4, ///< never produced; kept with its message
    htprHttpSendRequestExFailed = 5, ///< connecting and sending the request headers
    htprInternetWriteFileFailed = 6, ///< sending the body
    htprHttpEndRequestFailed = 7, ///< waiting for the response, redirects included
    htprInternetReadFileFailed = 8, ///< reading the body, a body cut short included
    htprCanceled = 9,
    htprInternetSetOptionFailed_ProxyUserName = 10,
    htprInternetSetOptionFailed_ProxyPassword = 11,
    htprInternetSetOptionFailed_ServerUserName = 12,
    htprInternetSetOptionFailed_ServerPassword = 13,
    htprInvalidGZipContent = 14,
};

/// The library's blocking HTTP client (plain HTTP, on libcurl). Execute
/// performs one whole request on the caller's thread and leaves the exchange
/// on the object: the request and response header texts, the status, the
/// body (inflated when the server sent it gzip-compressed), the cookies the
/// server set, and a result with the network error behind it.
///
///     crvHTTPRequest http;
///     if (http.Execute("example.org", 80, "GET", "/index.html") == htprSuccess && !http.IsError())
///         use(http.ReceivedData());
///     else
///         crvErr::global().ErrorDisplayHTTPRequest(&http);
///
/// Failures are results (LastRC, ErrorCode, ErrorText); an HTTP status other
/// than 200 or 201 is no failure of Execute, but IsError reports it. Errors
/// are raised only for bad arguments (a port outside 0..65535: 6) and from
/// the callback.
class TESSERA_EXPORT crvHTTPRequest
{
public:
    crvHTTPRequest();
    ~crvHTTPRequest();
    crvHTTPRequest(const crvHTTPRequest &) = delete;
    crvHTTPRequest &operator=(const crvHTTPRequest &) = delete;

    /// The proxy configuration Execute uses; none (the default) means the
    /// system's settings. The object is not owned; a deleted one counts as none.
    tessera::ProxySettings *ProxySettings() const;
    void setProxySettings(tessera::ProxySettings *settings);

    /// True when LastRC is not htprSuccess or ResponseCode is neither 200 nor 201.
    bool IsError() const;
    htprExecuteError LastRC() const;

    /// Splits \a URL: "proto://node:8080/a/b" gives "proto://", "node", 8080
    /// and "/a/b" (port 80 and object name "/" when the URL has none). False,
    /// changing nothing, when the URL has no ":" after its first character;
    /// false also for a port that is not a number.
    bool CrackURL(const QString &URL, QString *Protocol = nullptr, QString *Address = nullptr, qint32 *Port = nullptr,
                  QString *ObjectName = nullptr) const;

    /// "Accept: */*" CR LF "X-Devote-To: Sorrel ^_^!" CR LF, sent with every request.
    static QString DefaultHTTPHeaders();

    /// The request line and headers of the last request as sent, CR LF ended.
    QString HTTPRequest() const;
    /// The status line and headers of the response, CR LF ended.
    QString HTTPResponse() const;
    qint32 ResponseCode() const;
    QString ResponseText() const;
    /// The network error of the failing step (WinInet's numbers: 12002 time-out,
    /// 12007 name not resolved, 12029 cannot connect, ...), 0 when none.
    qint32 ErrorCode() const;
    QString ErrorText() const;
    /// The response body, byte for byte.
    QByteArray ReceivedData() const;

    /// Empties the header texts, ResponseText, ErrorText and ReceivedData and
    /// zeroes ResponseCode and ErrorCode; the rest stays.
    void Clear();

    /// A User-Agent text from \a App's Title, Major, Minor and Revision
    /// properties: the title in Latin letters, the version, the system in
    /// parentheses. Raises 91 without an object, 438 when a property is missing.
    QString BuildUserAgent(QObject *App) const;

    /// Performs one request. Headers sent: "Accept-Encoding: gzip" (unless
    /// DisableGZip, and only when zlib is there), DefaultHTTPHeaders(),
    /// AdditionalHeaders, then "Cookie: " + CookiesIn, which is consumed. The
    /// body \a OptionalData goes in BufferSize blocks (BlockSent after each);
    /// the answer is read in BufferSize blocks (BlockReceived after each).
    /// \a Timeout is how long (ms) connecting may take and how long no byte
    /// may move either way; 0 or less waits forever. An empty \a UserAgent
    /// becomes the library's own. The two cache switches are accepted for
    /// callers of the original; there is no cache here.
    ///
    /// Returns htprSuccess, or the step that failed, with ErrorCode and
    /// ErrorText set; htprCanceled when the callback cancelled;
    /// htprInvalidGZipContent when a gzip body cannot be inflated (ReceivedData
    /// then holds it as received). Raises 6 for a port outside 0..65535.
    htprExecuteError Execute(const QString &Address, qint32 Port = 80, const QString &HTTPVerb = QStringLiteral("GET"),
                             const QString &ObjectName = QStringLiteral("/"),
                             const QString &HTTPVersion = QStringLiteral("HTTP/1.1"), const QString &Referer = {},
                             const QString &AdditionalHeaders = {}, const QByteArray &OptionalData = {},
                             qint32 Timeout = 30000, const QString &UserAgent = {},
                             IHTTPRequestCallback *Callback = nullptr, bool NoAutoRedirects = false,
                             bool NoCookies = false, bool DontReadFromCache = true, bool NoWriteToCache = true,
                             const QString &ServerUserName = {}, const QString &ServerPassword = {},
                             bool DisableGZip = false);

    /// A multipart/form-data body of the name/value pairs in \a Arguments
    /// (name, value, name, value, ...), with the Content-Type line added to
    /// \a HeadersToUpdate. Empty, with the headers unchanged, when
    /// \a Arguments is empty or holds an odd number of elements.
    QByteArray BuildForm(QString &HeadersToUpdate, const QVariantList &Arguments) const;

    /// The size of one upload and one download block, 1024 by default.
    /// Writing 0 or less raises 5 and keeps the old size.
    qint32 BufferSize() const;
    void setBufferSize(qint32 value);

    /// The Cookie header value to send with the next Execute, which empties it.
    QString CookiesIn() const;
    void setCookiesIn(const QString &value);
    /// The Set-Cookie values of the last response, each followed by CR LF.
    QString CookiesOut() const;

    /// A Cookie header value from Set-Cookie lines as CookiesOut holds them:
    /// "a=1; b=2; ", without the expires, domain and path attributes.
    static QString GetFormattedCookies(const QString &Cookies);

private:
    class Private;
    std::unique_ptr<Private> const d;
};

} // namespace tessera
